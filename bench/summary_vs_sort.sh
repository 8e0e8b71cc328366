#!/bin/sh
# Times `disccheck --summary` on a synthetic catalogue of LINES lines (default 1,000,000)
# against `sort -f -u` of the same lines, side by side, best of RUNS runs each (default 5).
# Both run in the same environment, so they see the same locale.
#   bench/summary_vs_sort.sh [BUILD_DIR] [LINES] [RUNS]
set -eu
build=${1:-build}
lines=${2:-1000000}
runs=${3:-5}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/makebigcatalogue" "$work/disc" "$lines"
# The five content files in reading order are exactly the lines the load sorts.
cat "$work/disc/DB/dbsoft.mob" "$work/disc/DB/dbjava.mob" "$work/disc/DB/dbinstruktion.mob" \
    "$work/disc/DB/dbMIDI.mob" "$work/disc/DB/dbArticles.mob" > "$work/lines"

seconds() { # command... → wall seconds of one run
    start=$(date +%s.%N)
    "$@" > /dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

best_load=999999
best_sort=999999
i=0
while [ "$i" -lt "$runs" ]; do
    t=$(seconds "$build/bin/disccheck" --summary "$work/disc")
    best_load=$(echo "if ($t < $best_load) $t else $best_load" | bc)
    t=$(seconds sort -f -u "$work/lines")
    best_sort=$(echo "if ($t < $best_sort) $t else $best_sort" | bc)
    i=$((i + 1))
done

printf 'lines: %s (%s bytes), locale: LC_ALL=%s LC_COLLATE=%s LANG=%s\n' "$lines" \
    "$(wc -c < "$work/lines")" "${LC_ALL:-}" "${LC_COLLATE:-}" "${LANG:-}"
printf 'disccheck --summary: %.3f s (best of %s)\n' "$best_load" "$runs"
printf 'sort -f -u:          %.3f s (best of %s)\n' "$best_sort" "$runs"
printf 'ratio:               %.2f\n' "$(echo "$best_load / $best_sort" | bc -l)"
