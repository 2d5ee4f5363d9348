#!/usr/bin/env bash
# Prints the browsing figures: start-up (in process and whole process under
# Xvfb), the scan of 10,000 files in 1,000 folders, and the first and last
# page of a 1,000,000-document view (generated once, shared with the engine
# benchmark). Usage: bench/browse/run.sh [BUILD_DIR]
set -euo pipefail
build="${1:-build}"
bench="$build/bench/browse/velloran-browse-bench"
work="${TMPDIR:-/tmp}/velloran-notes-bench"
export QT_QPA_PLATFORM=offscreen
cmake --build "$build" --target demo >/dev/null
export VELLORAN_REGISTRY="$PWD/$build/demo/registry.reg"

"$bench" startup "$VELLORAN_REGISTRY"
"$bench" scan 1000 10

if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  unset QT_QPA_PLATFORM
  xvfb-run -a bash -c '
    start=$(date +%s%N)
    "$0" & pid=$!
    xdotool search --sync --onlyvisible --name "VelloranV3.4" >/dev/null
    end=$(date +%s%N)
    kill $pid
    echo "whole process, start to a visible main window under Xvfb: $(( (end - start) / 1000000 )) ms"
  ' "$build/src/app/velloran"
  export QT_QPA_PLATFORM=offscreen
fi

mkdir -p "$work"
if [ ! -f "$work/million.nsf" ]; then
  echo "Generating 1,000,000 documents of 10 items (once)..."
  "$build/tools/velloran-nsf-generate" --out "$work/million.nsf.tmp" --documents 1000000 --items 10
  mv "$work/million.nsf.tmp" "$work/million.nsf"
fi
"$bench" page "$work/million.nsf" All
