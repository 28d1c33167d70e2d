#!/usr/bin/env bash
# Installs every Debian package that building, testing and taking screenshots need.
# As root it runs apt-get; otherwise it prints the command to run.
set -euo pipefail
packages=(
    g++ make cmake                 # toolchain
    qt6-base-dev qt6-base-dev-tools libgl-dev   # Qt 6 Widgets, Test, moc
    xvfb xauth                     # screenshots of real windows
    fonts-noto-cjk fonts-dejavu-core            # Japanese texts and a Latin font
    desktop-file-utils             # checks the menu entry that is installed
    clang libclang-rt-dev          # the libFuzzer targets (scripts/fuzz.sh)
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "Please install the missing packages first:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
