#!/usr/bin/env bash
# Compiles the help sources (UTF-8 in the repository) into help.chm.   Usage: build-help.sh SOURCE_DIR OUT_DIR
# The help viewer of a Chinese Windows reads the pages, the contents and the index in
# the CHM's own code page (936, from its language id 0x804), so every text file is
# converted to GB2312 first and its charset declaration changed to match. A character
# that GB2312 lacks stops the build here instead of showing up as garbage in the viewer.
set -euo pipefail
src=$1
out=$2
stage="$out/stage"
rm -rf "$stage"
mkdir -p "$stage"

for file in "$src"/*; do
  name=$(basename "$file")
  case $name in
    *.htm|*.hhc|*.hhk|*.hhp|*.css)
      if ! sed 's/charset=utf-8/charset=gb2312/I' "$file" | iconv -f UTF-8 -t GB2312 > "$stage/$name"; then
        echo "build-help.sh: $name has text that GB2312 cannot hold" >&2
        exit 1
      fi ;;
    *) cp "$file" "$stage/$name" ;;
  esac
done

# chmcmd reports a page missing from the project or a broken link as a warning and
# still writes the file; for a help file that ships, both are faults.
log=$(cd "$stage" && chmcmd --html-scan help.hhp 2>&1) || { echo "$log" >&2; exit 1; }
if grep -qiE 'warning|error' <<<"$log"; then
  echo "$log" >&2
  exit 1
fi
mv "$stage/help.chm" "$out/help.chm"
