#!/bin/sh
# Screenshots of the setup window (build/win64/setup/pelmora-setup.exe)
# before and after making world data, and after adding the panel line, on a
# fake simulator folder: build/setup-shots/*.png.  Runs on $DISPLAY, or
# under a virtual X server, in a Wine prefix of its own where Wine draws the
# windows' frames itself (no window manager runs on the virtual server).
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build/setup-shots
prefix="$root/build/win64/wine-prefix-shots"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
run() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x800x24" "$@"; fi
}
win() { printf 'Z:%s' "$1" | tr / '\\'; }
if [ ! -f "$prefix/.pelmora-shots-ready" ]; then
    echo "creating the Wine prefix for the screenshots (once; a minute or two)"
    run /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    /usr/lib/wine/wineserver -w
    touch "$prefix/.pelmora-shots-ready"
fi
rm -rf "$out"
mkdir -p "$out/pkg/GAUGES" "$out/sim/GAUGES" "$out/sim/Aircraft/panel"
cp build/win64/setup/pelmora-setup.exe "$out/pkg/"
cp build/win64/PELMORA.GAU "$out/pkg/GAUGES/"
printf '[Window Titles]\r\nWindow00=Main Panel\r\nWindow01=Radios\r\n\r\n[Window00]\r\nfile=panel.bmp\r\ngauge00=Other!One, 1, 2\r\n\r\n[Window01]\r\ngauge00=Other!Two, 10, 20\r\ngauge01=Other!Three, 30, 40\r\n' \
    > "$out/sim/Aircraft/panel/panel.cfg"
export SIM="$(win "$out/sim")" OA="$(win "$root/tests/tools/fixtures/oa")" \
    PANEL="$(win "$out/sim/Aircraft/panel/panel.cfg")" SHOTS="$(win "$out")"
run /usr/lib/wine/wine64 build/win64/tests/setup/setup-driver.exe \
    "$(win "$out/pkg/pelmora-setup.exe")" "$(win "$root/scripts/setup-shots.txt")"
for shot in before after panel-line; do
    convert "$out/$shot.bmp" "$out/$shot.png" && rm -f "$out/$shot.bmp"
done
echo "screenshots: $out/before.png, $out/after.png, $out/panel-line.png"
