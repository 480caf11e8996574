#include "admin/calib/calib_windows.h"

#include "admin/calib/ad_calib_form.h"
#include "admin/calib/da_calib_form.h"
#include "admin/core/window_factories.h"

namespace orvane::admin {

void registerCalibWindows(WindowFactories& windows) {
  windows.add<AdCalibForm>(QStringLiteral("AdCalibForm"));
  windows.add<DaCalibForm>(QStringLiteral("DaCalibForm"));
}

}  // namespace orvane::admin
