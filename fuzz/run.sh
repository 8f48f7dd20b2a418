#!/bin/sh
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for FUZZ_SECONDS
# seconds (default 60), from a corpus that is kept between runs and seeded
# with the sample data.  A crash or a failed check stops that target, leaves
# its input in build/fuzz/artifacts/ and fails the run: the input then
# becomes a case of tests/unit/fuzz_regressions_test.cpp.
#
#   FUZZ_SECONDS=600 sh fuzz/run.sh [TARGET...]
#       (reader records tuning searches apt_dat nav_dat ourairports bgl check)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
seconds=${FUZZ_SECONDS:-60}
targets=${*:-reader records tuning searches apt_dat nav_dat ourairports bgl check}

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing (Debian: apt-get install clang)" >&2
    exit 1
fi
probe=$build/probe
mkdir -p "$probe"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }\n' > "$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
    echo "fuzz: clang has no libFuzzer runtime (Debian: apt-get install libclang-rt-14-dev)" >&2
    exit 1
fi

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null

# Seeds: the sample data, whole and line by line, and entries of both lists.
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds/reader" "$seeds/records" "$seeds/tuning" "$seeds/searches" \
    "$seeds/apt_dat" "$seeds/nav_dat" "$seeds/ourairports" "$seeds/bgl" "$seeds/check"
for f in "$root"/data/Prwydata.txt "$root"/data/Pnavdata.txt; do
    n=$(basename "$f" .txt)
    { printf '\005'; cat "$f"; } > "$seeds/reader/$n"
    { printf '\205'; cat "$f"; } > "$seeds/reader/$n-after-filler"
    i=0
    while IFS= read -r line; do
        i=$((i + 1))
        printf '%s\n' "$line" > "$seeds/records/$n-$i"
    done < "$f"
done
printf '16L  ISNQ 110.30  163    11901' > "$seeds/tuning/runway"
printf 'SEA        SEATTLE                          VOR    116.80' > "$seeds/tuning/vor"
printf 'SEZ        SEDONA_NDB                       NDB    375' > "$seeds/tuning/ndb"
{ printf '\000KSEA\377'; cat "$root/data/Prwydata.txt"; } > "$seeds/searches/lookup"
{ printf '\000K\377'; cat "$root/data/Prwydata.txt"; } > "$seeds/searches/prefix"
{ printf '\004SEATTLE\377'; cat "$root/data/Prwydata.txt"; } > "$seeds/searches/find"
{ printf '\001SEA\377'; cat "$root/data/Pnavdata.txt"; } > "$seeds/searches/navaid"
# The checker: both files as they are, with classic Mac line ends and with a
# byte-order mark, and its own faulty samples.
{ printf '\000'; cat "$root/data/Prwydata.txt"; } > "$seeds/check/runways"
{ printf '\001'; cat "$root/data/Pnavdata.txt"; } > "$seeds/check/navaids"
{ printf '\001'; tr -d '\n' < "$root/data/Pnavdata.txt"; } > "$seeds/check/navaids-cr"
{ printf '\000\357\273\277'; cat "$root/data/Prwydata.txt"; } > "$seeds/check/runways-bom"
{ printf '\000'; cat "$root/tests/tools/fixtures/check/Prwydata.txt"; } > "$seeds/check/faulty-runways"
{ printf '\001'; cat "$root/tests/tools/fixtures/check/Pnavdata.txt"; } > "$seeds/check/faulty-navaids"

# The converter's readers: the test fixtures of each format.
fixtures=$root/tests/tools/fixtures
for f in "$fixtures"/apt*.dat "$fixtures"/fg/apt.dat "$fixtures"/magnetic/apt.dat "$fixtures"/bad/apt*.dat; do
    cp "$f" "$seeds/apt_dat/$(echo "$f" | tr / _)"
done
for f in "$fixtures"/nav*.dat "$fixtures"/fg/nav*.dat "$fixtures"/magnetic/nav.dat "$fixtures"/bad/nav*.dat; do
    cp "$f" "$seeds/nav_dat/$(echo "$f" | tr / _)"
done
for d in "$fixtures"/oa "$fixtures"/bad/oa_*; do
    { cat "$d/airports.csv"; printf '\000'; cat "$d/runways.csv"; printf '\000';
      cat "$d/navaids.csv" 2>/dev/null || true; } > "$seeds/ourairports/$(basename "$d")"
done

# The BGL reader: files of each form made by the tests' writer.
"$build/bgl_seeds" "$seeds/bgl"

status=0
for t in $targets; do
    corpus=$build/corpus/$t
    work=$build/work/$t
    rm -rf "$work"
    mkdir -p "$corpus" "$work" "$build/artifacts"
    case $t in
        tuning) max_len=256 ;;
        records) max_len=4096 ;;
        apt_dat|nav_dat|ourairports) max_len=16384 ;;
        *) max_len=8192 ;;
    esac
    log=$build/$t.log
    if (cd "$work" && "$build/fuzz_$t" -max_total_time="$seconds" -max_len=$max_len -timeout=10 \
            -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
            "$corpus" "$seeds/$t") > "$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$t: $runs inputs in $seconds s, corpus $(ls "$corpus" | wc -l) inputs: no failure"
    else
        echo "fuzz_$t: FAILED, see $log; the input is in $build/artifacts/"
        grep -E 'ERROR|check failed|SUMMARY' "$log" | head -5
        status=1
    fi
done
exit $status
