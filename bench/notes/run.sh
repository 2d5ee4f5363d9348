#!/usr/bin/env bash
# Generates the benchmark databases once (1,000,000 documents of 10 items; one
# document with a 1 GB attachment) into a temporary folder and prints the
# engine's figures. Usage: bench/notes/run.sh [BUILD_DIR] [WORK_DIR]
set -euo pipefail
build="${1:-build}"
work="${2:-${TMPDIR:-/tmp}/velloran-notes-bench}"
mkdir -p "$work"
generate="$build/tools/velloran-nsf-generate"
bench="$build/bench/notes/velloran-notes-bench"

"$build/bench/notes/velloran-formula-bench"

if [ ! -f "$work/million.nsf" ]; then
  echo "Generating 1,000,000 documents of 10 items (once)..."
  /usr/bin/time -f "generated in %e s, peak %M KB" "$generate" --out "$work/million.nsf.tmp" --documents 1000000 --items 10
  mv "$work/million.nsf.tmp" "$work/million.nsf"
fi
if [ ! -f "$work/attachment.nsf" ]; then
  echo "Generating one document with a 1 GB attachment (once)..."
  "$generate" --out "$work/attachment.nsf.tmp" --documents 1 --items 3 --attachment-size 1073741824
  mv "$work/attachment.nsf.tmp" "$work/attachment.nsf"
fi

"$bench" page "$work/million.nsf" All
"$bench" walk "$work/million.nsf" All
"$bench" extract "$work/attachment.nsf" All "$work/extracted.bin"
rm -f "$work/extracted.bin"
