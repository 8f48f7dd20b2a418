#!/bin/sh
# Checks the prefix cache's naming and its judgement of an entry: a cached
# prefix that is half-made or damaged must be made again, never used.
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
export PELMORA_CACHE_DIR="$work/cache"
. "$here/prefix-cache.sh"
failed=0
check() { # check WHAT EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then echo "FAIL: $1: expected '$2', got '$3'"; failed=1; fi
}

# Naming: under the cache root, and a new name for a new Wine or recipe.
printf 'recipe one\n' >"$work/r1"
printf 'recipe two\n' >"$work/r2"
a=$(cache_entry win32 "8.0-4 wine64=8.0-4" "$work/r1")
case $a in "$work/cache/wine-prefixes/win32-8.0_4-"*) ;; *) echo "FAIL: entry path $a"; failed=1 ;; esac
check "same inputs, same entry" "$a" "$(cache_entry win32 "8.0-4 wine64=8.0-4" "$work/r1")"
[ "$a" != "$(cache_entry win32 "8.0-4 wine64=8.0-4" "$work/r2")" ] || { echo "FAIL: recipe change kept the entry"; failed=1; }
[ "$a" != "$(cache_entry win32 "8.0-5 wine64=8.0-4" "$work/r1")" ] || { echo "FAIL: Wine upgrade kept the entry"; failed=1; }
[ "$a" != "$(cache_entry win32 "8.0-4 wine64=8.0-5" "$work/r1")" ] || { echo "FAIL: second package upgrade kept the entry"; failed=1; }
if [ "$(id -u)" -ne 0 ]; then
    check "user cache root" "$work/home/.cache/pelmora" "$(PELMORA_CACHE_DIR='' HOME="$work/home" XDG_CACHE_HOME='' pelmora_cache_root)"
fi

# A whole fake entry, then each way of being broken.
make_whole() {
    rm -rf "$1"; mkdir -p "$1/drive_c/windows/system32" "$1/dosdevices"
    ln -s ../drive_c "$1/dosdevices/c:"
    for r in system.reg user.reg; do printf 'WINE REGISTRY Version 2\n\n#arch=win32\n' >"$1/$r"; done
    for d in ntdll.dll kernel32.dll user32.dll; do echo x >"$1/drive_c/windows/system32/$d"; done
}
e="$work/entry"
mkdir -p "$e"
check "empty entry" "not made yet" "$(cache_sound "$e" win32)"
make_whole "$e"
check "no stamp" "no completion stamp: half-made" "$(cache_sound "$e" win32)"
cache_stamp "$e" "8.0-4"
check "stamped whole entry" "ok" "$(cache_sound "$e" win32 && echo ok)"
check "no stamp temp left" "" "$(ls -A "$e" | grep tmp)"
check "other architecture" "system.reg is not for win64" "$(cache_sound "$e" win64)"
printf 'garbage\n' >"$e/user.reg"
check "damaged user.reg" "user.reg missing or damaged" "$(cache_sound "$e" win32)"
make_whole "$e"; cache_stamp "$e" x; rm "$e/system.reg"
check "missing system.reg" "system.reg missing or damaged" "$(cache_sound "$e" win32)"
make_whole "$e"; cache_stamp "$e" x; : >"$e/drive_c/windows/system32/kernel32.dll"
check "empty kernel32.dll" "system32/kernel32.dll missing" "$(cache_sound "$e" win32)"
make_whole "$e"; cache_stamp "$e" x; rm "$e/dosdevices/c:"
check "no drive c:" "dosdevices/c: missing" "$(cache_sound "$e" win32)"
[ $failed -eq 0 ] && echo "prefix cache: all checks passed"
exit $failed
