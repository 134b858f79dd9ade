#!/usr/bin/env bash
# Installs into a temporary prefix and checks that qel started from there finds its dictionary,
# its tips and its companion programs, with settings of its own: a report program copied beside it
# builds the main window as qel does. Usage: check-install.sh BUILD_DIR REPORT_PROGRAM
set -euo pipefail
build=$1
report_program=$2
[ -f "$build/Dictionaries/Devuduvodi.qcd" ] || { echo "the default dictionary is not built"; exit 77; }
[ -x "$build/qel" ] || { echo "qel is not built"; exit 77; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
for file in bin/qel bin/qel-cli bin/RIDOZAD bin/RAVAZAV share/qel/Tips.txt share/qel/Dictionaries/Devuduvodi.qcd \
            share/applications/qel.desktop share/icons/hicolor/scalable/apps/qel.svg \
            share/mime/packages/qel.xml; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
cp "$report_program" "$prefix/bin/qel-install-report"
report=$(cd / && XDG_CONFIG_HOME="$prefix/config" QT_QPA_PLATFORM=offscreen \
         "$prefix/bin/qel-install-report")
echo "$report"
grep -qx "dictionary $prefix/share/qel/Dictionaries/Devuduvodi.qcd valid" <<< "$report"
grep -qx "tips found" <<< "$report"
# The companion programs stand beside qel, where its Tools menu starts them.
grep -qx "companions found" <<< "$report"
"$prefix/bin/qel" --version | grep -q "2.5"
