// Reads the settings of one object of a network file, naming the place of
// every problem ("modules[2].baud: ..."). Problems are thrown as
// std::invalid_argument; the loader adds the file name.
#pragma once

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>

namespace orvane::sim {

// The most characters of a file's own text that a message repeats.
inline constexpr std::size_t kExcerptLength = 80;

// The text as a message shows it: at most kExcerptLength characters ("..."
// marks a cut), control characters written as \u001B and the like, so that
// neither a long text nor an escape sequence reaches the user's terminal.
std::string excerpt(std::string_view text);
// The excerpt in double quotes.
std::string inQuotes(std::string_view text);
// A number as short as it reads back exactly: 12.5, 3579139412, 1e+300.
std::string numberText(double value);
// "25 is outside 0 to 20".
std::string outsideText(double value, double low, double high);

class ObjectReader {
 public:
  ObjectReader(const nlohmann::json& object, std::string place)
      : object_(object), place_(std::move(place)) {}

  [[noreturn]] void fail(const std::string& key, const std::string& problem) const;

  bool has(const std::string& key) const { return object_.contains(key); }
  const nlohmann::json& at(const std::string& key) const { return object_.at(key); }
  const std::string& place() const { return place_; }

  // An integer written as a number or as a hexadecimal text "0x1F".
  long long integer(const std::string& key, long long low, long long high) const;
  double number(const std::string& key) const;
  // A number from low to high.
  double number(const std::string& key, double low, double high) const;
  bool flag(const std::string& key) const;
  std::string text(const std::string& key) const;
  // A text of printable ASCII characters (blank to "~"), at most `most` long.
  std::string printable(const std::string& key, std::size_t most) const;
  // A nested object, checked before it is read.
  const nlohmann::json& object(const std::string& key) const;
  void onlyKeys(const std::set<std::string>& known) const;

 private:
  const nlohmann::json& object_;
  std::string place_;
};

}  // namespace orvane::sim
