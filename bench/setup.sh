#!/usr/bin/env bash
# Installs from Debian what the benchmark needs beyond the project's own build dependencies:
# the contenders sd and rpl, GNU time (for peak memory) and Python 3 (the runner).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/scripts/install-deps.sh" sd rpl time python3
