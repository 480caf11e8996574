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

void registerConfigWindows(WindowFactories& windows) {
  windows.add<AdConfigForm>(QStringLiteral("AdConfigForm"));
  windows.add<CtrConfigForm>(QStringLiteral("CtrConfigForm"));
  windows.add<DaConfigForm>(QStringLiteral("DaConfigForm"));
  windows.add<DioConfigForm>(QStringLiteral("DioConfigForm"));
  windows.add<MultiConfigForm>(QStringLiteral("MultiConfigForm"));
  windows.add<N69ConfigForm>(QStringLiteral("N69ConfigForm"));
  windows.add<N7912ConfigForm>(QStringLiteral("N7912ConfigForm"));
}

}  // namespace orvane::admin
