#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
build=${BUILD_DIR:-$here/build}
if [[ -x $build/app/zeroraz ]]; then
    if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
        cat >&2 <<MSG
There is no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Start the program from a desktop session, or give it a virtual one:
    xvfb-run -a $build/app/zeroraz
The command-line front end needs no display:
    $build/cli/zeroraz-cli --help
MSG
        exit 1
    fi
    exec "$build/app/zeroraz" "$@"
fi
"$build/cli/zeroraz-cli" --help
