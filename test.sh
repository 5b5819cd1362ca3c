#!/usr/bin/env bash
# Builds everything and runs every test, then builds a second tree with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again.
#   ./test.sh             both, as CI does (on CI also ten kill tests, the
#                         package as root, and the fuzz targets)
#   ./test.sh --quick     the normal build only
#   ./test.sh --sanitize  the sanitized build only
#   ./test.sh --package   the Debian package only: built, installed with
#                         apt-get (as root or through sudo) and played
#   ./test.sh --fuzz [SECONDS]  the fuzz targets only, built with clang in
#                         build-fuzz/ and each run for SECONDS (60); on CI
#                         the default mode ends with 20 seconds of each
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
mirel_install_packages
export QT_QPA_PLATFORM=offscreen
mode=${1:-all}
case "$mode" in
  all|--quick|--sanitize|--package) ;;
  --fuzz) [[ "${2:-60}" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 --fuzz [SECONDS]" >&2; exit 2; } ;;
  *) echo "usage: $0 [--quick|--sanitize|--package|--fuzz [SECONDS]]" >&2; exit 2 ;;
esac

# Builds the fuzz targets with clang's libFuzzer and runs each for $1
# seconds, one after another at the lowest priority, on its seeds, its kept
# inputs and what earlier runs found (build-fuzz/corpus/). An input that
# crashes, leaks, times out or breaks a property is copied into
# fuzz/regressions/TARGET/, where ctest replays it from then on.
fuzz_stage() {
  local seconds=$1 failed="" bin name art dirs dict
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DMIREL_FUZZ=ON >/dev/null
  ninja -C build-fuzz
  for bin in build-fuzz/fuzz/fuzz_*; do
    name=${bin##*/fuzz_}
    art=build-fuzz/artifacts/$name
    rm -rf "$art"
    mkdir -p "$art" "build-fuzz/corpus/$name"
    dirs=("build-fuzz/corpus/$name")
    for d in "fuzz/corpus/$name" "fuzz/regressions/$name"; do [ -d "$d" ] && dirs+=("$d"); done
    dict=()
    [ -f "fuzz/$name.dict" ] && dict=("-dict=fuzz/$name.dict")
    if nice -n 19 "$bin" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=5 -print_final_stats=1 \
         -artifact_prefix="$art/" "${dict[@]}" "${dirs[@]}" >"$art.log" 2>&1; then
      echo "fuzz: $name: $(sed -n 's/^stat::number_of_executed_units: *//p' "$art.log") runs in $seconds s, nothing found"
    else
      tail -n 40 "$art.log"
      mkdir -p "fuzz/regressions/$name"
      cp "$art"/* "fuzz/regressions/$name/" 2>/dev/null || true
      echo "fuzz: $name FAILED; the input is kept in fuzz/regressions/$name/, the log in $art.log" >&2
      failed="$failed $name"
    fi
  done
  [ -z "$failed" ] || { echo "fuzz: failed:$failed" >&2; return 1; }
}

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
  # Debian's own checks: any error or warning fails the stage.
  lintian --fail-on error,warning build/mirel_*.deb
  appstreamcli validate --no-net packaging/org.example.mirel.metainfo.xml
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends --reinstall ./build/mirel_*.deb
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  build/tools/make-demo-data "$tmp/made"
  diff -r "$tmp/made" /usr/share/mirel/demo-data
  printf 'title new\n' >"$tmp/input"
  HOME="$tmp/home" XDG_DATA_HOME="" /usr/games/mirel-play --headless --input "$tmp/input" --trace "$tmp/trace" >"$tmp/out"
  # The last record run is the story's quit command, after an ending
  # (records count from 0, after the header line).
  /usr/games/mirel-tool decode /usr/share/mirel/demo-data/91.dat "$tmp/story.txt"
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
if [ "$mode" = --fuzz ]; then
  fuzz_stage "${2:-60}"
  exit 0
fi
if [ "$mode" != --sanitize ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  ninja -C build
  ctest --test-dir build --output-on-failure -j "$(nproc)"
  if [ "$mode" = all ] && [ "${CI:-}" = true ]; then scripts/killtest.sh 10; fi
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
if [ "$mode" = all ] && [ "${CI:-}" = true ]; then fuzz_stage 20; fi
