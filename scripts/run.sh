#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo doll and opens it in the viewer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
"$build/tools/demo/make-demo-doll" "$build/demo"
exec "$build/shell/velquin" "$build/demo/DEMO.CNF"
