// The symbolic link that names the line for the products (orvsim --link). A
// file of the user's at that path is never touched, only a stale link.
#pragma once

#include <string>

namespace orvane::sim {

// Points the link at the target; a program opening the path meanwhile finds
// either the old or the new line, never none (a link made under a temporary
// name is renamed over the old one). Throws std::runtime_error when the path
// holds something other than a symbolic link or the link cannot be made.
void pointLink(const std::string& path, const std::string& target);

// Removes the link; anything other than a symbolic link stays.
void removeLink(const std::string& path);

}  // namespace orvane::sim
