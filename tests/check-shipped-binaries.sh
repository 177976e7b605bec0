#!/usr/bin/env bash
# Checks the 32-bit program as it ships: the folder and the zip hold the program, its
# engines, the language data and the licences; the binaries import only DLLs that every
# Windows has, and the capture engine exports its entry points under their plain names, so
# that GetProcAddress("CaptureFullScreen") finds them.
# Usage: check-shipped-binaries.sh DIST_FOLDER ZIP
set -uo pipefail
dist=$1
zip=$2
objdump=i686-w64-mingw32-objdump
failed=0
binaries='lumigrab.exe snapcore.dll lumiocr.dll'
shipped="$binaries help.chm tessdata/chi_sim.traineddata tessdata/eng.traineddata
  licences/tesseract-LICENSE.txt licences/tesseract.copyright licences/tesseract-ocr-chi-sim.copyright
  licences/tesseract-ocr-eng.copyright licences/leptonica-license.txt licences/leptonica.copyright
  licences/mingw-w64.copyright licences/libjpeg-turbo-LICENSE.txt licences/libjpeg-turbo-README-ijg.txt
  licences/libjpeg-turbo.copyright licences/libpng-LICENSE.txt licences/libpng.copyright
  licences/zlib-LICENSE.txt licences/zlib.copyright licences/giflib-COPYING.txt licences/giflib.copyright"

zipped=$(cmake -E tar tf "$zip") || { echo "cannot read $zip"; exit 1; }
for file in $shipped; do
  [ -s "$dist/$file" ] || { echo "missing or empty: $dist/$file"; failed=1; }
  grep -qxF "Lumigrab/$file" <<<"$zipped" || { echo "$zip lacks Lumigrab/$file"; failed=1; }
done

# gdiplus.dll is part of every Windows since XP.
system_dlls='^(kernel32|user32|gdi32|gdiplus|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|winmm|advapi32|msvcrt)\.dll$'
for file in $binaries; do
  headers=$("$objdump" -p "$dist/$file")
  grep -q 'file format pei-i386' <<<"$headers" || { echo "$file is not a 32-bit program"; failed=1; }
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -qE "$system_dlls"; then
      echo "$file imports $dll, which Windows does not bring"; failed=1
    fi
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
done

exports=$("$objdump" -p "$dist/snapcore.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
if [ "$exports" != "CaptureFullScreen CreateSkinManager DoCaptureModal SelectOnFrozenScreen " ]; then
  echo "snapcore.dll exports: $exports"; failed=1
fi

[ $failed = 0 ] && echo "$binaries: shipped with the language data and licences, 32-bit, system DLLs only, plain export names"
exit $failed
