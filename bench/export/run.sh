#!/usr/bin/env bash
# Prints the export figures on a generated view of 100,000 documents of 20
# items, one in ten with a 100 KB attachment, all from one run:
#   - the export through the main window's command (offscreen): seconds,
#     documents per second, peak memory;
#   - its three floors on the same database: the engine walk with the
#     attachments extracted, the same cells written to a workbook, the same
#     log lines appended; and the export's ratio to their sum;
#   - the batch tool as a separate process under /usr/bin/time -v: seconds,
#     documents per second, peak memory.
# The database is generated once into ${TMPDIR:-/tmp}/velloran-export-bench
# and kept for reruns; every output of the run is removed at its end.
# Usage: bench/export/run.sh [BUILD_DIR]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
bench="$build/bench/export/velloran-export-bench"
batch="$build/tools/batch-export/velloran-export"
work="${TMPDIR:-/tmp}/velloran-export-bench"
database="$work/documents-100k.nsf"
scratch="$work/scratch"
view=All

cmake --build "$build" --target demo velloran-export-bench velloran-export velloran-nsf-generate >/dev/null
# The demo installation's hive has the engine and the spreadsheet
# application registered.
export VELLORAN_REGISTRY="$build/demo/registry.reg"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$work"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

if [ ! -f "$database" ]; then
  echo "Generating 100,000 documents of 20 items, one in ten with a 100 KB attachment (once)..."
  "$build/tools/velloran-nsf-generate" --out "$database.tmp" --documents 100000 --items 20 \
    --attachment-size 102400 --attachment-every 10 >/dev/null
  mv "$database.tmp" "$database"
fi

rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"
# Every part reads the database from memory alike.
cat "$database" >/dev/null

# Runs one part with its figures in $scratch/<part>.txt; Qt's remarks on
# the offscreen platform are shown only when the part fails.
run_part() {
  local part=$1
  shift
  if ! "$@" >"$scratch/$part.txt" 2>"$scratch/$part-errors.txt"; then
    cat "$scratch/$part.txt" "$scratch/$part-errors.txt" >&2
    exit 1
  fi
}

run_part window "$bench" window "$database" "$view" "$scratch/window"
cat "$scratch/window.txt"
# Keep only the window's log: the log floor appends the same lines again.
find "$scratch/window" -mindepth 1 -maxdepth 1 ! -name log -exec rm -rf {} +

run_part floors "$bench" floors "$database" "$view" "$scratch/floors" "$scratch/window/log"
cat "$scratch/floors.txt"
rm -rf "$scratch/floors" "$scratch/window"

mkdir -p "$scratch/batch"
run_part batch /usr/bin/time -v -o "$scratch/batch-time.txt" "$batch" --database "$database" --view "$view" \
  --out "$scratch/batch/batch.xls" --log-folder "$scratch/batch/log"

documents=$(sed -n 's/^window export[^:]*: \([0-9]*\) documents in .*/\1/p' "$scratch/window.txt")
window_seconds=$(sed -n 's/^window export.* documents in \([0-9.]*\) s.*/\1/p' "$scratch/window.txt")
floor_seconds=$(sed -n 's/^sum of floors: \([0-9.]*\) s/\1/p' "$scratch/floors.txt")
awk -v window="$window_seconds" -v floors="$floor_seconds" \
  'BEGIN { printf "window export / sum of floors: %.2f (target: at most 1.5)\n", window / floors }'
awk -v documents="$documents" -F': ' '
  /Elapsed \(wall clock\)/ { n = split($NF, part, ":"); seconds = 0; for (i = 1; i <= n; i++) seconds = seconds * 60 + part[i] }
  /Maximum resident set size/ { megabytes = $NF / 1024 }
  END { printf "batch export (velloran-export, own process): %d documents in %.2f s, %.0f documents/s, peak memory %.0f MB (target: under 300 MB)\n", documents, seconds, documents / seconds, megabytes }
' "$scratch/batch-time.txt"
