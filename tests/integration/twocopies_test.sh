#!/usr/bin/env bash
# Two real copies, each on its own Xvfb display, over multicast on loopback inside a private
# network namespace: a joiner picks the host's game with '1', the host starts it with 's'; both
# leave the lobby (indexes 0 and 1), the joiner receives the host's 50 energon deposits, each
# copy creates the other's robot, and 'q' in the joiner's window removes its robot on the host.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"

# One copy on its own display; its keys come from a fifo, the window's from the "quit" file.
cat >"$work/copy.sh" <<'INNER'
exe="$1"; name="$2"; shift 2
"$exe" "$@" <"$WORK/$name.keys" >"$WORK/$name.txt" 2>&1 &
pid=$!
while kill -0 $pid 2>/dev/null; do
  if [ -e "$WORK/$name.quit" ]; then
    wid=$(xdotool search --name '^Vantrell IV$' 2>/dev/null | head -n 1)
    [ -n "$wid" ] && xdotool key --window "$wid" q
    rm -f "$WORK/$name.quit"
  fi
  sleep 0.1
done
wait $pid
echo "exit status $?" >>"$WORK/$name.txt"
INNER
export WORK="$work"
for name in host joiner; do mkfifo "$work/$name.keys"; done
"$scripts/xvfb-test" bash "$work/copy.sh" "$exe" host -n Hank -c Arena &
pids+=($!)
exec 3>"$work/host.keys"
sleep 1
"$scripts/xvfb-test" bash "$work/copy.sh" "$exe" joiner -n Jill -t hover &
pids+=($!)
exec 4>"$work/joiner.keys"

wait_for "$work/joiner.txt" "1. Arena" 80 || echo "the joiner never saw the game"
printf 1 >&4
wait_for "$work/host.txt" " \* Jill" 60 || echo "the host never saw the joiner"
printf s >&3
wait_for "$work/joiner.txt" "Robot 3000 joined the game" 100
wait_for "$work/host.txt" "Robot 3001 joined the game" 50
for _ in $(seq 1 50); do
  [ "$(grep -c "Adding network generated energon" "$work/joiner.txt")" -ge 50 ] && break
  sleep 0.1
done
touch "$work/joiner.quit"
wait_for "$work/host.txt" "Robot 3001 left the game" 50
wait_for "$work/joiner.txt" "exit status" 50
touch "$work/host.quit"
wait_for "$work/host.txt" "exit status" 50

check "the host left the lobby as player 0" 'grep -q "Hosting a game as player 0" "$work/host.txt"'
check "the joiner left the lobby as player 1" 'grep -q "Joining a game as player 1" "$work/joiner.txt"'
check "the joiner received the host's 50 energon deposits" '[ "$(grep -c "Adding network generated energon" "$work/joiner.txt")" -eq 50 ]'
check "the joiner created the host's robot" 'grep -q "Robot 3000 joined the game" "$work/joiner.txt"'
check "the host created the joiner's robot" 'grep -q "Robot 3001 joined the game" "$work/host.txt"'
check "q in the joiner's window removed its robot on the host" 'grep -q "Robot 3001 left the game" "$work/host.txt"'
check "both copies ended with status 0" '[ "$(grep -h "exit status" "$work/host.txt" "$work/joiner.txt" | sort -u)" = "exit status 0" ]'
[ $fail -eq 0 ] || for n in host joiner; do echo "== $n"; grep -v "^\(evade\|stamina\|defense\|power\|dexterity\|speed\|energy\|experience\|HP\|Stats\|\*\*\)" "$work/$n.txt" | tail -n 30; done
exit $fail
