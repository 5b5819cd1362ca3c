#!/usr/bin/env bash
# Runs every benchmark and two whole-program measurements, then prints one
# table: what was measured, the time it took, and the target it must meet.
set -euo pipefail
cd "$(dirname "$0")"
dir=build
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$dir" mirel mirel_bench demo_data >/dev/null
export QT_QPA_PLATFORM=offscreen

out=$(mktemp)
trap 'rm -rf "$out" "$out.d"' EXIT
# The console report: counters differ between benchmarks, which the CSV
# report refuses.
"$dir/bench/mirel_bench" --benchmark_color=false 2>/dev/null >"$out"

echo "| measurement | processor time | notes |"
echo "|---|---|---|"
# name  time unit  cpu unit  iterations  counters or label...
awk '$1 ~ /^BM_/ && NF >= 6 {
  notes = ""; for (i = 7; i <= NF; ++i) notes = notes (i > 7 ? " " : "") $i
  printf "| %s | %s %s | %s |\n", $1, $4, $5, notes }' "$out"

# A whole headless play of the demo: start-up to the title screen without
# the game's own fixed waits (it runs on the virtual clock), and the peak
# memory of the full play through to the quit command.
mkdir -p "$out.d"
cp -R "$dir/demo-data/." "$out.d/"
printf 'title new\n' >"$out.d/in.txt"
stats=$("$dir/src/mirel" --headless --data "$out.d" --input "$out.d/in.txt" --stats 2>/dev/null | grep '^stats:')
echo "$stats" | sed -n 's/^stats: start to title \(.*\) ms$/| start-up to the title screen | \1 ms | wall clock, fixed waits left out |/p'
echo "$stats" | sed -n 's/^stats: peak memory \(.*\) kB$/| peak memory of a full play | \1 kB | resident set |/p'
# The first frame of the real window on a virtual X display, sound and all:
# from the process start to the window's first paint.
if command -v xvfb-run >/dev/null; then
  printf 'wait 1500\nnow close\n' >"$out.d/first.txt"
  first=$(MIREL_LOCK_DIR="$out.d" QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' \
    "$dir/src/mirel" --data "$out.d" --input "$out.d/first.txt" --stats 2>/dev/null |
    sed -n 's/^stats: first frame \(.*\) ms after the process started$/\1/p')
  echo "| first frame of the window | ${first:-?} ms | wall clock from the process start, to 10 ms |"
fi
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr)"
