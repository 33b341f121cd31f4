#!/usr/bin/env bash
# Installs everything the build, the tests and the running program need on
# Debian 12, and any further packages named as arguments. Safe to run again:
# packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libgl-dev
  libqt6svg6
  qt6-translations-l10n
  libicu-dev
  libgtest-dev googletest
  fonts-noto-cjk
  xvfb xauth
  groff-base bash-completion
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
