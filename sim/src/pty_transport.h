// The simulator's end of a pseudo-terminal: the master, plus a descriptor of
// the slave held open for the whole life of the line, so that the master never
// sees a hang-up when a product closes and reopens the slave, and so that the
// line settings the product chose can be read at any moment. Destroying it
// closes the master, which hangs up every descriptor of the slave, the
// product's as well as our own.
#pragma once

#include <string>
#include <string_view>

namespace orvane::sim {

// What the slave's termios says about the line.
struct LineSettings {
  int baudRate = 0;
  bool eightBitsNoParity = false;
  int parity = 0;  // 0 none, 1 odd, 2 even
};

class PtyTransport {
 public:
  PtyTransport();  // throws std::runtime_error naming the failing call
  ~PtyTransport();
  PtyTransport(const PtyTransport&) = delete;
  PtyTransport& operator=(const PtyTransport&) = delete;

  const std::string& slavePath() const { return slavePath_; }
  int masterFd() const { return master_; }
  LineSettings lineSettings() const;

  // Reads what is waiting on the master (never blocks); empty when nothing.
  std::string readAvailable();
  // Writes all bytes to the master.
  void write(std::string_view bytes);
  // Whether characters written to the master still wait for the product to
  // read them (also those the kernel has not yet handed to the slave).
  bool unread() const;

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

int baudRateOfSpeed(unsigned speed);

}  // namespace orvane::sim
