#!/usr/bin/env bash
# Runs the setup program of one architecture under Wine, in the test session's prefix, the way
# an administrator would: silently, into a chosen or the default folder, over an earlier
# installation; then its uninstaller, silently.
# Usage: setup_under_wine.sh CASE SETUP STAGE ARCH VERSION SOURCE_DIR WINE_ROOT WORK_DIR
#   CASE: install_start_uninstall | over_earlier | default_folder
#   STAGE: the folder of the shipped files (what the zip holds)
set -euo pipefail
case_name=$1 setup=$2 stage=$3 arch=$4 version=$5 source_dir=$6 wine_root=$7 work=$8

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
    echo "this host runs no 32-bit code ($XPV_NO_32BIT_REASON): skipped"
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
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orlek XP Vestrim'
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$caption.lnk"

rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# What the setup installs: every shipped file (the zip's content) and the uninstaller.
installed_names() { { ls -A "$stage"; echo uninstall.exe; } | sort; }

# What a folder holds, on one line; nothing when it is missing.
contents() { if [ -d "$1" ]; then ls -A "$1" | sort | xargs; fi; }

wine_quiet() { "$XPV_WINE" "$@" </dev/null >>"$work/wine.log" 2>&1; }

# The setup with /S, and /D= with the folder when one is given. /D= takes the rest of the command
# line, unquoted, and Wine would quote an argument with a blank: cmd passes the line as it is.
run_setup() {
    local line status=0
    line="$(windows_path "$setup") /S${1:+ /D=$(windows_path "$1")}"
    echo "running $line"
    wine_quiet cmd /c "$line" || status=$?
    [ "$status" = 0 ] || fail "the setup ended with status $status ($line)"
}

# The uninstaller copies itself away and returns at once; the copy removes the entry last.
run_uninstaller() {
    local folder=$1 status=0
    echo "running $(windows_path "$folder")\\uninstall.exe /S"
    wine_quiet "$folder/uninstall.exe" /S || status=$?
    [ "$status" = 0 ] || fail "the uninstaller ended with status $status"
    for _ in $(seq 120); do
        entry_exists || return 0
        sleep 0.5
    done
    fail "the uninstaller did not finish within a minute"
}

entry_exists() { wine_quiet reg query "$uninstall_key" "$view"; }

entry_value() {
    "$XPV_WINE" reg query "$uninstall_key" /v "$1" "$view" </dev/null 2>/dev/null |
        tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# The folder as Linux and as Windows see it, then what else the folder should hold.
check_installed() {
    local folder=$1 windows_folder=$2
    shift 2
    local listed expected
    listed=$(contents "$folder")
    expected=$( { installed_names; for extra in "$@"; do echo "$extra"; done; } | sort | xargs)
    [ "$listed" = "$expected" ] || fail "$folder holds [$listed], not [$expected]"
    for name in $(ls -A "$stage"); do
        cmp -s "$stage/$name" "$folder/$name" || fail "the installed $name is not the one shipped"
    done
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    entry_exists || { fail "no entry in Add/Remove Programs"; return; }
    local value
    for check in "InstallLocation=$windows_folder" Publisher=Orlek "DisplayVersion=$version" \
        "DisplayIcon=$windows_folder\\xpvestrim.exe,0" "UninstallString=\"$windows_folder\\uninstall.exe\""; do
        value=$(entry_value "${check%%=*}")
        [ "$value" = "${check#*=}" ] || fail "the entry's ${check%%=*} is '$value', not '${check#*=}'"
    done
    value=$(entry_value EstimatedSize)
    [[ "$value" =~ ^0x[0-9a-f]+$ ]] && [ $((value)) -gt 0 ] || fail "the entry's EstimatedSize is '$value'"
}

# After the uninstaller: none of the installed files, the shortcut or the entry; the folder
# itself only when nothing else was in it.
check_removed() {
    local folder=$1
    shift
    local left=
    for name in $(installed_names); do
        [ -e "$folder/$name" ] && left="$left $name"
    done
    [ -z "$left" ] || fail "the uninstaller left$left in $folder"
    [ ! -f "$shortcut" ] || fail "the uninstaller left the Start-menu shortcut"
    ! entry_exists || fail "the uninstaller left the entry in Add/Remove Programs"
    if [ $# -eq 0 ]; then
        [ ! -e "$folder" ] || fail "the uninstaller left the folder $folder"
    else
        [ "$(contents "$folder")" = "$*" ] ||
            fail "after the uninstaller $folder holds [$(contents "$folder")], not [$*]"
    fi
}

# A history beside the installed program that lists a themed program elsewhere, as an
# administrator's use of the program leaves it.
leave_history_and_manifest() {
    local folder=$1
    mkdir -p "$work/themed"
    printf 'MZ' >"$work/themed/app.exe"
    printf '<assembly/>' >"$work/themed/app.exe.manifest"
    printf '[Main]\r\n%s=App >> Themed\r\n' "$(windows_path "$work/themed/app.exe.manifest")" >"$folder/history.db"
    cp "$folder/history.db" "$work/history.expected"
}

check_history_and_manifest_kept() {
    local folder=$1
    cmp -s "$folder/history.db" "$work/history.expected" || fail "history.db was changed or removed"
    [ -f "$work/themed/app.exe.manifest" ] || fail "the themed program's manifest was removed"
}

# Starts the installed program, waits for its window, closes it as a user would and waits for
# the program to end.
start_and_close() {
    local folder=$1 program window=
    "$XPV_WINE" "$folder/xpvestrim.exe" </dev/null >>"$work/wine.log" 2>&1 &
    program=$!
    for _ in $(seq 120); do
        # Other tests show windows of this caption on the same display: only this process's counts.
        window=$(xdotool search --pid "$program" --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        kill -0 "$program" 2>/dev/null || break
        sleep 0.5
    done
    if [ -z "$window" ]; then
        fail "the installed program showed no window \"$caption\""
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
        return
    fi
    echo "the installed program shows its window ($window); closing it"
    wine_quiet taskkill /IM xpvestrim.exe || true
    for _ in $(seq 60); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.5
    done
    if kill -0 "$program" 2>/dev/null; then
        fail "the installed program did not close"
        kill "$program" 2>/dev/null || true
    fi
    wait "$program" 2>/dev/null || true
}

case $case_name in
install_start_uninstall)
    folder="$work/Programs/XP Vestrim"
    run_setup "$folder"
    check_installed "$folder" "$(windows_path "$folder")"
    start_and_close "$folder"
    leave_history_and_manifest "$folder"
    run_uninstaller "$folder"
    check_removed "$folder" history.db
    check_history_and_manifest_kept "$folder"
    ;;
over_earlier)
    first="$work/first" second="$work/second"
    run_setup "$first"
    leave_history_and_manifest "$first"
    # Again into the same folder: the files renewed, the history kept, one entry.
    printf 'stale' >"$first/xpvestrim.exe"
    run_setup "$first"
    check_installed "$first" "$(windows_path "$first")" history.db
    check_history_and_manifest_kept "$first"
    # Then into another folder: the earlier one is uninstalled, its history stays.
    run_setup "$second"
    check_installed "$second" "$(windows_path "$second")"
    [ "$(contents "$first")" = history.db ] || fail "the earlier installation left [$(contents "$first")] in $first"
    check_history_and_manifest_kept "$first"
    run_uninstaller "$second"
    check_removed "$second"
    ;;
default_folder)
    folder="$program_files/$caption"
    [ ! -e "$folder" ] || fail "$folder exists before the setup ran"
    run_setup
    check_installed "$folder" "C:\\${program_files#"$WINEPREFIX/drive_c/"}\\$caption"
    if [ -n "$other_program_files" ]; then
        [ ! -e "$other_program_files/$caption" ] || fail "the setup installed into $other_program_files"
    fi
    run_uninstaller "$folder"
    check_removed "$folder"
    ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac

if [ "$failures" -gt 0 ]; then
    echo "--- the end of Wine's output:"
    tail -n 20 "$work/wine.log" 2>/dev/null || true
    exit 1
fi
echo "$case_name: passed"
