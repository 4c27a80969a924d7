#!/bin/sh
# The package install copes with a mirror caught in the middle of a sync:
# a stand-in apt-get, first on PATH, fails "update" for one index and the
# first install in the resolver, as measured on such a mirror, and records
# every call. The install must go on after the update, try once more with
# the release's own suite preferred, and succeed; where that fails too, it
# must fail with apt's message and the command to run by hand.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cat >"$tmp/apt-get" <<'APT'
#!/bin/sh
echo "$*" >>"$APT_CALLS"
case "$1" in
update)
    echo "Err:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
    ;;
install)
    case " $* " in
    *" -t "*) [ "$APT_RESOLVES" = with-suite ] && exit 0 ;;
    esac
    echo " zlib1g:i386 : Depends: libc6:i386 but it is not going to be installed"
    echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
    exit 100
    ;;
esac
APT
chmod +x "$tmp/apt-get"
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
[ -n "$codename" ] || fail "/etc/os-release names no codename"

install() { # install <when the stand-in resolves>; the calls go to $tmp/calls
    : >"$tmp/calls"
    APT_CALLS="$tmp/calls" APT_RESOLVES=$1 PATH="$tmp:$PATH" sh -c \
        '. "$0/scripts/apt.sh"; SUDO=""; apt_install wine wine32:i386' "$root" 2>"$tmp/err"
}

install with-suite || fail "the install failed: $(cat "$tmp/err")"
printf '%s\n' "update -q" \
    "install -y -q --no-install-recommends wine wine32:i386" \
    "install -y -q --no-install-recommends -t $codename wine wine32:i386" >"$tmp/expected"
diff "$tmp/expected" "$tmp/calls" || fail "apt-get was not called as expected"
[ "$(grep -c 'Mirror sync\|not every package list' "$tmp/err")" -eq 1 ] ||
    fail "the failed update is not reported in one line: $(cat "$tmp/err")"

if install never; then fail "an install that cannot be resolved succeeded"; fi
cat "$tmp/err"
grep -q 'pkgProblemResolver::Resolve generated breaks' "$tmp/err" || fail "apt's message is not shown"
grep -q "apt-get install --no-install-recommends -t $codename wine wine32:i386" "$tmp/err" ||
    fail "the command to run by hand is not shown"
echo "the install goes on past a failed update and resolves with the release's own suite"
