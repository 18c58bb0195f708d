#!/usr/bin/env bash
# Runs the thumbnailer file's command line, as a file manager would, with the built viewer:
# on a real set it writes a PNG that fits the requested size, on a missing file it fails.
# Usage: thumbnailer-test.sh THUMBNAILER VELQUIN SETS_DIR
set -euo pipefail
thumbnailer=$1 velquin=$2 sets=$3
config="$sets/lina/lina.cnf"
[ -f "$config" ] || { echo "no real set at $config"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
# Fills in the file manager's fields and runs the line without a display: a thumbnailer that
# started the toolkit would fail here.
thumbnail() { # INPUT OUTPUT SIZE
    local -a words
    read -r -a words <<<"$exec_line"
    local -a command=()
    for word in "${words[@]}"; do
        case "$word" in
        velquin) command+=("$velquin") ;;
        %i) command+=("$1") ;;
        %o) command+=("$2") ;;
        %s) command+=("$3") ;;
        *) command+=("$word") ;;
        esac
    done
    env -u DISPLAY -u WAYLAND_DISPLAY "${command[@]}"
}
# Width and height from a PNG's header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for size in 128 64; do
    out="$scratch/thumb-$size.png"
    status=0
    thumbnail "$config" "$out" "$size" || status=$?
    if [ "$status" -ne 0 ]; then
        fail "exit status $status for $config at $size"
        continue
    fi
    read -r width height < <(png_size "$out")
    longer=$((width > height ? width : height))
    [ "$longer" -eq "$size" ] && [ "$width" -ge 1 ] && [ "$height" -ge 1 ] ||
        fail "thumbnail at $size is ${width}x${height}"
done

status=0
thumbnail "$scratch/missing.cnf" "$scratch/missing.png" 128 2>/dev/null || status=$?
[ "$status" -ne 0 ] || fail "a missing file gave exit status 0"
[ ! -e "$scratch/missing.png" ] || fail "a missing file left a thumbnail"

[ "$failures" -eq 0 ]
