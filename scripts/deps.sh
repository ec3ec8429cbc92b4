#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when they are missing.
# Usage: scripts/deps.sh run|test
set -eu
want=(cmake ninja-build g++ g++-mingw-w64-x86-64 wine wine64 xvfb xauth fp-utils)
if [ "${1:-run}" = test ]; then
  want+=(googletest g++-mingw-w64-i686 fonts-ipafont-gothic fonts-wine
         clang-14 libclang-rt-14-dev imagemagick x11-apps x11-utils liblnk-utils wixl msitools zip unzip)
fi
missing=()
for package in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
