#include "object_reader.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>

namespace orvane::sim {
namespace {

using nlohmann::json;

// The bytes of the UTF-8 character that starts with this byte; a stray byte
// counts as one.
std::size_t characterLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// C0 and C1 control characters, and DEL.
bool isControl(std::string_view character) {
  const auto lead = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return lead < 0x20 || lead == 0x7F;
  return lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

std::string escaped(std::string_view character) {
  const unsigned code = character.size() == 1
                            ? static_cast<unsigned char>(character[0])
                            : static_cast<unsigned char>(character[1]);  // U+0080 to U+009F
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04X", code);
  return text;
}

bool isHexText(const json& v) { return v.is_string() && v.get<std::string>().rfind("0x", 0) == 0; }

// The digits after "0x"; a value beyond every setting comes back as LLONG_MAX.
std::optional<long long> hexNumber(const std::string& text) {
  unsigned long long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data() + 2, end, value, 16);
  if (ptr != end || text.size() == 2) return std::nullopt;
  if (ec == std::errc::result_out_of_range) return LLONG_MAX;
  if (ec != std::errc{}) return std::nullopt;
  return static_cast<long long>(std::min<unsigned long long>(value, LLONG_MAX));
}

}  // namespace

std::string excerpt(std::string_view text) {
  std::string shown;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++characters) {
    if (characters == kExcerptLength) return shown + "...";
    const auto length =
        std::min(characterLength(static_cast<unsigned char>(text[i])), text.size() - i);
    const std::string_view character = text.substr(i, length);
    shown += isControl(character) ? escaped(character) : std::string(character);
    i += length;
  }
  return shown;
}

std::string inQuotes(std::string_view text) { return "\"" + excerpt(text) + "\""; }

std::string numberText(double value) {
  // Plain digits where they stay short, an exponent beyond.
  const double size = std::fabs(value);
  const bool plain = size == 0 || (size >= 1e-4 && size < 1e15);
  char text[32];
  const auto end = plain ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                         : std::to_chars(text, text + sizeof text, value);
  return std::string(text, end.ptr);
}

std::string outsideText(double value, double low, double high) {
  return numberText(value) + " is outside " + numberText(low) + " to " + numberText(high);
}

void ObjectReader::fail(const std::string& key, const std::string& problem) const {
  throw std::invalid_argument(place_ + (key.empty() ? "" : "." + excerpt(key)) + ": " + problem);
}

long long ObjectReader::integer(const std::string& key, long long low, long long high) const {
  const json& v = at(key);
  const auto outside = [&](const std::string& value) {
    fail(key, value + " is outside " + std::to_string(low) + " to " + std::to_string(high));
  };
  if (v.is_number_unsigned()) {
    const auto value = v.get<unsigned long long>();
    if (value > static_cast<unsigned long long>(high)) outside(std::to_string(value));
    return static_cast<long long>(value);
  }
  if (v.is_number_integer()) {
    const auto value = v.get<long long>();
    if (value < low || value > high) outside(std::to_string(value));
    return value;
  }
  // A whole number the file wrote with a point or an exponent (2.0, 1e20).
  if (v.is_number_float() && std::trunc(v.get<double>()) == v.get<double>()) {
    const double value = v.get<double>();
    if (value < static_cast<double>(low) || value > static_cast<double>(high))
      outside(numberText(value));
    return static_cast<long long>(value);
  }
  if (isHexText(v)) {
    const auto value = hexNumber(v.get<std::string>());
    if (!value) fail(key, inQuotes(v.get<std::string>()) + " is not a hexadecimal number");
    if (*value < low || *value > high) outside(excerpt(v.get<std::string>()));
    return *value;
  }
  fail(key, "expected an integer (or a text such as \"0x1F\")");
}

double ObjectReader::number(const std::string& key) const {
  if (!at(key).is_number()) fail(key, "expected a number");
  return at(key).get<double>();
}

double ObjectReader::number(const std::string& key, double low, double high) const {
  const double value = number(key);
  if (value < low || value > high) fail(key, outsideText(value, low, high));
  return value;
}

bool ObjectReader::flag(const std::string& key) const {
  if (!at(key).is_boolean()) fail(key, "expected true or false");
  return at(key).get<bool>();
}

std::string ObjectReader::text(const std::string& key) const {
  if (!at(key).is_string()) fail(key, "expected a text");
  return at(key).get<std::string>();
}

std::string ObjectReader::printable(const std::string& key, std::size_t most) const {
  const std::string value = text(key);
  const bool plain =
      std::all_of(value.begin(), value.end(), [](char c) { return c >= ' ' && c <= '~'; });
  if (!plain) fail(key, inQuotes(value) + " holds a character other than blank to \"~\"");
  if (value.size() > most) fail(key, "at most " + std::to_string(most) + " characters");
  return value;
}

const json& ObjectReader::object(const std::string& key) const {
  if (!at(key).is_object()) fail(key, "expected an object { ... }");
  return at(key);
}

void ObjectReader::onlyKeys(const std::set<std::string>& known) const {
  for (const auto& item : object_.items())
    if (!known.count(item.key())) fail(item.key(), "unknown setting");
}

}  // namespace orvane::sim
