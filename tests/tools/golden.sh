#!/bin/sh
# Golden-file tests of pelmora-convert and pelmora-check.
#
#   golden.sh CONVERTER CHECKER TESTS_DIR WORK_DIR SCENERY_FIXTURE_MAKER
#
# Every fixture is converted, compared line by line with the expected files
# (line ends normalised) and checked clean by the checker; every bad input
# must end with its exit status and message and leave no file behind.
# Set GOLDEN_UPDATE=1 to rewrite the expected files from the current output.

conv=$1
check=$2
tests=$3
work=$4
make_scenery=$5
absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
conv=$(absolute "$conv")
check=$(absolute "$check")
tests=$(absolute "$tests")
work=$(absolute "$work")
make_scenery=$(absolute "$make_scenery")
expected=$tests/expected

rm -rf "$work"
mkdir -p "$work/in"
cp -R "$tests/fixtures/." "$work/in/"
cd "$work/in" || exit 2

# Compressed copies, made here rather than kept as binaries.
gzip -c apt850.dat > apt850.dat.gz
gzip -c nav810.dat > nav810.dat.gz
mkdir oagz
for f in oa/*.csv; do gzip -c "$f" > "oagz/${f#oa/}.gz"; done
gzip -c apt1200.dat | head -c 300 > cut.dat.gz
# The simulator's scenery trees: BGL files made by the tests' writer.
"$make_scenery" "$work/in/scenery" || echo "FAIL: the scenery fixtures could not be made"
# An FGData folder as FlightGear installs it.
mkdir -p fgdata/Airports fgdata/Navaids
gzip -c fg/apt.dat > fgdata/Airports/apt.dat.gz
gzip -c fg/nav.dat > fgdata/Navaids/nav.dat.gz

passed=0
failed=0
case_failed=0

begin() { name=$1; case_failed=0; }
fail() { echo "FAIL $name: $*"; case_failed=1; }
end() {
    if [ $case_failed = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# run WANT_STATUS ARGS...: the converter, into ../$name; messages in ../$name.messages
run() {
    want=$1
    shift
    rm -rf "../$name"
    mkdir -p "../$name"
    # One date for every run: the magnetic courses depend on it.
    "$conv" -o "../$name" --date 2026-01-01 "$@" > "../$name.stdout" 2> "../$name.messages"
    got=$?
    [ "$got" = "$want" ] || { fail "exit status $got, expected $want"; cat "../$name.messages"; }
}

# same_as EXPECTED_CASE FILE...: output files against the expected ones
same_as() {
    exp_case=$1
    shift
    for f in "$@"; do
        got_file=../$name/$f
        [ "$f" = messages ] && got_file=../$name.messages
        if [ -n "$GOLDEN_UPDATE" ]; then
            mkdir -p "$expected/$exp_case"
            cp "$got_file" "$expected/$exp_case/$f"
            continue
        fi
        tr -d '\r' < "$expected/$exp_case/$f" > ../expected.txt
        tr -d '\r' < "$got_file" > ../got.txt
        diff -u ../expected.txt ../got.txt > ../diff.txt || { fail "$f differs"; cat ../diff.txt; }
    done
}

# line_ends crlf|lf FILE...
line_ends() {
    kind=$1
    shift
    for f in "$@"; do
        if tr -d '\r' < "../$name/$f" | cmp -s - "../$name/$f"; then has_cr=no; else has_cr=yes; fi
        [ $kind = crlf ] && [ $has_cr = no ] && fail "$f has no CR LF line ends"
        [ $kind = lf ] && [ $has_cr = yes ] && fail "$f has CR in it"
    done
}

# checked_clean FILE...: the checker, reading as the module does, finds nothing
checked_clean() {
    for f in "$@"; do
        "$check" "../$name/$f" > ../check.txt 2>&1 || { fail "checker finds faults in $f"; cat ../check.txt; }
    done
}

# says TEXT: the messages contain TEXT
says() {
    grep -F -q -- "$1" "../$name.messages" || { fail "no message '$1'"; cat "../$name.messages"; }
}

# nothing_written: the output folder is empty (no file, no partial file)
nothing_written() {
    [ -z "$(ls -A "../$name")" ] || fail "left files behind: $(ls -A "../$name")"
}

# ---- Good inputs, each format and version ----

begin xp850
run 0 --apt apt850.dat --nav nav810.dat
same_as xp850 Prwydata.txt Pnavdata.txt messages
line_ends crlf Prwydata.txt Pnavdata.txt
checked_clean Prwydata.txt Pnavdata.txt
end

begin xp850_gz
run 0 --apt apt850.dat.gz --nav nav810.dat.gz
same_as xp850 Prwydata.txt Pnavdata.txt
end

begin xp1200
run 0 --apt apt1200.dat --nav nav1200.dat
same_as xp1200 Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
end

begin xp1200_filters
run 0 --apt apt1200.dat --nav nav1200.dat --icao ED,LS --hard-only --box 49,8,51,9 -q
same_as xp1200_filters Prwydata.txt Pnavdata.txt messages
end

begin oa
run 0 --ourairports oa --lf
same_as oa Prwydata.txt Pnavdata.txt messages
line_ends lf Prwydata.txt Pnavdata.txt
checked_clean Prwydata.txt Pnavdata.txt
end

begin oa_gz
run 0 --ourairports oagz --lf
same_as oa Prwydata.txt Pnavdata.txt
end

begin oa_nav
run 0 --ourairports oa --nav nav1100.dat --country GB
same_as oa_nav Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
end

begin fg_as_shipped
run 0 --apt fg/apt.dat --nav fg/nav.dat
same_as fg_as_shipped Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
says "rows not needed, by row code: 10 x3"
end

begin fg_icao_only
run 0 --apt fg/apt.dat --nav fg/nav.dat --icao-only -q
same_as fg_icao_only Prwydata.txt
end

# Faults of the records at well-known airports (FlightGear's world data):
# YWLG's ends swapped, YSWP's too with a localizer on its 18; close
# parallels and a water lane (KHWD, KSFF), antennas short of the far end
# (KBUR) and beyond the near end (KGSO) join the runway their source names;
# UATE's 30R, renumbered 30, joins by place; a seaplane base's "[S]" and a
# heliport's "[H]" are no part of their names; repeated navaid lines are
# written once.
begin fg_records
run 0 --apt records/apt.dat --nav records/nav.dat
same_as fg_records Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
for line in "YWLG WALGETT 05_-_5330_0_048 23_-_5330_0_228 18_-_3825_0_180 36_-_3825_0_360" \
    "KHWD HAYWARD_EXECUTIVE 10R_-_5686_0_107 28L_IHWD_" "21R_IFLZ_" "KBUR BOB_HOPE 08_IBUR_" \
    "05L_ILLG_" "UATE AKTAU 12_-_8662_0_115 30_ITA_" "18_ISWP_" "BULL BULL_HARBOR_SPB "; do
    grep -q "$line" "../$name/Prwydata.txt" || fail "no '$line'"
done
says "put right: runway ends swapped in the source 4, localizers joined by place (renumbered runways) 1, repeated navaid lines 3"
run 0 --apt records/apt.dat --heliports -q
grep -q "^WA99 HARBORVIEW_MEDICAL_CENTER" "../$name/Prwydata.txt" || fail "a heliport's [H] is no part of its name"
end

# OurAirports: headings from the thresholds, not the heading column (RJTT
# 23 from its places; SSKW without places from the column); US fields under
# their FAA codes (KF45 is F45, and its localizer joins); helipads are no
# runways; the same navaid line twice is written once.
begin oa_records
run 0 --ourairports oa_records --lf
same_as oa_records Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
run 0 --ourairports oa_records --nav oa_records/nav.dat
same_as oa_records_nav Prwydata.txt
grep -q "F45 NORTH_PALM_BEACH_COUNTY_GENERAL_AVIATIO 08R_IGHO_8000_109.50_098" "../$name/Prwydata.txt" ||
    fail "F45's IGHO should join its 08R"
end

# Computed courses are magnetic: Christchurch lies where the declination is
# about 24.6 degrees east, Kangerlussuaq 25.6 west (2026).  ICH's bearing
# field packs its published magnetic course before the true one (14 x 360 +
# 38): the published 014 is written, not the 013 computed.
begin magnetic
run 0 --apt magnetic/apt.dat --nav magnetic/nav.dat
same_as magnetic Prwydata.txt
grep -q "NZCH CHRISTCHURCH_INTL 02_ICH_11812_109.90_014 20_-_11812_0_193" "../$name/Prwydata.txt" ||
    fail "NZCH: 02 has the published 014; 20, 218 true less 24.6 east, 193"
grep -q "28_ISF_9534_109.30_311" "../$name/Prwydata.txt" ||
    fail "BGSF 28: 285.3 true plus 25.6 west should give 311"
end

# has LINE FILE: the output file holds the whole line
has() {
    tr -d '\r' < "../$name/$2" | grep -q -x -F -- "$1" || fail "$2 lacks '$1'"
}

# Published courses (nav.dat 1200): KSEA's both packed; KNTH 36 packs a
# magnetic 0 (360) before a true 12, its 09 is an old-style true bearing
# (95) and gets the computed course.  Runways on true north (T) get true
# courses, Thule 08T its localizer's true 79.5 though the row packs a
# magnetic 108.  TACAN rows, in the band or not, are other types.
begin packed
run 0 --apt packed/apt.dat --nav packed/nav.dat
same_as packed Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
has "KSEA SEATTLE-TACOMA_INTL 16L_ISNQ_11796_110.30_164 34R_ISEA_11796_111.70_344" Prwydata.txt
has "KNTH NORTH_TEST_FIELD 36_INTH_8202_108.10_360 18_-_8202_0_187 09_INTE_6562_109.30_090 27_-_6562_0_270" Prwydata.txt
has "BGTL THULE_AIR_BASE 08T_ITHU_9843_109.90_080 26T_-_9843_0_260" Prwydata.txt
has "CYLT ALERT 05T_-_5461_0_048 23T_-_5461_0_228" Prwydata.txt
says "courses: published 3, computed 3, true (runways designated T) 4, from the designator 0"
says "skipped: outside the filters 0, other type 3"
grep -q "TACAN\|^NUW\|^TCM" "../$name/Pnavdata.txt" && fail "a TACAN is written"
end

# OurAirports: T runways from positions and from the heading column alone.
begin oa_true
run 0 --ourairports oa_true
same_as oa_true Prwydata.txt
has "CYLT ALERT_AIRPORT 05T_-_5500_0_048 23T_-_5500_0_228" Prwydata.txt
has "CYCB CAMBRIDGE_BAY_AIRPORT 13T_-_5077_0_131 31T_-_5077_0_311" Prwydata.txt
end

# ---- Simulator folders ----

# X-Plane 12: Custom Data over default data; the packs in the order of
# scenery_packs.ini, a disabled one skipped, a pack's KBBB before Global
# Airports' own, Global Airports' KAAA before a later pack's; a pack whose
# folders are named in other case.
begin xp12
run 0 --xplane "xp12/X-Plane 12"
same_as xp12 Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
has "KBBB BRAVO_IMPROVED 10_IBBB_5249_108.50_099 28_-_5249_0_280" Prwydata.txt
has "KAAA ALPHA_GLOBAL 18_IAAA_6562_109.90_180 36_-_6562_0_360" Prwydata.txt
has "CUS CUSTOM_CYCLE VOR 115.00" Pnavdata.txt
grep -q "KDDD\|DEF" "../$name/Prwydata.txt" "../$name/Pnavdata.txt" && fail "a disabled pack or the default data is read"
says "disabled and skipped: 'Custom Scenery/Disabled Pack'"
says "  airports: xp12/X-Plane 12/Custom Scenery/Late Pack/Earth Nav Data/APT.DAT"
says "repeated code 2"
end

# The same files named one by one: the same result.
begin several_apt
x="xp12/X-Plane 12"
run 0 --apt "$x/Custom Scenery/KBBB Improved Field/Earth nav data/apt.dat" \
    --apt "$x/Global Scenery/Global Airports/Earth nav data/apt.dat" \
    --apt "$x/Custom Scenery/Late Pack/Earth Nav Data/APT.DAT" --nav "$x/Custom Data/earth_nav.dat"
same_as xp12 Prwydata.txt Pnavdata.txt
says "airport KBBB comes again: the first one is kept"
end

# X-Plane 11: Global Airports under Custom Scenery, named as a pack.
begin xp11
run 0 --xplane "xp11/X-Plane 11" -q
same_as xp11 Prwydata.txt Pnavdata.txt
has "KEEE ECHO_SMALL_PACK 01_-_3281_0_010 19_-_3281_0_190" Prwydata.txt
says "navaids: Resources/default data/earth_nav.dat (no Custom Data/earth_nav.dat)"
end

begin flightgear
run 0 --flightgear fgdata
same_as fg_as_shipped Prwydata.txt Pnavdata.txt
says "  airports: fgdata/Airports/apt.dat.gz"
end

# The simulator's own scenery, the 2004 release's layout: SCENERY.CFG in its
# folder, areas in layer order (Area.007 names Area.001's folder and is
# read once, at its layer 1), the add-on's KADD above the base's (a new ILS
# frequency, a new runway) and its SUB VOR a little moved; the inactive
# area's KBAS and INA never show; the absolute Local= is read; the missing
# folder is named; each damaged file is named and skipped, every good one
# read (KGUD, KZRA before a size 0, the NDB beside a later record form).
# Courses from the records' own variation: KBAS (15 W) 17 on IBAS, 157.3
# true + 15.0 = 172.3, 172; its 35 from the runway, 157 + 180 + 15 = 352.
# NZCX (east: stored 360 - E) 02 on ICX, 43.4 + 336.0 = 379.4, 019; its 20,
# 223.2 + 336.5 = 559.7, 200.  KTWO's two ends on one frequency, 92.1 and
# 272.1 + 356.5: 089, 269.  A sign error would give 142, 067, 096.
begin scenery_fs9
run 1 --scenery scenery/fs9
sed "s#$work/in/#IN/#g" "../$name.messages" > ../messages.txt && mv ../messages.txt "../$name.messages"
same_as scenery_fs9 Prwydata.txt Pnavdata.txt messages
checked_clean Prwydata.txt Pnavdata.txt
has "KBAS BASE_FIELD 17_IBAS_8202_110.30_172 35_-_8202_0_352" Prwydata.txt
has "NZCX CROSS_HARBOUR 02_ICX_9843_109.90_019 20_-_9843_0_200" Prwydata.txt
has "KTWO TWIN_ENDS 09_ITWA_9186_109.50_089 27_ITWB_9186_109.50_269" Prwydata.txt
has "KADD ADDON_FIELD 18_IADD_6890_109.10_185 36_-_6890_0_005 09_-_3937_0_095 27_-_3937_0_275" Prwydata.txt
has "SUB SUBURB_NEW VOR 116.40" Pnavdata.txt
grep -q "INACTIVE\|^INA \|KCUT\|KZRB\|^DMO \|^VTT " "../$name/Prwydata.txt" "../$name/Pnavdata.txt" &&
    fail "an inactive area's, a damaged file's, a DME's or a VOT's record is written"
grep -q "^I[A-Z]* " "../$name/Pnavdata.txt" && fail "an ILS is in the navaid file"
says "missing, skipped: Area.005 'Gone': no folder scenery/fs9/Addon Scenery/Gone"
says "inactive, skipped: Area.003 'Old Addon'"
says "courses: published 0, computed 0, true (runways designated T) 0, from the designator 0, from the simulator's variation 22"
end

# The later release: its scenery.cfg where it keeps it, named with
# --scenery-cfg; an add-on area updates the VOR FSV.  KFSX (14 W) 31 on
# IFSX, 298.2 + 14.0 = 312.2, 312; 13 from the runway, 118 + 14 = 132.
begin scenery_fsx
x=scenery/fsx
run 0 --scenery "$x/FSX" --scenery-cfg "$x/ProgramData/Microsoft/FSX/Scenery.CFG" --lf
same_as scenery_fsx Prwydata.txt Pnavdata.txt messages
line_ends lf Prwydata.txt Pnavdata.txt
has "KFSX LATER_FIELD 13_-_7874_0_132 31_IFSX_7874_111.50_312" Prwydata.txt
has "FSV FSX_VOR_UPDATED VOR 115.75" Pnavdata.txt
run 1 --scenery scenery/fs9 --icao KB,NZ -q
[ "$(cut -d' ' -f1 "../$name/Prwydata.txt" | tr -d '\r' | tr '\n' ' ')" = "KBAS NZCX " ] ||
    fail "--icao KB,NZ on the scenery: KBAS NZCX"
end

# --country by ISO code or name against apt.dat's free text; a text that
# names no country is reported once.
begin country_by_name
run 0 --xplane "xp12/X-Plane 12" --country "United States"
[ "$(cut -d' ' -f1 "../$name/Prwydata.txt" | tr -d '\r' | tr '\n' ' ')" = "KAAA KBBB KEEE " ] ||
    fail "United States and USA United States: KAAA KBBB KEEE"
says "country 'Atlantis' is no country known here"
run 0 --apt apt1200.dat --country DE,no -q
[ "$(cut -d' ' -f1 "../$name/Prwydata.txt" | tr -d '\r' | tr '\n' ' ')" = "EDDF EDFE ENAL " ] ||
    fail "Germany and Norway by code: EDDF EDFE ENAL"
end

# Airports but no navaid: the pair is still written, the navaid file empty.
begin empty_half
run 0 --apt apt1200.dat --nav nav1200.dat --box 49.9,8.6,49.99,8.7
says "note: no VOR or NDB passes the filters (--country, --box: 4 turned away): Pnavdata.txt is written empty"
has "EDFE FLUGPLATZ_EGELSBACH 08_-_4056_0_076 26_-_4056_0_256" Prwydata.txt
[ -f "../$name/Pnavdata.txt" ] && [ ! -s "../$name/Pnavdata.txt" ] || fail "Pnavdata.txt is not there and empty"
end

begin no_closing_99
run 0 --apt bad/apt_no_end.dat
says "bad/apt_no_end.dat: 5 lines read (no closing 99 line)"
end

begin unknown_rows_counted
run 0 --apt bad/apt_unknown_row.dat
says "bad/apt_unknown_row.dat: rows of codes not known here, passed over: 7777 x2 (first on line 6)"
end

# ---- Bad inputs that stop the run: exit 2, nothing written ----

fatal() {
    begin "$1"
    message=$2
    shift 2
    run 2 "$@"
    says "$message"
    says "nothing written"
    nothing_written
    end
}
fatal bad_cut_gz "cut.dat.gz:" --apt cut.dat.gz
fatal bad_cut_gz_reason "damaged compressed data: unexpected end of file" --apt cut.dat.gz
fatal bad_version "bad/apt715.dat:2: unsupported apt.dat version 715" --apt bad/apt715.dat
fatal bad_not_dat "bad/not_a_dat.txt:1: not an apt.dat file" --apt bad/not_a_dat.txt
fatal bad_nav_as_apt "nav1200.dat:4: not an apt.dat file: the first row is not an airport header" --apt nav1200.dat
fatal bad_apt_as_nav "apt1200.dat:4: not a nav.dat file" --nav apt1200.dat
fatal bad_csv_as_apt "oa/airports.csv:1: not an apt.dat file" --apt oa/airports.csv
fatal bad_missing_column "bad/oa_missing_column/runways.csv:1: missing column 'le_ident'" --ourairports bad/oa_missing_column
fatal bad_no_such_file "no-such-apt.dat: No such file or directory" --apt no-such-apt.dat
fatal bad_nav_cut_after_good_nav "cut.dat.gz:" --nav nav810.dat --apt cut.dat.gz
# A folder that is no simulator's says what was looked for.
fatal xplane_not_xplane "fg is not an X-Plane 11 or 12 folder: none of Custom Data/earth_nav.dat, Resources/default data/earth_nav.dat" --xplane fg
fatal xplane_no_folder "--xplane no-such-folder: no such folder" --xplane no-such-folder
fatal flightgear_not_fgdata "is not a FlightGear data folder (FGData): neither Airports/apt.dat.gz nor Navaids/nav.dat.gz" --flightgear "xp12/X-Plane 12"

begin bad_keeps_old_output
mkdir -p ../bad_keeps_old_output
printf 'OLD 1\r\n' > ../old.txt
"$conv" -o ../bad_keeps_old_output --apt apt850.dat > /dev/null 2>&1
cp ../old.txt ../bad_keeps_old_output/Prwydata.txt
"$conv" -o ../bad_keeps_old_output --apt cut.dat.gz > /dev/null 2>&1
cmp -s ../old.txt ../bad_keeps_old_output/Prwydata.txt || fail "the old Prwydata.txt was changed"
[ "$(ls -A ../bad_keeps_old_output)" = Prwydata.txt ] || fail "left files: $(ls -A ../bad_keeps_old_output)"
end

# A run whose result would be empty writes nothing: the pilot's files stay
# byte for byte, and the message names what left nothing.
empty_keeps() {
    begin "$1"
    message=$2
    shift 2
    rm -rf "../$name"
    mkdir -p "../$name"
    printf 'KOLD OLD_FIELD 16_-_5000_0_160\r\n\032tail' > "../$name/Prwydata.txt"
    printf 'OLD OLD VOR 113.90\r\n' > "../$name/Pnavdata.txt"
    cp "../$name/Prwydata.txt" ../old_rwy.txt
    cp "../$name/Pnavdata.txt" ../old_nav.txt
    "$conv" -o "../$name" --date 2026-01-01 "$@" > /dev/null 2> "../$name.messages"
    got=$?
    [ "$got" = 2 ] || fail "exit status $got, expected 2"
    says "$message"
    says "nothing written"
    cmp -s ../old_rwy.txt "../$name/Prwydata.txt" || fail "Prwydata.txt was changed"
    cmp -s ../old_nav.txt "../$name/Pnavdata.txt" || fail "Pnavdata.txt was changed"
    [ "$(ls -A "../$name" | tr '\n' ' ')" = "Pnavdata.txt Prwydata.txt " ] ||
        fail "left files: $(ls -A "../$name")"
    end
}
empty_keeps empty_filter "no airport passes the filters (5 read; turned away by --icao: 4)" \
    --apt apt1200.dat --icao ZZ
empty_keeps empty_both "no airport passes the filters (5 read; turned away by --icao: 4); no VOR or NDB passes" \
    --apt apt1200.dat --nav nav1200.dat --icao ZZ --box 0,0,1,1
empty_keeps empty_box "(8 read; turned away by --box: 5)" --apt apt850.dat --box -10,-10,-5,-5
# A filter that matches no airport changes nothing, whatever the navaids
# (a typing error in --icao on a whole world).
empty_keeps empty_filter_navaids "no airport passes the filters (5 read; turned away by --icao: 4)" \
    --apt apt1200.dat --nav nav1200.dat --icao XQZ
empty_keeps empty_filter_flightgear "no airport passes the filters" --flightgear fgdata --icao XQZ
empty_keeps empty_navaids "no VOR or NDB passes the filters (--country, --box: 6 turned away)" \
    --ourairports oa --country XX
empty_keeps empty_source "the navaid source holds no VOR or NDB" --nav fg/nav_localizers.dat
empty_keeps scenery_filter "no airport passes the filters (8 read; turned away by --icao: 8)" \
    --scenery scenery/fs9 --icao XQZ
empty_keeps scenery_nothing_good "no BGL file of the scenery library could be read (3 found, 1 of an older format" \
    --scenery scenery/bad_only
empty_keeps scenery_no_library "scenery/fsx/FSX holds no scenery library: no scenery.cfg (looked for scenery/fsx/FSX/scenery.cfg" \
    --scenery scenery/fsx/FSX
empty_keeps scenery_no_folder "--scenery no-such-folder: no such folder" --scenery no-such-folder

# ---- Bad rows: reported and skipped, the rest written, exit 1 ----

skipped_rows() {
    begin "$1"
    message=$2
    shift 2
    run 1 "$@"
    says "$message"
    checked_clean Prwydata.txt
    end
}
skipped_rows bad_short_runway "bad/apt_bad_rows.dat:5: land runway has 11 fields, 26 expected" --apt bad/apt_bad_rows.dat
skipped_rows bad_position "bad/apt_bad_rows.dat:6: runway 34R: bad threshold position" --apt bad/apt_bad_rows.dat
skipped_rows bad_row_code "bad/apt_bad_rows.dat:7: row code 'X1' is not a number" --apt bad/apt_bad_rows.dat
skipped_rows bad_header "bad/apt_bad_rows.dat:8: airport header has 2 fields" --apt bad/apt_bad_rows.dat
skipped_rows bad_csv_record "bad/oa_short_record/runways.csv:3: record has 8 fields, the header 20" --ourairports bad/oa_short_record

begin bad_header_skips_airport
run 1 --apt bad/apt_bad_rows.dat
same_as bad_rows Prwydata.txt
end

begin bad_nav_rows
run 1 --nav bad/nav_bad_rows.dat
says "bad/nav_bad_rows.dat:4: VOR SEA: bad frequency '1168'"
says "bad/nav_bad_rows.dat:5: navaid has 10 fields, at least 11 expected"
same_as bad_nav_rows Pnavdata.txt
end

begin bad_out_of_band
run 1 --nav bad/nav_out_of_band.dat
says "nav_out_of_band.dat:4: NDB BAD: frequency 99999 kHz is outside the band 190-1750: refused"
says "nav_out_of_band.dat:5: NDB LOW: 150 kHz is below the ADF's band 190-1750: left out"
says "nav_out_of_band.dat:7: VOR VLO: frequency 107.95 MHz is outside the band 108.00-117.95: refused"
says "nav_out_of_band.dat:8: VOR VHI: frequency 118.00 MHz is outside the band 108.00-117.95: refused"
says "nav_out_of_band.dat:10: localizer IHUG: bearing is not a bearing: refused"
says "nav_out_of_band.dat:11: localizer IINF: bearing is not a bearing: refused"
says "nav_out_of_band.dat:12: localizer IHIF: frequency 120.30 MHz is outside the band 108.00-117.95: refused"
says "refused as outside the radio bands: 7"
[ "$(tr -d '\r' < "../$name/Pnavdata.txt")" = "TOP TOP_OF_BAND NDB 1750
SEA SEATTLE VOR 116.80" ] || fail "only the values within the bands are written"
end

# ---- Usage ----

begin usage
run 2 --apt apt850.dat --ourairports oa
says "choose one airport source"
nothing_written
run 2 --box 1,2,3
says "--box wants"
run 2 --xplane "xp12/X-Plane 12" --apt apt850.dat
says "give it without --apt, --nav or --ourairports"
run 2 --xplane "xp12/X-Plane 12" --flightgear fgdata
says "choose one simulator folder"
run 2 --scenery scenery/fs9 --apt apt850.dat
says "the simulator's scenery (--scenery) gives both airports and navaids"
nothing_written
run 2 --scenery-cfg scenery/fs9/SCENERY.CFG
says "--scenery-cfg needs --scenery SIMDIR"
run 0 --help
grep -q "MAGNETIC course" "../$name.stdout" || fail "the usage text does not say which course is written"
grep -q "gets its TRUE course" "../$name.stdout" || fail "the usage text does not give the T runways' rule"
tr '\n' ' ' < "../$name.stdout" | tr -s ' ' | grep -q "An airport's highest definition wins whole" ||
    fail "the usage text does not give the scenery's layers"
tr '\n' ' ' < "../$name.stdout" | tr -s ' ' | grep -q "the runway end its row names where it fits that end .* else to the end it fits closely by place" ||
    fail "the usage text does not give the localizers' join"
run 2 --date 2026-02-30 --apt apt850.dat
says "--date wants a calendar date"
run 0 --date 2031-06-01 --apt apt850.dat -q
says "outside the magnetic model's span (2025 to 2030): courses are for 2030.0"
end

# ---- The checker on faulty data files ----

begin checker_findings
"$check" check/Prwydata.txt check/Pnavdata.txt > ../checker_findings.messages 2>&1
status=$?
[ $status = 1 ] || fail "exit status $status, expected 1"
same_as checker messages
end

begin checker_kinds
cp check/Pnavdata.txt ../navaids.txt
"$check" ../navaids.txt > /dev/null 2>&1
[ $? = 2 ] || fail "a file named navaids.txt needs --navaids"
"$check" --navaids ../navaids.txt > /dev/null 2>&1
[ $? = 1 ] || fail "--navaids ../navaids.txt should report findings"
"$check" no-such/Prwydata.txt > /dev/null 2>&1
[ $? = 2 ] || fail "a missing file should give exit status 2"
end

# checker_says WANT_STATUS FILE TEXT...: the checker ends with WANT_STATUS and
# its output holds every TEXT
checker_says() {
    want=$1
    file=$2
    shift 2
    "$check" "$file" > ../check.txt 2>&1
    got=$?
    [ "$got" = "$want" ] || { fail "checker exit status $got, expected $want"; cat ../check.txt; }
    for text in "$@"; do
        grep -F -q -- "$text" ../check.txt || { fail "checker says no '$text'"; cat ../check.txt; }
    done
}

# Classic Mac line ends: the converter's clean output with CR only.
begin checker_lone_cr
mkdir -p ../mac
tr -d '\n' < ../xp850/Pnavdata.txt > ../mac/Pnavdata.txt
tr -d '\n' < ../xp850/Prwydata.txt > ../mac/Prwydata.txt
checker_says 1 ../mac/Pnavdata.txt "Pnavdata.txt:1: lone CRs (classic Mac line ends) between" \
    "reads them as one navaid" "findings in 1 lines"
checker_says 1 ../mac/Prwydata.txt "Prwydata.txt:1: lone CRs (classic Mac line ends) between" \
    "with the codes, names and runways of the others as"
end

begin checker_utf8_mark
mkdir -p ../bom
{ printf '\357\273\277'; cat ../xp850/Prwydata.txt; } > ../bom/Prwydata.txt
checker_says 1 ../bom/Prwydata.txt \
    "Prwydata.txt:1: UTF-8 byte-order mark (bytes EF BB BF) at the start of the code" \
    "1 findings in"
end

# Past 20 findings of one kind the rest are counted.
begin checker_capped
mkdir -p ../capped
i=0
while [ $i -lt 25 ]; do
    printf 'k%03d LOWER\r\n' $i
    i=$((i + 1))
done > ../capped/Prwydata.txt
checker_says 1 ../capped/Prwydata.txt "Prwydata.txt:20: code 'k019'" \
    "Prwydata.txt: ... and 5 more of this kind (lower-case letters)" \
    "Prwydata.txt: 25 findings in 25 lines"
grep -q "Prwydata.txt:21:" ../check.txt && fail "the 21st finding of a kind is printed"
end

begin checker_errors
mkdir -p ../folder/Prwydata.txt
checker_says 2 ../folder/Prwydata.txt "Prwydata.txt: is a folder"
end

echo "golden: $passed passed, $failed failed"
[ $failed = 0 ]
