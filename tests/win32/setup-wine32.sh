#!/usr/bin/env bash
# Make 32-bit Windows programs runnable on a Debian x86_64 machine whose
# kernel refuses to execute 32-bit ELF binaries directly: the 32-bit Wine
# loader (itself an i386 ELF) is run through qemu user-mode emulation,
# hooked in with binfmt_misc, inside a dedicated 32-bit Wine prefix.
#
# Usage: tests/win32/setup-wine32.sh [PREFIX_DIR]
#
# Without PREFIX_DIR the prefix is the machine's cached one
# (tests/prefix-cache.sh), shared by every clone and run; its path is written
# to the file $WINE32_PREFIX_FILE when that is set.
#
# Idempotent: installs only missing packages, registers binfmt only when
# absent, and makes the prefix (tests/win32/prefix32.sh: creation, settings,
# a warm-up run of a tiny i686 test program, then the completion stamp) only
# when there is no whole one yet; a half-made or damaged one is made again.
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
#   WINE32_STALL_TIMEOUT=S an attempt at creating the prefix that writes
#                          nothing into it for S seconds hangs: it is ended
#                          and retried (default 300; creation-watchdog.sh)
#   WINE32_WATCH_INTERVAL=S  how often the watchdog looks (default 15)
#   WINE32_WINEDEBUG=...   WINEDEBUG for all Wine commands (default -all)

set -u -o pipefail

SKIP=77
WINE=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
QEMU=/usr/bin/qemu-i386
BINFMT_DIR=/proc/sys/fs/binfmt_misc
RUN_TIMEOUT=${WINE32_RUN_TIMEOUT:-1200}
CREATE_TIMEOUT=${WINE32_CREATE_TIMEOUT:-1800}
STALL_TIMEOUT=${WINE32_STALL_TIMEOUT:-300}
WATCH_INTERVAL=${WINE32_WATCH_INTERVAL:-15}

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

if [ $# -gt 1 ] || { [ $# -eq 1 ] && [ -z "$1" ]; }; then
    echo "usage: $0 [PREFIX_DIR]" >&2
    exit 2
fi
HERE=$(cd "$(dirname "$0")" && pwd)

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
    # A list that fails to download (a mirror in mid-sync) need not stop the
    # install: the lists already there may hold everything.
    apt-get -o DPkg::Lock::Timeout=600 update -q >/dev/null 2>&1 \
        || log "apt-get update reported errors; trying the install with the lists there are"
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

# ------------------------------------------------------------------ prefix
if [ $# -eq 1 ]; then
    mkdir -p "$1" || fail "cannot create $1"
    PREFIX=$(cd "$1" && pwd) || fail "cannot enter $1"
    VERSION="$ver"
else
    . "$HERE/../prefix-cache.sh"
    VERSION=$(cache_version wine32:i386 wine64)
    PREFIX=$(cache_entry win32 "$VERSION" "$HERE/prefix32.sh" "$HERE/hello32.c")
    mkdir -p "$PREFIX" || fail "cannot create $PREFIX"
fi
[ -z "${WINE32_PREFIX_FILE:-}" ] || printf '%s\n' "$PREFIX" >"$WINE32_PREFIX_FILE" \
    || fail "cannot write $WINE32_PREFIX_FILE"
. "$HERE/prefix32.sh"
. "$HERE/../prefix-cache.sh"
# A hung attempt at creating the prefix ends after minutes without progress
# instead of at the recipe's timeout.
. "$HERE/creation-watchdog.sh"
watch_prefix_creation

# Made by one process at a time: the others wait for it, then find it whole.
exec 9>"$PREFIX.lock" || fail "cannot create the lock file $PREFIX.lock"
flock 9
if why=$(cache_sound "$PREFIX" win32) && settings_ok; then
    log "the prefix $PREFIX is ready (made earlier)"
else
    log "making the prefix $PREFIX (${why:-settings missing}); under emulation this takes 10 to 25 minutes, once per machine; an attempt that stops making progress for ${STALL_TIMEOUT}s is ended and retried"
    # Wine's processes must not inherit the lock: the persistent server and
    # the services would hold it for good.
    make_prefix 9>&-
    cache_stamp "$PREFIX" "$VERSION" || fail "cannot stamp $PREFIX"
    why=$(cache_sound "$PREFIX" win32) || { rm -f "$PREFIX/$CACHE_STAMP"; fail "the new prefix is not whole: $why"; }
fi
exec 9>&-

if [ "${WINE32_KEEP_SERVER:-0}" = 1 ]; then
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    case $? in
        0 | 2) log "persistent wineserver running for $PREFIX" ;;
        *) fail "cannot start a persistent wineserver" ;;
    esac
else
    "$WINESERVER" -k 2>/dev/null || true
fi
log "OK: 32-bit Windows programs run (run them with: WINEPREFIX=$PREFIX WINEARCH=win32 WINEDEBUG=-all DISPLAY= $WINE prog.exe)"
exit 0
