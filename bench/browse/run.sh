#!/usr/bin/env bash
# Prints the browsing figures: start-up (in process, and the whole process
# under Xvfb), the scan of 10,000 files in 1,000 folders, and the first and
# last page of a 1,000,000-document view (generated once, shared with the
# engine benchmark). A part that shows any message (a refusal to start, a
# failed read) fails the run. Usage: bench/browse/run.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
bench="$build/bench/browse/velloran-browse-bench"
work="${TMPDIR:-/tmp}/velloran-notes-bench"
export QT_QPA_PLATFORM=offscreen
cmake --build "$build" --target demo velloran velloran-browse-bench velloran-nsf-generate >/dev/null
export VELLORAN_REGISTRY="$build/demo/registry.reg"

"$bench" startup "$VELLORAN_REGISTRY"
"$bench" scan 1000 10

if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  QT_QPA_PLATFORM= xvfb-run -a bash "$here/window-startup.sh" "$build/src/app/velloran"
else
  echo "whole-process start-up left out: it needs xvfb-run and xdotool"
fi

mkdir -p "$work"
if [ ! -f "$work/million.nsf" ]; then
  echo "Generating 1,000,000 documents of 10 items (once)..."
  "$build/tools/velloran-nsf-generate" --out "$work/million.nsf.tmp" --documents 1000000 --items 10
  mv "$work/million.nsf.tmp" "$work/million.nsf"
fi
"$bench" page "$work/million.nsf" All
