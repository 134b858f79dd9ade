#!/usr/bin/env bash
# The Debian package as a user gets it: cpack makes the .deb from the build folder; unpacked into a
# scratch root it starts qel and searches with qel-cli on the dictionary it carries, its
# dependencies name the Qt libraries the programs use, and lintian finds no error in it.
#
# Usage: check-package.sh BUILD_DIR     (exit 77: skipped, with the reason)
set -euo pipefail
build=$(cd "$1" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }
command -v cpack >/dev/null || skip "cpack is not installed"
command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed"
[ -f "$build/Dictionaries/Devuduvodi.qcd" ] || skip "the default dictionary is not built"
[ -x "$build/qel" ] || skip "the window program is not built"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  exit 1
}
deb=$(ls "$work"/qel_*.deb)
echo "built $(basename "$deb") ($(($(stat -c %s "$deb") / 1000000)) MB)"

fail=0
check() {  # check DESCRIPTION COMMAND...: runs the command, reporting a failure without stopping
  if ! "${@:2}" >"$work/out" 2>&1; then
    echo "FAIL: $1"
    sed 's/^/  /' "$work/out" | head -20
    fail=1
  fi
}
depends=$(dpkg-deb -f "$deb" Depends)
check "Depends names the Qt widgets library: $depends" grep -q 'libqt6widgets6' <<<"$depends"

root="$work/root"
dpkg -x "$deb" "$root"
export QT_QPA_PLATFORM=offscreen XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config"
check "qel --version from the package" "$root/usr/bin/qel" --version
check "qel-cli finds electron in the packaged dictionary" \
  bash -c "'$root/usr/bin/qel-cli' search .l...r.n '$root/usr/share/qel/Dictionaries/Devuduvodi.qcd' | grep -qx electron"
for path in usr/share/qel/Tips.txt usr/share/applications/qel.desktop \
            usr/share/icons/hicolor/scalable/apps/qel.svg usr/share/mime/packages/qel.xml \
            usr/share/doc/qel/copyright usr/share/doc/qel/changelog.gz \
            usr/share/metainfo/io.github.qelwords.qel.metainfo.xml \
            usr/share/bash-completion/completions/qel-cli usr/share/man/man1/qel-cli.1.gz; do
  check "the package holds /$path" test -s "$root/$path"
done
for page in "$root"/usr/share/man/man1/*.1.gz; do
  [ -e "$page" ] || continue
  check "man reads $(basename "$page")" bash -c "man -l '$page' | grep -q NAME"
done

if command -v lintian >/dev/null; then
  # Errors only: warnings and notes are listed for reading, not failed on.
  lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
  cat "$work/lintian.log"
  check "lintian finds no error" bash -c "! grep -q '^E:' '$work/lintian.log'"
else
  echo "lintian is not installed: the package was not checked by it"
fi
exit $fail
