// Building commands and cutting fields out of replies by position (position
// 0 is the lead character), and handing results to the caller's buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::driver {

// printf-style formatting of a command template.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// The reply from the position to its end (empty past the end).
std::string_view textFrom(std::string_view reply, std::size_t position);

// The character at the position minus "0"; past the end the character counts
// as a terminating zero, as in a cleared reply buffer.
int digitAt(std::string_view reply, std::size_t position);

// The characters at the position read as hexadecimal, other characters
// skipped.
std::uint32_t hexAt(std::string_view reply, std::size_t position, std::size_t count);

// The decimal value of the text from the position (blanks, sign, digits).
long long decimalFrom(std::string_view reply, std::size_t position);

// Writes at most 29 characters and a terminating zero; a null buffer is
// skipped.
void putText(char* buffer, std::string_view text);

// Seven characters from the position, zero-filled where the reply ends, and a
// zero at index 7.
void putField7(char* buffer, std::string_view reply, std::size_t position);

template <typename T, typename V>
void put(T* output, V value) {
  if (output) *output = static_cast<T>(value);
}

}  // namespace orvane::driver
