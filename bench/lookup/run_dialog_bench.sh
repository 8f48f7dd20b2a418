#!/bin/sh
# The dialog's benchmark under Wine: the real module in the stand-in host,
# a world-size runway and navaid file in its simulator folder, the ICAO box
# set to each text of the typing sequences in turn, REPS times; prints the
# median time of each change (WM_SETTEXT to the end of its handling, lists
# filled) and the host's memory.  Three runway files with the same airports:
# in source order (grouped by country, as a data source lists them), in
# random order, and in quick-pick order.
#
#   run_dialog_bench.sh [REPS]        (default 9)
#
# Needs the win64 build (build/win64) and gen_lookup_world (GEN, by default
# the one in build/bench).  Prints figures; fails only when the host does.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
reps=${1:-9}
work=$root/build/bench/dialog
gen=${GEN:-$root/build/bench/bench/lookup/gen_lookup_world}
host=${HOST:-$root/build/win64/pelmora-host.exe}
module=${MODULE:-$root/build/win64/PELMORA.GAU}
wine=${WINE:-/usr/lib/wine/wine64}

# A prefix of its own, so that no test's host shares the desktop.
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml="
mkdir -p "$work"
# (It reports a failure when its server runs already; the host run tells.)
sh "$root/tests/wine-prefix.sh" "$WINEPREFIX" "$wine" start || true
trap 'sh "$root/tests/wine-prefix.sh" "$WINEPREFIX" "$wine" stop' EXIT

# label text mode: the typing sequences, one change each.
sequence='empty "" airports
K K airports
KS KS airports
KSE KSE airports
KSEA KSEA airports
E E airports
EG EG airports
EGLL EGLL airports
nav-S S navaids
nav-SEA SEA navaids'

# One round: every text of the sequences once.
round() {
    echo "$sequence" | while read -r label text mode; do
        [ "$mode" = navaids ] && echo "button IDC_NAVAIDS" || echo "button IDC_AIRPORTS"
        echo "time-settext IDC_ICAO $text $label"
    done
}
script=$work/timing.txt
{
    echo "click V1 10 10"
    echo "expect-dialog open"
    echo "settext IDC_ICAO Z"
    echo "print-memory before"
    round
    echo "print-memory after-round-1"
    echo "repeat $((reps - 1))"
    round
    echo "print-memory round"
    echo "end"
    # The lists' memory stays with the process; it must not grow per round.
    echo "expect-memory-growth after-round-1 1024"
    echo "button IDC_EXIT"
    echo "expect-return 0"
    echo "quit"
} > "$script"

# median LABEL FILE: the median of the label's figures.
median() {
    grep "^$1 " "$2" | awk '{print $2}' | sort -n | awk '{v[NR] = $1} END {if (NR) print v[int((NR + 1) / 2)]}'
}

for order in source random sorted; do
    sim=$work/$order
    mkdir -p "$sim"
    case $order in sorted) flag=--sorted ;; random) flag=--random ;; *) flag= ;; esac
    "$gen" "$sim" $flag > "$work/$order.world"
    "$wine" "$host" --sim "$sim" --install "$module" --script "$script" --timeout 600 \
        > "$work/$order.raw" 2>&1 || { cat "$work/$order.raw"; exit 1; }
    tr -d '\r' < "$work/$order.raw" > "$work/$order.out"
done

echo "dialog under Wine: median of $reps changes each (WM_SETTEXT to the end of the handling)"
echo "world: $(cat "$work/source.world")"
printf '%-10s %14s %14s %14s %10s\n' keystroke "source order" "random order" "sorted order" target
echo "$sequence" | while read -r label text mode; do
    case $label in
        empty) target="< 150 ms" ;;
        K|E) target="< 10 ms" ;;
        nav-S) target="-" ;;
        *) target="< 16 ms" ;;
    esac
    printf '%-10s %11s ms %11s ms %11s ms %10s\n' "$label" "$(median "$label" "$work/source.out")" \
        "$(median "$label" "$work/random.out")" "$(median "$label" "$work/sorted.out")" "$target"
done
for order in source random sorted; do
    out=$work/$order.out
    echo "memory ($order order): before $(sed -n 's/^before memory: //p' "$out");" \
        "after round 1 $(sed -n 's/^after-round-1 memory: //p' "$out");" \
        "after round $reps $(sed -n 's/^round memory: //p' "$out" | tail -1)"
done
