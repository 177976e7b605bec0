#!/usr/bin/env bash
# The x86_64 installer in the test session's prefix: a silent install (every file of the
# zip's folder, shortcuts, start with Windows, the uninstall entry), the installed program
# started, a silent install over it while it runs and again over the user's settings
# files, and the silent uninstall, which leaves only those files.
# Usage: check-installer.sh SETUP_EXE VERSION   (LUMIGRAB_TEST_STATE names the session)
set -uo pipefail
setup=$(realpath "$1")
version=$2
dist="$(dirname "$setup")/Lumigrab"
wine_run="$(dirname "$0")/../cmake/wine-run.sh"
DISPLAY=$(cat "$(realpath -m "$LUMIGRAB_TEST_STATE")/display")
export DISPLAY
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumigrab'
settings='lumigrab.cfg lumigrab.ini oteditor.cfg'
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# Wine's console programs answer in code page 936 with CR LF.
win() { "$wine_run" "$@" 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r'; }
unix_path() { win winepath -u "$1"; }
# A value out of a key's listing: reg_value "$(win reg query KEY)" NAME
reg_value() { sed -n "s/^    $2    REG_[A-Z_]*    //p" <<<"$1"; }

install="$(win cmd /c echo %LOCALAPPDATA%)\\Programs\\Lumigrab"
folder=$(unix_path "$install")
start_menu=$(unix_path "$(win cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs")
desktop=$(unix_path "$(win cmd /c echo %USERPROFILE%)\\Desktop")
# A new prefix links its desktop to the home folder; the test's shortcuts stay in the prefix.
if [ -L "$desktop" ]; then rm "$desktop" && mkdir "$desktop"; fi

clean_up() {
  rm -rf "$folder" "$start_menu/Lumigrab.lnk" "$desktop/Lumigrab.lnk"
  win reg delete "$run_key" /v Lumigrab /f >/dev/null
  win reg delete "$uninstall_key" /f >/dev/null
}
clean_up
trap clean_up EXIT

install_silently() {
  "$wine_run" "$setup" /S >/dev/null 2>&1 || { fail "the silent install ($1) ended with $?"; exit 1; }
}

install_silently "fresh"
shipped=$(cd "$dist" && find . -type f | sed 's|^\./||' | sort)
for file in lumigrab.exe lumiocr.dll tessdata/chi_sim.traineddata licences/tesseract-LICENSE.txt \
            licences/libjpeg-turbo-README-ijg.txt licences/libpng-LICENSE.txt licences/zlib-LICENSE.txt \
            licences/giflib-COPYING.txt; do
  grep -qxF "$file" <<<"$shipped" || fail "the zip's folder lacks $file"
done
for file in $shipped; do
  cmp -s "$dist/$file" "$folder/$file" || fail "$file is not installed as the zip has it"
done
[ -f "$folder/uninstall.exe" ] || fail "no uninstall.exe"
for file in $settings; do [ ! -e "$folder/$file" ] || fail "the installer ships $file"; done
for link in "$start_menu/Lumigrab.lnk" "$desktop/Lumigrab.lnk"; do
  grep -qaF "$install\\lumigrab.exe" "$link" 2>/dev/null || fail "$link does not start $install\\lumigrab.exe"
done
run_value=$(reg_value "$(win reg query "$run_key")" Lumigrab)
[ "$run_value" = "\"$install\\lumigrab.exe\" /tray" ] || fail "Run value: $run_value"
declare -A expected=(
  [DisplayName]=Lumigrab [DisplayVersion]=$version [Publisher]='Lumigrab 开发者'
  [DisplayIcon]="$install\\lumigrab.exe,0" [InstallLocation]=$install
  [UninstallString]="\"$install\\uninstall.exe\"" [QuietUninstallString]="\"$install\\uninstall.exe\" /S"
  [NoModify]=0x1 [NoRepair]=0x1)
entry=$(win reg query "$uninstall_key")
for name in "${!expected[@]}"; do
  value=$(reg_value "$entry" "$name")
  [ "$value" = "${expected[$name]}" ] || fail "uninstall entry $name: '$value', expected '${expected[$name]}'"
done
size_kb=$(( $(reg_value "$entry" EstimatedSize) ))
[ "$size_kb" -ge $(( $(du -sk "$dist" | cut -f1) / 2 )) ] || fail "EstimatedSize $size_kb KB"

# The installed program shows its frame; installing over it closes it first.
"$wine_run" "$install\\lumigrab.exe" >/dev/null 2>&1 &
program=$!
for _ in $(seq 100); do
  xdotool search --onlyvisible --class lumigrab.exe >/dev/null 2>&1 && break
  sleep 0.2
done
xdotool search --onlyvisible --class lumigrab.exe >/dev/null 2>&1 || fail "the installed program shows no frame"
install_silently "over the running program"
for _ in $(seq 50); do kill -0 $program 2>/dev/null || break; sleep 0.2; done
if kill -0 $program 2>/dev/null; then
  fail "the installer left the program running"
  win taskkill /f /im lumigrab.exe >/dev/null
fi

# Settings a user has made survive installing again, byte for byte.
saved=$(mktemp -d)
for file in $settings; do
  printf '%s\0\377 kept\r\n' "$file" > "$folder/$file"
  cp "$folder/$file" "$saved/$file"
done
install_silently "over the settings"
for file in $settings; do cmp -s "$saved/$file" "$folder/$file" || fail "installing again changed $file"; done

# The uninstaller runs from a copy of itself and deletes uninstall.exe last.
quiet_uninstall=$(reg_value "$entry" QuietUninstallString)
uninstaller=${quiet_uninstall#\"}
"$wine_run" "${uninstaller%\" /S}" /S >/dev/null 2>&1
for _ in $(seq 300); do [ -e "$folder/uninstall.exe" ] || break; sleep 0.2; done
left=$(cd "$folder" 2>/dev/null && ls | sort | tr '\n' ' ')
[ "$left" = "$settings " ] || fail "the uninstall left '$left' in the program folder"
for file in $settings; do cmp -s "$saved/$file" "$folder/$file" || fail "the uninstall changed $file"; done
rm -rf "$saved"
for link in "$start_menu/Lumigrab.lnk" "$desktop/Lumigrab.lnk"; do [ ! -e "$link" ] || fail "$link is left"; done
[ -z "$(reg_value "$(win reg query "$run_key")" Lumigrab)" ] || fail "the Run value is left"
win reg query "$uninstall_key" >/dev/null && fail "the uninstall entry is left"

[ $failed = 0 ] && echo "installer: files, shortcuts, registry, running program, kept settings and uninstall checked"
exit $failed
