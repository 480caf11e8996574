#include "families.h"

namespace orvane::sim {

Reply handleCounter(ModuleState&, const Command&, Moment) { return std::nullopt; }

}  // namespace orvane::sim
