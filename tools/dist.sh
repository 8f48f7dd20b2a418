#!/bin/sh
# Builds the release zip, build/dist/pelmora-<version>.zip.  Its top is the
# setup window; the rest is laid out as the simulator's folder, so that it
# can also be unpacked straight into it:
#
#   pelmora-setup.exe           the setup window (build/win32/setup)
#   PELMORA-README.txt          for pilots (tools/PILOTS-README.txt, CR LF)
#   LICENSE.txt, NOTICES.txt    the licence and the notices (LICENSE, NOTICES
#                               at the repository's root, CR LF)
#   DATA-README.txt             what the world data is, its source and data
#                               cycle (data/world/README)
#   GPL-2.txt                   the world data's licence (data/GPL-2.txt)
#   GAUGES/PELMORA.GAU          the 32-bit module (build/win32)
#   Prwydata.txt, Pnavdata.txt  the world data that comes with the package
#                               (data/world/, made by make flightgear), which
#                               the setup window installs from beside it
#   PELMORA-TOOLS/*.exe         the Windows converter and checker
#
# Every one of them must be there: a zip without its licence, notices or
# tools is not made.
#
# The text files get the .txt name and CR LF so that a double click opens
# them in Notepad on any Windows.
#
# Usage: tools/dist.sh
# Inputs may be pointed elsewhere: PELMORA_GAU, PELMORA_SETUP_EXE,
# PELMORA_DATA_DIR (GPL-2.txt), PELMORA_WORLD_DIR (the world data and its
# README), PELMORA_WIN_TOOLS_DIR, PELMORA_ROOT_DOCS_DIR (where LICENSE and
# NOTICES are); the zip's folder: PELMORA_DIST_DIR.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
version=$(sed -n 's/^project(pelmora VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "dist: no version in $root/CMakeLists.txt" >&2; exit 1; }

gau=${PELMORA_GAU:-$root/build/win32/PELMORA.GAU}
setup_exe=${PELMORA_SETUP_EXE:-$root/build/win32/setup/pelmora-setup.exe}
root_docs=${PELMORA_ROOT_DOCS_DIR:-$root}
data=${PELMORA_DATA_DIR:-$root/data}
world=${PELMORA_WORLD_DIR:-$data/world}
win_tools=${PELMORA_WIN_TOOLS_DIR:-$root/build/win32/tools}
dist=${PELMORA_DIST_DIR:-$root/build/dist}
zip_name=pelmora-$version.zip

missing=""
for f in "$gau" "$setup_exe" "$world/Prwydata.txt" "$world/Pnavdata.txt" "$here/PILOTS-README.txt" \
    "$root_docs/LICENSE" "$root_docs/NOTICES" "$world/README" "$data/GPL-2.txt" \
    "$win_tools/pelmora-convert.exe" "$win_tools/pelmora-check.exe"; do
    [ -f "$f" ] || missing="$missing $f"
done
if [ -n "$missing" ]; then
    echo "dist: missing:$missing" >&2
    echo "dist: build the module first (cmake --preset win32 && cmake --build --preset win32)" >&2
    exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/GAUGES"
cp "$gau" "$stage/GAUGES/PELMORA.GAU"
# The data files as they are made: CR LF already, the gauge's own format.
cp "$world/Prwydata.txt" "$world/Pnavdata.txt" "$stage/"
cp "$setup_exe" "$stage/pelmora-setup.exe"
crlf() { sed 's/\r$//; s/$/\r/' "$1" > "$stage/$2"; }
crlf "$here/PILOTS-README.txt" PELMORA-README.txt
crlf "$root_docs/LICENSE" LICENSE.txt
crlf "$root_docs/NOTICES" NOTICES.txt
crlf "$world/README" DATA-README.txt
crlf "$data/GPL-2.txt" GPL-2.txt
mkdir -p "$stage/PELMORA-TOOLS"
cp "$win_tools/pelmora-convert.exe" "$win_tools/pelmora-check.exe" "$stage/PELMORA-TOOLS/"

# The same inputs give the same zip: fixed times, no extra attributes, a
# fixed order.
find "$stage" -exec touch -t 202001010000 {} +
mkdir -p "$dist"
rm -f "$dist/$zip_name.partial"
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort |
    zip -q -X -D "$dist/$zip_name.partial" -@)
mv "$dist/$zip_name.partial" "$dist/$zip_name"
echo "dist: $dist/$zip_name"
