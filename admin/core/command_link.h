// The command link: every exchange of orvadmin with a module goes through
// here. It is the front of the line worker (line_worker.h), which owns the
// lines: the plain functions below hand their work to the worker and return
// when it is done (the window repaints meanwhile but takes no input), the
// Async ones are awaited in a sequence (link_task.h) and leave the GUI
// thread free while the line works. Either way the reply time-out restarts
// with every character received, and LastCommand, LastReply,
// LastExchangeOK, LastLinkError and LastLinkNote tell the exchange as
// before.
//
// Threading contract: call everything here on the GUI thread, which owns
// the Last... fields; the worker gets a copy of what an exchange needs (an
// ExchangeRequest) and its ExchangeResult is set into the Last... fields on
// the GUI thread when the exchange is done. Windows never reach the lines
// any other way.
//
// Usual pattern in a dialog sequence (message boxes may come between
// exchanges):
//   context.LastCommand = "$" + Hex2(effectiveAddress(context, i), 2) + "2";
//   ExchangeCommand(context, i, 0, context.ReplyTimeout);
//   if (context.LastExchangeOK && context.LastReply.starts_with("!")) ...
//
// And in a tick or any other sequence (no message box there):
//   context.LastCommand = ...;
//   const bool ok = co_await ExchangeCommandAsync(context, i, 0, context.ReplyTimeout);
//   if (ok && context.LastReply.starts_with("!")) ...
#pragma once

#include <array>
#include <coroutine>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "admin/core/line_worker.h"
#include "admin/core/link_task.h"

class QLineEdit;

namespace orvane::admin {

class AdminContext;

// Sets the line of COM port 1..8 to the rate of BaudCode b (9600 for a code
// outside 0..7), no parity, 8 data bits, 1 stop bit, then pauses for the
// settle pause. Nothing happens when the port is already at that code.
// Serial failures throw serial::SerialError.
//
// A line at a fixed speed (socket://) runs at the speed of its device
// server, which the user gives as the lowest rate ticked for the port
// (9600 when none is): PortBaudCode holds that speed, whatever is asked,
// and nothing settles, since nothing changed on the wire. A rate other than
// that speed leaves fixedSpeedText in LastLinkNote.
void SetPortBaud(AdminContext& context, int port, int baudCode);

// The BaudCode of the lowest rate ticked for the port, 3 (9600) when none
// is: the speed of a line that has a fixed one.
int fixedSpeedBaudCode(const AdminContext& context, int port);

// "COM3 is a network line at a fixed speed; commands go out at its speed,
// not at 19200 bps".
std::string fixedSpeedText(int port, int baudRate);

// Switches the line of ComPort when needed, clears the receive buffer and
// writes the command (blanks at both ends removed) with its checksum when
// checksumFlag is 1, then CR. A lost line is opened again first (see
// ComPorts::port). Serial failures throw serial::SerialError, and
// serial::DeviceDisconnected when the adapter is found gone.
void WriteCommand(AdminContext& context, const std::string& command, int checksumFlag,
                  int baudCode);

// Reads one reply up to its CR into `reply` after a blocking pause of
// delayMs. False on a time-out (reply keeps what arrived), when the reply
// grows past protocol::kReplyLengthCap characters without its CR (garbled:
// a line that streams or a module that trickles must not hold the program,
// however slowly the characters come), or when checksumFlag is 1 and the
// checksum does not match (reply keeps its digits). On a match the digits
// are removed.
bool ReadReply(AdminContext& context, std::string& reply, int checksumFlag, int delayMs,
               int timeoutMs);

// The checksum flag and BaudCode one exchange is written with.
struct LinkParameters {
  int checksumFlag = 0;
  int baudCode = 3;
};

// The effective link parameters of entry i.
LinkParameters entryLink(const AdminContext& context, int entryIndex);

// The one exchange every window, search step and terminal path goes
// through: writes LastCommand with the link parameters, reads the reply
// into LastReply and returns LastExchangeOK. A failure of the serial line
// itself (port not open, adapter gone) does not throw: the exchange fails
// with an empty reply and LastLinkError holds the text to show.
// LastLinkNote holds what the line could not do (see SetPortBaud).
//
// A line whose adapter was pulled out comes back by itself. When the write
// finds it gone, no module saw the command: the device is opened again at
// once, set up as after any open, and the command goes out once more. When
// the read finds it gone, the exchange fails and the next one opens the
// device again. While the device is missing, exchanges fail at once with
// ComPorts::disconnectedText, and try to open it no more often than the
// context's reopenInterval.
bool Exchange(AdminContext& context, const LinkParameters& link, int delayMs, int timeoutMs);

// LastCommand to entry i with its effective link parameters.
void ExchangeCommand(AdminContext& context, int entryIndex, int delayMs, int timeoutMs);

// What one exchange takes to the line and brings back.
struct ExchangeRequest {
  int port = 1;
  std::string command;
  LinkParameters link;
  int delayMs = 0;
  int timeoutMs = 0;
  int fixedSpeedCode = 3;  // the port's speed, should its line be at a fixed speed
};
struct ExchangeResult {
  std::string reply;
  bool ok = false;
  std::string linkError;
  std::string linkNote;  // what a line at a fixed speed could not do
};

// `co_await ExchangeAsync(...)` in a LinkTask: the exchange of Exchange()
// (LastCommand, taken when the awaiter is made), done by the line worker
// while the GUI thread goes on; the sequence resumes with LastReply,
// LastExchangeOK, LastLinkError and LastLinkNote set and the result of
// LastExchangeOK. Inline the exchange is done at once, in await_ready.
// Destroyed before the reply is in (the sequence was destroyed), it cancels
// its job: the job fills a result of its own, never the awaiter.
class ExchangeAwaiter {
 public:
  ExchangeAwaiter(AdminContext& context, const LinkParameters& link, int delayMs, int timeoutMs);
  ~ExchangeAwaiter();
  ExchangeAwaiter(const ExchangeAwaiter&) = delete;
  ExchangeAwaiter& operator=(const ExchangeAwaiter&) = delete;

  bool await_ready();
  void await_suspend(std::coroutine_handle<> awaiting);
  bool await_resume();

 private:
  AdminContext& context_;
  ExchangeRequest request_;
  std::shared_ptr<ExchangeResult> result_;
  LineWorker::Ticket ticket_;
};

// Runs a sequence to its end and returns its result, waiting as the plain
// functions do (the window repaints but takes no input meanwhile).
template <typename T>
T RunSequence(LinkTask<T> task) {
  LocalWait wait;
  task.start([&wait] { wait.finish(); });
  wait.exec();
  return task.result();
}

ExchangeAwaiter ExchangeAsync(AdminContext& context, const LinkParameters& link, int delayMs,
                              int timeoutMs);
ExchangeAwaiter ExchangeCommandAsync(AdminContext& context, int entryIndex, int delayMs,
                                     int timeoutMs);

// The link parameters of entry i: the initialization entry is addressed as
// 00 at 9600 bps without checksum, and address 00 never carries a checksum.
int effectiveAddress(const AdminContext& context, int entryIndex);
int effectiveBaudCode(const AdminContext& context, int entryIndex);
int effectiveChecksum(const AdminContext& context, int entryIndex);

std::string Hex2(unsigned value, int width = 2);

// lead, the address as two hexadecimal digits, the body: ('$', 10, "5FF")
// gives "$0A5FF".
std::string addressedCommand(char lead, int address, std::string_view body);
int HexDigitValue(char c);

// Every DecimalSeparator in the text becomes ".".
void FixDecimalSeparator(const AdminContext& context, std::string& text);

// Key filters for text boxes: other character keys are refused with a beep.
// SignedNumberKeys: digits, "+", "-", the DecimalSeparator, Enter, Backspace.
// DigitKeys: digits, Enter, Backspace. Navigation keys pass untouched.
void SignedNumberKeys(AdminContext& context, QLineEdit& edit);
void DigitKeys(AdminContext& context, QLineEdit& edit);

// One analog input reading of entry i in engineering units, or "*error*".
std::string ReadAnalogValue(AdminContext& context, int entryIndex, int channel);
LinkTask<std::string> ReadAnalogValueAsync(AdminContext& context, int entryIndex, int channel);

// The 8 channel states of "$AA6" (true = enabled). True when they were
// read; unchanged and false when the exchange failed or the reply is no
// "!" reply long enough to hold them (a "?AA" refusal is no mask).
bool ReadChannelMask(AdminContext& context, int entryIndex, std::array<bool, 8>& mask);

}  // namespace orvane::admin
