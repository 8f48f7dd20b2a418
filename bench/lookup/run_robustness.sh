#!/bin/sh
# The long robustness run under Wine (robustness_long.txt): 10,000
# keystrokes, 500 open/close cycles, a 100 MB runway file and 10 MB of noise,
# in a simulator folder with the host sessions' test fixtures
# (tests/host/data).  Prints the host's memory along the way and the time of
# each change on the large files; fails when the host crashes, hangs or a
# check fails.
#
# Needs the win64 build (build/win64) and gen_lookup_world (GEN, by default
# the one in build/bench).
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$root/build/bench/robustness
gen=${GEN:-$root/build/bench/bench/lookup/gen_lookup_world}
host=${HOST:-$root/build/win64/pelmora-host.exe}
module=${MODULE:-$root/build/win64/PELMORA.GAU}
wine=${WINE:-/usr/lib/wine/wine64}

export WINEPREFIX=$root/build/bench/dialog/wine-prefix WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml="
# (It reports a failure when its server runs already; the host run tells.)
sh "$root/tests/wine-prefix.sh" "$WINEPREFIX" "$wine" start || true
trap 'sh "$root/tests/wine-prefix.sh" "$WINEPREFIX" "$wine" stop' EXIT

sim=$work/sim
rm -rf "$sim"
mkdir -p "$sim/big"
"$gen" "$sim/big" --large 100000000
mv "$sim/big/Prwydata.txt" "$sim/Big.txt"
rmdir "$sim/big"
cp "$root/tests/host/data/Prwydata.txt" "$sim/Sample.txt"

start=$(date +%s)
if ! "$wine" "$host" --sim "$sim" --install "$module" --data "$root/tests/host/data" \
        --script "$root/bench/lookup/robustness_long.txt" --timeout 1200 > "$work/out.raw" 2>&1; then
    tr -d '\r' < "$work/out.raw" | grep -v 'callback returned'
    echo "robustness: FAILED"
    exit 1
fi
echo "robustness under Wine: passed in $(( $(date +%s) - start )) s (10,000 keystrokes, 500 open/close cycles, Big.txt $(( $(wc -c < "$sim/Big.txt") / 1000000 )) MB)"
tr -d '\r' < "$work/out.raw" | grep -E 'memory:| ms$'
