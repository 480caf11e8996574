#include "admin/core/map_file.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>

#include "admin/core/list_row.h"
#include "serial/file_write.h"

namespace orvane::admin {

namespace {

const std::string kHyphens(75, '-');
const std::string kLineEnd = "\r\n";

}  // namespace

std::string mapFileText(int comPort, const std::vector<std::string>& rows) {
  std::string text = "COMPORT: COM" + std::to_string(comPort) + kLineEnd;
  text += kHyphens + kLineEnd;
  text += std::string(kListHeader) + kLineEnd;
  for (const auto& row : rows) text += row + kLineEnd;
  text += kLineEnd;
  text += kHyphens + kLineEnd;
  return text;
}

void writeMapFile(const std::filesystem::path& path, int comPort,
                  const std::vector<std::string>& rows) {
  serial::writeFileAtomically(path, mapFileText(comPort, rows));
}

bool printRows(QPrinter& printer, const std::vector<std::string>& rows) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const int lineHeight = painter.fontMetrics().lineSpacing();
  const int bottom = painter.viewport().height();
  int y = painter.fontMetrics().ascent();
  for (const auto& row : rows) {
    if (y > bottom) {
      printer.newPage();
      y = painter.fontMetrics().ascent();
    }
    painter.drawText(0, y, QString::fromLatin1(row.data(), static_cast<qsizetype>(row.size())));
    y += lineHeight;
  }
  return painter.end();
}

}  // namespace orvane::admin
