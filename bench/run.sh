#!/bin/sh
# make bench: every benchmark, figures printed, nothing asserted but that the
# runs themselves work.  Built without sanitizers (Release) in build/bench;
# the dialog's runs use the win64 build that make build leaves in build/win64.
#
#   1. the converter users run (build/tools, the tools preset) on a
#      world-size input, against decompressing that input (bench/convert),
#      and on FlightGear's world data when tools/flightgear-world.sh has
#      fetched it;
#   2. the converter on a simulator's whole scenery (bench/scenery: a
#      synthetic one of about 1.08 GB in 3,354 BGL files, SCENERY_MB sets
#      its size), against reading only the bytes its reader needs and
#      against cat of the whole tree, warm and cold;
#   3. the ICAO lookup's portable core per keystroke against the floor of
#      reading the same file (bench/lookup);
#   4. the same keystrokes counted in instructions under Valgrind, on a
#      runway file of FlightGear's world's size, and what each is on a
#      Pentium at 90 MHz (count_keystrokes.sh);
#   5. the dialog under Wine per keystroke, medians (run_dialog_bench.sh);
#   6. the long robustness run under Wine (run_robustness.sh).
#
# CONVERT_RUNS sets the converter's runs in 1 (default 5), SCENERY_RUNS those
# in 2 (default 3; SCENERY_COLD=0 leaves out the cold runs), BENCH_REPS the
# repetitions of 4 (default 9).  The machine's other load shows in every
# figure: compare medians of several runs.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
jobs=${JOBS:-2}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPELMORA_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target convert_bench lookup_bench lookup_count gen_lookup_world \
    gen_scenery scenery_bench >/dev/null
(cd "$root" && cmake --preset tools >/dev/null && cmake --build --preset tools -j"$jobs" >/dev/null)

echo "== converter"
"$build/bench/convert/convert_bench" "$root/build/tools/pelmora-convert" \
    "$build/bench/convert/world" "${CONVERT_RUNS:-5}"
# FlightGear's world data, once tools/flightgear-world.sh has fetched it.
fg=$root/build/flightgear/usr/share/games/flightgear
if [ -f "$fg/Airports/apt.dat.gz" ] && [ -f "$fg/Navaids/nav.dat.gz" ]; then
    echo
    echo "== converter, FlightGear's world data"
    "$build/bench/convert/convert_bench" "$root/build/tools/pelmora-convert" \
        "$build/bench/convert/flightgear" "${CONVERT_RUNS:-5}" \
        "$fg/Airports/apt.dat.gz" "$fg/Navaids/nav.dat.gz"
fi
echo
echo "== converter, a simulator's whole scenery (--scenery)"
sh "$root/bench/scenery/run_scenery_bench.sh" "${SCENERY_RUNS:-3}"
echo
echo "== ICAO lookup, portable core, native"
"$build/bench/lookup/lookup_bench" "$build/bench/lookup/world"
echo
echo "== ICAO lookup, instructions per keystroke (a Pentium at 90 MHz)"
sh "$root/bench/lookup/count_keystrokes.sh" "$build"
echo
echo "== selection dialog under Wine"
GEN=$build/bench/lookup/gen_lookup_world sh "$root/bench/lookup/run_dialog_bench.sh" "${BENCH_REPS:-9}"
echo
echo "== robustness under Wine, long run"
GEN=$build/bench/lookup/gen_lookup_world sh "$root/bench/lookup/run_robustness.sh"
