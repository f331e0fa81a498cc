#!/bin/sh
# Runs Wine on a host whose kernel executes no 32-bit code: 32-bit (i386) Linux programs, Wine's
# 32-bit loader among them, are handed to the CPU emulator $XPV_QEMU_I386 through binfmt_misc.
# The registration lives in a private user and mount namespace, seen only by this command and its
# children; the host's own binfmt_misc is never touched, so no other process on the machine runs
# under the emulator.
#
# Usage: wine-emulated.sh ARGS...   as the 64-bit loader, which starts 32-bit programs through the
#                                   32-bit one (Wine starts itself again for them)
#        wine-emulated.sh --check   runs the 32-bit loader once; fails when the emulation cannot be
#                                   set up, saying which step failed
set -eu
: "${XPV_QEMU_I386:?the emulator qemu-i386 is not set}"
wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64
if [ "${1:-}" = --check ]; then
    set -- "$wine32" --version
else
    export WINELOADER=$wine64
    set -- "$wine64" "$@"
fi
# The standard i386 ELF magic and mask; flag F opens the emulator now, so that it is found from
# any folder the namespace's programs see.
exec unshare --user --map-root-user --mount --fork sh -c '
    emulator=$1; shift
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null ||
        { echo "wine-emulated.sh: cannot mount a private binfmt_misc" >&2; exit 126; }
    printf "%s" ":xpv-qemu-i386:M::\\x7f\\x45\\x4c\\x46\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\xfc\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$emulator:F" \
        >/proc/sys/fs/binfmt_misc/register 2>/dev/null ||
        { echo "wine-emulated.sh: cannot register $emulator with the private binfmt_misc" >&2; exit 126; }
    exec "$@"' sh "$XPV_QEMU_I386" "$@"
