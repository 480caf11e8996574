// Reads the settings of one object of a network file, naming the place of
// every problem ("modules[2].baud: ..."). Problems are thrown as
// std::invalid_argument; the loader adds the file name.
#pragma once

#include <nlohmann/json.hpp>
#include <set>
#include <string>

namespace orvane::sim {

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
  bool flag(const std::string& key) const;
  std::string text(const std::string& key) const;
  // A nested object, checked before it is read.
  const nlohmann::json& object(const std::string& key) const;
  void onlyKeys(const std::set<std::string>& known) const;

 private:
  const nlohmann::json& object_;
  std::string place_;
};

}  // namespace orvane::sim
