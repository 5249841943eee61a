#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/ with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, and runs each for the given seconds from a copy
# of its seeds (tests/fuzz/NAME/). Prints per target the fuzzer's runs (processes started: it
# goes on after a finding), the inputs executed and the findings: the inputs that crashed,
# leaked, ran out of time or memory, kept in build-fuzz/findings/NAME/ (emptied at each run;
# the log of each target is build-fuzz/findings/NAME.log). Exits 1 when anything was found.
# Not run in CI.
#
# usage: scripts/fuzz.sh [seconds per target, 60 by default] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
case $seconds in
'' | *[!0-9]*)
  echo "usage: $0 [seconds] [target ...]" >&2
  exit 2
  ;;
esac

# clang, and libFuzzer with the sanitizers' runtimes (libclang-rt-14-dev on Debian 12, which
# the clang package only recommends).
bash scripts/install-deps.sh clang libclang-rt-14-dev

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DEVD_FUZZ=ON -DEVD_BUILD_TESTS=OFF -DEVD_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target fuzz_targets -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/fuzz_*.cpp; do
    name=${source#tests/fuzz/fuzz_}
    targets+=("${name%.cpp}")
  done
fi

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
status=0
summary=()
for name in "${targets[@]}"; do
  program=build-fuzz/fuzz/fuzz_$name
  corpus=build-fuzz/corpus/$name
  findings=build-fuzz/findings/$name
  log=build-fuzz/findings/$name.log
  if [ ! -x "$program" ]; then
    echo "fuzz: no target $name" >&2
    status=1
    continue
  fi
  mkdir -p "$corpus"
  rm -rf "$findings"
  mkdir -p "$findings"
  [ -d "tests/fuzz/$name" ] && cp -f tests/fuzz/"$name"/* "$corpus"/ 2>/dev/null || true
  echo "fuzz: $name for $seconds s"
  "$program" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || true
  # The fork mode's status lines: "#EXECUTIONS: cov: ... job: RUNS ..."
  last=$(grep -E '^#[0-9]+: cov:' "$log" | tail -n 1 || true)
  executions=$(printf '%s' "$last" | sed -nE 's/^#([0-9]+):.*/\1/p')
  runs=$(printf '%s' "$last" | sed -nE 's/.* job: ([0-9]+).*/\1/p')
  count() { find "$findings" -maxdepth 1 -name "$1-*" | wc -l; }
  crashes=$(count crash) leaks=$(count leak) timeouts=$(count timeout) ooms=$(count oom)
  found=$((crashes + leaks + timeouts + ooms))
  if [ -z "$executions" ]; then
    echo "fuzz: $name did not run, see $log" >&2
    tail -n 20 "$log" >&2
    status=1
  fi
  [ "$found" -gt 0 ] && status=1
  summary+=("$(printf '%-16s %6s %12s %9s   crash %s, leak %s, timeout %s, oom %s' "$name" "${runs:-0}" \
    "${executions:-0}" "$found" "$crashes" "$leaks" "$timeouts" "$ooms")")
done

echo
printf '%-16s %6s %12s %9s\n' target runs executions findings
printf '%s\n' "${summary[@]}"
[ "$status" -ne 0 ] && echo "findings and logs: build-fuzz/findings/"
exit $status
