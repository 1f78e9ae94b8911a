#!/usr/bin/env bash
# One hosting copy in a window, as the end-to-end tests drive it: start "-c Test", start the game
# from the lobby (its keys come from standard input: 's' once it has located games), wait for the
# window and for the game to begin, note the window's geometry, let the game run, press 'q' and
# wait for the copy to end. Run it on an X display (scripts/xvfb-test) inside a private network
# namespace (scripts/netns-run); the copy inherits the environment (for example the audio driver).
#   host_session.sh EXE WORK SECONDS
# Writes WORK/game.txt (the copy's output), WORK/info.txt (xwininfo of the window) and
# WORK/screen.png (the window's picture just before 'q'). Exits 0 when the copy quit on 'q' with
# status 0; 3 no window, 4 ended early, 5 'q' did not quit.
exe="$1"; work="$2"; seconds="$3"
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
[ -n "$wid" ] || { echo "no window"; cat "$work/game.txt"; kill $pid 2>/dev/null; exit 3; }
xwininfo -id "$wid" >"$work/info.txt"
for i in $(seq 1 100); do grep -q "player 0" "$work/game.txt" && break; sleep 0.1; done
sleep "$seconds"
kill -0 $pid || { echo "game ended early"; cat "$work/game.txt"; exit 4; }
import -window "$wid" "$work/screen.png" 2>/dev/null
xdotool key --window "$wid" q
for i in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill $pid; echo "q did not quit"; exit 5; fi
wait $pid
