#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/build.sh build-asan Debug -DVELLORAN_SANITIZE=ON -DVELLORAN_BENCHMARKS=OFF
  cd build-asan
else
  bash scripts/build.sh build Release
  cd build
fi
ctest --output-on-failure -j"$(nproc)"
