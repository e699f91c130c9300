#!/usr/bin/env bash
# Takes the user guide's screenshots of the real program on a virtual
# 1366x768 screen with openbox, driving it with xdotool:
#   tools/screenshots.sh [OUTPUT_FOLDER]     (default docs/imagens)
# Run it again whenever the window changes, and look at every picture.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
out=$(realpath -m "${1:-$here/docs/imagens}")
examples="$here/examples"
display=:${KORVEL_SHOT_DISPLAY:-73}

packages=(xvfb openbox xdotool imagemagick x11-utils fonts-liberation locales)
. "$here/tools/setup.sh"
install_missing "${packages[@]}"
[ -x "$build/ui/korvel" ] || "$here/tools/dev.sh" test
cmake --build "$build" >/dev/null
mkdir -p "$out"

# The window as a Brazilian teacher sees it: decimal commas, Qt's texts in Portuguese.
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 DISPLAY="$display"
unset QT_QPA_PLATFORM

# The pictures show a teacher's own home with the lessons copied into it,
# never the developer's folders or root's home.
export HOME=/home/professora
[ ! -e "$HOME" ] || { echo "screenshots: $HOME already exists; it is made and removed here" >&2; exit 1; }
lessons="$HOME/aulas"

pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  as_root rm -rf "$HOME"
}
trap cleanup EXIT
as_root install -d -o "$(id -u)" -g "$(id -g)" "$HOME"
mkdir -p "$lessons"
cp "$examples"/*.KRL "$lessons/"

Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Where things are on this screen: openbox's title bar (19 pixels) and the
# menu bar (20) above the 31-pixel toolbar; the canvas starts below it.
readonly toolbar_y=54 canvas_top=70
readonly x_novo=15 x_abrir=38 x_imprimir=84 x_selecao=117 x_play=242 x_pause=265

# Started from the lessons' folder, the caption and the open dialog show them.
cd "$lessons"
korvel_pid=
start() {
  "$build/ui/korvel" "$1" >/dev/null 2>&1 &
  korvel_pid=$!
  pids+=("$korvel_pid")
  timeout 30 xdotool search --sync --onlyvisible --name "Korvel - " >/dev/null ||
    { echo "screenshots: the window did not appear" >&2; exit 1; }
  sleep 1.5
  # The toolbar's lower edge must be where the coordinates above expect it.
  local edge
  edge=$(import -window root -crop 1x1+1000+$((canvas_top - 2)) txt:- | grep -o '#[0-9A-F]\{6\}' | head -1)
  [ "$edge" = "#808080" ] || { echo "screenshots: the toolbar is not where expected ($edge)" >&2; exit 1; }
}
stop() {
  kill "$korvel_pid" 2>/dev/null || true
  wait "$korvel_pid" 2>/dev/null || true
  sleep 0.5
}

click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.6}"; }
canvas_double_click() {
  xdotool mousemove "$1" $(($2 + canvas_top)) click --repeat 2 --delay 80 1
  sleep 1
}
key() { xdotool key "$@"; sleep 0.8; }

shot() { import -window root "$out/$1.png"; }
# The active window (a dialog or a menu), with a margin of screen around it.
shot_active() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getactivewindow getwindowgeometry --shell)"
  local left=$((X > 30 ? X - 30 : 0)) top=$((Y > 50 ? Y - 50 : 0))
  import -window root -crop "$((WIDTH + 60))x$((HEIGHT + 80))+$left+$top" +repage "$out/$1.png"
}

start coelhos-e-linces.KRL
shot janela-aberta
convert "$out/janela-aberta.png" -crop 560x31+0+39 +repage -scale 200% "$out/barra-de-ferramentas.png"

canvas_double_click 300 387
shot_active dialogo-variavel
key Escape
canvas_double_click 330 277
shot_active dialogo-relacionamento
key Escape
click "$x_selecao" "$toolbar_y"

click "$x_play" "$toolbar_y" 16
click "$x_pause" "$toolbar_y"
shot janela-principal

key alt+c
import -window root -crop 420x170+0+0 +repage "$out/menu-configuracoes.png"
key v
shot_active velocidade
key Escape

click "$x_imprimir" "$toolbar_y" 1
shot imprimir
key Escape

# The animation changed the model, so Open asks first.
click "$x_abrir" "$toolbar_y" 1.5
shot_active pergunta-salvar
key alt+n
sleep 1
shot_active abrir
key Escape
key alt+j Return
shot_active sobre
key Escape
stop

start geladeira.KRL
canvas_double_click 950 267
shot_active dialogo-liga-desliga
key Escape
stop

"$build/cli/korvel-sim" "$lessons/boato.KRL" --ticks 100 --size 1100x420 \
  --picture "$out/korvel-sim-boato.png" >/dev/null
echo "screenshots: $(ls "$out" | wc -l) pictures in $out"
