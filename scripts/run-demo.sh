#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo installation and starts
# Velloran on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build Release
cmake --build build --target demo
export VELLORAN_REGISTRY="$PWD/build/demo/registry.reg"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display is available: run this under a desktop session, or as" >&2
  echo "  xvfb-run -a bash scripts/run-demo.sh" >&2
  exit 1
fi
exec build/src/app/velloran
