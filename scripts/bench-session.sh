#!/usr/bin/env bash
# A session of the substitute host over a position file of 100,000 items,
# for the host-session row of `make bench`: prints the session's time (the
# host's wall time for the script, less that of a script that only starts
# and quits) and how many of each plug-in call it made (counted from a
# traced run), which bench-table.py prices with the benchmark's medians.
#   scripts/bench-session.sh BUILD_DIR [ROUNDS]
set -euo pipefail
build=$(cd "$1" && pwd)
rounds=${2:-20}
hostbin="$build/host/tarnwick-host"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/plugin" "$work/files" "$work/registry"
cp "$build/host/libTarnwick.so" "$build"/host/*.lng "$work/plugin/"

python3 - "$work/plugin/positions.cfg" <<'PY'
import sys
with open(sys.argv[1], "w", newline="") as f:
    for n in range(100000):
        f.write('<item type="editor" path="C:\\Users\\someone\\Documents\\Projects\\p%d\\notes.txt" '
                'line="%d" column="%d" top="0" left="0" overtype="0">\r\n' % (n, n % 5000, n % 80))
PY

{
    echo "make-file a.txt 300"
    for ((i = 0; i < rounds; i++)); do
        echo "open a.txt"
        echo "goto $((i * 7 % 250)) 3"
        echo "goto $((i * 11 % 250)) 5"
        echo "save"
        echo "pick 1"
        echo "menu"
        echo "close"
    done
    echo "quit"
} > "$work/session.tws"
printf 'make-file a.txt 300\nquit\n' > "$work/empty.tws"

run() {  # positions script [extra options]; prints the wall time in ns
    local positions=$1 script=$2; shift 2
    rm -rf "$work/files"/* "$work/registry"/*
    # The host puts the module in Plugins/Tarnwick of the work folder; its
    # position file is beside it.
    mkdir -p "$work/files/Plugins/Tarnwick"
    cp "$positions" "$work/files/Plugins/Tarnwick/Tarnwick.cfg"
    local start end
    start=$(date +%s%N)
    "$hostbin" --plugin-dir "$work/plugin" --work "$work/files" --registry "$work/registry" --script "$script" "$@" \
        > "$work/out.txt" 2>&1
    end=$(date +%s%N)
    echo $((end - start))
}

# The calls the session makes do not depend on the position file's size,
# and the trace of a large one is long (a line for every comparison): they
# are counted on a file of one item.
head -n 1 "$work/plugin/positions.cfg" > "$work/plugin/small.cfg"
run "$work/plugin/small.cfg" "$work/session.tws" --trace > /dev/null
count() { grep -c "\[export\] $1\$" "$work/out.txt" || true; }
reads=$(count 'ProcessEditorEvent(EE_READ)')
redraws=$(count 'ProcessEditorEvent(EE_REDRAW)')
saves=$(count 'ProcessEditorEvent(EE_SAVE)')
closes=$(count 'ProcessEditorEvent(EE_CLOSE)')
menus=$(count 'OpenPlugin(5, 0)')

median() { sort -n | sed -n "$((($1 + 1) / 2))p"; }
session=$(for i in 1 2 3; do run "$work/plugin/positions.cfg" "$work/session.tws"; done | median 3)
empty=$(for i in 1 2 3; do run "$work/plugin/positions.cfg" "$work/empty.tws"; done | median 3)
echo "host_ns $((session - empty))"
echo "BM_ReadWithItem $reads"
echo "BM_Redraw $redraws"
echo "BM_Save $saves"
echo "BM_Close $closes"
echo "BM_MenuStore $menus"
# The session's first event reads the whole file into an empty document;
# quitting calls ExitFAR, which purges the items of missing files (all of
# them here, as in BM_PurgeMissing).
echo "BM_LoadFresh 1"
echo "BM_PurgeMissing 1"
