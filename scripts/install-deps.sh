#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program and the tests need and
# the machine lacks. Runs apt only when something is missing; uses sudo when not root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libcli11-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-wqy-microhei
    xvfb xauth openbox trayer xdotool imagemagick x11-utils desktop-file-utils
)
[[ $# -gt 0 ]] && packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
