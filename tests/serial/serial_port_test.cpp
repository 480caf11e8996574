// The serial layer against real pseudo-terminals: the test holds the master
// side and plays the far end of the line.
#include "serial/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "serial/config_dir.h"

namespace orvane::serial {
namespace {

using namespace std::chrono_literals;

class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
      throw std::runtime_error("no pty");
    path_ = ::ptsname(master_);
    // An observer descriptor on the slave keeps the line up and lets the test
    // read the settings the port applied.
    observer_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  }
  ~Pty() {
    ::close(observer_);
    ::close(master_);
  }
  const std::string& path() const { return path_; }
  int observer() const { return observer_; }
  termios slaveSettings() const {
    termios tio{};
    ::tcgetattr(observer_, &tio);
    return tio;
  }
  void send(const std::string& bytes) const {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::string receive(std::size_t count, std::chrono::milliseconds timeout) const {
    std::string got;
    auto deadline = Clock::now() + timeout;
    while (got.size() < count && Clock::now() < deadline) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) {
        char buffer[64];
        ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
      }
    }
    return got;
  }

 private:
  int master_ = -1;
  int observer_ = -1;
  std::string path_;
};

TEST(SerialPort, AppliesRawEightDataBitsOneStopBitAndTheBaudRate) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200}) {
    port.configure(rate);
    termios tio = pty.slaveSettings();
    speed_t expected = rate == 57600 ? B57600 : rate == 115200 ? B115200 : 0;
    if (expected) {
      EXPECT_EQ(cfgetospeed(&tio), expected) << rate;
    }
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8)) << rate;
    EXPECT_FALSE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_TRUE(tio.c_cflag & CREAD);
    EXPECT_FALSE(tio.c_lflag & ICANON);
    EXPECT_FALSE(tio.c_lflag & ECHO);
    EXPECT_FALSE(tio.c_iflag & (IXON | ICRNL));
    EXPECT_FALSE(tio.c_oflag & OPOST);
  }
  termios tio = pty.slaveSettings();
  EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B115200));
}

// A pseudo-terminal always runs 8 data bits without parity (the kernel clears
// PARENB), so only the parity check of the input side is visible here.
TEST(SerialPort, ParityTurnsOnTheInputCheck) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  port.configure(9600, Parity::Odd);
  termios tio = pty.slaveSettings();
  EXPECT_TRUE(tio.c_iflag & INPCK);
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
  port.configure(4800, Parity::None);
  tio = pty.slaveSettings();
  EXPECT_FALSE(tio.c_iflag & INPCK);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
}

TEST(SerialPort, RefusesAnUnsupportedRate) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  EXPECT_THROW(port.configure(12345), SerialError);
}

TEST(SerialPort, IsExclusiveUntilClosed) {
  Pty pty;
  auto first = SerialPort::open(pty.path());
  try {
    SerialPort::open(pty.path());
    FAIL() << "second open succeeded";
  } catch (const SerialError& e) {
    std::string text = e.what();
    EXPECT_NE(text.find(pty.path()), std::string::npos) << text;
    EXPECT_NE(text.find("in use"), std::string::npos) << text;
  }
  first.close();
  // Root passes TIOCEXCL anyway; the flag itself shows what any other user meets.
  int exclusive = -1;
  ASSERT_EQ(::ioctl(pty.observer(), TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0) << "the tty stays claimed after close";
  EXPECT_NO_THROW(SerialPort::open(pty.path()));
}

TEST(SerialPort, MissingDeviceNamesTheDeviceAndTheCause) {
  try {
    SerialPort::open("/dev/ttyNoSuchOrvanePort");
    FAIL() << "open succeeded";
  } catch (const SerialError& e) {
    std::string text = e.what();
    EXPECT_NE(text.find("/dev/ttyNoSuchOrvanePort"), std::string::npos) << text;
    EXPECT_NE(text.find("no such device"), std::string::npos) << text;
  }
}

TEST(SerialPort, ANonTtyIsRefused) { EXPECT_THROW(SerialPort::open("/dev/null"), SerialError); }

TEST(SerialPort, ReadTimesOutAfterAboutTheTimeOut) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  port.configure(9600);
  auto start = Clock::now();
  auto byte = port.readByte(200ms);
  auto waited = Clock::now() - start;
  EXPECT_FALSE(byte);
  EXPECT_GE(waited, 190ms);
  EXPECT_LT(waited, 2s);
}

TEST(SerialPort, AByteArrivingDuringAWaitEndsItAtOnce) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  port.configure(9600);
  std::thread far([&] {
    std::this_thread::sleep_for(50ms);
    pty.send("!");
  });
  auto start = Clock::now();
  auto byte = port.readByte(5s);
  auto waited = Clock::now() - start;
  far.join();
  ASSERT_TRUE(byte);
  EXPECT_EQ(*byte, '!');
  EXPECT_LT(waited, 2s);
}

TEST(SerialPort, WritesReachTheFarEndUnchanged) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  port.configure(115200);
  std::string frame = "$022B8\r";
  frame += '\n';
  frame += '\0';
  frame += '\xFF';
  ASSERT_TRUE(port.write(frame, 500ms));
  EXPECT_EQ(pty.receive(frame.size(), 2s), frame);
}

TEST(SerialPort, CountsAndTakesBufferedBytes) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  port.configure(9600);
  pty.send("!01\r");
  ASSERT_TRUE(port.waitReadable(2s));
  auto deadline = Clock::now() + 2s;
  while (port.available() < 4 && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(port.available(), 4u);
  EXPECT_EQ(port.readByte(0ms), '!');
  EXPECT_EQ(port.available(), 3u);
}

TEST(SerialPort, PurgeDiscardsPendingInput) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  port.configure(9600);
  pty.send("stale reply\r");
  ASSERT_TRUE(port.waitReadable(2s));
  std::this_thread::sleep_for(20ms);
  port.purge();
  EXPECT_EQ(port.available(), 0u);
  EXPECT_FALSE(port.readByte(50ms));
  pty.send("x");
  EXPECT_EQ(port.readByte(2s), 'x');
}

TEST(SerialPort, DroppingDtrOnAPtyIsHarmless) {
  Pty pty;
  auto port = SerialPort::open(pty.path());
  port.configure(9600);
  EXPECT_NO_THROW(port.dropDtr());
  EXPECT_TRUE(port.isOpen());
}

TEST(SerialPort, AVanishedLineIsReportedNotWaitedOn) {
  std::string path;
  SerialPort port;
  {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    path = ::ptsname(master);
    port = SerialPort::open(path);
    port.configure(9600);
    ::close(master);  // the adapter is pulled
  }
  auto start = Clock::now();
  EXPECT_THROW(port.readByte(2s), DeviceDisconnected);
  EXPECT_THROW(port.write("$01M\r", 100ms), DeviceDisconnected);
  EXPECT_LT(Clock::now() - start, 1s);
}

TEST(SerialPort, OperationsOnAClosedPortThrow) {
  SerialPort port;
  EXPECT_FALSE(port.isOpen());
  EXPECT_THROW(port.readByte(10ms), SerialError);
  EXPECT_THROW(port.write("x", 10ms), SerialError);
  EXPECT_EQ(port.available(), 0u);
}

}  // namespace
}  // namespace orvane::serial
