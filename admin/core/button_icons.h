// The pictures of the main window's five buttons and the program icon,
// drawn in code so the program carries no image files.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace orvane::admin {

enum class ButtonPicture { Search, Terminal, Configuration, Diagnostic, Calibration };

QIcon buttonIcon(ButtonPicture picture);
QPixmap programPicture(int size = 32);

}  // namespace orvane::admin
