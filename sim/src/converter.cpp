#include "families.h"

namespace orvane::sim {

Reply handleConverter(ModuleState&, const Command&, Moment) { return std::nullopt; }

}  // namespace orvane::sim
