#!/bin/sh
# Makes the Wine prefix the tests run in: a copy of the machine's cached
# prefix (tests/prefix-cache.sh), which is made once, with the null display
# driver, the first time any clone needs it.  The tests get a copy of their
# own because their sessions share one desktop and one server per prefix:
# two test runs at once on one prefix would see each other's windows.  The
# copy takes seconds; the server is kept running for the whole test run.
#   wine-prefix.sh PREFIX WINE [start|stop]
set -e
prefix=$1
wine=$2
action=${3:-start}
server=$(dirname "$wine")/wineserver
here=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml="
if [ "$action" = stop ]; then
    WINEPREFIX="$prefix" "$server" -k 2>/dev/null || true
    exit 0
fi

. "$here/prefix-cache.sh"

# The recipe: the settings below.  Creates ENTRY from nothing.
make_entry() {
    WINEPREFIX="$1" "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    WINEPREFIX="$1" "$server" -w
}

if [ ! -f "$prefix/.pelmora-ready" ]; then
    version=$(cache_version wine64 wine32:i386)
    entry=$(cache_entry win64 "$version" "$here/wine-prefix.sh")
    mkdir -p "$(dirname "$entry")"
    # Made by one process at a time; the others wait, then copy it.
    exec 9>"$entry.lock"
    flock 9
    if ! why=$(cache_sound "$entry" win64); then
        echo "making the cached Wine prefix $entry ($why; once per machine, a minute or two)"
        WINEPREFIX="$entry" "$server" -k 2>/dev/null || true
        rm -rf "$entry"
        mkdir -p "$entry"
        # Wine's processes must not inherit the lock.
        make_entry "$entry" 9>&-
        cache_stamp "$entry" "$version"
        if ! why=$(cache_sound "$entry" win64); then
            rm -f "$entry/$CACHE_STAMP"
            echo "the new Wine prefix $entry is not whole: $why" >&2
            exit 1
        fi
    fi
    WINEPREFIX="$prefix" "$server" -k 2>/dev/null || true
    rm -rf "$prefix" "$prefix.tmp"
    cp -a --reflink=auto "$entry" "$prefix.tmp"
    exec 9>&-
    mv "$prefix.tmp" "$prefix"
    touch "$prefix/.pelmora-ready"
fi
export WINEPREFIX="$prefix"
# Keeps the server up between the tests' processes.
"$server" -p >/dev/null 2>&1 </dev/null || true
# Starts the prefix's own services now rather than inside the first test,
# and proves the copy works.  A cached prefix that looks whole but does not
# start loses its stamp, so that the next run makes it again.
if ! "$wine" reg query 'HKCU\Software\Wine\Drivers' >/dev/null 2>&1 </dev/null; then
    rm -f "$prefix/.pelmora-ready"
    if [ -n "${entry:-}" ]; then
        exec 9>"$entry.lock"
        flock 9
        rm -f "$entry/$CACHE_STAMP"
        echo "the Wine prefix copied from $entry does not start; the next run makes it again" >&2
    else
        echo "the Wine prefix $prefix does not start; the next run copies it again" >&2
    fi
    exit 1
fi
