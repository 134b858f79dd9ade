#!/usr/bin/env bash
# The window program's desktop metadata is clean: its AppStream metainfo passes appstreamcli
# validate, alone and installed beside the desktop entry and icon it names (validate-tree), and
# the desktop entry passes desktop-file-validate, without an error, a warning or a hint.
# Usage: check-package-metadata.sh [SOURCE_DIR]
set -euo pipefail
packaging=$(cd "${1:-$(dirname "$0")/../..}/packaging" && pwd)
for tool in appstreamcli desktop-file-validate; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
metainfo=$packaging/io.github.qelwords.qel.metainfo.xml
desktop=$packaging/qel.desktop

# The files as cmake --install lays them out.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/share/metainfo" "$tree/share/applications" "$tree/share/icons/hicolor/scalable/apps"
cp "$metainfo" "$tree/share/metainfo/"
cp "$desktop" "$tree/share/applications/"
cp "$packaging/qel.svg" "$tree/share/icons/hicolor/scalable/apps/"

fail=0
# appstreamcli fails on errors and warnings; desktop-file-validate says nothing when all is well.
appstreamcli validate --no-net "$metainfo" || fail=1
appstreamcli validate-tree --no-net "$tree" || fail=1
said=$(desktop-file-validate "$desktop" 2>&1) || fail=1
[ -z "$said" ] || { echo "$said"; fail=1; }
exit $fail
