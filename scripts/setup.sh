#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Velloran
# needs, through sudo when not run as root. Safe to run again: packages
# already present are left as they are.
set -euo pipefail

PACKAGES=(
  build-essential make cmake pkg-config ninja-build
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # Qt's own dialogs and buttons in Chinese
  qt6-translations-l10n
  libsqlite3-dev sqlite3 libsodium-dev nlohmann-json3-dev libgsf-1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-xlrd python3-openpyxl
  # the .xlsx writer
  libxlsxwriter-dev
  fonts-wqy-microhei
  xvfb xauth imagemagick x11-utils
  # clang and its runtime libraries for the libFuzzer targets (scripts/fuzz.sh)
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "These Debian packages are missing: ${missing[*]}" >&2
      echo "Run this script as root to install them (sudo, which it would use, is not installed)." >&2
      exit 1
    fi
    SUDO="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi
