#!/bin/sh
# The shipped 32-bit module, run for real: the 32-bit host loads
# build/win32/PELMORA.GAU from its simulator folder under 32-bit Wine, which
# runs here through qemu's user-mode emulation.  Slow (a minute or more per
# process start), so everything goes into two processes:
#   1. the session of tests/host/session32.txt with the shipped module: the
#      same expectations as the 64-bit runs;
#   2. the same session with a module built with the wrong calling
#      convention: the run must fail, which shows it guards what it is for.
#      The host checks the stack pointer after every call into the module and
#      stops with status 4 when it is off; a mismatch inside the module (its
#      calls to the host's services) crashes it before it returns, which the
#      host reports with status 5.
# The prefix is the machine's cached one (tests/prefix-cache.sh), used in
# place: its persistent server keeps Wine's own services running between
# runs, so a run on a machine that has run it before starts only the host.
# One desktop per prefix, and the module looks for its windows by class and
# title, so runs on one machine take their turn (a lock beside the prefix).
# Where the machine cannot run 32-bit programs, one line says so and the run
# is skipped (status 0).
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
echo "== 32-bit run"
start=$(date +%s)
mkdir -p build/win32/sim32
WINE32_KEEP_SERVER=1 WINE32_PREFIX_FILE="$root/build/win32/sim32/prefix-path" \
    bash tests/win32/setup-wine32.sh
status=$?
if [ $status -eq 77 ]; then
    exit 0
elif [ $status -ne 0 ]; then
    echo "32-bit run: the 32-bit Wine set-up failed (status $status)"
    exit 1
fi
prefix=$(cat build/win32/sim32/prefix-path)
exec 8>"$prefix.session.lock"
if ! flock -n 8; then
    echo "32-bit run: waiting for another run on this machine to finish its sessions"
    flock 8
fi
# No debugger on a crash: under emulation it would take minutes to start.
export WINEPREFIX="$prefix" WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d"
# Wine's processes must not inherit the lock: the lingering server and the
# services would hold it.  The server and its services stay up for
# PELMORA_WINE32_LINGER seconds (default 30 minutes) after the run's last
# process, so that runs close together skip Wine's start-up, and then end:
# idle, the emulated services still cost a quarter of a core.
/usr/lib/wine/wineserver -p"${PELMORA_WINE32_LINGER:-1800}" >/dev/null 2>&1 </dev/null 8>&-
host() {
    module=$1
    name=$2
    t0=$(date +%s)
    timeout 1800 /usr/lib/wine/wine "$root/build/win32/pelmora-host.exe" \
        --sim "$root/build/win32/sim32/$name" --install "$module" --data "$root/tests/host/data" \
        --script "$root/tests/host/session32.txt" --log "$root/build/win32/sim32/$name/events.log" \
        --timeout 1500 >"$root/build/win32/sim32/$name.out" 2>&1 8>&-
    rc=$?
    echo "$(( $(date +%s) - t0 ))" >"$root/build/win32/sim32/$name.seconds"
    echo $rc
}
failed=0
rc=$(host "$root/build/win32/PELMORA.GAU" shipped)
took="$(cat build/win32/sim32/shipped.seconds) s"
if [ "$rc" -eq 0 ]; then
    echo "32-bit run: the shipped module passed the session ($took)"
else
    echo "32-bit run: the shipped module FAILED the session (status $rc, $took):"
    cat build/win32/sim32/shipped.out
    failed=1
fi
rc=$(host "$root/build/win32/PELMORA_WRONG_CONVENTION.GAU" wrong-convention)
took="$(cat build/win32/sim32/wrong-convention.seconds) s"
out=build/win32/sim32/wrong-convention.out
# The host's own line is the evidence; the status is 4 or 5, or the kill
# with which Wine ends a process that exits from inside a crash (137).
if [ "$rc" -ne 0 ] && grep -q -E "pelmora-host: (crashed|the module's .* calling convention does not match)" $out; then
    echo "32-bit run: a module with the wrong calling convention was caught (status $rc, $took):"
    grep -E "pelmora-host: (crashed|the module's)" $out | tail -1
else
    echo "32-bit run: a module with the wrong calling convention was NOT caught (status $rc, $took):"
    cat $out
    failed=1
fi
# 3. The shipped converter, with the runtime of its own and CRTDLL.DLL, on
#    the scenery fixture tree of the converter's tests (made natively, its
#    absolute folder written as Wine sees it): the same two files as the
#    golden ones.
conv=build/win32/sim32/convert
rm -rf "$conv" && mkdir -p "$conv/out"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
if "$root/build/native/tools/make_scenery_fixtures" "$root/$conv/scenery" \
       "$(winpath "$root/$conv/scenery")" >"$conv/make.out" 2>&1; then
    t0=$(date +%s)
    timeout 900 /usr/lib/wine/wine "$root/build/win32/tools/pelmora-convert.exe" \
        --scenery "$(winpath "$root/$conv/scenery/fs9")" --output "$(winpath "$root/$conv/out")" \
        >"$conv.out" 2>&1 8>&-
    rc=$?
    took="$(( $(date +%s) - t0 )) s"
    if [ "$rc" -eq 1 ] &&
        cmp -s "$conv/out/Prwydata.txt" tests/tools/expected/scenery_fs9/Prwydata.txt &&
        cmp -s "$conv/out/Pnavdata.txt" tests/tools/expected/scenery_fs9/Pnavdata.txt; then
        echo "32-bit run: the shipped converter wrote the scenery tree's files as expected ($took)"
    else
        echo "32-bit run: the shipped converter FAILED on the scenery tree (status $rc, $took):"
        tail -n 20 "$conv.out"
        failed=1
    fi
else
    echo "32-bit run: could not make the scenery fixture tree:"
    cat "$conv/make.out"
    failed=1
fi
# The server and Wine's services linger for the next run; stop them sooner
# with  WINEPREFIX=<prefix> /usr/lib/wine/wineserver -k
echo "32-bit run took $(( $(date +%s) - start )) s (prefix $prefix, its server lingers ${PELMORA_WINE32_LINGER:-1800} s)"
exit $failed
