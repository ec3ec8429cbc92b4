#!/usr/bin/env bash
# Takes screenshots of QuorvelW's main window under the run's Xvfb display and checks that they
# are not blank: the condition list as the window first shows, the log view with the memory
# information, the release levels dropped down from the toolbar, the condition dialog, the options
# dialog, the About box, and the tray menu.
#   scripts/screenshot-main.sh BIN-DIRECTORY OUTPUT-DIRECTORY
# BIN-DIRECTORY holds QuorvelW.exe, QuorvelL.dll and QuorvelPost.exe. Needs DISPLAY
# (scripts/wine-session). The program runs from a fresh folder in a prefix of its own, created
# under a Japanese locale: Wine picks the fonts of menus and controls when a prefix is made,
# and only Japanese ones have the glyphs.
set -euo pipefail
bin="$(cd "$1" && pwd)"
out="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env
source "$here/wine-env"
# The locale goes to Wine alone (no glibc locale is needed for it).
wine_ja() { env LC_ALL=ja_JP.UTF-8 "$QV_WINE" "$@"; }
export WINEPREFIX="$here/../build/wineprefix-ja"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
app="$out/app"
rm -rf "$app"
mkdir -p "$app"
cp "$bin/QuorvelW.exe" "$bin/QuorvelL.dll" "$app/"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating Wine prefix $WINEPREFIX"
  wine_ja cmd /c exit >"$out/prefix.log" 2>&1 </dev/null
  wine_ja reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$out/prefix.log" 2>&1 </dev/null
fi
trap '"$QV_WINESERVER" -k >/dev/null 2>&1 || true' EXIT

post() { wine_ja "$bin/QuorvelPost.exe" "$@" </dev/null >>"$out/post.log" 2>&1; }

shoot() {
  local png="$out/$1.png"
  sleep 1.5  # let the window finish painting
  import -window root -crop "$2" +repage "$png"
  local colours
  colours="$(convert "$png" -format '%k' info:)"
  echo "$png: $colours colours"
  if [ "$colours" -lt 16 ]; then
    echo "$png looks blank" >&2
    return 1
  fi
}

wine_ja "$app/QuorvelW.exe" >"$out/quorvelw.log" 2>&1 </dev/null &
pid=$!
post command 32794  # the window, on the condition list
shoot main-conditions 700x560+70+70
post command 32773  # the memory information, on the log view
shoot main-log 700x560+70+70
post dropdown 32772  # the release levels under the toolbar button
shoot main-release-levels 700x560+70+70
post key 27  # Escape closes it
sleep 0.5
# The dialogs, each closed with Escape before the next opens.
for dialog in "32792 condition-dialog" "32797 options-dialog" "57664 about-box"; do
  read -r id name <<<"$dialog"
  post command "$id"
  shoot "$name" 700x560+0+0
  post key 27
  sleep 0.5
done
post tray 516  # the tray menu, at the pointer
shoot main-tray-menu 1240x980+20+20
post command 57665  # "終了": the menu loop passes it on
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
wait "$pid"
