# Sourced by the project's scripts: what they need installed on a Debian
# machine, with sudo when not root. Lock waits let two scripts run at once.

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

apt_get() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"
}

# install_missing PACKAGE...: installs those of the packages that are not installed.
install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  apt_get update -q
  apt_get install -y -q --no-install-recommends "${missing[@]}"
}

# The tests read and write numbers under a Brazilian locale too.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$' && return 0
  as_root sed -i 's/^# *\(pt_BR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^pt_BR\.UTF-8 UTF-8' /etc/locale.gen ||
    echo 'pt_BR.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
}
