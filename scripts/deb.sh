#!/usr/bin/env bash
# Installs what is needed, builds, makes the Debian package build/evidenta_*.deb and installs it
# (under /opt/evidenta; started as `evidenta` or from the desktop's menu).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
(cd build && rm -f evidenta_*.deb && cpack -G DEB)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq ./build/evidenta_*.deb
