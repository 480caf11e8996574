#include "admin/diag/csv_text.h"

#include <cmath>
#include <cstdlib>

#include "protocol/numbers.h"

namespace orvane::admin {

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string csvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += csvField(fields[i]);
  }
  return line + "\r\n";
}

std::string csvNumber(double value) {
  return std::isnan(value) ? std::string() : protocol::plainDecimal(value);
}

std::string csvTime(const QDateTime& time) {
  const int offsetMinutes = time.offsetFromUtc() / 60;
  const int minutes = std::abs(offsetMinutes);
  // The format's digits are the C locale's whatever the user's locale is.
  const QString offset = QStringLiteral("%1%2:%3")
                             .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                             .arg(minutes % 60, 2, 10, QLatin1Char('0'));
  return (time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + offset).toStdString();
}

}  // namespace orvane::admin
