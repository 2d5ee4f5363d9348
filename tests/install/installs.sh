#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed
# velloran-setup registers the installed components by itself.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/velloran bin/velloran-export bin/velloran-setup bin/velloran-add-person bin/velloran-dxl-import \
            lib/velloran/nlsxbe.dll lib/velloran/velloran-excel.so share/applications/velloran.desktop \
            share/icons/hicolor/scalable/apps/velloran.svg; do
  [[ -e $prefix/$file ]] || { echo "not installed: $file" >&2; exit 1; }
done
grep -qx 'Exec=velloran' "$prefix/share/applications/velloran.desktop" || { echo "the desktop entry does not start velloran" >&2; exit 1; }

mkdir "$prefix/data"
output=$(VELLORAN_REGISTRY="$prefix/registry.reg" "$prefix/bin/velloran-setup" --data "$prefix/data")
for component in nlsxbe.dll velloran-excel.so; do
  grep -qF "已注册组件: $prefix/lib/velloran/$component" <<<"$output" || { echo "$output" >&2; exit 1; }
done
grep -qF "\"DataPath\"=\"$prefix/data\"" "$prefix/registry.reg" || { cat "$prefix/registry.reg" >&2; exit 1; }
grep -qiF "InprocServer32" "$prefix/registry.reg" || { echo "no component registered" >&2; exit 1; }
echo "installed and set up in $prefix"
