#!/bin/sh
# Instructions per keystroke of the portable ICAO lookup on a world-size
# runway file, counted by Valgrind's callgrind, and what each is in
# milliseconds on a machine of 90 million instructions a second (a Pentium
# at 90 MHz, about one instruction a clock): the simulator's frame is its
# budget.  The count is the machine's, not the clock's, so it is the same on
# a loaded machine and a quiet one.
#
#   count_keystrokes.sh BUILD_DIR [WORK_DIR]
#
# BUILD_DIR holds bench/lookup/lookup_count and gen_lookup_world (bench/run.sh
# builds them in build/bench).  The world: 28,000 airports in 1.8 MB, most
# with one runway, as FlightGear's world converts; 12,000 navaids.
#
# lookup_count is linked with the core built to look at 4-byte words, as the
# 32-bit module does, so its line-end search runs the loop a Pentium runs;
# the lookup's own search uses none of the C library's vectorised routines.
# The column "C library" says how many of the instructions counted ran in
# the C library all the same (fopen, fread, and the short copies of the
# fields of an entry), in its x86-64 form.
# The instructions are x86-64 ones; the i686 module's own code differs in
# detail (fewer registers), which the figures do not show.
set -e
build=${1:?usage: count_keystrokes.sh BUILD_DIR [WORK_DIR]}
work=${2:-$build/bench/lookup/count-world}
count=$build/bench/lookup/lookup_count
gen=$build/bench/lookup/gen_lookup_world
mips=90
mkdir -p "$work"
"$gen" "$work" --airports 28000 --navaids 12000 --small-fields
out=$work/callgrind.out

# counted WHAT [TYPED]: the instructions of one run of lookup_count.
counted() {
    valgrind --tool=callgrind --toggle-collect='counted_*' --callgrind-out-file="$out" \
        "$count" "$work" "$@" >"$work/run.txt" 2>"$work/valgrind.txt" ||
        { cat "$work/valgrind.txt" >&2; exit 1; }
    sed -n 's/^totals: *//p' "$out"
}

# The instructions of the last run that ran in the C library.
in_libc() {
    callgrind_annotate --threshold=100 "$out" 2>/dev/null |
        awk '/libc\.so/ { gsub(",", "", $1); n += $1 } END { printf "%d", n }'
}

# Where the instructions of one run go: each function's own share.
where() {
    callgrind_annotate --threshold=98 "$out" 2>/dev/null |
        sed -n 's/^ *\([0-9,]*\) *(\([ 0-9.]*%\)) *[^:]*:\([^(\[]*\).*/\3 \1 \2/p' |
        awk '{ printf "    %-28s %12s  %s\n", $1, $2, $3 }'
}

row() { # row LABEL FILE ENTRIES INSTRUCTIONS FLOOR
    awk -v l="$1" -v f="$2" -v e="$3" -v i="$4" -v fl="$5" -v m="$mips" -v c="$(in_libc)" 'BEGIN {
        printf "%-10s %-7s %12s %12.0f %8.1f %7.2f %10.0f\n", l, f, e, i, i / m / 1000, fl ? i / fl : 1, c }'
}

echo "instructions counted by callgrind; ms at $mips million instructions a second"
printf '%-10s %-7s %12s %12s %8s %7s %10s\n' keystroke file entries instructions ms "x floor" "C library"
floor_runway=$(counted floor-runway)
row floor runway "$(sed 's/lines //' "$work/run.txt") lines" "$floor_runway" 0
floor_navaid=$(counted floor-navaid)
row floor navaid "$(sed 's/lines //' "$work/run.txt") lines" "$floor_navaid" 0
for k in "runway KSEA" "runway KS" "runway K" "runway EGLL" "runway " "navaid S"; do
    file=${k%% *}
    typed=${k#* }
    n=$(counted "$file" "$typed")
    entries=$(awk '{ print $2 + $4 }' "$work/run.txt")
    [ "$file" = runway ] && fl=$floor_runway || fl=$floor_navaid
    row "\"$typed\"" "$file" "$entries" "$n" "$fl"
    [ "$typed" != KS ] || cp "$out" "$work/callgrind-KS.out"
done
echo
echo "where the instructions of \"KS\" go (each function's own, callees apart):"
cp "$work/callgrind-KS.out" "$out"
where
