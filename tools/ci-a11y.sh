#!/usr/bin/env bash
# The program by keyboard alone, read back through the accessibility bus:
# on a virtual X display with a D-Bus session and the AT-SPI registry, a
# model of two variables and one relationship is built, animated, stopped
# and saved with keys only; every object's name and value is read from the
# accessibility tree; the file must equal one built with the mouse.
#   tools/ci-a11y.sh [BUILD_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
. "$here/tools/setup.sh"

if [ "${A11Y_INSIDE_SESSION:-}" != 1 ]; then
  install_missing xvfb xauth xdotool openbox dbus dbus-x11 at-spi2-core python3-pyatspi locales
  ensure_test_locale
  [ -x "$build/ui/korvel" ] || { echo "build the program first: $build/ui/korvel" >&2; exit 1; }
  export A11Y_INSIDE_SESSION=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$0" "$build"
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$launcher" "$wm" 2>/dev/null || true' EXIT
sleep 1

work=$(mktemp -d)
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
# The system interpreter: pyatspi is a Debian package.
/usr/bin/python3 "$here/tests/ui/keyboard_only.py" "$build/ui/korvel" "$work"
