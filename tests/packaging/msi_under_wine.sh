#!/usr/bin/env bash
# Installs, upgrades and removes the Windows Installer package of one architecture with Wine's own
# msiexec, in the test session's prefix, as a deployment tool would: /qn, judged by the exit code,
# each run with a verbose log that is printed when the run fails.
# Usage: msi_under_wine.sh CASE STAGE ARCH SOURCE_DIR WINE_ROOT WORK_DIR MSI VERSION EARLIER_MSI EARLIER_VERSION
#   CASE: default_folder | upgrade
#   STAGE: the folder of the shipped files (what the zip holds)
#   EARLIER_MSI: the package made from the same files with the lower EARLIER_VERSION
set -euo pipefail
case_name=$1 stage=$2 arch=$3 source_dir=$4 wine_root=$5 work=$6
msi=$7 version=$8 earlier_msi=$9 earlier_version=${10}
# shellcheck source=under_wine.sh
. "$(dirname "$0")/under_wine.sh"

# Wine's Windows Installer puts the Start-menu shortcut of a per-machine package in the user's
# Start menu (Windows: in that of all users); either is taken, and neither may stay.
user_shortcut="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$caption.lnk"

product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
uninstall_key() { printf 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s' "$1"; }
# The product's key among Windows Installer's own, which the 64-bit view holds for packages of
# either architecture: its code with each part's digits in reverse.
products_key() {
    local hex=${1//[\{\}-]/} packed i
    packed=$(rev <<<"${hex:0:8}")$(rev <<<"${hex:8:4}")$(rev <<<"${hex:12:4}")
    for ((i = 16; i < 32; i += 2)); do packed+=${hex:i+1:1}${hex:i:1}; done
    printf 'HKLM\\Software\\Classes\\Installer\\Products\\%s' "$packed"
}

# msiexec with its arguments and a verbose log named after the step; its exit code must be the
# one expected, or the log is printed. Wine hands Linux only the low eight bits of a Windows exit
# code (1603 arrives as 67).
run_msiexec() {
    local step=$1 expected=$2 status=0
    shift 2
    local log="$work/$step.log"
    echo "running msiexec $* /qn (log $log)"
    wine_quiet msiexec "$@" /qn /l*v "$(windows_path "$log")" || status=$?
    if [ "$status" != $((expected % 256)) ]; then
        fail "msiexec $* ended with status $status, not $expected"
        echo "--- $log:"
        tr -d '\r' <"$log" 2>/dev/null || echo "(no log)"
    fi
}

# The files, the shortcut and the product's entry of the package with this code and version.
check_installed() {
    local folder=$1 windows_folder=$2 code=$3 installed_version=$4
    shift 4
    local listed expected key value icon
    listed=$(contents "$folder")
    expected=$( { ls -A "$stage"; for extra in "$@"; do echo "$extra"; done; } | sort | xargs)
    [ "$listed" = "$expected" ] || fail "$folder holds [$listed], not [$expected]"
    check_shipped_files "$folder"
    [ -f "$shortcut" ] || [ -f "$user_shortcut" ] || fail "no Start-menu shortcut"
    key=$(uninstall_key "$code")
    registry_key_exists "$key" || { fail "no entry $code in Add/Remove Programs"; return; }
    for check in "DisplayName=$caption ($arch)" "DisplayVersion=$installed_version" Publisher=Orlek \
        "InstallLocation=$windows_folder\\"; do
        value=$(registry_value "$key" "${check%%=*}")
        [ "$value" = "${check#*=}" ] || fail "the entry's ${check%%=*} is '$value', not '${check#*=}'"
    done
    value=$(registry_value "$key" Size)
    [[ "$value" =~ ^[0-9]+$ ]] && [ "$value" -gt 0 ] || fail "the entry's Size is '$value'"
    # Add/Remove Programs shows the icon Windows Installer keeps for the product.
    icon=$(registry_value "$(products_key "$code")" ProductIcon /reg:64)
    [ -n "$icon" ] && [ -s "$("$XPV_WINE" winepath -u "$icon" 2>/dev/null)" ] ||
        fail "the product's icon is '$icon', which is no file"
}

# After the removal: none of the package's files, the shortcut or the entry; the folder only
# when nothing else is left in it.
check_removed() {
    local folder=$1 code=$2
    shift 2
    [ ! -f "$shortcut" ] && [ ! -f "$user_shortcut" ] || fail "the Start-menu shortcut stays"
    ! registry_key_exists "$(uninstall_key "$code")" || fail "the entry $code stays in Add/Remove Programs"
    if [ $# -eq 0 ]; then
        [ ! -e "$folder" ] || fail "the folder $folder stays, with [$(contents "$folder")]"
    else
        [ "$(contents "$folder")" = "$*" ] || fail "$folder holds [$(contents "$folder")], not [$*]"
    fi
}

code=$(product_code "$msi")
earlier_code=$(product_code "$earlier_msi")
[ -n "$code" ] && [ "$code" != "$earlier_code" ] ||
    fail "the two versions' packages have the product codes '$code' and '$earlier_code'"
package=$(windows_path "$msi")
earlier_package=$(windows_path "$earlier_msi")

case $case_name in
default_folder)
    [ ! -e "$default_folder" ] || fail "$default_folder exists before the install"
    run_msiexec install 0 /i "$package"
    check_installed "$default_folder" "$default_windows_folder" "$code" "$version"
    if [ -n "$other_program_files" ]; then
        [ ! -e "$other_program_files/$caption" ] || fail "the package installed into $other_program_files"
    fi
    leave_history_and_manifests "$default_folder"
    # The same package again, as a deployment tool repeats itself: nothing changes.
    run_msiexec install-again 0 /i "$package"
    check_installed "$default_folder" "$default_windows_folder" "$code" "$version" history.db xpvestrim-cli.exe.manifest
    run_msiexec remove 0 /x "$package"
    check_removed "$default_folder" "$code" history.db xpvestrim-cli.exe.manifest
    check_history_and_manifests_kept "$default_folder"
    # What the test left there, so that the other cases find Program Files as it was.
    rm -f "$default_folder/history.db" "$default_folder/xpvestrim-cli.exe.manifest"
    rmdir "$default_folder" 2>/dev/null || true
    ;;
upgrade)
    folder="$work/Tools/XP Vestrim"
    windows_folder=$(windows_path "$folder")
    run_msiexec install-earlier 0 /i "$earlier_package" "INSTALLDIR=$windows_folder"
    check_installed "$folder" "$windows_folder" "$earlier_code" "$earlier_version"
    [ ! -e "$default_folder" ] || fail "the package installed into $default_folder too"
    leave_history_and_manifests "$folder"
    # The newer version replaces the earlier one, in its folder without being told: one entry, the
    # history kept.
    run_msiexec upgrade 0 /i "$package"
    check_installed "$folder" "$windows_folder" "$code" "$version" history.db xpvestrim-cli.exe.manifest
    ! registry_key_exists "$(uninstall_key "$earlier_code")" || fail "the earlier version's entry stays"
    check_history_and_manifests_kept "$folder"
    # The earlier version refuses to go over the newer one, which stays as it was. 1603: the
    # installation failed, as Windows Installer ends when a launch condition is not met.
    run_msiexec downgrade 1603 /i "$earlier_package"
    check_installed "$folder" "$windows_folder" "$code" "$version" history.db xpvestrim-cli.exe.manifest
    ! registry_key_exists "$(uninstall_key "$earlier_code")" || fail "the refused earlier version made an entry"
    # By its product code, as Add/Remove Programs does, without the folder: it is found.
    run_msiexec remove 0 /x "$code"
    check_removed "$folder" "$code" history.db xpvestrim-cli.exe.manifest
    check_history_and_manifests_kept "$folder"
    ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
finish
