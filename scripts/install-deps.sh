#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the program.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev qt6-tools-dev qt6-l10n-tools
  firebird3.0-server-core firebird-dev libfbclient2 firebird3.0-utils firebird3.0-server
  libgtest-dev libgmock-dev libbenchmark-dev
  libarchive-dev libarchive-tools zlib1g-dev libxlsxwriter-dev libreoffice-dev poppler-utils fonts-dejavu-core faketime
  dpkg-dev file
)
# LibreOffice Calc takes the spreadsheet exports; a desktop that has it keeps its own, a machine
# without it gets the variant that runs without a display (the tests drive it headless).
if ! dpkg-query -W -f='${Status}' libreoffice-calc 2>/dev/null | grep -q 'install ok installed'; then
  packages+=(libreoffice-calc-nogui)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
