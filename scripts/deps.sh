#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, when missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-serialport-dev
          libx11-dev libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins qt6-translations-l10n libsqlite3-dev libsodium-dev mdbtools-dev pkg-config fonts-nanum sqlite3
          xvfb xauth poppler-utils libxlsxwriter-dev dpkg-dev lintian unzip
          postgresql postgresql-contrib libpq-dev
          openbox fcitx5 fcitx5-hangul fcitx5-frontend-qt6 dbus xdotool at-spi2-core python3-pyatspi)
# The proof build asks for its compiler on top.
read -r -a extra <<< "${SOLBITSEM_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "설치할 패키지: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
