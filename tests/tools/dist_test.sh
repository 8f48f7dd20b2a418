#!/bin/sh
# The release zip from placeholder inputs: its entries (the setup window at
# the top, the licence, the notices, the world data with its readme and
# licence, the tools), the text files' line ends, the pilots' readme
# beginning with the setup window, the same bytes from a second run, and no
# zip at all when any input is missing.  Then the world data kept in the
# repository: its readme names the data cycle and the figures of the run
# that made the files, and both readmes say whose frequencies they are.
#   dist_test.sh DIST_SCRIPT WORK_DIR
dist=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work/data/world" "$work/tools" "$work/out" "$work/docs" "$work/setup"
printf 'MZ placeholder module' > "$work/PELMORA.GAU"
printf 'MZ placeholder setup window' > "$work/setup/pelmora-setup.exe"
# The samples beside the world data: the zip carries the world data only.
printf 'KSEA SEATTLE 16L_-_11796_0_180\r\n' > "$work/data/Prwydata.txt"
printf 'SEA SEATTLE VOR 116.80\r\n' > "$work/data/Pnavdata.txt"
printf 'Sample data: where it comes from\n' > "$work/data/README"
printf 'KSEA SEATTLE 16L_ISNQ_11901_110.30_166\r\nEGLL LONDON_HEATHROW 09L_IAA_12807_110.30_089\r\n' \
    > "$work/data/world/Prwydata.txt"
printf 'SEA SEATTLE VOR 116.80\r\nBF NOLLA NDB 362\r\n' > "$work/data/world/Pnavdata.txt"
printf 'World data: data cycle 2013.10\n' > "$work/data/world/README"
printf 'The sample data licence\n' > "$work/data/GPL-2.txt"
printf 'MZ placeholder converter' > "$work/tools/pelmora-convert.exe"
printf 'MZ placeholder checker' > "$work/tools/pelmora-check.exe"
printf 'A licence\nsecond line\n' > "$work/docs/LICENSE"
printf 'Notices\n' > "$work/docs/NOTICES"

failed=0
fail() { echo "FAIL: $*"; failed=1; }
run_dist() {
    PELMORA_GAU=$work/PELMORA.GAU PELMORA_SETUP_EXE=$work/setup/pelmora-setup.exe \
        PELMORA_DATA_DIR=$work/data PELMORA_WIN_TOOLS_DIR=$work/tools \
        PELMORA_ROOT_DOCS_DIR=$work/docs PELMORA_DIST_DIR=$work/out sh "$dist" > "$work/log" 2>&1
}
entries() {
    unzip -Z1 "$zip" > "$work/entries" 2>/dev/null
    printf '%s\n' "$@" > "$work/expected"
    diff -u "$work/expected" "$work/entries" || fail "unexpected entries"
}

run_dist || { fail "dist failed"; cat "$work/log"; }
zip=$work/out/pelmora-1.0.0.zip
[ -f "$zip" ] || fail "no $zip"
entries DATA-README.txt GAUGES/PELMORA.GAU GPL-2.txt LICENSE.txt NOTICES.txt PELMORA-README.txt \
    PELMORA-TOOLS/pelmora-check.exe PELMORA-TOOLS/pelmora-convert.exe Pnavdata.txt Prwydata.txt \
    pelmora-setup.exe
unzip -p "$zip" GAUGES/PELMORA.GAU | cmp -s - "$work/PELMORA.GAU" || fail "the module differs"
unzip -p "$zip" pelmora-setup.exe | cmp -s - "$work/setup/pelmora-setup.exe" || fail "the setup differs"
for f in Prwydata.txt Pnavdata.txt; do
    unzip -p "$zip" $f | cmp -s - "$work/data/world/$f" || fail "$f is not the world data, byte for byte"
done
unzip -p "$zip" DATA-README.txt | grep -q 'data cycle 2013.10' || fail "DATA-README.txt is not the world data's"
unzip -p "$zip" PELMORA-README.txt | grep -q "PELMORA!V1" || fail "the readme has no panel line"
for text in PELMORA-README.txt LICENSE.txt NOTICES.txt DATA-README.txt GPL-2.txt; do
    unzip -p "$zip" $text | head -1 | od -c | grep -q '\\r' || fail "$text lacks CR LF"
done
[ "$(unzip -p "$zip" LICENSE.txt | tr -d '\r')" = "$(cat "$work/docs/LICENSE")" ] || fail "the licence differs"
# The pilots' readme: its first section is the setup window, the command line after it.
first=$(grep -n -m1 '^1\. ' "$here/../../tools/PILOTS-README.txt")
case $first in *pelmora-setup*|*setup\ window*|*Setup*) ;; *) fail "first section: $first" ;; esac
setup_at=$(grep -n -m1 'pelmora-setup' "$here/../../tools/PILOTS-README.txt" | cut -d: -f1)
convert_at=$(grep -n -m1 'pelmora-convert' "$here/../../tools/PILOTS-README.txt" | cut -d: -f1)
[ "${setup_at:-999}" -lt "${convert_at:-0}" ] || fail "the command line comes before the setup window"
[ -z "$(ls -A "$work/out" | grep -v '^pelmora-1.0.0.zip$')" ] || fail "left files in out"

# The same inputs, touched later, give the same bytes.
cp "$zip" "$work/first.zip"
sleep 1
touch "$work/PELMORA.GAU" "$work/data/README"
run_dist || fail "second dist failed"
cmp -s "$zip" "$work/first.zip" || fail "a second run made a different zip"

# Without any one of its parts, no zip at all, and a message naming it.
for input in data/world/Prwydata.txt data/world/Pnavdata.txt data/world/README \
    setup/pelmora-setup.exe docs/LICENSE docs/NOTICES data/GPL-2.txt tools/pelmora-convert.exe \
    tools/pelmora-check.exe; do
    mv "$work/$input" "$work/held"
    rm -f "$zip"
    run_dist && fail "dist succeeded without $input"
    grep -q "missing:.*$(basename "$input")" "$work/log" || fail "no message about $input"
    [ -z "$(ls -A "$work/out")" ] || fail "left files without $input: $(ls -A "$work/out")"
    mv "$work/held" "$work/$input"
done

# The world data in the repository, as make flightgear left it: the files'
# lines are the run's figures, the readme names its data cycle, and both
# readmes say that these are real-world frequencies, not the simulator's.
repo=$here/../..
summary=$repo/data/world/conversion.txt
cycle=$(sed -n 's/^Data cycle: *//p' "$summary")
[ -n "$cycle" ] || fail "conversion.txt names no data cycle"
grep -q "data cycle $cycle" "$repo/data/world/README" || fail "data/world/README does not name data cycle $cycle"
for f in Prwydata.txt Pnavdata.txt; do
    lines=$(wc -l < "$repo/data/world/$f")
    bytes=$(wc -c < "$repo/data/world/$f")
    grep -q "$f $lines [a-z]*, $bytes bytes" "$summary" ||
        fail "data/world/$f ($lines lines, $bytes bytes) is not the file conversion.txt describes"
    [ "$(head -c 4096 "$repo/data/world/$f" | tr -cd '\r' | wc -c)" -gt 0 ] || fail "data/world/$f lacks CR LF"
done
grep -q 'NOT YOUR SIMULATOR' "$repo/data/world/README" || fail "data/world/README does not say whose frequencies"
for readme in README.md tools/PILOTS-README.txt; do
    tr '\n' ' ' < "$repo/$readme" | grep -q "real-world frequencies of.\{0,80\}$cycle.\{0,160\}not the simulator's" ||
        fail "$readme does not say that the world data is of $cycle, not the simulator's"
done

[ $failed = 0 ] && echo "dist: 1 passed, 0 failed" || echo "dist: 0 passed, 1 failed"
[ $failed = 0 ]
