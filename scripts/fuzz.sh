#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang in build-fuzz/ and
# runs each for a bounded time, then prints the executions of each target.
#   scripts/fuzz.sh [seconds-per-target]     (default 30)
# Fails when a target crashes, times out or runs out of memory; the input
# that did it stays in build-fuzz/fuzz-findings/<target>/ (replay it with
# build-fuzz/tests/fuzz/fuzz_<target> <file>). What each run learns is
# kept in build-fuzz/fuzz-corpus/<target>/ for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
targets=(registry_hive ini_reader gb18030 formula nsf_open nsf_json export_names dxl_import)
build=build-fuzz
# Inputs longer than libFuzzer's default, where a target needs them: the
# XML import's seeds nest elements deep enough to reach its bound.
declare -A max_len=([dxl_import]=65536)

bash scripts/setup.sh
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DVELLORAN_FUZZ=ON -DVELLORAN_TESTS=OFF -DVELLORAN_BENCHMARKS=OFF "${launcher[@]}"
cmake --build "$build" -j"$(nproc)" --target fuzz_targets velloran-nsf-build

# The targets write their scratch files here: memory, not the disk.
scratch=$(mktemp -d -p "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")" velloran-fuzz.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
bash tests/fuzz/make-database-seeds.sh "$build/tools/velloran-nsf-build" tests/fuzz/corpus/nsf_json \
  "$scratch/seeds/nsf_open" >/dev/null

failed=()
printf '\n%-14s %12s  %s\n' target executions result
for target in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$target"
  findings="$build/fuzz-findings/$target"
  log="$build/fuzz-logs/$target.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  seeds=(tests/fuzz/corpus/"$target")
  [ -d "$scratch/seeds/$target" ] && seeds+=("$scratch/seeds/$target")
  result=ok
  TMPDIR=$scratch ASAN_OPTIONS=detect_odr_violation=0 "$build/tests/fuzz/fuzz_$target" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    ${max_len[$target]:+-max_len=${max_len[$target]}} \
    -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1 || result=FAILED
  executions=$(awk '/^stat::number_of_executed_units:/ {print $2}' "$log" | tail -n 1)
  printf '%-14s %12s  %s\n' "$target" "${executions:-?}" "$result"
  if [ "$result" != ok ]; then
    failed+=("$target")
    grep -E '^(==[0-9]+== ?ERROR|SUMMARY|Broken property|artifact_prefix)|runtime error' "$log" |
      head -n 8 | sed 's/^/    /' || true
  fi
done

if [ "${#failed[@]}" -gt 0 ]; then
  echo "Fuzzing failed for: ${failed[*]} (logs in $build/fuzz-logs/, inputs in $build/fuzz-findings/)" >&2
  exit 1
fi
