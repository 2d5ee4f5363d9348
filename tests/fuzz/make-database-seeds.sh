#!/usr/bin/env bash
# Builds one database per JSON description with the project's own builder,
# as seeds for the database fuzz target; every *.json of the folder must
# build.
#   make-database-seeds.sh <velloran-nsf-build> <folder of descriptions> <output folder>
set -euo pipefail
builder=$1
descriptions=$2
out=$3
rm -rf "$out"
mkdir -p "$out"
for json in "$descriptions"/*.json; do
  database="$out/$(basename "$json" .json).nsf"
  "$builder" --json "$json" --out "$database" >/dev/null
  # Small pages make small seeds, which libFuzzer mutates faster.
  sqlite3 "$database" "PRAGMA page_size = 512; VACUUM;"
done
echo "Built $(ls "$out" | wc -l) database seeds in $out"
