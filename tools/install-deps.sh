#!/usr/bin/env bash
# Installs what building and testing need on Debian (as root, or with sudo when present).
set -euo pipefail
SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
# fonts-wine: the symbols of Wine's title-bar buttons; nsis: the setup programs; wixl (from msitools):
# the Windows Installer packages, which msitools' msiinfo reads in the tests.
packages=(cmake ninja-build python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
          wine wine64 wine32:i386 fonts-wine xvfb xauth xdotool imagemagick fonts-liberation2 doctest-dev
          nsis msitools wixl)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    # 32-bit Wine needs the i386 architecture.
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
