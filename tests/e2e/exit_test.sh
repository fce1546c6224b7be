#!/usr/bin/env bash
# The exit question for a close through the window manager (Alt+F4) and the tray menu:
# "否[&N]", by Escape or by a click, keeps the program running as it was, hidden or shown;
# "是[&Y]" (Enter) ends it, takes the tray icon away and writes the settings file. Closing
# the question itself without a button ends the program too.
source "$(dirname "$0")/session.sh"

question_gone() {
    [[ -z $(e2e_find_window '^确认$') ]]
}

# Closes the main window as the window manager does for Alt+F4 and waits for the question.
ask_to_close() {
    e2e_activate "$E2E_MAIN"
    e2e_key alt+F4
    QUESTION=$(e2e_wait_window '^确认$' "of the exit question")
    e2e_wait_focus "$QUESTION"
}

still_running() {
    e2e_wait_for "the exit question to close" question_gone
    e2e_round_trip
    e2e_alive "$E2E_APP_PID" || e2e_fail "the program ended after $1"
}

shown() {
    e2e_viewable "$E2E_MAIN"
}

hidden() {
    e2e_not_viewable "$E2E_MAIN"
}

# The settings file holds the line $1 (lines end in CR LF there).
stored() {
    tr -d '\r' <"$settings" | grep -qFx -- "$1" ||
        e2e_fail "the settings file lacks \"$1\": $(cat "$settings" 2>/dev/null || echo missing)"
}

e2e_start_desktop
settings=$XDG_CONFIG_HOME/zeroraz.ini
mkdir "$E2E_WORK/run"
e2e_start_program "$E2E_WORK/run"
e2e_set_rule 2 kept-replacement
e2e_set_rule 12 .htm

e2e_step "Alt+F4, then Escape"
ask_to_close
e2e_key Escape
still_running "Escape in the exit question"
shown || e2e_fail "Escape in the exit question hid the window"

e2e_step "Alt+F4, then a click on 否[&N]"
ask_to_close
read -r _ _ width height < <(e2e_geometry "$QUESTION")
# The two buttons sit side by side in the middle of the bottom row, "否[&N]" on the right.
e2e_click "$QUESTION" $((width / 2 + 48)) $((height - 22))
still_running "a click on 否[&N]"
shown || e2e_fail "否[&N] hid the window"

e2e_step "退 出(&Exit) from the tray menu while hidden, then Escape"
e2e_tray_menu m
e2e_wait_for "the window to hide" hidden
e2e_tray_menu e
QUESTION=$(e2e_wait_window '^确认$' "of the exit question")
e2e_wait_focus "$QUESTION"
e2e_key Escape
still_running "Escape in the exit question"
hidden || e2e_fail "the window hidden in the tray came back after Escape"
[[ ! -e $settings ]] || e2e_fail "the settings were written, yet the program did not end"

e2e_step "Alt+F4, then Enter"
e2e_tray_click
e2e_wait_for "the window to come back" shown
icon=$E2E_ICON
ask_to_close
e2e_key Return
status=0
e2e_wait_program_end || status=$?
((status == 0)) || e2e_fail "the program ended with status $status"
e2e_wait_for "the tray icon to go" e2e_window_gone "$icon"
stored "name2=kept-replacement"
stored "name12=.htm"
stored "name1=\$#\$"
stored "name3=.html"

e2e_step "again, with the question closed by Alt+F4 instead of a button"
e2e_start_program "$E2E_WORK/run"
rm "$settings"
ask_to_close
e2e_key alt+F4
status=0
e2e_wait_program_end || status=$?
((status == 0)) || e2e_fail "the program ended with status $status"
# Written anew from the fields, which the start filled from the file of the first run.
stored "name2=kept-replacement"
stored "name12=.htm"

echo "PASSED"
