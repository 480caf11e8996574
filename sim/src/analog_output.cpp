#include "families.h"

namespace orvane::sim {

Reply handleAnalogOutput(ModuleState&, const Command&, Moment) { return std::nullopt; }

}  // namespace orvane::sim
