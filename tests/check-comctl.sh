#!/bin/sh
# Checks that the sources use only names of the common controls that
# comctl32.dll 4.00, the one of Windows 95 as it shipped, has: every
# message, notification, style, state, field mask, structure and window
# class of the common controls that the given files use must be in the
# table (tests/comctl32-400.txt). A name the table marks "newer" may stand
# only where a comment on its line or the three lines above names
# "comctl32 4.00" (saying what that version does instead). Names that the
# sources define themselves (the framework's SBPS_ styles, say) are theirs.
# Prints each name that fails, with its place, and exits 1 then.
#
#   tests/check-comctl.sh <table> <source file or folder>...
set -eu
export LC_ALL=C
table=$1
shift
[ -f "$table" ] || { echo "no such table: $table" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.rc' \) | sort >"$tmp/files"
[ -s "$tmp/files" ] || { echo "no sources in $*" >&2; exit 2; }

# The families: prefixes of the constants, and the structures, classes and
# functions by name. (SB_ is also user32's scroll-bar family: such a name
# belongs in the table with that reason.)
families='(LVM|LVN|LVS|LVS_EX|LVIF|LVCF|LVCFMT|LVNI|LVIS|LVHT|LVSCW|LVFI|LVA|LVSIL|LVIR|HDM|HDN|HDI|HDS|HDF|HHT|TB|TBSTYLE|TBSTYLE_EX|TBSTATE|TBN|TBIF|BTNS|TTM|TTN|TTS|TTF|TTDT|SB|SBT|SBARS|CCS|NM|CDDS|CDRF|ICC|I)_[A-Z0-9_]+'
names='(LV_?ITEM|LV_?COLUMN|HD_?ITEM|NM_?LISTVIEW|NMTTDISPINFO|NMTOOLBAR|NMCUSTOMDRAW|TOOLTIPTEXT|TT?TOOLINFO|LV_?FINDINFO)[AW]?|TBBUTTON(INFO[AW]?)?|TBADDBITMAP|NMHDR|INITCOMMONCONTROLSEX|WC_[A-Z]+[AW]?|(STATUS|TOOLBAR|TOOLTIPS_|PROGRESS_|UPDOWN_|TRACKBAR_|HOTKEY_|ANIMATE_)CLASS(NAME)?[AW]?|InitCommonControls(Ex)?|CreateStatusWindow[AW]?|CreateToolbarEx|ImageList_[A-Za-z]+'

# "file:line:name" for every use, comments included (a name in a comment
# is as good as one in code for what the reader believes).
while read -r f; do
    grep -noE "\\b($families|$names)\\b" "$f" | sed "s|^|$f:|" || true
done <"$tmp/files" >"$tmp/uses"

# Names the sources define themselves.
while read -r f; do
    sed -nE 's/^[[:space:]]*#[[:space:]]*define[[:space:]]+([A-Za-z_][A-Za-z0-9_]*).*/\1/p' "$f"
done <"$tmp/files" | sort -u >"$tmp/own"

sed -e 's/#.*//' "$table" | awk 'NF >= 2 { print $1, $2 }' | sort -u >"$tmp/known"

status=0
checked=0
while IFS=: read -r file line name; do
    if grep -qx "$name" "$tmp/own"; then
        continue
    fi
    checked=$((checked + 1))
    kind=$(awk -v n="$name" '$1 == n { print $2; exit }' "$tmp/known")
    case "$kind" in
    4.00) ;;
    newer)
        from=$((line > 3 ? line - 3 : 1))
        if ! sed -n "${from},${line}p" "$file" | grep -q 'comctl32 4\.00'; then
            echo "newer than comctl32 4.00, with no note of what 4.00 does: $name ($file:$line)"
            status=1
        fi
        ;;
    *)
        echo "not known to be in comctl32 4.00: $name ($file:$line)"
        status=1
        ;;
    esac
done <"$tmp/uses"
if [ "$status" -eq 0 ]; then
    echo "$checked uses of $(cut -d: -f3 "$tmp/uses" | sort -u | wc -l) common-control names, all in comctl32 4.00 or noted"
fi
exit $status
