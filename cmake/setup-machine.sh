#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine: cross compilers,
# Wine, a virtual X display, the build tools, the codec oracles, the help compiler
# (chmcmd) with an independent reader of its output, the installer compiler (makensis)
# and a CJK font.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine64 xvfb xauth x11-utils xdotool
  cmake ninja-build nasm dpkg-dev
  googletest libjpeg-turbo-progs imagemagick pngcheck
  fp-utils libchm-bin nsis
  fonts-wqy-microhei fonts-wine locales python3
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

# libjpeg-turbo, zlib, libpng, giflib, Leptonica and Tesseract are built from Debian's own source
# packages, so apt needs deb-src entries.
need_src=0
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  need_src=1
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      | as_root tee /etc/apt/sources.list.d/lumigrab-deb-src.sources >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
      | as_root tee /etc/apt/sources.list.d/lumigrab-deb-src.list >/dev/null
  fi
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_src = 1 ]; then
  echo "== installing: ${missing[*]:-(source lists only)}"
  as_root apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
fi

# Wine reports code page 936 only under a Chinese locale that the C library knows.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
