#!/usr/bin/env bash
# Installs what is missing, builds the game and mirel-tool, makes the demo
# data folder and plays a copy of it, build/play-data: the game writes into
# the folder it plays, and build/demo-data stays as made for the tests and
# for installing. The copy is made again when the demo changes.
# Extra arguments go to the game (for example --data DIR).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
mirel_install_packages
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build mirel mirel-tool demo_data
for a in "$@"; do
  case "$a" in --data|--data=*) exec build/src/mirel "$@" ;; esac
done
if [ ! -f build/play-data/90.dat ] || [ build/demo-data.stamp -nt build/play-data.stamp ]; then
  rm -rf build/play-data
  cp -R build/demo-data build/play-data
  touch build/play-data.stamp
fi
exec build/src/mirel --data build/play-data "$@"
