#!/bin/sh
# Converts FlightGear's world data as Debian ships it, as a new user would,
# and keeps the result as the world data that comes with the package:
# downloads the package flightgear-data-base (about 1.3 GB, kept in the work
# folder for the next run), takes out Airports/apt.dat.gz and
# Navaids/nav.dat.gz, converts them, prints the summary, the exit status and
# a few airports, and, when the conversion is clean and both files pass
# pelmora-check, puts them in data/world/ (Prwydata.txt, Pnavdata.txt and
# conversion.txt: the summary, the source and its data cycle).  Not part of
# `make test`: the files in data/world/ are committed, so that neither the
# zip nor the tests download anything.
#
#   sh tools/flightgear-world.sh [CONVERTER] [WORK_DIR]
#
# CONVERTER defaults to build/tools/pelmora-convert (make tools; pelmora-check
# is taken from beside it), WORK_DIR to build/flightgear.  A .deb already in
# WORK_DIR is used as it is.  The courses are for PELMORA_DATE (default
# 2026-12-10, fixed so that the same source gives the same files); the files
# go to PELMORA_WORLD_DIR (default data/world).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
conv=${1:-$root/build/tools/pelmora-convert}
case $conv in /*) ;; *) conv=$PWD/$conv ;; esac
check=$(dirname "$conv")/pelmora-check
work=${2:-$root/build/flightgear}
world=${PELMORA_WORLD_DIR:-$root/data/world}
[ -x "$conv" ] || { echo "flightgear-world: no converter at $conv (run make first)" >&2; exit 2; }
[ -x "$check" ] || { echo "flightgear-world: no checker at $check (run make first)" >&2; exit 2; }
rm -rf "$work/out"
mkdir -p "$work/out"
cd "$work"

deb=$(ls flightgear-data-base_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
    echo "downloading flightgear-data-base (about 1.3 GB)..."
    apt-get download flightgear-data-base
    deb=$(ls flightgear-data-base_*.deb | head -n 1)
fi
share=./usr/share/games/flightgear
if [ ! -f "$share/Airports/apt.dat.gz" ] || [ ! -f "$share/Navaids/nav.dat.gz" ]; then
    dpkg-deb --fsys-tarfile "$deb" |
        tar -x "$share/Airports/apt.dat.gz" "$share/Navaids/nav.dat.gz"
fi

date=${PELMORA_DATE:-2026-12-10}
status=0
"$conv" -q --date "$date" --flightgear "$share" -o out >out/log 2>&1 || status=$?
cat out/log
echo "exit status: $status (courses for $date)"
for code in KSEA EDDF EGLL S50 0S9 NZCH BGSF BGTL CYLT; do
    grep "^$code " out/Prwydata.txt | cut -c1-160 || echo "$code: not written"
done
[ $status = 0 ] || exit $status

# The world data kept in the repository: only a clean conversion whose two
# files read as the gauge reads them.
"$check" out/Prwydata.txt out/Pnavdata.txt ||
    { echo "flightgear-world: the files have findings; $world not changed" >&2; exit 1; }
version=$(dpkg-deb -f "$deb" Version)
header() { gzip -dc "$1" | LC_ALL=C sed -n '2{s/\.  Copyright.*//;p;q}'; }
apt_header=$(header "$share/Airports/apt.dat.gz")
nav_header=$(header "$share/Navaids/nav.dat.gz")
cycle=$(printf '%s\n' "$apt_header" | sed -n 's/.*data cycle \([0-9.]*\).*/\1/p')
nav_cycle=$(printf '%s\n' "$nav_header" | sed -n 's/.*data cycle \([0-9.]*\).*/\1/p')
[ -n "$cycle" ] && [ "$cycle" = "$nav_cycle" ] ||
    { echo "flightgear-world: no one data cycle in the headers ($cycle, $nav_cycle)" >&2; exit 1; }
if [ -f "$world/README" ] && ! grep -q "data cycle $cycle" "$world/README"; then
    echo "flightgear-world: warning: $world/README does not name data cycle $cycle" >&2
fi
mkdir -p "$world"
{
    echo "World data that comes with Pelmora: how it was made"
    echo
    echo "Source:     Debian package flightgear-data-base, version $version"
    echo "Data cycle: $cycle"
    echo "apt.dat:    $apt_header"
    echo "nav.dat:    $nav_header"
    echo "Courses:    magnetic for $date (World Magnetic Model 2025), true on T runways"
    echo "Command:    pelmora-convert -q --date $date --flightgear $share"
    echo "Written:    Prwydata.txt $(wc -l <out/Prwydata.txt) airports, $(wc -c <out/Prwydata.txt) bytes;" \
        "Pnavdata.txt $(wc -l <out/Pnavdata.txt) navaids, $(wc -c <out/Pnavdata.txt) bytes"
    echo
    echo "The converter's summary:"
    echo
    sed 's/^/  /' out/log
} >out/conversion.txt
for f in Prwydata.txt Pnavdata.txt conversion.txt; do
    cp "out/$f" "$world/$f.new"
done
for f in Prwydata.txt Pnavdata.txt conversion.txt; do
    mv "$world/$f.new" "$world/$f"
done
echo "flightgear-world: wrote $world (data cycle $cycle)"
