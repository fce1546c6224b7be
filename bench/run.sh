#!/usr/bin/env bash
# The benchmark in one command: installs the contenders, builds Release, makes the inputs
# (below a directory removed at the end), runs everything and prints the table.
#   bench/run.sh [--large] [--runs N] [--quick] [--output FILE]   (see bench/run.py --help)
# BENCH_BUILD_DIR overrides the build directory (default: build/bench).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build/bench}

"$here/setup.sh"

# bench/ is configured as a project of its own that takes in the whole tree, so the
# benchmark needs nothing from the project's top-level build files.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target zeroraz-cli >/dev/null
# The window's batch is timed once the window program builds; without it the row is left out.
window=()
if cmake --build "$build" --target zeroraz-bench-window >"$build/window-build.log" 2>&1; then
    window=(--window "$build/zeroraz-bench-window")
else
    echo "bench: the window's batch did not build (see $build/window-build.log); its row is left out" >&2
fi
exec /usr/bin/python3 "$here/run.py" --cli "$build/zeroraz/cli/zeroraz-cli" "${window[@]}" "$@"
