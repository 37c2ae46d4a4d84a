#!/usr/bin/env bash
# Times the program's conversion run against LibreOffice's own batch converter on the
# same folder, both from a cold process start, and prints both times and their ratio.
#
#   bench/compare_with_batch.sh [document folder] [format 0|1|2]
#
# Without a folder, 200 small .docx files (text, a table, a picture) are generated.
# BUILD names the build folder (default: build beside bench/).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build}
bench=$build/bench/bench_convert
[ -x "$bench" ] || { echo "build bench_convert first (cmake --build build --target bench_convert)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The batch converter's own profile, kept between runs as the helper's is.
batch_profile=${XDG_CACHE_HOME:-$HOME/.cache}/varnello/bench-soffice-profile
mkdir -p "$batch_profile"

folder=${1:-}
format=${2:-0}
if [ -z "$folder" ]; then
  folder=$work/documents
  "$here/generate_small_documents.sh" "$folder" 200 "$batch_profile"
fi
count=$(find "$folder" -maxdepth 1 -type f \( -iname '*.doc' -o -iname '*.docx' -o -iname '*.docm' \) | wc -l)

now() { date +%s%N; }

start=$(now)
"$bench" "$folder" "$work/ours" "$format" > "$work/ours.txt"
ours=$(( ($(now) - start) / 1000000 ))

shopt -s nullglob nocaseglob
start=$(now)
soffice -env:UserInstallation="file://$batch_profile" --headless --convert-to html --outdir "$work/batch" \
  "$folder"/*.doc "$folder"/*.docx "$folder"/*.docm > /dev/null 2>&1
batch=$(( ($(now) - start) / 1000000 ))

tail -n 2 "$work/ours.txt"
echo "documents:            $count"
echo "Varnello run:         $ours ms"
echo "soffice batch:        $batch ms"
awk -v a="$ours" -v b="$batch" 'BEGIN { printf "ratio (ours / batch): %.3f\n", a / b }'
