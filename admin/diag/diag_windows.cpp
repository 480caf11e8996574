#include "admin/diag/diag_windows.h"

#include "admin/core/window_factories.h"
#include "admin/diag/ad_diag_form.h"
#include "admin/diag/ctr_diag_form.h"
#include "admin/diag/da_diag_form.h"
#include "admin/diag/dio_diag_form.h"
#include "admin/diag/freq_diag_form.h"
#include "admin/diag/monitor_form.h"
#include "admin/diag/multi_diag_form.h"
#include "admin/diag/n47_diag_form.h"
#include "admin/diag/n69_diag_form.h"

namespace orvane::admin {

namespace {

template <typename Form>
void add(WindowFactories& windows, const char* name) {
  windows.add(QString::fromLatin1(name), [](AdminContext& context, QWidget* parent) {
    return std::make_unique<Form>(context, parent);
  });
}

}  // namespace

void registerDiagWindows(WindowFactories& windows) {
  add<AdDiagForm>(windows, "AdDiagForm");
  add<CtrDiagForm>(windows, "CtrDiagForm");
  add<DaDiagForm>(windows, "DaDiagForm");
  add<DioDiagForm>(windows, "DioDiagForm");
  add<FreqDiagForm>(windows, "FreqDiagForm");
  add<MonitorForm>(windows, "MonitorForm");
  add<MultiDiagForm>(windows, "MultiDiagForm");
  add<N47DiagForm>(windows, "N47DiagForm");
  add<N69DiagForm>(windows, "N69DiagForm");
}

}  // namespace orvane::admin
