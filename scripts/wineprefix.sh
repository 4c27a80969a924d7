#!/bin/sh
# Makes sure a Wine prefix exists at the given directory (32-bit, or 64-bit
# where QUELLON_WINEARCH says win64, see scripts/i386.sh) and reports
# Windows 98 to Quellon and to the test programs.
#
#   scripts/wineprefix.sh <prefix> [exe-name=version ...]
#   scripts/wineprefix.sh --template <template> [exe-name=version ...]
#   scripts/wineprefix.sh <prefix> --from <template> [exe-name=version ...]
#
# --template boots a prefix for tests to be copied from, at <template>
# followed by the kind of prefix (-win32 or -win64), unless one is there
# (and sets no versions: each copy has its own);
# --from rebuilds the prefix as a copy of that template, so that it starts
# without any settings, and keeps its Wine server up. Every
# exe-name=version pair sets the Windows version Wine reports to that
# program (win98 unless stated).
set -eu

mode=plain
if [ "${1:-}" = "--template" ]; then
    mode=template
    shift
fi
prefix=$1
shift
if [ "${1:-}" = "--from" ]; then
    mode=from
    template=$2
    shift 2
fi

export WINEARCH="${QUELLON_WINEARCH:-win32}"
export WINEDEBUG="${QUELLON_WINEDEBUG:--all}"
# No Mono or Gecko installers at boot.
export WINEDLLOVERRIDES="mscoree=;mshtml="

# Wine's own fonts (Marlett, whose glyphs draw the caption buttons, Tahoma,
# MS Sans Serif and the rest of its data folder) in the prefix's Fonts
# folder, where a Windows program's fonts are: Debian 12's 32-bit Wine does
# not find them in its data folder, and a request for them would get another
# face. Links, so that the prefix follows the installed package.
wine_fonts() { # wine_fonts <prefix>
    fonts="$1/drive_c/windows/Fonts"
    [ -d "$fonts" ] || return 0
    for font in /usr/share/wine/fonts/*; do
        [ -f "$font" ] && [ ! -e "$fonts/${font##*/}" ] || continue
        ln -s "$font" "$fonts/${font##*/}"
    done
}

boot() { # boot <dir>
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    WINEPREFIX="$1" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$1" wineserver -w
}

if [ "$mode" = template ]; then
    prefix="$prefix-$WINEARCH"
    if [ ! -f "$prefix/system.reg" ]; then
        boot "$prefix.new"
        # Test programs run in a virtual desktop, which draws window frames
        # for the screenshots and gives every program the same screen.
        WINEPREFIX="$prefix.new" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default \
            /f </dev/null >/dev/null 2>&1
        WINEPREFIX="$prefix.new" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
            /d 1024x768 /f </dev/null >/dev/null 2>&1
        WINEPREFIX="$prefix.new" wineserver -w
        # Only a template that was booted to the end is ever used.
        rm -rf "$prefix"
        mv "$prefix.new" "$prefix"
    fi
elif [ "$mode" = from ]; then
    template="$template-$WINEARCH"
    [ -f "$template/system.reg" ] || { echo "no prefix template at $template" >&2; exit 1; }
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    cp -a "$template" "$prefix"
    # The prefix is for a test run: its Wine server stays up until the run
    # stops it, so that every test program starts quickly.
    WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1
elif [ ! -f "$prefix/system.reg" ]; then
    boot "$prefix"
fi
# A prefix made before the fonts were linked gets them too.
wine_fonts "$prefix"
# The versions are set in each copy of the template, not in the template.
[ "$mode" != template ] || exit 0

export WINEPREFIX="$prefix"
setver() { # setver <exe> <version>
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$1" /v Version /d "$2" /f </dev/null >/dev/null 2>&1
}
setver Quellon.exe win98

for pair in "$@"; do
    case "$pair" in
    *=*) setver "${pair%%=*}" "${pair#*=}" ;;
    *) setver "$pair" win98 ;;
    esac
done

