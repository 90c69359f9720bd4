#!/usr/bin/env bash
# Builds the libFuzzer programs in build-fuzz/ with clang (installed here on demand;
# the normal build does not need it) and runs them on their corpora in
# fuzz/corpus/<target>/, adding what they find new to the corpus.
#
# usage: scripts/fuzz.sh [SECONDS]            every target for SECONDS each (default 60)
#        scripts/fuzz.sh TARGET [SECONDS]     one target (default 600 s)
# The targets are the folders of fuzz/corpus/. Per target it prints the executions,
# the coverage (edges reached, features) and the findings (crashes, sanitizer
# reports, leaks, time-outs, out of memory; slow inputs are listed apart). A finding stops its
# target and is kept as build-fuzz/findings/<target>/crash-* (or leak-, timeout-,
# oom-); once the fault is mended, copy it into the target's corpus, where the
# replay in ctest keeps checking it. The fuzzers run niced, so the time-out per
# input is generous: a busy machine starves them.
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
targets=()
for d in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$d")"); done
ninja -C "$root/build-fuzz" "${targets[@]/#/fuzz_}"

# Runs one target for $2 seconds; prints one summary line and returns 1 on a finding.
run_target() {
  local target="$1" seconds="$2"
  local findings="$root/build-fuzz/findings/$target" log="$root/build-fuzz/fuzz-$target.log"
  mkdir -p "$findings"
  local status=0
  (cd "$root/build-fuzz" && nice -n 15 "./bin/fuzz_${target}" -max_total_time="$seconds" -print_final_stats=1 \
    -max_len=65536 -timeout=30 -artifact_prefix="$findings/" "$root/fuzz/corpus/${target}") >"$log" 2>&1 || status=$?
  local execs cov ft found
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$findings" -type f -newer "$log.start" ! -name 'slow-unit-*' 2>/dev/null | sort)
  slow=$(find "$findings" -type f -newer "$log.start" -name 'slow-unit-*' 2>/dev/null | sort)
  printf '%-18s executions %-10s coverage %-6s edges, %-7s features  findings %s\n' \
    "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$(echo "$found" | grep -c . || true)"
  for f in $found; do echo "  finding: $f"; done
  # A slow input is no fault by itself (a busy machine starves the niced fuzzer):
  # time it alone with ./build-fuzz/bin/fuzz_<target> FILE.
  for f in $slow; do echo "  slow input (not counted as a finding): $f"; done
  if [ "$status" -ne 0 ] && [ -z "$found" ]; then
    echo "  the fuzzer ended with status $status without a finding: see $log"
  fi
  [ "$status" -eq 0 ] && [ -z "$found" ]
}

if [ $# -ge 1 ] && ! [[ "$1" =~ ^[0-9]+$ ]]; then
  selected=("$1")
  seconds="${2:-600}"
else
  selected=("${targets[@]}")
  seconds="${1:-60}"
fi
echo "fuzzing ${selected[*]} for $seconds s each (logs in build-fuzz/fuzz-<target>.log)"
failed=0
for target in "${selected[@]}"; do
  if [ ! -d "$root/fuzz/corpus/$target" ]; then
    echo "$target: no such target (targets: ${targets[*]})" >&2
    exit 2
  fi
  touch "$root/build-fuzz/fuzz-$target.log.start"
  run_target "$target" "$seconds" || failed=$((failed + 1))
done
echo "$failed of ${#selected[@]} targets with findings or errors"
[ "$failed" -eq 0 ]
