#!/bin/sh
# The Windows converter (the zip's) under Wine reads every source the Linux
# one does: X-Plane apt.dat and nav.dat, plain and gzip-compressed,
# FlightGear's files as they ship, and OurAirports' CSV files, an X-Plane
# folder (names with spaces, the path written the Windows way) and an FGData
# folder, and writes the same files byte for byte as the golden cases expect.
#
#   windows_converter.sh WINE CONVERTER.exe TESTS_DIR WORK_DIR SCENERY_FIXTURE_MAKER.exe
wine=$1
conv=$2
tests=$3
work=$4
make_scenery=$5

rm -rf "$work"
mkdir -p "$work/in"
cp -R "$tests/fixtures/." "$work/in/"
cp "$conv" "$work/in/pelmora-convert.exe"
cd "$work/in" || exit 2
mkdir oagz
for f in oa/*.csv; do gzip -c "$f" > "oagz/${f#oa/}.gz"; done
gzip -c nav1200.dat > nav1200.dat.gz
mkdir -p fgdata/Airports fgdata/Navaids
gzip -c fg/apt.dat > fgdata/Airports/apt.dat.gz
gzip -c fg/nav.dat > fgdata/Navaids/nav.dat.gz

# The simulator's scenery trees, their absolute Local= a Windows path.
cp "$make_scenery" make_scenery_fixtures.exe
"$wine" make_scenery_fixtures.exe scenery "Z:$(pwd | tr / '\\')\\scenery" ||
    echo "FAIL: the scenery fixtures could not be made"

failed=0
# case EXPECTED ARGS...: a conversion into ../EXPECTED, compared with the
# golden files of that name; the exit status wanted in $want (default 0).
case_() {
    name=$1
    shift
    mkdir -p "../$name"
    "$wine" pelmora-convert.exe -o "../$name" --date 2026-01-01 "$@" \
        > "../$name.stdout" 2> "../$name.messages"
    got=$?
    if [ "$got" != "${want:-0}" ]; then
        echo "FAIL $name: exit status $got"
        cat "../$name.messages"
        failed=1
        return
    fi
    for f in Prwydata.txt Pnavdata.txt; do
        if ! cmp -s "../$name/$f" "$tests/expected/$name/$f"; then
            echo "FAIL $name: $f differs from the golden file"
            failed=1
        fi
    done
    [ $failed = 1 ] || echo "ok   $name"
}

case_ xp1200 --apt apt1200.dat --nav nav1200.dat.gz
case_ fg_as_shipped --apt fg/apt.dat --nav fg/nav.dat
case_ oa --ourairports oagz --lf
case_ oa_nav --ourairports oa --nav nav1100.dat --country GB
case_ xp12 --xplane 'xp12\X-Plane 12'
# As cmd hands over "xp11\X-Plane 11\": the closing backslash quotes the quote.
case_ xp11 --xplane 'xp11\X-Plane 11"'
case_ fg_as_shipped --flightgear fgdata
# Damaged files in the library: exit 1, the same files.
want=1
case_ scenery_fs9 --scenery 'scenery\fs9'
want=0
case_ scenery_fsx --scenery 'scenery\fsx\FSX' --scenery-cfg 'scenery\fsx\ProgramData\Microsoft\FSX\Scenery.CFG' --lf
# Where the later release keeps its library, the program-data folder of
# the test prefix's C: drive: found without --scenery-cfg.
if [ -n "$WINEPREFIX" ] && [ -d "$WINEPREFIX/drive_c/ProgramData" ]; then
    kept=$WINEPREFIX/drive_c/ProgramData/Microsoft/FSX
    mkdir -p "$kept"
    cp scenery/fsx/ProgramData/Microsoft/FSX/Scenery.CFG "$kept/Scenery.CFG"
    case_ scenery_fsx --scenery 'scenery\fsx\FSX' --lf
    rm -rf "$kept"
    grep -q 'scenery library C:.ProgramData.Microsoft.FSX.Scenery.CFG' ../scenery_fsx.messages ||
        { echo "FAIL scenery_fsx: the library in the program-data folder is not the one read"; failed=1; }
fi
exit $failed
