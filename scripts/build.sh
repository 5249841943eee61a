#!/usr/bin/env bash
# Configures and builds into build/; build/bin/ is the program folder. Under CI, compiler
# warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # A clone in another folder reuses the same cache entries.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEVD_WERROR=$werror "${launcher[@]}"
cmake --build build -j"$(nproc)"
