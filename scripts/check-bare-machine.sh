#!/bin/sh
# Shows that the README's two commands work on a bare machine, as a newcomer
# would run them. Run by maintainers before a release (as root; it is not
# part of the test run), once for each Debian release Quellon is built on:
#
#   scripts/check-bare-machine.sh [bookworm|trixie]
#
# It makes a minimal root of that Debian release (12, "bookworm", unless
# named) with debootstrap, from the package mirrors this machine uses, and
# gives it that release's own package sources: its suite, its updates and
# its security suite. It clones this repository's committed state into the
# root, runs the test command there as CI does (CI=true, no display), then
# the run command on a display of its own until Quellon's main window
# shows, then scripts/check-reproducible.sh, printing the time of each
# step. Afterwards it ends the processes of that root (and only those),
# unmounts what it mounted and removes the root. QUELLON_BARE_DIR names the folder the root is made in (/var/tmp
# unless set); QUELLON_BARE_KEEP=1 keeps the root for a look afterwards;
# QUELLON_BARE_BENCH=1 also runs the benchmark there at the end, which
# writes docs/performance.md (a copy is kept beside the root's folder).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)

release=${1:-bookworm}
case "$release" in
bookworm | trixie) ;;
*)
    echo "Usage: $0 [bookworm|trixie]: Debian 12 or 13, and \"$release\" is neither." >&2
    exit 2
    ;;
esac
if [ "$(id -u)" -ne 0 ]; then
    echo "The bare-machine check makes a root with debootstrap and mounts into it: run it as root." >&2
    exit 1
fi

# "<uri> <suite>" for each suite of this machine's package sources, of the
# deb822 form (*.sources) and of the one-line form (*.list).
source_suites() {
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk '
            function flush(i) { if (uri != "") for (i = 1; i <= n; i++) print uri, s[i]; uri = ""; n = 0 }
            /^[ \t]*$/ { flush(); next }
            /^URIs:/ { uri = $2 }
            /^Suites:/ { n = 0; for (i = 2; i <= NF; i++) s[++n] = $i }
            END { flush() }
        ' "$f"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk '$1 == "deb" { i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ } print $i, $(i + 1) }' "$f"
    done
}
# The mirror of the archive and the one of its security suites.
mirror=$(source_suites | awk '$1 ~ /^https?:/ && $2 !~ /-security$/ { print $1; exit }')
security=$(source_suites | awk '$1 ~ /^https?:/ && $2 ~ /-security$/ { print $1; exit }')
if [ -z "$mirror" ]; then
    echo "No Debian package mirror found in this machine's package sources (/etc/apt)." >&2
    exit 1
fi
if [ -z "$security" ]; then
    # Debian's mirrors keep the security suites beside the archive.
    security="${mirror%/debian}/debian-security"
fi
if ! command -v debootstrap >/dev/null 2>&1 || ! command -v git >/dev/null 2>&1; then
    . "$src/scripts/apt.sh"
    SUDO=""
    apt_install debootstrap git
fi
if [ ! -e "/usr/share/debootstrap/scripts/$release" ]; then
    echo "This machine's debootstrap does not know $release; update it: apt-get install debootstrap" >&2
    exit 1
fi

bare=$(mktemp -d "${QUELLON_BARE_DIR:-/var/tmp}/quellon-bare.XXXXXX")
mounted=""
cleanup() {
    # The processes whose root is the bare root, and no others.
    for round in 1 2 3; do
        pids=""
        for p in /proc/[0-9]*; do
            if [ "$(readlink "$p/root" 2>/dev/null)" = "$bare" ]; then
                pids="$pids ${p#/proc/}"
            fi
        done
        [ -n "$pids" ] || break
        # shellcheck disable=SC2086
        kill -9 $pids 2>/dev/null || true
        sleep 1
    done
    for m in $mounted; do
        umount -R "$bare$m" 2>/dev/null || umount -R -l "$bare$m" 2>/dev/null || true
    done
    if [ -f "$bare.times" ]; then
        cat "$bare.times"
        rm -f "$bare.times"
    fi
    if [ "${QUELLON_BARE_KEEP:-0}" = 1 ]; then
        echo "The root is kept in $bare." >&2
    else
        rm -rf "$bare"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s; }
t0=$(now)
step() { # step <what>: prints the time of the step that ended
    t=$(now)
    printf '%-44s %4d s\n' "$1" $((t - t0)) >>"$bare.times"
    printf '== %s: %d s\n' "$1" $((t - t0)) >&2
    t0=$t
}
: >"$bare.times"

echo "== Making a minimal $release root in $bare from $mirror" >&2
debootstrap --variant=minbase "$release" "$bare" "$mirror" >"$bare.debootstrap.log" 2>&1 || {
    tail -n 20 "$bare.debootstrap.log" >&2
    rm -f "$bare.debootstrap.log"
    exit 1
}
rm -f "$bare.debootstrap.log" "$bare/etc/apt/sources.list"
# The release's own package sources, as its installer writes them.
printf '%s\n' "Types: deb" "URIs: $mirror" "Suites: $release $release-updates" \
    "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" "" \
    "Types: deb" "URIs: $security" "Suites: $release-security" \
    "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" \
    >"$bare/etc/apt/sources.list.d/debian.sources"
cp /etc/hosts /etc/resolv.conf "$bare/etc/"
mount -t proc proc "$bare/proc" && mounted="/proc $mounted"
for fs in /sys /dev; do
    mount --rbind "$fs" "$bare$fs" && mounted="$fs $mounted"
    mount --make-rslave "$bare$fs"
done
step "minimal root (debootstrap)"

git clone -q "$src" "$bare/root/quellon"
step "clone"

# As a newcomer's shell: nothing of this machine's environment.
in_root() {
    chroot "$bare" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

echo "== The test command, as CI runs it" >&2
in_root CI=true sh -c 'cd /root/quellon && ./scripts/test.sh' || {
    step "test command (FAILED)"
    exit 1
}
step "test command (install, build, tests)"

echo "== The run command, until Quellon's main window shows" >&2
in_root sh -c '
    cd /root/quellon
    . ./scripts/xvfb.sh
    start_xvfb || exit 1
    ./scripts/run.sh >/tmp/run.log 2>&1 &
    i=0
    while ! xdotool search --name "^Quellon\$" >/dev/null 2>&1; do
        if [ $i -ge 300 ]; then
            echo "No window titled Quellon after 300 s. The run command said:" >&2
            cat /tmp/run.log >&2
            exit 1
        fi
        sleep 1
        i=$((i + 1))
    done
    echo "Quellon'"'"'s main window shows." >&2
    for prefix in /root/quellon/build/wine /root/quellon/build/wine64; do
        [ ! -d "$prefix" ] || WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done
' || {
    step "run command (FAILED)"
    exit 1
}
step "run command (until the main window shows)"

echo "== Two clean builds of the committed state, compared byte for byte" >&2
in_root sh -c 'cd /root/quellon && ./scripts/check-reproducible.sh' || {
    step "reproducible build (FAILED)"
    exit 1
}
step "reproducible build (two builds compared)"

if [ "${QUELLON_BARE_BENCH:-0}" = 1 ]; then
    echo "== The benchmark, which writes docs/performance.md" >&2
    in_root sh -c 'cd /root/quellon && rm -f docs/performance.md && ./scripts/bench.sh && [ -s docs/performance.md ]' || {
        step "benchmark (FAILED)"
        exit 1
    }
    cp "$bare/root/quellon/docs/performance.md" "$bare.performance.md"
    echo "== The benchmark wrote docs/performance.md (kept as $bare.performance.md)" >&2
    step "benchmark (scripts/bench.sh)"
fi

total=$(awk '{ s += $(NF - 1) } END { print s }' "$bare.times")
printf '%-44s %4d s\n' "in all" "$total" >>"$bare.times"
