#!/usr/bin/env bash
# Start-up time: launch to the whole picture of a set on the screen, against launch to the
# window of a minimal wx program that shows one empty frame of the same size (the toolkit's
# floor). Both are started alternately in one run under Xvfb; the medians and their ratio are
# printed.
#
# usage: bench/startup.sh [-n RUNS] [-v VELQUIN] [SET.CNF]
#   VELQUIN  the viewer to launch (default: `velquin` on the PATH, else the build's)
#   SET.CNF  a set whose picture shows the colour 255,0,255 in one piece that is painted last,
#            along the bottom edge (default: a 1500 × 600 set of 167 cels made by make-big-set)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=9
velquin=""
while getopts "n:v:" option; do
    case $option in
    n) runs=$OPTARG ;;
    v) velquin=$OPTARG ;;
    *) sed -n '7,11p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
set_file=${1:-}

build=$root/build
if [ -z "$velquin" ]; then
    velquin=$(command -v velquin || true)
fi
if [ -z "$velquin" ] || [ -z "$set_file" ]; then
    cmake -S "$root" -B "$build" >/dev/null
    cmake --build "$build" -j2 --target velquin make-big-set >/dev/null
    velquin=${velquin:-$build/shell/velquin}
fi

# Under its own X server unless one is given.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1200x24" "$0" -n "$runs" -v "$velquin" ${set_file:+"$set_file"}
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$set_file" ]; then
    "$build/tools/demo/make-big-set" "$work/set"
    set_file=$work/set/BIG.CNF
fi
gcc -O2 -o "$work/probe" "$root/bench/startup/probe.c" -lX11
# shellcheck disable=SC2046
g++ -O2 -o "$work/minimal" "$root/bench/startup/minimal_frame.cpp" $(wx-config --cxxflags --libs core,base)

# A first-time user: no settings, and a private runtime folder of its own.
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

measure()
{
    # One launch; a launch that shows nothing in 20 s is tried once more.
    "$work/probe" 20000 "$@" 2>/dev/null || "$work/probe" 20000 "$@"
}

# One launch of each to warm the file cache; not counted.
measure "$work/minimal" >/dev/null
measure "$velquin" "$set_file" >/dev/null
floor=()
viewer=()
for ((i = 0; i < runs; ++i)); do
    floor+=("$(measure "$work/minimal")")
    viewer+=("$(measure "$velquin" "$set_file")")
done

median()
{
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
floor_median=$(median "${floor[@]}")
viewer_median=$(median "${viewer[@]}")
echo "minimal wx frame (ms): ${floor[*]}"
echo "velquin $(basename "$set_file") (ms): ${viewer[*]}"
echo "median minimal wx frame: $floor_median ms"
echo "median velquin: $viewer_median ms"
awk -v v="$viewer_median" -v f="$floor_median" 'BEGIN { printf "ratio: %.2f\n", v / f }'
