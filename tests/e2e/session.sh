# shellcheck shell=bash
# Sourced by every end-to-end test: a private X display (Xvfb) with a window manager
# (openbox) and a notification area (trayer), the program on it with a fresh configuration
# directory, and the means to find, wait for and drive its windows with xdotool.
#
# A test script is called as: <test>.sh PROGRAM OUTPUT_DIR
#   PROGRAM     the zeroraz executable to drive
#   OUTPUT_DIR  where screenshots go (also a picture of the screen when a test fails)
# It exits 0 when it passed, 1 when it failed and 77 (skipped) when no X server can be
# started here. Every process it starts is ended when it exits, however it exits.

set -euo pipefail

readonly E2E_SKIP_CODE=77
# Longest time one wait may take, in seconds; a test makes a few dozen waits at most.
readonly E2E_TIMEOUT=${E2E_TIMEOUT:-20}
readonly E2E_MAIN_TITLE='^『Zeroraz网页批量修改器』V2\.0'
readonly E2E_SCREEN_WIDTH=1024 E2E_SCREEN_HEIGHT=768
E2E_NAME=$(basename "$0" .sh)
readonly E2E_NAME

if [[ $# -ne 2 ]]; then
    echo "usage: $0 PROGRAM OUTPUT_DIR" >&2
    exit 2
fi
E2E_PROGRAM=$(realpath "$1")
E2E_OUTPUT=$2
mkdir -p "$E2E_OUTPUT"
E2E_OUTPUT=$(realpath "$E2E_OUTPUT")
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/zeroraz-e2e.XXXXXX")
E2E_PIDS=()
E2E_APP_PID=
E2E_MAIN=
E2E_ICON=

# ---- ending ------------------------------------------------------------------------------

# Whether process $1 still runs (a zombie does not).
e2e_alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != Z ]]
}

e2e_stop() {
    local pid=$1 i
    if e2e_alive "$pid"; then
        kill -TERM "$pid" 2>/dev/null || true
        for ((i = 0; i < 50; i++)); do
            e2e_alive "$pid" || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
}

e2e_cleanup() {
    local status=$? i
    trap - EXIT INT TERM
    # Last started, first ended: the program before the tray, the window manager, the server.
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        e2e_stop "${E2E_PIDS[i]}"
    done
    rm -rf "$E2E_WORK"
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'exit 1' INT TERM
# A command that fails outside a test's own checks names itself.
set -E
trap 'echo "FAILED ($E2E_NAME): line $LINENO: $BASH_COMMAND" >&2' ERR

e2e_skip() {
    echo "SKIPPED: $*" >&2
    exit "$E2E_SKIP_CODE"
}

e2e_fail() {
    trap - ERR
    echo "FAILED ($E2E_NAME): $*" >&2
    if [[ -n ${DISPLAY:-} ]]; then
        timeout 10 import -window root "$E2E_OUTPUT/$E2E_NAME-failure.png" 2>/dev/null &&
            echo "the screen at the failure: $E2E_OUTPUT/$E2E_NAME-failure.png" >&2
        echo "windows of the program:" >&2
        e2e_windows_of_program >&2 || true
    fi
    local log
    for log in "$E2E_WORK"/*.log; do
        if [[ -s $log ]]; then
            echo "output of $(basename "$log" .log):" >&2
            tail -n 20 "$log" >&2
        fi
    done
    exit 1
}

e2e_step() {
    echo "-- $*"
}

# ---- waiting -----------------------------------------------------------------------------

# Runs the command until it succeeds, for at most $1 seconds; answers whether it did.
e2e_poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# Runs the command until it succeeds; fails the test with "$1" after E2E_TIMEOUT seconds.
e2e_wait_for() {
    local what=$1
    shift
    e2e_poll "$E2E_TIMEOUT" "$@" || e2e_fail "timed out waiting for $what"
}

# An X client call that cannot hang the test.
e2e_x() {
    timeout 10 "$@"
}

# ---- the desktop -------------------------------------------------------------------------

e2e_xvfb_ready() {
    e2e_alive "${E2E_PIDS[0]}" ||
        e2e_skip "Xvfb could not start: $(tail -n 3 "$E2E_WORK/xvfb.log")"
    [[ -s $E2E_WORK/display ]]
}

e2e_window_manager_ready() {
    [[ -e $E2E_WORK/openbox-started ]]
}

e2e_tray_ready() {
    E2E_TRAY_PANEL=$(e2e_x xdotool search --onlyvisible --name '^panel$' 2>/dev/null |
        head -n 1 || true)
    [[ -n $E2E_TRAY_PANEL ]]
}

# Starts the X server on a free display, the window manager and the notification area, and
# sets the environment every program started afterwards sees.
e2e_start_desktop() {
    local tool
    for tool in Xvfb openbox trayer xdotool xwininfo xprop import; do
        command -v "$tool" >/dev/null ||
            e2e_skip "$tool is not installed (scripts/install-deps.sh installs it)"
    done

    # Nothing of the user's own desktop may reach the programs started here.
    unset WAYLAND_DISPLAY SESSION_MANAGER QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
        QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
    mkdir -m 700 "$E2E_WORK/runtime"
    export XDG_CONFIG_HOME=$E2E_WORK/config XDG_CACHE_HOME=$E2E_WORK/cache \
        XDG_DATA_HOME=$E2E_WORK/data XDG_RUNTIME_DIR=$E2E_WORK/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
    # No session bus: the tray icon goes to trayer through XEmbed, not to the user's desktop.
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_WORK/no-bus
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    export QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0

    # Xvfb picks a free display itself (-displayfd) and writes its number to the file.
    local fd
    exec {fd}>"$E2E_WORK/display"
    Xvfb -displayfd "$fd" -screen 0 "${E2E_SCREEN_WIDTH}x${E2E_SCREEN_HEIGHT}x24" -dpi 96 \
        -nolisten tcp -noreset >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    exec {fd}>&-
    e2e_wait_for "the X server to start" e2e_xvfb_ready
    DISPLAY=":$(head -n 1 "$E2E_WORK/display")"
    export DISPLAY
    e2e_step "private display $DISPLAY"

    # A window mapped while openbox is still starting may be left unmanaged and unmapped:
    # the notification area starts once openbox says it has started.
    openbox --sm-disable --startup "touch '$E2E_WORK/openbox-started'" \
        >"$E2E_WORK/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait_for "openbox to manage the display" e2e_window_manager_ready

    trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
        >"$E2E_WORK/trayer.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait_for "trayer's panel" e2e_tray_ready
}

# ---- the program -------------------------------------------------------------------------

e2e_main_window_shown() {
    E2E_MAIN=$(e2e_find_window "$E2E_MAIN_TITLE")
    [[ -n $E2E_MAIN ]]
}

e2e_icon_in_tray() {
    E2E_ICON=$(e2e_x xwininfo -id "$E2E_TRAY_PANEL" -tree 2>/dev/null |
        awk '/\("zeroraz" "zeroraz"\)/ { print $1; exit }')
    [[ -n $E2E_ICON ]] || return 1
    E2E_ICON=$((E2E_ICON)) # in decimal, as xdotool names windows
    e2e_viewable "$E2E_ICON"
}

# Starts the program in directory $1 (its current directory, where the chooser opens) and
# waits for its main window and its tray icon: E2E_MAIN, E2E_ICON, E2E_APP_PID.
e2e_start_program() {
    (cd "$1" && exec "$E2E_PROGRAM") >>"$E2E_WORK/program.log" 2>&1 &
    E2E_APP_PID=$!
    E2E_PIDS+=("$E2E_APP_PID")
    e2e_wait_for "the main window" e2e_main_window_shown
    e2e_wait_for "the tray icon inside trayer" e2e_icon_in_tray
    e2e_activate "$E2E_MAIN"
}

e2e_program_ended() {
    ! e2e_alive "$E2E_APP_PID"
}

# Waits for the program to end by itself and answers its exit status.
e2e_wait_program_end() {
    e2e_wait_for "the program to end" e2e_program_ended
    local status=0
    wait "$E2E_APP_PID" || status=$?
    local i
    for i in "${!E2E_PIDS[@]}"; do
        [[ ${E2E_PIDS[i]} == "$E2E_APP_PID" ]] && unset 'E2E_PIDS[i]'
    done
    E2E_PIDS=("${E2E_PIDS[@]}")
    return "$status"
}

# ---- windows -----------------------------------------------------------------------------

# The first viewable window whose name matches the regular expression; empty when none.
e2e_find_window() {
    e2e_x xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true
}

# Waits for a viewable window whose name matches $1 and prints its id.
e2e_wait_window() {
    local pattern=$1 what=${2:-$1} id='' deadline=$((SECONDS + E2E_TIMEOUT))
    until id=$(e2e_find_window "$pattern") && [[ -n $id ]]; do
        ((SECONDS < deadline)) || e2e_fail "timed out waiting for the window $what"
        sleep 0.1
    done
    echo "$id"
}

e2e_viewable() {
    e2e_x xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

e2e_not_viewable() {
    ! e2e_viewable "$1"
}

e2e_window_exists() {
    e2e_x xwininfo -id "$1" >/dev/null 2>&1
}

e2e_window_gone() {
    ! e2e_window_exists "$1"
}

# "x y width height" of window $1's inside, in screen coordinates.
e2e_geometry() {
    e2e_x xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 }
        /^ *Width:/ { w = $2 }
        /^ *Height:/ { h = $2 }
        END { print x, y, w, h }'
}

# The window manager's frame around window $1.
e2e_frame() {
    e2e_x xwininfo -id "$1" -tree | awk '/Parent window id/ { print $4 }'
}

# Whether window $1 is among the windows the window manager manages (the taskbar's list).
e2e_managed() {
    local id
    id=$(printf '0x%x' "$1")
    e2e_x xprop -root _NET_CLIENT_LIST | tr -s ', ' '\n' | grep -qix "$id"
}

e2e_not_managed() {
    ! e2e_managed "$1"
}

# Window ids and names of every viewable window of the program.
e2e_windows_of_program() {
    local id
    for id in $(e2e_x xdotool search --onlyvisible --class zeroraz 2>/dev/null || true); do
        echo "$id $(e2e_x xdotool getwindowname "$id" 2>/dev/null || true)"
    done
}

e2e_has_focus() {
    [[ $(e2e_x xdotool getwindowfocus 2>/dev/null) == "$1" ]]
}

# Gives window $1 the keyboard focus, through the window manager as a user's click would.
e2e_activate() {
    e2e_x xdotool windowactivate "$1" 2>/dev/null || true
    e2e_wait_for "the keyboard focus on window $1" e2e_has_focus "$1"
}

# Waits until window $1 has the focus (a dialog that has just opened).
e2e_wait_focus() {
    e2e_wait_for "the keyboard focus on window $1" e2e_has_focus "$1"
}

# Clicks at x, y inside window $1 with button $4 (left by default).
e2e_click() {
    e2e_window_exists "$1" || e2e_fail "window $1 to click at $2, $3 is gone"
    e2e_x xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
}

e2e_key() {
    e2e_x xdotool key "$@"
}

# Clicks the edit field at x, y of window $1, selects its text and types $4 over it. Only
# characters of the keyboard map: xdotool types others by changing the map for a moment,
# and Qt may read such a key after the map has been changed back.
e2e_type_into() {
    e2e_click "$1" "$2" "$3"
    e2e_key ctrl+a
    e2e_x xdotool type --delay 20 -- "$4"
}

# Writes a picture of window $1 with the window manager's frame around it.
e2e_screenshot() {
    local frame x y w h
    frame=$(e2e_frame "$1")
    read -r x y w h < <(e2e_geometry "$frame")
    e2e_park_pointer
    e2e_x import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
    echo "screenshot: $2"
}

# Moves the pointer to a corner of the screen where nothing of the program lies, so that no
# tooltip opens and no menu item is under it.
e2e_park_pointer() {
    e2e_x xdotool mousemove 0 $((E2E_SCREEN_HEIGHT - 1))
}

# ---- the main window ---------------------------------------------------------------------

# Clicks toolbar button $1 (0 "目录", 1 "保存", 2 "关于", 3 "网站", 4 "退出") of the main
# window: 73 x 33 buttons from x 8 every 80 pixels, at y 8 inside the bevelled toolbar.
e2e_press_toolbar() {
    e2e_click "$E2E_MAIN" $((1 + 8 + 80 * $1 + 36)) $((1 + 8 + 16))
}

# A point inside rule field Edit$1: four rows 32 pixels apart, columns at x 80 (search), 272
# (replacement) and 450 (filter), in the rules panel under the 49-pixel toolbar.
e2e_rule_field() {
    local row col
    case $1 in
    1 | 2 | 3) row=0 col=$(($1 - 1)) ;;
    4 | 5) row=1 col=$(($1 - 4)) ;;
    6 | 7) row=2 col=$(($1 - 6)) ;;
    8 | 9) row=3 col=$(($1 - 8)) ;;
    10 | 11 | 12) row=$(($1 - 9)) col=2 ;;
    *) e2e_fail "no rule field Edit$1" ;;
    esac
    local xs=(80 272 450)
    echo $((2 + xs[col] + 30)) $((1 + 49 + 1 + 6 + 32 * row + 10))
}

# Types $2 over the text of rule field Edit$1.
e2e_set_rule() {
    local x y
    read -r x y < <(e2e_rule_field "$1")
    e2e_type_into "$E2E_MAIN" "$x" "$y" "$2"
}

# Clicks a button of the title bar that openbox draws around window $1 (Debian's default
# theme: 12-pixel buttons, iconify, maximise and close at the right end, 16 pixels apart).
e2e_title_button() {
    local frame x y w h offset
    case $2 in
    iconify) offset=43 ;;
    maximize) offset=27 ;;
    close) offset=11 ;;
    *) e2e_fail "no title bar button $2" ;;
    esac
    frame=$(e2e_frame "$1")
    read -r x y w h < <(e2e_geometry "$frame")
    e2e_x xdotool mousemove $((x + w - offset)) $((y + 10)) click 1
}

# ---- the tray icon and its menu ----------------------------------------------------------

# The tray menu: a shown window of the program that the window manager does not manage and
# that is neither the tray icon nor a tooltip.
e2e_menu_window() {
    local id
    for id in $(e2e_x xdotool search --onlyvisible --class zeroraz 2>/dev/null || true); do
        [[ $id != "$E2E_ICON" ]] || continue
        e2e_x xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
        e2e_x xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q TOOLTIP && continue
        echo "$id"
        return 0
    done
    return 1
}

e2e_menu_shown() {
    E2E_MENU=$(e2e_menu_window) && [[ -n $E2E_MENU ]]
}

e2e_menu_closed() {
    ! e2e_menu_window >/dev/null
}

# A left click on the tray icon.
e2e_tray_click() {
    e2e_click "$E2E_ICON" 11 11 1
    e2e_park_pointer
}

# Opens the tray menu with a right click on the icon and waits until it is shown: E2E_MENU.
# Qt now and then opens no menu for a right click that follows the closing of the menu
# within a moment; the click is then given again, as a user would.
e2e_open_tray_menu() {
    local attempt
    e2e_alive "$E2E_APP_PID" || e2e_fail "the program has ended"
    for attempt in 1 2 3; do
        e2e_click "$E2E_ICON" 11 11 3
        e2e_park_pointer
        if e2e_poll 3 e2e_menu_shown; then
            # The menu takes the keyboard right after it is mapped.
            sleep 0.2
            e2e_menu_shown && return 0
        fi
        echo "(no tray menu after right click $attempt)"
    done
    e2e_fail "three right clicks on the tray icon opened no menu"
}

# Chooses tray menu items by their underlined letters, in one opening of the menu:
# s "显示主程序(&S)", m "最小化显示(&M)", a "关于本软件(&A)", e "退 出(&Exit)". A letter
# of a greyed item leaves the menu open, so the next letter still reaches it.
e2e_tray_menu() {
    e2e_open_tray_menu
    e2e_key "$@"
}

# Proves that the program has handled everything sent to it so far: opens the tray menu,
# which only a running event loop can do, and closes it again.
e2e_round_trip() {
    e2e_open_tray_menu
    e2e_key Escape
    e2e_wait_for "the tray menu to close" e2e_menu_closed
}
