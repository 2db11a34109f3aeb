#!/usr/bin/env bash
# Installs what the program and its tests need on Debian 12, when missing.
set -euo pipefail
pkgs=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev unixodbc-dev odbcinst libsqliteodbc
      odbc-postgresql tdsodbc postgresql sqlite3 libgtest-dev libgmock-dev libbenchmark-dev
      xvfb xauth fonts-dejavu-core openbox xdotool x11-utils imagemagick python3
      libwmf-dev fonts-urw-base35 qt6-translations-l10n)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
