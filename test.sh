#!/usr/bin/env bash
# Builds everything and runs every test, then builds a second tree with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again.
#   ./test.sh             both, as CI does
#   ./test.sh --quick     the normal build only
#   ./test.sh --sanitize  the sanitized build only
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
mirel_install_packages
export QT_QPA_PLATFORM=offscreen
mode=${1:-all}
case "$mode" in
  all|--quick|--sanitize) ;;
  *) echo "usage: $0 [--quick|--sanitize]" >&2; exit 2 ;;
esac

if [ "$mode" != --sanitize ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  ninja -C build
  ctest --test-dir build --output-on-failure -j "$(nproc)"
fi
if [ "$mode" != --quick ]; then
  # Light optimisation and line tables only: the sanitizers' reports keep
  # their file and line, and the second build stays quick.
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DMIREL_SANITIZE=ON -DMIREL_BUILD_BENCH=OFF >/dev/null
  ninja -C build-sanitize
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
fi
