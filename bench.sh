#!/usr/bin/env bash
# Runs every benchmark and two whole-program measurements, then prints one
# table: what was measured, the time it took, and the target it must meet.
set -euo pipefail
cd "$(dirname "$0")"
dir=build
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$dir" mirel mirel_bench demo_data >/dev/null
export QT_QPA_PLATFORM=offscreen

csv=$(mktemp)
trap 'rm -rf "$csv" "$csv.d"' EXIT
"$dir/bench/mirel_bench" --benchmark_format=csv 2>/dev/null >"$csv"

echo "| measurement | time | per |"
echo "|---|---|---|"
# name,iterations,real_time,cpu_time,time_unit,...
awk -F, 'NR > 1 && $1 !~ /^"?name/ {
  gsub(/"/, "", $1); printf "| %s | %.3f %s | iteration (cpu) |\n", $1, $4, $5 }' "$csv"

# A whole headless play of the demo: start-up to the title screen without
# the game's own fixed waits (it runs on the virtual clock), and the peak
# memory of the full play through to the quit command.
mkdir -p "$csv.d"
cp -R "$dir/demo-data/." "$csv.d/"
printf 'title new\n' >"$csv.d/in.txt"
stats=$("$dir/src/mirel" --headless --data "$csv.d" --input "$csv.d/in.txt" --stats 2>/dev/null | grep '^stats:')
echo "$stats" | sed -n 's/^stats: start to title \(.*\) ms$/| start-up to the title screen | \1 ms | start (wall clock) |/p'
echo "$stats" | sed -n 's/^stats: peak memory \(.*\) kB$/| peak memory of a full play | \1 kB | run |/p'
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr)"
