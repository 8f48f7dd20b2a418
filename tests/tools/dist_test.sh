#!/bin/sh
# The release zip from placeholder inputs: its entries, the readme's line
# ends, and no zip at all when an input is missing.
#   dist_test.sh DIST_SCRIPT WORK_DIR
dist=$1
work=$2
rm -rf "$work"
mkdir -p "$work/data" "$work/tools" "$work/out"
printf 'MZ placeholder module' > "$work/PELMORA.GAU"
printf 'KSEA SEATTLE 16L_-_11796_0_180\r\n' > "$work/data/Prwydata.txt"
printf 'SEA SEATTLE VOR 116.80\r\n' > "$work/data/Pnavdata.txt"
printf 'MZ placeholder converter' > "$work/tools/pelmora-convert.exe"

failed=0
fail() { echo "FAIL: $*"; failed=1; }

PELMORA_GAU=$work/PELMORA.GAU PELMORA_DATA_DIR=$work/data PELMORA_WIN_TOOLS_DIR=$work/tools \
    PELMORA_DIST_DIR=$work/out sh "$dist" > "$work/log" 2>&1 || { fail "dist failed"; cat "$work/log"; }
zip=$work/out/pelmora-1.0.0.zip
[ -f "$zip" ] || fail "no $zip"
unzip -Z1 "$zip" > "$work/entries" 2>/dev/null
printf '%s\n' GAUGES/PELMORA.GAU PELMORA-README.txt PELMORA-TOOLS/pelmora-convert.exe \
    Pnavdata.txt Prwydata.txt > "$work/expected"
diff -u "$work/expected" "$work/entries" || fail "unexpected entries"
unzip -p "$zip" GAUGES/PELMORA.GAU | cmp -s - "$work/PELMORA.GAU" || fail "the module differs"
unzip -p "$zip" PELMORA-README.txt | grep -q "PELMORA!V1" || fail "the readme has no panel line"
unzip -p "$zip" PELMORA-README.txt | head -1 | od -c | grep -q '\\r' || fail "the readme lacks CR LF"
[ -z "$(ls -A "$work/out" | grep -v '^pelmora-1.0.0.zip$')" ] || fail "left files in out"

rm "$work/data/Pnavdata.txt" "$zip"
PELMORA_GAU=$work/PELMORA.GAU PELMORA_DATA_DIR=$work/data PELMORA_WIN_TOOLS_DIR=$work/tools \
    PELMORA_DIST_DIR=$work/out sh "$dist" > "$work/log" 2>&1 && fail "dist succeeded without Pnavdata.txt"
grep -q "missing:.*Pnavdata.txt" "$work/log" || fail "no message about Pnavdata.txt"
[ -z "$(ls -A "$work/out")" ] || fail "left files without its inputs: $(ls -A "$work/out")"

[ $failed = 0 ] && echo "dist: 1 passed, 0 failed" || echo "dist: 0 passed, 1 failed"
[ $failed = 0 ]
