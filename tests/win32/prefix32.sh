# The recipe of the 32-bit Wine prefix (sourced by setup-wine32.sh, bash):
# how it is created, the settings it gets, and the warm-up run that proves it
# and does, once, what Wine does on a prefix's first run.  The prefix cache
# keys its entries on a hash of this file and hello32.c, so any change here
# makes a new prefix.
# Needs: PREFIX, WINE, WINESERVER, RUN_TIMEOUT, CREATE_TIMEOUT, HERE and the
# log/fail/phase helpers of the caller.

# ------------------------------------------------------------------ prefix
export WINEPREFIX="$PREFIX"
export WINEARCH=win32
export WINEDEBUG=${WINE32_WINEDEBUG:--all}
export DISPLAY=
unset WAYLAND_DISPLAY

run_wine() { timeout -k 30 "$RUN_TIMEOUT" "$WINE" "$@"; }
# Waits until every process of the prefix's session ended and its server
# exited; gives up (status 1) after $1 seconds.
wait_server() {
    timeout -k 30 "$1" "$WINESERVER" -w
}

# Waits for the end of the prefix's creation.  Under emulation the desktop
# and device processes that wineboot starts were seen to sit idle for good
# after wineboot had finished, so the server never exits by itself.  Once
# wineboot has said the prefix is updated and the registry files have not
# changed for a minute (the server saves them every 30 s), the session is
# over and the server is stopped.
wait_boot() {
    local limit=$1 waited=0 newest age
    while [ "$waited" -lt "$limit" ]; do
        timeout 10 "$WINESERVER" -w && return 0
        waited=$((waited + 10))
        grep -q 'has been updated' "$PREFIX/wineboot.log" 2>/dev/null || continue
        newest=$(stat -c %Y "$PREFIX/system.reg" "$PREFIX/user.reg" "$PREFIX/wineboot.log" 2>/dev/null | sort -n | tail -n 1)
        age=$(( $(date +%s) - ${newest:-0} ))
        if [ "$age" -ge 60 ]; then
            "$WINESERVER" -k >/dev/null 2>&1 || true
            wait_server 30 || true
            return 0
        fi
    done
    return 1
}

# Settings the prefix needs here:
# - the null graphics driver: windows exist and get messages, nothing is drawn;
# - no menu builder, Mono or Gecko: useless here and expensive to start;
# - no crash debugger: under emulation it takes minutes and crashes itself,
#   while without it a crashing program simply ends with a failure status.
# Importing them with reg.exe would cost a whole emulated session (minutes),
# so they are written into the registry files while no wineserver has them
# loaded; the server reads the files when it starts.
settings_ok() {
    grep -q '^"Graphics"="null"' "$PREFIX/user.reg" 2>/dev/null &&
        grep -q '^"winemenubuilder.exe"=""' "$PREFIX/user.reg" 2>/dev/null &&
        ! awk '/^\[/ { in_sec = index($0, "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\AeDebug]") == 1 }
               in_sec && /^"Debugger"=/ { found = 1 } END { exit !found }' "$PREFIX/system.reg"
}

apply_settings() {
    local stamp tmp
    # A running server would overwrite the files when it saves the registry.
    "$WINESERVER" -k >/dev/null 2>&1 || true
    wait_server "$RUN_TIMEOUT" || fail "cannot stop the Wine processes of $PREFIX"
    stamp=$(date +%s)
    tmp="$PREFIX/system.reg.setup-tmp"
    awk '/^\[/ { in_sec = index($0, "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\AeDebug]") == 1 }
         !(in_sec && /^"Debugger"=/) { print }' "$PREFIX/system.reg" >"$tmp" \
        && mv "$tmp" "$PREFIX/system.reg" || fail "cannot edit $PREFIX/system.reg"
    # A section may appear twice: the server merges it on load and writes it
    # once on its next save.
    if ! grep -q '^"Graphics"="null"' "$PREFIX/user.reg"; then
        printf '\n[Software\\\\Wine\\\\Drivers] %s\n"Graphics"="null"\n' "$stamp" \
            >>"$PREFIX/user.reg" || fail "cannot edit $PREFIX/user.reg"
    fi
    if ! grep -q '^"winemenubuilder.exe"=""' "$PREFIX/user.reg"; then
        printf '\n[Software\\\\Wine\\\\DllOverrides] %s\n"mscoree"=""\n"mshtml"=""\n"winemenubuilder.exe"=""\n' \
            "$stamp" >>"$PREFIX/user.reg" || fail "cannot edit $PREFIX/user.reg"
    fi
    settings_ok || fail "the prefix settings did not reach $PREFIX/user.reg and system.reg"
}

wipe_prefix() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    wait_server "$RUN_TIMEOUT" || fail "cannot stop the Wine processes of $PREFIX"
    # Everything, the completion stamp first: the folder holds this prefix only.
    rm -f "$PREFIX/.pelmora-complete"
    find "$PREFIX" -mindepth 1 -delete || fail "cannot empty $PREFIX"
}

# One attempt at creating the prefix; returns non-zero if it did not complete.
create_prefix() {
    local boot_rc
    # Seed the user registry so that the very first desktop process already
    # uses the null driver: with no display and no driver, the desktop
    # start-up during wineboot was seen to deadlock under emulation.
    printf '%s\n' 'WINE REGISTRY Version 2' ';; All keys relative to REGISTRY\\User\\S-1-5-21-0-0-0-1000' \
        '' '#arch=win32' '' \
        '[Software\\Wine\\Drivers] 0' '"Graphics"="null"' '' \
        '[Software\\Wine\\DllOverrides] 0' '"mscoree"=""' '"mshtml"=""' '"winemenubuilder.exe"=""' \
        >"$PREFIX/user.reg" || fail "cannot write $PREFIX/user.reg"
    # The first process in a missing prefix starts wineboot to create it, but
    # waits at most 5 minutes for it, which emulation can exceed: then that
    # process goes on too early and fails (kernel32.dll not there yet) while
    # wineboot carries on. So its status says little; waiting for the server
    # to exit waits for every process of the session, and wineboot's closing
    # message tells whether the prefix was completed. Killing the session
    # early would leave a prefix that wineboot considers current but is not
    # complete.
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
        timeout -k 30 "$CREATE_TIMEOUT" "$WINE" wineboot --init \
        </dev/null >"$PREFIX/wineboot.log" 2>&1
    boot_rc=$?
    if ! wait_boot "$CREATE_TIMEOUT"; then
        log "wineboot still running after ${CREATE_TIMEOUT}s"
        return 1
    fi
    if ! grep -q '^#arch=win32' "$PREFIX/system.reg" 2>/dev/null ||
        ! grep -q 'has been updated' "$PREFIX/wineboot.log"; then
        tail -n 20 "$PREFIX/wineboot.log" | grep -v 'unexpected trap' >&2
        log "wineboot did not finish creating $PREFIX (status $boot_rc)"
        return 1
    fi
    return 0
}

# Builds hello32.exe and runs it: it prints, makes a window with a control and
# ends its message loop through a timer.
check_run() {
    local label=$1 dir="$PREFIX/selftest" out rc
    phase_begin "$label"
    mkdir -p "$dir" || fail "cannot create $dir"
    i686-w64-mingw32-gcc -O1 -Wall -o "$dir/hello32.exe" "$HERE/hello32.c" \
        -static-libgcc -luser32 -lkernel32 || fail "cannot build the i686 test program"
    # Output goes to files, not a pipe: Wine's system processes inherit the
    # handles and would keep a pipe open after the program itself exits.
    (cd "$dir" && run_wine ./hello32.exe </dev/null >"$dir/run.out" 2>"$dir/run.err")
    rc=$?
    out=$(cat "$dir/run.out")
    printf '%s\n' "$out" | sed 's/^/    | /'
    [ "$rc" -eq 0 ] || { cat "$dir/run.err" >&2; fail "hello32.exe exited with $rc"; }
    printf '%s\n' "$out" | tr -d '\r' | grep -qx 'hello32: pointer size 4' \
        || fail "hello32.exe did not report a 32-bit pointer size"
    printf '%s\n' "$out" | tr -d '\r' | grep -qx 'hello32: static control created' \
        || fail "hello32.exe did not create its window"
    printf '%s\n' "$out" | tr -d '\r' | grep -qx 'hello32: message loop ended by timer' \
        || fail "hello32.exe message loop did not end through its timer"
    phase_end
}

# Makes the prefix from nothing and warms it up.  The warm-up is the first
# process of the prefix: Wine starts its services and does its first-run work
# (fonts, the desktop), minutes under emulation.  Its one-time part stays in
# the prefix; the services stay up with the persistent server left running,
# so the next run's first process is just itself.
make_prefix() {
    phase_begin prefix
    wipe_prefix
    if ! create_prefix; then
        # Emulated Wine processes sometimes crash or hang during creation.
        log "prefix creation failed; retrying once from scratch"
        wipe_prefix
        create_prefix || fail "cannot create the prefix $PREFIX (see $PREFIX/wineboot.log)"
    fi
    apply_settings
    phase_end "created"
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 || fail "cannot start a persistent wineserver"
    check_run "warm-up: the prefix's first process (starts its system processes)"
}
