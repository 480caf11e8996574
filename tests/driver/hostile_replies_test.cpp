// Every module operation against hostile replies: random bytes of 0 to 64
// characters (garbage, NULs, no CR, refusals, right, wrong and lower-case
// checksums), with the port's checksum off and on. Whatever arrives, the
// status is one of the documented ones, the outputs stay inside their
// documented sizes, a failure writes no output and leaves a failure text, and
// a text output that succeeded is terminated.
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

constexpr uint16_t kAddress = 0x12;
constexpr int kRepliesPerExport = 200;
constexpr int16_t kShortTimeoutMs = 10;
constexpr unsigned char kCanary = 0xA5;

// The outputs of the exports and the sizes the header documents for them.
enum class Out { Text, Field, U16, U32, Char, ModuleConfig, ConverterConfig };

std::size_t documentedSize(Out kind) {
  switch (kind) {
    case Out::Text:
      return 30;
    case Out::Field:
      return 8;
    case Out::U16:
      return sizeof(uint16_t);
    case Out::U32:
      return sizeof(uint32_t);
    case Out::Char:
      return 1;
    case Out::ModuleConfig:
      return sizeof(OV_ModuleConfig);
    default:
      return sizeof(OV_ConverterConfig);
  }
}

// A caller's output: the documented size at the start of a larger block that
// is filled with a canary pattern, so that any byte written beyond the
// documented size, or written at all, shows.
class Guarded {
 public:
  explicit Guarded(Out kind) : kind_(kind) { block_.fill(kCanary); }
  void* data() { return block_.data(); }
  bool tailIntact() const { return intactFrom(documentedSize(kind_)); }
  bool untouched() const { return intactFrom(0); }
  // A text output holds its terminating zero inside the documented size.
  bool terminated() const {
    if (kind_ == Out::Field) return block_[7] == 0;
    if (kind_ != Out::Text) return true;
    return std::memchr(block_.data(), 0, documentedSize(kind_)) != nullptr;
  }

 private:
  bool intactFrom(std::size_t from) const {
    for (std::size_t i = from; i < block_.size(); ++i)
      if (block_[i] != kCanary) return false;
    return true;
  }
  Out kind_;
  alignas(8) std::array<unsigned char, 96> block_;
};

struct Outputs {
  std::vector<Guarded> guarded;
  char* text(std::size_t i) { return static_cast<char*>(guarded.at(i).data()); }
  uint16_t* u16(std::size_t i) { return static_cast<uint16_t*>(guarded.at(i).data()); }
  uint32_t* u32(std::size_t i) { return static_cast<uint32_t*>(guarded.at(i).data()); }
  OV_ModuleConfig* config() { return static_cast<OV_ModuleConfig*>(guarded.at(0).data()); }
  OV_ConverterConfig* converter() { return static_cast<OV_ConverterConfig*>(guarded.at(0).data()); }
};

struct ExportCase {
  std::string name;  // the export, and the model or length where it matters
  std::vector<Out> outputs;
  std::function<uint16_t(Outputs&)> call;
  // OV_GetConfig writes the fields of its first exchange before the second.
  bool mayWriteBeforeFailing = false;
};

// Test names and failure messages show the case by its name.
void PrintTo(const ExportCase& c, std::ostream* os) { *os << c.name; }

constexpr uint16_t P = kPort;
constexpr uint16_t A = kAddress;

std::vector<ExportCase> identityCases() {
  OV_ModuleConfig setConfig{0x13, 0, 0x08, 6, 1, 2};
  return {
      {"OV_SendCommand",
       {Out::Text},
       [](Outputs& o) { return OV_SendCommand(P, "$12M", o.text(0)); }},
      {"OV_GetConfig",
       {Out::ModuleConfig},
       [](Outputs& o) { return OV_GetConfig(P, A, o.config()); },
       true},
      {"OV_SetConfig", {}, [setConfig](Outputs&) { return OV_SetConfig(P, A, &setConfig); }},
      {"OV_GetVersion", {Out::Text}, [](Outputs& o) { return OV_GetVersion(P, A, o.text(0)); }},
      {"OV_GetModuleName",
       {Out::Text},
       [](Outputs& o) { return OV_GetModuleName(P, A, o.text(0)); }},
      {"OV_ReadSyncData_7213",
       {Out::Text},
       [](Outputs& o) { return OV_ReadSyncData(P, A, o.text(0), 7213); }},
      {"OV_ReadSyncData_7347",
       {Out::Text},
       [](Outputs& o) { return OV_ReadSyncData(P, A, o.text(0), 7347); }},
      {"OV_ReadSyncData_7451",
       {Out::Text},
       [](Outputs& o) { return OV_ReadSyncData(P, A, o.text(0), 7451); }},
      {"OV_SoftReset", {}, [](Outputs&) { return OV_SoftReset(P, A); }},
      {"OV_ResetStatus", {Out::U16}, [](Outputs& o) { return OV_ResetStatus(P, A, o.u16(0)); }},
      {"OV_SetWDT", {}, [](Outputs&) { return OV_SetWDT(P, A, 1, 0x20, 0x7F); }},
      {"OV_GetWDT",
       {Out::U16, Out::U16, Out::U16},
       [](Outputs& o) { return OV_GetWDT(P, A, o.u16(0), o.u16(1), o.u16(2)); }},
      {"OV_SetWDT7342", {}, [](Outputs&) { return OV_SetWDT7342(P, A, 1, 0x20, 1); }},
      {"OV_GetWDT7342",
       {Out::U16, Out::U16, Out::U16},
       [](Outputs& o) { return OV_GetWDT7342(P, A, o.u16(0), o.u16(1), o.u16(2)); }},
      {"OV_SetWDT7347", {}, [](Outputs&) { return OV_SetWDT7347(P, A, 1, 0x20, 2, 0, 1, 2); }},
      {"OV_GetWDT7347",
       {Out::U16, Out::U16, Out::U16, Out::U16, Out::U16, Out::U16},
       [](Outputs& o) {
         return OV_GetWDT7347(P, A, o.u16(0), o.u16(1), o.u16(2), o.u16(3), o.u16(4), o.u16(5));
       }},
      {"OV_ConfigLeadingCode", {}, [](Outputs&) { return OV_ConfigLeadingCode(P, A, "AB"); }},
      {"OV_SetDelimiter", {}, [](Outputs&) { return OV_SetDelimiter(P, A, ':'); }},
      {"OV_GetDelimiter", {Out::Char}, [](Outputs& o) { return OV_GetDelimiter(P, A, o.text(0)); }},
      {"OV_SetDeviceID", {}, [](Outputs&) { return OV_SetDeviceID(P, A, "PUMP-3"); }},
      {"OV_GetDeviceID", {Out::Text}, [](Outputs& o) { return OV_GetDeviceID(P, A, o.text(0)); }},
      {"OV_SetRTS", {}, [](Outputs&) { return OV_SetRTS(P, A, 1); }},
      {"OV_GetRTS", {Out::U16}, [](Outputs& o) { return OV_GetRTS(P, A, o.u16(0)); }},
      {"OV_GetCTS", {Out::U16}, [](Outputs& o) { return OV_GetCTS(P, A, o.u16(0)); }},
  };
}

std::vector<ExportCase> analogCases() {
  return {
      {"OV_ReadAI", {Out::Text}, [](Outputs& o) { return OV_ReadAI(P, A, o.text(0)); }},
      {"OV_ReadAllAI",
       {Out::Field, Out::Field, Out::Field},
       [](Outputs& o) { return OV_ReadAllAI(P, A, o.text(0), o.text(1), o.text(2)); }},
      {"OV_ReadChanAI", {Out::Text}, [](Outputs& o) { return OV_ReadChanAI(P, A, 3, o.text(0)); }},
      {"OV_SetMUXChans", {}, [](Outputs&) { return OV_SetMUXChans(P, A, 0x0F); }},
      {"OV_ReadChanStatus",
       {Out::U16},
       [](Outputs& o) { return OV_ReadChanStatus(P, A, o.u16(0)); }},
      {"OV_ReadCJC", {Out::Text}, [](Outputs& o) { return OV_ReadCJC(P, A, o.text(0)); }},
      {"OV_WriteAO", {}, [](Outputs&) { return OV_WriteAO(P, A, "12.75"); }},
      {"OV_WriteChanAO", {}, [](Outputs&) { return OV_WriteChanAO(P, A, 2, "10.000"); }},
      {"OV_ReadBackAO", {Out::Text}, [](Outputs& o) { return OV_ReadBackAO(P, A, o.text(0)); }},
      {"OV_ResetStatusAO", {Out::U16}, [](Outputs& o) { return OV_ResetStatusAO(P, A, o.u16(0)); }},
      {"OV_GetHighAlarmLimit",
       {Out::Text},
       [](Outputs& o) { return OV_GetHighAlarmLimit(P, A, o.text(0)); }},
      {"OV_GetLowAlarmLimit",
       {Out::Text},
       [](Outputs& o) { return OV_GetLowAlarmLimit(P, A, o.text(0)); }},
      {"OV_SetHighAlarmLimit", {}, [](Outputs&) { return OV_SetHighAlarmLimit(P, A, "+08.000"); }},
      {"OV_SetLowAlarmLimit", {}, [](Outputs&) { return OV_SetLowAlarmLimit(P, A, "+01.000"); }},
      {"OV_GetAlarmStatus",
       {Out::U16},
       [](Outputs& o) { return OV_GetAlarmStatus(P, A, o.u16(0)); }},
      {"OV_EnableAlarm", {}, [](Outputs&) { return OV_EnableAlarm(P, A, 1); }},
      {"OV_DisableAlarm", {}, [](Outputs&) { return OV_DisableAlarm(P, A); }},
      {"OV_ClearLatchAlarm", {}, [](Outputs&) { return OV_ClearLatchAlarm(P, A); }},
      {"OV_ReadEventCount",
       {Out::Text},
       [](Outputs& o) { return OV_ReadEventCount(P, A, o.text(0)); }},
      {"OV_ResetEventCount", {}, [](Outputs&) { return OV_ResetEventCount(P, A); }},
      {"OV_ReadMappingSource",
       {Out::Field, Out::Field},
       [](Outputs& o) { return OV_ReadMappingSource(P, A, o.text(0), o.text(1)); }},
      {"OV_ReadMappingTarget",
       {Out::Field, Out::Field},
       [](Outputs& o) { return OV_ReadMappingTarget(P, A, o.text(0), o.text(1)); }},
      {"OV_WriteMappingSource",
       {},
       [](Outputs&) { return OV_WriteMappingSource(P, A, "+00.000", "+10.000"); }},
      {"OV_WriteMappingTarget",
       {},
       [](Outputs&) { return OV_WriteMappingTarget(P, A, "+04.000", "+20.000"); }},
      {"OV_EnableLinearMapping", {}, [](Outputs&) { return OV_EnableLinearMapping(P, A, 1); }},
  };
}

std::vector<ExportCase> digitalCases() {
  std::vector<ExportCase> cases = {
      {"OV_WriteDOPort_7213", {}, [](Outputs&) { return OV_WriteDOPort(P, A, 0, 3, 7213); }},
      {"OV_WriteDOPort_7469", {}, [](Outputs&) { return OV_WriteDOPort(P, A, 2, 0x5A, 7469); }},
      {"OV_WriteDOLine_7451", {}, [](Outputs&) { return OV_WriteDOLine(P, A, 0, 10, 1, 7451); }},
      {"OV_WriteDOLine_7458", {}, [](Outputs&) { return OV_WriteDOLine(P, A, 1, 3, 1, 7458); }},
      {"OV_SetDioMode", {}, [](Outputs&) { return OV_SetDioMode(P, A, 2); }},
      {"OV_GetDioMode", {Out::U16}, [](Outputs& o) { return OV_GetDioMode(P, A, o.u16(0)); }},
      {"OV_SetIoPolarity", {}, [](Outputs&) { return OV_SetIoPolarity(P, A, 3); }},
  };
  // Each model reads its own positions of the reply.
  for (uint16_t model : {7213, 7347, 7451, 7453, 7455, 7469})
    cases.push_back({"OV_ReadDI_" + std::to_string(model), {Out::U32}, [model](Outputs& o) {
                       return OV_ReadDI(P, A, o.u32(0), model);
                     }});
  for (uint16_t model : {7213, 7451, 7458})
    cases.push_back({"OV_ReadBackDO_" + std::to_string(model), {Out::U16}, [model](Outputs& o) {
                       return OV_ReadBackDO(P, A, o.u16(0), model);
                     }});
  return cases;
}

std::vector<ExportCase> counterCases() {
  return {
      {"OV_ReadCtrValue",
       {Out::U32},
       [](Outputs& o) { return OV_ReadCtrValue(P, A, 1, o.u32(0)); }},
      {"OV_SetCtrInputMode", {}, [](Outputs&) { return OV_SetCtrInputMode(P, A, 1); }},
      {"OV_ReadCtrInputMode",
       {Out::U16},
       [](Outputs& o) { return OV_ReadCtrInputMode(P, A, o.u16(0)); }},
      {"OV_SetCtrGateMode", {}, [](Outputs&) { return OV_SetCtrGateMode(P, A, 2); }},
      {"OV_ReadCtrGateMode",
       {Out::U16},
       [](Outputs& o) { return OV_ReadCtrGateMode(P, A, o.u16(0)); }},
      {"OV_SetCtrMaxValue", {}, [](Outputs&) { return OV_SetCtrMaxValue(P, A, 0, 0x12345); }},
      {"OV_ReadCtrMaxValue",
       {Out::U32},
       [](Outputs& o) { return OV_ReadCtrMaxValue(P, A, 1, o.u32(0)); }},
      {"OV_SetCtrInitialValue", {}, [](Outputs&) { return OV_SetCtrInitialValue(P, A, 1, 0x10); }},
      {"OV_ReadCtrInitialValue",
       {Out::U32},
       [](Outputs& o) { return OV_ReadCtrInitialValue(P, A, 0, o.u32(0)); }},
      {"OV_StartCtr", {}, [](Outputs&) { return OV_StartCtr(P, A, 0, 1); }},
      {"OV_ReadCtrStatus",
       {Out::U16},
       [](Outputs& o) { return OV_ReadCtrStatus(P, A, 1, o.u16(0)); }},
      {"OV_ClearCtr", {}, [](Outputs&) { return OV_ClearCtr(P, A, 0); }},
      {"OV_ReadCtrOverflowFlag",
       {Out::U16},
       [](Outputs& o) { return OV_ReadCtrOverflowFlag(P, A, 1, o.u16(0)); }},
      {"OV_EnableDigitalFilter", {}, [](Outputs&) { return OV_EnableDigitalFilter(P, A, 1); }},
      {"OV_ReadFilterStatus",
       {Out::U16},
       [](Outputs& o) { return OV_ReadFilterStatus(P, A, o.u16(0)); }},
      {"OV_SetMinWidthAtHigh", {}, [](Outputs&) { return OV_SetMinWidthAtHigh(P, A, 50); }},
      {"OV_ReadMinWidthAtHigh",
       {Out::U16},
       [](Outputs& o) { return OV_ReadMinWidthAtHigh(P, A, o.u16(0)); }},
      {"OV_SetMinWidthAtLow", {}, [](Outputs&) { return OV_SetMinWidthAtLow(P, A, 50); }},
      {"OV_ReadMinWidthAtLow",
       {Out::U16},
       [](Outputs& o) { return OV_ReadMinWidthAtLow(P, A, o.u16(0)); }},
      {"OV_SetTTLInputHigh", {}, [](Outputs&) { return OV_SetTTLInputHigh(P, A, 24); }},
      {"OV_ReadTTLInputHigh",
       {Out::U16},
       [](Outputs& o) { return OV_ReadTTLInputHigh(P, A, o.u16(0)); }},
      {"OV_SetTTLInputLow", {}, [](Outputs&) { return OV_SetTTLInputLow(P, A, 8); }},
      {"OV_ReadTTLInputLow",
       {Out::U16},
       [](Outputs& o) { return OV_ReadTTLInputLow(P, A, o.u16(0)); }},
      {"OV_EnableCtrAlarm", {}, [](Outputs&) { return OV_EnableCtrAlarm(P, A, 1); }},
      {"OV_DisableCtrAlarm", {}, [](Outputs&) { return OV_DisableCtrAlarm(P, A, 0); }},
      {"OV_GetCtrAlarmStatus",
       {Out::U16},
       [](Outputs& o) { return OV_GetCtrAlarmStatus(P, A, 1, o.u16(0)); }},
      {"OV_SetCtrAlarmLimit", {}, [](Outputs&) { return OV_SetCtrAlarmLimit(P, A, 1, 0xFFFF); }},
      {"OV_ReadCtrAlarmLimit",
       {Out::U32},
       [](Outputs& o) { return OV_ReadCtrAlarmLimit(P, A, 0, o.u32(0)); }},
  };
}

std::vector<ExportCase> converterCases() {
  OV_ConverterConfig setConverter{0x13, 6, 9, 1, 0, 1, 1, 2, 0, 8};
  return {
      {"OV_DataPass",
       {Out::Text},
       [](Outputs& o) {
         OV_DataPassConfig(P, A, 0);
         return OV_DataPass(P, A, "ABC", o.text(0));
       }},
      {"OV_DataPass_length5",
       {Out::Text},
       [](Outputs& o) {
         OV_DataPassConfig(P, A, 5);
         return OV_DataPass(P, A, "ABC", o.text(0));
       }},
      {"OV_DataPass_length31",
       {Out::Text},
       [](Outputs& o) {
         OV_DataPassConfig(P, A, 31);
         return OV_DataPass(P, A, "ABC", o.text(0));
       }},
      {"OV_SetDataGate", {}, [](Outputs&) { return OV_SetDataGate(P, A, 1); }},
      {"OV_Get7912Config",
       {Out::ConverterConfig},
       [](Outputs& o) { return OV_Get7912Config(P, A, o.converter()); }},
      {"OV_Set7912Config",
       {},
       [setConverter](Outputs&) { return OV_Set7912Config(P, A, &setConverter); }},
  };
}

std::vector<ExportCase> allCases() {
  std::vector<ExportCase> all;
  for (auto part : {identityCases, analogCases, digitalCases, counterCases, converterCases}) {
    auto cases = part();
    all.insert(all.end(), cases.begin(), cases.end());
  }
  return all;
}

std::string exportOf(const std::string& caseName) {
  auto underscore = caseName.find('_', 3);
  return caseName.substr(0, underscore);
}

std::string checksumDigits(const std::string& text) {
  unsigned sum = 0;
  for (unsigned char c : text) sum += c;
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", sum % 256);
  return digits;
}

// A reply of 0 to 64 bytes that no module would send, or one that looks
// almost right.
std::string hostileReply(std::mt19937& random, bool checksumOn) {
  auto pick = [&](const std::string& alphabet) { return alphabet[random() % alphabet.size()]; };
  const int tail = 3;  // room for checksum digits and CR
  std::size_t length = random() % (65 - tail);
  std::string text;
  switch (random() % 6) {
    case 0:  // anything at all, CRs included
      for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(random() % 256);
      break;
    case 1:  // NULs among printable characters
      for (std::size_t i = 0; i < length; ++i)
        text += random() % 3 == 0 ? '\0' : static_cast<char>(32 + random() % 95);
      break;
    case 2:  // a refusal, sometimes with more behind it
      text = "?12" + std::string(length % 4, 'X');
      break;
    case 3:  // no text at all
      break;
    default:  // a plausible lead and address, then digits, signs and letters
      text = std::string(1, pick("!>?")) + (random() % 2 ? "12" : "");
      while (text.size() < length) text += pick("0123456789ABCDEFabcdef+-. ");
      break;
  }
  if (checksumOn) {
    switch (random() % 4) {
      case 0:
        text += checksumDigits(text);
        break;
      case 1: {
        std::string digits = checksumDigits(text);
        for (char& c : digits) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        text += digits;
        break;
      }
      case 2:
        text += checksumDigits(text + "x");  // the digits of another text
        break;
      default:
        break;
    }
  }
  // Now and then no CR: the reply runs into the time-out.
  if (random() % 16 != 0) text += '\r';
  return text;
}

bool documentedStatus(uint16_t status) {
  static const std::set<uint16_t> documented = {OV_SUCCESS, OV_REFUSED, OV_IO_ERROR, OV_TIMEOUT,
                                                OV_CHECKSUM_ERROR};
  return documented.count(status) > 0;
}

std::string printable(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    if (c >= 32 && c < 127) {
      shown += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    }
  }
  return shown;
}

class HostileReplyTest : public DriverTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(HostileReplyTest, StatusesAndBuffersHold) {
  const ExportCase& c = GetParam();
  start({module("7213", kAddress)});
  OV_TimeOut(kPort, kShortTimeoutMs);
  std::mt19937 random(std::hash<std::string>{}(c.name) % 100000u);
  std::map<uint16_t, int> tally;
  for (int i = 0; i < kRepliesPerExport; ++i) {
    const bool checksumOn = i % 2 == 1;
    checksumOn ? OV_EnableChecksum(kPort) : OV_DisableChecksum(kPort);
    const std::string reply = hostileReply(random, checksumOn);
    net->setFault(kAddress, {.reply = reply});
    Outputs outputs;
    for (Out kind : c.outputs) outputs.guarded.emplace_back(kind);
    const uint16_t status = c.call(outputs);
    ++tally[status];
    const std::string what = "reply \"" + printable(reply) + "\" checksum " +
                             (checksumOn ? "on" : "off") + " status " + std::to_string(status);
    ASSERT_TRUE(documentedStatus(status)) << what;
    // Every failure is told, and a success leaves no text behind.
    char failure[512];
    ASSERT_EQ(OV_GetErrorText(kPort, failure, sizeof failure), OV_SUCCESS);
    ASSERT_EQ(status == OV_SUCCESS, failure[0] == '\0') << what << ", text: " << failure;
    for (std::size_t n = 0; n < outputs.guarded.size(); ++n) {
      const Guarded& g = outputs.guarded[n];
      ASSERT_TRUE(g.tailIntact()) << "output " << n << " written beyond its size; " << what;
      if (status != OV_SUCCESS && !c.mayWriteBeforeFailing) {
        ASSERT_TRUE(g.untouched()) << "output " << n << " written by a failure; " << what;
      }
      if (status == OV_SUCCESS) {
        ASSERT_TRUE(g.terminated()) << "output " << n << " not terminated; " << what;
      }
    }
  }
  for (const auto& [status, count] : tally) {
    char key[16];
    std::snprintf(key, sizeof key, "status%04x", status);
    RecordProperty(key, count);
  }
}

INSTANTIATE_TEST_SUITE_P(Exports, HostileReplyTest, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<ExportCase>& info) {
                           return info.param.name;
                         });

// A new export that exchanges with a module must join the table above.
TEST(HostileReplyCoverage, EveryModuleOperationOfTheHeaderIsExercised) {
  std::ifstream header(ORVIO_HEADER);
  ASSERT_TRUE(header) << ORVIO_HEADER;
  const std::string text((std::istreambuf_iterator<char>(header)),
                         std::istreambuf_iterator<char>());
  // The exports that exchange nothing, or only broadcast.
  const std::set<std::string> noExchange = {
      "OV_InitialComm",     "OV_ReleaseComm",  "OV_TimeOut",     "OV_EnableChecksum",
      "OV_DisableChecksum", "OV_SetPortName",  "OV_Sync",        "OV_HostOK",
      "OV_DataPassConfig",  "OV_GetErrorText", "OV_SetBaudRate", "OV_GetModelInfo",
      "OV_GetTypeInfo",     "OV_SetTraceFile"};
  std::set<std::string> covered;
  for (const auto& c : allCases()) covered.insert(exportOf(c.name));
  const std::string declaration = "ORVIO_API uint16_t ";
  int exports = 0;
  for (auto at = text.find(declaration); at != std::string::npos;
       at = text.find(declaration, at + 1)) {
    const auto start = at + declaration.size();
    const std::string name = text.substr(start, text.find('(', start) - start);
    ++exports;
    if (noExchange.count(name) == 0) {
      EXPECT_EQ(covered.count(name), 1u) << name;
    }
  }
  EXPECT_GT(exports, 80);
  RecordProperty("moduleOperations", static_cast<int>(covered.size()));
}

}  // namespace
}  // namespace orvane::driver::test
