#!/usr/bin/env bash
# Two viewers on two X displays each keep their own file, and a second start on one display
# hands its file to the viewer of that display only.
# usage: two-displays-test.sh VELQUIN MAKE-DEMO-DOLL
set -u
velquin=$1
make_demo=$2

work=$(mktemp -d)
pids=()
cleanup()
{
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail()
{
    echo "FAIL: $*"
    exit 1
}

# One set under three names: the window's caption tells which file a viewer shows.
"$make_demo" "$work/demo" || fail "cannot write the demo set"
for name in A B C; do
    mkdir -p "$work/$name"
    cp "$work/demo/"* "$work/$name/"
    mv "$work/$name/DEMO.CNF" "$work/$name/$name.CNF"
done

# Both viewers share one user's runtime folder, as two sessions of one user do.
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$XDG_RUNTIME_DIR"

start_display()
{
    # Sets display to the new server's name.
    local fd_file=$work/display.$1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$fd_file" ] && break
        sleep 0.1
    done
    [ -s "$fd_file" ] || fail "Xvfb did not start"
    display=":$(head -1 "$fd_file")"
}

caption_on()
{
    # The caption of the viewer's window on display $1 that names file $2, after waiting.
    DISPLAY=$1 timeout 20 xdotool search --sync --name "$2" getwindowname %@ 2>/dev/null | head -1
}

start_display 1
first=$display
start_display 2
second=$display

DISPLAY=$first "$velquin" "$work/A/A.CNF" >/dev/null 2>&1 &
pids+=($!)
[ -n "$(caption_on "$first" A.CNF)" ] || fail "no viewer for A.CNF on $first"

DISPLAY=$second "$velquin" "$work/B/B.CNF" >/dev/null 2>&1 &
second_viewer=$!
pids+=($second_viewer)
[ -n "$(caption_on "$second" B.CNF)" ] || fail "no viewer for B.CNF on $second"
kill -0 "$second_viewer" 2>/dev/null || fail "the viewer on $second ended"
[ -n "$(caption_on "$first" A.CNF)" ] || fail "the viewer on $first no longer shows A.CNF"

# A third start on the first display hands C.CNF over and ends.
DISPLAY=$first timeout 20 "$velquin" "$work/C/C.CNF" || fail "the hand-over start did not end well"
[ -n "$(caption_on "$first" C.CNF)" ] || fail "the viewer on $first did not take C.CNF"
[ -n "$(caption_on "$second" B.CNF)" ] || fail "the viewer on $second lost B.CNF"

echo "1 passed, 0 failed"
