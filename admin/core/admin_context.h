// All program-wide state of orvadmin in one object, created in main() (or by a
// test) and handed to every window by reference. Nothing else is global.
#pragma once

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "admin/core/com_ports.h"
#include "admin/core/line_worker.h"
#include "admin/core/module_entry.h"
#include "admin/core/ui_services.h"
#include "admin/core/window_factories.h"

namespace orvane::admin {

inline constexpr int kModuleListSize = 256;
inline constexpr int kComPortCount = 8;
inline constexpr int kBaudCodeCount = 8;
inline constexpr int kRepeatCommandWidth = 16;

// The settings of one COM port 1..8.
struct PortSetting {
  // Indexed by BaudCode: 1 = the search tries this rate; the dialog's check
  // boxes may also leave 2 (partly checked).
  std::array<int, kBaudCodeCount> SearchFlags{};
  int Parity = 0;    // 0 none, 1 odd, 2 even
  int DataBits = 8;  // 4..8
  int StopBits = 0;  // 0 one, 1 one and a half, 2 two
};

class AdminContext {
 public:
  // The services default to the desktop ones; tests pass their own.
  explicit AdminContext(std::filesystem::path configDir, std::unique_ptr<UiServices> ui = nullptr);
  AdminContext(const AdminContext&) = delete;
  AdminContext& operator=(const AdminContext&) = delete;

  // Where COM.CFG and ports.conf live.
  std::filesystem::path configDir;
  // The module map written at exit: admin.map in the current directory.
  std::filesystem::path exitMapFile{"admin.map"};

  // Module table.
  std::array<ModuleEntry, kModuleListSize> ModuleList{};
  int ModuleCount = 0;
  int SelectedIndex = -1;
  int InitModuleIndex = -1;
  int ConfigResult = 0;  // 1 changed, 2 unchanged

  // Port and link.
  int ComPort = 1;
  std::array<PortSetting, kComPortCount> PortSettings{};  // [0] is COM1
  std::array<int, kComPortCount> PortBaudCode{};          // -1 = not set yet
  int ReplyTimeout = 100;                                 // milliseconds
  int LongReplyTimeout = 400;
  char DecimalSeparator = '.';
  std::string LastCommand;
  std::string LastReply;
  bool LastExchangeOK = false;
  // The serial layer's text of the last exchange that failed on the line
  // itself; empty after a successful one.
  std::string LastLinkError;
  // What the last exchange could not do on the line without failing: on a
  // line at a fixed speed, the rate it asked for and did not get (see
  // SetPortBaud); empty otherwise.
  std::string LastLinkNote;
  // The line settles after every baud change for this long before the next
  // frame goes out; tests shorten it. Set before the first exchange: the
  // line worker reads it.
  std::chrono::milliseconds baudSettlePause{1000};
  // The cold-junction calibration waits this long after clearing the offset,
  // whose reply it does not read, so that the reply is in before the next
  // command clears the line, and again after setting the new offset before
  // it reads the temperature; tests shorten it.
  std::chrono::milliseconds cjcSettlePause{1000};
  // A line whose adapter was pulled out is opened again by the next
  // exchange; while its device is missing, no more often than this; tests
  // shorten it.
  std::chrono::milliseconds reopenInterval{1000};
  ComPorts OrvComm;  // the serial controls of COM1..COM8

  // Search.
  bool SearchConfirmed = false;
  int SearchHiAddress = 255;

  // Terminal batches and repeated commands.
  int BatchRepeatCount = 1;
  std::string RepeatCommand = std::string(kRepeatCommandWidth, ' ');
  int RepeatCommandCount = 1;

  WindowFactories windows;

  UiServices& ui() { return *ui_; }
  // The owner of the lines; inline until orvadmin starts its thread.
  LineWorker& line() { return *line_; }

  // The settings record of COM port 1..8; COM ports outside 1..8 have none
  // and throw std::out_of_range.
  PortSetting& portSetting(int com);
  const PortSetting& portSetting(int com) const;

  // Back to the state of a fresh start: empty table, no selection, no search
  // flags, every port's line rate unknown, default time-outs.
  void initializeTables();

 private:
  std::unique_ptr<UiServices> ui_;
  // Declared last: its thread ends before anything it uses goes.
  std::unique_ptr<LineWorker> line_;
};

}  // namespace orvane::admin
