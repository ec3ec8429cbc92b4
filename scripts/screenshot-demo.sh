#!/usr/bin/env bash
# Takes screenshots of the widget demonstration window under the run's Xvfb display and checks
# that they are not blank: the window as it opens, with its first menu dropped down, and narrowed
# with the toolbar band's chevron pushed.
#   scripts/screenshot-demo.sh DEMO.exe OUTPUT-DIRECTORY
# Needs DISPLAY (scripts/wine-session). The demonstration runs in a prefix of its own, created
# under a Japanese locale: Wine picks the fonts of menus and controls when a prefix is made,
# and only Japanese ones have the glyphs.
set -euo pipefail
demo="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
out="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env
source "$here/wine-env"
export WINEPREFIX="$here/../build/wineprefix-ja"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating Wine prefix $WINEPREFIX"
  LC_ALL=ja_JP.UTF-8 "$QV_WINE" cmd /c exit >"$out/prefix.log" 2>&1 </dev/null
  "$QV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$out/prefix.log" 2>&1 </dev/null
fi
trap '"$QV_WINESERVER" -k >/dev/null 2>&1 || true' EXIT

winpath() { echo "Z:${1//\//\\}"; }

shoot() {
  local name="$1"
  shift
  local ready="$out/$name.ready"
  local done="$out/$name.done"
  local png="$out/$name.png"
  rm -f "$ready" "$done" "$png"
  LC_ALL=ja_JP.UTF-8 "$QV_WINE" "$demo" --ready-file "$(winpath "$ready")" --done-file "$(winpath "$done")" \
    --quit-after 60 "$@" >"$out/$name.log" 2>&1 </dev/null &
  local pid=$!
  local i
  for i in $(seq 1 300); do
    [ -f "$ready" ] && break
    sleep 0.1
  done
  if [ ! -f "$ready" ]; then
    echo "the demonstration window did not come up" >&2
    touch "$done"
    wait "$pid" || true
    return 1
  fi
  sleep 1  # let the window finish painting
  import -window root "$png"
  touch "$done"
  wait "$pid" || true
  local colours
  colours="$(convert "$png" -format '%k' info:)"
  echo "$png: $colours colours"
  if [ "$colours" -lt 16 ]; then
    echo "$png looks blank" >&2
    return 1
  fi
}

shoot widget-demo
shoot widget-demo-menu --open-menu 0
shoot widget-demo-chevron --width 150 --push-chevron 1
