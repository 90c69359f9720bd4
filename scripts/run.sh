#!/usr/bin/env bash
# Sets up the machine, builds, and runs the program: for now the command-line
# companion on the bundled example settings file (summary and programming data
# of each of its three slots).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
example=resources/example.set
for slot in 1 2 3; do
  echo "== $example, config.$slot"
  build/bin/tavel-nfc summary "$example" --slot "$slot"
  echo "Programming data: $(build/bin/tavel-nfc encode "$example" --slot "$slot")"
  echo
done
