#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need; only
# what is missing, and without asking.  Runs as root (or through sudo).
set -e
packages="cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 xvfb xauth
python3 python3-pefile libgtest-dev googletest zlib1g-dev libz-mingw-w64-dev
zip unzip gzip imagemagick fonts-dejavu-core valgrind
clang libclang-rt-14-dev"
for extra in $(cat "$(dirname "$0")/../tools/DEPENDENCIES" 2>/dev/null); do
    packages="$packages $extra"
done
missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done
if [ -z "$missing" ]; then
    exit 0
fi
echo "installing:$missing"
sudo=""
if [ "$(id -u)" != 0 ]; then
    sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing
