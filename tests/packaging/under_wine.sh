# What the tests that install a package under Wine share; sourced by setup_under_wine.sh and
# msi_under_wine.sh after they set stage (the folder of the shipped files), arch (x86 or x64),
# source_dir, wine_root and work (a folder of the test's own, made anew).
# Enters the test session's prefix, or ends with the skip code where the package's architecture
# cannot run.

# A command that fails where no check expected it ends the test under set -e: say which.
trap 'failed_status=$?; echo "FAILED: $(basename "$0") line $LINENO: $BASH_COMMAND ended with status $failed_status"' ERR

state=$wine_root/session
if [ ! -f "$state/env" ]; then
    echo "no Wine session: run the test through ctest" >&2
    exit 1
fi
# shellcheck disable=SC1091
. "$state/env"
# shellcheck source=../../cmake/wine-host.sh
. "$source_dir/cmake/wine-host.sh"
if [ "$arch" = x86 ] && [ "$XPV_HOST_RUNS_32BIT" != yes ]; then
    echo "this host runs no 32-bit programs ($XPV_NO_32BIT_REASON): skipped"
    exit 77
fi
export WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
# No menu entries of the host's desktop for the Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

caption="Orlek - XP Vestrim"
if [ "$arch" = x64 ]; then
    view=/reg:64
    program_files="$WINEPREFIX/drive_c/Program Files"
    other_program_files="$WINEPREFIX/drive_c/Program Files (x86)"
else
    view=/reg:32
    if [ -d "$WINEPREFIX/drive_c/Program Files (x86)" ]; then
        program_files="$WINEPREFIX/drive_c/Program Files (x86)"
        other_program_files="$WINEPREFIX/drive_c/Program Files"
    else
        program_files="$WINEPREFIX/drive_c/Program Files"
        other_program_files=
    fi
fi
default_folder="$program_files/$caption"
default_windows_folder="C:\\${program_files#"$WINEPREFIX/drive_c/"}\\$caption"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$caption.lnk"

rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# What a folder holds, on one line; nothing when it is missing.
contents() { if [ -d "$1" ]; then ls -A "$1" | sort | xargs; fi; }

wine_quiet() { "$XPV_WINE" "$@" </dev/null >>"$work/wine.log" 2>&1; }

# A value of a registry key, as reg prints it.
# A value of a key in the architecture's view (or the view given third); nothing when missing.
registry_value() {
    { "$XPV_WINE" reg query "$1" /v "$2" "${3:-$view}" </dev/null 2>/dev/null || true; } |
        tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

registry_key_exists() { wine_quiet reg query "$1" "$view"; }

# Each shipped file in the folder as shipped.
check_shipped_files() {
    local folder=$1 name
    for name in $(ls -A "$stage"); do
        cmp -s "$stage/$name" "$folder/$name" || fail "the installed $name is not the one shipped"
    done
}

# A history beside the installed program that lists a themed program elsewhere, as an
# administrator's use of the program leaves it; and a manifest beside an installed program.
leave_history_and_manifests() {
    local folder=$1
    mkdir -p "$work/themed"
    printf 'MZ' >"$work/themed/app.exe"
    printf '<assembly/>' >"$work/themed/app.exe.manifest"
    printf '[Main]\r\n%s=App >> Themed\r\n' "$(windows_path "$work/themed/app.exe.manifest")" >"$folder/history.db"
    cp "$folder/history.db" "$work/history.expected"
    printf '<assembly/>' >"$folder/xpvestrim-cli.exe.manifest"
}

check_history_and_manifests_kept() {
    local folder=$1
    cmp -s "$folder/history.db" "$work/history.expected" || fail "history.db was changed or removed"
    [ -f "$work/themed/app.exe.manifest" ] || fail "the themed program's manifest was removed"
    [ -f "$folder/xpvestrim-cli.exe.manifest" ] || fail "the manifest beside xpvestrim-cli.exe was removed"
}

# Starts the installed program and waits for its window; program_pid is then its process.
start_program() {
    local folder=$1 window=
    "$XPV_WINE" "$folder/xpvestrim.exe" </dev/null >>"$work/wine.log" 2>&1 &
    program_pid=$!
    for _ in $(seq 120); do
        # Other tests show windows of this caption on the same display: only this process's counts.
        window=$(xdotool search --pid "$program_pid" --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.5
    done
    if [ -z "$window" ]; then
        fail "the installed program showed no window \"$caption\""
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
        return 1
    fi
    echo "the installed program shows its window ($window)"
}

# Closes the started program as a user would and waits for it to end.
close_program() {
    wine_quiet taskkill /IM xpvestrim.exe || true
    for _ in $(seq 60); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.5
    done
    if kill -0 "$program_pid" 2>/dev/null; then
        fail "the installed program did not close"
        kill "$program_pid" 2>/dev/null || true
    fi
    wait "$program_pid" 2>/dev/null || true
}

# Ends the test: passed, or failed with the end of Wine's output.
finish() {
    if [ "$failures" -gt 0 ]; then
        echo "--- the end of Wine's output:"
        tail -n 20 "$work/wine.log" 2>/dev/null || true
        exit 1
    fi
    echo "$case_name: passed"
}
