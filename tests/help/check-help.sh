#!/usr/bin/env bash
# Checks the compiled help file: every page of the project (each .html and .css file of the
# help sources, whether or not the help project lists it) is in it, and every entry of its
# table of contents and of its index (read back from the compiled file) opens a page that is
# in it and has content, as does every link between the pages.
# Usage: check-help.sh vorel.chm help-source-directory
set -euo pipefail
chm=$1
sources=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

chmls -n list 2>/dev/null "$chm" | sed -n 's|^/||p' | sort -u >"$work/names"
listed() { grep -qxF "$1" "$work/names"; }

pages=$(cd "$sources" && find . -maxdepth 1 -name '*.html' -o -maxdepth 1 -name '*.css' |
  sed 's|^\./||' | sort)
[ -n "$pages" ] || fail "the project has no pages"
for page in $pages; do listed "$page" || fail "page $page is not in the help file"; done

chmls extracttoc "$chm" "$work/toc" >/dev/null 2>&1
chmls extractindex "$chm" "$work/index" >/dev/null 2>&1
for part in toc index; do
  targets=$(grep -o 'name="Local" value="[^"]*"' "$work/$part" | sed 's/.*value="\([^"#]*\).*/\1/')
  [ -n "$targets" ] || fail "the $part has no entries"
  for target in $targets; do
    listed "$target" || fail "$part entry opens $target, not in the help file"
    rm -f "$work/opened"
    chmls extract "$chm" "/$target" "$work/opened" >/dev/null 2>&1 || true
    [ -s "$work/opened" ] || fail "$part entry opens $target, which is empty"
  done
done

for page in $pages; do
  case $page in *.html) ;; *) continue ;; esac
  chmls extract "$chm" "/$page" "$work/page" >/dev/null 2>&1
  for link in $(grep -o 'href="[^"]*"' "$work/page" | sed 's/href="\([^"#]*\).*/\1/'); do
    listed "$link" || fail "$page links to $link, not in the help file"
  done
done

[ "$failed" -eq 0 ] && echo "help file: $(echo "$pages" | wc -w) pages, contents and index resolve"
exit "$failed"
