// The analog output calibration without widgets: the guide texts, the
// configuration the window saves, the switch to the 0 to 20 mA range and
// the restore, and the fixed commands of the steps.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::admin {

// Guide text of step 1 to 5 (empty for any other step).
QString daGuideText(int step);

// TTCCFF of a "$AA2" exchange: the reply from position 3 when the exchange
// succeeded and the reply is "!" and 9 characters; nullopt otherwise.
std::optional<std::string> savedConfiguration(bool exchangeOK, const std::string& reply);

// The range the points are trimmed and stored in: 0 to 20 mA.
inline constexpr int kCalibrationRange = 0x30;

// After "%AA": the entry's address NN, the calibration range, the saved baud
// code CC and the format byte of engineering units with the saved checksum
// bit ("0330" "06" "00", or "40" for a module with checksum, which would
// refuse to lose it).
std::string switchBody(int entryAddress, const std::string& saved);
// The module took a configuration command (the switch or the restore): "!"
// and NN came back.
bool configurationTaken(bool exchangeOK, const std::string& reply, int entryAddress);
// After "%AA": NN and the saved TTCCFF.
std::string restoreBody(int entryAddress, const std::string& saved);

// Why the window does not simply close when the restore was not confirmed:
// the range the module still holds (certainly after a confirmed switch,
// maybe after an unanswered one) and the range it had when the window
// opened, both named as the catalogue names them ("0 to 20 mA").
QString restoreFailureText(bool switchConfirmed, const std::string& saved);

// After "#AA": the output at 4 mA and at 20 mA.
inline constexpr std::string_view kDrive4mA = "04.000";
inline constexpr std::string_view kDrive20mA = "20.000";
// After "$AA": one trim step up and down.
inline constexpr std::string_view kTrimUp = "301";
inline constexpr std::string_view kTrimDown = "3FF";
// After "$AA": store the 4 mA and the 20 mA point.
inline constexpr std::string_view kStore4mA = "0";
inline constexpr std::string_view kStore20mA = "1";

}  // namespace orvane::admin
