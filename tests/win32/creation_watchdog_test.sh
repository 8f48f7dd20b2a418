#!/usr/bin/env bash
# The watchdog over the 32-bit prefix's creation (creation-watchdog.sh) with
# the real recipe (prefix32.sh), but stand-ins for Wine: a "wine" whose
# wineboot plays one attempt of a plan (hang, finish, or work slowly and
# finish) and a "wineserver" that knows the stand-in's processes.  No qemu,
# no Wine; seconds instead of minutes.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d) || exit 1
cleanup() {
    # Whatever a failed check left running in the test's prefix.
    for pid in $(prefix_processes "$PREFIX" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failed=0
check() { # check WHAT CONDITION...
    local what=$1
    shift
    if ! "$@"; then
        echo "FAIL: $what"
        failed=1
    fi
}

export FAKE_STATE=$work/state
mkdir -p "$FAKE_STATE" "$work/bin"
cat >"$work/bin/wine" <<'EOF'
#!/usr/bin/env bash
# "wine wineboot --init": the next attempt of the plan.
n=$(( $(cat "$FAKE_STATE/attempts" 2>/dev/null || echo 0) + 1 ))
echo "$n" >"$FAKE_STATE/attempts"
echo $$ >>"$FAKE_STATE/clients"
mkdir -p "$WINEPREFIX/drive_c/windows/system32"
finish() {
    printf 'WINE REGISTRY Version 2\n\n#arch=win32\n' >"$WINEPREFIX/system.reg"
    echo "wine: configuration in '$WINEPREFIX' has been updated."
    exit 0
}
case $(sed -n "${n}p" "$FAKE_STATE/plan") in
    hang)
        echo x >"$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
        # One process the server does not know of, as a hung one may be.
        sleep 300 </dev/null >/dev/null 2>&1 &
        exec sleep 300 ;;
    slow)
        for i in 1 2 3 4 5 6; do
            echo "$i" >>"$WINEPREFIX/drive_c/windows/system32/progress.dll"
            sleep 1
        done
        finish ;;
    *) finish ;;
esac
EOF
cat >"$work/bin/wineserver" <<'EOF'
#!/usr/bin/env bash
# -k ends the stand-in's known processes, -w waits for them, -p does nothing.
alive() {
    local pid
    for pid in $(cat "$FAKE_STATE/clients" 2>/dev/null); do
        kill -0 "$pid" 2>/dev/null && return 0
    done
    return 1
}
case ${1:-} in
    -k) for pid in $(cat "$FAKE_STATE/clients" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null; done
        : >"$FAKE_STATE/clients" ;;
    -w) while alive; do sleep 0.2; done ;;
esac
exit 0
EOF
chmod +x "$work/bin/wine" "$work/bin/wineserver"

PREFIX=$work/prefix
WINE=$work/bin/wine
WINESERVER=$work/bin/wineserver
RUN_TIMEOUT=20
CREATE_TIMEOUT=120
HERE=$here
mkdir -p "$PREFIX"
log() { printf 'setup-wine32: %s\n' "$*" | tee -a "$work/log"; }
fail() { echo "FAIL: the recipe gave up: $*"; exit 1; }
. "$here/prefix32.sh"
STALL_TIMEOUT=2
WATCH_INTERVAL=1
. "$here/creation-watchdog.sh"
watch_prefix_creation

# The recipe's first steps of make_prefix: one attempt, one retry.
attempts() { # attempts PLAN...: the status of creating the prefix with PLAN
    printf '%s\n' "$@" >"$FAKE_STATE/plan"
    rm -f "$FAKE_STATE/attempts" "$FAKE_STATE/clients" "$work/log"
    touch "$work/log"
    started=$(date +%s)
    wipe_prefix
    if ! create_prefix; then
        wipe_prefix
        create_prefix || return 1
    fi
    return 0
}
took() { echo $(( $(date +%s) - started )); }
none_left() { [ -z "$(prefix_processes "$PREFIX")" ]; }

# A hang: ended after seconds without progress, every process of it gone
# (the one the server did not know of too), and the retry makes the prefix.
attempts hang finish
check "a hang, then a whole attempt: made" [ $? -eq 0 ]
check "a hang: two attempts" [ "$(cat "$FAKE_STATE/attempts")" = 2 ]
check "a hang: ended within 20 s (took $(took) s)" [ "$(took)" -lt 20 ]
check "a hang: said so" grep -q "no progress in the prefix" "$work/log"
check "a hang: no process of it left" none_left
check "a hang: the prefix made" grep -q 'has been updated' "$PREFIX/wineboot.log"

# Slow but making progress for longer than the stall time: never ended.
attempts slow
check "slow progress: made" [ $? -eq 0 ]
check "slow progress: one attempt" [ "$(cat "$FAKE_STATE/attempts")" = 1 ]
check "slow progress: not taken for a hang" sh -c "! grep -q 'no progress' '$work/log'"

# Two hangs: the recipe fails, in bounded time, and leaves nothing running.
attempts hang hang
check "two hangs: not made" [ $? -ne 0 ]
check "two hangs: two attempts" [ "$(cat "$FAKE_STATE/attempts")" = 2 ]
check "two hangs: within 40 s (took $(took) s)" [ "$(took)" -lt 40 ]
check "two hangs: no process left" none_left

[ $failed -eq 0 ] && echo "creation watchdog: all checks passed"
exit $failed
