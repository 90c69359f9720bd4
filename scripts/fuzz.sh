#!/usr/bin/env bash
# Builds the libFuzzer programs in build-fuzz/ with clang (installed here on demand;
# the normal build does not need it) and, when a target is named, runs it on its
# corpus in fuzz/corpus/<target>/, adding what it finds new to the corpus.
#
# usage: scripts/fuzz.sh [TARGET [SECONDS]]      e.g. scripts/fuzz.sh settings_reader 600
# Targets: settings_reader, catalogue_loader. A crash leaves its input as
# build-fuzz/crash-* (or timeout-*); copy it into the corpus once the fault is mended.
# The fuzzer runs niced, so the time-out is generous: a busy machine starves it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if ! command -v clang++ >/dev/null; then
  $SUDO apt-get update
  $SUDO apt-get install -y clang
fi
# libFuzzer's runtime comes with clang's runtime libraries.
if ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  version="$(clang++ --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)"
  $SUDO apt-get install -y "libclang-rt-${version}-dev" || true
fi
flags="-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1"
cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVEL_SANITIZE=OFF -DTAVEL_BUILD_TESTS=OFF -DTAVEL_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$flags" >/dev/null
ninja -C "$root/build-fuzz" fuzz_settings_reader fuzz_catalogue_loader
if [ $# -ge 1 ]; then
  target="$1"
  seconds="${2:-600}"
  cd "$root/build-fuzz"
  exec nice -n 15 "./bin/fuzz_${target}" -max_total_time="$seconds" -print_final_stats=1 \
    -max_len=65536 -timeout=30 "$root/fuzz/corpus/${target}"
fi
