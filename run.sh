#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo data folder and plays it.
# Extra arguments go to the game (for example --data DIR).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
mirel_install_packages
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build mirel demo_data
if [ "$#" -eq 0 ]; then set -- --data build/demo-data; fi
exec build/src/mirel "$@"
