// The failure text of each port, which OV_GetErrorText hands out: the COM
// port, its device, what failed, and what to do where we know it. Every call
// on a port leaves it: empty when the call succeeded, the failure otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "library.h"

namespace orvane::driver {

// Stores "COM3: " and the text ("port 0: " for the slot without a COM port),
// cut where it would overflow the slot's buffer.
void noteFailure(PortSlot& slot, std::size_t port, std::string_view text);

// The same for a call that succeeds but has something to say: the text
// stays after the success.
void noteOnSuccess(PortSlot& slot, std::size_t port, std::string_view text);

// After a call: a success clears the text (but a note), a failure that no
// step described gets its status number.
void settleFailure(PortSlot& slot, std::size_t port, std::uint16_t status);

// At most size - 1 bytes of the text and a terminating zero, never half of a
// UTF-8 character (a device path may hold one); nothing for size 0.
void copyText(std::string_view text, char* out, std::size_t size);

// A command or reply as a text shows it: in quotes, control characters as
// <CR> or <07>, cut after 40 characters.
std::string quoted(std::string_view bytes);

}  // namespace orvane::driver
