#!/bin/sh
# Remakes the sample data files data/Prwydata.txt and data/Pnavdata.txt from
# FlightGear's world data (data/README says which release, its cycle and
# licence): the whole world converted with the project's converter, courses
# for a fixed date, then the airports and navaids listed below taken out line
# for line, as the converter wrote them.  Both files are checked with
# pelmora-check and replaced only when every pick was found and both are
# clean.
#
#   sh data/make-samples.sh [FLIGHTGEAR_DATA_DIR] [CONVERTER]
#
# FLIGHTGEAR_DATA_DIR holds Airports/apt.dat.gz and Navaids/nav.dat.gz
# (default: build/flightgear/usr/share/games/flightgear, where
# `make flightgear` unpacks Debian's flightgear-data-base); CONVERTER
# defaults to build/tools/pelmora-convert (`make tools`), and pelmora-check
# is taken from beside it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
fg=${1:-$root/build/flightgear/usr/share/games/flightgear}
conv=${2:-$root/build/tools/pelmora-convert}
check=$(dirname "$conv")/pelmora-check
# The date of the magnetic courses: fixed, so that the same source gives the
# same files.
date=2026-12-10
# The cycle data/README names; another one means the README needs new words.
cycle="data cycle 2013.10"

apt=$fg/Airports/apt.dat.gz
nav=$fg/Navaids/nav.dat.gz
for f in "$apt" "$nav"; do
    [ -f "$f" ] || { echo "make-samples: no $f (run make flightgear, or name the folder)" >&2; exit 2; }
done
for f in "$conv" "$check"; do
    [ -x "$f" ] || { echo "make-samples: no $f (run make tools)" >&2; exit 2; }
done
for f in "$apt" "$nav"; do
    if ! gzip -dc "$f" | head -n 3 | grep -q "$cycle"; then
        echo "make-samples: warning: $f is not of the $cycle that data/README names" >&2
    fi
done

# Airports by code, in this order: around Seattle, two more in the United
# States (S50 has an FAA-style code, not an ICAO one), Europe.
airports="KSEA KBFI KPAE KRNT KTCM KOLM S50 KSFO KJFK EGLL EGKK EDDF LFPG EHAM"
# Navaids by code, name and type as written (codes repeat around the world).
navaids="SEA:SEATTLE:VOR PAE:PAINE:VOR OLM:OLYMPIA:VOR BTG:BATTLEGROUND:VOR
TCM:MCCHORD:VOR SFO:SAN_FRANCISCO:VOR JFK:KENNEDY:VOR LON:LONDON:VOR
BIG:BIGGIN:VOR OCK:OCKHAM:VOR FFM:FRANKFURT:VOR PGS:PARIS_CHARLES_DE_GAULLE:VOR
BF:NOLLA:NDB SZ:PARKK:NDB RNT:RENTON:NDB CHT:CHILTERN:NDB EPM:EPSOM:NDB
FFM:FRANKFURT:NDB"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/world" "$work/out"
if ! "$conv" -q --date "$date" --apt "$apt" --nav "$nav" -o "$work/world" >"$work/log" 2>&1; then
    cat "$work/log" >&2
    echo "make-samples: the conversion failed" >&2
    exit 1
fi

missing=""
for code in $airports; do
    n=$(awk -v c="$code" '$1 == c' "$work/world/Prwydata.txt" | tee -a "$work/out/Prwydata.txt" | wc -l)
    [ "$n" -eq 1 ] || missing="$missing $code($n)"
done
for pick in $navaids; do
    n=$(awk -v p="$pick" 'BEGIN { split(p, w, ":") } $1 == w[1] && $2 == w[2] && $3 == w[3]' \
        "$work/world/Pnavdata.txt" | tee -a "$work/out/Pnavdata.txt" | wc -l)
    [ "$n" -eq 1 ] || missing="$missing $pick($n)"
done
if [ -n "$missing" ]; then
    echo "make-samples: not found exactly once (times found):$missing" >&2
    exit 1
fi

for f in Prwydata.txt Pnavdata.txt; do
    "$check" "$work/out/$f" >&2 || { echo "make-samples: $f has findings" >&2; exit 1; }
done
for f in Prwydata.txt Pnavdata.txt; do
    cp "$work/out/$f" "$here/$f.new"
done
mv "$here/Prwydata.txt.new" "$here/Prwydata.txt"
mv "$here/Pnavdata.txt.new" "$here/Pnavdata.txt"
echo "make-samples: wrote $here/Prwydata.txt ($(wc -l <"$here/Prwydata.txt") airports) and" \
    "$here/Pnavdata.txt ($(wc -l <"$here/Pnavdata.txt") navaids), courses for $date"
