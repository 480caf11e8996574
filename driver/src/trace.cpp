// The line trace of the library's ports: the serial layer writes it; the
// program chooses its file.
#include <cerrno>

#include "orvio.h"
#include "serial/line_trace.h"

namespace serial = orvane::serial;

extern "C" {

uint16_t OV_SetTraceFile(const char* path) {
  try {
    if (!path || !*path)
      serial::closeTraceFile();
    else
      serial::openTraceFile(path);
    return OV_SUCCESS;
  } catch (const serial::TraceFileError& failure) {
    errno = failure.code();
  } catch (...) {
    errno = ENOMEM;
  }
  return OV_REFUSED;
}

}  // extern "C"
