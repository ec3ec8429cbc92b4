#!/usr/bin/env bash
# Takes screenshots of QuorvelW's main window under the run's Xvfb display and checks that they
# are not blank: the condition list as the window first shows, the log view with the memory
# information, the release levels dropped down from the toolbar, the condition dialog, the options
# dialog, the About box, and the tray menu; then the window, the condition dialog and the tray
# menu again with the prefix at 144 and 192 DPI (150 % and 200 %), as *-144dpi.png and
# *-192dpi.png.
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
# The DPI of the processes started after it; the prefix goes back to 96 at the end.
set_dpi() {
  wine_ja reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >>"$out/prefix.log" 2>&1 </dev/null
}
set_dpi 96
trap 'set_dpi 96 || true; "$QV_WINESERVER" -k >/dev/null 2>&1 || true' EXIT

post() { wine_ja "$bin/QuorvelPost.exe" "$@" </dev/null >>"$out/post.log" 2>&1; }

shoot() {
  local png="$out/$1.png"
  sleep 1.5  # let the window finish painting
  if [ "$2" = trim ]; then
    # The whole screen less its black border: the windows wherever they are.
    import -window root "$png"
    convert "$png" -trim +repage "$png"
  else
    import -window root -crop "$2" +repage "$png"
  fi
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

# 150 % and 200 %: the window as it first shows, the condition dialog, the tray menu. The
# pointer rests off the toolbars, where no tool tip shows.
post pointer 1100 500
for dpi in 144 192; do
  set_dpi "$dpi"
  rm -rf "$app"/*/  # a first start: no settings of the run before
  wine_ja "$app/QuorvelW.exe" >>"$out/quorvelw.log" 2>&1 </dev/null &
  pid=$!
  post command 32794
  shoot "main-conditions-${dpi}dpi" trim
  post command 32792
  shoot "condition-dialog-${dpi}dpi" trim
  post key 27
  sleep 0.5
  post tray 516
  shoot "main-tray-menu-${dpi}dpi" trim
  post command 57665
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  wait "$pid"
done
