#!/usr/bin/env bash
# The CI stages after ./dev test:
#   scripts/ci-extra.sh sanitize   every test again, built with ASan and UBSan (build-asan/)
#   scripts/ci-extra.sh fuzz       every fuzz target for FUZZ_SECONDS (default 30) on the
#                                  seed corpus its generator writes (build-fuzz/)
# The window is left out of both builds: they test the layers below it.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-30}

# A sanitizer report fails the run; UBSan would otherwise only print it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

# Assertions on; -O1 with line tables halves the compile time of -O2 -g and
# keeps the sanitizers' reports readable.
build_type=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1")

sanitize() {
  cmake -S . -B build-asan "${build_type[@]}" -DPROGRAMCD_SANITIZE=ON -DPROGRAMCD_GUI=OFF >/dev/null
  cmake --build build-asan -j"$jobs"
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
}

# The longest input each target takes; the image shapes make small inputs
# reach large files.
max_len() {
  case $1 in
    identify) echo 16384 ;;
    option_values | recorder_choice) echo 256 ;;
    sim_bus) echo 16384 ;;
  esac
}

fuzz() {
  cmake -S . -B build-fuzz "${build_type[@]}" -DCMAKE_CXX_COMPILER=clang++ \
    -DPROGRAMCD_FUZZ=ON -DPROGRAMCD_SANITIZE=ON -DPROGRAMCD_GUI=OFF >/dev/null
  cmake --build build-fuzz -j"$jobs" --target fuzzers
  rm -rf build-fuzz/seeds build-fuzz/corpus
  build-fuzz/fuzz/make_fuzz_seeds build-fuzz/seeds
  for target in identify option_values recorder_choice sim_bus; do
    mkdir -p "build-fuzz/corpus/$target" "build-fuzz/findings/$target"
    echo "fuzz: ${target}_fuzzer for ${fuzz_seconds} s"
    # New inputs go to corpus/, the seeds stay as generated; a crash is
    # saved under findings/ and fails the run with the fuzzer's report.
    log="build-fuzz/findings/$target/log"
    if ! "build-fuzz/fuzz/${target}_fuzzer" -max_total_time="$fuzz_seconds" \
      -max_len="$(max_len "$target")" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/findings/$target/" \
      "build-fuzz/corpus/$target" "build-fuzz/seeds/$target" >"$log" 2>&1; then
      tail -n 60 "$log"
      exit 1
    fi
    grep -E "^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$log" || true
  done
}

stages=("$@")
((${#stages[@]})) || stages=(sanitize fuzz)
for stage in "${stages[@]}"; do
  case $stage in
    sanitize | fuzz) "$stage" ;;
    *) echo "usage: scripts/ci-extra.sh [sanitize|fuzz]..." >&2; exit 2 ;;
  esac
done
