#!/usr/bin/env bash
# Prints the export's figures, each the median of ROUNDS runs (default 3)
# with the commands taking turns within every round, on two generated views:
#   plain:    65,000 documents of 20 items, no attachments;
#   attached: 100,000 documents of 20 items, one in ten with a 100 KB
#             attachment.
# For each view:
#   - the batch export (velloran-export, the whole process): wall, user and
#     system seconds, peak memory;
#   - the window's export (the export command alone, offscreen): seconds,
#     the process's peak memory;
#   - the floors under the batch export's work: a plain SQLite scan of the
#     item rows, the workbook's bytes written again in one go and synced as
#     its save does, the log's bytes written again in one go, the attachment
#     files copied; their sum and each export's ratio to it;
#   - for the plain view, the other programs that turn the same cells
#     (written from the database as CSV) into an .xls, when installed:
#     Gnumeric's ssconvert, LibreOffice headless and python3-xlwt; their
#     seconds, peak memory, and their time over the batch export's.
# With --scaling it times only the batch export, at 10,000, 100,000 and
# 1,000,000 documents of 20 items, per document, with its peak memory.
#
# The databases (and the plain view's CSV) are generated once into
# ${TMPDIR:-/tmp}/velloran-export-bench and kept for reruns; every output of
# the run is removed at its end. Caches are flushed to disk (sync) before each
# timed command, so that none pays for another's writing.
#
# Usage: bench/export/run.sh [BUILD_DIR] [--scaling] [--rounds N]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_arg=build
scaling=no
rounds=3
while [ $# -gt 0 ]; do
  case "$1" in
    --scaling) scaling=yes ;;
    --rounds) rounds=${2:?--rounds needs a number}; shift ;;
    -*) echo "usage: $0 [BUILD_DIR] [--scaling] [--rounds N]" >&2; exit 2 ;;
    *) build_arg=$1 ;;
  esac
  shift
done
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "--rounds needs a positive number" >&2; exit 2; }

build=$(cd "$build_arg" && pwd)
bench="$build/bench/export/velloran-export-bench"
batch="$build/tools/batch-export/velloran-export"
work="${TMPDIR:-/tmp}/velloran-export-bench"
scratch="$work/scratch"
samples="$scratch/samples"
view=All

cmake --build "$build" --target demo velloran-export-bench velloran-export velloran-nsf-generate >/dev/null
# The demo installation's hive has the engine and the spreadsheet
# application registered.
export VELLORAN_REGISTRY="$build/demo/registry.reg"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$work"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$samples"

# --- helpers -----------------------------------------------------------------

# Runs a command with its output in $scratch/last.txt; on failure shows
# that output and stops the run.
quietly() {
  if ! "$@" >"$scratch/last.txt" 2>&1; then
    echo "failed: $*" >&2
    cat "$scratch/last.txt" >&2
    exit 1
  fi
}

# record NAME VALUE: one more sample of the figure NAME.
record() { echo "$2" >>"$samples/$1"; }

# median NAME: the middle sample of the figure NAME.
median() { sort -g "$samples/$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The database of N documents of 20 items, generated once; extra options
# go to the generator.
database() {
  local name=$1 documents=$2
  shift 2
  local path="$work/$name-${documents}x20.nsf"
  if [ ! -f "$path" ]; then
    echo "Generating $name: $documents documents of 20 items (once)..." >&2
    quietly "$build/tools/velloran-nsf-generate" --out "$path.tmp" --documents "$documents" --items 20 "$@"
    mv "$path.tmp" "$path"
  fi
  echo "$path"
}

# timed PREFIX COMMAND...: runs the command under /usr/bin/time after a
# sync and records PREFIX.wall, PREFIX.user, PREFIX.sys and PREFIX.peak (MB).
timed() {
  local prefix=$1
  shift
  sync
  quietly /usr/bin/time -f '%e %U %S %M' -o "$scratch/time.txt" "$@"
  read -r wall user system peak <"$scratch/time.txt"
  record "$prefix.wall" "$wall"
  record "$prefix.user" "$user"
  record "$prefix.sys" "$system"
  record "$prefix.peak" "$(awk -v kb="$peak" 'BEGIN { printf "%.0f", kb / 1024 }')"
}

# The seconds that end a figure line "...: <seconds> s" starting with $1.
seconds_of() { awk -v start="$1" 'index($0, start) == 1 { print $(NF - 1) }' "$scratch/last.txt"; }

# --- the parts of a round ------------------------------------------------------

# batch_export CASE DATABASE: the batch tool into $scratch/batch.
batch_export() {
  rm -rf "$scratch/batch"
  mkdir -p "$scratch/batch"
  timed "$1.batch" "$batch" --database "$2" --view "$view" --out "$scratch/batch/export.xls" \
    --log-folder "$scratch/batch/log"
}

# floors CASE DATABASE: the floors under what the batch export just wrote.
floors() {
  local attachments="$scratch/batch/${view}附件"
  [ -d "$attachments" ] || attachments=-
  sync
  quietly "$bench" floors "$2" "$scratch/batch/export_开始为第1个文档.xls" "$scratch/batch/log" "$attachments" \
    "$scratch/floors"
  cp "$scratch/last.txt" "$scratch/$1.floors.txt"
  local part
  for part in scan workbook log attachments; do
    local value
    value=$(seconds_of "floor $part:")
    [ -z "$value" ] || record "$1.floor.$part" "$value"
  done
  record "$1.floors" "$(seconds_of "sum of floors:")"
  rm -rf "$scratch/floors" "$scratch/batch"
}

window_export() {
  rm -rf "$scratch/window"
  sync
  quietly "$bench" window "$2" "$view" "$scratch/window"
  record "$1.window" "$(seconds_of "window export")"
  record "$1.window.peak" "$(sed -n 's/.*peak memory \([0-9]*\) MB.*/\1/p' "$scratch/last.txt")"
  rm -rf "$scratch/window"
}

soffice_run=(soffice --headless --norestore "-env:UserInstallation=file://$work/libreoffice-profile")

# The other programs, each given the same cells as CSV; only those installed.
peers=()
find_peers() {
  local needed=()
  command -v ssconvert >/dev/null || needed+=(gnumeric)
  command -v soffice >/dev/null || needed+=(libreoffice-calc-nogui)
  /usr/bin/python3 -c 'import xlwt' 2>/dev/null || needed+=(python3-xlwt)
  if [ "${#needed[@]}" -gt 0 ]; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing ${needed[*]} to compare against..." >&2
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
      --no-install-recommends "${needed[@]}" >"$scratch/apt.txt" 2>&1 ||
      echo "note: could not install ${needed[*]} (see apt-get); those missing are left out" >&2
  fi
  if command -v ssconvert >/dev/null; then peers+=(gnumeric); fi
  if command -v soffice >/dev/null; then
    peers+=(libreoffice)
    # The first start creates the profile; it is not timed.
    echo "a" >"$scratch/warm-up.csv"
    quietly "${soffice_run[@]}" --convert-to xls --outdir "$scratch/warm-up" "$scratch/warm-up.csv"
  fi
  if /usr/bin/python3 -c 'import xlwt' 2>/dev/null; then peers+=(xlwt); fi
}

peer_export() {
  local case=$1 peer=$2 csv=$3 out="$scratch/peer"
  rm -rf "$out"
  mkdir -p "$out"
  case "$peer" in
    gnumeric) timed "$case.$peer" ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$csv" "$out/cells.xls" ;;
    libreoffice) timed "$case.$peer" "${soffice_run[@]}" "--infilter=Text - txt - csv (StarCalc):44,34,76,1" \
      --convert-to xls --outdir "$out" "$csv" ;;
    xlwt) timed "$case.$peer" /usr/bin/python3 "$here/csv_to_xls.py" "$csv" "$out/cells.xls" ;;
  esac
  compgen -G "$out/*.xls" >/dev/null || { echo "$peer wrote no workbook" >&2; exit 1; }
  rm -rf "$out"
}

# --- the reports ---------------------------------------------------------------

report_view() {
  local case=$1 documents=$2
  local wall
  wall=$(median "$case.batch.wall")
  printf 'batch export (velloran-export, whole process): %d documents in %s s wall (%s s user, %s s system), %.0f documents/s, peak memory %s MB (target: under 300 MB)\n' \
    "$documents" "$wall" "$(median "$case.batch.user")" "$(median "$case.batch.sys")" \
    "$(awk -v n="$documents" -v s="$wall" 'BEGIN { print n / s }')" "$(median "$case.batch.peak")"
  printf 'window export (the export command alone, offscreen): %s s, peak memory of the process %s MB\n' \
    "$(median "$case.window")" "$(median "$case.window.peak")"
  # Each floor as the last run described it, with its median.
  local line part
  while IFS= read -r line; do
    part=${line#floor }
    part=${part%%:*}
    printf '  %s: %s s\n' "${line%: * s}" "$(median "$case.floor.$part")"
  done < <(grep '^floor ' "$scratch/$case.floors.txt")
  local floors
  floors=$(median "$case.floors")
  awk -v batch="$wall" -v window="$(median "$case.window")" -v floors="$floors" 'BEGIN {
    printf "sum of floors: %.3f s; batch export / floors: %.1f; window export / floors: %.1f\n", floors, batch / floors, window / floors
  }'
}

report_peers() {
  local case=$1 ours
  ours=$(median "$case.batch.wall")
  local peer
  for peer in "${peers[@]}"; do
    awk -v name="$peer" -v seconds="$(median "$case.$peer.wall")" -v peak="$(median "$case.$peer.peak")" -v ours="$ours" 'BEGIN {
      printf "  %-12s %7.2f s, peak memory %5d MB; its time / the batch export'"'"'s: %.1f\n", name, seconds, peak, seconds / ours
    }'
  done
}

# --- the runs ------------------------------------------------------------------

default_run() {
  local plain attached csv="$work/plain-65000x20.csv"
  plain=$(database plain 65000)
  attached=$(database attached 100000 --attachment-size 102400 --attachment-every 10)
  if [ ! -f "$csv" ]; then
    quietly "$bench" csv "$plain" "$view" "$csv.tmp"
    mv "$csv.tmp" "$csv"
  fi
  find_peers
  # Every run reads the databases from memory alike.
  cat "$plain" "$attached" >/dev/null

  local round peer
  for round in $(seq "$rounds"); do
    echo "round $round of $rounds..." >&2
    batch_export plain "$plain"
    floors plain "$plain"
    window_export plain "$plain"
    for peer in "${peers[@]}"; do peer_export plain "$peer" "$csv"; done
    batch_export attached "$attached"
    floors attached "$attached"
    window_export attached "$attached"
  done

  echo "== 65,000 documents of 20 items, no attachments (medians of $rounds runs)"
  report_view plain 65000
  echo "other programs turning the same cells, as CSV, into an .xls:"
  [ "${#peers[@]}" -gt 0 ] || echo "  none installed"
  report_peers plain
  echo
  echo "== 100,000 documents of 20 items, one in ten with a 100 KB attachment (medians of $rounds runs)"
  report_view attached 100000
}

scaling_run() {
  local documents path
  echo "== the batch export as the view grows, 20 items a document (medians of $rounds runs)"
  for documents in 10000 100000 1000000; do
    path=$(database plain "$documents")
    cat "$path" >/dev/null
    for _ in $(seq "$rounds"); do
      batch_export "scale$documents" "$path"
      rm -rf "$scratch/batch"
    done
    awk -v n="$documents" -v s="$(median "scale$documents.batch.wall")" -v peak="$(median "scale$documents.batch.peak")" 'BEGIN {
      printf "%9d documents: %8.2f s, %6.1f µs a document, peak memory %5d MB\n", n, s, s / n * 1e6, peak
    }'
  done
}

if [ "$scaling" = yes ]; then scaling_run; else default_run; fi
