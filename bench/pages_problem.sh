# Sourced by the comparisons. Why our run and the batch's cannot be compared, or
# nothing when they can: every document a run reports converted must have its page,
# and ours must convert every document the batch converted.
#   pages_problem WHO PAGES_WRITTEN CONVERTED MISSING_NAMES
pages_problem() {
  local who=$1 pages=$2 converted=$3 missing=$4
  if [ "$pages" -ne "$converted" ]; then
    echo "$who reported $converted converted, which should give as many pages, but wrote $pages"
  elif [ -n "$missing" ]; then
    echo "the batch converted $(grep -c . <<< "$missing") documents that $who did not: $(head -3 <<< "$missing" | paste -sd '|')"
  fi
}
