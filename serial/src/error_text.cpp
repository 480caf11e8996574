#include "serial/error_text.h"

#include <cstring>

namespace orvane::serial {

namespace {

// strerror_r comes in two flavours: the POSIX one returns a status and fills
// the buffer, the GNU one returns the text, which may lie elsewhere.
[[maybe_unused]] const char* textOf(int status, const char* buffer) {
  return status == 0 ? buffer : "unknown error";
}
[[maybe_unused]] const char* textOf(const char* text, const char*) { return text; }

}  // namespace

std::string errorText(int error) {
  char buffer[256] = "";
  return textOf(::strerror_r(error, buffer, sizeof buffer), buffer);
}

}  // namespace orvane::serial
