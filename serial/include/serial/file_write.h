// Writing a file the user keeps (COM.CFG, admin.map, ports.conf, a map saved
// under a name of the user's choice): a crash or a kill at any moment leaves
// the old or the new content whole, never a mix, and a file the user may not
// write stays as it is.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace orvane::serial {

// The text names the file and the cause ("/x/admin.map: is read-only; left
// as it is").
class FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the content to a temporary file beside the file (made by mkstemp,
// flushed to disk), renames it over the old one, then flushes the directory.
// A symbolic link is followed to the file it names, however many links lead
// there (a dangling one: that file is created), and the link stays a link.
// Left alone, and reported, are: anything but a regular file; a file without
// any write permission, also for root, who may write anything (such a file
// is its owner's statement that it stays as it is); a file the user's rights
// do not let him write; a file in a directory he may not write. The mode, and
// where the user may set them the owner and group, of the file replaced are
// kept. The temporaries that killed writers of the same user left beside the
// file are removed; nothing else is. Creates the directory of the path when
// missing. Throws FileWriteError.
void writeFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace orvane::serial
