// orvio_soak: many random orvio calls against the simulator, each with a
// fault drawn for it (none most of the time; a silent module, a garbage
// reply, a wrong or lower-case checksum, a refusal, a late or trickling
// reply, a reply without CR, now and then a pulled adapter). It must run to
// the end, and reports what a long-running program would notice: open file
// descriptors before and after (must be equal), resident memory growth (must
// stay under 2 MiB) and calls per second.
//   orvio_soak [calls]   (default 100000)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "orvio.h"
#include "sim/network.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint16_t kPort = 1;
constexpr uint16_t kPlain = 0x01;      // a 7213 without checksum
constexpr uint16_t kChecked = 0x02;    // a 7586 counter with checksum
constexpr uint16_t kDigital = 0x03;    // a 7451 without checksum
constexpr uint16_t kConverter = 0x04;  // a 7912 with an echoing device behind it
constexpr int kUnplugEvery = 5000;
constexpr long kRssLimitKiB = 2048;

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "orvio_soak: %s\n", what.c_str());
  std::exit(1);
}

int openDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count - 1;  // the directory iterator's own descriptor
}

long residentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(4096, '\n');
  }
  return -1;
}

std::string randomBytes(std::mt19937& random) {
  std::string bytes(random() % 65, '\0');
  for (char& c : bytes) c = static_cast<char>(random() % 256);
  return bytes;
}

orvane::sim::FaultSpec drawFault(std::mt19937& random) {
  orvane::sim::FaultSpec fault;
  switch (random() % 100) {
    case 0:
    case 1:
      fault.silent = true;
      break;
    case 2:
    case 3:
    case 4:
      fault.reply = randomBytes(random);
      break;
    case 5:
    case 6:
      fault.wrongChecksum = true;
      break;
    case 7:
      fault.lowerCaseChecksum = true;
      break;
    case 8:
    case 9:
      fault.refuseAll = true;
      break;
    case 10:
      fault.delayMs = 5;
      break;
    case 11:
      fault.charGapMs = 1;
      break;
    case 12:
      fault.nulBytes = true;
      break;
    case 13:
      fault.noCarriageReturn = true;
      break;
    case 14:
      fault.garbage = true;
      break;
    default:
      break;  // no fault
  }
  return fault;
}

// One random module operation; the checksum flag follows the module's.
uint16_t randomCall(std::mt19937& random) {
  char text[30], low[8], high[8], other[8];
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  OV_ModuleConfig config{};
  switch (random() % 14) {
    case 0:
      return OV_ReadAI(kPort, kPlain, text);
    case 1:
      return OV_ReadAllAI(kPort, kPlain, low, high, other);
    case 2:
      return OV_GetConfig(kPort, kPlain, &config);
    case 3:
      return OV_GetModuleName(kPort, kPlain, text);
    case 4:
      return OV_SendCommand(kPort, "$01F", text);
    case 5:
      return OV_ReadMappingSource(kPort, kPlain, low, high);
    case 6:
      return OV_ReadDI(kPort, kDigital, &u32, 7451);
    case 7:
      return OV_WriteDOPort(kPort, kDigital, 0, static_cast<uint16_t>(random() % 256), 7451);
    case 8:
      return OV_ReadBackDO(kPort, kDigital, &u16, 7451);
    case 9:
      return OV_DataPass(kPort, kConverter, "PING", text);
    case 10:
      OV_EnableChecksum(kPort);
      return OV_ReadCtrValue(kPort, kChecked, 0, &u32);
    case 11:
      OV_EnableChecksum(kPort);
      return OV_ReadCtrMaxValue(kPort, kChecked, 1, &u32);
    case 12:
      OV_EnableChecksum(kPort);
      return OV_SetCtrAlarmLimit(kPort, kChecked, 0, u32);
    default:
      OV_EnableChecksum(kPort);
      return OV_GetVersion(kPort, kChecked, text);
  }
}

bool documented(uint16_t status) {
  return status == OV_SUCCESS || status == OV_REFUSED || status == OV_IO_ERROR ||
         status == OV_TIMEOUT || status == OV_CHECKSUM_ERROR;
}

void open(const std::string& link) {
  OV_SetPortName(kPort, link.c_str());
  if (OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0) != OV_SUCCESS)
    die("cannot open " + link);
}

}  // namespace

int main(int argc, char** argv) {
  const long calls = argc > 1 ? std::atol(argv[1]) : 100000;
  if (calls <= 0) die("usage: orvio_soak [calls]");
  const std::string link = "/tmp/orvio-soak-" + std::to_string(::getpid());
  orvane::sim::NetworkOptions options;
  options.linkPath = link;
  auto checked = orvane::sim::makeModule("7586", kChecked);
  checked.checksum = true;
  orvane::sim::Network net(
      {orvane::sim::makeModule("7213", kPlain), checked, orvane::sim::makeModule("7451", kDigital),
       orvane::sim::makeModule("7912", kConverter)},
      options);
  OV_TimeOut(kPort, 20);
  open(link);

  std::mt19937 random(20261208);
  std::map<uint16_t, long> statuses;
  // Warm up so that the first allocations of the library and the simulator
  // do not count as growth.
  for (int i = 0; i < 2000; ++i) {
    OV_DisableChecksum(kPort);
    randomCall(random);
  }
  const int fdsBefore = openDescriptors();
  const long rssBefore = residentKiB();
  long unplugs = 0;
  const auto started = Clock::now();
  for (long i = 1; i <= calls; ++i) {
    if (i % kUnplugEvery == 0) {
      net.unplug();
      statuses[randomCall(random)]++;
      net.replug();
      OV_ReleaseComm(kPort);
      open(link);
      ++unplugs;
      continue;
    }
    OV_DisableChecksum(kPort);
    auto fault = drawFault(random);
    net.clearFaults();
    for (uint16_t address : {kPlain, kChecked, kDigital, kConverter}) net.setFault(address, fault);
    uint16_t status = randomCall(random);
    if (!documented(status)) die("undocumented status " + std::to_string(status));
    statuses[status]++;
    // The simulator's own frame log is bounded; keep it small all the same.
    if (i % 1000 == 0) net.clearFrames();
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  net.clearFaults();
  const int fdsAfter = openDescriptors();
  const long rssAfter = residentKiB();

  std::printf("orvio_soak: %ld calls in %.1f s, %.0f calls/s, %ld unplugs, crashes 0\n", calls,
              seconds, static_cast<double>(calls) / seconds, unplugs);
  for (const auto& [status, count] : statuses) std::printf("  status 0x%04x: %ld\n", status, count);
  std::printf("  open descriptors: %d before, %d after\n", fdsBefore, fdsAfter);
  std::printf("  resident memory: %ld KiB before, %ld KiB after (growth %ld KiB)\n", rssBefore,
              rssAfter, rssAfter - rssBefore);
  OV_ReleaseComm(kPort);
  bool ok = fdsAfter == fdsBefore && rssAfter - rssBefore < kRssLimitKiB;
  std::printf("%s\n", ok ? "orvio_soak: OK" : "orvio_soak: FAILED");
  return ok ? 0 : 1;
}
