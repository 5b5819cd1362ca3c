#!/usr/bin/env bash
# Builds everything and runs every test, then builds a second tree with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again.
#   ./test.sh             both, as CI does (on CI, as root, the package too)
#   ./test.sh --quick     the normal build only
#   ./test.sh --sanitize  the sanitized build only
#   ./test.sh --package   the Debian package only: built, installed with
#                         apt-get (as root or through sudo) and played
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
mirel_install_packages
export QT_QPA_PLATFORM=offscreen
mode=${1:-all}
case "$mode" in
  all|--quick|--sanitize|--package) ;;
  *) echo "usage: $0 [--quick|--sanitize|--package]" >&2; exit 2 ;;
esac

# Builds the .deb after a play of the developer's copy (which must not reach
# it), installs it, checks that the installed demo is the one the maker
# makes, and plays it to its end from the installed launcher.
package_stage() {
  local sudo="" tmp
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  ./run.sh --headless --input /dev/null >/dev/null
  rm -f build/mirel_*.deb
  (cd build && cpack -G DEB >/dev/null)
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends --reinstall ./build/mirel_*.deb
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  build/tools/make-demo-data "$tmp/made"
  diff -r "$tmp/made" /usr/share/mirel/demo-data
  printf 'title new\n' >"$tmp/input"
  HOME="$tmp/home" XDG_DATA_HOME="" mirel-play --headless --input "$tmp/input" --trace "$tmp/trace" >"$tmp/out"
  # The last record run is the story's quit command, after an ending
  # (records count from 0, after the header line).
  mirel-tool decode /usr/share/mirel/demo-data/91.dat "$tmp/story.txt"
  quit=$(awk -F, '$2 == "q" { print NR - 2; exit }' "$tmp/story.txt")
  if [ "$(tail -n 1 "$tmp/trace")" != "$quit" ] || grep -q '^message: ' "$tmp/out"; then
    cat "$tmp/out"
    echo "package: the installed demo did not play to its end" >&2
    return 1
  fi
  test -f "$tmp/home/.local/share/mirel/data/mirel.log"
  echo "package: $(ls build/mirel_*.deb) installed and played to its end ($(wc -l <"$tmp/trace") records)"
}

if [ "$mode" = --package ]; then
  package_stage
  exit 0
fi
if [ "$mode" != --sanitize ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  ninja -C build
  ctest --test-dir build --output-on-failure -j "$(nproc)"
  if [ "$mode" = all ] && [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then package_stage; fi
fi
if [ "$mode" != --quick ]; then
  # Light optimisation and line tables only: the sanitizers' reports keep
  # their file and line, and the second build stays quick.
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DMIREL_SANITIZE=ON -DMIREL_BUILD_BENCH=OFF >/dev/null
  ninja -C build-sanitize
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
fi
