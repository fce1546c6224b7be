#!/usr/bin/env bash
# A batch as a user runs it: rules typed into the fields, the Directory button, a directory
# typed into the chooser; then the tree on disk and the result rows, saved through the Save
# button. A second batch into a directory that does not exist yet creates it and empties the
# list.
source "$(dirname "$0")/session.sh"

tree=$E2E_WORK/site
mkdir -p "$tree/sub/deep" "$tree/中文目录"
printf '<title>标题 foo</title>\nFOO and foo\n' >"$tree/index.html"
printf 'foo\n' >"$tree/中文目录/页面.html"
printf 'x foo\n' >"$tree/sub/deep/more.html.bak"
printf 'foo\n' >"$tree/sub/notes.txt"
printf 'nothing to change\n' >"$tree/sub/plain.html"

# File $1 holds exactly the bytes $2 (with backslash escapes).
same_bytes() {
    cmp -s "$1" <(printf '%b' "$2")
}

files_rewritten() {
    same_bytes "$tree/index.html" '<title>标题 qux</title>\r\nqux and qux\r\n' &&
        same_bytes "$tree/中文目录/页面.html" 'qux\r\n' &&
        same_bytes "$tree/sub/deep/more.html.bak" 'x qux\r\n'
}

dialog_gone() {
    [[ -z $(e2e_find_window "$1") ]]
}

# Presses "保存" and saves the rows under the typed name $1 (without extension).
save_rows() {
    e2e_press_toolbar 1
    local dialog
    dialog=$(e2e_wait_window '^搜索结果保存为$' "of the save dialog")
    e2e_wait_focus "$dialog"
    e2e_x xdotool type --delay 20 -- "$1"
    e2e_key Return
    e2e_wait_for "the rows file $1.txt" test -f "$1.txt"
    e2e_wait_for "the save dialog to close" dialog_gone '^搜索结果保存为$'
}

# Presses "目录" and confirms the directory $1 typed into the chooser's name field.
choose_directory() {
    e2e_press_toolbar 0
    local chooser
    chooser=$(e2e_wait_window '^选择目录$' "of the directory chooser")
    e2e_wait_focus "$chooser"
    e2e_type_into "$chooser" 212 33 "$1" # DirEdit
    e2e_click "$chooser" 297 237         # OKButton
}

e2e_start_desktop
e2e_start_program "$E2E_WORK"

e2e_step "typing the rules"
e2e_set_rule 1 foo
e2e_set_rule 2 bar
e2e_set_rule 4 bar
e2e_set_rule 5 qux
e2e_set_rule 3 .html

e2e_step "the first batch"
choose_directory "$tree"
e2e_wait_for "the chooser to close" dialog_gone '^选择目录$'
e2e_wait_for "the three pages to be rewritten" files_rewritten
same_bytes "$tree/sub/notes.txt" 'foo\n' || e2e_fail "a file outside the filters was changed"
same_bytes "$tree/sub/plain.html" 'nothing to change\n' ||
    e2e_fail "a page without the search text was changed"

save_rows "$E2E_WORK/rows"
[[ ! -e $E2E_WORK/rows ]] || e2e_fail "the rows were saved without the default extension"
expected=$(printf '%s\n' "$tree/index.html" "$tree/sub/deep/more.html.bak" \
    "$tree/中文目录/页面.html" | sort)
actual=$(sort "$E2E_WORK/rows.txt")
[[ $actual == "$expected" ]] ||
    e2e_fail "rows of the result list: expected
$expected
got
$actual"
rows=$(wc -l <"$E2E_WORK/rows.txt")
((rows == 3)) || e2e_fail "expected 3 rows, got $rows"
e2e_screenshot "$E2E_MAIN" "$E2E_OUTPUT/main-window.png"

e2e_step "a second batch into a directory that does not exist yet"
choose_directory "$E2E_WORK/new/deeper"
question=$(e2e_wait_window '^确认$' "asking to create the directory")
e2e_wait_focus "$question"
e2e_key Return # "是[&Y]"
e2e_wait_for "the chooser to close" dialog_gone '^选择目录$'
e2e_wait_for "the new directory" test -d "$E2E_WORK/new/deeper"
save_rows "$E2E_WORK/rows2"
[[ ! -s $E2E_WORK/rows2.txt ]] ||
    e2e_fail "the second batch kept rows: $(cat "$E2E_WORK/rows2.txt")"
files_rewritten || e2e_fail "the second batch changed the first tree"

echo "PASSED"
