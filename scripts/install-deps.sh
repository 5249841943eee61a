#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the program, and the packages
# named as arguments (scripts/fuzz.sh asks for its compiler that way).
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev qt6-tools-dev qt6-l10n-tools
  firebird3.0-server-core firebird-dev libfbclient2 firebird3.0-utils firebird3.0-server
  libgtest-dev libgmock-dev libbenchmark-dev
  libarchive-dev libarchive-tools zlib1g-dev libxlsxwriter-dev liborcus-dev libreoffice-dev poppler-utils fonts-dejavu-core faketime
  dpkg-dev file
  # LibreOffice Calc takes the spreadsheet exports: the full office, which shows the document on
  # a desktop and runs headless for the tests (it replaces the variant built without a display).
  libreoffice-calc
  "$@"
)
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
