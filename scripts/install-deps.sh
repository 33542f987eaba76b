#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tavimero need, when any
# is missing. A second run finds them all and returns at once. Works without a terminal.
set -euo pipefail

packages=(
    # Cross build for Windows (posix thread model: GoogleTest needs std::mutex)
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    # Native build, unit tests, sanitizers and fuzzers
    cmake make g++ clang libclang-rt-14-dev googletest
    # Running under Wine without a screen, screenshots, Japanese fonts and locales
    wine wine64 xvfb xdotool imagemagick fonts-ipafont-gothic locales
    zip
)

# One dpkg-query for all: it prints the installed state of each package it knows.
declare -A installed=()
while read -r name state; do
    [[ $state == ii* ]] && installed[${name%%:*}]=1
done < <(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for pkg in "${packages[@]}"; do
    [[ -n ${installed[$pkg]:-} ]] || missing+=("$pkg")
done
((${#missing[@]} == 0)) && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
apt_options=(-o DPkg::Lock::Timeout=600 -o Dpkg::Options::=--force-confdef
    -o Dpkg::Options::=--force-confold)
"${sudo[@]}" apt-get "${apt_options[@]}" -qq update </dev/null
"${sudo[@]}" apt-get "${apt_options[@]}" -y -q install "${missing[@]}" </dev/null
echo "install-deps: done"
