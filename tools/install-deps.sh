#!/usr/bin/env bash
# Installs the Debian 12 packages Varnello needs to build, run and test, skipping
# those already present, and any further packages named as arguments (the packaging
# and screenshot scripts name the tools they need). Needs root (or sudo).
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config    # build
  qt6-base-dev libgl-dev               # Qt 6 Widgets, PrintSupport, Test
  fonts-liberation                     # the metric twin of Arial
  libreoffice-writer libreofficekit-dev # the document engine and its LibreOfficeKit headers
  libgmime-3.0-dev libgumbo-dev        # web archives (MIME) and HTML parsing for the LibreOffice output
  zlib1g-dev                           # cost estimates read document parts; tests pack big ones
  xvfb xauth                           # an X server for the tests that need a real one
  librsvg2-bin                         # the icon's bitmap sizes, drawn from its SVG
  parallel                             # the many-machines recipe of varnello-convert, tested locally
  tidy python3                         # tools/tidy-report.py and the tests that run it
  chromium                             # the test that compares how pages look
  python3-uno                          # the benchmark's generated documents, written through LibreOffice
)
# LibreOffice's SDK (interface headers, cppumaker) accepts the no-GUI LibreOffice too:
# installed after libreoffice-writer, it keeps the full one that Writer needs.
sdk_packages=(libreoffice-dev)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
updated=no

install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$updated" = no ]; then
    "${as_root[@]}" apt-get update -qq
    updated=yes
  fi
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

install_missing "${packages[@]}"
install_missing "${sdk_packages[@]}"
[ $# -eq 0 ] || install_missing "$@"
