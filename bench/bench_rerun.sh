#!/usr/bin/env bash
# Times varnello-convert --update on a folder of documents: the first run, which
# converts every document, and a re-run of the unchanged folder, which converts none
# and starts no LibreOffice helper; then one with a document touched and one changed.
# Prints the three times with each run's summary line.
#
#   bench/bench_rerun.sh [document folder] [web|filtered|archive]
#
# Without a folder, 1000 small .docx files (text, a table, a picture) are generated.
# BUILD names the build folder (default: build beside bench/).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build}
convert=$build/varnello-convert
[ -x "$convert" ] || { echo "build varnello-convert first (cmake --build build --target varnello-convert)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=${1:-}
format=${2:-web}
if [ -z "$folder" ]; then
  folder=$work/documents
  "$here/generate_small_documents.sh" "$folder" 1000
fi

now() { date +%s%N; }
# One run: its time in ms, its summary line (standard error) in $work/NAME.err.
timed_run() {
  local name=$1 start status=0
  start=$(now)
  "$convert" --update --index --format "$format" "$folder" -o "$work/out" > /dev/null 2> "$work/$name.err" || status=$?
  echo "$(( ($(now) - start) / 1000000 )) ms, exit status $status: $(tail -n 1 "$work/$name.err")"
}

count=$(find "$folder" -maxdepth 1 -type f -iname '*.doc*' | wc -l)
echo "documents:              $count"
echo "format:                 $format"
echo "first run:              $(timed_run first)"
echo "unchanged re-run:       $(timed_run unchanged)"
mapfile -t documents < <(find "$folder" -maxdepth 1 -type f -iname '*.doc*' | sort | head -n 3)
if [ -z "${1:-}" ]; then # only our own generated documents are touched and changed
  touch "${documents[0]}"
  cp "${documents[2]}" "${documents[1]}"
  echo "one touched, one changed: $(timed_run changed)"
fi
