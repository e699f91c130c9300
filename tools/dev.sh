#!/usr/bin/env bash
# Korvel's one entry point for a fresh Debian 12 machine:
#   tools/dev.sh run [MODEL.KRL]   install what is missing, build, start the program
#   tools/dev.sh test              install what is missing, build, run every test
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
  googletest libgtest-dev libgmock-dev libbenchmark-dev librapidcheck-dev
  fonts-liberation xvfb xauth x11-utils imagemagick locales poppler-utils cmark-gfm
)

. "$here/tools/setup.sh"

configure_and_build() {
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_WERROR=ON >/dev/null
  cmake --build "$build"
}

case "${1:-}" in
  run)
    install_missing "${packages[@]}"
    configure_and_build
    shift
    model="${1:-$here/examples/populacao.KRL}"
    if [ -x "$build/ui/korvel" ]; then
      exec "$build/ui/korvel" "$model"
    fi
    echo "The main window is not built yet; running the model in the batch runner instead." >&2
    exec "$build/cli/korvel-sim" "$model" --ticks 20
    ;;
  test)
    install_missing "${packages[@]}"
    ensure_test_locale
    configure_and_build
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j2
    ;;
  *)
    echo "usage: tools/dev.sh run [MODEL.KRL] | tools/dev.sh test" >&2
    exit 2
    ;;
esac
