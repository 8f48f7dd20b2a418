#!/bin/sh
# Kills the converter at many moments of a large conversion and checks that
# the data files are never destroyed.
#
#   kill_test.sh CONVERTER GEN_WORLD WORK_DIR
#
# A made-up world (gen_world) is converted once for the "new" pair; an "old"
# pair is put in place; then the converter is run again and killed (SIGKILL)
# after delays spread over its measured run time, most of them over the whole
# run and a few around its end, where the files are written and renamed in.
# After each kill:
#   - each file is, byte for byte, the complete old file or the complete new
#     one: nothing else is accepted;
#   - the pair is old+old or new+new, or runways new and navaids old: that
#     one only when the kill fell between the two renames, which the kept
#     "Prwydata.txt.<run>.old" shows (the next run puts that old runway file
#     back; the unit tests check that).
# Then leftovers: a run killed halfway leaves its temporary files, the next
# run clears them; a run stopped by SIGTERM leaves none.  Symbolic links
# planted at the old predictable temporary names, and at a leftover's name,
# are never written through.  Last, a folder named Pnavdata.txt in the way:
# exit 2, the old runway file put back, and a message that says so.
set -u
conv=$1
gen=$2
work=$3
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

rm -rf "$work"
mkdir -p "$work/world" "$work/new" "$work/out"
"$gen" "$work/world" 2000 4000 1000 >/dev/null || { echo "FAIL: cannot make the world"; exit 1; }
# convert DIR; in the background, $! is then the converter itself
convert() {
    "$conv" -q --apt "$work/world/apt.dat" --nav "$work/world/nav.dat" -o "$1" 2>/dev/null
}
convert_in_background() {
    "$conv" -q --apt "$work/world/apt.dat" --nav "$work/world/nav.dat" -o "$out" 2>/dev/null &
    pid=$!
}

# The new pair, and the run's length.
start=$(now_ms)
convert "$work/new"
status=$?
run_ms=$(($(now_ms) - start))
[ $status -le 1 ] || { echo "FAIL: the conversion ended with $status"; exit 1; }
echo "one conversion: $run_ms ms"

out=$work/out
old_pair() {
    printf 'OLD1 old runway file\r\n' >"$out/Prwydata.txt"
    printf 'OLD2 old navaid file\r\n' >"$out/Pnavdata.txt"
}
old_pair
cp "$out/Prwydata.txt" "$work/old-rwy"
cp "$out/Pnavdata.txt" "$work/old-nav"

printf 'not to be written\n' >"$work/victim"
ln -s "$work/victim" "$out/Prwydata.txt.partial"
ln -s "$work/victim" "$out/Pnavdata.txt.partial"
ln -s "$work/victim" "$out/Prwydata.txt.999999999-abcdef.partial"

# which FILE OLD NEW: old, new or bad
which() {
    if cmp -s "$1" "$2"; then echo old
    elif cmp -s "$1" "$3"; then echo new
    else echo bad
    fi
}

# kill_at DELAY_SECONDS SIGNAL: runs the converter into out and stops it
kill_at() {
    convert_in_background
    sleep "$1"
    kill "-$2" $pid 2>/dev/null
    wait $pid 2>/dev/null
}

old_old=0 new_new=0 between=0
fractions="0.03 0.09 0.15 0.21 0.28 0.34 0.40 0.46 0.53 0.59 0.65 0.71 0.78 0.84 0.90 0.96
           0.92 0.95 0.98 1.01 1.04 1.07"
for f in $fractions; do
    delay=$(awk "BEGIN { printf \"%.3f\", $run_ms * $f / 1000 }")
    kill_at "$delay" KILL
    r=$(which "$out/Prwydata.txt" "$work/old-rwy" "$work/new/Prwydata.txt")
    n=$(which "$out/Pnavdata.txt" "$work/old-nav" "$work/new/Pnavdata.txt")
    case "$r+$n" in
    old+old) old_old=$((old_old + 1)) ;;
    new+new) new_new=$((new_new + 1)) ;;
    new+old)
        if ls "$out"/Prwydata.txt.*.old >/dev/null 2>&1; then
            between=$((between + 1))
        else
            fail "killed after ${delay} s: runways new, navaids old, and no old runway file kept"
        fi ;;
    *) fail "killed after ${delay} s: runway file $r, navaid file $n" ;;
    esac
    old_pair
done
echo "kills: $old_old left the old pair, $new_new the new pair, $between between the renames"

# kill_writing SIGNAL: stops a run once its temporary files are there
kill_writing() {
    convert_in_background
    tries=0
    until ls "$out"/P*data.txt.$pid-*.partial >/dev/null 2>&1 || [ $tries -ge 400 ]; do
        sleep 0.02
        tries=$((tries + 1))
    done
    kill "-$1" $pid 2>/dev/null
    wait $pid 2>/dev/null
}

# A run killed halfway leaves its temporary files; the next one clears them.
kill_writing KILL
ls "$out"/P*data.txt.*-*.partial >/dev/null 2>&1 || fail "the killed run left no temporary file"
convert "$out"
[ "$(which "$out/Prwydata.txt" "$work/old-rwy" "$work/new/Prwydata.txt")" = new ] ||
    fail "the full run did not write the new runway file"
[ "$(which "$out/Pnavdata.txt" "$work/old-nav" "$work/new/Pnavdata.txt")" = new ] ||
    fail "the full run did not write the new navaid file"
left=$(cd "$out" && ls -A | grep -v -x -e Prwydata.txt -e Pnavdata.txt \
    -e Prwydata.txt.partial -e Pnavdata.txt.partial)
[ -z "$left" ] || fail "leftovers after a full run: $left"

# SIGTERM: the run removes its own temporary files.
kill_writing TERM
left=$(cd "$out" && ls -A | grep -v -x -e Prwydata.txt -e Pnavdata.txt \
    -e Prwydata.txt.partial -e Pnavdata.txt.partial)
[ -z "$left" ] || fail "leftovers after SIGTERM: $left"
[ "$(which "$out/Prwydata.txt" "$work/old-rwy" "$work/new/Prwydata.txt")" = new ] ||
    fail "SIGTERM damaged the runway file"

[ "$(cat "$work/victim")" = "not to be written" ] || fail "a symbolic link was written through"
[ -L "$out/Prwydata.txt.partial" ] && [ -L "$out/Pnavdata.txt.partial" ] ||
    fail "the links at the old temporary names are gone"

# A folder in the navaid file's way: the old runway file is put back and the
# converter says so.
mkdir -p "$work/blocked/Pnavdata.txt"
cp "$work/old-rwy" "$work/blocked/Prwydata.txt"
"$conv" -q --apt "$work/world/apt.dat" --nav "$work/world/nav.dat" -o "$work/blocked" \
    2>"$work/blocked.messages"
status=$?
[ $status -eq 2 ] || fail "a folder in the way: exit $status, not 2"
grep -q -x -F "nothing written: $work/blocked/Pnavdata.txt: cannot replace: Is a directory; \
$work/blocked/Prwydata.txt put back as it was" "$work/blocked.messages" ||
    fail "a folder in the way: not the message expected: $(cat "$work/blocked.messages")"
cmp -s "$work/blocked/Prwydata.txt" "$work/old-rwy" || fail "a folder in the way: runway file lost"

[ $failures -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "all kills left whole files"
