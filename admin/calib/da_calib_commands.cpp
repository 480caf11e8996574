#include "admin/calib/da_calib_commands.h"

#include "admin/core/command_link.h"
#include "admin/core/reply_fields.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

namespace {

constexpr std::size_t kConfigurationReply = 9;  // "!AATTCCFF"
constexpr int kChecksumBit = 0x40;

std::string address(int entryAddress) { return Hex2(static_cast<unsigned>(entryAddress)); }

// The catalogue's range name with a blank before its unit, as a sentence
// names it: "0 to 20mA" gives "0 to 20 mA".
QString rangePhrase(int typeCode) {
  QString phrase;
  for (const char c : protocol::typeCodeNameTrimmed(typeCode)) {
    const QChar character = QLatin1Char(c);
    if (character.isLetter() && !phrase.isEmpty() && phrase.back().isDigit())
      phrase += QLatin1Char(' ');
    phrase += character;
  }
  return phrase;
}

}  // namespace

QString daGuideText(int step) {
  switch (step) {
    case 1:
      return QStringLiteral(
          "Apply power to the analog output module and let it warm up for about 30 minutes.");
    case 2:
      return QStringLiteral(
          "Assure that the module is correctly installed and its configuration is in concord "
          "with your specification and matches the output range you want to calibrate.");
    case 3:
      return QStringLiteral(
          "Connect either a 5-digit milliammeter or voltmeter with a shunt resister (250 Ohms, "
          "0.1%, and 10ppm) to the screw terminals of the module.");
    case 4:
      return QStringLiteral(
          "Check the actual output value at the module's terminals. If it does not equal 4mA, "
          "use the 'Trim Up' or 'Trim Down' button to change the actual output. Trim the module "
          "until the milliammeter indicates exactly 4mA or the voltage meter indicates exactly "
          "1V.");
    case 5:
      return QStringLiteral(
          "Check the actual output value at the module's terminals. If it does not equal 20mA, "
          "use the 'Trim Up' or 'Trim Down' button to change the actual output. Trim the module "
          "until the milliammeter indicates exactly 20mA or the voltage meter indicates exactly "
          "5V.");
    default:
      return {};
  }
}

std::optional<std::string> savedConfiguration(bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', kConfigurationReply)) return std::nullopt;
  return replyText(reply, 3);
}

std::string switchBody(int entryAddress, const std::string& saved) {
  const bool checksum = (replyHex(saved, 4, 2) & kChecksumBit) != 0;
  return address(entryAddress) + Hex2(kCalibrationRange) + replyText(saved, 2, 2) +
         (checksum ? "40" : "00");
}

bool configurationTaken(bool exchangeOK, const std::string& reply, int entryAddress) {
  return exchangeOK && reply == "!" + address(entryAddress);
}

std::string restoreBody(int entryAddress, const std::string& saved) {
  return address(entryAddress) + saved;
}

QString restoreFailureText(bool switchConfirmed, const std::string& saved) {
  QString text =
      QStringLiteral("The module's configuration could not be restored; it %1 in the %2 range.")
          .arg(switchConfirmed ? QStringLiteral("is still") : QStringLiteral("may still be"),
               rangePhrase(kCalibrationRange));
  const QString savedRange = rangePhrase(static_cast<int>(replyHex(saved, 0, 2)));
  if (!savedRange.isEmpty())
    text += QStringLiteral(" It was in the %1 range when this window opened.").arg(savedRange);
  return text;
}

}  // namespace orvane::admin
