#!/usr/bin/env bash
# Times velloran-dxl-import against velloran-nsf-build on the same database,
# given as an XML export and as JSON: 100,000 documents of 20 items, every
# tenth with a 100 KB file attachment. Prints the median of 3 runs of each,
# their ratio, and each one's peak memory; the import's peak memory is also
# given for a tenth of the documents, to show that it does not grow with the
# file. The inputs are generated once into WORK_DIR.
#
# Usage: bench/dxl/run.sh [BUILD_DIR] [WORK_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
work="${2:-${TMPDIR:-/tmp}/velloran-dxl-bench}"
mkdir -p "$work"

cmake --build "$build" --target velloran-dxl-bench-input velloran-dxl-import velloran-nsf-build > /dev/null
input="$build/bench/dxl/velloran-dxl-bench-input"
import="$build/tools/velloran-dxl-import"
nsfbuild="$build/tools/velloran-nsf-build"

# generate FOLDER DOCUMENTS: the XML and JSON inputs, once.
generate() {
  if [ ! -f "$1/bench.json" ]; then
    echo "Generating $2 documents into $1 (once)..."
    mkdir -p "$1.tmp"
    "$input" --out "$1.tmp" --documents "$2"
    rm -rf "$1" && mv "$1.tmp" "$1"
  fi
}

# measure NAME COMMAND...: one run into a new database; appends "seconds KB"
# to $work/NAME.runs.
measure() {
  local name=$1
  shift
  rm -f "$work/out.nsf"
  /usr/bin/time -v -o "$work/time.txt" "$@" > "$work/last.log" 2>&1 || { cat "$work/last.log" >&2; return 1; }
  awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
              /Maximum resident set size/ { kb = $2 }
              END { printf "%.2f %d\n", s, kb }' "$work/time.txt" >> "$work/$name.runs"
}

# median NAME COLUMN: the median of the three runs' figure.
median() { sort -n -k"$2" "$work/$1.runs" | awk -v c="$2" 'NR == 2 { print $c }'; }

generate "$work/full" 100000
generate "$work/tenth" 10000
rm -f "$work"/*.runs
for round in 1 2 3; do
  echo "round $round of 3..."
  measure import "$import" --xml "$work/full/bench.xml" --out "$work/out.nsf"
  measure build "$nsfbuild" --json "$work/full/bench.json" --out "$work/out.nsf"
  measure tenth "$import" --xml "$work/tenth/bench.xml" --out "$work/out.nsf"
done
rm -f "$work/out.nsf"

echo "input: $(du -h "$work/full/bench.xml" | cut -f1) of XML, $(du -h "$work/full/bench.json" | cut -f1) of JSON"
printf "velloran-dxl-import  %8s s  peak %6d MB\n" "$(median import 1)" $(( $(median import 2) / 1024 ))
printf "velloran-nsf-build   %8s s  peak %6d MB\n" "$(median build 1)" $(( $(median build 2) / 1024 ))
awk -v a="$(median import 1)" -v b="$(median build 1)" 'BEGIN { printf "import / nsf-build: %.2fx (target: at most 3x)\n", a / b }'
printf "import of 10,000 documents: peak %d MB (target: under 100 MB for both, not growing)\n" \
  $(( $(median tenth 2) / 1024 ))
