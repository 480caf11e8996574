// Frames written for people: CR as <CR>, other control bytes as <hex>.
#pragma once

#include <string>
#include <string_view>

namespace orvane::sim {

std::string printable(std::string_view bytes);

}  // namespace orvane::sim
