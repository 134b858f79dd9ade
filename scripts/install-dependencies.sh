#!/usr/bin/env bash
# Installs the Debian packages QEL needs to build, test and build its default dictionary.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config libxxhash-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  python3 wbritish-huge wordnet-base scowl
  ripgrep hyperfine time an
  qt6-base-dev libgl-dev xvfb xauth fonts-dejavu-core fonts-dejavu-extra
  libxcb1-dev dbus-daemon
  xdotool xclip openbox
  help2man desktop-file-utils appstream dpkg-dev lintian man-db
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
