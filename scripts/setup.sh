#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing,
# so that a second run costs one dpkg query.
set -euo pipefail

packages=(
    # build
    g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
    libxcb1-dev libxcb-damage0-dev
    libgl-dev fonts-liberation
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev qt6-base-private-dev clang libclang-rt-14-dev clang-tidy
    xvfb xauth xdotool x11-utils xclip openbox imagemagick weston qt6-wayland
    desktop-file-utils appstream dpkg-dev file binutils python3 lintian
    # the screen reader test: Orca on its own session and accessibility buses, speaking through
    # speech-dispatcher's generic module (libao: no sound device needed)
    orca speech-dispatcher speech-dispatcher-audio-plugins at-spi2-core dbus-daemon
    # the Windows program: cross compiler, GoogleTest sources, Wine to test it, NSIS to package it
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev googletest wine wine64 fonts-wine nsis python3-pefile unzip
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "setup: installing ${missing[*]}"
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi
