# Sourced by the scripts that run Windows programs ($root is the source
# folder): the one place that chooses how this machine runs the 32-bit
# programs of the build. choose_i386 sets I386_WAY to one of
#
#   native   the kernel runs 32-bit code: 32-bit Wine in 32-bit prefixes.
#   binfmt   the kernel hands 32-bit programs to qemu's user-mode emulator
#            (binfmt_misc, registered here when it is not yet, as root).
#   loader   as binfmt, but where binfmt_misc cannot be used: Wine starts
#            its 32-bit loader through scripts/emulator/wine.
#   standin  none of these (or QUELLON_STANDIN=1): the 64-bit stand-in
#            build of the same sources (build/x64) runs instead; STANDIN_DIR
#            is its build folder.
#
# QUELLON_EMULATE=1 registers qemu with binfmt_misc even where the kernel
# runs 32-bit code, to try the emulated way there. A registration that a
# run made is removed when the last run that uses it ends (i386_release),
# so the machine is left as it was found.
#
# In the two emulated ways the prefixes are 64-bit: the Wine server and the
# system's processes run natively and only the 32-bit programs (Quellon, the
# test programs, their helpers) are emulated. Their settings are in the
# 32-bit view of the registry (HKLM\Software\Wow6432Node). Small
# libraries make the emulation faithful and quick: the emulated loader's
# (scripts/emulator/loader-mmap.c, a start of a second instead of a minute;
# scripts/emulator/loader-tls.c, each thread on its own thread data) and
# the Wine server's (scripts/emulator/server-memory.c: the server sees an
# emulated program's memory where the program sees it). Exports
# QUELLON_WINEARCH (win32 or win64) and, for the emulated ways, PATH,
# QEMU_SET_ENV, QEMU_GUEST_BASE, QUELLON_SERVER_LIBRARY, QUELLON_WINE64
# and QUELLON_WINELOADER, which scripts/wine-run.sh, scripts/wineprefix.sh
# and scripts/wine64 use.
#
# What the scripts need to know of the choice, they ask here:
#   I386_BUILD          the build folder whose programs run (build, or the
#                       stand-in's build/x64);
#   i386_prefix <name>  the path of a prefix of that name in build/ (a
#                       64-bit one has "64" after the name);
#   I386_REG_VIEW       what Wine's reg is given to reach the registry as
#                       the 32-bit programs see it ("/reg:32" where they run
#                       emulated in a 64-bit prefix, else nothing; exported);
#   i386_release        called when a script ends: removes a registration
#                       with binfmt_misc that a run made, once no run uses it.
I386_WAY=""
STANDIN_DIR=""
I386_BUILD="$root/build"
I386_REG_VIEW=""
# The runs that use binfmt_misc: a file per run, named by its script's PID,
# and "registered" while the registration is one that a run made.
I386_USERS="${TMPDIR:-/tmp}/quellon-i386-users"
# The emulated loader's libraries, preloaded in this order.
I386_LOADER_LIBRARIES="loader-mmap loader-tls"

# The libraries of the emulated ways (scripts/emulator), built with the
# host's compiler: the emulated 32-bit loader's (loader-mmap.so and
# loader-tls.so) and the Wine server's (server-memory.so). Prints the folder.
i386_emulator_libraries() {
    out="$root/build/emulator"
    src="$root/scripts/emulator"
    mkdir -p "$out"
    for lib in $I386_LOADER_LIBRARIES; do
        if [ ! -f "$out/$lib.so" ] || [ "$src/$lib.c" -nt "$out/$lib.so" ]; then
            gcc -m32 -O2 -fPIC -shared -nostdlib -fno-stack-protector -o "$out/$lib.so" \
                "$src/$lib.c" >&2 || return 1
        fi
    done
    if [ ! -f "$out/server-memory.so" ] || [ "$src/server-memory.c" -nt "$out/server-memory.so" ]; then
        gcc -O2 -fPIC -shared -o "$out/server-memory.so" "$src/server-memory.c" -ldl >&2 || return 1
    fi
    echo "$out"
}

# Wine's folders as its 64-bit loader sees them, for the emulated ways
# where the system's 32-bit loader is a position-independent executable
# (Debian 13): there qemu puts it where Windows programs are loaded
# (0x00400000), and a program without base relocations, Quellon.exe among
# them, cannot start. Wine starts a 32-bit program through the loader
# beside its own 64-bit one, and finds its data folder from there too; so
# the tree in build/emulator/wine holds a copy of the 64-bit loader, the
# 32-bit loader of scripts/emulator/loader.c (linked at 0x7d000000, as
# Debian 12's is) beside it, and links to everything else of Wine's. Prints
# the tree's 64-bit loader; nothing where the system's loader is fine.
i386_wine_tree() { # i386_wine_tree <folder of the emulator's libraries>
    # The ELF header's type (offset 16): 3 for a position-independent one.
    [ "$(od -An -tu1 -j16 -N1 /usr/lib/wine/wine | tr -d ' ')" = 3 ] || return 0
    tree="$1/wine"
    mkdir -p "$tree/lib/wine" "$tree/lib/x86_64-linux-gnu" "$tree/lib/i386-linux-gnu" "$tree/share"
    src="$root/scripts/emulator/loader.c"
    if [ ! -f "$tree/lib/wine/wine" ] || [ "$src" -nt "$tree/lib/wine/wine" ]; then
        gcc -m32 -O2 -fno-pie -no-pie -nostdlib -fno-stack-protector \
            -DNTDLL_PATH='"/usr/lib/i386-linux-gnu/wine/i386-unix/ntdll.so"' \
            -Wl,-Ttext-segment=0x7d000000 -Wl,--dynamic-linker=/lib/ld-linux.so.2 \
            -Wl,--export-dynamic -Wl,--allow-shlib-undefined -o "$tree/lib/wine/wine" "$src" \
            /lib/i386-linux-gnu/libc.so.6 >&2 || return 1
    fi
    # A copy, not a link: Wine takes its folder from the file it runs.
    cmp -s /usr/lib/wine/wine64 "$tree/lib/wine/wine64" || cp /usr/lib/wine/wine64 "$tree/lib/wine/wine64"
    for server in wineserver wineserver32 wineserver64; do
        [ ! -e "/usr/lib/wine/$server" ] || ln -sfn "/usr/lib/wine/$server" "$tree/lib/wine/$server"
    done
    ln -sfn /usr/lib/x86_64-linux-gnu/wine "$tree/lib/x86_64-linux-gnu/wine"
    ln -sfn /usr/lib/i386-linux-gnu/wine "$tree/lib/i386-linux-gnu/wine"
    ln -sfn /usr/share/wine "$tree/share/wine"
    echo "$tree/lib/wine/wine64"
}

# The LD_PRELOAD setting for an emulated program, given the folder that
# i386_emulator_libraries prints.
i386_loader_preload() {
    list=""
    for lib in $I386_LOADER_LIBRARIES; do
        list="${list:+$list:}$1/$lib.so"
    done
    echo "LD_PRELOAD=$list"
}

# Registers qemu for 32-bit x86 programs with binfmt_misc, as root.
i386_register_binfmt() {
    command -v qemu-i386-static >/dev/null 2>&1 || return 1
    if [ "$(id -u)" -eq 0 ]; then
        as_root=""
    elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        as_root="sudo -n"
    else
        return 1
    fi
    dir=/proc/sys/fs/binfmt_misc
    mkdir -p "$I386_USERS"
    if [ ! -e "$dir/register" ]; then
        $as_root mount -t binfmt_misc binfmt_misc "$dir" 2>/dev/null || return 1
        : >"$I386_USERS/mounted"
    fi
    if [ -e "$dir/qemu-i386" ]; then
        echo 1 | $as_root tee "$dir/qemu-i386" >/dev/null 2>&1 || return 1
    else
        : >"$I386_USERS/registered"
        # The F flag opens the emulator now, so it serves every mount
        # namespace; the magic and mask match 32-bit x86 ELF executables
        # and shared objects.
        magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        printf ':qemu-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$(command -v qemu-i386-static)" |
            $as_root tee "$dir/register" >/dev/null 2>&1 || return 1
    fi
}

# Whether a run that uses binfmt_misc is still going; the files of runs
# that have ended (killed ones among them) are removed.
i386_live_users() {
    for user in "$I386_USERS"/[0-9]*; do
        [ -e "$user" ] || continue
        kill -0 "${user##*/}" 2>/dev/null || rm -f "$user"
    done
    ls "$I386_USERS"/[0-9]* >/dev/null 2>&1
}

# Removes the registration of qemu that a run made, when no other run that
# uses it is still going; then binfmt_misc itself, when a run mounted it and
# nothing else is registered there.
i386_release() {
    [ "$I386_WAY" = binfmt ] && [ -d "$I386_USERS" ] || return 0
    rm -f "$I386_USERS/$$"
    ! i386_live_users || return 0
    as_root=""
    [ "$(id -u)" -eq 0 ] || as_root="sudo -n"
    dir=/proc/sys/fs/binfmt_misc
    if [ -f "$I386_USERS/registered" ]; then
        echo -1 | $as_root tee "$dir/qemu-i386" >/dev/null 2>&1 || return 0
        rm -f "$I386_USERS/registered"
    fi
    if [ -f "$I386_USERS/mounted" ] && [ -z "$(ls "$dir" | grep -v -e '^register$' -e '^status$')" ]; then
        $as_root umount "$dir" 2>/dev/null && rm -f "$I386_USERS/mounted"
    fi
    return 0
}

# i386_prefix <name>: the prefix of that name in build/, for this choice.
i386_prefix() {
    if [ "$QUELLON_WINEARCH" = win64 ]; then
        echo "$root/build/${1}64"
    else
        echo "$root/build/$1"
    fi
}

choose_i386() {
    export QUELLON_WINEARCH=win32 I386_REG_VIEW
    if [ "${QUELLON_STANDIN:-0}" != 1 ]; then
        code=0
        "$root/scripts/runs-i386.sh" || code=$?
        if [ "$code" -eq 0 ] && [ "${QUELLON_EMULATE:-0}" != 1 ]; then
            I386_WAY=native
            return 0
        fi
        # With no run going, the marks of a registration that a run made are
        # those of a run that was killed: what is registered now may be
        # another's (a root beside this one registers for the whole
        # machine), and no run of this machine removes it.
        if [ -d "$I386_USERS" ] && ! i386_live_users; then
            rm -f "$I386_USERS/registered" "$I386_USERS/mounted"
        fi
        if [ "$code" -ne 2 ] && i386_register_binfmt; then
            code=0
            "$root/scripts/runs-i386.sh" || code=$?
        fi
        if [ "$code" -eq 2 ]; then
            I386_WAY=binfmt
            mkdir -p "$I386_USERS"
            : >"$I386_USERS/$$"
        elif [ "$code" -eq 0 ]; then
            echo "QUELLON_EMULATE=1: qemu could not be registered with binfmt_misc; the 32-bit programs run natively." >&2
            I386_WAY=native
            return 0
        elif command -v qemu-i386-static >/dev/null 2>&1; then
            I386_WAY=loader
            export QUELLON_WINELOADER="$root/scripts/emulator/wine64"
        fi
    fi
    if [ -n "$I386_WAY" ]; then
        # The 32-bit build runs here: a library that does not build is a
        # fault of the set-up, never a reason to test the stand-in instead.
        libs=$(i386_emulator_libraries) || {
            echo "The libraries of scripts/emulator could not be built (see above); the 32-bit programs cannot run emulated." >&2
            exit 1
        }
        echo "The 32-bit programs run emulated by qemu ($I386_WAY), in 64-bit prefixes." >&2
        export QEMU_SET_ENV="$(i386_loader_preload "$libs")${QEMU_SET_ENV:+,$QEMU_SET_ENV}"
        # Every emulated program's address 0 at host address 64 KiB (Linux's
        # default lowest address that a program may map), whichever qemu
        # runs it: the Wine server's library finds the base where qemu's
        # reservation of the address space starts, and qemu 8 and later,
        # left to choose, take a base of 0 with a reservation that starts
        # elsewhere. The emulated programs pass it on to those they start.
        export QEMU_GUEST_BASE=0x10000
        export QUELLON_SERVER_LIBRARY="$libs/server-memory.so"
        QUELLON_WINE64=$(i386_wine_tree "$libs") || {
            echo "Wine's 32-bit loader for the emulated programs could not be built (see above)." >&2
            exit 1
        }
        export QUELLON_WINE64
        I386_REG_VIEW=/reg:32
    else
        I386_WAY=standin
        if [ "${QUELLON_STANDIN:-0}" = 1 ]; then
            echo "QUELLON_STANDIN=1: the 64-bit stand-in build runs." >&2
        else
            echo "This machine runs no 32-bit code and cannot emulate it: the 64-bit stand-in build runs instead." >&2
        fi
        # (Inside a condition errors do not stop the script: a failed build must.)
        STANDIN_DIR=$("$root/scripts/build-standin.sh") || exit 1
        I386_BUILD=$STANDIN_DIR
    fi
    export PATH="$root/scripts/wine64:$PATH" QUELLON_WINEARCH=win64 I386_REG_VIEW
}
