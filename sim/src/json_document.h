// The JSON text of a network file, parsed with the place of every error.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace orvane::sim {

// Throws NetworkFileError naming the file, the line and column and the
// problem: not valid JSON, not valid UTF-8, a number out of range, or a key
// given twice in one object (named by its place, "modules[1].baud").
nlohmann::json parseDocument(const std::string& text, const std::string& name);

}  // namespace orvane::sim
