#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and be tested, skipping those that
# are already there. Safe to run again. Usage: tools/install-deps.sh [--tests] [--package]
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libfluidsynth-dev fluidsynth timgm6mb-soundfont
    libjpeg62-turbo-dev
    fonts-lato fonts-liberation fonts-liberation2 fonts-comic-neue fonts-dejavu-core
    qt6-wayland
    # The manual page, read with man.
    man-db
)
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(clang-format libgtest-dev xvfb xauth imagemagick pulseaudio pulseaudio-utils sox desktop-file-utils appstream clang libclang-rt-14-dev)
    # The window tests on a real desktop: a window manager, a session bus and the accessibility
    # bus that screen readers read.
    packages+=(openbox dbus-daemon at-spi2-core python3-pyatspi python3-gi)
    # The screen reader a blind player hears the game through, and its speech.
    packages+=(orca speech-dispatcher espeak-ng)
    # A Wayland compositor to run the game on.
    packages+=(weston)
    # The tunes' loudness, measured in both General MIDI SoundFonts.
    packages+=(python3 ffmpeg fluid-soundfont-gm)
fi
# Building the Debian package from debian/ and checking it.
if [[ " $* " == *" --package "* ]]; then
    packages+=(build-essential debhelper dpkg-dev lintian libjpeg-dev)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo_cmd=()
if ((EUID != 0)); then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
