#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 120 -j2 "$@"
