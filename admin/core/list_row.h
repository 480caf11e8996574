// The text row of one module in the main window's list (and in the map file
// and the printout). The columns line up under the header in a fixed-pitch
// font.
#pragma once

#include <string>

namespace orvane::admin {

class AdminContext;

inline constexpr const char* kListHeader = "Address     Model    BaudRate    Format    Remark";

// The row of ModuleList entry i; "*" marks the initialization entry.
std::string buildListRow(const AdminContext& context, int entryIndex);

}  // namespace orvane::admin
