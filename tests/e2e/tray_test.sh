#!/usr/bin/env bash
# Hiding to the tray and coming back: the title bar's minimise button leaves only the tray
# icon, a left click on the icon brings the window back where it was and as large as it was,
# and the tray menu's "最小化显示(&M)" and "显示主程序(&S)" work, each greyed while the
# other is offered. A maximised window comes back maximised.
source "$(dirname "$0")/session.sh"

hidden_to_tray() {
    e2e_not_viewable "$E2E_MAIN" && e2e_not_managed "$E2E_MAIN"
}

shown() {
    e2e_viewable "$E2E_MAIN" && e2e_managed "$E2E_MAIN"
}

at_geometry() {
    [[ $(e2e_geometry "$E2E_MAIN") == "$1" ]]
}

maximized() {
    e2e_x xprop -id "$E2E_MAIN" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ
}

# The window with its frame is centred in the screen's work area. The program centres the
# window before the window manager has put a frame around it, so the frame's centre may lie
# off by up to half the frame's borders and title bar.
centred() {
    local ax ay aw ah x y w h left right top bottom
    read -r ax ay aw ah < <(e2e_x xprop -root _NET_WORKAREA | tr -d ',' |
        awk '{ print $3, $4, $5, $6 }')
    read -r left right top bottom < <(e2e_x xprop -id "$E2E_MAIN" _NET_FRAME_EXTENTS |
        tr -d ',' | awk '{ print $3, $4, $5, $6 }')
    read -r x y w h < <(e2e_geometry "$(e2e_frame "$E2E_MAIN")")
    # Twice the distance between the two centres, to stay in whole pixels.
    local dx=$((2 * x + w - 2 * ax - aw)) dy=$((2 * y + h - 2 * ay - ah))
    ((${dx#-} <= left + right + 1 && ${dy#-} <= top + bottom + 1)) ||
        e2e_fail "the window opened at $x, $y ($w x $h), not centred in $ax, $ay ($aw x $ah)"
}

only_the_icon_is_left() {
    local left
    left=$(e2e_x xdotool search --onlyvisible --class zeroraz 2>/dev/null || true)
    [[ $left == "$E2E_ICON" ]] ||
        e2e_fail "hidden in the tray, yet these windows are shown: $(e2e_windows_of_program)"
    e2e_viewable "$E2E_ICON" || e2e_fail "the tray icon is gone"
}

e2e_start_desktop
e2e_start_program "$E2E_WORK"

e2e_step "the window opens centred"
centred

e2e_step "the window moved and resized by the user"
e2e_x xdotool windowmove "$E2E_MAIN" 120 90
e2e_x xdotool windowsize "$E2E_MAIN" 610 450
# The frame goes to 120, 90; the window lies inside its left border and title bar.
read -r left _ top _ < <(e2e_x xprop -id "$E2E_MAIN" _NET_FRAME_EXTENTS | tr -d ',' |
    awk '{ print $3, $4, $5, $6 }')
moved="$((120 + left)) $((90 + top)) 610 450"
e2e_wait_for "the window at its new place and size" at_geometry "$moved"

e2e_step "the title bar's minimise button"
e2e_title_button "$E2E_MAIN" iconify
e2e_wait_for "the window to leave the screen and the taskbar" hidden_to_tray
only_the_icon_is_left

e2e_step "a left click on the tray icon"
e2e_tray_click
e2e_wait_for "the window to come back" shown
e2e_wait_for "the window at its former place and size ($moved, now $(e2e_geometry "$E2E_MAIN"))" \
    at_geometry "$moved"

e2e_step "a left click on the icon while the window is shown"
e2e_tray_click
e2e_round_trip
shown || e2e_fail "a click on the icon of a shown window hid it"

# "s" first: were "显示主程序(&S)" offered, it would close the menu and "m" would miss it.
e2e_step "the tray menu while shown: 显示主程序 greyed, 最小化显示 hides"
e2e_tray_menu s m
e2e_wait_for "最小化显示(&M) to hide the window, 显示主程序(&S) being greyed" hidden_to_tray
only_the_icon_is_left

e2e_step "the tray menu while hidden: 最小化显示 greyed, 显示主程序 shows"
e2e_tray_menu m s
e2e_wait_for "显示主程序(&S) to show the window, 最小化显示(&M) being greyed" shown
e2e_wait_for "the window at its former place and size" at_geometry "$moved"

e2e_step "after a show the menu is as at start"
e2e_tray_menu s m
e2e_wait_for "最小化显示(&M) to hide the window again, 显示主程序(&S) greyed" hidden_to_tray
e2e_tray_click
e2e_wait_for "the window to come back" shown

e2e_step "a maximised window hides and comes back maximised"
e2e_title_button "$E2E_MAIN" maximize
e2e_wait_for "the window to be maximised" maximized
e2e_tray_menu m
e2e_wait_for "最小化显示(&M) to hide the maximised window" hidden_to_tray
e2e_tray_click
e2e_wait_for "the window to come back" shown
e2e_wait_for "the window to come back maximised" maximized

echo "PASSED"
