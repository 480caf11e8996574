// The alarm and linear-mapping commands of the multi-function modules, as
// plain functions: the body after "@AA" or "$AA".
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::admin {

// "EAM" (momentary), "EAL" (latch), "DA" (disabled) for the alarm modes 1,
// 2 and anything else.
std::string alarmModeBody(int alarmMode);

// The head followed by each value in the engineering-unit text of the
// TypeCode: ("HI", {1.5}, 0x08) gives "HI+01.500", ("7", {0, 10}, 0x08)
// gives "7+00.000+10.000". Nothing when the text cannot hold a value whole,
// so a module is never sent a cut one.
std::optional<std::string> engineeringBody(std::string_view head,
                                           std::initializer_list<double> values, int typeCode);

}  // namespace orvane::admin
