#!/bin/sh
# One scripted session of the setup window on fresh fixtures:
#   session.sh NAME WINE DRIVER SETUP_EXE MODULE WORK SCENERY_FIXTURES
# lays out the zip's folder (pelmora-setup.exe with GAUGES\PELMORA.GAU
# beside it) and the session's fake simulator folders, plays NAME.txt
# through setup-driver.exe, then checks the files the window wrote or left.
set -u
name=$1 wine=$2 driver=$3 setup=$4 module=$5 work=$6 make_scenery=${7:-}
here=$(cd "$(dirname "$0")" && pwd)
fixtures=$here/../tools/fixtures
expected=$here/../tools/expected
world=$here/../../data/world
rm -rf "$work"
mkdir -p "$work/pkg/GAUGES"
cp "$setup" "$work/pkg/pelmora-setup.exe"
cp "$module" "$work/pkg/GAUGES/PELMORA.GAU"

failed=0
fail() { echo "FAIL: $name: $*"; failed=1; }
same() { cmp -s "$1" "$2" || fail "$3"; }
# A Linux path as Wine shows it to Windows programs.
win() { printf 'Z:%s' "$1" | tr / '\\'; }
sim() { mkdir -p "$work/$1/GAUGES"; export "$2=$(win "$work/$1")"; }
old_data() {
    printf 'OLDA OLD_AIRPORT 01_-_1000_0_010\r\n' > "$work/$1/Prwydata.txt"
    printf 'OLD OLD_VOR VOR 110.00\r\n' > "$work/$1/Pnavdata.txt"
    cp "$work/$1/Prwydata.txt" "$work/$1/Pnavdata.txt" "$work/"
    mv "$work/Prwydata.txt" "$work/old-Prwydata.txt"
    mv "$work/Pnavdata.txt" "$work/old-Pnavdata.txt"
}
untouched() {
    same "$work/$1/Prwydata.txt" "$work/old-Prwydata.txt" "$1/Prwydata.txt changed"
    same "$work/$1/Pnavdata.txt" "$work/old-Pnavdata.txt" "$1/Pnavdata.txt changed"
    left=$(ls -A "$work/$1" | grep -v -x -e GAUGES -e Prwydata.txt -e Pnavdata.txt)
    [ -z "$left" ] || fail "left in $1: $left"
}

case $name in
alone)
    # setup.exe taken out of the zip without its GAUGES folder.
    rm -r "$work/pkg/GAUGES"
    sim sim SIM
    ;;
install)
    sim sim SIM
    sim sim2 SIM2
    mkdir -p "$work/nogauges"
    export NOGAUGES="$(win "$work/nogauges")" NOSUCH="$(win "$work/nosuch")"
    printf 'MZ an earlier, different gauge' > "$work/sim2/GAUGES/PELMORA.GAU"
    printf 'MZ a backup kept before' > "$work/sim2/GAUGES/PELMORA.GAU.bak"
    cp "$work/sim2/GAUGES/PELMORA.GAU" "$work/earlier.GAU"
    cp "$work/sim2/GAUGES/PELMORA.GAU.bak" "$work/earlier.bak"
    ;;
world)
    sim oa SIM_OA
    sim files SIM_FILES
    sim bad SIM_BAD
    old_data bad
    head -c 3000 /dev/urandom | gzip -c > "$work/damaged.dat.gz"
    head -c 2000 "$work/damaged.dat.gz" > "$work/damaged.dat"
    export DAMAGED="$(win "$work/damaged.dat")"
    export OA="$(win "$fixtures/oa")" APT="$(win "$fixtures/fg/apt.dat")" \
        NAV="$(win "$fixtures/fg/nav.dat")"
    ;;
cancel)
    sim sim SIM
    old_data sim
    # A world of generated airports, large enough to be stopped halfway.
    awk 'BEGIN { print "I"; print "1100 Version - generated for the cancel test"; print "";
        for (i = 0; i < 400000; i++) {
            printf "1 100 0 0 X%05d GENERATED FIELD %d\n", i, i;
            printf "100 30.00 1 0 0.25 0 2 0 09 %.6f %.6f 0 0 2 0 0 0 27 %.6f %.6f 0 0 2 0 0 0\n",
                (i % 140) - 70 + 0.001, (i % 340) - 170, (i % 140) - 70 + 0.001, (i % 340) - 169.99;
        }
        print "99" }' > "$work/big-apt.dat"
    export BIG="$(win "$work/big-apt.dat")"
    ;;
panel)
    mkdir -p "$work/panel"
    # CR LF lines, a comment, blanks, a tab, a last line without its line end.
    printf '[Window Titles]\r\nWindow00=Main Panel\r\n\r\n[Window00]\r\nfile=panel.bmp\r\ngauge00=Other!One, 1, 2\r\n\r\n[Window01]\r\n// radios\r\ngauge00=Other!Two,  10, 20\r\ngauge01=Other!Three, 30, 40\r\ngauge03=Other!Four,\t50, 60  \r\n\r\n\r\n[Window02]\r\ngauge00=Other!Five, 0, 0' > "$work/panel/panel.cfg"
    cp "$work/panel/panel.cfg" "$work/panel-original.cfg"
    printf '[Window Titles]\r\nWindow00=Main Panel\r\n\r\n[Window00]\r\nfile=panel.bmp\r\ngauge00=Other!One, 1, 2\r\n\r\n[Window01]\r\n// radios\r\ngauge00=Other!Two,  10, 20\r\ngauge01=Other!Three, 30, 40\r\ngauge03=Other!Four,\t50, 60  \r\ngauge02=PELMORA!V1, 500, 10\r\n\r\n\r\n[Window02]\r\ngauge00=Other!Five, 0, 0' > "$work/after-first.cfg"
    printf '%s\r\ngauge01=PELMORA!V1, 500, 10' "$(cat "$work/after-first.cfg")" > "$work/after-second.cfg"
    printf 'just text\r\n' > "$work/panel/notes.cfg"
    export PANEL="$(win "$work/panel/panel.cfg")" NOTES="$(win "$work/panel/notes.cfg")"
    ;;
bundled)
    # The zip's world data beside the program, as tools/dist.sh lays it out.
    cp "$world/Prwydata.txt" "$world/Pnavdata.txt" "$work/pkg/"
    sed 's/$/\r/' "$world/README" > "$work/pkg/DATA-README.txt"
    export PKG="$(win "$work/pkg/")"
    sim sim SIM
    old_data sim
    sim scen SIM_SCEN
    printf '[General]\r\nTitle=Scenery\r\n\r\n[Area.001]\r\nTitle=Default Terrain\r\nLocal=Scenery\\World\r\nLayer=1\r\nActive=TRUE\r\n' \
        > "$work/scen/scenery.cfg"
    ;;
scenery)
    # The converter tests' fixture trees, made in this Windows: the 2004
    # release's layout, and the later one's with its library elsewhere.
    "$wine" "$make_scenery" "$(win "$work/trees")" || fail "the scenery fixtures could not be made"
    mkdir -p "$work/trees/fs9/GAUGES" "$work/trees/fsx/FSX/GAUGES"
    export SIM_FS9="$(win "$work/trees/fs9")" SIM_FSX="$(win "$work/trees/fsx/FSX")" \
        FSX_CFG="$(win "$work/trees/fsx/ProgramData/Microsoft/FSX/Scenery.CFG")"
    # A scenery library whose areas are all missing, and a folder without one.
    sim empty SIM_EMPTY
    old_data empty
    printf '[General]\r\nTitle=Scenery\r\n\r\n[Area.001]\r\nTitle=Default Terrain\r\nLocal=Scenery\\World\r\nLayer=1\r\nActive=TRUE\r\n\r\n[Area.002]\r\nTitle=Addon Airport\r\nLocal=Addon Scenery\\Airport\r\nLayer=2\r\n' \
        > "$work/empty/SCENERY.CFG"
    sim none SIM_NONE
    ;;
folders)
    sim xp SIM_XP
    sim fg SIM_FG
    xp="$work/X-Plane 12"
    mkdir -p "$xp/Global Scenery/Global Airports/Earth nav data" "$xp/Resources/default data"
    cp "$fixtures/apt1200.dat" "$xp/Global Scenery/Global Airports/Earth nav data/apt.dat"
    cp "$fixtures/nav1200.dat" "$xp/Resources/default data/earth_nav.dat"
    mkdir -p "$work/fgdata/Airports" "$work/fgdata/Navaids"
    gzip -c "$fixtures/fg/apt.dat" > "$work/fgdata/Airports/apt.dat.gz"
    gzip -c "$fixtures/fg/nav.dat" > "$work/fgdata/Navaids/nav.dat.gz"
    export XP="$(win "$xp")" FG="$(win "$work/fgdata")"
    ;;
esac

"$wine" "$driver" "$(win "$work/pkg/pelmora-setup.exe")" "$(win "$here/$name.txt")" \
    > "$work/log" 2>&1 || fail "the session failed"
cat "$work/log"

case $name in
install)
    same "$work/sim/GAUGES/PELMORA.GAU" "$module" "the gauge is not installed"
    same "$work/sim2/GAUGES/PELMORA.GAU" "$module" "the gauge is not installed over the earlier one"
    same "$work/sim2/GAUGES/PELMORA-2.GAU.bak" "$work/earlier.GAU" "the earlier gauge is not kept"
    same "$work/sim2/GAUGES/PELMORA.GAU.bak" "$work/earlier.bak" "the earlier backup changed"
    [ "$(ls "$work/sim/GAUGES")" = PELMORA.GAU ] || fail "extra files: $(ls "$work/sim/GAUGES")"
    [ -z "$(ls -A "$work/nogauges")" ] || fail "wrote into a folder without GAUGES"
    ;;
alone)
    [ -z "$(ls -A "$work/sim/GAUGES")" ] || fail "wrote into GAUGES: $(ls -A "$work/sim/GAUGES")"
    ;;
world)
    grep -q '^EGLL ' "$work/oa/Prwydata.txt" || fail "OurAirports: no EGLL"
    [ -s "$work/oa/Pnavdata.txt" ] || fail "OurAirports: no navaids"
    grep -q '^KSEA ' "$work/files/Prwydata.txt" || fail "apt.dat: no KSEA"
    grep -v '^K' "$work/files/Prwydata.txt" | grep -q . && fail "apt.dat: an airport outside K"
    [ -s "$work/files/Pnavdata.txt" ] || fail "apt.dat: no navaids"
    head -c 200 "$work/files/Prwydata.txt" | od -c | grep -q '\\r' || fail "apt.dat: no CR LF"
    left=$(ls -A "$work/files" | grep -v -x -e GAUGES -e Prwydata.txt -e Pnavdata.txt)
    [ -z "$left" ] || fail "left in files: $left"
    untouched bad
    ;;
cancel)
    untouched sim
    ;;
panel)
    same "$work/panel/panel.cfg.bak" "$work/panel-original.cfg" "the first backup differs"
    same "$work/panel/panel-2.cfg.bak" "$work/after-first.cfg" "the second backup differs"
    same "$work/panel/panel.cfg" "$work/after-second.cfg" "panel.cfg is not as expected"
    [ "$(ls "$work/panel" | wc -l)" = 4 ] || fail "extra files: $(ls "$work/panel")"
    ;;
bundled)
    same "$work/sim/Prwydata.txt" "$world/Prwydata.txt" "the world data's Prwydata.txt is not installed"
    same "$work/sim/Pnavdata.txt" "$world/Pnavdata.txt" "the world data's Pnavdata.txt is not installed"
    left=$(ls -A "$work/sim" | grep -v -x -e GAUGES -e Prwydata.txt -e Pnavdata.txt)
    [ -z "$left" ] || fail "left in sim: $left"
    [ "$(ls -A "$work/scen")" = "$(printf 'GAUGES\nscenery.cfg')" ] || fail "wrote into scen: $(ls -A "$work/scen")"
    ;;
scenery)
    # The files the converter's golden tests hold for these trees.
    same "$work/trees/fs9/Prwydata.txt" "$expected/scenery_fs9/Prwydata.txt" "fs9: Prwydata.txt differs"
    same "$work/trees/fs9/Pnavdata.txt" "$expected/scenery_fs9/Pnavdata.txt" "fs9: Pnavdata.txt differs"
    for f in Prwydata.txt Pnavdata.txt; do
        tr -d '\r' < "$work/trees/fsx/FSX/$f" | cmp -s - "$expected/scenery_fsx/$f" || fail "fsx: $f differs"
    done
    [ "$(ls -A "$work/trees/fs9" | tr '\n' ' ')" = "Addon Scenery GAUGES Pnavdata.txt Prwydata.txt SCENERY.CFG Scenery " ] ||
        fail "left in fs9: $(ls -A "$work/trees/fs9")"
    [ "$(ls -A "$work/empty")" = "$(printf 'GAUGES\nPnavdata.txt\nPrwydata.txt\nSCENERY.CFG')" ] ||
        fail "left in empty: $(ls -A "$work/empty")"
    same "$work/empty/Prwydata.txt" "$work/old-Prwydata.txt" "empty/Prwydata.txt changed"
    same "$work/empty/Pnavdata.txt" "$work/old-Pnavdata.txt" "empty/Pnavdata.txt changed"
    [ "$(ls -A "$work/none")" = GAUGES ] || fail "wrote into none: $(ls -A "$work/none")"
    ;;
folders)
    grep -q '^EDDF ' "$work/xp/Prwydata.txt" || fail "X-Plane: no EDDF"
    grep -q '^KSEA ' "$work/fg/Prwydata.txt" || fail "FGData: no KSEA"
    ;;
esac
[ $failed = 0 ] && echo "setup $name: passed" || echo "setup $name: FAILED"
[ $failed = 0 ]
