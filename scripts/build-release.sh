#!/usr/bin/env bash
# Sets up the machine and builds the three programs a user runs (the desktop
# program tavel-nfc-config, the command line tavel-nfc and the device simulator
# tavel-devsim) optimised, without sanitizers and without the tests, into
# build-release/ (programs land in build-release/bin/).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTAVEL_SANITIZE=OFF -DTAVEL_BUILD_TESTS=OFF >/dev/null
targets=(tavel-nfc-config tavel-nfc)
# The simulator is built where it exists (it needs pseudo-terminals).
if ninja -C build-release -t query tavel-devsim >/dev/null 2>&1; then
  targets+=(tavel-devsim)
fi
ninja -C build-release "${targets[@]}"
