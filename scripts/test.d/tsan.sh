#!/usr/bin/env bash
# Builds orvio, the simulator and the library's thread tests with
# ThreadSanitizer in build-tsan/ and runs them: eight threads on three ports
# with ports released and reopened under their feet, and threads that keep
# calling while the process exits. Then orvadmin's threaded line worker:
# polling windows closed mid-tick, and two of them polling while a terminal
# sends and the Line Monitor watches (only the targets that program needs
# are built). Any report fails the run.
#   scripts/test.d/tsan.sh [BUILD_DIR]   (the plain build is not used)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build-tsan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANE_BUILD_ADMIN=ON -DORVANE_TSAN=ON >/dev/null
cmake --build "$build" -j 2 --target orvio_thread_tests orvio_exit_tests \
  orvadmin_line_threads_tests

export TSAN_OPTIONS="halt_on_error=1 exitcode=66"
ORVIO_THREAD_CALLS=5000 "$build/tests/driver/orvio_thread_tests"
"$build/tests/driver/orvio_exit_tests"
# Qt itself is not instrumented: what it allocates and frees on its own
# threads, synchronized in ways the sanitizer cannot see, is left out, and
# every access of our code is still checked.
TSAN_OPTIONS="$TSAN_OPTIONS ignore_noninstrumented_modules=1" QT_QPA_PLATFORM=offscreen \
  "$build/tests/admin/diag/orvadmin_line_threads_tests"
