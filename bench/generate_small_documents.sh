#!/usr/bin/env bash
# Makes COUNT small .docx files (a heading, text, a table, a picture) in FOLDER with
# LibreOffice, for the benchmarks that compare with LibreOffice's batch converter.
#
#   bench/generate_small_documents.sh FOLDER [COUNT] [LIBREOFFICE PROFILE]
set -euo pipefail

folder=$1
count=${2:-200}
profile=${3:-${XDG_CACHE_HOME:-$HOME/.cache}/varnello/bench-soffice-profile}
html=$(mktemp -d)
trap 'rm -rf "$html"' EXIT
mkdir -p "$folder" "$profile"
picture='iVBORw0KGgoAAAANSUhEUgAAABAAAAAMCAIAAADkharWAAAAFUlEQVR4nGPQiDpBEmIY1TCqATsCANfh94HFfj51AAAAAElFTkSuQmCC'
for i in $(seq -w 1 "$count"); do
  cat > "$html/Document $i.html" <<HTML
<html><body><h1>Report $i</h1>
<p>This is paragraph one of document $i. It holds a few sentences of plain text so that the
document has some body to lay out, convert and write.</p>
<p><img src="data:image/png;base64,$picture" width="32" height="24"> A picture in line.</p>
<table border="1"><tr><th>Item</th><th>Value</th></tr><tr><td>Alpha</td><td>$i</td></tr>
<tr><td>Beta</td><td>42</td></tr></table>
<p>Closing paragraph of document $i.</p></body></html>
HTML
done
echo "generating $count .docx files..."
"$(dirname "$0")/soffice_bin.sh" -env:UserInstallation="file://$profile" --headless \
  --convert-to "docx:MS Word 2007 XML" --outdir "$folder" "$html"/*.html > /dev/null 2>&1 || true
made=$(find "$folder" -maxdepth 1 -name 'Document *.docx' | wc -l)
[ "$made" -ge "$count" ] || { echo "LibreOffice made only $made of $count documents" >&2; exit 1; }
