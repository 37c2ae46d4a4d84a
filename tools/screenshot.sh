#!/usr/bin/env bash
# Makes docs/screenshots/main-window.png, the README's and the AppStream data's picture
# of the main window: builds, installs into a scratch folder, starts the program there
# on a virtual X server with a few sample sources and an output folder, and takes a
# picture of its window. Run it again after the window changes, and commit the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/x-session.sh

tools/install-deps.sh xdotool imagemagick
tools/build.sh

target=docs/screenshots/main-window.png
# A fixed scratch folder, so that the paths in the picture read well.
work="${TMPDIR:-/tmp}/varnello-screenshot"
rm -rf "$work"
mkdir -p "$work"
program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  x_session_stop
  rm -rf "$work"
}
trap cleanup EXIT

# Installed, the program keeps its lists in the (scratch) user's folder, not in build/.
cmake --install build --prefix "$work/usr" > /dev/null
home="$work/alex"
samples="$home/Documents"
mkdir -p "$samples/Reports 2026" "$samples/Minutes" "$home/.config/varnello" "$home/runtime"
chmod 700 "$home/runtime"
for name in "Annual report.docx" "Budget 2026.doc" "Customer survey.docx" "Staff handbook.docm" \
            "Travel policy.doc" "Quarterly review Q1.docx" "Quarterly review Q2.docx"; do
  : > "$samples/Reports 2026/$name"
done
: > "$samples/Minutes/Board meeting.doc"
: > "$samples/Project plan.docx"
printf '%s\r\n' "$home/Web pages" "$home/Intranet/reports" > "$home/.config/varnello/output.txt"

x_session_start
env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$home" XDG_RUNTIME_DIR="$home/runtime" QT_FONT_DPI=96 \
  "$work/usr/bin/varnello" "$samples/Reports 2026" "$samples/Minutes" "$samples/Project plan.docx" &
program=$!
window=$(main_window)
sleep 2 # let it paint
mkdir -p "$(dirname "$target")"
import -window "$window" "$target"
read -r width height < <(identify -format '%w %h\n' "$target")
# The AppStream data names the picture's size.
sed -i -E "s|(<image type=\"source\") width=\"[0-9]+\" height=\"[0-9]+\"|\1 width=\"$width\" height=\"$height\"|" \
  data/example.varnello.Varnello.metainfo.xml
echo "wrote $target (${width}x$height)"
