// What a module shows: its replies to every command that reads something,
// and the check that each is a reply a module could give. Used by the tests
// of network files and by their fuzzing harness.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "families.h"
#include "protocol/frame.h"
#include "protocol/numbers.h"

namespace orvane::sim::test {

struct ReadReply {
  std::string command;
  std::string reply;
  bool carriesText = false;  // a text of the file: a firmware version, an identifier
};

// The commands after the lead and the address; the reads of every family go
// to every model (a module refuses what its family does not know). Commands
// that change a setting are left out, so the replies show the file's values.
inline std::vector<ReadReply> readReplies(ModuleState& m, Moment t) {
  static const std::vector<std::pair<std::string, bool>> commands = {
      {"$2", false},  {"$M", false},  {"$F", true},   {"$5", false},  {"~3", false},
      {"#", false},   {"#A", false},  {"#0", false},  {"#1", false},  {"#2", false},
      {"#7", false},  {"#0D", false}, {"#1D", false}, {"$3", false},  {"$6", false},
      {"$8", false},  {"$BA", false}, {"$4", false},  {"$9", false},  {"@DI", false},
      {"@RH", false}, {"@RL", false}, {"@RE", false}, {"$30", false}, {"$31", false},
      {"@G0", false}, {"@G1", false}, {"@RP", false}, {"@RA", false}, {"$B", false},
      {"$A", false},  {"$0H", false}, {"$0L", false}, {"$1H", false}, {"$1L", false},
      {"$7", true},   {"$D", false},  {"~CR", false}, {"$50", false}, {"$71", false}};
  const std::string address = protocol::hex2(static_cast<std::uint32_t>(m.address));
  std::vector<ReadReply> replies;
  for (const auto& [command, text] : commands) {
    const Command c{command[0], address, command.substr(1)};
    replies.push_back({c.lead + address + c.body, respond(m, c, t).value_or(""), text});
  }
  const Command pass{m.delimiter, address, "PASS"};  // a converter's data pass
  replies.push_back({pass.lead + address + pass.body, respond(m, pass, t).value_or(""), true});
  return replies;
}

// What is wrong with a reply, or nullopt: no module answers longer than a
// reply with its checksum digits can be, with characters other than
// printable ASCII, or with a number that is none ("nan", "inf").
inline std::optional<std::string> problemOf(const ReadReply& r) {
  if (r.reply.size() + 2 > protocol::kReplyLengthCap) return "longer than a reply can be";
  for (char c : r.reply)
    if (c < ' ' || c > '~') return "a character other than printable ASCII";
  if (!r.carriesText &&
      (r.reply.find("nan") != std::string::npos || r.reply.find("inf") != std::string::npos))
    return "a number that is none";
  return std::nullopt;
}

}  // namespace orvane::sim::test
