#!/bin/sh
# Start-up to the first painted frame: discbrowser on the demo disc against an empty Qt Widgets
# window of the same size and place, side by side on one private Xvfb display; and, for
# reference, that window with the skin's scroll bar and a screen of text (bench/floorwindow),
# which no build of discbrowser's window can do without.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR defaults to build, RUNS to 11. One warm-up run of each is not counted (it fills the
# file cache); then the programs take turns, so that a slow spell of the machine falls on
# all. Prints every run, then the median and the best of each and their ratios to minimal.
set -u

BUILD=${1:-build}
RUNS=${2:-11}
DISCBROWSER="$BUILD/bin/discbrowser"
DISC="$BUILD/demo-disc"
MINIMAL="$BUILD/bench/minimalwindow"
FLOOR="$BUILD/bench/floorwindow"
FIRSTFRAME="$BUILD/bench/firstframe"

for f in "$DISCBROWSER" "$MINIMAL" "$FLOOR" "$FIRSTFRAME"; do
    [ -x "$f" ] || { echo "startup: no $f; build first (cmake --build $BUILD)" >&2; exit 1; }
done
[ -d "$DISC/DB" ] || { echo "startup: no demo disc at $DISC" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "startup: Xvfb is missing (scripts/bootstrap.sh)" >&2; exit 1; }

tmp=""
xvfb_pid=""
cleanup()
{
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [ -n "$tmp" ] && rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

tmp=$(mktemp -d "${TMPDIR:-/tmp}/startup-bench.XXXXXX") || exit 1
mkdir -m 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime"
export QT_QPA_PLATFORM=xcb

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
n=0
until grep -q '^[0-9][0-9]*$' "$tmp/display" 2>/dev/null; do
    n=$((n + 1))
    [ "$n" -ge 100 ] && { echo "startup: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
DISPLAY=:$(cat "$tmp/display")
export DISPLAY

# measure NAME PROGRAM ARGS...: one run; appends the milliseconds to $tmp/NAME.
measure()
{
    name=$1
    shift
    line=$("$FIRSTFRAME" --timeout-ms 20000 "$@" 2>"$tmp/err") || {
        echo "startup: $name failed: $(cat "$tmp/err")" >&2
        exit 1
    }
    ms=$(echo "$line" | awk '$1 == "FIRST_FRAME_MS" { print $2 }')
    [ -n "$ms" ] || { echo "startup: $name: unexpected output: $line" >&2; exit 1; }
    echo "$ms" >>"$tmp/$name"
    echo "$ms"
}

echo "startup: display $DISPLAY, $RUNS runs each, interleaved, after one warm-up run each"
measure warmup "$DISCBROWSER" "$DISC" >/dev/null
measure warmup "$MINIMAL" >/dev/null
measure warmup "$FLOOR" >/dev/null
: >"$tmp/discbrowser"
: >"$tmp/minimal"
: >"$tmp/floor"
i=1
while [ "$i" -le "$RUNS" ]; do
    d=$(measure discbrowser "$DISCBROWSER" "$DISC") || exit 1
    m=$(measure minimal "$MINIMAL") || exit 1
    f=$(measure floor "$FLOOR") || exit 1
    printf 'run %2d: discbrowser %7.1f ms   minimal %7.1f ms   floor %7.1f ms\n' "$i" "$d" "$m" "$f"
    i=$((i + 1))
done

# stats FILE: median and best of the numbers in FILE.
stats()
{
    sort -n "$1" | awk '{ v[NR] = $1 }
        END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%.1f %.1f\n", m, v[1] }'
}
set -- $(stats "$tmp/discbrowser") $(stats "$tmp/minimal") $(stats "$tmp/floor")
echo
printf '%-12s %10s %10s %12s %12s\n' "" median best "median/min" "best/min"
awk -v dm="$1" -v db="$2" -v mm="$3" -v mb="$4" -v fm="$5" -v fb="$6" 'BEGIN {
    printf "%-12s %7.1f ms %7.1f ms %12.2f %12.2f   (goal: at most 1.25)\n", "discbrowser", dm, db, dm / mm, db / mb
    printf "%-12s %7.1f ms %7.1f ms\n", "minimal", mm, mb
    printf "%-12s %7.1f ms %7.1f ms %12.2f %12.2f   (empty window + skinned scroll bar + texts)\n", "floor", fm, fb, fm / mm, fb / mb }'
