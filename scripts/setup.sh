#!/usr/bin/env bash
# Installs what the program and its tests need on Debian 12, when missing.
set -euo pipefail
pkgs=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev unixodbc-dev odbcinst libsqliteodbc
      odbc-postgresql tdsodbc postgresql sqlite3 libsqlite3-dev libicu-dev libgtest-dev libgmock-dev libbenchmark-dev
      xvfb xauth fonts-dejavu-core openbox xdotool x11-utils imagemagick python3 clang libclang-rt-14-dev locales
      libwmf-dev fonts-urw-base35 qt6-translations-l10n desktop-file-utils python3-stdnum
      dbus at-spi2-core python3-pyatspi lintian libxlsxwriter-dev libzip-dev poppler-utils python3-openpyxl)
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

# The suite runs a second time under the Argentine locale (decimal comma).
if ! locale -a 2>/dev/null | grep -qix 'es_AR\.utf-\?8'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO sed -i 's/^# *\(es_AR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^es_AR\.UTF-8 UTF-8' /etc/locale.gen || echo 'es_AR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
