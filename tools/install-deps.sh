#!/usr/bin/env bash
# Installs what building and testing need on Debian (as root, or with sudo when present).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
# fonts-wine: the symbols of Wine's title-bar buttons; nsis: the setup programs; wixl (from msitools):
# the Windows Installer packages, which msitools' msiinfo reads in the tests;
# wine32-preloader: a 32-bit Wine process starts in seconds instead of a minute, emulated or not;
# e2fsprogs: chattr, which makes the tests' folder that takes no new file.
packages=(cmake ninja-build python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
          wine wine64 wine32:i386 wine32-preloader:i386 fonts-wine xvfb xauth xdotool imagemagick
          fonts-liberation2 doctest-dev nsis msitools wixl e2fsprogs)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    # 32-bit Wine needs the i386 architecture.
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Where the host executes no 32-bit code, the 32-bit half of Wine runs under the CPU emulator
# qemu-i386 (cmake/wine-host.sh). It is unpacked under build/qemu-user, never installed: the
# package's own setup would register it for every process on the machine. Emulated programs run
# several threads, which qemu before version 10 does not survive; when the machine's own suite
# has no such version, it comes from Debian's next stable suite through a private apt
# configuration under build/, which leaves the machine's package lists alone.
qemu_wanted_major=10
emulator=$top/build/qemu-user/qemu-i386
switch_on() { [ -n "${1:-}" ] && [ "$1" != 0 ]; }
needs_emulator() {
    switch_on "${XPV_NO_32BIT:-}" && return 1
    switch_on "${XPV_EMULATE_32BIT:-}" && return 0
    ! /usr/lib/wine/wine --version >/dev/null 2>&1
}
major_version() { sed -n 's/^\([0-9]*:\)\{0,1\}\([0-9]*\).*/\2/p'; }
fetch_emulator() {
    local work=$top/build/qemu-user
    local apt_config=()
    local candidate
    candidate=$(apt-cache policy qemu-user | sed -n 's/^ *Candidate: //p')
    if [ -z "$candidate" ] || [ "$candidate" = "(none)" ] ||
        [ "$(major_version <<<"$candidate")" -lt "$qemu_wanted_major" ]; then
        local apt_root=$work/apt mirror
        # The machine's own Debian mirror, with the suite after this one.
        mirror=$(apt-cache policy | awk -v suite="$(. /etc/os-release && echo "$VERSION_CODENAME")/main" \
            '$3 == suite { print $2; exit }')
        if [ -z "$mirror" ]; then
            echo "install-deps: no Debian mirror in the apt sources to take qemu-user from" >&2
            return 1
        fi
        mkdir -p "$apt_root"/{lists/partial,archives/partial,sources.list.d,preferences.d}
        touch "$apt_root/status"
        echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror trixie main" \
            >"$apt_root/sources.list"
        cat >"$apt_root/apt.conf" <<CONF
Dir::Etc::SourceList "$apt_root/sources.list";
Dir::Etc::SourceParts "$apt_root/sources.list.d";
Dir::Etc::Preferences "$apt_root/preferences";
Dir::Etc::PreferencesParts "$apt_root/preferences.d";
Dir::State "$apt_root";
Dir::State::Lists "$apt_root/lists";
Dir::State::status "$apt_root/status";
Dir::Cache "$apt_root";
Dir::Cache::Archives "$apt_root/archives";
APT::Architecture "amd64";
APT::Architectures { "amd64"; };
APT::Sandbox::User "root";
CONF
        apt_config=(env APT_CONFIG="$apt_root/apt.conf")
        "${apt_config[@]}" apt-get update -qq
    fi
    local download=$work/download
    rm -rf "$download" && mkdir -p "$download"
    (cd "$download" && "${apt_config[@]}" apt-get download -qq qemu-user 2>/dev/null)
    local package
    package=$(ls "$download"/qemu-user_*.deb)
    # The one emulator needed, of the package's many.
    rm -rf "$work/unpacked" && mkdir -p "$work/unpacked"
    dpkg-deb --fsys-tarfile "$package" | tar -x -C "$work/unpacked" ./usr/bin/qemu-i386
    ln -sfn unpacked/usr/bin/qemu-i386 "$emulator"
    rm -rf "$download"
    echo "install-deps: unpacked $("$emulator" --version | head -n 1) into $work"
}
unpacked_major() { "$emulator" --version 2>/dev/null | head -n 1 | sed -n 's/.*version \([0-9]*\).*/\1/p'; }
if needs_emulator; then
    major=$(unpacked_major || true)
    if [ -z "$major" ] || [ "$major" -lt "$qemu_wanted_major" ]; then fetch_emulator; fi
fi
