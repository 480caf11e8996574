#include "admin/core/number_input.h"

#include <charconv>

#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

// Fixed notation always: the key filters of the number fields take no
// exponent, so "5e-04" could not be edited. Room for the digits of any
// double, the largest and the smallest alike.
template <typename T>
QString shortestText(T value, char decimalSeparator) {
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  QString text = QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
  return text.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator));
}

}  // namespace

QString shownNumber(double value, char decimalSeparator) {
  return shortestText(value, decimalSeparator);
}

QString shownNumber(float value, char decimalSeparator) {
  return shortestText(value, decimalSeparator);
}

std::optional<double> typedNumber(const QString& text, char decimalSeparator) {
  std::string number = text.trimmed().toStdString();
  for (char& c : number)
    if (c == decimalSeparator) c = '.';
  if (!protocol::isDecimalNumber(number)) return std::nullopt;
  return protocol::decimalValue(number);
}

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
