# Shared by test.sh and run.sh: packages, the private Wine prefix, a virtual display.

tervik_packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  googletest libbenchmark-dev
  wine wine64 xvfb xauth x11-utils imagemagick locales
  fonts-wine fonts-liberation
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
    # Recommends stay out, so the fonts the window's layout relies on are named above.
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  tervik_install_wine32
  if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
    if [ "$(id -u)" -eq 0 ]; then
      sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
      grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >> /etc/locale.gen
      locale-gen >/dev/null
    fi
  fi
}

# Where the kernel runs 32-bit code, Wine's 32-bit part lets the tests start the
# product itself (build/win32/tervik.exe). Elsewhere it must stay out: the wine
# wrapper would then pick a loader that cannot start.
tervik_kernel_runs_32bit() {
  local dir ok=1
  dir=$(mktemp -d)
  printf 'void _start(void){__asm__ volatile("movl $1,%%eax; xorl %%ebx,%%ebx; int $0x80");}\n' > "$dir/t.c"
  clang -m32 -nostdlib -static -o "$dir/t" "$dir/t.c" >/dev/null 2>&1 && "$dir/t" 2>/dev/null && ok=0
  rm -rf "$dir"
  return $ok
}

tervik_has_wine32() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

tervik_install_wine32() {
  tervik_has_wine32 && return 0
  if ! tervik_kernel_runs_32bit; then
    tervik_no_wine32_why="this kernel cannot run 32-bit programs"
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    tervik_no_wine32_why="wine32:i386 is not installed (run as root to install it)"
    return 0
  fi
  echo "== installing: wine32:i386"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null \
    || tervik_no_wine32_why="wine32:i386 did not install"
}

# The prefix folder: one made with Wine's 32-bit part present is another than one
# made without it (a 64-bit-only prefix does not start 32-bit programs).
tervik_prefix_dir() {
  if tervik_has_wine32; then echo "$1/build/wineprefix-wow64"; else echo "$1/build/wineprefix"; fi
}

# One private prefix under build/, made once and reused; cp1251 as on the users' machines.
tervik_wine_prefix() {
  WINEPREFIX=$(tervik_prefix_dir "$root")
  export WINEPREFIX
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$root/build"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== making the Wine prefix"
    tervik_make_prefix
  fi
}

# Makes the prefix in $WINEPREFIX. Wine's X11 driver leaves the windows to
# itself (Managed=N): Xvfb has no window manager, and Wine would otherwise wait
# for one about two seconds for every window that is hidden or destroyed.
tervik_make_prefix() {
  LANG=ru_RU.UTF-8 wineboot -i >/dev/null 2>&1
  LANG=ru_RU.UTF-8 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  LANG=ru_RU.UTF-8 wineserver -w
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
  WINEPREFIX=$(tervik_prefix_dir "$root") wineserver -k >/dev/null 2>&1 || true
  if [ -n "${tervik_xvfb_pid:-}" ]; then
    kill "$tervik_xvfb_pid" 2>/dev/null
    wait "$tervik_xvfb_pid" 2>/dev/null
  fi
}
