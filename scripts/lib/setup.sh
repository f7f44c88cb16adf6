# Shared by test.sh and run.sh: packages, the private Wine prefix, a virtual display.

tervik_packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  googletest libbenchmark-dev
  wine wine64 xvfb xauth x11-utils imagemagick locales
  python3 python3-pyftpdlib file
)

tervik_install_packages() {
  local missing=()
  for p in "${tervik_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then echo "run as root to install packages" >&2; return 1; fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # wine32 is never wanted: this kernel cannot run 32-bit code, and with it the
    # wine wrapper would pick a loader that cannot start.
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
    if [ "$(id -u)" -eq 0 ]; then
      sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
      grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >> /etc/locale.gen
      locale-gen >/dev/null
    fi
  fi
}

# One private prefix under build/, made once and reused; cp1251 as on the users' machines.
tervik_wine_prefix() {
  export WINEPREFIX="$root/build/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$root/build"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== making the Wine prefix"
    LANG=ru_RU.UTF-8 wineboot -i >/dev/null 2>&1
    LANG=ru_RU.UTF-8 wineserver -w
  fi
}

tervik_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    tervik_xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$tervik_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free display for Xvfb" >&2
  return 1
}

tervik_stop_xvfb() {
  WINEPREFIX="$root/build/wineprefix" wineserver -k >/dev/null 2>&1 || true
  if [ -n "${tervik_xvfb_pid:-}" ]; then
    kill "$tervik_xvfb_pid" 2>/dev/null
    wait "$tervik_xvfb_pid" 2>/dev/null
  fi
}
