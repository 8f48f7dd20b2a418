#!/bin/sh
# Makes the Wine prefix the tests run in, once: created when missing, with the
# null display driver, and its server kept running for the whole test run.
#   wine-prefix.sh PREFIX WINE [start|stop]
set -e
prefix=$1
wine=$2
action=${3:-start}
server=$(dirname "$wine")/wineserver
export WINEPREFIX="$prefix" WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree=;mshtml="
if [ "$action" = stop ]; then
    "$server" -k 2>/dev/null || true
    exit 0
fi
if [ ! -f "$prefix/.pelmora-ready" ]; then
    echo "creating the Wine prefix $prefix (once; this takes a minute or two)"
    mkdir -p "$prefix"
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    "$server" -w
    touch "$prefix/.pelmora-ready"
fi
# Keeps the server up between the tests' processes.
"$server" -p >/dev/null 2>&1 </dev/null
# Starts the prefix's own services now rather than inside the first test.
"$wine" reg query 'HKCU\Software\Wine\Drivers' >/dev/null 2>&1 </dev/null
