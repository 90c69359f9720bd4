#!/usr/bin/env bash
# Developer build: builds the given targets (default: all) in the shared build/
# folder. Several people working in one checkout take turns through a lock, so
# that every object is compiled once and used by all.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
exec 9>build/.build.lock
flock 9
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
ninja -C build "$@"
