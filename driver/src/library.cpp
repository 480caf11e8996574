#include "library.h"

namespace orvane::driver {

Library& Library::instance() {
  static Library library;
  return library;
}

Library::Library() {
  for (auto& row : delimiters) row.fill('{');
  for (auto& row : dataPassLengths) row.fill(0);
}

Library::~Library() {
  std::lock_guard lock(mutex);
  for (auto& slot : slots) releaseLine(slot);
}

bool releaseLine(PortSlot& slot) {
  if (!slot.line) return false;
  slot.line->dropDtr();
  slot.line->purge();
  slot.line->close();
  slot.line.reset();
  return true;
}

}  // namespace orvane::driver
