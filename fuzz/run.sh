#!/usr/bin/env bash
# run.sh: builds the libFuzzer harnesses with clang in build-fuzz/ and runs
# each one for a bounded time; any finding (crash, sanitizer report, leak,
# timeout, memory limit) fails the run.
#
#   fuzz/run.sh [-t SECONDS] [-j JOBS] [-l MAX_LEN] [-T TIMEOUT] [HARNESS...]
#
# -t: seconds per harness (30); -j: build jobs (2); -l: longest input, in
# place of each harness's own bound; -T: seconds one input may take (10).
# Harness names are those of fuzz/*.cpp without "fuzz_" (regex, catalogue,
# hba_conf, text, emulex_query, kernel_release); all of them by default. The
# harnesses run one after the other. New inputs go to build-fuzz/corpus/NAME,
# the committed seeds in fuzz/corpus/NAME are only read; each run's output
# is kept in build-fuzz/logs/NAME.log and a finding's input is written to
# build-fuzz/findings/. The kernel release harness runs inside
# sim/sandbox, since its component writes the log at the fixed path.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=30
jobs=2
length=
timeout=10
while getopts "t:j:l:T:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    j) jobs=$OPTARG ;;
    l) length=$OPTARG ;;
    T) timeout=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(regex catalogue hba_conf text emulex_query kernel_release)

build=$PWD/build-fuzz
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHBAFW_FUZZ=ON -DHBAFW_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target hbafw_fuzzers

# Per harness, the longest input. The regex harness bounds its own pattern
# and subject. The query-line pattern has seven unbounded repetitions and
# backtracks polynomially in the line's length with a high degree: a crafted
# line of 736 bytes already takes over half a second, so the bounded runs stop
# at 512 bytes, and lines up to 4 KiB are explored with -l 4096 -T 600.
max_len() {
  if [ -n "$length" ]; then
    echo "$length"
    return
  fi
  case $1 in
    regex) echo 400 ;;
    catalogue) echo 2048 ;;
    emulex_query) echo 512 ;;
    *) echo 1024 ;;
  esac
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/findings" "$build/logs"
status=0
for name in "${names[@]}"; do
  binary=$build/bin/fuzz_$name
  [ -x "$binary" ] || { echo "run.sh: no harness $name" >&2; exit 2; }
  corpus=$build/corpus/$name
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -max_len="$(max_len "$name")"
    -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$build/findings/$name-")
  [ -f "fuzz/$name.dict" ] && options+=(-dict="$PWD/fuzz/$name.dict")
  runner=()
  [ "$name" = kernel_release ] && runner=(sim/sandbox)
  log=$build/logs/$name.log
  echo "== fuzz $name for ${seconds}s (log: $log)"
  if "${runner[@]}" "$binary" "${options[@]}" "$corpus" "$PWD/fuzz/corpus/$name" >"$log" 2>&1; then
    grep -E "DONE|^stat::" "$log" || true
  else
    tail -n 80 "$log" >&2
    echo "== fuzz $name: FINDING (see $log and $build/findings/)" >&2
    status=1
  fi
done
exit $status
