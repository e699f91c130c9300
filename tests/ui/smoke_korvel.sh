#!/usr/bin/env bash
# Smoke test of the real program on a virtual X display: it opens the model
# named on its command line, shows exactly "Korvel - <path>" as its title,
# and draws the model's gauges.
#   smoke_korvel.sh KORVEL MODEL.KRL OUTDIR
# Needs xvfb-run and xauth, x11-utils (xwininfo, xprop) and imagemagick
# (import, convert); exits 77 (skipped) when one is missing.
set -euo pipefail

korvel=$1
model=$2
outdir=$3

if [ "${SMOKE_INSIDE_XVFB:-}" != 1 ]; then
  for tool in xvfb-run xauth xwininfo xprop import convert; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is not installed"
      exit 77
    fi
  done
  export SMOKE_INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

mkdir -p "$outdir"
shot="$outdir/smoke-korvel.png"
log="$outdir/smoke-korvel.log"

QT_QPA_PLATFORM=xcb "$korvel" "$model" >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

expected_title="Korvel - $model"
window=""
for _ in $(seq 1 100); do
  window=$(xwininfo -root -tree | awk -v t="\"$expected_title\":" 'index($0, t) { print $1; exit }')
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended early"; cat "$log"; exit 1; }
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "FAIL: no window titled '$expected_title'"
  xwininfo -root -tree | grep -i korvel || true
  exit 1
fi

title=$(xprop -id "$window" _NET_WM_NAME)
if [ "$title" != "_NET_WM_NAME(UTF8_STRING) = \"$expected_title\"" ]; then
  echo "FAIL: title is $title"
  exit 1
fi

# Fraction of dark pixels in a part of the screenshot: WIDTHxHEIGHT+X+Y.
dark() {
  convert "$shot" -crop "$1" +repage -colorspace Gray -threshold 50% -negate \
    -format '%[fx:mean]' info:
}

# The model's gauges stand at x = 100, 300 and 500 of the canvas, centred at
# y = 120; the canvas starts below the menu bar and the 31-pixel toolbar.
# The checks are loose on purpose: dark pixels where each gauge is, none in
# the empty band below them.
passed=0
for _ in $(seq 1 25); do
  sleep 0.2
  import -window "$window" "$shot"
  ok=1
  for x in 100 300 500; do
    awk -v f="$(dark "50x140+$((x - 25))+100")" 'BEGIN { exit !(f > 0.02) }' || ok=0
  done
  awk -v f="$(dark "450x50+50+260")" 'BEGIN { exit !(f < 0.001) }' || ok=0
  if [ "$ok" = 1 ]; then passed=1; break; fi
done

if [ "$passed" != 1 ]; then
  echo "FAIL: the gauges are not where the model puts them; see $shot"
  for x in 100 300 500; do echo "gauge at $x: $(dark "50x140+$((x - 25))+100")"; done
  echo "empty band: $(dark "450x50+50+260")"
  exit 1
fi
echo "PASS: window '$expected_title' shows the model ($shot)"
