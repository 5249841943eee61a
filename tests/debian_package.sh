#!/bin/sh
# Makes the Debian package from the build folder (cpack -G DEB), checks what it declares and
# holds, unpacks it into a scratch root with dpkg -x and starts the program from there the way
# a user starts it the first time: offscreen, with a home of its own. The installed program
# folder is read-only, so the program must make the user's data folder, copy the delivered
# database into it and connect to the copy.
#
# usage: debian_package.sh BUILD-FOLDER
set -u
if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD-FOLDER" >&2
    exit 2
fi
build=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/debian_package.XXXXXX") || exit 1
gui=
cleanup() {
    [ -n "$gui" ] && kill -9 "$gui" 2>/dev/null
    chmod -R u+w "$scratch" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# The package.
if ! (cd "$build" && cpack -G DEB -B "$scratch/cpack") >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    echo "FAILED: cpack -G DEB" >&2
    exit 1
fi
deb=$(ls "$scratch"/cpack/evidenta_*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
    cat "$scratch/cpack.log" >&2
    echo "FAILED: no evidenta_*.deb made" >&2
    exit 1
fi
echo "package: $(basename "$deb")"

# What it declares.
[ "$(dpkg-deb -f "$deb" Package)" = evidenta ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in firebird3.0-server-core libfbclient2 libqt6widgets6 libqt6gui6 libqt6core6 libarchive13 libxlsxwriter; do
    echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/ .*//' | grep -q "^$needed" || fail "Depends lacks $needed"
done
dpkg-deb -f "$deb" Recommends | grep -q libreoffice-calc || fail "Recommends lacks libreoffice-calc"

# What it holds: the program folder, the launcher, the desktop entry and its icon; no tests.
dpkg-deb -c "$deb" >"$scratch/contents"
for path in ./opt/evidenta/evidenta ./opt/evidenta/rar ./opt/evidenta/cdsdump ./opt/evidenta/bdkolm.gdb \
            ./usr/share/applications/evidenta.desktop ./usr/share/icons/hicolor/scalable/apps/evidenta.svg; do
    grep -q " $path\$" "$scratch/contents" || fail "the package lacks $path"
done
grep -q " ./usr/bin/evidenta -> /opt/evidenta/evidenta\$" "$scratch/contents" || fail "no launcher /usr/bin/evidenta"
grep -q "^dr-xr-xr-x .* ./opt/evidenta/\$" "$scratch/contents" || fail "the program folder is not read-only"
if grep -E "test|bench|mkdb|_layer" "$scratch/contents" >&2; then
    fail "the package holds tests or build tools"
fi

# Installed into a scratch root.
root=$scratch/root
dpkg -x "$deb" "$root" || { echo "FAILED: dpkg -x" >&2; exit 1; }
grep -q "^Exec=evidenta\$" "$root/usr/share/applications/evidenta.desktop" || fail "desktop entry Exec"
grep -q "^Icon=evidenta\$" "$root/usr/share/applications/evidenta.desktop" || fail "desktop entry Icon"
program=$root/opt/evidenta/evidenta
[ "$(stat -c %a "$root/opt/evidenta")" = 555 ] || fail "the installed program folder is writable"

QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORM
unset XDG_DATA_HOME
export HOME="$scratch/home"
mkdir -p "$HOME"
data=$HOME/.local/share/evidenta

"$program" --version >"$scratch/version" 2>&1 || fail "--version: $(cat "$scratch/version")"
[ -e "$data" ] && fail "--version made the data folder"

# The command line connects to the user's copy of the delivered database: an empty database
# has no agent, which it can only say after reading it.
(cd "$HOME" && "$program" --pachet-electronic 2024 L05) >"$scratch/out" 2>"$scratch/err"
rc=$?
[ $rc -eq 1 ] || fail "--pachet-electronic ended with $rc: $(cat "$scratch/err")"
[ "$(cat "$scratch/err")" = "Nu este înregistrat niciun agent economic." ] || fail "refusal: $(cat "$scratch/err")"
[ -s "$data/bdkolm.gdb" ] || fail "no copy of the delivered database in $data"
ls "$data"/ARHIVA/bdkolm_*.rar >/dev/null 2>&1 || fail "no daily archive in $data/ARHIVA"
ls -A "$root/opt/evidenta" | sort | tr '\n' ' ' | grep -qx "bdkolm.gdb cdsdump evidenta rar " \
    || fail "the program folder changed: $(ls -A "$root/opt/evidenta")"

# The windows, started the first time by another user: the data folder and the copy appear
# before any question is asked.
export HOME="$scratch/home2"
mkdir -p "$HOME"
data=$HOME/.local/share/evidenta
"$program" >"$scratch/gui.log" 2>&1 &
gui=$!
waited=0
while [ ! -s "$data/bdkolm.gdb" ] && [ $waited -lt 60 ] && kill -0 "$gui" 2>/dev/null; do
    sleep 1
    waited=$((waited + 1))
done
[ -s "$data/bdkolm.gdb" ] || fail "the windows made no data folder: $(cat "$scratch/gui.log")"
kill -0 "$gui" 2>/dev/null || fail "the program did not stay open: $(cat "$scratch/gui.log")"
cmp -s "$data/bdkolm.gdb" "$root/opt/evidenta/bdkolm.gdb" || fail "the copy differs from the delivered database"
kill -9 "$gui" 2>/dev/null
wait "$gui" 2>/dev/null
gui=

if [ $failures -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "the package installs and the program starts from it"
