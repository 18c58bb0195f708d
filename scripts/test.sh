#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; GUI tests run under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$build"
xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure -j "$(nproc)" "$@"
