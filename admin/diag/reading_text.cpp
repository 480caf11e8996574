#include "admin/diag/reading_text.h"

#include <limits>

#include "protocol/numbers.h"

namespace orvane::admin {

QString shownReading(const std::string& value, char decimalSeparator) {
  if (!protocol::isDecimalNumber(value)) return QString::fromStdString(value);
  QString text = QString::fromStdString(value);
  if (protocol::decimalValue(value) >= 0 && !text.startsWith(QLatin1Char('+')))
    text.prepend(QLatin1Char('+'));
  return text.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator));
}

double readingValue(const std::string& value) {
  return protocol::isDecimalNumber(value) ? protocol::decimalValue(value)
                                          : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace orvane::admin
