#!/usr/bin/env bash
# Checks the help file as it ships: a CHM in the folder and in the zip, in the Chinese
# (PRC) language, whose contents, index and every page an independent reader
# (extract_chmLib) finds, in the code page the help viewer will read them in, with every
# entry of the contents and the index leading to a page that is there.
# Usage: check-help-file.sh DIST_FOLDER ZIP HELP_SOURCES
set -uo pipefail
shopt -s nullglob
dist=$1
zip=$2
sources=$3
chm="$dist/help.chm"
failed=0
fail() { echo "$*"; failed=1; }

[ -f "$chm" ] || { echo "missing: $chm"; exit 1; }
[ "$(head -c 4 "$chm")" = ITSF ] || fail "help.chm does not start with the ITSF signature"
# The header's language id, little-endian at offset 20: 0x804, Chinese (PRC).
[ "$(od -An -tx1 -j20 -N4 "$chm" | tr -d ' ')" = 04080000 ] || fail "help.chm is not marked as Chinese (PRC)"
# Listed first: grep -q leaving a pipe early would fail the listing under pipefail.
zipped=$(cmake -E tar tf "$zip")
grep -qx 'Lumigrab/help.chm' <<<"$zipped" || fail "$zip does not hold Lumigrab/help.chm"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
extract_chmLib "$chm" "$out" >"$out.list" 2>&1 || fail "extract_chmLib cannot read help.chm"
listing=$(cat "$out.list"); rm -f "$out.list"

expected=(toc.hhc index.hhk)
for page in "$sources"/*.htm; do expected+=("$(basename "$page")"); done
for name in "${expected[@]}"; do
  grep -qx -- "--> /$name" <<<"$listing" || fail "extract_chmLib does not list /$name"
done

for page in "$out"/*.htm "$out"/toc.hhc "$out"/index.hhk; do
  iconv -f GB2312 -t UTF-8 "$page" >/dev/null 2>&1 || fail "$(basename "$page") is not GB2312 text"
done
for page in "$out"/*.htm; do
  grep -qi 'charset=gb2312' "$page" || fail "$(basename "$page") does not declare charset=gb2312"
done

# Every topic must be reachable from the contents, and every contents or index entry must open a page.
for sitemap in toc.hhc index.hhk; do
  while read -r target; do
    [ -f "$out/${target%%#*}" ] || fail "$sitemap leads to $target, which help.chm lacks"
  done < <(sed -n 's/.*name="Local" value="\([^"]*\)".*/\1/p' "$out/$sitemap" 2>/dev/null)
done
for name in "${expected[@]:2}"; do
  grep -q "value=\"$name\"" "$out/toc.hhc" 2>/dev/null || fail "the contents do not list $name"
done

[ $failed = 0 ] && echo "help.chm: ITSF, Chinese (PRC), ${#expected[@]} files listed by extract_chmLib, GB2312, contents and index complete"
exit $failed
