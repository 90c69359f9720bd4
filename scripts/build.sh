#!/usr/bin/env bash
# The test build: configures and builds everything, tests included, into build/
# (Debug, with the sanitizers; programs and tests land in build/bin/).
# The programs alone, optimised, are built by scripts/build-release.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
mkdir -p build
exec 9>build/.build.lock # the lock of scripts/dev-build.sh: one ninja at a time in build/
flock 9
# The install prefix is the Debian package's, so that the package test can pack this build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVEL_SANITIZE=ON -DTAVEL_BUILD_TESTS=ON \
  -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
ninja -C build
