#!/usr/bin/env bash
# Installs what is missing, builds what the demo needs (the program, the
# batch export tool, and the demo installation with its components and the
# tool that makes it; the tests are left to scripts/test.sh), and starts
# Velloran on it. Without a display it exports a demo view with the batch
# export tool instead, and says where everything went.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build Release -- velloran velloran-export demo
export VELLORAN_REGISTRY="$PWD/build/demo/registry.reg"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/velloran
fi

echo "No display is available, so the window cannot open (run this under a desktop"
echo "session, or as: xvfb-run -a bash scripts/run-demo.sh)."
echo "Exporting the demo view \"Orders\" of sales.nsf with the batch export tool instead:"
out="$PWD/build/demo-export"
rm -rf "$out"
mkdir -p "$out"
build/tools/batch-export/velloran-export \
  --database "$PWD/build/demo/Domino/Data/sales.nsf" --view Orders --out "$out/orders.xls"
