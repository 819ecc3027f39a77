#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when missing;
# with everything present it changes nothing and asks no package server.
# The clang tools are pinned to one version (Debian 12's 14), so that a newer default clang
# cannot reformat the sources or change the fuzz build under us; the scripts call the
# versioned binaries.
set -euo pipefail
packages=(
  build-essential cmake git     # the build; git lists the files for the format check
  libgtest-dev                  # the tests
  tzdata                        # the date tests convert in Asia/Tokyo
  clang-14 libclang-rt-14-dev   # the fuzz targets (libFuzzer)
  clang-format-14               # the format check
  coreutils findutils           # the benchmarks' file trees (seq, xargs, find)
  rename openssl time bc        # the benchmarks' references, peak memory and arithmetic
  qt6-base-dev libgl-dev        # the window (Qt 6 Widgets)
  libfontconfig-dev             # the window reads the font configuration at its start
  libpcre2-dev pkg-config       # regular expressions in replace (PCRE2, 16-bit)
  libimage-exiftool-perl        # the Exif tests read files that exiftool writes
  xvfb xauth fonts-ipafont-gothic  # the window tests on an X server, Japanese glyphs
  python3-mutagen               # the MP3 tests read and write tags with another library
  appstream desktop-file-utils shared-mime-info  # the checks of the installed desktop files
  librsvg2-bin                  # the icon's bitmaps, rendered from its SVG
  dpkg-dev                      # the Debian package's dependencies (dpkg-shlibdeps)
  xdotool                       # keys sent to the real program in the killed-run test
  qt6-translations-l10n         # Qt's own dialog texts in Japanese
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
