#!/usr/bin/env bash
# Configures and builds Velloran:
#   build.sh <build-dir> <build-type> [cmake options...] [-- targets...]
# Without targets it builds everything, the tests and benchmarks included;
# `-- programs` builds what `cmake --install` installs and nothing else.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
type=${2:-Release}
shift $(( $# > 2 ? 2 : $# ))
options=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  options+=("$1")
  shift
done
[ $# -gt 0 ] && shift
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${options[@]}"
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
