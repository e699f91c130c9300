#!/usr/bin/env bash
# The Debian package, built the Debian way and checked as a school would use it:
#   tools/ci-package.sh         build it, lint it, validate the desktop file, the
#                               metainfo and the MIME type, then install it with
#                               apt in a fresh Debian 12 root and use it there
#   tools/ci-package.sh build   only build it
# The packages land in build/deb/. A development build's version grows with
# every commit: <project version>+git<commits>.<hash>-1.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/build/deb"
app=org.korvel.korvel
mime=application/x-korvel
mode=${1:-all}
case "$mode" in
  all | build) ;;
  *)
    echo "usage: tools/ci-package.sh [build]" >&2
    exit 2
    ;;
esac

. "$here/tools/setup.sh"

fail() {
  echo "ci-package: $*" >&2
  exit 1
}

stage_start=$SECONDS
stage() {
  echo "== $* (at $((SECONDS - stage_start)) s)"
}

# Mounted file systems inside the clean root are unmounted before anything
# is removed, so the cleanup can never reach the host's /proc or /dev.
work=$(mktemp -d)
root="$work/root"
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    as_root umount "${mounted[i]}" 2>/dev/null || as_root umount -l "${mounted[i]}" || true
  done
  if findmnt -rno TARGET | grep "^$work/" >/dev/null; then
    echo "ci-package: something is still mounted under $work; left in place" >&2
    return
  fi
  as_root rm -rf --one-file-system "$work"
}
trap cleanup EXIT

upstream_version() {
  sed -n 's/^project(Korvel VERSION \([0-9][0-9.]*\).*/\1/p' "$here/CMakeLists.txt"
}

# The top entry of the changelog names the version dpkg-buildpackage gives
# the package: written here, from the project's version and the commit.
write_changelog_entry() {
  local changelog=$1 version=$2 date=$3 what=$4
  [ "$(dpkg-parsechangelog -l "$changelog" -S Version)" = "$version" ] && return 0
  local maintainer
  maintainer=$(sed -n 's/^Maintainer: //p' "$here/debian/control")
  {
    printf 'korvel (%s) UNRELEASED; urgency=medium\n\n  * %s\n\n -- %s  %s\n\n' \
      "$version" "$what" "$maintainer" "$date"
    cat "$changelog"
  } >"$changelog.new"
  mv "$changelog.new" "$changelog"
}

build_package() {
  install_missing dpkg-dev debhelper
  local upstream version date what
  upstream=$(upstream_version)
  [ -n "$upstream" ] || fail "no version in CMakeLists.txt's project()"
  if git -C "$here" rev-parse --git-dir >/dev/null 2>&1; then
    local count hash
    count=$(git -C "$here" rev-list --count HEAD)
    hash=$(git -C "$here" rev-parse --short=7 HEAD)
    version="$upstream+git$count.$hash-1"
    date=$(date -u -R -d "@$(git -C "$here" log -1 --format=%ct)")
    what="Development build of commit $hash."
  else
    version="$upstream-1"
    date=$(date -u -R)
    what="Build of Korvel $upstream."
  fi

  # dpkg-buildpackage writes beside the source folder, so it builds a copy.
  local src="$work/korvel-$upstream"
  mkdir -p "$src"
  tar -C "$here" --exclude=./.git --exclude='./build*' --exclude=./.cache -cf - . |
    tar -C "$src" -xf -
  write_changelog_entry "$src/debian/changelog" "$version" "$date" "$what"
  if ! dpkg-checkbuilddeps "$src/debian/control" 2>/dev/null; then
    apt_get update -q
    apt_get build-dep -y -q --no-install-recommends "$src"
  fi

  stage "building korvel $version"
  rm -rf "$out"
  mkdir -p "$out"
  (cd "$src" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc -b >"$out/build.log" 2>&1) ||
    { tail -n 60 "$out/build.log"; fail "dpkg-buildpackage failed; see $out/build.log"; }
  local built
  built=$(find "$work" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.ddeb' -o -name '*.changes' -o -name '*.buildinfo' \))
  # shellcheck disable=SC2086
  cp $built "$out/"
  deb="$out/korvel_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
  [ -f "$deb" ] || fail "no $deb"
  echo "ci-package: built $deb"
}

check_package() {
  install_missing lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin \
    file binutils debootstrap

  stage "desktop file and metainfo"
  desktop-file-validate "$here/packaging/$app.desktop"
  appstreamcli validate --no-net "$here/packaging/$app.metainfo.xml"

  stage "MIME type in a temporary XDG_DATA_DIRS"
  local types="$work/types"
  mkdir -p "$types/share/mime/packages" "$types/home"
  cp "$here/packaging/$app.xml" "$types/share/mime/packages/"
  printf 'nota de aula\n' >"$types/nota.txt"
  cp "$here/examples/boato.KRL" "$types/licao.krl"
  cp "$here/examples/boato.KRL" "$types/licao-sem-extensao"
  (
    export XDG_DATA_DIRS="$types/share:/usr/share" XDG_DATA_HOME="$types/home"
    update-mime-database "$types/share/mime"
    expect_type "$mime" "$here/examples/geladeira.KRL"
    expect_type "$mime" "$types/licao.krl"
    expect_type "$mime" "$types/licao-sem-extensao"
    expect_type text/plain "$types/nota.txt"
  )

  stage "lintian"
  # Informational and pedantic tags are shown; errors and warnings fail.
  lintian --pedantic --display-info --fail-on error,warning "$out"/*.changes

  stage "dependencies, version and hardening"
  local depends version
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 fonts-liberation; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib"
  done
  version=$(dpkg-deb -f "$deb" Version)
  if git -C "$here" rev-parse --git-dir >/dev/null 2>&1; then
    [ "$version" = "$(upstream_version)+git$(git -C "$here" rev-list --count HEAD).$(git -C "$here" rev-parse --short=7 HEAD)-1" ] ||
      fail "version $version does not name this commit"
  fi
  local files="$work/files"
  dpkg-deb -x "$deb" "$files"
  for program in korvel korvel-sim; do
    local elf="$files/usr/bin/$program"
    local dynamic symbols
    dynamic=$(readelf -d "$elf")
    symbols=$(readelf --dyn-syms -W "$elf")
    grep -Eq '\(FLAGS\) +BIND_NOW' <<<"$dynamic" || fail "$program is not linked with BIND_NOW"
    grep -Eq '\(FLAGS_1\) +Flags:.* NOW\b' <<<"$dynamic" || fail "$program lacks FLAGS_1 NOW"
    grep -Eq '\(FLAGS_1\) +Flags:.* PIE\b' <<<"$dynamic" || fail "$program is not position-independent"
    grep -q ' __stack_chk_fail\b' <<<"$symbols" || fail "$program has no stack protector"
    [ -n "$(grep -E ' __[a-z0-9_]+_chk\b' <<<"$symbols" | grep -v __stack_chk_fail)" ] ||
      fail "$program calls no FORTIFY (_chk) function"
  done
  strings -e l "$files/usr/bin/korvel" | grep -x "$app" >/dev/null ||
    fail "the window names another desktop entry"
  for size in 16 22 24 32 48 64 128 256; do
    [[ "$(file "$files/usr/share/icons/hicolor/${size}x$size/apps/$app.png")" == *"$size x $size,"* ]] ||
      fail "no $size px icon"
  done

  clean_install
}

# The MIME type of a file as GLib resolves it from the shared-mime-info database.
expect_type() {
  local got
  got=$(gio info -a standard::content-type "$2" | sed -n 's/^ *standard::content-type: //p')
  [ "$got" = "$1" ] || fail "$2 is '$got', not '$1'"
}

# The Debian archive and its updates and security suites, as the machine's
# own apt sources name them, as one-line sources for the clean root.
debian_sources() {
  local files=()
  [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
  for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
  done
  [ ${#files[@]} -gt 0 ] || return 0
  awk '
    function flush(   n, u, s, i, j, us, ss) {
      if (types ~ /(^| )deb( |$)/ && enabled != "no") {
        n = split(uris, us, " "); s = split(suites, ss, " ")
        for (i = 1; i <= n; i++) for (j = 1; j <= s; j++) emit(us[i], ss[j])
      }
      types = uris = suites = ""; enabled = "yes"
    }
    function emit(uri, suite) {
      if (suite ~ /^bookworm(-updates|-security|\/updates)?$/ && !seen[uri " " suite]++)
        print "deb " uri " " suite " main"
    }
    FNR == 1 { flush() }
    /^deb[ \t]/ { sub(/\[[^]]*\][ \t]*/, ""); emit($2, $3); next }
    /^[ \t]*$/ { flush(); next }
    /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
    /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
    /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
    /^Enabled:/ { enabled = tolower($2) }
    END { flush() }
  ' "${files[@]}"
}

in_root() {
  as_root chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/home/professora \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

clean_install() {
  local sources mirror
  sources=$(debian_sources)
  mirror=$(awk '$3 == "bookworm" { print $2; exit }' <<<"$sources")
  mirror=${mirror:-http://deb.debian.org/debian}

  stage "a fresh Debian 12 root from $mirror"
  as_root debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 30 "$work/debootstrap.log"; fail "debootstrap failed"; }
  if [ -n "$sources" ]; then as_root tee "$root/etc/apt/sources.list" <<<"$sources" >/dev/null; fi
  as_root cp /etc/resolv.conf "$root/etc/resolv.conf"
  # No terminal inside: dpkg need not log through one.
  as_root tee "$root/etc/apt/apt.conf.d/90korvel-ci" <<<'Dpkg::Use-Pty "0";' >/dev/null
  as_root mount -t proc proc "$root/proc"
  mounted+=("$root/proc")
  as_root mkdir -p "$root/dev/shm"
  as_root mount -t tmpfs shm "$root/dev/shm"
  mounted+=("$root/dev/shm")
  as_root mkdir -p "$root/home/professora"
  as_root cp "$deb" "$root/tmp/"

  stage "apt installs the package and what it depends on"
  in_root apt-get update -q >/dev/null
  # Without recommends: the package's own Depends must be enough.
  in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >"$work/install.log" 2>&1 ||
    { tail -n 30 "$work/install.log"; fail "apt could not install the package"; }
  if in_root sh -c 'ldd /usr/bin/korvel /usr/bin/korvel-sim' | grep "not found"; then
    fail "a library the programs need is not installed"
  fi

  stage "the installed programs, every installed lesson"
  # Before any X library is there to hide a missing display.
  [[ "$(in_root korvel --help)" == "uso: korvel "* ]] || fail "korvel --help printed no help"
  [[ "$(in_root korvel --version)" == *GPLv3+* ]] || fail "korvel --version names no licence"
  local lessons=("$root"/usr/share/korvel/examples/*.KRL)
  [ ${#lessons[@]} -ge 8 ] || fail "only ${#lessons[@]} lessons installed"
  for lesson in "${lessons[@]}"; do
    local path=${lesson#"$root"}
    in_root korvel-sim "$path" --ticks 100 --output /tmp/niveis.csv ||
      fail "korvel-sim could not run $path"
    [ "$(wc -l <"$root/tmp/niveis.csv")" -eq 102 ] || fail "$path did not run 100 ticks"
  done
  in_root korvel-sim /usr/share/korvel/examples/coelhos-e-linces.KRL --ticks 200 \
    --picture /tmp/coelhos.png >/dev/null
  [[ "$(file "$root/tmp/coelhos.png")" == *"PNG image data, 1366 x 698"* ]] || fail "no picture from korvel-sim"
  check_guide_links

  stage "the installed korvel on a lesson, under xvfb-run"
  in_root apt-get install -y -q --no-install-recommends xvfb xauth \
    shared-mime-info desktop-file-utils libglib2.0-bin xdg-utils >"$work/tools.log" 2>&1 ||
    { tail -n 30 "$work/tools.log"; fail "apt could not install xvfb"; }
  # With KORVEL_PRINT_CLOCK the program says when it first paints its
  # canvas, and SIGTERM quits it at once, without questions.
  in_root xvfb-run -a -s "-screen 0 1366x768x24" sh -c '
    KORVEL_PRINT_CLOCK=1 korvel /usr/share/korvel/examples/boato.KRL 2>/tmp/korvel.log &
    pid=$!
    for i in $(seq 300); do grep -q "first paint" /tmp/korvel.log && break; sleep 0.1; done
    sleep 3
    kill -TERM $pid
    wait $pid' || { cat "$root/tmp/korvel.log"; fail "the installed korvel failed"; }
  grep -q "korvel: first paint" "$root/tmp/korvel.log" ||
    { cat "$root/tmp/korvel.log"; fail "the installed korvel painted no window"; }
  grep -q "korvel: clock" "$root/tmp/korvel.log" ||
    { cat "$root/tmp/korvel.log"; fail "the installed korvel did not quit cleanly"; }
  sed 's/^/  /' "$root/tmp/korvel.log"

  stage "the lessons' type and a double click"
  expect_type_in_root "$mime" /usr/share/korvel/examples/boato.KRL
  [ "$(in_root xdg-mime query default "$mime")" = "$app.desktop" ] ||
    fail "a double click on a lesson would not open Korvel"

  stage "apt purge leaves nothing behind"
  in_root dpkg-query -L korvel >"$work/korvel.files"
  in_root apt-get purge -y -q korvel >/dev/null
  while read -r f; do
    [ -d "$root$f" ] && [ ! -L "$root$f" ] && continue
    [ ! -e "$root$f" ] || fail "$f is left after apt purge"
  done <"$work/korvel.files"
  [ ! -e "$root/usr/share/doc/korvel" ] || fail "/usr/share/doc/korvel is left after apt purge"
  echo "ci-package: the package installs, runs, opens its lessons and goes away cleanly"
}

expect_type_in_root() {
  local got
  got=$(in_root gio info -a standard::content-type "$2" | sed -n 's/^ *standard::content-type: //p')
  [ "$got" = "$1" ] || fail "$2 is '$got', not '$1' in the clean root"
}

# Every relative link and picture of the installed HTML pages leads to an
# installed file.
check_guide_links() {
  local pages=("$root"/usr/share/doc/korvel/guia/*.html "$root"/usr/share/korvel/examples/LEIAME.html)
  [ -f "${pages[0]}" ] || fail "the guide is not installed"
  for page in "${pages[@]}"; do
    local dir
    dir=$(dirname "$page")
    grep -o -E '(href|src)="[^"]*"' "$page" | sed -E 's/^(href|src)="([^"#]*).*/\2/' |
      grep -v -E '^$|^[a-z]+:' | while read -r target; do
        [ -e "$dir/$target" ] || fail "${page#"$root"} links to $target, which is not installed"
      done
  done
}

elapsed=$SECONDS
build_package
[ "$mode" = build ] || check_package
echo "ci-package: done in $((SECONDS - elapsed)) s"
