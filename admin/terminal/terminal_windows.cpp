#include "admin/terminal/terminal_windows.h"

#include "admin/core/window_factories.h"
#include "admin/terminal/terminal_form.h"

namespace orvane::admin {

void registerTerminalWindows(WindowFactories& windows) {
  windows.add(QStringLiteral("TerminalForm"), [](AdminContext& context, QWidget* parent) {
    return std::make_unique<TerminalForm>(context, parent);
  });
}

}  // namespace orvane::admin
