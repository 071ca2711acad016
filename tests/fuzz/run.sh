#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for SECONDS (default 30), one
# after another at low priority, from the seeds in tests/fuzz/corpus/<target>/
# (new inputs that reach new code are kept in build-fuzz/corpus/). Exits non-zero on the first crash,
# leaving the input as crash-* in the build folder.
#
#   tests/fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=${1:-30}
shift || true
build="$root/build-fuzz"
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is not installed, skipped"
  exit 0
fi
cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=($(sed -n 's/^set(ORVA_FUZZ_TARGETS \(.*\))$/\1/p' "$root/tests/fuzz/CMakeLists.txt"))
fi
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"
export ASAN_OPTIONS=detect_leaks=0
for t in "${targets[@]}"; do
  # New inputs go to the build folder; the seeds in the repository stay small.
  work="$build/corpus/$t"
  mkdir -p "$work"
  echo "fuzz: $t for $seconds s"
  (cd "$build" && nice -n 10 "./fuzz_$t" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "$work" "$root/tests/fuzz/corpus/$t" 2>&1 | tail -n 12)
done
