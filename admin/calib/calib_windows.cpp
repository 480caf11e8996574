#include "admin/calib/calib_windows.h"

#include "admin/calib/ad_calib_form.h"
#include "admin/calib/da_calib_form.h"
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

void registerCalibWindows(WindowFactories& windows) {
  add<AdCalibForm>(windows, "AdCalibForm");
  add<DaCalibForm>(windows, "DaCalibForm");
}

}  // namespace orvane::admin
