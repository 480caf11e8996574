// Whether the texts of a window can be read: the colour each text is drawn
// in against the colour behind it, both as the palette of its control gives
// them.
#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace orvane::admin::screenshots {

struct TextContrast {
  QString control;  // the objectName, or the class when it has none
  QString text;
  double contrast;
  double required;
};

// The shown texts of the window (labels, check boxes, radio buttons, group
// box titles, buttons, fields, lists) whose contrast falls short: enabled
// text needs 4.5:1, text in a colour that carries a meaning (a text tone other
// than plain or black) and disabled text 3:1, or what the window's palette
// gives its own texts where a theme chose less.
std::vector<TextContrast> unreadableTexts(const QWidget& window);

// LinkStatus "the port is not open": 1.93:1, needs 4.50:1
QString describe(const TextContrast& text);

}  // namespace orvane::admin::screenshots
