#!/usr/bin/env bash
# Installs, with apt-get, only the packages that are missing on this machine: those the
# build needs, or the ones named as arguments (as `make fuzz` does for clang and
# `make package` for the Debian packaging tools).
set -euo pipefail
packages=(qt6-base-dev qt6-translations-l10n cmake g++ make xvfb xauth ccache clang-format ninja-build git
          dbus at-spi2-core)
if [ $# -gt 0 ]; then packages=("$@"); fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
