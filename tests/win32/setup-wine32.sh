#!/usr/bin/env bash
# Make 32-bit Windows programs runnable on a Debian x86_64 machine whose
# kernel refuses to execute 32-bit ELF binaries directly: the 32-bit Wine
# loader (itself an i386 ELF) is run through qemu user-mode emulation,
# hooked in with binfmt_misc, inside a dedicated 32-bit Wine prefix.
#
# Usage: tests/win32/setup-wine32.sh PREFIX_DIR
#
# Idempotent: installs only missing packages, registers binfmt only when
# absent, creates the prefix only when PREFIX_DIR holds no prefix yet, and
# then proves the setup by building and running a tiny i686 test program.
#
# Exit status:
#   0   32-bit Windows programs run here
#   77  the machine refuses something this needs (binfmt mount/registration,
#       root rights, kernel exec); one line "32-bit run skipped: <reason>"
#   1   real failure (install, prefix creation or the test program failed)
#   2   usage error
#
# Environment knobs:
#   WINE32_KEEP_SERVER=1   leave a persistent wineserver running for the
#                          prefix afterwards (later runs then start faster;
#                          stop it with: WINEPREFIX=PREFIX_DIR /usr/lib/wine/wineserver -k)
#   WINE32_RUN_TIMEOUT=S   upper bound in seconds for each emulated Wine
#                          command, only a guard against a hang (default 1200)
#   WINE32_CREATE_TIMEOUT=S  the same for creating the prefix (default 1800);
#                          a creation that fails or hangs is retried once
#   WINE32_WINEDEBUG=...   WINEDEBUG for all Wine commands (default -all)

set -u -o pipefail

SKIP=77
WINE=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
QEMU=/usr/bin/qemu-i386
BINFMT_DIR=/proc/sys/fs/binfmt_misc
RUN_TIMEOUT=${WINE32_RUN_TIMEOUT:-1200}
CREATE_TIMEOUT=${WINE32_CREATE_TIMEOUT:-1800}

log() { printf 'setup-wine32: %s\n' "$*"; }
fail() { printf 'setup-wine32: FAILED: %s\n' "$*" >&2; exit 1; }
skip() { printf '32-bit run skipped: %s\n' "$*"; exit "$SKIP"; }

now() { printf '%s' "${EPOCHREALTIME:-$(date +%s.%N)}"; }
PHASE_NAME=""
PHASE_START=""
phase_begin() { PHASE_NAME=$1; PHASE_START=$(now); log "phase '$PHASE_NAME' ..."; }
phase_end() {
    local t
    t=$(awk -v a="$PHASE_START" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }')
    log "phase '$PHASE_NAME' took ${t}s${1:+ ($1)}"
}

if [ $# -ne 1 ] || [ -z "$1" ]; then
    echo "usage: $0 PREFIX_DIR" >&2
    exit 2
fi
mkdir -p "$1" || fail "cannot create $1"
PREFIX=$(cd "$1" && pwd) || fail "cannot enter $1"

# Serialise concurrent invocations on the same prefix.
if command -v flock >/dev/null 2>&1; then
    exec 9>"$PREFIX/.setup-wine32.lock" || fail "cannot create lock file in $PREFIX"
    flock 9
fi

is_root() { [ "$(id -u)" -eq 0 ]; }

# ---------------------------------------------------------------- packages
phase_begin packages
pkg_installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}
need_arch=0
dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386 || need_arch=1
missing=()
pkg_installed qemu-user || missing+=(qemu-user)
pkg_installed wine32:i386 || missing+=(wine32:i386)
# The 64-bit wineserver runs natively and serves the emulated 32-bit clients.
pkg_installed wine64 || missing+=(wine64)
command -v i686-w64-mingw32-gcc >/dev/null 2>&1 || missing+=(gcc-mingw-w64-i686-win32)

if [ "$need_arch" -eq 1 ] || [ ${#missing[@]} -gt 0 ]; then
    is_root || skip "not root, cannot install ${missing[*]:-i386 architecture}"
    export DEBIAN_FRONTEND=noninteractive
    if [ "$need_arch" -eq 1 ]; then
        log "adding dpkg architecture i386"
        dpkg --add-architecture i386 || fail "dpkg --add-architecture i386"
    fi
    # wine32:i386 may be missing only because the i386 lists were never fetched.
    log "installing: ${missing[*]}"
    apt-get -o DPkg::Lock::Timeout=600 update -q >/dev/null || fail "apt-get update"
    apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}" \
        >/tmp/setup-wine32-apt.log 2>&1 \
        || { tail -n 20 /tmp/setup-wine32-apt.log >&2; fail "apt-get install ${missing[*]}"; }
    phase_end "installed ${missing[*]}"
else
    phase_end "nothing missing"
fi
[ -x "$WINE" ] || fail "$WINE missing after install"
[ -x "$QEMU" ] || fail "$QEMU missing after install"

# ------------------------------------------------------------------ binfmt
phase_begin binfmt
binfmt_note="already registered"
if [ ! -e "$BINFMT_DIR/register" ]; then
    is_root || skip "binfmt_misc is not mounted and we are not root"
    mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" 2>/dev/null \
        || skip "cannot mount binfmt_misc on $BINFMT_DIR"
    [ -e "$BINFMT_DIR/register" ] || skip "binfmt_misc mounted but has no register file"
    binfmt_note="mounted binfmt_misc"
fi
if [ -e "$BINFMT_DIR/status" ] && [ "$(cat "$BINFMT_DIR/status")" != enabled ]; then
    is_root || skip "binfmt_misc is disabled and we are not root"
    echo 1 >"$BINFMT_DIR/status" 2>/dev/null || skip "cannot enable binfmt_misc"
fi
if [ ! -e "$BINFMT_DIR/qemu-i386" ]; then
    is_root || skip "no qemu-i386 binfmt entry and we are not root"
    # i386 ELF executables (ET_EXEC or ET_DYN, machine 3) go to qemu-i386.
    # The F flag opens the interpreter now, so it also works in other mount
    # namespaces; binfmt_misc itself decodes the \x escapes.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
        >"$BINFMT_DIR/register" 2>/dev/null \
        || skip "the kernel refused to register the qemu-i386 binfmt handler"
    binfmt_note="$binfmt_note; registered qemu-i386"
fi
if [ "$(head -n 1 "$BINFMT_DIR/qemu-i386")" != enabled ]; then
    is_root || skip "qemu-i386 binfmt entry is disabled and we are not root"
    echo 1 >"$BINFMT_DIR/qemu-i386" 2>/dev/null || skip "cannot enable the qemu-i386 binfmt entry"
    binfmt_note="$binfmt_note; enabled qemu-i386"
fi
# The 32-bit loader prints its version without a prefix or wineserver:
# a cheap proof that the kernel now hands i386 ELF files to qemu.
ver=$("$WINE" --version 2>&1) || skip "kernel still cannot execute the i386 Wine loader: ${ver//$'\n'/ }"
srv_ver=$("$WINESERVER" --version 2>&1 | head -n 1) || true
phase_end "$binfmt_note; loader $ver; server ${srv_ver:-unknown}"
# Loader and server must speak the same protocol; mixing releases fails.
upstream() { printf '%s' "$1" | sed -nE 's/^[Ww]ine[- ]([0-9][0-9.]*).*/\1/p'; }
[ -n "$(upstream "$ver")" ] && [ "$(upstream "$ver")" = "$(upstream "$srv_ver")" ] \
    || fail "Wine loader ($ver) and wineserver (${srv_ver:-none}) versions differ"

# ----------------------------------------------------- test program (build)
phase_begin build-test-exe
SELFTEST_DIR="$PREFIX/selftest"
mkdir -p "$SELFTEST_DIR" || fail "cannot create $SELFTEST_DIR"
cat >"$SELFTEST_DIR/hello32.c" <<'EOF'
/* Proves a 32-bit Windows console program runs: prints to stdout, creates a
   window with a static child control, and runs a message loop that a 100 ms
   timer ends by posting WM_QUIT. */
#include <windows.h>
#include <stdio.h>

static LRESULT CALLBACK wnd_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER) {
        KillTimer(hwnd, 1);
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int main(void)
{
    WNDCLASSA wc = {0};
    HWND top, label;
    MSG m;
    int got_quit = 0;

    setvbuf(stdout, NULL, _IONBF, 0);
    printf("hello32: pointer size %u\n", (unsigned)sizeof(void *));

    wc.lpfnWndProc = wnd_proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "hello32_top";
    if (!RegisterClassA(&wc)) {
        printf("hello32: RegisterClass failed %lu\n", GetLastError());
        return 1;
    }
    top = CreateWindowExA(0, "hello32_top", "hello32", WS_OVERLAPPEDWINDOW,
                          0, 0, 200, 100, NULL, NULL, wc.hInstance, NULL);
    if (!top) {
        printf("hello32: CreateWindowEx failed %lu\n", GetLastError());
        return 1;
    }
    label = CreateWindowA("STATIC", "hi", WS_CHILD | WS_VISIBLE,
                          0, 0, 50, 20, top, NULL, wc.hInstance, NULL);
    if (!label) {
        printf("hello32: static control failed %lu\n", GetLastError());
        return 1;
    }
    printf("hello32: static control created\n");

    if (!SetTimer(top, 1, 100, NULL)) {
        printf("hello32: SetTimer failed %lu\n", GetLastError());
        return 1;
    }
    for (;;) {
        BOOL r = GetMessageA(&m, NULL, 0, 0);
        if (r == -1) {
            printf("hello32: GetMessage failed %lu\n", GetLastError());
            return 1;
        }
        if (r == 0) {
            got_quit = 1;
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    DestroyWindow(top);
    if (!got_quit || m.wParam != 7) {
        printf("hello32: unexpected quit code %u\n", (unsigned)m.wParam);
        return 1;
    }
    printf("hello32: message loop ended by timer\n");
    return 0;
}
EOF
i686-w64-mingw32-gcc -O1 -Wall -o "$SELFTEST_DIR/hello32.exe" "$SELFTEST_DIR/hello32.c" \
    -static-libgcc -luser32 -lkernel32 || fail "cannot build the i686 test program"
phase_end

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

COMPLETE="$PREFIX/.setup-wine32-complete"

wipe_prefix() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    wait_server "$RUN_TIMEOUT" || fail "cannot stop the Wine processes of $PREFIX"
    rm -rf "$PREFIX/dosdevices" "$PREFIX/drive_c" "$PREFIX"/*.reg "$PREFIX/.update-timestamp" \
        "$PREFIX/wineboot.log"
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

phase_begin prefix
if [ -f "$PREFIX/system.reg" ] && [ ! -f "$COMPLETE" ] && [ -f "$PREFIX/wineboot.log" ] &&
    ! grep -q 'has been updated' "$PREFIX/wineboot.log"; then
    # Our own earlier creation was interrupted. Wineboot stamps the prefix as
    # current before it fills it, so it would never finish the job: start over.
    log "removing the half-created prefix left by an interrupted earlier run"
    wipe_prefix
fi
if [ -f "$PREFIX/system.reg" ]; then
    grep -q '^#arch=win32' "$PREFIX/system.reg" \
        || fail "$PREFIX holds a Wine prefix that is not 32-bit; use a separate folder"
    if settings_ok; then
        phase_end "already exists"
    else
        apply_settings
        phase_end "already exists; settings applied"
    fi
else
    if ! create_prefix; then
        # Emulated Wine processes sometimes crash or hang during creation.
        log "prefix creation failed; retrying once from scratch"
        wipe_prefix
        create_prefix || fail "cannot create the prefix $PREFIX (see $PREFIX/wineboot.log)"
    fi
    apply_settings
    phase_end "created"
fi
: >"$COMPLETE"

# ---------------------------------------------------------------- self-test
# A persistent server keeps the prefix's system processes alive between runs,
# so only the first run pays for starting them.
phase_begin wineserver
"$WINESERVER" -p </dev/null >/dev/null 2>&1
case $? in
    0) phase_end "started" ;;
    2) phase_end "one was already running for this prefix" ;;
    *) fail "cannot start a persistent wineserver" ;;
esac

check_run() {
    local label=$1 out rc
    phase_begin "$label"
    # Output goes to files, not a pipe: Wine's system processes inherit the
    # handles and would keep a pipe open after the program itself exits.
    (cd "$SELFTEST_DIR" && run_wine ./hello32.exe \
        </dev/null >"$SELFTEST_DIR/run.out" 2>"$SELFTEST_DIR/run.err")
    rc=$?
    out=$(cat "$SELFTEST_DIR/run.out")
    printf '%s\n' "$out" | sed 's/^/    | /'
    [ "$rc" -eq 0 ] || { cat "$SELFTEST_DIR/run.err" >&2; fail "hello32.exe exited with $rc"; }
    printf '%s\n' "$out" | tr -d '\r' | grep -qx 'hello32: pointer size 4' \
        || fail "hello32.exe did not report a 32-bit pointer size"
    printf '%s\n' "$out" | tr -d '\r' | grep -qx 'hello32: static control created' \
        || fail "hello32.exe did not create its window"
    printf '%s\n' "$out" | tr -d '\r' | grep -qx 'hello32: message loop ended by timer' \
        || fail "hello32.exe message loop did not end through its timer"
    phase_end
}
check_run "first run (starts system processes)"

if [ "${WINE32_KEEP_SERVER:-0}" = 1 ]; then
    log "persistent wineserver left running for $PREFIX"
else
    "$WINESERVER" -k 2>/dev/null || true
fi
log "OK: 32-bit Windows programs run (run them with: WINEPREFIX=$PREFIX WINEARCH=win32 WINEDEBUG=-all DISPLAY= $WINE prog.exe)"
exit 0
