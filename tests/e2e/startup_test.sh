#!/usr/bin/env bash
# The program as a player starts it: --help, the headless server with no display, and the
# window of a hosting copy under Xvfb that quits on 'q'.
set -uo pipefail
exe="$1"
scripts="${VANTRELL_SCRIPTS:?}"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$exe" --help >"$work/help.txt"; rc=$?
check "--help exits 0" '[ $rc -eq 0 ]'
check "--help names the switches" 'grep -q -- "-d NUMBER COUNT" "$work/help.txt"'

env -u DISPLAY "$scripts/netns-run" timeout 20 "$exe" -d 2 3 >"$work/server.txt" 2>&1; rc=$?
check "server mode runs without a display" '[ $rc -eq 0 ]'
check "server mode reports its game" 'grep -q "game 2 with 3 robots" "$work/server.txt"'
check "server mode loads the world" 'grep -q "^World worlds.bigworld.txt: 48 x 48" "$work/server.txt"'
check "server mode reads the world without a file error" '! grep -q "file error" "$work/server.txt"'

cat >"$work/window.sh" <<'INNER'
exe="$1"; work="$2"
# The lobby takes its keys from standard input: start the game once it has located games.
mkfifo "$work/keys"
"$exe" -c Test <"$work/keys" >"$work/game.txt" 2>&1 &
pid=$!
exec 3>"$work/keys"
(sleep 3; printf s >&3) &
for i in $(seq 1 100); do
  wid=$(xdotool search --name '^Vantrell IV$' 2>/dev/null | head -n 1)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || { echo "no window"; kill $pid; exit 3; }
xwininfo -id "$wid" >"$work/info.txt"
for i in $(seq 1 100); do grep -q "player 0" "$work/game.txt" && break; sleep 0.1; done
sleep 1.5
kill -0 $pid || { echo "game ended early"; exit 4; }
xdotool key --window "$wid" q
for i in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill $pid; echo "q did not quit"; exit 5; fi
INNER
"$scripts/netns-run" "$scripts/xvfb-test" bash "$work/window.sh" "$exe" "$work"; rc=$?
check "the window opens, the lobby starts the game, and q quits" '[ $rc -eq 0 ]'
check "the window is 640 x 480" 'grep -q "Width: 640" "$work/info.txt" && grep -q "Height: 480" "$work/info.txt"'
check "the host plays as player 0" 'grep -q "player 0" "$work/game.txt"'
check "the lobby showed the hosted game" 'grep -q "1. Test" "$work/game.txt"'
check "the host reads the world without a file error" \
  'grep -q "^World worlds.bigworld.txt" "$work/game.txt" && ! grep -q "file error" "$work/game.txt"'

[ $fail -eq 0 ]
