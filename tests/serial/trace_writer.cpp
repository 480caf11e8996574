// A program with a line to the simulator that makes many exchanges, each
// traced as ORVANE_TRACE says: two of them at once share one trace file.
//
//   trace_writer PORT COUNT
//
// Each round is one exchange ("$01M" to the 7213 at address 1) and one long
// frame no module answers; exit status 0 when every exchange was answered.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "line_exchange.h"
#include "serial/line.h"
#include "sim/network.h"

using namespace std::chrono_literals;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: trace_writer PORT COUNT\n");
    return 2;
  }
  const int count = std::atoi(argv[2]);
  orvane::sim::Network network({orvane::sim::makeModule("7213", 1)});
  auto line = orvane::serial::openLine(network.slavePath(), argv[1]);
  line->configure(9600);
  const std::string longFrame = "$99" + std::string(240, 'L') + "\r";
  for (int round = 0; round < count; ++round) {
    if (orvane::test::exchange(*line, "$01M\r", 2000ms) != "!017213") return 1;
    if (!line->write(longFrame, 2000ms)) return 1;
  }
  return 0;
}
