#include "fault_reader.h"

#include <stdexcept>
#include <utility>

namespace orvane::sim {
namespace {

using nlohmann::json;

constexpr long long kLongestPauseMs = 600000;

const std::pair<const char*, bool FaultSpec::*> kFlags[] = {
    {"silent", &FaultSpec::silent},
    {"wrongChecksum", &FaultSpec::wrongChecksum},
    {"lowerCaseChecksum", &FaultSpec::lowerCaseChecksum},
    {"nulBytes", &FaultSpec::nulBytes},
    {"noCarriageReturn", &FaultSpec::noCarriageReturn},
    {"garbage", &FaultSpec::garbage},
    {"refuseAll", &FaultSpec::refuseAll}};

// JSON texts are Unicode; each character up to \u00FF stands for the byte of
// its code, so a file can send any byte ("\u0000", "\u00fe").
std::string lineBytes(const ObjectReader& r, const std::string& key) {
  const std::string utf8 = r.text(key);
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      bytes += static_cast<char>(lead);
    } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[++i]);
      bytes += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
    } else {
      r.fail(key, "only characters up to \\u00FF can go on the line");
    }
  }
  return bytes;
}

FileFault readFault(const json& object, const std::string& place, int address) {
  if (!object.is_object()) throw std::invalid_argument(place + ": expected an object { ... }");
  ObjectReader r(object, place);
  r.onlyKeys({"command", "silent", "delayMs", "charGapMs", "wrongChecksum", "lowerCaseChecksum",
              "nulBytes", "noCarriageReturn", "garbage", "refuseAll", "reply"});
  FileFault f;
  f.address = address;
  if (r.has("command")) {
    f.command = r.text("command");
    if (f.command->empty()) r.fail("command", "expected a command such as \"$AA3\"");
  }
  for (const auto& [key, member] : kFlags)
    if (r.has(key)) f.fault.*member = r.flag(key);
  if (r.has("delayMs"))
    f.fault.delayMs = static_cast<int>(r.integer("delayMs", 0, kLongestPauseMs));
  if (r.has("charGapMs"))
    f.fault.charGapMs = static_cast<int>(r.integer("charGapMs", 0, kLongestPauseMs));
  if (r.has("reply")) f.fault.reply = lineBytes(r, "reply");
  return f;
}

}  // namespace

std::vector<FileFault> readFaults(const ObjectReader& module, int address) {
  const json& list = module.at("faults");
  if (!list.is_array()) module.fail("faults", "expected a list");
  std::vector<FileFault> faults;
  for (std::size_t i = 0; i < list.size(); ++i)
    faults.push_back(
        readFault(list[i], module.place() + ".faults[" + std::to_string(i) + "]", address));
  return faults;
}

}  // namespace orvane::sim
