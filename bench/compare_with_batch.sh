#!/usr/bin/env bash
# Times the program's conversion run against LibreOffice's own batch converter on the
# same folder, both from a cold process start, and prints both times and their ratio.
#
#   bench/compare_with_batch.sh [document folder | mixed | scale] [format 0|1|2]
#
# Without a folder: 200 small .docx files (text, a table, a picture).
# mixed: about 300 office-like documents of 1 to 60 pages (bench/make_mixed_folder.py).
# scale: the first 50, 200 and 1000 small .docx files, one comparison each.
# The generated folders are made once and kept in /tmp/varnello-bench-*.
#
# A ratio is printed only when both sides converted every document they could: the
# generated folders know which of their documents no converter can open; for another
# folder give their number in KNOWN_BAD, else both sides must convert as many.
# Exits 1 when a comparison was refused. BUILD names the build folder (default: build
# beside bench/).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
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

now() { date +%s%N; }

# compare FOLDER KNOWN_BAD: both runs, both counts, and the ratio when the counts allow it.
# KNOWN_BAD is the number of documents no converter can open, or empty when unknown.
# Sets the globals ratio, ours, theirs.
compare() {
  local folder=$1 known_bad=$2 name
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

  # Ours: the documents bench_convert reports converted, and the pages they should give
  # (documents whose names differ only in blanks, dots or extension share one page).
  local converted expected written
  converted=$(sed -n 's/^documents: [0-9]*, converted: \([0-9]*\),.*/\1/p' "$work/ours.txt")
  expected=$(sed -n 's/^\(.*[^ ]\) \+1 \+[0-9]\+ ms$/\1/p' "$work/ours.txt" | sed 's/\.[^.]*$//; s/[ .]//g' | sort -u | wc -l)
  written=$(find "$out" -maxdepth 1 -type f \( -iname '*.htm' -o -iname '*.html' -o -iname '*.mht' -o -iname '*.mhtml' \) | wc -l)
  # The batch names each document it converts, and says so again when the save fails.
  local batch_converted batch_written
  batch_converted=$(( $(grep -c '^convert ' "$work/batch.txt" || true) - $(grep -c '^Error: Please verify' "$work/batch.txt" || true) ))
  batch_written=$(find "$batch_out" -maxdepth 1 -type f -iname '*.html' | wc -l)

  echo "documents:            $count${known_bad:+ ($known_bad that no converter can open)}"
  echo "Varnello run:         $ours ms, ${converted:-?} converted, $written pages written"
  echo "soffice.bin batch:    $theirs ms, $batch_converted converted, $batch_written pages written"
  sed -n 's/^longest stall: /longest stall:        /p; s/^helpers: /helpers:              /p' "$work/ours.txt"

  local why=""
  if [ -z "$converted" ]; then
    why="bench_convert printed no count"
  elif [ "$written" -ne "$expected" ]; then
    why="Varnello reported $converted converted, which should give $expected pages, but wrote $written"
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
    compare "$mixed_cache/documents" "$(wc -l < "$mixed_cache/known-bad.txt")"
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
