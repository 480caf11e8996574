// The life of orvadmin from start to end: the tables, the locale's decimal
// separator, COM.CFG and the port at start-up; COM.CFG and admin.map at
// exit.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace orvane::admin {

class AdminContext;

// Start-up as the main window loads. Bad content falls back to defaults
// with a message; a file that cannot be read or a port that cannot be opened
// leads to the COM Port dialog.
void runStartup(AdminContext& context, QWidget* parent);

// The locale's decimal separator: the second character of 1.2 written "0.0".
char localeDecimalSeparator();

// Exit after the user confirmed it: closes the port, writes COM.CFG and the
// module map of the rows. Failures are ignored; every step runs.
void writeExitFiles(AdminContext& context, const std::vector<std::string>& rows);

}  // namespace orvane::admin
