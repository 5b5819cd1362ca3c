#!/usr/bin/env bash
# The mutation sample: plants N small faults in the engine's sources, one at a
# time (a comparison turned, && and || swapped, + 1 made + 2, true and false
# swapped), rebuilds, runs the tests and reports each fault as killed,
# survived or stillborn (does not compile). The same seed picks the same sites.
#   scripts/mutants.sh [--seed S] [-n N] [--build DIR] [--timeout SECONDS] [--list] [--only K,...]
# It builds in build-mutants/ (benchmarks off) and always puts the file back.
set -euo pipefail
exec python3 "$(dirname "$0")/mutants.py" "$@"
