#include "admin/calib/da_calib_commands.h"

#include "admin/core/command_link.h"
#include "admin/core/reply_fields.h"

namespace orvane::admin {

namespace {

constexpr std::size_t kConfigurationReply = 9;  // "!AATTCCFF"
constexpr int kChecksumBit = 0x40;

std::string address(int entryAddress) { return Hex2(static_cast<unsigned>(entryAddress)); }

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
  return address(entryAddress) + "30" + replyText(saved, 2, 2) + (checksum ? "40" : "00");
}

bool switchConfirmed(bool exchangeOK, const std::string& reply, int entryAddress) {
  return exchangeOK && reply == "!" + address(entryAddress);
}

std::string restoreBody(int entryAddress, const std::string& saved) {
  return address(entryAddress) + saved;
}

}  // namespace orvane::admin
