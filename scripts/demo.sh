#!/bin/sh
# The main job: the stand-in simulator with the module and the sample data,
# driven through a pilot's session; screenshots go to build/demo/.
# On a display ($DISPLAY) it runs there, otherwise under a virtual X server.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
prefix="$root/build/win64/wine-prefix-x"
mkdir -p build/demo
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
run() {
    if [ -n "$DISPLAY" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x800x24" "$@"; fi
}
if [ ! -f "$prefix/.pelmora-demo-ready" ]; then
    echo "creating the Wine prefix for the demo (once; this takes a minute or two)"
    # The dialog's font, where the machine has no Courier New of its own.
    run /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v "Courier New" /d "DejaVu Sans Mono" /f >/dev/null
    /usr/lib/wine/wineserver -w
    touch "$prefix/.pelmora-demo-ready"
fi
status=0
run /usr/lib/wine/wine64 build/win64/pelmora-host.exe --data "$root/data" \
    --script "$root/scripts/demo-session.txt" --log "$root/build/demo/events.log" || status=$?
for shot in panel-before dialog panel; do
    if [ -f "build/demo/$shot.bmp" ]; then
        convert "build/demo/$shot.bmp" "build/demo/$shot.png" && rm -f "build/demo/$shot.bmp"
    fi
done
echo "key events received (build/demo/events.log):"
cat build/demo/events.log
echo "screenshots: build/demo/dialog.png (KSEA looked up), build/demo/panel.png (after tuning)"
exit $status
