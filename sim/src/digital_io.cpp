#include "families.h"

namespace orvane::sim {

Reply handleDigitalIo(ModuleState&, const Command&, Moment) { return std::nullopt; }

}  // namespace orvane::sim
