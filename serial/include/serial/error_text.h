// The text of an errno value, safe to call from any thread (strerror is not:
// it may hand back a buffer shared by all threads).
#pragma once

#include <string>

namespace orvane::serial {

std::string errorText(int error);

}  // namespace orvane::serial
