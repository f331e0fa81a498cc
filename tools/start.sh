#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine.
# Without a display it runs under Xvfb, saves a screenshot of its window and ends; when the window
# does not appear it says so, with the end of Wine's log, and fails.
# Usage: tools/start.sh [x86_64|i686]   (i686: the 32-bit build, the one for Windows XP)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
arch=${1:-${XPV_ARCHS:-x86_64}}; arch=${arch%% *}
# shellcheck source=../cmake/wine-host.sh
. "$top/cmake/wine-host.sh"
if [ "$arch" = i686 ] && [ "$XPV_HOST_RUNS_32BIT" != yes ]; then
    echo "this host runs no 32-bit programs ($XPV_NO_32BIT_REASON): start the x86_64 build instead" >&2
    exit 1
fi
XPV_ARCHS=$arch bash "$top/tools/build.sh" xpvestrim
exe="$top/build/$arch/src/xpvestrim.exe"
export WINEPREFIX="$top/build/wine-app" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=${WINEDEBUG:-fixme-all}
if [ -n "${DISPLAY:-}" ]; then
    exec "$XPV_WINE" "$exe"
fi
shot="$top/build/xpvestrim.png"
if [ "$arch" = i686 ]; then shot="$top/build/xpvestrim-i686.png"; fi
xvfb-run -a -s "-screen 0 1024x768x24" bash "$top/tools/screenshot.sh" "$exe" "$shot" "$top/build/wine-app.log"
echo "No display: the program ran under Xvfb; screenshot of its window saved to $shot"
