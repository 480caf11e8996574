// Fields of a reply read by position (0 is the lead character), never past
// its end: a short or garbled reply gives empty texts and zeros, never an
// exception. Windows decide with replyValid() whether a reply counts at all.
#pragma once

#include <cstddef>
#include <string>

namespace orvane::admin {

// The text from the position, at most `length` characters; empty past the end.
std::string replyText(const std::string& reply, std::size_t position,
                      std::size_t length = std::string::npos);

// The character at the position as a hexadecimal digit (0 past the end or
// for any other character).
int replyDigit(const std::string& reply, std::size_t position);

// The characters at the position read as hexadecimal digits.
unsigned replyHex(const std::string& reply, std::size_t position, std::size_t length);

// The decimal number at the position (0 when there is none).
double replyDecimal(const std::string& reply, std::size_t position,
                    std::size_t length = std::string::npos);

// A reply counts when it has the lead, and, when a length is given, exactly
// that many characters.
bool replyValid(bool exchangeOK, const std::string& reply, char lead,
                std::size_t length = std::string::npos);

}  // namespace orvane::admin
