#!/bin/sh
# The shipped 32-bit module, run for real: the 32-bit host loads
# build/win32/PELMORA.GAU from its simulator folder under 32-bit Wine, which
# runs here through qemu's user-mode emulation.  Slow (about a minute per
# process start), so everything goes into two processes:
#   1. the session of tests/host/session32.txt with the shipped module: the
#      same expectations as the 64-bit runs;
#   2. the same session with a module built with the wrong calling
#      convention: the run must fail, which shows it guards what it is for.
#      The host checks the stack pointer after every call into the module and
#      stops with status 4 when it is off; a mismatch inside the module (its
#      calls to the host's services) crashes it before it returns, which the
#      host reports with status 5.
# Where the machine cannot run 32-bit programs, one line says so and the run
# is skipped (status 0).
cd "$(dirname "$0")/.."
root=$(pwd)
prefix="$root/build/win32/wine-prefix"
echo "== 32-bit run"
start=$(date +%s)
# The set-up's own check starts the prefix's system processes; the server it
# leaves running keeps them for the sessions below.
WINE32_KEEP_SERVER=1 bash tests/win32/setup-wine32.sh "$prefix"
status=$?
if [ $status -eq 77 ]; then
    exit 0
elif [ $status -ne 0 ]; then
    echo "32-bit run: the 32-bit Wine set-up failed (status $status)"
    exit 1
fi
# No debugger on a crash: under emulation it would take minutes to start.
export WINEPREFIX="$prefix" WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d"
/usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null
host() {
    module=$1
    name=$2
    timeout 1800 /usr/lib/wine/wine "$root/build/win32/pelmora-host.exe" \
        --sim "$root/build/win32/sim32/$name" --install "$module" --data "$root/data" \
        --script "$root/tests/host/session32.txt" --log "$root/build/win32/sim32/$name/events.log" \
        --timeout 1500 >"$root/build/win32/sim32/$name.out" 2>&1
    echo $?
}
mkdir -p build/win32/sim32
failed=0
rc=$(host "$root/build/win32/PELMORA.GAU" shipped)
if [ "$rc" -eq 0 ]; then
    echo "32-bit run: the shipped module passed the session"
else
    echo "32-bit run: the shipped module FAILED the session (status $rc):"
    cat build/win32/sim32/shipped.out
    failed=1
fi
rc=$(host "$root/build/win32/PELMORA_WRONG_CONVENTION.GAU" wrong-convention)
out=build/win32/sim32/wrong-convention.out
# The host's own line is the evidence; the status is 4 or 5, or the kill
# with which Wine ends a process that exits from inside a crash (137).
if [ "$rc" -ne 0 ] && grep -q -E "pelmora-host: (crashed|the module's .* calling convention does not match)" $out; then
    echo "32-bit run: a module with the wrong calling convention was caught (status $rc):"
    grep -E "pelmora-host: (crashed|the module's)" $out | tail -1
else
    echo "32-bit run: a module with the wrong calling convention was NOT caught (status $rc):"
    cat $out
    failed=1
fi
/usr/lib/wine/wineserver -k 2>/dev/null
echo "32-bit run took $(( $(date +%s) - start )) s"
exit $failed
