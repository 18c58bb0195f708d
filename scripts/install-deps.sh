#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libwxgtk3.2-dev libpng-dev liblhasa-dev libarchive-dev zlib1g-dev
    libsndfile1-dev libfluidsynth-dev libsdl2-dev timgm6mb-soundfont
    libhwy-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-apps imagemagick libx11-dev
    fonts-ipafont-gothic
    librsvg2-bin desktop-file-utils appstream shared-mime-info file dpkg-dev
    gettext
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
