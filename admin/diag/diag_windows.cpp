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

void registerDiagWindows(WindowFactories& windows) {
  windows.add<AdDiagForm>(QStringLiteral("AdDiagForm"));
  windows.add<CtrDiagForm>(QStringLiteral("CtrDiagForm"));
  windows.add<DaDiagForm>(QStringLiteral("DaDiagForm"));
  windows.add<DioDiagForm>(QStringLiteral("DioDiagForm"));
  windows.add<FreqDiagForm>(QStringLiteral("FreqDiagForm"));
  windows.add<MonitorForm>(QStringLiteral("MonitorForm"));
  windows.add<MultiDiagForm>(QStringLiteral("MultiDiagForm"));
  windows.add<N47DiagForm>(QStringLiteral("N47DiagForm"));
  windows.add<N69DiagForm>(QStringLiteral("N69DiagForm"));
}

}  // namespace orvane::admin
