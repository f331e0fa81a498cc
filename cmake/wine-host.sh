# Decides how Wine runs Windows programs on this host. Sourced by every script that starts Wine
# (start, the test session and its launcher, benchmarks, packaging tests); the choice is made once
# and passed on to their children through the environment.
#
# 32-bit programs run on one of three paths:
# - native: the host executes 32-bit code, and Debian's 32-bit loader runs them (and starts the
#   64-bit loader for 64-bit programs);
# - emulated: the host executes no 32-bit code, but the CPU emulator qemu-i386 that
#   tools/install-deps.sh unpacks under build/qemu-user runs the 32-bit half of Wine
#   (wine-emulated.sh: a private binfmt_misc registration, never the host's);
# - none: neither works; 32-bit programs are skipped, with the reason. 64-bit programs still run:
#   Debian's `wine` script (and wineboot, reg, ... through it) picks the 32-bit loader whenever
#   wine32 is installed, even where it cannot run, so the 64-bit loader is called directly.
# XPV_NO_32BIT=1 forces the last path on any host; XPV_EMULATE_32BIT=1 forces emulation on a
# host that runs 32-bit code natively, so that every path can be tried anywhere.
#
# Sets XPV_WINE (run as "$XPV_WINE" program.exe, "$XPV_WINE" wineboot -i, "$XPV_WINE" reg ...),
# XPV_32BIT_PATH (native, emulated or none), XPV_HOST_RUNS_32BIT (yes when 32-bit programs run
# here, natively or emulated; else no), XPV_NO_32BIT_REASON (why not, when none) and, when
# emulated, XPV_QEMU_I386 and XPV_QEMU_VERSION.
xpv_host_switches="no32=${XPV_NO_32BIT:-} emulate=${XPV_EMULATE_32BIT:-}"
if [ "${XPV_WINE_HOST_CHOSEN:-}" != "$xpv_host_switches" ] || [ -z "${XPV_WINE:-}" ]; then
    xpv_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    xpv_wine32=/usr/lib/wine/wine
    xpv_wine64=/usr/lib/wine/wine64
    xpv_switch_on() { [ -n "${1:-}" ] && [ "$1" != 0 ]; }
    XPV_32BIT_PATH=none
    XPV_NO_32BIT_REASON=
    unset XPV_QEMU_I386 XPV_QEMU_VERSION
    if [ ! -x "$xpv_wine64" ]; then
        echo "Wine is not installed: $xpv_wine64 is missing (tools/install-deps.sh installs it)" >&2
        return 1
    fi
    if xpv_switch_on "${XPV_NO_32BIT:-}"; then
        XPV_NO_32BIT_REASON="XPV_NO_32BIT is set"
    elif [ ! -e "$xpv_wine32" ]; then
        XPV_NO_32BIT_REASON="32-bit Wine (wine32:i386) is not installed"
    elif ! xpv_switch_on "${XPV_EMULATE_32BIT:-}" && "$xpv_wine32" --version >/dev/null 2>&1; then
        XPV_32BIT_PATH=native
    elif [ ! -x "$xpv_top/build/qemu-user/qemu-i386" ]; then
        XPV_NO_32BIT_REASON="$xpv_wine32 cannot execute here and the emulator $xpv_top/build/qemu-user/qemu-i386 is missing (tools/install-deps.sh unpacks it)"
    else
        XPV_QEMU_I386=$xpv_top/build/qemu-user/qemu-i386
        XPV_QEMU_VERSION=$("$XPV_QEMU_I386" --version | head -n 1)
        export XPV_QEMU_I386
        if xpv_check=$("$xpv_top/cmake/wine-emulated.sh" --check 2>&1); then
            XPV_32BIT_PATH=emulated
        else
            XPV_NO_32BIT_REASON="$xpv_wine32 cannot execute here, and not under $XPV_QEMU_VERSION either: $(printf %s "$xpv_check" | tail -n 1)"
            unset XPV_QEMU_I386 XPV_QEMU_VERSION
        fi
    fi
    case $XPV_32BIT_PATH in
    native) XPV_WINE=$xpv_wine32; XPV_HOST_RUNS_32BIT=yes; unset WINELOADER ;;
    emulated) XPV_WINE=$xpv_top/cmake/wine-emulated.sh; XPV_HOST_RUNS_32BIT=yes
        export XPV_QEMU_I386 XPV_QEMU_VERSION WINELOADER=$xpv_wine64 ;;
    none) XPV_WINE=$xpv_wine64; XPV_HOST_RUNS_32BIT=no; export WINELOADER=$xpv_wine64 ;;
    esac
    XPV_WINE_HOST_CHOSEN=$xpv_host_switches
    export XPV_WINE XPV_32BIT_PATH XPV_HOST_RUNS_32BIT XPV_NO_32BIT_REASON XPV_WINE_HOST_CHOSEN
    unset xpv_top xpv_wine32 xpv_wine64 xpv_check
    unset -f xpv_switch_on
fi
unset xpv_host_switches

# One line that says how 32-bit programs run here, for logs.
xpv_32bit_path_line() {
    case $XPV_32BIT_PATH in
    native) echo "32-bit programs run natively" ;;
    emulated) echo "32-bit programs run emulated ($XPV_QEMU_VERSION)" ;;
    none) echo "32-bit programs cannot run here ($XPV_NO_32BIT_REASON)" ;;
    esac
}

# Makes (or brings up to date) the prefix $WINEPREFIX, with the font replacements of
# wine-fonts.reg; Wine's output appended to the file $1.
# Fails when Wine cannot run or leaves no prefix. Keeps the caller's lock (fd 9) from Wine's
# services, which outlive this call.
# True when $WINEPREFIX exists but was made where no 32-bit program ran: it has no 32-bit half, and
# 32-bit programs cannot start in it.
xpv_prefix_lacks_32bit_half() {
    [ "$XPV_HOST_RUNS_32BIT" = yes ] && [ -d "$WINEPREFIX/drive_c/windows/system32" ] &&
        [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

xpv_wineboot() {
    if xpv_prefix_lacks_32bit_half; then
        echo "$WINEPREFIX was made where no 32-bit program ran and 32-bit programs cannot use it: remove it to have it made again" >>"$1"
        return 1
    fi
    timeout 300 "$XPV_WINE" wineboot -i </dev/null >>"$1" 2>&1 9>&- &&
        [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] || return 1
    local fonts
    fonts="Z:$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-fonts.reg"
    "$XPV_WINE" regedit /S "${fonts//\//\\}" </dev/null >>"$1" 2>&1 9>&- || return 1
    # Wine draws the title-bar buttons with Marlett (package fonts-wine), but this Wine does not
    # look in its own font folder: without a copy in the prefix they show as "0 1 r".
    local marlett=/usr/share/wine/fonts/marlett.ttf
    if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
        cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
}
