#include "admin/terminal/terminal_windows.h"

#include "admin/core/window_factories.h"
#include "admin/terminal/terminal_form.h"

namespace orvane::admin {

void registerTerminalWindows(WindowFactories& windows) {
  windows.add<TerminalForm>(QStringLiteral("TerminalForm"));
}

}  // namespace orvane::admin
