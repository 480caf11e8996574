#include "admin/screenshots/album.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "admin/screenshots/look.h"
#include "admin/screenshots/readability.h"

namespace orvane::admin::screenshots {

namespace {

constexpr int kPaletteSize = 256;
// A window that drew itself has text, frames and controls: more colours
// than a blank or a half-painted one.
constexpr int kFewestColours = 8;

// The colours of the image, or an empty table when there are more than a
// palette holds.
QList<QRgb> paletteOf(const QImage& image) {
  QHash<QRgb, int> seen;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (seen.contains(line[x])) continue;
      if (seen.size() == kPaletteSize) return {};
      seen.insert(line[x], 0);
    }
  }
  QList<QRgb> colours = seen.keys();
  std::sort(colours.begin(), colours.end());
  return colours;
}

// Window pictures are flat colours and a few shades of antialiased text: a
// palette holds them exactly and makes the file a fraction of its RGB size.
QImage indexed(const QImage& image, const QList<QRgb>& palette) {
  QHash<QRgb, int> index;
  for (int i = 0; i < palette.size(); ++i) index.insert(palette[i], i);
  QImage result(image.size(), QImage::Format_Indexed8);
  result.setColorTable(palette);
  for (int y = 0; y < image.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* to = result.scanLine(y);
    for (int x = 0; x < image.width(); ++x) to[x] = static_cast<uchar>(index.value(from[x]));
  }
  return result;
}

// A wrapped text that got less height than its lines need: a window keeps
// its size when a text grows, and Qt lets a top-level window's layout
// squeeze such a label.
const QLabel* cutOffText(const QWidget& window) {
  for (const QLabel* label : window.findChildren<QLabel*>())
    if (label->isVisibleTo(&window) && label->wordWrap() &&
        label->height() < label->heightForWidth(label->width()))
      return label;
  return nullptr;
}

}  // namespace

bool Album::take(QWidget& window, const QString& name, QSize size) {
  if (size.isValid()) window.resize(size);
  if (!window.isVisible()) window.show();
  serveFor(std::chrono::milliseconds(30));
  if (!check(window, name)) return false;
  const qsizetype failed = failures_.size();
  const QString path = QDir(folder_).filePath(name);
  const std::optional<QSize> taken = write(window, name, path);
  if (!taken) return false;
  written_ << QStringLiteral("%1  %2x%3  %4 bytes")
                  .arg(name)
                  .arg(taken->width())
                  .arg(taken->height())
                  .arg(QFileInfo(path).size());
  const PaletteScope dark(dark_);
  const QString darkName = QStringLiteral("%1/%2").arg(QLatin1String(kDarkFolder), name);
  if (!QDir(folder_).mkpath(QLatin1String(kDarkFolder)))
    fail(darkName + QStringLiteral(": the folder cannot be made"));
  else
    write(window, darkName, QDir(folder_).filePath(darkName));
  return failures_.size() == failed;
}

bool Album::check(QWidget& window, const QString& name) {
  if (!window.isVisible()) {
    fail(name + QStringLiteral(": ") + window.objectName() + QStringLiteral(" is not shown"));
    return false;
  }
  if (window.width() < window.minimumSizeHint().width() ||
      window.height() < window.minimumSizeHint().height()) {
    fail(name + QStringLiteral(": ") + window.objectName() + QStringLiteral(" would be clipped"));
    return false;
  }
  if (const QLabel* label = cutOffText(window)) {
    fail(name + QStringLiteral(": the text of ") + label->objectName() +
         QStringLiteral(" is cut off; give the picture more height"));
    return false;
  }
  return true;
}

std::optional<QSize> Album::write(QWidget& window, const QString& name, const QString& path) {
  for (const TextContrast& text : unreadableTexts(window))
    fail(name + QStringLiteral(": cannot be read: ") + describe(text));
  const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QList<QRgb> palette = paletteOf(image);
  // An empty palette: more colours than it holds.
  if (image.isNull() || (!palette.isEmpty() && palette.size() < kFewestColours)) {
    fail(name + QStringLiteral(": ") + window.objectName() + QStringLiteral(" drew nothing"));
    return std::nullopt;
  }
  QImageWriter writer(path, "png");
  writer.setQuality(0);  // the PNG writer's strongest compression
  if (!writer.write(palette.isEmpty() ? image : indexed(image, palette))) {
    fail(path + QStringLiteral(": ") + writer.errorString());
    return std::nullopt;
  }
  return image.size();
}

bool serveUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  check.start(5);
  QTimer::singleShot(limit, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

void serveFor(std::chrono::milliseconds duration) {
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace orvane::admin::screenshots
