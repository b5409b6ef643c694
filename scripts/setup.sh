#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the apps need, when they are missing.
# Runs apt-get directly as root, through sudo otherwise. Safe to run again: it does nothing when
# everything is present. `setup.sh windows DEPS` then installs the Windows build's tools
# (mingw-w64, Wine) and cross-builds its libraries into DEPS (scripts/setup-windows.sh).
set -euo pipefail
if [ "${1:-}" = windows ]; then
  bash "$(dirname "$0")/setup.sh"
  exec bash "$(dirname "$0")/setup-windows.sh" "${2:?usage: setup.sh windows DEPS_DIR}"
fi

packages=(
  build-essential cmake ninja-build pkg-config ccache
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libpixman-1-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra
  libpng-dev libjpeg-dev libstb-dev libsdl2-dev libssl-dev libxxhash-dev
  libcairo2-dev qtbase5-dev
  libxlsxwriter-dev python3 python3-openpyxl python3-pytest python3-pyqt5
  xvfb xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
