#include "admin/core/number_input.h"

namespace orvane::admin {

std::optional<int> digitsValue(const QString& text, int limit) {
  const QString digits = text.trimmed();
  if (digits.isEmpty()) return std::nullopt;
  long long value = 0;
  for (QChar c : digits) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    value = value * 10 + (c.unicode() - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int>(value);
}

}  // namespace orvane::admin

namespace orvane::admin {

QString numberRefusal(const QString& text, int limit) {
  if (digitsValue(text, limit)) return {};
  const QString digits = text.trimmed();
  bool allDigits = !digits.isEmpty();
  for (QChar c : digits)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) allDigits = false;
  return allDigits ? QStringLiteral("Number can not exceed %1.").arg(limit)
                   : QStringLiteral("Please input a number.");
}

}  // namespace orvane::admin
