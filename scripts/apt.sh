# Sourced by scripts/deps.sh: apt_install installs Debian packages and copes
# with a package mirror caught in the middle of a sync.
#
#   SUDO="" or "sudo"; apt_install <package...>
#
# An "apt-get update" that fails for some index (seen: "File has unexpected
# size ... Mirror sync in progress?") is reported in one line; the install
# goes on with the lists that did arrive. An install that then cannot be
# resolved (the amd64 candidates come from a suite whose i386 index is
# missing, and Multi-Arch: same pairs need equal versions) is tried once more
# with the release's own suite preferred (-t <codename>). Only when that
# fails too does apt_install fail, with apt's message and the command to run
# by hand.

apt_codename() {
    (
        # shellcheck disable=SC1091
        . /etc/os-release 2>/dev/null
        echo "${VERSION_CODENAME:-}"
    )
}

apt_install() {
    apt_log=$(mktemp)
    export DEBIAN_FRONTEND=noninteractive
    if ! $SUDO apt-get update -q >"$apt_log" 2>&1; then
        first=$(grep -m 1 -E '^(E|Err):' "$apt_log" | cut -c 1-200)
        echo "apt-get update: not every package list arrived (${first:-exit status not 0}); installing from those that did." >&2
    fi
    if $SUDO apt-get install -y -q --no-install-recommends "$@" >"$apt_log" 2>&1; then
        rm -f "$apt_log"
        return 0
    fi
    codename=$(apt_codename)
    if [ -n "$codename" ]; then
        echo "apt-get install could not resolve the packages; trying once more with the release's own suite ($codename) preferred." >&2
        if $SUDO apt-get install -y -q --no-install-recommends -t "$codename" "$@" >"$apt_log" 2>&1; then
            rm -f "$apt_log"
            return 0
        fi
    fi
    release=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-}")
    case "$codename" in
    bookworm | trixie) known="" ;;
    *) known=" (the set-up is made for Debian 12 and 13; this machine runs ${release:-another system})" ;;
    esac
    echo "Could not install the packages Quellon needs: $*$known. apt said:" >&2
    grep -E '^(E:|W:| )' "$apt_log" | tail -n 20 | sed 's/^/  /' >&2
    rm -f "$apt_log"
    echo "Install them by hand, as root, then run this again:" >&2
    echo "  apt-get update; apt-get install --no-install-recommends${codename:+ -t $codename} $*" >&2
    return 1
}
