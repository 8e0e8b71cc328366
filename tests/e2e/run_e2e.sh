#!/bin/sh
# End-to-end test: the real discbrowser on a private Xvfb display, driven by real pointer and key
# events from xdotool and judged by the colours of screenshots at the places the layout gives.
# It goes through the whole program: the list, the sections and sub-items with their two
# layouts, the preview, opening items through a stand-in xdg-open, the screenshot window and the
# close hot spot.
#
#   run_e2e.sh DISCBROWSER XSHOT [OUT_DIR]
#
# XSHOT is tests/e2e/xshot: it grabs and measures the screen, and writes the fixture's pictures.
# Screenshots go to OUT_DIR (default: the current folder) for a human to look at when it fails.
# There is no window manager: windows land where they ask to be, and the keyboard focus is
# given to them by hand.
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
# the client area, Panel2 and its close hot spot. Everything on Panel1 is given below in Panel1's
# own coordinates: the list slots, the section captions, the preview area and its notice.
WIN_X=110
WIN_Y=105
P1_X=$((WIN_X + 1 + 0))
P1_Y=$((WIN_Y + 1 + 109))
P2_X=$((WIN_X + 1 + 748))
P2_Y=$((WIN_Y + 1 + 0))
SLOT_TOPS="46 63 80 97 114 131 149 166 183 200 217 234 251 268 285 302 319 336 354 371 388 405 422 439 456"
MENU_TOPS="47 79 111 143 175 207 239"
SHOT_X=494
SHOT_Y=45
SHOT_W=292
SHOT_H=217
BACKGROUND="0,0,0"
AMBER="251,197,6"
TEXT="26,0,0"
TEAL="0,158,172"
DARK_BLUE="0,73,142"
# The fixture's pictures, each of one colour that nothing in the window's artwork comes near, and
# how far a decoded JPEG of one colour may stray from it.
RED="230,30,30"
BLUE="30,30,230"
GREEN="30,200,30"
JPEG_TOL=16

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

# rect X Y W H: the rectangle X, Y, W, H of Panel1, on the screen.
rect() { echo "$((P1_X + $1)),$((P1_Y + $2)),$3,$4"; }

# The part of slot K's text box that every title fills: Label K's left and top, its design size.
slot_rect() { rect 192 "$(slot_top "$1")" 41 16; }

# count RECT COLOUR TOLERANCE: the number of screen pixels in RECT near COLOUR.
count() { timeout "$STEP" "$XSHOT" --count "$1,$2,$3"; }

at_least() { [ "$1" -ge "$2" ]; }
at_most() { [ "$1" -le "$2" ]; }

slot_is_selected() { at_least "$(count "$(slot_rect "$1")" "$AMBER" 40)" 20; }
slot_not_selected()
{
    [ "$(count "$(slot_rect "$1")" "$AMBER" 40)" -eq 0 ] &&
        at_least "$(count "$(slot_rect "$1")" "$TEXT" 40)" 20
}
# No title in slot K: the list frame's teal shows through all of it.
slot_empty() { [ "$(count "$(slot_rect "$1")" "$TEAL" 8)" -eq $((41 * 16)) ]; }

# The preview area ImageShot, whole, and the middle W by H of it.
shot_rect() { rect "$SHOT_X" "$SHOT_Y" "$SHOT_W" "$SHOT_H"; }
shot_middle() { rect $((SHOT_X + (SHOT_W - $1) / 2)) $((SHOT_Y + (SHOT_H - $2) / 2)) "$1" "$2"; }

# Title 01's 100x80 preview, smaller than the area: drawn at its own size in the middle, so red
# fills the middle and stops at the picture's edges.
red_preview_own_size()
{
    [ "$(count "$(shot_middle 96 76)" "$RED" "$JPEG_TOL")" -eq $((96 * 76)) ] &&
        at_most "$(count "$(shot_rect)" "$RED" "$JPEG_TOL")" $((101 * 81))
}

shot()
{
    timeout "$STEP" "$XSHOT" --save "$OUT/$1.png" >/dev/null || die "cannot save the screenshot $1"
}

click_at()
{
    xdo mousemove --sync "$1" "$2" click 1 || die "xdotool could not click at $1,$2"
}

double_click_at()
{
    xdo mousemove --sync "$1" "$2" click --repeat 2 --delay 80 1 ||
        die "xdotool could not double-click at $1,$2"
}

# A point on slot K's title.
slot_x() { echo $((P1_X + 192 + 10)); }
slot_y() { echo $((P1_Y + $(slot_top "$1") + 8)); }

# A press on section K's caption.
press_section()
{
    click_at $((P1_X + 35 + 10)) $((P1_Y + $(echo "$MENU_TOPS" | cut -d' ' -f"$1") + 10))
}

# A click in the middle of sub-item K's caption. The captions follow one another along the amber
# bar at the widths their texts take, so they are looked for on the screen: the columns of the
# bar holding anything but amber, the gaps between letters joined.
click_sub_item()
{
    spans=$(timeout "$STEP" "$XSHOT" --spans "$(rect 186 20 598 16),$AMBER,40,10") ||
        die "cannot measure the sub-item captions"
    [ "$(echo "$spans" | wc -w)" -eq 4 ] ||
        die "expected four sub-item captions on the amber bar, found columns '$spans'"
    span=$(echo "$spans" | cut -d' ' -f"$1")
    click_at $(((${span%-*} + ${span#*-}) / 2)) $((P1_Y + 20 + 8))
}

focus_main() { xdo windowfocus --sync "$win" || die "xdotool could not focus the window"; }

# The stand-in xdg-open writes a line per call: its arguments, space-separated.
opened_count() { if [ -f "$opened" ]; then wc -l <"$opened"; else echo 0; fi; }
opened_at_least() { [ "$(opened_count)" -ge "$1" ]; }

# url_decode TEXT: TEXT with its %XX escapes undone, as a URL's path is read.
url_decode()
{
    # Bytes, not characters: an escaped UTF-8 letter is put back one byte at a time.
    printf '%s\n' "$1" | LC_ALL=C awk '
        function hex(h,  i, n) {
            n = 0
            for (i = 1; i <= 2; i++)
                n = n * 16 + index("0123456789abcdef", tolower(substr(h, i, 1))) - 1
            return n
        }
        {
            s = $0
            out = ""
            while (match(s, /%[0-9A-Fa-f][0-9A-Fa-f]/)) {
                out = out substr(s, 1, RSTART - 1) sprintf("%c", hex(substr(s, RSTART + 1, 2)))
                s = substr(s, RSTART + 3)
            }
            print out s
        }'
}

# opened_is N FOLDER: the Nth open was of the Java item folder FOLDER on the fixture disc, handed
# over as a file:// URL (what Qt does) or as the plain path.
opened_is()
{
    got=$(url_decode "$(sed -n "$1p" "$opened")")
    want="$disc/Data/Java/Data/$2"
    [ "$got" = "file://$want" ] || [ "$got" = "$want" ] || {
        echo "e2e: open $1 was of '$got', not of $want" >&2
        return 1
    }
}

command -v Xvfb >/dev/null || die "Xvfb is not installed (scripts/bootstrap.sh installs it)"
command -v xdotool >/dev/null || die "xdotool is not installed (scripts/bootstrap.sh installs it)"
[ -x "$DISCBROWSER" ] || die "no program at $DISCBROWSER"
[ -x "$XSHOT" ] || die "no screenshot helper at $XSHOT"
mkdir -p "$OUT" || die "cannot make $OUT"
rm -f "$OUT"/*.png

tmp=$(mktemp -d "${TMPDIR:-/tmp}/e2e-discbrowser.XXXXXX") || die "mktemp failed"
# Qt splits the opener's command line at blanks and quotes, the opener's own path included.
case $tmp in
*[[:space:]\"\'\\]*)
    die "Qt cannot start the stand-in xdg-open under '$tmp': use a TMPDIR without blanks or quotes"
    ;;
esac
mkdir -m 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime"
# Our own X display, whatever platform the caller's environment chose for Qt.
export QT_QPA_PLATFORM=xcb

# The fixture disc: 30 titles in category 1, one in category 2, three in category 3 and two in
# category 4; a menu of seven six-line blocks, and the two about texts. The titles sort as they
# are numbered. The program makes the paths it opens from the physical folder it runs in, so the
# disc's own path is taken the same way, to compare them with.
mkdir "$tmp/disc" || die "cannot make the fixture disc"
disc=$(cd "$tmp/disc" && pwd -P) || die "cannot find the fixture disc"
mkdir -p "$disc/DB"
i=1
while [ "$i" -le 30 ]; do
    n=$(printf '%02d' "$i")
    printf '1@Title %s@folder%s@Description of title %s\r\n' "$n" "$n" "$n"
    i=$((i + 1))
done >"$disc/DB/dbjava.mob"
printf '2@Extra 01@folder01@Title 01 once more, in category 2\r\n' >>"$disc/DB/dbjava.mob"
printf '3@Clip %s@clip%s@Clip number %s\r\n' 01 01 01 02 02 02 03 03 03 >"$disc/DB/dbArticles.mob"
printf '4@Tune %s@tune%s@Tune number %s\r\n' 01 01 01 02 02 02 >"$disc/DB/dbMIDI.mob"
for f in dbsoft dbinstruktion; do : >"$disc/DB/$f.mob"; done
# Each block: the section's caption, four sub-item captions of a word each (the bar is measured
# with the gaps within a caption joined, and a word space is wider than those), an unused line.
for section in Games Tunes Programs Pictures Manuals Articles Video; do
    printf '%s\r\nFirst\r\nSecond\r\nThird\r\nFourth\r\nunused\r\n' "$section"
done >"$disc/DB/Menu.mob"
printf 'About the manuals\r\n' >"$disc/DB/AboutManual.mob"
printf 'About the tunes\r\n' >"$disc/DB/AboutMIDI.mob"
# Title 01 (and Extra 01, in the same folder) has a red preview smaller than the preview area and
# a blue full-size picture; Tune 01 a green preview far smaller than the area, which section 2
# scales up to fill it. The folders of titles 03 and 06 are there to be opened.
write_jpeg() { timeout "$STEP" "$XSHOT" --write-jpeg "$@" || die "cannot write the picture $6"; }
java="$disc/Data/Java/Data"
write_jpeg 100 80 230 30 30 "$java/folder01/pic1.jpg"
write_jpeg 320 240 30 30 230 "$java/folder01/foto.jpg"
write_jpeg 40 30 30 200 30 "$disc/Data/MIDI/classical midis/tune01/foto.jpg"
mkdir -p "$java/folder03" "$java/folder06" || die "cannot make the item folders"

# The desktop, as far as opening goes: a stand-in xdg-open first on the program's PATH, which
# writes down what it was asked to open.
mkdir "$tmp/bin" || die "cannot make $tmp/bin"
opened="$tmp/opened"
cat >"$tmp/bin/xdg-open" <<EOF || die "cannot write the stand-in xdg-open"
#!/bin/sh
printf '%s\\n' "\$*" >>"$opened"
EOF
chmod +x "$tmp/bin/xdg-open" || die "cannot make the stand-in xdg-open executable"

# A display of our own: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
display_ready() { grep -q '^[0-9][0-9]*$' "$tmp/display" 2>/dev/null; }
wait_for "Xvfb to start" display_ready
DISPLAY=:$(cat "$tmp/display")
export DISPLAY
echo "e2e: Xvfb on display $DISPLAY"

# Qt on xcb hands a file:// URL to the first xdg-open on PATH, unless it believes it runs in a
# sandbox (it then asks the desktop portal) or a platform theme brings services of its own.
(
    unset SNAP QT_QPA_PLATFORMTHEME
    PATH="$tmp/bin:$PATH"
    export PATH
    exec "$DISCBROWSER" "$disc"
) >"$tmp/app.log" 2>&1 &
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
expect "title 01's red preview drawn at its own size in the middle of the preview area" \
    red_preview_own_size
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
check "list frame filled with teal" at_least "$(count "$(rect 186 45 250 430)" "$TEAL" 8)" \
    $((250 * 430 / 2))
check "list frame's top pen dark blue" \
    at_least "$(count "$(rect 186 43 250 2)" "$DARK_BLUE" 8)" 480
# The sub-item bar Shape4: amber apart from its captions.
check "sub-item bar filled with amber" \
    at_least "$(count "$(rect 186 19 600 19)" "$AMBER" 8)" $((600 * 19 / 2))
check "slot 5 not selected at start" slot_not_selected 5

# A click on slot 5's text selects it.
focus_main
click_at "$(slot_x 5)" "$(slot_y 5)"
clicked() { slot_is_selected 5 && slot_not_selected 1; }
expect "slot 5 selected after the click, slot 1 no longer" clicked
# Title 05 has no preview: the area shows the frame and, over it, the notice saying so.
no_red_preview() { [ "$(count "$(shot_rect)" "$RED" 60)" -eq 0 ]; }
expect "no red left in the preview area for title 05, which has no preview" no_red_preview
check "the no-preview notice drawn in the middle of the preview area" \
    at_most "$(count "$(rect 594 135 92 34)" "$TEAL" 8)" $((92 * 34 - 50))
shot 2-clicked-slot-5

# Down moves the mark to slot 6.
focus_main
xdo key Down || die "xdotool could not press Down"
moved() { slot_is_selected 6 && slot_not_selected 5; }
expect "slot 6 selected after Down, slot 5 no longer" moved
shot 3-down-to-slot-6

# Enter opens the selected item's folder with the desktop's program.
focus_main
xdo key Return || die "xdotool could not press Enter"
expect "the desktop asked to open something after Enter" opened_at_least 1
check "Enter on title 06 opened its folder" opened_is 1 folder06

# So does a double click on a title, which selects it on the way.
double_click_at "$(slot_x 3)" "$(slot_y 3)"
expect "the desktop asked to open something after the double click" opened_at_least 2
check "the double click on title 03 opened its folder" opened_is 2 folder03
expect "slot 3 selected by the double click" slot_is_selected 3

# Section 2 shows the tunes, category 4, in the details layout, with the preview scaled to fit:
# Tune 01's 40x30 picture then covers the area from side to side.
press_section 2
tunes_listed() { slot_is_selected 1 && slot_not_selected 2 && slot_empty 3; }
expect "section 2 lists the two tunes, the first selected" tunes_listed
green_fills_area() { at_least "$(count "$(shot_rect)" "$GREEN" "$JPEG_TOL")" $((280 * 210)); }
expect "tune 01's green preview scaled up to fill the preview area" green_fills_area
details_layout()
{
    at_least "$(count "$(rect 478 50 2 420)" "$DARK_BLUE" 8)" 800 &&
        at_least "$(count "$(rect 492 50 2 200)" "$DARK_BLUE" 8)" 390
}
check "details layout: the list frame's right pen at 478, the preview frame's left pen at 492" \
    details_layout
shot 4-section-2

# Section 1 brings category 1 back, its preview at its own size again.
press_section 1
games_listed() { slot_is_selected 1 && slot_not_selected 2 && slot_not_selected 25; }
expect "section 1 lists category 1 again, the first title selected" games_listed
expect "title 01's preview at its own size again" red_preview_own_size
shot 5-section-1

# Sub-item 3 shows category 3 in the wide list layout: no preview, the list frame across the
# whole width, teal where the preview was and no preview frame's pen at 492.
click_sub_item 3
clips_listed() { slot_is_selected 1 && slot_not_selected 3 && slot_empty 4; }
expect "sub-item 3 lists the three clips, the first selected" clips_listed
wide_layout()
{
    at_least "$(count "$(rect 500 50 280 420)" "$TEAL" 8)" $((280 * 420 * 99 / 100)) &&
        [ "$(count "$(rect 492 50 2 200)" "$DARK_BLUE" 8)" -eq 0 ] &&
        at_least "$(count "$(rect 786 50 2 420)" "$DARK_BLUE" 8)" 800
}
expect "wide layout: the list frame reaches 788, teal where the preview was" wide_layout
shot 6-sub-item-3

# Sub-item 2 goes back to the details layout, on category 2's one item, which shares title 01's
# folder and so its pictures.
click_sub_item 2
extra_listed() { slot_is_selected 1 && slot_empty 2; }
expect "sub-item 2 lists category 2's one item" extra_listed
expect "its preview back in the details layout, at its own size" red_preview_own_size
shot 7-sub-item-2

# A click on the preview opens the screenshot window on the full-size picture: its frame at the
# screen's corner, which without a window manager is its client area, exactly the picture's size.
click_at $((P1_X + SHOT_X + SHOT_W / 2)) $((P1_Y + SHOT_Y + SHOT_H / 2))
shot_win=$(xdo search --sync --onlyvisible --name '^Screenshot$' | head -n 1)
[ -n "$shot_win" ] || die "the screenshot window did not appear within $STEP s"
echo "e2e: screenshot window $shot_win"
screenshot_geometry()
{
    geometry=$(xdo getwindowgeometry --shell "$shot_win") || return 1
    X=-1 Y=-1 WIDTH=-1 HEIGHT=-1
    eval "$geometry"
    [ "$X" -eq 0 ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq 320 ] && [ "$HEIGHT" -eq 240 ]
}
expect "the screenshot window at 0,0, 320x240" screenshot_geometry
blue_at_corner()
{
    [ "$(count 0,0,320,240 "$BLUE" "$JPEG_TOL")" -eq $((320 * 240)) ] &&
        [ "$(count 320,0,20,100 "$BLUE" 60)" -eq 0 ] &&
        [ "$(count 0,240,100,20 "$BLUE" 60)" -eq 0 ]
}
expect "the screenshot window shows the blue picture, and nothing past its edges" blue_at_corner
shot 8-screenshot-window

# Escape closes it, and the main window stays.
xdo windowfocus --sync "$shot_win" || die "xdotool could not focus the screenshot window"
xdo key Escape || die "xdotool could not press Escape"
screenshot_gone() { ! xdo search --onlyvisible --name '^Screenshot$' >/dev/null; }
expect "the screenshot window gone after Escape" screenshot_gone
no_blue_left() { [ "$(count 0,0,320,240 "$BLUE" 60)" -eq 0 ]; }
expect "nothing left of the picture on the screen" no_blue_left
main_still_there() { xdo search --onlyvisible --name '^discbrowser$' | grep -qx "$win"; }
check "the main window still there" main_still_there
shot 9-screenshot-closed
# Where the focus comes back to the main window, its activation runs again and shows section 1's
# list from the top: category 1's titles instead of category 2's one. Without a window manager
# the focus falls back to the root window when the screenshot window goes, and the activation
# has no cause to run.
focus=$(xdo getwindowfocus 2>/dev/null)
if [ "$focus" = "$win" ]; then
    expect "back on section 1's list from the top" games_listed
else
    echo "e2e: the focus did not come back to the main window; its activation is not watched"
fi

# The main window takes clicks again, now that the modal window is gone.
click_sub_item 1
expect "sub-item 1 after the screenshot window lists category 1" games_listed

# Only the two opens asked for reached the desktop: no section, sub-item or preview click did.
check "two opens in all (were $(opened_count))" [ "$(opened_count)" -eq 2 ]

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
