// What a line needs of the trace beyond its public face.
#pragma once

#include <chrono>

namespace orvane::serial {

// Counts the times the trace was switched on: a line forgets a send and a
// reply begun before, whose delay the trace would get wrong.
unsigned traceEpoch();

inline std::chrono::microseconds traceDelay(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               since);
}

}  // namespace orvane::serial
