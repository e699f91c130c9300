#!/usr/bin/env bash
# CI: every libFuzzer target in fuzz/, built with clang in build-fuzz/, runs
# for 60 seconds from a corpus seeded with the examples and the test data.
# A crash, leak, property failure or an input slower than 1 s fails the run;
# keep the input libFuzzer names as a regression file in tests/data/, named
# after what it broke.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-fuzz"
seconds="${KORVEL_FUZZ_SECONDS:-60}"

packages=(cmake ninja-build clang-14 libclang-rt-14-dev llvm-14 qt6-base-dev
          googletest libgtest-dev libgmock-dev librapidcheck-dev cmark-gfm)
. "$here/tools/setup.sh"
install_missing "${packages[@]}"

# Debug keeps the asserts, which state what the program must never do.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O2 -g" \
  -DCMAKE_CXX_COMPILER=clang++-14 -DKORVEL_FUZZ=ON -DKORVEL_BUILD_UI=OFF >/dev/null
targets=()
for source in "$here"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tools/lsan.supp:print_suppressions=0"
export ASAN_SYMBOLIZER_PATH="$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)"
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/artifacts/$target.log"
  dict=()
  [ -f "$here/fuzz/$target.dict" ] && dict=(-dict="$here/fuzz/$target.dict")
  echo "== $target for ${seconds}s"
  if ! "$build/fuzz/$target" "$corpus" "$here/examples" "$here/tests/data" \
      -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=16384 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "${dict[@]}" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "$target failed; the input is in $build/artifacts/" >&2
    exit 1
  fi
  tail -n 12 "$log"
done
