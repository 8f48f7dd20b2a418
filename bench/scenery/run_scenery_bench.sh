#!/bin/sh
# The converter on a simulator's whole scenery: makes the synthetic scenery
# (gen_scenery) in build/bench/scenery/sim when it is missing or of another
# size, then times `pelmora-convert --scenery` on it (the optimised tools
# build) beside reading only the bytes the reader needs and beside cat of
# the whole tree; prints peak memory; warm runs (the page cache holding the
# tree) and, unless SCENERY_COLD=0, one cold run of each.
#
#   run_scenery_bench.sh [RUNS]        (default 3)
#
# SCENERY_MB sets the tree's size in MiB (default 1024: about 1.08 GB in
# 3,354 files; 64 makes a quick run of the same records in 556 files).
# Needs build/tools/pelmora-convert and the bench build (GEN and BENCH, by
# default those in build/bench).  Prints figures; fails only when a run does.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-3}
mb=${SCENERY_MB:-1024}
work=$root/build/bench/scenery
sim=$work/sim
gen=${GEN:-$root/build/bench/bench/scenery/gen_scenery}
bench=${BENCH:-$root/build/bench/bench/scenery/scenery_bench}
converter=${CONVERTER:-$root/build/tools/pelmora-convert}

# One copy of the tree, remade only when its stamp (size, seed) differs
# or it was left incomplete (the stamp is written last).
stamp=$("$gen" --megabytes "$mb" --stamp)
if [ "$(head -n 1 "$sim/generated.txt" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$sim"
    mkdir -p "$work"
    "$gen" --megabytes "$mb" "$sim" | tail -n 1
fi
cold=--cold
[ "${SCENERY_COLD:-1}" = 0 ] && cold=
"$bench" "$converter" "$sim" "$work/run" "$runs" $cold
