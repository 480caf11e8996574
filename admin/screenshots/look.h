// The look of the pictures: the same style, font and palettes on every
// machine, so that the pictures show the windows and not the machine that
// took them. Tests open windows in the same look.
#pragma once

#include <QPalette>

class QApplication;

namespace orvane::admin::screenshots {

// Fusion with DejaVu Sans (a note on stderr names the font that stands in
// when it is not installed).
void setLook(QApplication& application);

// A dark desktop theme: light text on dark grey, as dark themes have it.
QPalette darkPalette();

// Gives the application a palette for as long as it lives, and the one it
// had back afterwards.
class PaletteScope {
 public:
  explicit PaletteScope(const QPalette& palette);
  ~PaletteScope();
  PaletteScope(const PaletteScope&) = delete;
  PaletteScope& operator=(const PaletteScope&) = delete;

 private:
  QPalette previous_;
};

}  // namespace orvane::admin::screenshots
