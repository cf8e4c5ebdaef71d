#!/usr/bin/env bash
# Drives the full-screen host in tmux as a person would and checks what the
# screen shows. usage: tui_test.sh HOST PLUGIN_DIR SCENARIO
# Exit 0: passed; 77: skipped (no tmux); anything else: failed.
set -uo pipefail
host=$1 plugin_dir=$2 scenario=$3
command -v tmux >/dev/null 2>&1 || { echo "tmux is missing: skipped"; exit 77; }

work=$(mktemp -d)
socket="tarnwick-tui-$$"
tm() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() { tm kill-server 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

screen() { tm capture-pane -p -t main; }
fail() { echo "FAILED: $*"; echo "--- screen:"; screen; echo "--- log tail:"; tail -20 "$work/host.log" 2>/dev/null; exit 1; }
# Waits up to 10 s for the text on the screen (line N only, when given).
wait_for() {
    local text=$1 line=${2:-}
    for _ in $(seq 100); do
        if [ -n "$line" ]; then screen | sed -n "${line}p" | grep -qF -- "$text" && return 0
        else screen | grep -qF -- "$text" && return 0; fi
        sleep 0.1
    done
    fail "waited for '$text'${line:+ on line $line}"
}
# Waits up to 10 s for the text to go from the screen.
lacks() {
    for _ in $(seq 100); do
        screen | grep -qF -- "$1" || return 0
        sleep 0.1
    done
    fail "the screen still shows '$1'"
}
keys() { tm send-keys -t main "$@"; }

start() {
    local columns=${1:-80} rows=${2:-25}
    tm new-session -d -s main -x "$columns" -y "$rows" \
        "env LANG=C.UTF-8 TERM=screen TARNWICK_REGISTRY_ROOT= '$host' --tui --plugin-dir '$plugin_dir' --work '$work/w' --log '$work/host.log' --trace; echo \$? > '$work/rc'; sleep 60"
}
# F10 and Yes; the host must end with 0 after ExitFAR.
quit() {
    keys F10; wait_for "Do you want to quit"; keys y
    for _ in $(seq 100); do [ -s "$work/rc" ] && break; sleep 0.1; done
    [ "$(cat "$work/rc" 2>/dev/null)" = 0 ] || fail "the host ended with '$(cat "$work/rc" 2>/dev/null)'"
    grep -q "ExitFAR" "$work/host.log" || fail "ExitFAR was not called"
}
# Opens chapter1.txt (the first file) from the panels.
open_first() { keys Home Enter; wait_for "chapter1.txt" 1; wait_for "Line" 1; }
store_from_menu() {
    keys F11; wait_for "Plugin commands"; keys Enter
    wait_for "Store the position"; keys s; lacks "Store the position"
}

start
wait_for "chapter1.txt"
wait_for "4Edit"
case $scenario in
reopen)
    open_first
    wait_for "Line 1/300  Col 1" 1
    store_from_menu
    keys -N 40 Down; keys -N 5 Right; keys Insert
    wait_for "Ovr  Line 41/300  Col 6" 1
    wait_for "Line 19 of chapter1.txt" 2   # scrolled: line 41 is the last one shown
    keys Escape; wait_for "Stored position of this file"
    wait_for "line 41, col 6"
    open_first
    wait_for "Ovr  Line 41/300  Col 6" 1
    wait_for "Line 19 of chapter1.txt" 2
    grep -q "ProcessEditorEvent(EE_CLOSE)" "$work/host.log" || fail "no EE_CLOSE"
    grep -q "ProcessEditorEvent(EE_REDRAW)" "$work/host.log" || fail "no EE_REDRAW"
    # Typing makes the file modified; F2 saves it (EE_SAVE).
    keys x; wait_for "*  Ovr" 1; keys F2; lacks "*  Ovr"
    grep -q "ProcessEditorEvent(EE_SAVE)" "$work/host.log" || fail "no EE_SAVE"
    keys y; wait_for "*  Ovr" 1; keys Escape; wait_for "has been modified"; keys d
    wait_for "Stored position of this file"
    quit ;;
menu)
    open_first
    keys -N 20 Down; keys -N 3 Right
    store_from_menu
    keys Escape; wait_for "line 21, col 4"
    open_first; wait_for "Line 21/300  Col 4" 1
    # Now the file is known: the menu offers to update it.
    keys F11; wait_for "Plugin commands"; keys Enter
    wait_for "Update the stored position"; wait_for "Restore the stored position"
    wait_for "List of saved positions"; wait_for "Configuration"
    keys Escape; lacks "Update the stored position"
    keys Escape; wait_for "Stored position of this file"
    quit ;;
list)
    open_first; store_from_menu; keys Escape
    keys Down Enter; wait_for "chapter2.txt" 1; store_from_menu
    keys F11 Enter; wait_for "List of saved positions"; keys l
    wait_for "Del - delete, Esc - close"
    wait_for "editor: $work/w/chapter1.txt"; wait_for "editor: $work/w/chapter2.txt"
    first=$(screen | grep -o "editor: $work/w/chapter[12].txt" | head -1)
    keys Home DC; wait_for "Delete this saved position?"; keys y
    lacks "Delete this saved position?"; wait_for "Del - delete, Esc - close"
    lacks "$first"
    [ "$(screen | grep -c "editor: $work/w/chapter")" = 1 ] || fail "the list should hold one item"
    keys Escape; lacks "Del - delete"; wait_for "List of saved positions"
    keys Escape; lacks "List of saved positions"
    keys Escape; quit ;;
dialog)
    keys F9; wait_for "Plugins configuration"; keys Enter
    wait_for "[ ] Show in the panels' plug-in menu"
    keys Space; wait_for "[x] Show in the panels' plug-in menu"
    keys f C-y; keys -l "$work/w/positions.cfg"; keys Enter
    lacks "Show in the panels"
    keys F9 Enter
    wait_for "[x] Show in the panels' plug-in menu"; wait_for "$work/w/positions.cfg"
    keys Escape; lacks "Show in the panels"
    # ShowInPanels is on now: F11 from the panels offers Tarnwick.
    keys F11; wait_for "1 Tarnwick"; keys Enter; wait_for "List of saved positions"; keys Escape
    quit ;;
viewer)
    # F3 views the file under the cursor; the modes and Gray+/Gray- first,
    # as each of them moves the viewer.
    keys Home F3; wait_for "chapter1.txt" 1; wait_for "Offset 0/25241  Col 1  Text  OEM" 1
    keys F4; wait_for "Hex  OEM" 1; keys F4; wait_for "Text  OEM" 1
    keys F2; wait_for "Text  Wrap  OEM" 1; keys F2; wait_for "Text  OEM" 1
    keys F8; wait_for "Text  ANSI" 1; keys F8; wait_for "Text  OEM" 1
    keys KP+; wait_for "chapter2.txt" 1; keys KP-; wait_for "chapter1.txt" 1
    keys -N 40 Down; keys -N 3 Right; wait_for "Col 4  Text" 1
    offset=$(screen | sed -n 1p | grep -o "Offset [0-9]*" | cut -d" " -f2)
    [ "${offset:-0}" -gt 0 ] || fail "the viewer did not move"
    # Stored from the viewer's menu (PF_VIEWER), the place comes back.
    keys F11; wait_for "Plugin commands"; keys Enter
    wait_for "Store the position"; keys s; lacks "Store the position"
    keys Escape; wait_for "viewer: offset $offset"
    keys F3; wait_for "Offset $offset/25241  Col 4" 1
    # Moved and closed with F3: the close brings the place up to date.
    keys -N 5 Down; lacks "Offset $offset/"
    moved=$(screen | sed -n 1p | grep -o "Offset [0-9]*" | cut -d" " -f2)
    keys F3; wait_for "viewer: offset $moved"
    keys F3; wait_for "Offset $moved/25241  Col 4" 1
    keys Escape; wait_for "Stored position of this file"
    grep -q "ProcessViewerEvent(VE_READ" "$work/host.log" || fail "no VE_READ"
    grep -q "ProcessViewerEvent(VE_CLOSE" "$work/host.log" || fail "no VE_CLOSE"
    quit ;;
bookmarks)
    # Alt+Shift+n sets bookmark n and Alt+n goes there; F8 and Shift+F8
    # change the table; the status line shows both.
    open_first
    keys -N 30 Down; keys M-@; wait_for "Line 31/300  Col 1  OEM  Bm 2" 1
    keys C-Home; wait_for "Line 1/300" 1; keys M-2; wait_for "Line 31/300" 1
    keys F8; wait_for "ANSI  Bm 2" 1
    keys S-F8; wait_for "Character tables"; keys 3; lacks "Character tables"; wait_for "KOI8-R  Bm 2" 1
    keys Escape; wait_for "Stored position of this file"
    quit ;;
small)
    tm resize-window -t main -x 60 -y 20; wait_for "at least 80 x 25"
    tm resize-window -t main -x 80 -y 25; wait_for "4Edit"; lacks "at least 80 x 25"
    quit ;;
*) echo "unknown scenario $scenario"; exit 2 ;;
esac
echo "passed: $scenario"
