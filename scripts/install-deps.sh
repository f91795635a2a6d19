#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need;
# with --program, only what building and running the program needs.
# Safe to run again: only what is missing is installed.
set -euo pipefail

# What building and running the program needs (and configuring its tests and
# benchmarks, which name a few libraries more).
program=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-image-formats-plugins libqt6svg6
  # The window's texts in other languages: compiling catalogues, and the toolkit's own texts.
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  # Native on Wayland.
  qt6-wayland
  libgl-dev libvulkan-dev
  libxlsxwriter-dev libzip-dev libstb-dev libemf2svg-dev libwmf-dev
  # Names beyond Windows-1252 in the PDF: shaping, subsetting, finding fonts,
  # ordering right-to-left text, and fonts for the scripts DejaVu lacks (Chinese,
  # Japanese and Korean with CFF outlines, Indic scripts and Thai, emoji, Khmer).
  libharfbuzz-dev libfontconfig-dev libfribidi-dev fonts-droid-fallback
  fonts-noto-cjk fonts-freefont-ttf fonts-symbola fonts-khmeros
  # The fonts the PDF and the printer name, and the window's own.
  fonts-dejavu-core fonts-liberation fonts-urw-base35
  # The system-call filter the picture decoder helper confines itself with.
  libseccomp-dev
  # What libwmf's link line names besides itself.
  libexpat1-dev libjpeg-dev libpng-dev libfreetype-dev libx11-dev zlib1g-dev
  # The desktop's opener, which the program starts for files, folders and addresses.
  xdg-utils
  # Merging the translations into the desktop entry and the AppStream metadata.
  gettext
  # Libraries the benchmarks and tests are configured with: the clicks timed on
  # the screen, batched size queries (io_uring), a file system that stops answering.
  libxcb-xtest0-dev liburing-dev libfuse3-dev
)

# What the tests, the benchmarks and the install check run besides.
tests=(
  # A headless compositor for the Wayland test.
  weston
  # The readers whose text a PDF must give back: poppler and MuPDF.
  qpdf poppler-utils mupdf-tools
  # The validators the install test runs (appstream also brings the rules msgfmt
  # merges the metadata's translations by), and what the Debian package is built with.
  desktop-file-utils appstream file dpkg-dev lintian
  # A spreadsheet application, to measure where it places the workbook's pictures.
  libreoffice-calc-nogui
  # A window manager and its tools, for the tests that drive the window as a person does.
  openbox x11-utils xvfb xauth xdotool
  libvips-tools
  # The references the search benchmark compares with.
  fd-find ripgrep
  # A file system that stops answering, for the end-to-end test.
  fuse3
  # A locale with a decimal comma, for the tests that numbers stay "1.5" in files.
  locales
)

packages=("${program[@]}")
[ "${1:-}" = "--program" ] || packages+=("${tests[@]}")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The German locale writes "1,5"; the tests check that no file format follows it.
if [ "${1:-}" != "--program" ] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
