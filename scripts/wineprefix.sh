#!/bin/sh
# Makes sure a Wine prefix exists at the given directory (32-bit, or 64-bit
# where QUELLON_WINEARCH says win64, see scripts/i386.sh) and reports
# Windows 98 to Quellon and to the test programs.
#
#   scripts/wineprefix.sh <prefix> [--fresh] [exe-name=version ...]
#
# --fresh rebuilds the prefix from a booted template kept beside it (one
# for each kind of prefix), so that it starts without any settings. Every exe-name=version pair sets the
# Windows version Wine reports to that program (win98 unless stated).
set -eu

prefix=$1
shift
fresh=no
if [ "${1:-}" = "--fresh" ]; then
    fresh=yes
    shift
fi

export WINEARCH="${QUELLON_WINEARCH:-win32}"
export WINEDEBUG="${QUELLON_WINEDEBUG:--all}"
# No Mono or Gecko installers at boot.
export WINEDLLOVERRIDES="mscoree=;mshtml="

boot() { # boot <dir>
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    WINEPREFIX="$1" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$1" wineserver -w
}

if [ "$fresh" = yes ]; then
    template="$prefix.template-$WINEARCH"
    if [ ! -f "$template/system.reg" ]; then
        boot "$template"
        # Test programs run in a virtual desktop, which draws window frames
        # for the screenshots and gives every program the same screen.
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default \
            /f </dev/null >/dev/null 2>&1
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
            /d 1024x768 /f </dev/null >/dev/null 2>&1
        WINEPREFIX="$template" wineserver -w
    fi
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    cp -a "$template" "$prefix"
    # The prefix is for a test run: its Wine server stays up until the run
    # stops it, so that every test program starts quickly.
    WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1
elif [ ! -f "$prefix/system.reg" ]; then
    boot "$prefix"
fi

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

