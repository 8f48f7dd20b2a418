#!/bin/sh
# Converts FlightGear's world data as Debian ships it, as a new user would:
# downloads the package flightgear-data-base (about 1.3 GB, kept in the work
# folder for the next run), takes out Airports/apt.dat.gz and
# Navaids/nav.dat.gz, converts them and prints the summary, the exit status
# and a few airports.  Not part of `make test`.
#
#   sh tools/flightgear-world.sh [CONVERTER] [WORK_DIR]
#
# CONVERTER defaults to build/tools/pelmora-convert (make tools), WORK_DIR to
# build/flightgear.  A .deb already in WORK_DIR is used as it is.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
conv=${1:-$root/build/tools/pelmora-convert}
case $conv in /*) ;; *) conv=$PWD/$conv ;; esac
work=${2:-$root/build/flightgear}
[ -x "$conv" ] || { echo "flightgear-world: no converter at $conv (run make first)" >&2; exit 2; }
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

date=${PELMORA_DATE:-$(date -u +%Y-%m-%d)}
status=0
"$conv" -q --date "$date" --flightgear "$share" -o out || status=$?
echo "exit status: $status (courses for $date)"
for code in KSEA EDDF EGLL S50 0S9 NZCH BGSF BGTL CYLT; do
    grep "^$code " out/Prwydata.txt | cut -c1-160 || echo "$code: not written"
done
exit $status
