// Which window the main window opens for the selected module, by its
// family: a window name, or a message for a family without such a window,
// or neither (an unknown model).
#pragma once

#include <QString>

namespace orvane::admin {

struct ModuleEntry;

struct Dispatch {
  QString window;   // "AdConfigForm", ...; empty when no window opens
  QString message;  // shown instead of a window; empty when none
  QString title;
};

Dispatch configurationDispatch(const ModuleEntry& entry);
Dispatch diagnosticDispatch(const ModuleEntry& entry);
Dispatch calibrationDispatch(const ModuleEntry& entry);

}  // namespace orvane::admin
