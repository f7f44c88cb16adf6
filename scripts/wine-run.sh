#!/usr/bin/env bash
# Runs a Windows program of ours under Wine in the project's private prefix,
# with the cp1251 code page the users have. CTest uses it as the emulator.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/scripts/lib/setup.sh"
export WINEPREFIX=${WINEPREFIX:-$(tervik_prefix_dir "$here")}
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
[ -f "$WINEPREFIX/system.reg" ] || tervik_make_prefix
exec wine "$@"
