#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
#   scripts/test.sh --thread     with ThreadSanitizer, in build-tsan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/build.sh build-asan Debug -DVELLORAN_SANITIZE=ON -DVELLORAN_BENCHMARKS=OFF
  cd build-asan
elif [ "${1:-}" = "--thread" ]; then
  bash scripts/build.sh build-tsan Debug -DVELLORAN_THREAD_SANITIZE=ON -DVELLORAN_BENCHMARKS=OFF
  cd build-tsan
else
  bash scripts/build.sh build Release
  cd build
fi
ctest --output-on-failure -j"$(nproc)"
