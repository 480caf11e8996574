#include "admin/diag/diag_windows.h"

#include "admin/core/window_factories.h"

namespace orvane::admin {

namespace {

template <typename Form>
[[maybe_unused]] void add(WindowFactories& windows, const char* name) {
  windows.add(QString::fromLatin1(name), [](AdminContext& context, QWidget* parent) {
    return std::make_unique<Form>(context, parent);
  });
}

}  // namespace

void registerDiagWindows([[maybe_unused]] WindowFactories& windows) {}

}  // namespace orvane::admin
