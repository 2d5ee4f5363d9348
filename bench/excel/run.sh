#!/usr/bin/env bash
# Times our workbook writer on 1,000,000 text cells (50,000 rows x 20 columns)
# against LibreOffice and Gnumeric turning the same cells, given as CSV, into
# an .xls; the same cells into .xlsx against libxlsxwriter alone, into CSV
# against a plain write, and number cells against text cells; gives our peak memory for a million rows of 20 cells and for a
# large grid of mostly empty cells; checks that LibreOffice reads our big file back cell for cell; and
# renders a small workbook of ours through LibreOffice into a picture.
#
# Usage: bench/excel/run.sh [BUILD_DIR]      (default: build)
# The picture and the small workbook stay in BUILD_DIR/excel-bench-output.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
out="$build/excel-bench-output"
work=$(mktemp -d /tmp/velloran-excel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# The converters are large; they are installed here, for this script only.
needed=()
command -v soffice > /dev/null || needed+=(libreoffice-calc-nogui)
command -v ssconvert > /dev/null || needed+=(gnumeric)
command -v pdftoppm > /dev/null || needed+=(poppler-utils)
if [ "${#needed[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
    --no-install-recommends "${needed[@]}"
fi

cmake --build "$build" --target excel_bench > /dev/null
bench="$build/bench/excel/excel_bench"

# Seconds that a command takes, its output discarded.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" > "$work/last-command.log" 2>&1 || { cat "$work/last-command.log" >&2; return 1; }
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", e - s }'
}

# CSV as UTF-8, comma-separated, quoted with '"'.
utf8_csv='csv:Text - txt - csv (StarCalc):44,34,76'

soffice_run() {
  soffice --headless --norestore "-env:UserInstallation=file://$work/lo-profile" "$@"
}

echo "== our writer, through the export's driver and the automation object"
# The CSV and the sample are written first and synced, so that their
# writing back does not fall into the timed rounds.
"$bench" "$work/ours" --csv "$work/cells.csv" --sample "$out/sample.xls" --rounds 0
sync
"$bench" "$work/ours" | tee "$work/ours.txt"
echo
echo "== our writer, filling the workbook model directly (the writer's own figure)"
"$bench" "$work/direct" --direct | tee "$work/direct.txt"
ours=$(awk '/^seconds/ { print $2 }' "$work/ours.txt")
ours_direct=$(awk '/^seconds/ { print $2 }' "$work/direct.txt")
echo
echo "== .xlsx through the automation object, against libxlsxwriter alone on the same texts (target: within 1.5x)"
"$bench" "$work/xlsx" --format xlsx --rounds 5 | tee "$work/xlsx.txt"
"$bench" "$work/lxw" --libxlsxwriter --rounds 5 | tee "$work/lxw.txt"
awk '/^seconds/ { s[FILENAME] = $2 } END { printf "ratio           %.2f x libxlsxwriter alone\n", s[ARGV[1]] / s[ARGV[2]] }' \
  "$work/xlsx.txt" "$work/lxw.txt"
echo
echo "== CSV from the workbook model, against a plain write of the same bytes (target: within 3x)"
"$bench" "$work/csv" --direct --format csv --rounds 9
echo
echo "== number cells against text cells, the workbook model into .xls (target: at most 10% more)"
"$bench" "$work/typed" --direct --typed --rounds 9 | tee "$work/typed.txt"
awk -v text="$ours_direct" '/^seconds/ { printf "ratio           %.2f x the text cells\n", $2 / text }' "$work/typed.txt"
echo
echo "== memory for 999,999 rows x 20 columns through the automation object (cells and texts spill to \$TMPDIR)"
"$bench" "$work/large" --rows 999999 --rounds 1
echo
echo "== memory for a sheet of mostly empty cells: 65,539 rows x 258 columns (four sheets), 90% empty texts"
"$bench" "$work/sparse" --rows 65539 --columns 258 --empty 90 --rounds 1
echo

echo "== other programs turning the same cells, as CSV, into .xls"
head -n 2 "$work/cells.csv" > "$work/warm-up.csv"
soffice_run --convert-to xls --outdir "$work/warm-up" "$work/warm-up.csv" > /dev/null 2>&1  # creates the profile
libreoffice=$(seconds soffice_run --convert-to xls --outdir "$work/lo" "$work/cells.csv")
gnumeric=$(seconds ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$work/cells.csv" "$work/gnumeric.xls")
echo "LibreOffice     $libreoffice s   ($(soffice --version | head -n 1))"
echo "Gnumeric        $gnumeric s   ($(ssconvert --version 2>&1 | head -n 1))"
awk -v ours="$ours" -v lo="$libreoffice" -v gn="$gnumeric" 'BEGIN {
  faster = lo < gn ? lo : gn
  printf "ours            %.3f s: %.0fx faster than the faster of the two (target: at least 20x)\n", ours, faster / ours
}'
echo

echo "== LibreOffice reading our 1,000,000-cell workbook back"
soffice_run --convert-to "$utf8_csv" --outdir "$work/back" "$work/ours/bench.xls" > /dev/null 2>&1
if cmp -s <(tr -d '\r' < "$work/back/bench.csv") "$work/cells.csv"; then
  echo "every cell matches the CSV the cells were made from"
else
  echo "MISMATCH between LibreOffice's reading of our file and the source cells" >&2
  exit 1
fi
echo

echo "== a small workbook of ours, through LibreOffice"
soffice_run --convert-to "$utf8_csv" --outdir "$out" "$out/sample.xls" > /dev/null 2>&1
soffice_run --convert-to pdf --outdir "$out" "$out/sample.xls" > /dev/null 2>&1
rm -f "$out"/sample-*.png
pdftoppm -png -r 80 "$out/sample.pdf" "$out/sample"
cat "$out/sample.csv"
echo "pictures: $(ls "$out"/sample-*.png | tr '\n' ' ')"
