#!/usr/bin/env bash
# Runs the setup program of one architecture under Wine, in the test session's prefix, the way
# an administrator would: silently, into a chosen or the default folder, over an earlier
# installation, into a folder that cannot be written; then its uninstaller, silently, also while
# the program runs. Each run is judged by its exit code the moment it returns.
# Usage: setup_under_wine.sh CASE STAGE ARCH SOURCE_DIR WINE_ROOT WORK_DIR SETUP VERSION
#   CASE: install_start_uninstall | over_earlier | default_folder | unwritable_folder | uninstall_running
#   STAGE: the folder of the shipped files (what the zip holds)
set -euo pipefail
case_name=$1 stage=$2 arch=$3 source_dir=$4 wine_root=$5 work=$6 setup=$7 version=$8
# shellcheck source=under_wine.sh
. "$(dirname "$0")/under_wine.sh"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orlek XP Vestrim'

# What the setup installs: every shipped file (the zip's content) and the uninstaller.
installed_names() { { ls -A "$stage"; echo uninstall.exe; } | sort; }

# The setup with /S, and /D= with the folder when one is given; its exit code must be the one
# expected (0 unless given). /D= takes the rest of the command line, unquoted, and Wine would quote
# an argument with a blank: cmd passes the line as it is.
run_setup() {
    local folder=${1:-} expected=${2:-0} line status=0
    line="$(windows_path "$setup") /S${folder:+ /D=$(windows_path "$folder")}"
    echo "running $line"
    wine_quiet cmd /c "$line" || status=$?
    [ "$status" = "$expected" ] || fail "the setup ended with status $status, not $expected ($line)"
}

# The uninstaller as documented: it returns when it is done, with its exit code.
run_uninstaller() {
    local folder=$1 expected=${2:-0} status=0
    echo "running $(windows_path "$folder")\\uninstall.exe /S"
    wine_quiet "$folder/uninstall.exe" /S || status=$?
    [ "$status" = "$expected" ] || fail "the uninstaller ended with status $status, not $expected"
}

entry_exists() { registry_key_exists "$uninstall_key"; }

# The folder as Linux and as Windows see it, then what else the folder should hold.
check_installed() {
    local folder=$1 windows_folder=$2
    shift 2
    local listed expected
    listed=$(contents "$folder")
    expected=$( { installed_names; for extra in "$@"; do echo "$extra"; done; } | sort | xargs)
    [ "$listed" = "$expected" ] || fail "$folder holds [$listed], not [$expected]"
    check_shipped_files "$folder"
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    entry_exists || { fail "no entry in Add/Remove Programs"; return; }
    local value
    for check in "InstallLocation=$windows_folder" Publisher=Orlek "DisplayVersion=$version" \
        "DisplayIcon=$windows_folder\\xpvestrim.exe,0" "UninstallString=\"$windows_folder\\uninstall.exe\""; do
        value=$(registry_value "$uninstall_key" "${check%%=*}")
        [ "$value" = "${check#*=}" ] || fail "the entry's ${check%%=*} is '$value', not '${check#*=}'"
    done
    value=$(registry_value "$uninstall_key" EstimatedSize)
    [[ "$value" =~ ^0x[0-9a-f]+$ ]] && [ $((value)) -gt 0 ] || fail "the entry's EstimatedSize is '$value'"
}

# Right after the uninstaller returned: none of the installed files, the shortcut or the entry.
# Its own uninstall.exe, in use until it has returned, goes a moment later, and then the folder
# itself when nothing else was in it.
check_removed() {
    local folder=$1
    shift
    local left=
    for name in $(installed_names); do
        [ "$name" != uninstall.exe ] && [ -e "$folder/$name" ] && left="$left $name"
    done
    [ -z "$left" ] || fail "the uninstaller left$left in $folder"
    [ ! -f "$shortcut" ] || fail "the uninstaller left the Start-menu shortcut"
    ! entry_exists || fail "the uninstaller left the entry in Add/Remove Programs"
    # Wine on a loaded machine may take seconds to end a process. The finishing copy deletes
    # uninstall.exe and then the folder, so the folder, when it should go, is waited for as well.
    local last_to_go="$folder/uninstall.exe"
    [ $# -ne 0 ] || last_to_go=$folder
    for _ in $(seq 60); do
        [ -e "$last_to_go" ] || break
        sleep 0.5
    done
    [ ! -e "$folder/uninstall.exe" ] || fail "uninstall.exe is still in $folder half a minute after it returned"
    if [ $# -eq 0 ]; then
        [ ! -e "$folder" ] || fail "the uninstaller left the folder $folder half a minute after it returned"
    else
        [ "$(contents "$folder")" = "$*" ] ||
            fail "after the uninstaller $folder holds [$(contents "$folder")], not [$*]"
    fi
}

case $case_name in
install_start_uninstall)
    folder="$work/Programs/XP Vestrim"
    run_setup "$folder"
    check_installed "$folder" "$(windows_path "$folder")"
    start_program "$folder" && close_program
    leave_history_and_manifests "$folder"
    run_uninstaller "$folder"
    check_removed "$folder" history.db xpvestrim-cli.exe.manifest
    check_history_and_manifests_kept "$folder"
    ;;
over_earlier)
    first="$work/first" second="$work/second"
    run_setup "$first"
    leave_history_and_manifests "$first"
    # Again into the same folder: the files renewed, the history kept, one entry.
    printf 'stale' >"$first/xpvestrim.exe"
    run_setup "$first"
    check_installed "$first" "$(windows_path "$first")" history.db xpvestrim-cli.exe.manifest
    check_history_and_manifests_kept "$first"
    # Then into another folder: the earlier one is uninstalled, its history stays.
    run_setup "$second"
    check_installed "$second" "$(windows_path "$second")"
    [ "$(contents "$first")" = "history.db xpvestrim-cli.exe.manifest" ] ||
        fail "the earlier installation left [$(contents "$first")] in $first"
    check_history_and_manifests_kept "$first"
    run_uninstaller "$second"
    check_removed "$second"
    ;;
default_folder)
    [ ! -e "$default_folder" ] || fail "$default_folder exists before the setup ran"
    run_setup
    check_installed "$default_folder" "$default_windows_folder"
    if [ -n "$other_program_files" ]; then
        [ ! -e "$other_program_files/$caption" ] || fail "the setup installed into $other_program_files"
    fi
    run_uninstaller "$default_folder"
    check_removed "$default_folder"
    ;;
unwritable_folder)
    # Wine runs as root here, so no permission stops it; what Windows refuses as well is a folder
    # that cannot be made: one under a file of that name, and one whose name is longer than a
    # folder's name may be (255 characters), the folder before it new (and made by the setup, which
    # must remove it again).
    working="$work/working"
    run_setup "$working"
    leave_history_and_manifests "$working"
    printf 'not a folder' >"$work/blocker"
    long_name=$(printf 'x%.0s' $(seq 300))
    for target in "$work/blocker/XP Vestrim" "$work/new/$long_name"; do
        run_setup "$target" 3
        # Nothing changed: the working installation and its entry as they were.
        check_installed "$working" "$(windows_path "$working")" history.db xpvestrim-cli.exe.manifest
        check_history_and_manifests_kept "$working"
    done
    [ "$(cat "$work/blocker")" = "not a folder" ] || fail "the file in the way was changed"
    [ ! -e "$work/new" ] || fail "the setup left the folder it made, $work/new"
    run_uninstaller "$working"
    check_removed "$working" history.db xpvestrim-cli.exe.manifest
    ;;
uninstall_running)
    folder="$work/XP Vestrim"
    run_setup "$folder"
    leave_history_and_manifests "$folder"
    if start_program "$folder"; then
        # Removes nothing while the program runs, and says so in its exit code.
        run_uninstaller "$folder" 2
        check_installed "$folder" "$(windows_path "$folder")" history.db xpvestrim-cli.exe.manifest
        # A setup over it gives up alike, before it changes anything.
        run_setup "$folder" 2
        check_installed "$folder" "$(windows_path "$folder")" history.db xpvestrim-cli.exe.manifest
        close_program
    fi
    run_uninstaller "$folder"
    check_removed "$folder" history.db xpvestrim-cli.exe.manifest
    check_history_and_manifests_kept "$folder"
    ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
finish
