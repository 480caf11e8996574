#include "admin/calib/ad_calib_commands.h"

#include <array>
#include <cmath>

#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

struct References {
  const char* zero;
  const char* span;
};

constexpr References kNone{"", ""};
constexpr References kPt200{"50 ohms", "200 ohms"};
constexpr References kPt350{"50 ohms", "350 ohms"};

// Indexed by TypeCode 0x00 to 0x2A.
constexpr std::array<References, 0x2B> kReferences{{
    {"0 mV", "+15 mV"},
    {"0 mV", "+50 mV"},
    {"0 mV", "+100 mV"},
    {"0 mV", "+500 mV"},
    {"0 V", "+1 V"},
    {"0 V", "+2.5 V"},
    {"0 mA", "+20 mA"},
    {"0 mV", "0 mV"},
    {"0 mV", "+10 V"},
    {"0 mV", "+5 V"},
    {"0 mV", "+1 V"},
    {"0 mV", "+500 mV"},
    {"0 mV", "+150 mV"},
    {"0 mA", "+20 mA"},
    {"0 mV", "+50 mV"},
    {"0 mV", "+55 mV"},
    {"0 mV", "+30 mV"},
    {"0 mV", "+78 mV"},
    {"0 mV", "+25 mV"},
    {"0 mV", "+19.5 mV"},
    {"0 mV", "+15 mV"},
    {"0 mV", "+55 mV"},
    {"0 mV", "+39 mV"},
    kNone,
    kNone,
    kNone,
    kNone,
    kNone,
    kNone,
    kNone,
    kNone,
    kNone,
    kPt200,
    kPt200,
    kPt200,
    kPt350,
    kPt200,
    kPt200,
    kPt200,
    kPt350,
    kPt350,
    kPt200,
    {"0 ohms", "60 ohms"},
}};

const References& referencesOf(int typeCode) {
  if (typeCode < 0 || typeCode >= static_cast<int>(kReferences.size())) return kNone;
  return kReferences[static_cast<std::size_t>(typeCode)];
}

constexpr float kStepDegrees = 0.0153f;
constexpr float kMostSteps = 0xFFFF;

}  // namespace

QString zeroValue(int typeCode) { return QString::fromLatin1(referencesOf(typeCode).zero); }

QString spanValue(int typeCode) { return QString::fromLatin1(referencesOf(typeCode).span); }

QString adGuideText(int step, std::string_view familyKey) {
  switch (step) {
    case 1:
      return QStringLiteral(
          "Apply power to the analog input module and let it warm up for about 30 minutes.");
    case 2:
      return QStringLiteral(
          "Assure that the module is correctly installed and the input range shown above is "
          "what you want to calibrate.");
    case 3:
      if (familyKey == "226")
        return QStringLiteral(
            "Apply the resistance shown below to module's channel-0, SENSE0+, and SENSE0- "
            "terminals, as a 2-wire RTD wiring, then press 'Execute' button.");
      if (familyKey == "213" || familyKey == "215" || familyKey == "228")
        return QStringLiteral(
            "Use a precision voltage source to apply the voltage shown below to the module's "
            "+IN and -IN terminals, then press 'Execute' button.");
      if (familyKey == "231" || familyKey == "234")
        return QStringLiteral(
            "Use a precision voltage source to apply the voltage shown below to the module's "
            "Vin0+ and Vin0- terminals, then press 'Execute' button.");
      return {};
    default:
      return {};
  }
}

bool offersColdJunction(std::string_view familyKey) {
  return familyKey == "213" || familyKey == "234";
}

std::string_view calibrationBody(CalibrationKind kind) {
  switch (kind) {
    case CalibrationKind::Offset:
      return "1";
    case CalibrationKind::Span:
      return "0";
    case CalibrationKind::ColdJunction:
      break;
  }
  return {};
}

std::optional<float> coldJunctionTemperature(bool exchangeOK, const std::string& reply) {
  // A reply without the lead or its number is no temperature: taken as 0 it
  // would be corrected against and written into the module.
  if (!exchangeOK || !reply.starts_with('>')) return std::nullopt;
  const std::string_view value = std::string_view(reply).substr(1);
  if (!protocol::isDecimalNumber(value)) return std::nullopt;
  return static_cast<float>(protocol::decimalValue(value));
}

QString temperatureText(std::optional<float> temperature, char decimalSeparator) {
  if (!temperature) return QStringLiteral("*error*");
  return QString::fromStdString(protocol::formatPattern(*temperature, "####.0"))
      .replace(QLatin1Char('.'), QLatin1Char(decimalSeparator));
}

std::optional<std::string> coldJunctionOffsetBody(float difference) {
  // nearbyint rounds in the default mode, to the nearest and halves to even.
  const float steps = std::nearbyint(std::fabs(difference) / kStepDegrees);
  if (!(steps <= kMostSteps)) return std::nullopt;
  return std::string("9") + (difference < 0 ? "-" : "+") +
         protocol::hex2(static_cast<std::uint32_t>(steps), 4);
}

}  // namespace orvane::admin
