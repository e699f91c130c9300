#!/usr/bin/env bash
# CI: the libraries and every offscreen test built with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/; any report fails the run.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-asan"

# What the build and the tests need, as tools/dev.sh installs it, so that
# this stage also runs alone on a fresh machine.
packages=(
  cmake ninja-build g++ libgcc-12-dev pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
  googletest libgtest-dev libgmock-dev librapidcheck-dev fonts-liberation locales cmark-gfm
)
. "$here/tools/setup.sh"
install_missing "${packages[@]}"
ensure_test_locale

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The gesture fuzzer: about 240,000 steps; the test fails with fewer than 200,000.
export RC_PARAMS="max_success=2400 max_size=400"
export KORVEL_GESTURE_STEPS=200000
cd "$build"
# ui_smoke needs an X server; every other test runs offscreen. The soak's
# 200,000 ticks run in the normal build: here they would take most of the
# stage and find nothing the other tests' ticks don't.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 -j2 -E '^(ui_smoke|Soak\..*)$'
