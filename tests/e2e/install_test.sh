#!/usr/bin/env bash
# Installs a build to a fresh prefix, as a user without root does, and checks what a desktop
# needs there: both programs in bin/, the desktop entry in share/applications/ naming a
# program and an icon that the prefix holds, the icon in the hicolor theme; and that the
# installed command-line program runs apart from the build tree.
#   install_test.sh CMAKE BUILD_DIR
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 CMAKE BUILD_DIR" >&2
    exit 2
fi
cmake=$1
build=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/zeroraz-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$work/install.log")"

for program in zeroraz zeroraz-cli; do
    [[ -f $prefix/bin/$program && -x $prefix/bin/$program ]] ||
        fail "bin/$program is not installed as a program"
done

entry=$prefix/share/applications/zeroraz.desktop
[[ -f $entry ]] || fail "share/applications/zeroraz.desktop is not installed"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "the installed desktop entry is not valid"
fi

# The value of key $1 in the entry's [Desktop Entry] group.
entry_value() {
    awk -F= -v key="$1" '
        /^\[/ { group = $0 }
        group == "[Desktop Entry]" && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$entry"
}

exec_program=$(entry_value Exec)
exec_program=${exec_program%% *}
[[ -x $prefix/bin/$exec_program ]] ||
    fail "the entry starts \"$exec_program\", which the prefix's bin/ lacks"

icon=$prefix/share/icons/hicolor/32x32/apps/$(entry_value Icon).png
[[ -f $icon ]] || fail "the entry's icon is not installed as ${icon#"$prefix"/}"
[[ $(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
    fail "the installed icon is not a PNG picture"
if command -v identify >/dev/null; then
    size=$(identify -format '%wx%h' "$icon")
    [[ $size == 32x32 ]] || fail "the icon in 32x32/apps is $size"
fi

# The installed command-line program rewrites a small tree.
mkdir -p "$work/tree" "$work/config"
printf 'old\n' >"$work/tree/page.html"
XDG_CONFIG_HOME=$work/config LC_ALL=C.UTF-8 \
    "$prefix/bin/zeroraz-cli" -p old new -f .html "$work/tree" >"$work/cli.out" 2>&1 ||
    fail "the installed zeroraz-cli failed: $(cat "$work/cli.out")"
cmp -s "$work/tree/page.html" <(printf 'new\r\n') ||
    fail "the installed zeroraz-cli did not rewrite the page"

echo "PASSED"
