#!/bin/sh
# End-to-end test: the real discbrowser on a private Xvfb display, driven by real pointer and key
# events from xdotool and judged by the colours of screenshots at the places the layout gives.
#
#   run_e2e.sh DISCBROWSER XSHOT [OUT_DIR]
#
# Screenshots go to OUT_DIR (default: the current folder) for a human to look at when it fails.
# There is no window manager: the window lands where it asks to be, and the keyboard focus is
# given to it by hand.
set -u

DISCBROWSER=${1:?usage: run_e2e.sh DISCBROWSER XSHOT [OUT_DIR]}
XSHOT=${2:?usage: run_e2e.sh DISCBROWSER XSHOT [OUT_DIR]}
OUT=${3:-.}

# Every wait polls this often, at most this many times; no single tool call may take longer
# than STEP seconds.
POLL=0.1
TRIES=100
STEP=10

# The layout: the window's top left corner on the screen, its 1-pixel inner border, Panel1 within
# the client area, Panel2 and its close hot spot, the list slots and the two shapes.
WIN_X=110
WIN_Y=105
P1_X=$((WIN_X + 1 + 0))
P1_Y=$((WIN_Y + 1 + 109))
P2_X=$((WIN_X + 1 + 748))
P2_Y=$((WIN_Y + 1 + 0))
SLOT_TOPS="46 63 80 97 114 131 149 166 183 200 217 234 251 268 285 302 319 336 354 371 388 405 422 439 456"
BACKGROUND="0,0,0"
AMBER="251,197,6"
TEXT="26,0,0"
TEAL="0,158,172"
DARK_BLUE="0,73,142"

tmp=""
xvfb_pid=""
app_pid=""
failures=0

cleanup()
{
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$app_pid" ] && wait "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
    [ -n "$tmp" ] && rm -rf "$tmp"
}
trap cleanup EXIT
trap 'echo "e2e: interrupted" >&2; exit 1' INT TERM HUP

die()
{
    echo "e2e: FAIL: $*" >&2
    if [ -n "$xvfb_pid" ] && [ -n "${DISPLAY:-}" ]; then
        timeout "$STEP" "$XSHOT" --save "$OUT/failure.png" >/dev/null 2>&1 &&
            echo "e2e: the screen at the failure: $OUT/failure.png" >&2
    fi
    [ -n "$tmp" ] && [ -s "$tmp/app.log" ] && sed 's/^/e2e: discbrowser: /' "$tmp/app.log" >&2
    exit 1
}

check()
{
    # check DESCRIPTION CONDITION...: records a failure and goes on, so that one run shows all.
    what=$1
    shift
    if "$@"; then
        echo "e2e: ok: $what"
    else
        echo "e2e: FAIL: $what" >&2
        failures=$((failures + 1))
    fi
}

# wait_for DESCRIPTION COMMAND...: polls COMMAND until it succeeds, or dies after TRIES polls.
wait_for()
{
    what=$1
    shift
    n=0
    until "$@"; do
        n=$((n + 1))
        [ "$n" -ge "$TRIES" ] && die "timed out waiting for $what"
        sleep "$POLL"
    done
}

# expect DESCRIPTION COMMAND...: the state COMMAND tests must come about, after an event that the
# program handles in its own time.
expect()
{
    wait_for "$@"
    echo "e2e: ok: $1"
}

xdo() { timeout "$STEP" xdotool "$@"; }

slot_top() { echo "$SLOT_TOPS" | cut -d' ' -f"$1"; }

# The part of slot K's text box that every title fills: Label K's left and top, its design size.
slot_rect() { echo "$((P1_X + 192)),$((P1_Y + $(slot_top "$1"))),41,16"; }

# count RECT COLOUR TOLERANCE: the number of screen pixels in RECT near COLOUR.
count() { timeout "$STEP" "$XSHOT" --count "$1,$2,$3"; }

at_least() { [ "$1" -ge "$2" ]; }

slot_is_selected() { at_least "$(count "$(slot_rect "$1")" "$AMBER" 40)" 20; }
slot_not_selected()
{
    [ "$(count "$(slot_rect "$1")" "$AMBER" 40)" -eq 0 ] &&
        at_least "$(count "$(slot_rect "$1")" "$TEXT" 40)" 20
}

shot()
{
    timeout "$STEP" "$XSHOT" --save "$OUT/$1.png" >/dev/null || die "cannot save the screenshot $1"
}

click_at()
{
    xdo mousemove --sync "$1" "$2" click 1 || die "xdotool could not click at $1,$2"
}

command -v Xvfb >/dev/null || die "Xvfb is not installed (scripts/bootstrap.sh installs it)"
command -v xdotool >/dev/null || die "xdotool is not installed (scripts/bootstrap.sh installs it)"
[ -x "$DISCBROWSER" ] || die "no program at $DISCBROWSER"
[ -x "$XSHOT" ] || die "no screenshot helper at $XSHOT"
mkdir -p "$OUT" || die "cannot make $OUT"
rm -f "$OUT"/*.png

tmp=$(mktemp -d "${TMPDIR:-/tmp}/e2e-discbrowser.XXXXXX") || die "mktemp failed"
mkdir -m 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime"
# Our own X display, whatever platform the caller's environment chose for Qt.
export QT_QPA_PLATFORM=xcb

# The fixture disc: 30 titles in category 1, every other content file empty, a menu of 42 lines
# and the two about texts. The titles sort as they are numbered.
disc="$tmp/disc"
mkdir -p "$disc/DB"
i=1
while [ "$i" -le 30 ]; do
    n=$(printf '%02d' "$i")
    printf '1@Title %s@folder%s@Description of title %s\r\n' "$n" "$n" "$n"
    i=$((i + 1))
done >"$disc/DB/dbjava.mob"
for f in dbsoft dbinstruktion dbMIDI dbArticles; do : >"$disc/DB/$f.mob"; done
i=1
while [ "$i" -le 42 ]; do
    printf 'Menu line %d\r\n' "$i"
    i=$((i + 1))
done >"$disc/DB/Menu.mob"
printf 'About the manuals\r\n' >"$disc/DB/AboutManual.mob"
printf 'About the tunes\r\n' >"$disc/DB/AboutMIDI.mob"

# A display of our own: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
display_ready() { grep -q '^[0-9][0-9]*$' "$tmp/display" 2>/dev/null; }
wait_for "Xvfb to start" display_ready
DISPLAY=:$(cat "$tmp/display")
export DISPLAY
echo "e2e: Xvfb on display $DISPLAY"

"$DISCBROWSER" "$disc" >"$tmp/app.log" 2>&1 &
app_pid=$!

win=$(xdo search --sync --onlyvisible --name '^discbrowser$' | head -n 1)
[ -n "$win" ] || die "the window did not appear within $STEP s"
echo "e2e: window $win"

geometry=$(xdo getwindowgeometry --shell "$win") || die "xdotool could not read the window's geometry"
X=-1 Y=-1 WIDTH=-1 HEIGHT=-1
eval "$geometry"
check "window at 110,105 (is $X,$Y)" [ "$X" -eq "$WIN_X" -a "$Y" -eq "$WIN_Y" ]
check "window 800x600 (is ${WIDTH}x$HEIGHT)" [ "$WIDTH" -eq 800 -a "$HEIGHT" -eq 600 ]

# The first activation has filled the list when slot 1, the first title, is marked.
expect "slot 1 selected at start" slot_is_selected 1
shot 1-start

# On the screen as well: the window's outermost rows and columns are painted, while the ones just
# outside it still show the screen's background.
edges_painted()
{
    for r in "$WIN_X,$WIN_Y,800,1" "$WIN_X,$((WIN_Y + 599)),800,1" \
        "$WIN_X,$WIN_Y,1,600" "$((WIN_X + 799)),$WIN_Y,1,600"; do
        [ "$(count "$r" "$BACKGROUND" 0)" -eq 0 ] || return 1
    done
}
outside_untouched()
{
    [ "$(count "$WIN_X,$((WIN_Y - 1)),800,1" "$BACKGROUND" 0)" -eq 800 ] &&
        [ "$(count "$WIN_X,$((WIN_Y + 600)),800,1" "$BACKGROUND" 0)" -eq 800 ] &&
        [ "$(count "$((WIN_X - 1)),$WIN_Y,1,600" "$BACKGROUND" 0)" -eq 600 ] &&
        [ "$(count "$((WIN_X + 800)),$WIN_Y,1,600" "$BACKGROUND" 0)" -eq 600 ]
}
check "the screenshot shows the window's edges at 110..909, 105..704" edges_painted
check "the screenshot shows nothing painted just outside the window" outside_untouched

# The list frame Shape1: its inside teal apart from the titles, its 2-pixel pen dark blue.
list_inside="$((P1_X + 186)),$((P1_Y + 45)),250,430"
check "list frame filled with teal" at_least "$(count "$list_inside" "$TEAL" 8)" $((250 * 430 / 2))
check "list frame's top pen dark blue" \
    at_least "$(count "$((P1_X + 186)),$((P1_Y + 43)),250,2" "$DARK_BLUE" 8)" 480
# The sub-item bar Shape4: amber apart from its captions.
check "sub-item bar filled with amber" \
    at_least "$(count "$((P1_X + 186)),$((P1_Y + 19)),600,19" "$AMBER" 8)" $((600 * 19 / 2))
check "slot 5 not selected at start" slot_not_selected 5

# A click on slot 5's text selects it.
xdo windowfocus --sync "$win" || die "xdotool could not focus the window"
click_at $((P1_X + 192 + 10)) $((P1_Y + $(slot_top 5) + 8))
clicked() { slot_is_selected 5 && slot_not_selected 1; }
expect "slot 5 selected after the click, slot 1 no longer" clicked
shot 2-clicked-slot-5

# Down moves the mark to slot 6.
xdo windowfocus --sync "$win" || die "xdotool could not focus the window"
xdo key Down || die "xdotool could not press Down"
moved() { slot_is_selected 6 && slot_not_selected 5; }
expect "slot 6 selected after Down, slot 5 no longer" moved
shot 3-down-to-slot-6

# A click on the close hot spot ends the program.
click_at $((P2_X + 27 + 7)) $((P2_Y + 11 + 6))
# A child that has exited stays a zombie until waited for, and kill -0 still reaches a zombie.
app_gone() { [ ! -r "/proc/$app_pid/stat" ] || [ "$(cut -d' ' -f3 "/proc/$app_pid/stat")" = Z ]; }
expect "discbrowser ended after the click on the close hot spot" app_gone
wait "$app_pid"
status=$?
app_pid=""
check "discbrowser's exit status 0 (was $status)" [ "$status" -eq 0 ]

if [ "$failures" -ne 0 ]; then
    echo "e2e: $failures check(s) failed; screenshots in $OUT" >&2
    exit 1
fi
echo "e2e: all checks passed"
