#include "admin/config/config_windows.h"

#include "admin/config/ad_config_form.h"
#include "admin/config/ctr_config_form.h"
#include "admin/config/da_config_form.h"
#include "admin/config/dio_config_form.h"
#include "admin/config/multi_config_form.h"
#include "admin/config/n69_config_form.h"
#include "admin/config/n7912_config_form.h"
#include "admin/core/window_factories.h"

namespace orvane::admin {

namespace {

template <typename Form>
void add(WindowFactories& windows, const char* name) {
  windows.add(QString::fromLatin1(name), [](AdminContext& context, QWidget* parent) {
    return std::make_unique<Form>(context, parent);
  });
}

}  // namespace

void registerConfigWindows(WindowFactories& windows) {
  add<AdConfigForm>(windows, "AdConfigForm");
  add<CtrConfigForm>(windows, "CtrConfigForm");
  add<DaConfigForm>(windows, "DaConfigForm");
  add<DioConfigForm>(windows, "DioConfigForm");
  add<MultiConfigForm>(windows, "MultiConfigForm");
  add<N69ConfigForm>(windows, "N69ConfigForm");
  add<N7912ConfigForm>(windows, "N7912ConfigForm");
}

}  // namespace orvane::admin
