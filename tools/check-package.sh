#!/usr/bin/env bash
# Builds the Debian package, validates its menu entry and AppStream data, installs it,
# starts the installed program, converts a generated document with it through its
# window (on a virtual X server), and removes the package again, checking that nothing
# of it is left but the users' own files. Needs root (or sudo); CI runs it after
# tools/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/x-session.sh

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
app_id=example.varnello.Varnello
entry=varnello.desktop # the menu entry; why it is not named after $app_id: cmake/Install.cmake
word_types=(application/msword
            application/vnd.openxmlformats-officedocument.wordprocessingml.document
            application/vnd.ms-word.document.macroEnabled.12)

step() { printf '\n== %s\n' "$*"; }
fail() { echo "check-package: $*" >&2; exit 1; }

tools/install-deps.sh desktop-file-utils appstream xdotool xdg-utils man-db
tools/build.sh

work=$(mktemp -d)
chmod 755 "$work"
installed=no
cleanup() {
  x_session_stop
  if [ "$installed" = yes ]; then
    "${as_root[@]}" apt-get remove -y -qq -o DPkg::Lock::Timeout=600 varnello >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

step "Package"
rm -f build/varnello_*.deb
(cd build && cpack -G DEB >/dev/null)
debs=(build/varnello_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single package"
cp "${debs[0]}" "$work/"
deb="$work/$(basename "${debs[0]}")"
chmod 644 "$deb"
dpkg-deb --field "$deb" Package Version Depends
dpkg-deb --contents "$deb" | awk '{print $6}' > "$work/contents"
for path in ./usr/bin/varnello ./usr/lib/varnello/varnello-lok ./usr/share/varnello/help.html \
            ./usr/share/varnello/defaults/set.txt ./usr/share/varnello/defaults/EXCEL.txt \
            ./usr/share/varnello/defaults/output.txt \
            "./usr/share/applications/$entry" "./usr/share/metainfo/$app_id.metainfo.xml" \
            ./usr/share/man/man1/varnello.1 ./usr/share/man/man1/varnello-convert.1 \
            "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
            "./usr/share/icons/hicolor/48x48/apps/$app_id.png"; do
  grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done

# Every library the two programs link directly comes from a package the package names
# (a fresh machine gets exactly those).
dpkg-deb --field "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }' > "$work/depends"
dpkg-deb -x "$deb" "$work/unpacked"
for program in "$work/unpacked/usr/bin/varnello" "$work/unpacked/usr/lib/varnello/varnello-lok"; do
  ldd "$program" > "$work/ldd"
  for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    file=$(awk -v l="$library" '$1 == l { print $3 }' "$work/ldd")
    [ -n "$file" ] && [ -e "$file" ] || fail "$(basename "$program") needs $library, not found"
    real=$(readlink -f "$file")
    owner=
    for candidate in "$file" "${file#/usr}" "$real" "${real#/usr}"; do
      owner=$(dpkg -S "$candidate" 2>/dev/null) && break
    done
    [ -n "$owner" ] || fail "no package owns $file"
    owner=${owner%%:*}
    grep -qxF "$owner" "$work/depends" \
      || fail "$(basename "$program") needs $library from $owner, which the package does not depend on"
  done
done

step "Menu entry and AppStream data"
desktop-file-validate "data/$entry"
appstreamcli validate --no-net "data/$app_id.metainfo.xml"
# The installed tree as a whole: the entry, its icon and the metadata agree.
DESTDIR="$work/tree" cmake --install build --prefix /usr >/dev/null
appstreamcli validate-tree --no-net "$work/tree"

step "Install"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$deb" >/dev/null
installed=yes
dpkg-query -W -f='${Status}\n' varnello | grep -qx 'install ok installed' || fail "not installed"
dpkg-query -L varnello > "$work/files"
[ "$(command -v varnello)" = /usr/bin/varnello ] || fail "varnello is not on the PATH"
desktop-file-validate "/usr/share/applications/$entry"
# "Open with" offers the program for the Word formats, but a double click still opens
# them in the word processor: Varnello is never the default (asked as a user without a
# desktop environment or a mimeapps.list of their own would ask).
dpkg-query -W -f='${Status}\n' libreoffice-writer | grep -qx 'install ok installed' \
  || fail "libreoffice-writer, a dependency, is not installed"
asker="$work/asking-user"
mkdir -p "$asker"
for type in "${word_types[@]}"; do
  grep -q "^$type=.*$entry" /usr/share/applications/mimeinfo.cache \
    || fail "the menu data does not offer the program for $type"
  default=$(env -u XDG_CURRENT_DESKTOP -u XDG_DATA_DIRS -u XDG_CONFIG_DIRS -u XDG_DATA_HOME \
                -u XDG_CONFIG_HOME HOME="$asker" xdg-mime query default "$type")
  [ -n "$default" ] || fail "xdg-mime knows no default for $type"
  [ "$default" != "$entry" ] || fail "installing made Varnello the default for $type"
  echo "$type: opened by $default, Varnello offered"
done

# The manual pages, and the answers that need no display.
if command -v man >/dev/null; then
  [ "$(man -w varnello)" = /usr/share/man/man1/varnello.1 ] || fail "man -w varnello does not find its page"
  man -w varnello-convert >/dev/null || fail "man -w varnello-convert does not find its page"
fi
version=$(dpkg-query -W -f='${Version}' varnello)
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM varnello --version)" = "varnello ${version%-*}" ] \
  || fail "varnello --version does not print the package's version"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM varnello --help)
[[ "$help" == "Usage: varnello "* ]] || fail "varnello --help prints no usage"

# The environment of a user of the machine with a home of their own (no blanks in it).
user_env() {
  local home=$1
  mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
  echo -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$home" XDG_RUNTIME_DIR="$home/runtime" QT_FONT_DPI=96
}

step "Start offscreen"
first="$work/first-user"
set +e
env $(user_env "$first") QT_QPA_PLATFORM=offscreen timeout 15 varnello > "$work/offscreen.log" 2>&1
status=$?
set -e
# Still running when stopped: 124. Anything else is a crash or an early exit.
[ "$status" -eq 124 ] || { cat "$work/offscreen.log"; fail "the installed program ended on its own ($status)"; }
for name in set.txt EXCEL.txt output.txt; do
  [ -f "$first/.config/varnello/$name" ] || fail "the first start made no $name in the user's folder"
done
[ "$(stat -c %a "$first/.config/varnello")" = 700 ] || fail "the user's state folder is not private"
echo "started; the user's state files are in $first/.config/varnello"

step "Convert a document through the installed program's window"
second="$work/second-user"
docs="$second/Documents/letters"
out="$second/Web pages"
mkdir -p "$docs" "$out" "$second/.config/varnello"
printf 'A letter to convert\n\nVarnello check-package marker.\n' > "$work/letter.txt"
env $(user_env "$second") timeout 120 soffice -env:UserInstallation="file://$work/soffice-profile" \
  --headless --convert-to docx --outdir "$docs" "$work/letter.txt" > /dev/null
[ -s "$docs/letter.docx" ] || fail "LibreOffice made no test document"
# Both lists are saved at exit; the output folder is the first of the list.
printf '1\r\n1\r\n' > "$second/.config/varnello/set.txt"
printf '%s\r\n' "$out" > "$second/.config/varnello/output.txt"

x_session_start
env $(user_env "$second") varnello "$docs" > "$work/gui.log" 2>&1 &
program=$!
window=$(main_window) || { cat "$work/gui.log"; fail "the window did not show"; }
sleep 1
click_convert "$window"
for tries in $(seq 120); do
  [ -s "$out/letter.htm" ] && break
  sleep 1
done
[ -s "$out/letter.htm" ] || { cat "$work/gui.log"; fail "no web page was written"; }
grep -q 'check-package marker' "$out/letter.htm" || fail "the web page lacks the document's text"
sleep 2 # the run ends by opening the output folder
click_exit "$window"
timeout 60 tail --pid="$program" -f /dev/null || fail "the program did not end on Exit"
wait "$program" || fail "the program ended with status $?"
grep -qxF "$docs"$'\r' "$second/.config/varnello/EXCEL.txt" || fail "the source list was not kept"
grep -qxF "$out"$'\r' "$second/.config/varnello/output.txt" || fail "the output folders were not kept"
echo "converted $docs/letter.docx into $out/letter.htm"

step "The lists survive a restart"
env $(user_env "$second") varnello > "$work/gui2.log" 2>&1 &
program=$!
window=$(main_window) || fail "the window did not show again"
sleep 1
click_exit "$window"
timeout 60 tail --pid="$program" -f /dev/null || fail "the program did not end on Exit"
wait "$program" || fail "the program ended with status $?"
grep -qxF "$docs"$'\r' "$second/.config/varnello/EXCEL.txt" || fail "the source list was lost"
x_session_stop
# One user's lists are not another's.
[ ! -s "$first/.config/varnello/EXCEL.txt" ] || fail "the first user's list changed"

step "Remove"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=600 varnello >/dev/null
installed=no
if dpkg-query -W -f='${Status}\n' varnello 2>/dev/null | grep -q installed; then
  fail "the package is still installed"
fi
left=()
while read -r path; do
  [ -d "$path" ] && continue # shared folders stay while other packages use them
  [ -e "$path" ] && left+=("$path")
done < "$work/files"
for folder in /usr/lib/varnello /usr/share/varnello; do
  [ -e "$folder" ] && left+=("$folder")
done
[ ${#left[@]} -eq 0 ] || fail "left behind: ${left[*]}"
! grep -q "$entry" /usr/share/applications/mimeinfo.cache || fail "the menu data still names the program"
[ -s "$second/.config/varnello/EXCEL.txt" ] || fail "the user's own files went with the package"
echo "removed; nothing of the package is left, the users' files are"
