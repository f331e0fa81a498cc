#!/usr/bin/env bash
# One Xvfb display, one Wine prefix and one wineserver shared by every test of a ctest run.
# Usage: wine-session.sh start|stop ROOT
# Several build trees (x86_64 and i686) may share ROOT: starts and stops are counted.
set -euo pipefail
action=$1
root=$(mkdir -p "$2" && cd "$2" && pwd)
state=$root/session
mkdir -p "$state"
exec 9>"$state/lock"
flock 9

export WINEPREFIX=$root/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=wine-host.sh
. "$(dirname "$0")/wine-host.sh"

alive() { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }
count() { cat "$state/users" 2>/dev/null || echo 0; }

stop_all() {
    if [ -f "$state/env" ]; then
        # shellcheck disable=SC1091
        . "$state/env"
        wineserver -k >/dev/null 2>&1 9>&- || true
        wineserver -w >/dev/null 2>&1 9>&- || true
    fi
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    fi
    rm -f "$state/xvfb.pid" "$state/env" "$state/users"
}

case $action in
start)
    if alive; then
        echo $(( $(count) + 1 )) >"$state/users"
        echo "wine session already running (display $(grep -o ':[0-9]*' "$state/env"))"
        exit 0
    fi
    stop_all
    # Children must not inherit the lock (fd 9), or the next stop would wait for them.
    Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$state/display" 9>&- \
        </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
    [ -s "$state/display" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
    display=:$(tr -d '\n' <"$state/display")
    cat >"$state/env" <<ENV
export DISPLAY=$display
export WINEPREFIX=$WINEPREFIX
ENV
    export DISPLAY=$display
    # Wine's services inherit our output and outlive us: keep them off the runner's pipe.
    mkdir -p "$WINEPREFIX"
    log=$state/wine.log
    echo "Wine loader $XPV_WINE; $(xpv_32bit_path_line)" >"$log"
    # The test prefix is disposable: one made where 32-bit programs did not run has no 32-bit half,
    # and is made again now that they do.
    if xpv_prefix_lacks_32bit_half; then
        echo "$WINEPREFIX has no 32-bit half: made again" >>"$log"
        rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
    fi
    wineserver -p </dev/null >>"$log" 2>&1 9>&-
    if ! xpv_wineboot "$log"; then
        echo "Wine could not make the prefix $WINEPREFIX; the end of $log:" >&2
        tail -n 20 "$log" >&2
        stop_all
        exit 1
    fi
    # Drive letters whose root is a folder of the session, for tests of paths at a drive root:
    # T: for the 64-bit tests, U: for the 32-bit ones, so that both can run at once.
    for letter in t u; do
        mkdir -p "$root/drive-$letter"
        ln -sfn "$root/drive-$letter" "$WINEPREFIX/dosdevices/$letter:"
    done
    # No window manager runs here: unmanaged windows close at once instead of waiting for one.
    "$XPV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$log" 2>&1 9>&-
    echo 1 >"$state/users"
    echo "wine session started on display $display, prefix $WINEPREFIX"
    ;;
stop)
    n=$(( $(count) - 1 ))
    if [ "$n" -gt 0 ]; then echo "$n" >"$state/users"; exit 0; fi
    stop_all
    echo "wine session stopped"
    ;;
*)
    echo "usage: $0 start|stop ROOT" >&2; exit 2 ;;
esac
