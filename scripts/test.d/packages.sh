#!/usr/bin/env bash
# Builds the Debian packages from the build tree and checks them without
# installing anything: names, versions, sections and dependencies, the file
# lists, lintian (errors fail), and the unpacked files at work: orvsim runs,
# the C example builds against liborvio-dev with pkg-config and with the CMake
# package and finds the simulated modules through liborvio1, and orvadmin
# starts on a virtual X display as far as its search dialog.
#   scripts/test.d/packages.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: packages.sh BUILD_DIR}
cd "$(dirname "$0")/../.."
here=$(pwd)
source scripts/lib/orvsim-line.sh
scripts/need lintian xvfb xauth xdotool >/dev/null

tmp=$(mktemp -d)
orvsim_pid=
cleanup() {
  [ -z "$orvsim_pid" ] || kill "$orvsim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "packages: $*" >&2
  exit 1
}

ORVANE_DIST_DIR=$tmp/dist scripts/package "$build"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
lib=usr/lib/$multiarch
deb() { echo "$tmp/dist/${1}_${version}_$arch.deb"; }
for p in liborvio1 liborvio-dev orvane-tools; do [ -f "$(deb $p)" ] || fail "no package $p"; done
[ "$(ls "$tmp/dist" | wc -l)" -eq 3 ] || fail "unexpected packages: $(ls "$tmp/dist")"

# --- control fields ---
field() { dpkg-deb -f "$(deb "$1")" "$2"; }
expect_field() { # package field pattern
  field "$1" "$2" | grep -Eq "$3" || fail "$1: $2 is '$(field "$1" "$2")', expected /$3/"
}
for p in liborvio1 liborvio-dev orvane-tools; do expect_field $p Version "^${version//./\\.}$"; done
expect_field liborvio1 Section '^libs$'
expect_field liborvio-dev Section '^libdevel$'
expect_field orvane-tools Section '^electronics$'
expect_field liborvio1 Depends 'libc6 \(>= [0-9.]+\)'
expect_field liborvio1 Depends 'libstdc\+\+6'
expect_field liborvio-dev Depends "^liborvio1 \(= ${version//./\\.}\)$"
expect_field orvane-tools Depends 'libqt6widgets6 \(>= [0-9.]+\)'
expect_field orvane-tools Depends 'qt6-qpa-plugins'
expect_field orvane-tools Depends "liborvio1 \(>= ${version//./\\.}\)"
dpkg-deb --ctrl-tarfile "$(deb liborvio1)" | tar -xO ./shlibs | grep -qx "liborvio 1 liborvio1 (>= $version)" ||
  fail "liborvio1 has no shlibs line for liborvio.so.1"
dpkg-deb --ctrl-tarfile "$(deb liborvio1)" | tar -xO ./triggers | grep -qx "activate-noawait ldconfig" ||
  fail "liborvio1 does not trigger ldconfig"

# --- file lists ---
contents() { dpkg-deb -c "$(deb "$1")" | awk '{ print $6 }' | sed 's|^\./||; s|/$||'; }
expect_files() { # package path...
  local p=$1 list
  shift
  list=$(contents "$p")
  for f in "$@"; do grep -qx "$f" <<<"$list" || fail "$p lacks $f"; done
  if grep -v '^usr' <<<"$list" | grep -q .; then fail "$p has files outside /usr: $(grep -v '^usr' <<<"$list")"; fi
  if grep -Eq 'usr/local|/tests?/|bench|fuzz|\.o$|\.a$' <<<"$list"; then fail "$p carries build output: $list"; fi
}
for p in liborvio1 liborvio-dev orvane-tools; do
  expect_files $p usr/share/doc/$p/copyright usr/share/doc/$p/changelog.gz
  echo "packages: $p: $(dpkg-deb -c "$(deb $p)" | grep -vc '/$') files"
done
orvio_version=$(sed -n 's/^set(ORVIO_VERSION \(.*\))$/\1/p' CMakeLists.txt)
expect_files liborvio1 $lib/liborvio.so.1 "$lib/liborvio.so.$orvio_version"
expect_files liborvio-dev usr/include/orvio.h $lib/liborvio.so $lib/pkgconfig/orvio.pc \
  $lib/cmake/orvio/orvioConfig.cmake $lib/cmake/orvio/orvioTargets.cmake \
  usr/share/doc/liborvio-dev/orvio.md usr/share/doc/liborvio-dev/examples/c/orvio_scan.c \
  usr/share/doc/liborvio-dev/examples/python/orvio_scan.py usr/share/man/man3/orvio.3.gz
expect_files orvane-tools usr/bin/orvadmin usr/bin/orvsim usr/bin/orvctl \
  usr/share/applications/orvadmin.desktop \
  usr/share/icons/hicolor/scalable/apps/orvadmin.svg usr/share/man/man1/orvadmin.1.gz \
  usr/share/man/man1/orvsim.1.gz usr/share/man/man1/orvctl.1.gz \
  usr/share/bash-completion/completions/orvctl usr/share/doc/orvane-tools/orvctl.md \
  usr/share/doc/orvane-tools/orvadmin.md \
  usr/share/doc/orvane-tools/serial-ports.md usr/share/doc/orvane-tools/examples/networks/small-plant.json
if contents liborvio1 | grep -q 'liborvio\.so$'; then fail "the development link is in liborvio1"; fi

# --- lintian ---
status=0
lintian --fail-on error "$tmp"/dist/*.deb >"$tmp/lintian.raw" 2>&1 || status=$?
grep -v '^running with root privileges' "$tmp/lintian.raw" >"$tmp/lintian.out" || true
((status == 0)) || { cat "$tmp/lintian.out"; fail "lintian found errors (status $status)"; }
echo "packages: lintian: no errors, $(grep -c '^W:' "$tmp/lintian.out" || true) warning(s)"
sed 's/^/packages:   /' "$tmp/lintian.out"

# --- the unpacked files at work ---
root=$tmp/root
for p in liborvio1 liborvio-dev orvane-tools; do dpkg-deb -x "$(deb $p)" "$root"; done
for binary in $root/usr/bin/orvadmin $root/usr/bin/orvsim $root/usr/bin/orvctl $root/$lib/liborvio.so.1; do
  if readelf -d "$binary" | grep -Eq 'RPATH|RUNPATH'; then fail "$binary keeps a run path"; fi
done
[ "$("$root/usr/bin/orvsim" --version)" = "orvsim $version" ] || fail "orvsim --version: $("$root/usr/bin/orvsim" --version)"
orvctl_version=$(LD_LIBRARY_PATH=$root/$lib "$root/usr/bin/orvctl" --version)
[ "$orvctl_version" = "orvctl $version" ] || fail "orvctl --version: $orvctl_version"
grep -qx 'Exec=orvadmin' "$root/usr/share/applications/orvadmin.desktop" || fail "the desktop entry does not start orvadmin"

orvsim_line "$root/usr/bin/orvsim" "$tmp/line" "$tmp/orvsim.log" || fail "the unpacked orvsim did not start"
export XDG_CONFIG_HOME=$tmp/config
com1_on "$XDG_CONFIG_HOME" "$tmp/line"

pc_version=$(PKG_CONFIG_PATH=$root/$lib/pkgconfig pkg-config --modversion orvio)
[ "$pc_version" = "$version" ] || fail "orvio.pc has version $pc_version, not $version"
examples=$root/usr/share/doc/liborvio-dev/examples
# shellcheck disable=SC2046
cc -std=c99 -Wall -Werror -o "$tmp/orvio_scan" "$examples/c/orvio_scan.c" \
  $(PKG_CONFIG_PATH=$root/$lib/pkgconfig pkg-config --cflags --libs orvio)
cmake -S "$examples/c" -B "$tmp/example-cmake" -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$tmp/example-cmake" >/dev/null
for program in "$tmp/orvio_scan" "$tmp/example-cmake/orvio_scan"; do
  how=pkg-config
  [[ $program == */example-cmake/* ]] && how="CMake package"
  LD_LIBRARY_PATH=$root/$lib "$program" 1 20 >"$tmp/scan.out" || fail "$program failed: $(cat "$tmp/scan.out")"
  LD_LIBRARY_PATH=$root/$lib ldd "$program" | grep -q "$root/$lib/liborvio.so.1" ||
    fail "$program did not load the unpacked liborvio"
  grep -Eq '^[1-9][0-9]* module\(s\) found$' "$tmp/scan.out" || fail "$program found no module: $(cat "$tmp/scan.out")"
  echo "packages: the C example built with $how: $(tail -n 1 "$tmp/scan.out")"
done

# orvctl from the package, through the unpacked liborvio1, on COM1 of ports.conf.
LD_LIBRARY_PATH=$root/$lib ldd "$root/usr/bin/orvctl" | grep -q "$root/$lib/liborvio.so.1" ||
  fail "orvctl did not load the unpacked liborvio"
LD_LIBRARY_PATH=$root/$lib "$root/usr/bin/orvctl" -p COM1 --csv scan --to 3 >"$tmp/orvctl.out" ||
  fail "orvctl scan failed: $(cat "$tmp/orvctl.out")"
[ "$(grep -c '^[1-3],' "$tmp/orvctl.out")" -eq 3 ] || fail "orvctl found not the modules 1 to 3: $(cat "$tmp/orvctl.out")"
echo "packages: the unpacked orvctl finds the modules 1 to 3"
# The completion is a bash script that registers itself for orvctl.
bash -c "complete() { [ \"\$*\" = '-F _orvctl orvctl' ] && echo registered; }; _init_completion() { :; }
  source '$root/usr/share/bash-completion/completions/orvctl'" | grep -qx registered ||
  fail "the bash completion does not register itself for orvctl"

# orvadmin reads COM.CFG, opens COM1 and, when its window first comes up,
# asks for the search range: the Search dialog on the screen is the sign.
printf '100\r\n1\r\nn,8,1\r\n9600\r\n' >"$XDG_CONFIG_HOME/orvane/COM.CFG"
cat >"$tmp/orvadmin.sh" <<SCRIPT
cd "$tmp"
# The tests' offscreen platform would show nothing on the display.
QT_QPA_PLATFORM=xcb "$root/usr/bin/orvadmin" >"$tmp/orvadmin.log" 2>&1 &
for _ in \$(seq 300); do
  xdotool search --name '^Search\$' >/dev/null 2>&1 && break
  sleep 0.1
done
windows=\$(xdotool search --name '.' getwindowname %@ 2>/dev/null | sort -u)
kill \$! 2>/dev/null
echo "\$windows"
SCRIPT
windows=$(timeout 60 xvfb-run -a bash "$tmp/orvadmin.sh")
grep -qx 'Search' <<<"$windows" || fail "orvadmin showed no Search dialog; windows: $windows; $(cat "$tmp/orvadmin.log")"
if grep -qx 'Error' <<<"$windows"; then fail "orvadmin showed an error box: $(cat "$tmp/orvadmin.log")"; fi
echo "packages: the unpacked orvadmin shows its Search dialog"
