#!/usr/bin/env bash
# Inside a display with no window manager (start.sh runs it under Xvfb): makes the Wine prefix
# when there is none yet, starts the program, waits for its window and saves a screenshot of the
# screen. Fails with the end of Wine's log, and saves nothing, when the window does not show.
# Usage: tools/screenshot.sh PROGRAM.exe SHOT.png WINE.log   (with WINEPREFIX set)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe=$1 shot=$2 log=$3
caption="Orlek - XP Vestrim"
# shellcheck source=../cmake/wine-host.sh
. "$top/cmake/wine-host.sh"
rm -f "$shot"
echo "Wine loader $XPV_WINE, prefix $WINEPREFIX" >"$log"

fail() {
    echo "$1" >&2
    echo "--- the end of Wine's log ($log):" >&2
    tail -n 25 "$log" >&2
    wineserver -k >/dev/null 2>&1 || true
    exit 1
}

# The first run on a fresh machine makes the prefix: that can take a minute.
[ -d "$WINEPREFIX" ] || echo "Making the Wine prefix $WINEPREFIX (the first time takes a while)"
xpv_wineboot "$log" || fail "Wine could not make its prefix $WINEPREFIX."

"$XPV_WINE" "$exe" </dev/null >>"$log" 2>&1 &
program=$!
window=
for _ in $(seq 240); do
    window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || fail "The program ended before its window appeared."
    sleep 0.5
done
[ -n "$window" ] || fail "The window \"$caption\" did not appear within 120 seconds."

# A window of one colour has not been drawn yet.
colours=0
for _ in $(seq 40); do
    colours=$(import -window "$window" png:- 2>/dev/null | convert png:- -format %k info: 2>/dev/null) || colours=0
    [ "${colours:-0}" -gt 1 ] && break
    sleep 0.5
done
[ "${colours:-0}" -gt 1 ] || fail "The window \"$caption\" appeared but was never drawn."
sleep 1
import -window root "$shot.part.png"
mv "$shot.part.png" "$shot"
wineserver -k 2>/dev/null || true
