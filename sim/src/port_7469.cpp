#include "families.h"

namespace orvane::sim {

Reply handlePort7469(ModuleState&, const Command&, Moment) { return std::nullopt; }

}  // namespace orvane::sim
