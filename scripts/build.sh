#!/usr/bin/env bash
# Configures and builds Velloran: build.sh <build-dir> <build-type> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
type=${2:-Release}
shift $(( $# > 2 ? 2 : $# ))
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
cmake --build "$dir" -j"$(nproc)"
