# Sourced by the scripts that run Windows programs ($root is the source
# folder). choose_standin: where this machine cannot run 32-bit x86
# programs (and so not 32-bit Wine), builds the 64-bit stand-in (build/x64),
# puts Wine's 64-bit loader and server first in PATH, makes new prefixes
# 64-bit, sets STANDIN_DIR to the build folder and succeeds; elsewhere it
# does nothing and fails.
choose_standin() {
    if "$root/scripts/runs-i386.sh"; then
        return 1
    fi
    echo "This machine cannot run 32-bit x86 programs: the 64-bit stand-in build runs instead." >&2
    # (Inside a condition errors do not stop the script: a failed build must.)
    STANDIN_DIR=$("$root/scripts/build-standin.sh") || exit 1
    export PATH="$root/scripts/wine64:$PATH" QUELLON_WINEARCH=win64
}
