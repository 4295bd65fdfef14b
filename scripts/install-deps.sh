#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running or testing needs,
# only those that are missing. Usage: install-deps.sh run|test
set -euo pipefail

# dpkg-dev unpacks the XML library's Debian source package (fetch-pugixml.sh).
common=(cmake make wine wine64 g++-mingw-w64-x86-64-posix mingw-w64-tools
        xvfb xauth fonts-ipafont-gothic dpkg-dev)
case "${1:-test}" in
  run)  wanted=("${common[@]}") ;;
  test) wanted=("${common[@]}" googletest imagemagick clang libclang-rt-14-dev) ;;
  *)    echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
