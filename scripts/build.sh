#!/usr/bin/env bash
# Configures and builds everything into build/ (programs land in build/bin/).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
ninja -C build
