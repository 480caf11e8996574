#include "object_reader.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace orvane::sim {
namespace {

using nlohmann::json;

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

void ObjectReader::fail(const std::string& key, const std::string& problem) const {
  throw std::invalid_argument(place_ + (key.empty() ? "" : "." + key) + ": " + problem);
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
    if (value < static_cast<double>(low) || value > static_cast<double>(high)) outside(v.dump());
    return static_cast<long long>(value);
  }
  if (isHexText(v)) {
    const auto value = hexNumber(v.get<std::string>());
    if (!value) fail(key, "\"" + v.get<std::string>() + "\" is not a hexadecimal number");
    if (*value < low || *value > high) outside(v.get<std::string>());
    return *value;
  }
  fail(key, "expected an integer (or a text such as \"0x1F\")");
}

double ObjectReader::number(const std::string& key) const {
  if (!at(key).is_number()) fail(key, "expected a number");
  return at(key).get<double>();
}

bool ObjectReader::flag(const std::string& key) const {
  if (!at(key).is_boolean()) fail(key, "expected true or false");
  return at(key).get<bool>();
}

std::string ObjectReader::text(const std::string& key) const {
  if (!at(key).is_string()) fail(key, "expected a text");
  return at(key).get<std::string>();
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
