#!/usr/bin/env bash
# Builds the whole program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-sanitize/ and runs the test suite there with ctest. A memory error, a leak or
# undefined behaviour stops the test it happens in, which then fails with the report on its
# output; leaks that belong to the libraries underneath (tests/sanitize/lsan.supp says which
# and why) are left out. Not run in CI: the instrumented suite takes several times as long.
#
# usage: scripts/test-sanitize.sh [ctest arguments, e.g. -R DatabaseLocation]
#
# The reruns of the suite under another clock (OnAnotherDay.*) and the Debian package test are
# left out unless EVD_SANITIZE_ALL=1: they run the same test programs again, or package them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"

# The same options while building: the build runs the test programs to list their tests.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$root/tests/sanitize/ubsan.supp"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS_DEBUG="$flags" -DCMAKE_CXX_FLAGS_DEBUG="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DEVD_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build build-sanitize -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
exclude=()
[ "${EVD_SANITIZE_ALL:-}" = "1" ] || exclude=(-E '^(OnAnotherDay\..*|DebianPackage)$')
cd build-sanitize
start=$(date +%s)
status=0
ctest -j"$(nproc)" --output-on-failure --timeout 3000 "${exclude[@]}" "$@" || status=$?
echo "test-sanitize: $(($(date +%s) - start)) s; the sanitizers' reports are in build-sanitize/Testing/Temporary/LastTest.log"
exit $status
