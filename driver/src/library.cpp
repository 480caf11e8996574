#include "library.h"

#include <new>

namespace orvane::driver {

Library& Library::instance() {
  // Built in static storage and never destroyed: other threads may still be
  // calling while the process runs its exit handlers.
  alignas(Library) static unsigned char storage[sizeof(Library)];
  static Library* library = new (storage) Library;
  return *library;
}

Library::Library() {
  for (auto& row : delimiters) row.fill('{');
  for (auto& row : dataPassLengths) row.fill(0);
}

void Library::shutDown() {
  std::lock_guard lock(mutex);
  shutDownDone = true;
  for (auto& slot : slots) {
    releaseLine(slot);
    // The storage goes with the library at unload; nothing may stay behind
    // on the heap.
    std::string().swap(slot.deviceOverride);
  }
}

bool releaseLine(PortSlot& slot) {
  if (!slot.line) return false;
  slot.line->dropDtr();
  slot.line->purge();
  slot.line->close();
  slot.line.reset();
  return true;
}

namespace {

// Runs when the library is unloaded or, at process exit, after every exit
// handler of the program.
__attribute__((destructor)) void releaseAtUnload() { Library::instance().shutDown(); }

}  // namespace

}  // namespace orvane::driver
