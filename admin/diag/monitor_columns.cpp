#include "admin/diag/monitor_columns.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "admin/core/reply_fields.h"
#include "admin/diag/counter_reply.h"
#include "admin/diag/digital_reply.h"
#include "admin/diag/reading_text.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr int kLeastRows = 16;
constexpr int kIntervalPerModule = 500;  // ms
constexpr int kLongestInterval = 32767;  // ms
constexpr int kAlarmBlanks = 12;

// Where a digital model's output and input bytes stand in its "$AA6" reply;
// a length of 0 is a half the model lacks.
struct DigitalLayout {
  std::string_view key;
  std::size_t outputAt, outputLength, inputAt, inputLength, replyLength;
};

constexpr std::array<DigitalLayout, 9> kDigitalLayouts{{
    {"451", 1, 2, 3, 2, 7},
    {"472", 1, 2, 3, 2, 7},
    {"453", 0, 0, 1, 2, 7},
    {"455", 0, 0, 1, 4, 7},
    {"456", 0, 0, 1, 4, 7},
    {"458", 1, 4, 0, 0, 7},
    {"469", 0, 0, 3, 2, 11},  // the isolated inputs; the ports follow them
    {"474", 1, 2, 0, 0, 7},
    {"476", 1, 2, 0, 0, 7},
}};

const DigitalLayout* digitalLayout(const std::string& key) {
  const auto found = std::find_if(kDigitalLayouts.begin(), kDigitalLayouts.end(),
                                  [&key](const DigitalLayout& l) { return l.key == key; });
  return found == kDigitalLayouts.end() ? nullptr : &*found;
}

// Reply digits and "H"; " " for a half the model lacks; nothing when the
// digits are not hexadecimal.
std::optional<QString> bytePiece(const std::string& reply, std::size_t at, std::size_t length) {
  if (length == 0) return QStringLiteral(" ");
  if (!hexField(reply, at, length)) return std::nullopt;
  return QString::fromStdString(replyText(reply, at, length)) + QLatin1Char('H');
}

// The two output lines "00", "01", "10", "11"; nothing for other values.
std::optional<QString> outputBits(unsigned value) {
  if (value > 3) return std::nullopt;
  return QStringLiteral("%1%2").arg(value >> 1).arg(value & 1);
}

// The text matches the pattern: "9" a decimal digit, "X" a hexadecimal
// digit, anything else itself.
bool hasShape(std::string_view text, std::string_view pattern) {
  if (text.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool fits = pattern[i] == '9'   ? std::isdigit(c) != 0
                      : pattern[i] == 'X' ? std::isxdigit(c) != 0
                                          : text[i] == pattern[i];
    if (!fits) return false;
  }
  return true;
}

std::string_view withoutSign(std::string_view value) {
  const bool signed_ = !value.empty() && (value.front() == '+' || value.front() == '-');
  return signed_ ? value.substr(1) : value;
}

// An output value as a module of the data format reads it back.
bool outputValueFits(std::string_view value, int dataFormat) {
  switch (dataFormat) {
    case 0:
      return hasShape(withoutSign(value), "99.999");
    case 1:
      return hasShape(withoutSign(value), "999.99");
    case 2:
      return hasShape(value, "XXX");
    default:
      return !value.empty();  // no shape known: any value counts
  }
}

QString outputUnit(int typeCode, int dataFormat) {
  switch (dataFormat) {
    case 0:
      return QString::fromStdString(protocol::unitOf(typeCode, dataFormat));
    case 1:
      return QStringLiteral("%");
    case 2:
      return QStringLiteral("H");
    default:
      return {};
  }
}

// The value of an output's read-back reply, when it counts.
std::optional<std::string> readBack(int dataFormat, bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!')) return std::nullopt;
  std::string value = replyText(reply, 3);
  if (!outputValueFits(value, dataFormat)) return std::nullopt;
  return value;
}

// A number as plain decimal with "." for a spreadsheet ("+04.500" is 4.5);
// a text that is no number stays as it is.
std::string recordedNumber(const std::string& text) {
  return protocol::isDecimalNumber(text) ? protocol::plainDecimal(protocol::decimalValue(text))
                                         : text;
}

// The event count of "@AARE": five digits from position 3 of a "!" reply of
// 8 characters.
std::optional<unsigned> eventCount(bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', 8)) return std::nullopt;
  const std::string digits = replyText(reply, 3, 5);
  if (!hasShape(digits, "99999")) return std::nullopt;
  return static_cast<unsigned>(std::stoul(digits));
}

}  // namespace

int monitorRowCount(int moduleCount) { return std::max(kLeastRows, moduleCount + 1); }

int monitorInterval(int moduleCount) {
  if (moduleCount <= 0) return 0;
  return std::min(kLongestInterval, kIntervalPerModule * moduleCount);
}

QString monitorModel(const std::string& modelName) {
  return QString::fromStdString(std::string(protocol::trimmed(modelName)));
}

QString monitorRemark(int typeCode) {
  return QString::fromStdString(protocol::typeCodeName(typeCode));
}

MonitorPoll monitorPoll(const std::string& modelName) {
  switch (protocol::familyOf(modelName)) {
    case protocol::ModuleFamily::DigitalIO:
      return MonitorPoll::Digital;
    case protocol::ModuleFamily::MultiFunction:
      return MonitorPoll::MultiFunction;
    case protocol::ModuleFamily::AnalogOutput:
      return MonitorPoll::AnalogOutput;
    case protocol::ModuleFamily::AnalogInput:
      return MonitorPoll::AnalogInput;
    case protocol::ModuleFamily::CounterFrequency:
      return MonitorPoll::CounterChannel;
    default:
      return MonitorPoll::Nothing;
  }
}

void digitalColumns(MonitorRow& row, const std::string& key, bool exchangeOK,
                    const std::string& reply) {
  const DigitalLayout* layout = digitalLayout(key);
  std::optional<QString> output, input;
  if (layout && replyValid(exchangeOK, reply, '!', layout->replyLength)) {
    output = bytePiece(reply, layout->outputAt, layout->outputLength);
    input = bytePiece(reply, layout->inputAt, layout->inputLength);
  }
  const bool valid = output && input;
  row.output = valid ? *output : QStringLiteral("*");
  row.input = valid ? *input : QStringLiteral("*");
}

void analogInputData(MonitorRow& row, const std::string& reading, const std::string& unit,
                     char decimalSeparator) {
  row.data = shownReading(reading, decimalSeparator) + QString::fromStdString(unit);
}

MonitorValue analogInputValue(const std::string& reading, const std::string& unit) {
  const bool number = protocol::isDecimalNumber(reading);
  return {number ? recordedNumber(reading) : std::string(), QString::fromStdString(unit)};
}

void multiFunctionColumns(MonitorRow& row, bool statusOK, const std::string& status, bool countOK,
                          const std::string& count) {
  // The input's text belongs to this module alone: a failed status read
  // shows "*", never the text of the row polled before.
  QString input = QStringLiteral("*");
  const auto outputs = hexField(status, 4, 2);
  if (replyValid(statusOK, status, '!', 8) && outputs) {
    input = QString::fromStdString(replyText(status, 6, 1));
    if (replyText(status, 3, 1) != "0")
      row.output = *outputs % 2 == 1 ? QStringLiteral("LowAlarm")
                   : *outputs == 2   ? QStringLiteral("HighAlarm")
                                     : QString(kAlarmBlanks, QLatin1Char(' '));
    else if (const auto bits = outputBits(*outputs))
      row.output = *bits;
  } else {
    row.output = QStringLiteral("*");
  }
  row.input = input;
  if (const auto events = eventCount(countOK, count))
    row.input = input + QLatin1Char('/') + QString::number(*events);
}

std::string outputReadBackBody(const std::string& key) { return key == "347" ? "6A" : "6"; }

void outputReadBackData(MonitorRow& row, int typeCode, int dataFormat, bool exchangeOK,
                        const std::string& reply, char decimalSeparator) {
  const auto value = readBack(dataFormat, exchangeOK, reply);
  if (!value) return;
  QString shown = QString::fromStdString(*value);
  if (dataFormat != 2) shown.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator));
  row.data = shown + outputUnit(typeCode, dataFormat);
}

std::optional<MonitorValue> outputReadBackValue(int typeCode, int dataFormat, bool exchangeOK,
                                                const std::string& reply) {
  const auto value = readBack(dataFormat, exchangeOK, reply);
  if (!value) return std::nullopt;
  return MonitorValue{dataFormat == 2 ? *value : recordedNumber(*value),
                      outputUnit(typeCode, dataFormat)};
}

void quadInputColumn(MonitorRow& row, bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', 7)) return;
  if (const auto piece = bytePiece(reply, 1, 2)) row.input = *piece;
}

void counterValueColumn(MonitorRow& row, bool exchangeOK, const std::string& reply) {
  if (const auto value = counterValue(exchangeOK, reply))
    row.input = QString::number(static_cast<qulonglong>(*value));
}

void counterOutputColumn(MonitorRow& row, bool exchangeOK, const std::string& reply) {
  const auto outputs = hexField(reply, 4, 2);
  if (!replyValid(exchangeOK, reply, '!') || !outputs) {
    row.output = QStringLiteral("*");
    return;
  }
  if (const auto bits = outputBits(*outputs)) row.output = *bits;
}

}  // namespace orvane::admin
