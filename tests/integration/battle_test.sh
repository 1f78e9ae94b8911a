#!/usr/bin/env bash
# A whole battle between two real copies, each on its own Xvfb display, over multicast on
# loopback inside a private network namespace, driven by X key events. The arena is small: the
# joiner steps out of its safe zone, the host walks up behind it and presses Enter; both copies
# enter the battle, each opens its menu three seconds after its last action, and "Fight" is
# chosen on both sides until one robot loses. Both copies print the same result for every
# action, the loser is healed and starts again at home, the winner gains experience and the
# prize the loser drew.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"

# The shipped data with a small world: homes at (3, 3) and (10, 3), robots start one cell east.
data="$work/data"
mkdir -p "$data/worlds"
for d in "${VANTRELL_DATA:?}"/*; do
  [ "$(basename "$d")" = worlds ] || ln -s "$d" "$data/"
done
cat >"$data/worlds/bigworld.txt" <<'WORLD'
size:
16 10
walls:
0 0 1:15 9 1 "none"
safe zones:
0 3 3 2
1 10 3 2
2 3 7 2
3 10 7 2
WORLD
export VANTRELL_DATA="$data"

# One copy on its own display: its lobby keys come from a fifo; every line of the "press" file
# is handed to its window as X key events, one line at a time.
cat >"$work/copy.sh" <<'INNER'
exe="$1"; name="$2"; shift 2
"$exe" "$@" <"$WORK/$name.keys" >"$WORK/$name.txt" 2>&1 &
pid=$!
while kill -0 $pid 2>/dev/null; do
  if [ -s "$WORK/$name.press" ]; then
    mv "$WORK/$name.press" "$WORK/$name.pressing"
    wid=$(xdotool search --name '^Vantrell IV$' 2>/dev/null | head -n 1)
    while read -r keys; do
      [ -n "$wid" ] && xdotool key --delay 250 --window "$wid" $keys
    done <"$WORK/$name.pressing"
    [ -z "$wid" ] && echo "no window for $name" >>"$WORK/$name.txt"
  fi
  sleep 0.1
done
wait $pid
echo "exit status $?" >>"$WORK/$name.txt"
INNER
export WORK="$work"
press() { echo "$2" >>"$work/$1.press"; }
count() { grep -c -- "$2" "$work/$1.txt" 2>/dev/null; }

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
sleep 2

# The joiner leaves its zone eastwards; the host walks seven cells east, behind it.
press joiner "Up"
sleep 1.5
press host "Up Up Up Up Up Up Up"
sleep 6
press host "Return"
wait_for "$work/host.txt" "Battle of Hank" 50
wait_for "$work/joiner.txt" "Battle of Jill" 50

# Each opened menu gets Enter, which chooses "Fight", until the battle is over on both copies.
answered_host=0 answered_joiner=0
for _ in $(seq 1 900); do
  for name in host joiner; do
    var="answered_$name"
    menus=$(count $name "Battle menu for")
    if [ "${menus:-0}" -gt "${!var}" ]; then
      press $name "Return"
      printf -v "$var" %s "$menus"
    fi
  done
  if grep -q "won the battle" "$work/host.txt" "$work/joiner.txt" &&
     grep -q "lost the battle" "$work/host.txt" "$work/joiner.txt"; then
    break
  fi
  sleep 0.1
done
wait_for "$work/host.txt" "Prize for robot" 50
wait_for "$work/joiner.txt" "Prize for robot" 50
sleep 1
for name in host joiner; do press $name "q"; done
wait_for "$work/host.txt" "exit status" 50
wait_for "$work/joiner.txt" "exit status" 50

winner=$(grep -l "won the battle" "$work/host.txt" "$work/joiner.txt" | head -n 1)
loser=$(grep -l "lost the battle" "$work/host.txt" "$work/joiner.txt" | head -n 1)
check "the host challenged the joiner's robot" 'grep -q "initiating battle!" "$work/host.txt"'
check "both copies entered the battle" 'grep -q "Battle of Hank (3000) against Jill (3001)" "$work/host.txt" && grep -q "Battle of Jill (3001) against Hank (3000)" "$work/joiner.txt"'
check "both copies opened their battle menu" '[ "$(count host "Battle menu for Hank")" -ge 1 ] && [ "$(count joiner "Battle menu for Jill")" -ge 1 ]'
check "both copies applied the same changes" '[ "$(count host "Battle result")" -ge 2 ] && diff <(grep "Battle result" "$work/host.txt" | sort) <(grep "Battle result" "$work/joiner.txt" | sort)'
check "both copies ended with the same HP for the winner" '[ "$(grep -o "won the battle (HP [0-9]*" "$winner" | grep -o "[0-9]*$")" = "$(grep -o "to robot 300[01] (HP [0-9]*" "$loser" | grep -o "[0-9]*$")" ]'
check "one copy won and the other lost" '[ -n "$winner" ] && [ -n "$loser" ] && [ "$winner" != "$loser" ]'
check "the loser was healed and placed at home" 'grep -E "lost the battle to robot 300[01] \(HP [0-9]+\): experience -1, HP ([0-9]+)/\1, EP ([0-9]+)/\2, home at \((4|11), 3, 2\)" "$loser"'
check "the winner gained experience" 'grep -q "won the battle (HP [0-9]*): experience 1" "$winner"'
check "the winner's copy received the prize the loser drew" '[ "$(grep -h "Prize for robot" "$winner")" = "$(grep -h "Prize for robot" "$loser")" ]'
check "both copies ended with status 0" '[ "$(grep -h "exit status" "$work/host.txt" "$work/joiner.txt" | sort -u)" = "exit status 0" ]'
[ $fail -eq 0 ] || for n in host joiner; do echo "== $n"; grep -v "^\(evade\|stamina\|defense\|power\|dexterity\|speed\|energy\|experience\|HP\|Stats\|\*\*\|Adding\|freeing\|uid:\)" "$work/$n.txt" | tail -n 40; done
exit $fail
