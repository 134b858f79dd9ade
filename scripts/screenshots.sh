#!/usr/bin/env bash
# Renders the main window and the dialogs offscreen into PNG files under build/screenshots/: two
# dictionaries, a search of ".l...r.n" done, the panes stacked and side by side, the menus and
# windows, every page of the Options dialog and the Dictionary List, the print preview of long
# phrases, the dictionary save dialog during a build, and the two companion programs.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/qel-screenshots ] || { echo "build first (scripts/build.sh)"; exit 1; }
[ -f build/Dictionaries/Devuduvodi.qcd ] || scripts/build-default-dictionary.sh build
# A second dictionary: the word list alone, without definitions.
words=build/Dictionaries/British.qcd
[ -f "$words" ] || build/qel-cli build --description "British English word list" \
  /usr/share/dict/british-english-huge "$words" > /dev/null
mkdir -p build/screenshots
cd build
QT_QPA_PLATFORM=offscreen ./qel-screenshots screenshots \
  Dictionaries/Devuduvodi.qcd "${words#build/}"
ls screenshots
