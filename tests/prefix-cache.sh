# Per-machine cache of the Wine prefixes the tests run in (sourced, POSIX sh).
#
# A prefix costs minutes to make (under emulation for the 32-bit one, a
# quarter of an hour), so it lives outside any build folder and is shared by
# every clone, `make clean` and CI run on the machine:
#   /var/cache/pelmora/wine-prefixes/      when root
#   ${XDG_CACHE_HOME:-~/.cache}/pelmora/wine-prefixes/   otherwise
#   $PELMORA_CACHE_DIR/wine-prefixes/      when that is set
# Each entry is named after what makes it: the Wine version that built it and
# a hash of the scripts that did (the recipe), so a Wine upgrade or a changed
# recipe makes a new entry instead of reusing a prefix that no longer fits.
# An entry is complete only once its stamp (written last) is there; beside
# it, ENTRY.lock serialises its creation.

pelmora_cache_root() {
    if [ -n "${PELMORA_CACHE_DIR:-}" ]; then
        printf '%s\n' "$PELMORA_CACHE_DIR"
    elif [ "$(id -u)" -eq 0 ]; then
        printf '%s\n' /var/cache/pelmora
    else
        printf '%s\n' "${XDG_CACHE_HOME:-$HOME/.cache}/pelmora"
    fi
}

# cache_version PACKAGE...: the Debian versions of the Wine packages that
# shape the prefix (a rebuilt package may change the DLLs a prefix holds
# copies of), the first one alone in front: "8.0~repack-4 wine64=8.0~repack-4".
cache_version() {
    _all=""
    for _p in "$@"; do
        _all="$_all $_p=$(dpkg-query -W -f='${Version}' "$_p" 2>/dev/null || echo none)"
    done
    printf '%s%s\n' "$(dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo unknown)" "$_all"
}

# cache_entry NAME VERSION RECIPE_FILE...: the entry's directory.
cache_entry() {
    _name=$1
    _version=$2
    shift 2
    _hash=$({ printf '%s\n' "$_version"; cat "$@"; } | sha256sum | cut -c1-12)
    _tag=$(printf '%s' "${_version%% *}" | sed 's/[^A-Za-z0-9.]\{1,\}/_/g')
    printf '%s/wine-prefixes/%s-%s-%s\n' "$(pelmora_cache_root)" "$_name" "$_tag" "$_hash"
}

CACHE_STAMP=.pelmora-complete

# cache_stamp ENTRY VERSION: marks the entry complete; call it last.
cache_stamp() {
    printf '%s\nmade %s\n' "$2" "$(date -u '+%Y-%m-%d %H:%M:%S UTC')" >"$1/$CACHE_STAMP.tmp" &&
        mv "$1/$CACHE_STAMP.tmp" "$1/$CACHE_STAMP"
}

# cache_sound ENTRY ARCH: the entry is complete and its files look whole: the
# stamp, both registry files with their header, the architecture, and the
# system DLLs that every process loads.  Prints why not and fails otherwise.
cache_sound() {
    if [ ! -f "$1/$CACHE_STAMP" ]; then
        if [ -n "$(ls -A "$1" 2>/dev/null)" ]; then
            echo "no completion stamp: half-made"
        else
            echo "not made yet"
        fi
        return 1
    fi
    for _reg in system.reg user.reg; do
        if [ "$(head -n 1 "$1/$_reg" 2>/dev/null)" != "WINE REGISTRY Version 2" ]; then
            echo "$_reg missing or damaged"
            return 1
        fi
    done
    if ! grep -q "^#arch=$2\$" "$1/system.reg"; then
        echo "system.reg is not for $2"
        return 1
    fi
    for _dll in ntdll.dll kernel32.dll user32.dll; do
        if [ ! -s "$1/drive_c/windows/system32/$_dll" ]; then
            echo "system32/$_dll missing"
            return 1
        fi
    done
    [ -e "$1/dosdevices/c:" ] || { echo "dosdevices/c: missing"; return 1; }
    return 0
}
