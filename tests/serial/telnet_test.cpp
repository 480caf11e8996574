// The Telnet layer on its own: bytes from a server split into data and
// commands wherever the reads cut them, escaping, and option negotiation that
// answers what it must and never loops.
#include "serial/telnet.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane::serial::telnet {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string text;
  for (int v : values) text.push_back(static_cast<char>(v));
  return text;
}

// The pieces in a readable form: data as D"...", negotiations as N251/44,
// subnegotiations as S44:<hex payload>.
std::string describe(const std::vector<Piece>& pieces) {
  std::ostringstream out;
  for (const auto& piece : pieces) {
    if (const auto* data = std::get_if<std::string>(&piece)) {
      out << "D\"";
      for (unsigned char c : *data) {
        if (c >= 0x20 && c < 0x7F)
          out << c;
        else
          out << '<' << static_cast<int>(c) << '>';
      }
      out << "\" ";
    } else if (const auto* n = std::get_if<Negotiation>(&piece)) {
      out << 'N' << int{n->verb} << '/' << int{n->option} << ' ';
    } else {
      const auto& s = std::get<Subnegotiation>(piece);
      out << 'S' << int{s.option} << ':';
      for (unsigned char c : s.payload) out << static_cast<int>(c) << '.';
      out << ' ';
    }
  }
  return out.str();
}

// Data runs that the reads cut apart are joined, so that every cut gives the
// same description.
std::vector<Piece> joined(const std::vector<Piece>& pieces) {
  std::vector<Piece> result;
  for (const auto& piece : pieces) {
    const auto* data = std::get_if<std::string>(&piece);
    auto* last = result.empty() ? nullptr : std::get_if<std::string>(&result.back());
    if (data && last)
      *last += *data;
    else
      result.push_back(piece);
  }
  return result;
}

struct DecodeCase {
  const char* name;
  std::string input;
  const char* expected;
};

TEST(TelnetDecoder, SplitsDataAndCommandsAtEveryCut) {
  const DecodeCase cases[] = {
      {"plain reply", "!017213\r", "D\"!017213<13>\" "},
      {"doubled IAC is one 0xFF", bytes({'!', 255, 255, '1', '\r'}), "D\"!<255>1<13>\" "},
      {"negotiation inside data", "!0" + bytes({255, 251, 44}) + "1\r",
       "D\"!0\" N251/44 D\"1<13>\" "},
      {"modem state in a reply", "!0" + bytes({255, 250, 44, 107, 0, 255, 240}) + "1",
       "D\"!0\" S44:107.0. D\"1\" "},
      {"0xFF doubled in a subnegotiation", bytes({255, 250, 44, 101, 0, 255, 255, 0, 255, 240}),
       "S44:101.0.255.0. "},
      {"NOP, GA and DM are dropped", "a" + bytes({255, 241, 255, 249, 255, 242}) + "b", "D\"ab\" "},
      {"NUL and CR pass as data in binary mode", bytes({'\r', 0, '\n'}), "D\"<13><0><10>\" "},
      {"command inside a subnegotiation ends it", bytes({255, 250, 44, 1, 255, 253, 3}) + "x",
       "N253/3 D\"x\" "},
      {"overlong subnegotiation is dropped",
       bytes({255, 250, 44}) + std::string(100, 'z') + bytes({255, 240}) + "k", "D\"k\" "},
      {"empty subnegotiation is dropped", bytes({255, 250, 255, 240}) + "k", "D\"k\" "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (std::size_t cut = 0; cut <= c.input.size(); ++cut) {
      Decoder decoder;
      std::vector<Piece> pieces;
      decoder.feed(std::string_view(c.input).substr(0, cut), pieces);
      decoder.feed(std::string_view(c.input).substr(cut), pieces);
      EXPECT_EQ(describe(joined(pieces)), c.expected) << "cut at " << cut;
    }
  }
}

TEST(TelnetEncoding, DoublesEveryIacAndNothingElse) {
  EXPECT_EQ(escape(bytes({'$', 255, 0, '\r', 255, 255})),
            bytes({'$', 255, 255, 0, '\r', 255, 255, 255, 255}));
  EXPECT_EQ(negotiation(kWill, kComPort), bytes({255, 251, 44}));
  EXPECT_EQ(subnegotiation(kComPort, bytes({1, 0, 0, 255, 0})),
            bytes({255, 250, 44, 1, 0, 0, 255, 255, 0, 255, 240}));
}

TEST(TelnetOptions, AsksForBinaryGoAheadAndTheComPortOption) {
  Options options;
  EXPECT_EQ(options.requests(),
            bytes({255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 44}));
  EXPECT_EQ(options.local(kComPort), Options::State::Asked);
  EXPECT_EQ(options.remote(kComPort), Options::State::No);
}

struct AnswerCase {
  const char* name;
  std::vector<Negotiation> received;  // after requests()
  std::string answers;                // all answers, joined
  Options::State binaryLocal, binaryRemote, comPort;
};

TEST(TelnetOptions, AnswersOnlyWhatChangesAState) {
  using S = Options::State;
  const AnswerCase cases[] = {
      {"server agrees",
       {{kDo, kBinary}, {kWill, kBinary}, {kDo, kComPort}},
       "",
       S::Yes,
       S::Yes,
       S::Yes},
      {"agreement repeated is not answered",
       {{kDo, kComPort}, {kDo, kComPort}, {kWill, kBinary}, {kWill, kBinary}},
       "",
       S::Asked,
       S::Yes,
       S::Yes},
      {"server refuses the COM port option",
       {{kDont, kComPort}},
       "",
       S::Asked,
       S::Asked,
       S::Refused},
      {"server refuses binary",
       {{kDont, kBinary}, {kWont, kBinary}},
       "",
       S::Refused,
       S::Refused,
       S::Asked},
      {"server offers echo: refused",
       {{kWill, kEcho}},
       bytes({255, 254, 1}),
       S::Asked,
       S::Asked,
       S::Asked},
      {"server asks for an unknown option: refused",
       {{kDo, 24}},
       bytes({255, 252, 24}),
       S::Asked,
       S::Asked,
       S::Asked},
      {"refusing echo is not repeated for a DONT",
       {{kDont, kEcho}, {kWont, kEcho}},
       "",
       S::Asked,
       S::Asked,
       S::Asked},
      {"server turns binary off after agreeing",
       {{kDo, kBinary}, {kDont, kBinary}},
       bytes({255, 252, 0}),
       S::No,
       S::Asked,
       S::Asked},
      {"server asks again after turning off",
       {{kWill, kBinary}, {kWont, kBinary}, {kWill, kBinary}},
       bytes({255, 254, 0, 255, 253, 0}),
       S::Asked,
       S::Yes,
       S::Asked},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Options options;
    options.requests();
    std::string answers;
    for (const auto& n : c.received) answers += options.answer(n);
    EXPECT_EQ(answers, c.answers);
    EXPECT_EQ(options.local(kBinary), c.binaryLocal);
    EXPECT_EQ(options.remote(kBinary), c.binaryRemote);
    EXPECT_EQ(options.local(kComPort), c.comPort);
  }
}

}  // namespace
}  // namespace orvane::serial::telnet
