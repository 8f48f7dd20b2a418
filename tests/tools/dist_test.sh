#!/bin/sh
# The release zip from placeholder inputs: its entries (the setup window at
# the top, the licence, the notices, the data's readme and licence, the
# tools), the text files' line ends, the pilots' readme beginning with the
# setup window, the same bytes from a second run, and no zip at all when any
# input is missing.
#   dist_test.sh DIST_SCRIPT WORK_DIR
dist=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work/data" "$work/tools" "$work/out" "$work/docs" "$work/setup"
printf 'MZ placeholder module' > "$work/PELMORA.GAU"
printf 'MZ placeholder setup window' > "$work/setup/pelmora-setup.exe"
printf 'KSEA SEATTLE 16L_-_11796_0_180\r\n' > "$work/data/Prwydata.txt"
printf 'SEA SEATTLE VOR 116.80\r\n' > "$work/data/Pnavdata.txt"
printf 'Sample data: where it comes from\n' > "$work/data/README"
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
for input in data/Pnavdata.txt setup/pelmora-setup.exe docs/LICENSE docs/NOTICES data/README \
    data/GPL-2.txt tools/pelmora-convert.exe tools/pelmora-check.exe; do
    mv "$work/$input" "$work/held"
    rm -f "$zip"
    run_dist && fail "dist succeeded without $input"
    grep -q "missing:.*$(basename "$input")" "$work/log" || fail "no message about $input"
    [ -z "$(ls -A "$work/out")" ] || fail "left files without $input: $(ls -A "$work/out")"
    mv "$work/held" "$work/$input"
done

[ $failed = 0 ] && echo "dist: 1 passed, 0 failed" || echo "dist: 0 passed, 1 failed"
[ $failed = 0 ]
