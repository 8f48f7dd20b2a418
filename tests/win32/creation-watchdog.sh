# A watchdog over the creation of the 32-bit Wine prefix (sourced by
# setup-wine32.sh after the recipe, tests/win32/prefix32.sh; bash).
#
# Under emulation an attempt at creating the prefix was seen to hang for good
# (wineboot and its processes waiting on each other, nothing written), and
# the recipe's guard is its 30-minute timeout.  An attempt that makes
# progress writes into the prefix all the time: the system's files as they
# are copied in, the registry as the server saves its changes (every 30 s
# while there are changes).  So while wineboot has not said that the prefix
# is updated, the watchdog looks at the prefix every WATCH_INTERVAL seconds;
# when no file has appeared, gone, grown or been rewritten for STALL_TIMEOUT
# seconds, it ends the attempt: the prefix's server, which takes every
# process of the session with it, then every process left that runs in this
# prefix (WINEPREFIX in its environment).  The recipe's attempt then fails
# as any failed attempt does, and the recipe retries once from scratch.
#
# The recipe itself is not changed (the prefix cache keys on its text): its
# create_prefix is renamed recipe_create_prefix and called inside the watch.
#
# Needs: PREFIX, WINESERVER, log; STALL_TIMEOUT and WATCH_INTERVAL in seconds
# (defaults 300 and 15).

STALL_TIMEOUT=${STALL_TIMEOUT:-300}
WATCH_INTERVAL=${WATCH_INTERVAL:-15}

# prefix_fingerprint DIR: changes whenever a file or folder in DIR appears,
# goes, grows, shrinks or is rewritten.
prefix_fingerprint() {
    find "$1" -printf '%P %s %T@\n' 2>/dev/null | cksum
}

# prefix_processes DIR: the processes that run in the prefix DIR, by the
# WINEPREFIX in their environment.  This script and its subshells are not
# among them, even when it was started with that WINEPREFIX: they share its
# environment as it started, which every program it starts has changed.
prefix_processes() {
    local environ own
    own=$(cksum </proc/$$/environ)
    for environ in $(grep -lzxF "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null); do
        [ "$({ cksum <"$environ"; } 2>/dev/null)" = "$own" ] && continue
        environ=${environ#/proc/}
        printf '%s\n' "${environ%/environ}"
    done
}

# kill_prefix_processes: ends every process left in the prefix.
kill_prefix_processes() {
    local pid
    for pid in $(prefix_processes "$PREFIX"); do
        kill -KILL "$pid" 2>/dev/null || true
    done
}

# end_attempt: ends the prefix's session: its server, which takes every
# process it knows with it, then any process left in the prefix.
end_attempt() {
    WINEPREFIX="$PREFIX" "$WINESERVER" -k >/dev/null 2>&1 </dev/null || true
    sleep 2
    kill_prefix_processes
}

# watch_creation: the watchdog's loop; runs in the background until killed,
# then leaves the longest time it saw without progress in $PREFIX.stall.
watch_creation() {
    local last="" now still=0 longest=0 sleeper=""
    # Its own helpers must not look like processes of the prefix.
    unset WINEPREFIX
    trap '[ -z "$sleeper" ] || kill "$sleeper" 2>/dev/null; echo "$longest" >"$PREFIX.stall"; exit 0' TERM
    while :; do
        sleep "$WATCH_INTERVAL" &
        sleeper=$!
        wait "$sleeper"
        sleeper=""
        if grep -q 'has been updated' "$PREFIX/wineboot.log" 2>/dev/null; then
            # Done: the recipe's own wait ends the idle session.
            last=""
            still=0
            continue
        fi
        now=$(prefix_fingerprint "$PREFIX")
        if [ "$now" != "$last" ]; then
            last=$now
            still=0
            continue
        fi
        still=$((still + WATCH_INTERVAL))
        [ "$still" -le "$longest" ] || longest=$still
        if [ "$still" -ge "$STALL_TIMEOUT" ]; then
            log "no progress in the prefix for ${still}s: this attempt hangs; ending its Wine server and processes"
            end_attempt
            last=""
            still=0
        fi
    done
}

# watched COMMAND...: runs COMMAND with the watchdog beside it.  Says how
# long the attempt went at most without progress: the margin of the stall
# time on this machine.
watched() {
    local watchdog status
    rm -f "$PREFIX.stall"
    watch_creation &
    watchdog=$!
    "$@"
    status=$?
    kill "$watchdog" 2>/dev/null
    wait "$watchdog" 2>/dev/null
    log "this attempt went at most $(cat "$PREFIX.stall" 2>/dev/null || echo '?')s without a change in the prefix (a hang: ${STALL_TIMEOUT}s)"
    rm -f "$PREFIX.stall"
    # A failed attempt leaves nothing running into the next one.
    [ "$status" -eq 0 ] || kill_prefix_processes
    return "$status"
}

# watch_prefix_creation: every attempt of the recipe's create_prefix from now
# on runs watched.
watch_prefix_creation() {
    eval "recipe_$(declare -f create_prefix)"
    create_prefix() { watched recipe_create_prefix; }
}
