#!/usr/bin/env bash
# The installer under Wine, in the prefix of the test run, used as an administrator would:
#   InstallStartUpgradeRemove
#       "msiexec /i /qn" puts the files into "C:\Program Files\Quorvel" with a Start-menu entry,
#       and its own step makes "SVC" (the folders' rights are checked by SafeFoldersTest: Wine
#       keeps no access lists on files); QuorvelW starts from there and makes the user's
#       settings folder beside it; a package of a higher version replaces the files in place;
#       "msiexec /x /qn" stops and removes the service "Vorel" (registered as the program's menu
#       does), removes the program files and the entry, and leaves the settings folders.
#   ServiceFromMenuRemovedByUninstaller
#       the service installed from the program's menu (command 32777, which also starts it) runs
#       QuorvelS from Program Files; the uninstaller stops and removes it. Needs service mode.
# Usage: test-installer.sh PART MSI STAGE-DIRECTORY WXS BIN-DIRECTORY
# BIN-DIRECTORY holds QuorvelPost.exe. Needs DISPLAY and the run's wineserver
# (scripts/wine-session).
set -euo pipefail
part=$1
msi=$2
stage=$3
wxs=$4
bin="$(cd "$5" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env
source "$here/wine-env"

app="$WINEPREFIX/drive_c/Program Files/Quorvel"
# Wine puts a per-machine package's Start-menu entries into the user's Start menu.
has_entry() {
  local entry
  for entry in "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvel.lnk" \
    "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/Quorvel.lnk; do
    [ -f "$entry" ] && return 0
  done
  return 1
}
shipped=(QuorvelL.dll QuorvelW.exe QuorvelS.exe vorel.chm ReadMe.txt)
work="$(mktemp -d)"
log="$work/wine.log"
quorvelw=""

fail() {
  echo "FAIL: $*" >&2
  tail -n 40 "$log" >&2
  exit 1
}
windows_path() { local path="Z:$1"; printf '%s' "${path//\//\\}"; }
run() { "$QV_WINE" "$@" </dev/null >>"$log" 2>&1; }
post() { run "$bin/QuorvelPost.exe" "$@"; }
service_state() { "$QV_WINE" sc query Vorel </dev/null 2>>"$log" | tr -d '\r'; }
# Whether the service is installed, and running (a grep -q in a pipe would end sc early).
service_is() { [[ "$(service_state)" == *"$1"* ]]; }
# wait_for CONDITION [TRIES]: tries it every 0.2 s, 150 times unless told.
wait_for() {
  for _ in $(seq 1 "${2:-150}"); do
    eval "$1" && return 0
    sleep 0.2
  done
  return 1
}

cleanup() {
  if [ -n "$quorvelw" ]; then kill "$quorvelw" 2>/dev/null || true; fi
  run msiexec /x "$(windows_path "$msi")" /qn || true
  if [ -f "$work/next.msi" ]; then run msiexec /x "$(windows_path "$work/next.msi")" /qn || true; fi
  run sc stop Vorel || true
  run sc delete Vorel || true
  rm -rf "$app" "$work"
}
trap cleanup EXIT
cleanup_before() { run sc stop Vorel || true; run sc delete Vorel || true; rm -rf "$app"; }
cleanup_before

install() { run msiexec /i "$(windows_path "$1")" /qn || fail "msiexec /i $1 failed"; }
uninstall() { run msiexec /x "$(windows_path "$1")" /qn || fail "msiexec /x $1 failed"; }

# QuorvelW from the installed folder, until its window has entered its mode.
start_quorvelw() {
  (cd "$app" && "$QV_WINE" 'C:\Program Files\Quorvel\QuorvelW.exe' </dev/null >>"$log" 2>&1) &
  quorvelw=$!
}
close_quorvelw() {
  post command 57665 || fail "no QuorvelW window to close"
  wait "$quorvelw" || fail "QuorvelW ended with an error"
  quorvelw=""
}

install "$msi"
for file in "${shipped[@]}"; do
  [ -f "$app/$file" ] || fail "the installer did not put $file into Program Files\\Quorvel"
done

if [ "$part" = InstallStartUpgradeRemove ]; then
  has_entry || fail "no Start-menu entry Quorvel.lnk"
  [ -d "$app/SVC" ] || fail "the installer's own step did not make SVC"

  start_quorvelw
  settings=""
  find_settings() {
    local found
    for found in "$app"/*/qvlset.def; do
      case $found in */SVC/*) ;; *) [ -f "$found" ] && settings="$found" && return 0 ;; esac
    done
    return 1
  }
  wait_for find_settings || fail "QuorvelW made no settings folder beside it"
  close_quorvelw

  # A package of the next version, with a read-me of its own, replaces the files in place.
  code="$(msiinfo export "$msi" Property | sed -n 's/^ProductCode\t//p' | tr -d '\r')"
  registered() { run reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code"; }
  registered || fail "the installer did not register its product code $code"
  # The package's name, its product version and the binaries' versions are the project's one.
  version="$(basename "$msi" | sed 's/^Quorvel-\([0-9.]*\)-x64\.msi$/\1/')"
  [ "$(msiinfo export "$msi" Property | sed -n 's/^ProductVersion\t//p' | tr -d '\r')" = "$version" ] ||
    fail "the product version of $msi is not $version"
  for file in QuorvelL.dll QuorvelW.exe QuorvelS.exe; do
    strings -el "$app/$file" | grep -qx "$version.0" || fail "$file does not carry version $version"
  done
  IFS=. read -r major minor patch <<<"$version"
  next="$major.$minor.$((patch + 1))"
  cp -r "$stage" "$work/next"
  cp "$stage/../QuorvelSetup.dll" "$work/"
  echo "upgrade $next" >>"$work/next/ReadMe.txt"
  (cd "$work/next" && wixl -a x64 -D Version="$next" -D SetupActions=../QuorvelSetup.dll \
    -o "$work/next.msi" "$wxs") || fail "wixl could not build the package of version $next"
  install "$work/next.msi"
  grep -q "upgrade $next" "$app/ReadMe.txt" || fail "the upgrade left the old read-me"
  for file in "${shipped[@]}"; do [ -f "$app/$file" ] || fail "the upgrade lost $file"; done
  [ -f "$settings" ] || fail "the upgrade lost the user's settings"
  # The older product is no longer registered.
  ! registered || fail "the older version $code is still installed"

  # The service, registered as the program's menu does and running, goes with the removal.
  # (Its survival across an upgrade rests on UPGRADINGPRODUCTCODE, which Wine does not set when
  # it removes the older version, so it is not checked here.)
  run sc create Vorel binpath= '"C:\Program Files\Quorvel\QuorvelS.exe"' start= auto ||
    fail "sc could not register the service"
  run sc start Vorel || fail "sc could not start the service"
  wait_for 'service_is RUNNING' 40 || fail "the service does not run: $(service_state)"
  uninstall "$work/next.msi"
  ! service_is STATE || fail "the uninstaller left the service: $(service_state)"
  for file in "${shipped[@]}"; do [ ! -e "$app/$file" ] || fail "the uninstaller left $file"; done
  has_entry && fail "the uninstaller left the Start-menu entry"
  [ -f "$settings" ] || fail "the uninstaller removed the user's settings"
  [ -d "$app/SVC" ] || fail "the uninstaller removed the service folder"
else
  start_quorvelw
  post command 32777 || fail "no QuorvelW window for the service command"
  wait_for 'service_is RUNNING' 40 || fail "the service does not run: $(service_state)"
  image="$("$QV_WINE" reg query 'HKLM\System\CurrentControlSet\Services\Vorel' /v ImagePath \
    </dev/null 2>>"$log" | tr -d '\r')"
  case $image in *'C:\Program Files\Quorvel\QuorvelS.exe'*) ;; *) fail "service image: $image" ;; esac
  close_quorvelw
  uninstall "$msi"
  ! service_is STATE || fail "the uninstaller left the service: $(service_state)"
  for file in "${shipped[@]}"; do [ ! -e "$app/$file" ] || fail "the uninstaller left $file"; done
fi
echo "PASS"
