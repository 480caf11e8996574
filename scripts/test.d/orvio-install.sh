#!/usr/bin/env bash
# Installs the built tree into a temporary prefix, builds the C example there
# against the installed library (with pkg-config and with the CMake package),
# and runs it and the Python example against orvsim.
#   scripts/test.d/orvio-install.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?usage: orvio-install.sh BUILD_DIR}")
cd "$(dirname "$0")/../.."
root=$(pwd)
source scripts/lib/orvsim-line.sh

tmp=$(mktemp -d)
orvsim_pid=
cleanup() {
  if [ -n "$orvsim_pid" ]; then
    kill "$orvsim_pid" 2>/dev/null || true
    wait "$orvsim_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
  echo "orvio-install: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
pc=$(find "$tmp/prefix" -name orvio.pc -print -quit)
[ -n "$pc" ] || fail "orvio.pc was not installed"
export PKG_CONFIG_PATH=$(dirname "$pc")
libdir=$(pkg-config --variable=libdir orvio)
[ -e "$libdir/liborvio.so.1" ] || fail "liborvio.so.1 is not in $libdir"
# orvio.pc carries the product's version, the SONAME the ABI's major number.
product=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(pkg-config --modversion orvio)" = "$product" ] ||
  fail "orvio.pc has version $(pkg-config --modversion orvio), not $product"

# The application outside the tree, built the two ways a customer would.
# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -Wpedantic -Werror -o "$tmp/orvio_scan" \
  "$root/examples/c/orvio_scan.c" $(pkg-config --cflags --libs orvio)
cmake -S "$root/examples/c" -B "$tmp/example-cmake" -DCMAKE_PREFIX_PATH="$tmp/prefix" >/dev/null
cmake --build "$tmp/example-cmake" >/dev/null

orvsim=$(find "$build" -name orvsim -type f -perm -u+x -print -quit)
[ -n "$orvsim" ] || fail "orvsim is not built in $build"
orvsim_line "$orvsim" "$tmp/line" "$tmp/orvsim.log" || fail "orvsim did not start"

export XDG_CONFIG_HOME=$tmp/config
com1_on "$XDG_CONFIG_HOME" "$tmp/line"

check_scan() {
  local what=$1 output=$2
  grep -Eq '^[1-9][0-9]* module\(s\) found$' "$output" || fail "$what found no module: $(cat "$output")"
  grep -q ', value ' "$output" || fail "$what read no analog value: $(cat "$output")"
  echo "orvio-install: $what: $(tail -n 1 "$output"), $(grep -c ', value ' "$output") value(s) read"
}

LD_LIBRARY_PATH=$libdir "$tmp/orvio_scan" 1 20 >"$tmp/c.out" || fail "C example failed: $(cat "$tmp/c.out")"
check_scan "C example (pkg-config)" "$tmp/c.out"
LD_LIBRARY_PATH=$libdir "$tmp/example-cmake/orvio_scan" 1 20 >"$tmp/cmake.out" ||
  fail "C example failed: $(cat "$tmp/cmake.out")"
check_scan "C example (CMake package)" "$tmp/cmake.out"
ORVIO_LIBRARY=$libdir/liborvio.so.1 python3 "$root/examples/python/orvio_scan.py" 1 20 >"$tmp/py.out" ||
  fail "Python example failed: $(cat "$tmp/py.out")"
check_scan "Python example" "$tmp/py.out"

# A port that cannot be opened: both examples say why, in the library's words.
echo "COM2=$tmp/no-adapter" >>"$XDG_CONFIG_HOME/orvane/ports.conf"
for example in "$tmp/orvio_scan" "python3 $root/examples/python/orvio_scan.py"; do
  if ORVIO_LIBRARY=$libdir/liborvio.so.1 LD_LIBRARY_PATH=$libdir $example 2 1 2>"$tmp/err.out" >/dev/null; then
    fail "$example opened a missing device"
  fi
  grep -q "COM2: $tmp/no-adapter: cannot open: no such device" "$tmp/err.out" ||
    fail "$example did not tell why COM2 failed: $(cat "$tmp/err.out")"
done
echo "orvio-install: both examples tell why a missing device cannot be opened"
# Readings move between runs; the modules found must not.
strip_values() { sed 's/, value .*//' "$1"; }
diff <(strip_values "$tmp/c.out") <(strip_values "$tmp/py.out") >/dev/null ||
  fail "the C and Python examples found different modules"
