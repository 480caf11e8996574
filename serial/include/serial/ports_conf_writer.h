// Changing ports.conf from a program without losing what the user wrote in
// it by hand: comments, blank lines, their order and every line the change
// is not about stay as they were.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace orvane::serial {

// The text of ports.conf with the device of every COM number in `devices`
// set to its path, or its line removed for an empty path. A COM number's line
// is replaced where it stood (where the file named it more than once, at the
// line that counted, the last one; the others go); a line that already names
// the path is kept byte for byte; COM numbers without a line get one at the
// end, in number order. COM numbers not in `devices` and lines that do not
// parse are left alone. New lines end like the file's first line does.
// Throws std::invalid_argument for a path that would not read back as
// written (a line break, blanks at either end).
std::string rewritePortsConf(std::string_view text, const std::map<int, std::string>& devices);

// Applies rewritePortsConf to ports.conf in the config directory, writing it
// atomically, and only when its content changes. A missing file counts as
// empty. Returns whether the file was written. Throws std::runtime_error with
// the cause when the file cannot be read or written.
bool updatePortsConf(const std::filesystem::path& configDir,
                     const std::map<int, std::string>& devices);

}  // namespace orvane::serial
