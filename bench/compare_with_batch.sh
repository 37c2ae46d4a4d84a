#!/usr/bin/env bash
# Times the program's conversion run against LibreOffice's own batch converter on the
# same folder, both from a cold process start, and prints both times and their ratio.
#
#   bench/compare_with_batch.sh [document folder | mixed | long | scale] [format 0|1|2]
#
# Without a folder: 200 small .docx files (text, a table, a picture).
# mixed: about 300 office-like documents of 1 to 60 pages (bench/make_mixed_folder.py).
# long: about 300 ordinary documents and the hard ones, each first, in the middle and
# last: thousands of styles, 300 pages, fifty photographs (bench/make_long_folder.py).
# scale: the first 50, 200 and 1000 small .docx files, one comparison each.
# The generated folders are made once and kept in /tmp/varnello-bench-*.
#
# A ratio is printed only when both sides converted every document they could: the
# generated folders know which of their documents no converter can open; for another
# folder give their number in KNOWN_BAD, else both sides must convert as many. Varnello
# must also write a page for each document it converted and have converted every one
# the batch did; the batch may write fewer pages, as it writes documents whose names
# differ only in their extension to the same page, one over the other.
# Exits 1 when a comparison was refused. BUILD names the build folder (default: build
# beside bench/).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/pages_problem.sh"
build=${BUILD:-$here/../build}
bench=$build/bench/bench_convert
[ -x "$bench" ] || { echo "build bench_convert first (cmake --build build --target bench_convert)" >&2; exit 2; }

# The launcher `soffice` stops silently after a few hundred documents and still exits 0;
# LibreOffice's own executable converts them all.
soffice_bin=/usr/lib/libreoffice/program/soffice.bin
[ -x "$soffice_bin" ] || { echo "LibreOffice is not installed ($soffice_bin)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The batch converter's own profile, kept between runs as the helper's is.
batch_profile=${XDG_CACHE_HOME:-$HOME/.cache}/varnello/bench-soffice-profile
mkdir -p "$batch_profile"
# One comparison at a time: a second LibreOffice on the same profile hands its files to
# the first and exits, and two runs at once would time each other anyway.
exec 9> "$batch_profile.lock"
flock 9

mode=${1:-}
format=${2:-0}

batch() { "$soffice_bin" -env:UserInstallation="file://$batch_profile" --headless --norestore "$@"; }

# A new profile makes LibreOffice ask for a restart (status 81) before it does any work.
warm_profile() {
  local attempt
  for attempt in 1 2 3; do
    batch --terminate_after_init > /dev/null 2>&1 && return 0
  done
  echo "LibreOffice does not start with the profile $batch_profile" >&2
  exit 2
}

# LibreOffice runs a graphics self-test of several seconds at every start until its
# profile records the version that last ran, and a profile used only headless never
# does: a user who has once opened LibreOffice's window has the mark. Our helper
# marks its profile; the batch gets the same, so that it is timed at its best.
mark_profile_version() {
  python3 - "$soffice_bin" "$batch_profile/user/registrymodifications.xcu" <<'PY'
import os, re, sys
program, settings = sys.argv[1], sys.argv[2]
xcd = open(os.path.join(os.path.dirname(program), "../share/registry/main.xcd"), encoding="utf-8", errors="replace").read()
found = re.search(r'oor:name="ooSetupVersion">\s*<value>([0-9.]+)</value>', xcd)
text = open(settings, encoding="utf-8").read()
if not found or "ooSetupLastVersion\" oor:op=\"fuse\"><value>" + found.group(1) in text:
    sys.exit(0)
text = re.sub(r'<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion".*?</item>\n?', "", text)
end = text.rindex("</oor:items>")
text = (text[:end] + '<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" '
        'oor:op="fuse"><value>' + found.group(1) + '</value></prop></item>\n' + text[end:])
open(settings, "w", encoding="utf-8").write(text)
PY
}

word_files() {
  find "$1" -maxdepth 1 -type f \( -iname '*.doc' -o -iname '*.docx' -o -iname '*.docm' \) -print0 | sort -z
}

# 1000 small .docx files: text, a table and a small picture each.
small_cache=/tmp/varnello-bench-small
small_stamp="small documents v1: 1000"
make_small() {
  [ "$(cat "$small_cache/stamp" 2> /dev/null)" = "$small_stamp" ] && return 0
  rm -rf "$small_cache"
  echo "(once, kept in $small_cache)"
  "$here/generate_small_documents.sh" "$small_cache/documents" 1000 "$batch_profile"
  local made
  made=$(word_files "$small_cache/documents" | tr -cd '\0' | wc -c)
  [ "$made" -eq 1000 ] || { echo "only $made of 1000 small documents were generated" >&2; exit 2; }
  echo "$small_stamp" > "$small_cache/stamp"
}

# The first COUNT small documents, as links in a folder of their own: sets subset.
small_folder() {
  subset=$work/small-$1
  make_small
  mkdir -p "$subset"
  local all=()
  mapfile -d '' all < <(word_files "$small_cache/documents")
  ln -t "$subset" "${all[@]:0:$1}"
}

mixed_cache=/tmp/varnello-bench-mixed
make_mixed() {
  local stamp
  stamp="mixed documents: $(md5sum < "$here/make_mixed_folder.py")"
  [ "$(cat "$mixed_cache/stamp" 2> /dev/null)" = "$stamp" ] && return 0
  rm -rf "$mixed_cache"
  echo "generating the mixed folder (once, kept in $mixed_cache; a few minutes)..."
  # Debian's own python3: the one python3-uno belongs to.
  /usr/bin/python3 "$here/make_mixed_folder.py" "$mixed_cache" 300
  echo "$stamp" > "$mixed_cache/stamp"
}

long_cache=/tmp/varnello-bench-long
make_long() {
  local stamp
  stamp="long documents: $(cat "$here/make_long_folder.py" "$here/make_mixed_folder.py" | md5sum)"
  [ "$(cat "$long_cache/stamp" 2> /dev/null)" = "$stamp" ] && return 0
  rm -rf "$long_cache"
  echo "generating the long folder (once, kept in $long_cache; ten minutes or more)..."
  /usr/bin/python3 "$here/make_long_folder.py" "$long_cache" 300
  echo "$stamp" > "$long_cache/stamp"
}

now() { date +%s%N; }

# compare FOLDER KNOWN_BAD [KNOWN_BAD_NAMES]: both runs, both counts, and the ratio when
# the counts allow it. KNOWN_BAD is the number of documents no converter can open, or
# empty when unknown; KNOWN_BAD_NAMES a file with their names, one a line, when known
# (the batch takes some of them for plain text). Sets the globals ratio, ours, theirs.
compare() {
  local folder=$1 known_bad=$2 known_bad_names=${3:-/dev/null} name
  name=$(basename "$folder")
  local out=$work/ours-$name batch_out=$work/batch-$name
  mkdir -p "$out" "$batch_out"
  local count
  count=$(word_files "$folder" | tr -cd '\0' | wc -c)
  [ "$count" -gt 0 ] || { echo "no Word documents in $folder" >&2; exit 2; }

  local start
  start=$(now)
  "$bench" "$folder" "$out" "$format" > "$work/ours.txt" 2> "$work/ours.err" || true
  ours=$(( ($(now) - start) / 1000000 ))

  local files=()
  mapfile -d '' files < <(word_files "$folder")
  start=$(now)
  batch --convert-to html --outdir "$batch_out" "${files[@]}" > "$work/batch.txt" 2>&1 || true
  theirs=$(( ($(now) - start) / 1000000 ))

  # Ours: the documents bench_convert reports converted, each with a page of its own.
  local converted written
  converted=$(sed -n 's/^documents: [0-9]*, converted: \([0-9]*\),.*/\1/p' "$work/ours.txt")
  written=$(find "$out" -maxdepth 1 -type f \( -iname '*.htm' -o -iname '*.html' -o -iname '*.mht' -o -iname '*.mhtml' \) | wc -l)
  # The batch names each document it converts, and says so again when the save fails.
  local batch_converted batch_written
  batch_converted=$(( $(grep -c '^convert ' "$work/batch.txt" || true) - $(grep -c '^Error: Please verify' "$work/batch.txt" || true) ))
  batch_written=$(find "$batch_out" -maxdepth 1 -type f -iname '*.html' | wc -l)
  # Documents the batch converted and Varnello did not, but for those known to be bad.
  local missing
  missing=$(LC_ALL=C comm -23 <("$here/converted_names.py" batch "$work/batch.txt" | LC_ALL=C sort -u) \
                              <("$here/converted_names.py" bench "$work/ours.txt" | LC_ALL=C sort -u) \
            | grep -vxF -f "$known_bad_names" || true)

  echo "documents:            $count${known_bad:+ ($known_bad that no converter can open)}"
  echo "Varnello run:         $ours ms, ${converted:-?} converted, $written pages written"
  echo "soffice.bin batch:    $theirs ms, $batch_converted converted, $batch_written pages written"
  sed -n 's/^longest stall: /longest stall:        /p; s/^helpers: /helpers:              /p; s/^helper work: /helper work:          /p; s/^all work: /all work:             /p' "$work/ours.txt"
  echo "pages: ours $written, batch $batch_written"
  sed -n 's/^longest document: /longest document:     /p; s/^document times: /document times:       /p' "$work/ours.txt"
  # The five documents the run took longest over, with their result codes.
  awk '/ [012] +[0-9]+ ms$/ { ms = $(NF - 1); result = $(NF - 2); sub(/ +[012] +[0-9]+ ms$/, "")
                              printf "%d\t%d ms, %s (result %d)\n", ms, ms, $0, result }' "$work/ours.txt" |
    sort -rn | awk 'NR <= 5' | cut -f2- | sed 's/^/slow document:        /'

  local why=""
  if [ -z "$converted" ]; then
    why="bench_convert printed no count"
  elif why=$(pages_problem Varnello "$written" "$converted" "$missing"); [ -n "$why" ]; then
    :
  elif [ -n "$known_bad" ]; then
    local could=$(( count - known_bad ))
    [ "$converted" -ge "$could" ] || why="Varnello converted $converted of the $could documents it could"
    [ "$batch_converted" -ge "$could" ] || why="${why:+$why; }the batch converted $batch_converted of the $could documents it could"
  elif [ "$converted" -ne "$batch_converted" ]; then
    why="Varnello converted $converted, the batch $batch_converted: set KNOWN_BAD to the number no converter can open"
  fi
  if [ -n "$why" ]; then
    echo "no ratio: $why"
    ratio=""
    return 1
  fi
  ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.3f", a / b }')
  echo "ratio (ours / batch): $ratio"
}

warm_profile
mark_profile_version
case "$mode" in
  "")
    small_folder 200
    compare "$subset" 0
    ;;
  mixed)
    make_mixed
    compare "$mixed_cache/documents" "$(wc -l < "$mixed_cache/known-bad.txt")" "$mixed_cache/known-bad.txt"
    ;;
  long)
    make_long
    sed 's/^/hard document: /' "$long_cache/shapes.txt"
    compare "$long_cache/documents" "$(wc -l < "$long_cache/known-bad.txt")" "$long_cache/known-bad.txt"
    ;;
  scale)
    summary="" refused=0
    for count in 50 200 1000; do
      echo "== $count small documents"
      small_folder "$count"
      if compare "$subset" 0; then
        summary+=$(printf '%6d %9d ms %9d ms %8s' "$count" "$ours" "$theirs" "$ratio")$'\n'
      else
        summary+=$(printf '%6d %9d ms %9d ms %8s' "$count" "$ours" "$theirs" "refused")$'\n'
        refused=1
      fi
    done
    echo "== documents, Varnello, batch, ratio"
    printf '%s' "$summary"
    exit "$refused"
    ;;
  *)
    compare "$mode" "${KNOWN_BAD:-}"
    ;;
esac
