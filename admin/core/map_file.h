// The module map: the COM port and the rows of the main window's list as a
// text file (File, Save; admin.map at exit), and the same rows on paper.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class QPrinter;

namespace orvane::admin {

// Port line, hyphens, header, the rows, an empty line, hyphens; every line
// ended by CR LF.
std::string mapFileText(int comPort, const std::vector<std::string>& rows);

// Replaces the file through a temporary file; throws std::runtime_error.
void writeMapFile(const std::filesystem::path& path, int comPort,
                  const std::vector<std::string>& rows);

// The rows, then one empty line, in the fixed-pitch font; false when the
// printer could not be started.
bool printRows(QPrinter& printer, const std::vector<std::string>& rows);

}  // namespace orvane::admin
