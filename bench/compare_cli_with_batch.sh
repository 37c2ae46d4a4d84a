#!/usr/bin/env bash
# Times varnello-convert against LibreOffice's own one-process batch converter on the
# same folder, both from a cold process start, counts what each side wrote, and
# prints both times and their ratio.
#
#   bench/compare_cli_with_batch.sh [document folder] [web|filtered|archive] [jobs]
#
# Without a folder, 200 small .docx files (text, a table, a picture) are generated.
# Without jobs, varnello-convert chooses from the cores and the memory.
# BUILD names the build folder (default: build beside bench/).
#
# The batch runs LibreOffice's soffice.bin directly: the soffice launcher stops
# silently after about 240 documents and still exits with status 0. The batch writes
# documents whose names differ only in their extension to one page, one over the
# other, so it may write fewer pages; no ratio is printed, and the exit status is 1,
# when varnello-convert did not write one page for each document it reported
# converted, or did not convert a document that the batch did.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/pages_problem.sh"
build=${BUILD:-$here/../build}
convert=$build/varnello-convert
[ -x "$convert" ] || { echo "build varnello-convert first (cmake --build build --target varnello-convert)" >&2; exit 2; }
[ -x /usr/lib/libreoffice/program/soffice.bin ] || { echo "LibreOffice is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The batch converter's own profile, kept between runs as the helpers' are.
batch_profile=${XDG_CACHE_HOME:-$HOME/.cache}/varnello/bench-soffice-profile
mkdir -p "$batch_profile"

folder=${1:-}
format=${2:-web}
jobs=${3:-}
if [ -z "$folder" ]; then
  folder=$work/documents
  "$here/generate_small_documents.sh" "$folder" 200 "$batch_profile"
fi
shopt -s nullglob nocaseglob
documents=("$folder"/*.doc "$folder"/*.docx "$folder"/*.docm)
count=${#documents[@]}

now() { date +%s%N; }

start=$(now)
status=0
"$convert" --json --format "$format" ${jobs:+--jobs "$jobs"} "$folder" -o "$work/ours" > "$work/ours.json" 2> "$work/ours.err" || status=$?
ours=$(( ($(now) - start) / 1000000 ))
ours_pages=$(find "$work/ours" -maxdepth 1 -type f \( -iname '*.htm' -o -iname '*.html' -o -iname '*.mht' -o -iname '*.mhtml' \) | wc -l)

start=$(now)
"$here/soffice_bin.sh" -env:UserInstallation="file://$batch_profile" --headless --convert-to html --outdir "$work/batch" \
  "${documents[@]}" > "$work/batch.txt" 2>&1 || true
batch=$(( ($(now) - start) / 1000000 ))
batch_pages=$(find "$work/batch" -maxdepth 1 -type f -iname '*.html' 2>/dev/null | wc -l)

"$here/converted_names.py" cli "$work/ours.json" | LC_ALL=C sort -u > "$work/ours.names"
"$here/converted_names.py" batch "$work/batch.txt" | LC_ALL=C sort -u > "$work/batch.names"
ours_converted=$(wc -l < "$work/ours.names")
missing=$(LC_ALL=C comm -23 "$work/batch.names" "$work/ours.names")

echo "documents:              $count"
echo "format:                 $format (the batch writes html)"
echo "jobs:                   ${jobs:-default}"
echo "varnello-convert:       $ours ms, $ours_pages pages, exit status $status"
echo "soffice.bin batch:      $batch ms, $batch_pages pages"
echo "pages: ours $ours_pages, batch $batch_pages"
echo "converted: ours $ours_converted, batch $(wc -l < "$work/batch.names")"
why=$(pages_problem varnello-convert "$ours_pages" "$ours_converted" "$missing")
if [ -n "$why" ]; then
  echo "no ratio: $why" >&2
  grep -m 5 . "$work/ours.err" >&2 || true
  exit 1
fi
[ "$ours_converted" -lt "$count" ] && echo "note: $((count - ours_converted)) documents failed on both sides"
awk -v a="$ours" -v b="$batch" 'BEGIN { printf "ratio (ours / batch):   %.3f\n", a / b }'
