#!/usr/bin/env bash
# Screenshots of every panel of the window, for looking the window over: builds the program, runs
# it under Xvfb in a prefix of its own at the given DPI and clicks its way through the Quick Menu.
# Usage: tools/panel-shots.sh [x86_64|i686] [DPI]   (pictures in build/shots/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-x86_64}
dpi=${2:-96}
# shellcheck source=../cmake/wine-host.sh
. "$top/cmake/wine-host.sh"
XPV_ARCHS=$arch bash "$top/tools/build.sh" xpvestrim >/dev/null
export WINEPREFIX="$top/build/wine-shots-$dpi" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
mkdir -p "$top/build/shots"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -s "$top" "$arch" "$dpi" <<'SESSION'
set -euo pipefail
top=$1 arch=$2 dpi=$3
. "$top/cmake/wine-host.sh"
log="$top/build/shots/wine-$arch-$dpi.log"
xpv_wineboot "$log"
"$XPV_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >>"$log" 2>&1
"$XPV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1
# Its own folder, so that the Vestrim panel lists something and the history starts empty.
app="$top/build/shots/app-$arch"
rm -rf "$app" && mkdir -p "$app"
cp "$top/build/$arch/src/xpvestrim.exe" "$top/build/$arch/src/settings.db" "$app/"
# Programs for the Turbo Vestrim search to find, and a tree of empty ones that keeps it busy
# long enough to be seen searching.
for name in alpha beta gamma delta; do cp "$app/xpvestrim.exe" "$app/$name.exe"; done
for folder in $(seq 40); do
    mkdir -p "$app/tree/$folder" && (cd "$app/tree/$folder" && touch $(seq -f 'p%g.exe' 60))
done
(cd "$app" && exec "$XPV_WINE" "$app/xpvestrim.exe") >>"$log" 2>&1 &
window=
for _ in $(seq 240); do
    window=$(xdotool search --onlyvisible --name '^Orlek - XP Vestrim$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.5
done
[ -n "$window" ] || { echo "no window; see $log" >&2; exit 1; }
sleep 2
# Without a window manager Wine draws the frame itself, inside the X window: find the client
# area's corner from the window's size and the client size (5955 x 4665 twips).
read -r width height < <(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd ' ')
border=$(( (width - 5955 * dpi / 1440) / 2 ))
caption=$(( height - 4665 * dpi / 1440 - border ))
px() { echo $(( $1 * dpi / 1440 )); }
click() { xdotool mousemove --window "$window" $(( border + $(px "$1") )) $(( caption + $(px "$2") )) click 1; }
# The Quick Menu's items from the top of the strip down, as the panel table lists them, each
# photographed under its tooltip ("Turbo Vestrim": turbo-vestrim.png); the keyboard goes down the
# strip (Ctrl+Tab) from the first, which the window opens with.
mapfile -t names < <(python3 "$top/resources/panel_table.py" "$top/src/app/PanelTable.h" | cut -f2 |
    tr 'A-Z ' 'a-z-')
click 360 770  # the first item: the window takes the keyboard
for index in "${!names[@]}"; do
    [ "$index" -eq 0 ] || xdotool key ctrl+Tab
    sleep 1.5
    # Off the strip, so that the raised button hides.
    xdotool mousemove --window "$window" $(( border + $(px 3000) )) $(( caption + $(px 4500) ))
    sleep 1
    import -window "$window" "$top/build/shots/$arch-$dpi-${names[index]}.png"
done
# The Turbo Vestrim panel's states, from the panel's controls (the panel starts 840 twips in).
shot() { import -window "$window" "$top/build/shots/$arch-$dpi-turbo-$1.png"; }
for turbo in "${!names[@]}"; do [ "${names[turbo]}" = turbo-vestrim ] && break; done
click 360 770; for _ in $(seq "$turbo"); do xdotool key ctrl+Tab; done; sleep 1.5
click $(( 840 + 3847 )) 967; sleep 1; shot setup                 # New Search
click $(( 840 + 3787 )) 1207; sleep 0.5                           # "Unthemed apps"
click $(( 840 + 4687 )) 967; sleep 0.7; shot searching           # Go
# 2,400 empty programs take a few seconds to search.
sleep 10; shot searched
click $(( 840 + 2527 )) 4437; sleep 1; shot results              # Show Results
click $(( 840 + 367 )) 4437; sleep 1; shot ticked                # "+"
wineserver -k || true
SESSION
ls "$top/build/shots/$arch-$dpi-"*.png
