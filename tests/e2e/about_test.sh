#!/usr/bin/env bash
# The about window from the tray menu while the main window is hidden in the tray, and the
# tray menu still answering while the about window is open: a second "关于本软件(&A)" keeps
# one about window, "显示主程序(&S)" brings the main window back beside it. Escape leaves the
# about window open, Enter closes it. Pictures of both windows go to the output directory.
source "$(dirname "$0")/session.sh"

about_windows() {
    e2e_x xdotool search --onlyvisible --name '^关于本软件$' 2>/dev/null || true
}

e2e_start_desktop
e2e_start_program "$E2E_WORK"
e2e_screenshot "$E2E_MAIN" "$E2E_OUTPUT/main-window-at-start.png"

e2e_step "hidden in the tray, the about window from the tray menu"
e2e_tray_menu m
e2e_wait_for "the window to hide" e2e_not_viewable "$E2E_MAIN"
e2e_tray_menu a
about=$(e2e_wait_window '^关于本软件$' "关于本软件")
e2e_not_viewable "$E2E_MAIN" || e2e_fail "the about window brought the hidden main window back"
e2e_wait_focus "$about"
e2e_x xprop -id "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE ||
    e2e_fail "the about window does not stay above other windows"
e2e_screenshot "$about" "$E2E_OUTPUT/about-window.png"

e2e_step "the tray menu while the about window is open"
e2e_tray_menu a
e2e_wait_for "the tray menu to close" e2e_menu_closed
e2e_round_trip
[[ $(about_windows) == "$about" ]] ||
    e2e_fail "a second 关于本软件(&A) did not keep one about window: $(e2e_windows_of_program)"
e2e_tray_menu s
e2e_wait_for "显示主程序(&S) to show the main window" e2e_viewable "$E2E_MAIN"
e2e_viewable "$about" || e2e_fail "showing the main window closed the about window"

e2e_step "Escape leaves the about window open, Enter closes it"
e2e_activate "$about"
e2e_key Escape
e2e_round_trip
e2e_viewable "$about" || e2e_fail "Escape closed the about window"
e2e_activate "$about"
e2e_key Return
e2e_wait_for "Enter to close the about window" e2e_not_viewable "$about"
e2e_round_trip
e2e_viewable "$E2E_MAIN" || e2e_fail "closing the about window hid the main window"

echo "PASSED"
