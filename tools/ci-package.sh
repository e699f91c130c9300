#!/usr/bin/env bash
# CI stage for the Debian package: checks the desktop file, the metainfo and
# the MIME type with the desktop's own validators, builds the .deb with cpack,
# lints it, installs it with apt-get and uses what it installed.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
app=org.korvel.korvel
mime=application/x-korvel

packages=(
  lintian desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin
  dpkg-dev fakeroot file gzip binutils
)

. "$here/tools/setup.sh"

fail() {
  echo "ci-package: $*" >&2
  exit 1
}

work=$(mktemp -d)
installed_here=false
cleanup() {
  rm -rf "$work"
  if $installed_here; then apt_get remove -y -q korvel >/dev/null; fi
}
trap cleanup EXIT

# The MIME type of a file as GLib resolves it from the shared-mime-info database.
content_type() {
  gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}

expect_type() {
  local got
  got=$(content_type "$2")
  [ "$got" = "$1" ] || fail "$2 is '$got', not '$1'"
}

install_missing "${packages[@]}"
[ -f "$build/build.ninja" ] || "$here/tools/dev.sh" test
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build"

echo "== desktop file and metainfo"
desktop-file-validate "$here/packaging/$app.desktop"
appstreamcli validate --no-net "$here/packaging/$app.metainfo.xml"

echo "== MIME type in a temporary XDG_DATA_DIRS"
mkdir -p "$work/share/mime/packages" "$work/home"
cp "$here/packaging/$app.xml" "$work/share/mime/packages/"
update-mime-database "$work/share/mime"
cp "$here/examples/boato.KRL" "$work/licao.krl"
cp "$here/examples/boato.KRL" "$work/licao-sem-extensao"
printf 'nota de aula\n' >"$work/nota.txt"
(
  export XDG_DATA_DIRS="$work/share:/usr/share" XDG_DATA_HOME="$work/home"
  expect_type "$mime" "$here/examples/geladeira.KRL"
  expect_type "$mime" "$work/licao.krl"
  expect_type "$mime" "$work/licao-sem-extensao"
  expect_type text/plain "$work/nota.txt"
)

echo "== Debian package"
rm -f "$build"/korvel_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/korvel_*.deb)
lintian --fail-on error "$deb"

echo "== installing $deb"
dpkg-query -W -f='${Status}' korvel 2>/dev/null | grep -q "install ok installed" || installed_here=true
apt_get install -y -q "$deb"

for f in /usr/bin/korvel /usr/bin/korvel-sim \
  "/usr/share/applications/$app.desktop" "/usr/share/metainfo/$app.metainfo.xml" \
  "/usr/share/mime/packages/$app.xml" "/usr/share/icons/hicolor/scalable/apps/$app.svg" \
  "/usr/share/icons/hicolor/48x48/apps/$app.png" "/usr/share/icons/hicolor/256x256/apps/$app.png" \
  /usr/share/man/man1/korvel.1.gz /usr/share/man/man1/korvel-sim.1.gz \
  /usr/share/korvel/examples/LEIAME.md /usr/share/doc/korvel/copyright; do
  [ -e "$f" ] || fail "$f was not installed"
done
# grep reads to the end: with -q a match could stop it early, and pipefail
# would then hide the match behind ldd's broken pipe.
if ldd /usr/bin/korvel /usr/bin/korvel-sim | grep "not found"; then
  fail "a library the programs need is not installed"
fi
file "/usr/share/icons/hicolor/48x48/apps/$app.png" | grep "48 x 48" >/dev/null || fail "the 48 px icon"
grep -qx "Icon=$app" "/usr/share/applications/$app.desktop" || fail "the desktop entry names another icon"
grep -q "<id>$app</id>" "/usr/share/metainfo/$app.metainfo.xml" || fail "the metainfo has another id"
strings -e l /usr/bin/korvel | grep -x "$app" >/dev/null || fail "the window names another desktop entry"

lessons=(/usr/share/korvel/examples/*.KRL)
[ ${#lessons[@]} -ge 8 ] || fail "only ${#lessons[@]} lessons installed"
/usr/bin/korvel-sim /usr/share/korvel/examples/caixa-dagua.KRL --ticks 50 >"$work/caixa.csv"
[ "$(head -n 1 "$work/caixa.csv")" = "tick,Torneira,Caixa d'água,Ralo" ] || fail "unexpected CSV header"
[ "$(wc -l <"$work/caixa.csv")" -eq 52 ] || fail "the installed korvel-sim did not run 50 ticks"
/usr/bin/korvel-sim /usr/share/korvel/examples/coelhos-e-linces.KRL --ticks 200 \
  --picture "$work/coelhos.png" >/dev/null
file "$work/coelhos.png" | grep "PNG image data, 1366 x 698" >/dev/null || fail "no picture from korvel-sim"

expect_type "$mime" /usr/share/korvel/examples/boato.KRL
# xdg-mime asks GLib on a GNOME desktop; elsewhere it asks file(1), which
# knows no desktop types.
[ "$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype /usr/share/korvel/examples/boato.KRL)" = "$mime" ] ||
  fail "xdg-mime does not know the lessons' type"
[ "$(xdg-mime query default "$mime")" = "$app.desktop" ] ||
  fail "a double click on a lesson would not open Korvel"
echo "ci-package: the package installs, runs and opens its lessons"
