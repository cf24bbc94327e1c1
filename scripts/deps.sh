#!/usr/bin/env bash
# Installs what building, running and testing need, on Debian 12 as root.
# Quiet and idempotent: does nothing when everything is already there.
set -euo pipefail

packages=(wine wine32:i386 wine64 fonts-wine
          g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 mingw-w64-i686-dev
          g++-mingw-w64-x86-64-win32
          cmake ninja-build make xvfb x11-utils googletest imagemagick locales)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "deps: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi
echo "deps: installing ${missing[*]}" >&2
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
