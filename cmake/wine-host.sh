# Decides which Wine loader runs Windows programs on this host. Sourced by every script that
# starts Wine (start, the test session and its launcher, benchmarks).
#
# Debian's `wine` script (and wineboot, reg, ... through it) picks the 32-bit loader whenever
# wine32 is installed, even on a host whose kernel executes no 32-bit code: there every Wine
# command fails, 64-bit programs included. So the 32-bit loader is used only where it runs;
# elsewhere the 64-bit loader is called directly, with WINELOADER pointing at it.
# XPV_NO_32BIT=1 makes any host behave as one that runs no 32-bit code.
#
# Sets XPV_WINE (run as "$XPV_WINE" program.exe, "$XPV_WINE" wineboot -i, "$XPV_WINE" reg ...),
# XPV_HOST_RUNS_32BIT (yes or no) and XPV_NO_32BIT_REASON (why not, when no).
xpv_wine32=/usr/lib/wine/wine
xpv_wine64=/usr/lib/wine/wine64
XPV_HOST_RUNS_32BIT=no
if [ -n "${XPV_NO_32BIT:-}" ] && [ "$XPV_NO_32BIT" != 0 ]; then
    XPV_NO_32BIT_REASON="XPV_NO_32BIT is set"
elif [ ! -e "$xpv_wine32" ]; then
    XPV_NO_32BIT_REASON="32-bit Wine (wine32:i386) is not installed"
elif ! "$xpv_wine32" --version >/dev/null 2>&1; then
    XPV_NO_32BIT_REASON="$xpv_wine32 cannot execute here"
else
    XPV_HOST_RUNS_32BIT=yes
    XPV_NO_32BIT_REASON=
fi

if [ "$XPV_HOST_RUNS_32BIT" = yes ]; then
    XPV_WINE=$xpv_wine32
elif [ -x "$xpv_wine64" ]; then
    XPV_WINE=$xpv_wine64
    export WINELOADER=$xpv_wine64
else
    echo "Wine is not installed: $xpv_wine64 is missing (tools/install-deps.sh installs it)" >&2
    return 1
fi
export XPV_WINE XPV_HOST_RUNS_32BIT XPV_NO_32BIT_REASON
unset xpv_wine32 xpv_wine64

# Makes (or brings up to date) the prefix $WINEPREFIX, with the font replacements of
# wine-fonts.reg; Wine's output appended to the file $1.
# Fails when Wine cannot run or leaves no prefix. Keeps the caller's lock (fd 9) from Wine's
# services, which outlive this call.
xpv_wineboot() {
    # A prefix made where no 32-bit code ran has no 32-bit half, and the 32-bit loader cannot start
    # anything in it, 64-bit programs included.
    if [ "$XPV_HOST_RUNS_32BIT" = yes ] && [ -d "$WINEPREFIX/drive_c/windows/system32" ] &&
        [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "$WINEPREFIX was made where no 32-bit code ran and 32-bit Wine cannot use it: remove it to have it made again" >>"$1"
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
