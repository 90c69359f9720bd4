#!/usr/bin/env bash
# Sets up the machine, builds, and runs the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
exec build/bin/tavel-nfc-config "$@"
