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

# The shipped data with a small world: homes at (3, 3) and (10, 5), robots start one cell east.
data="$work/data"
mkdir -p "$data/worlds"
for d in "${VANTRELL_DATA:?}"/*; do
  [ "$(basename "$d")" = worlds ] || ln -s "$d" "$data/"
done
cat >"$data/worlds/bigworld.txt" <<'WORLD'
size:
24 12
walls:
0 0 1:15 9 1 "none"
safe zones:
0 3 3 2
1 10 5 2
2 3 8 2
3 17 8 2
WORLD
export VANTRELL_DATA="$data"

source "$(dirname "$0")/twocopies.sh"
start_two_copies "" "-t hover"
sleep 2

# The joiner leaves its zone eastwards to (12, 5); the host walks east past the joiner's home,
# north, and turns east behind it.
press joiner "Up"
sleep 1.5
press host "Up Up Up Up Up Up Up Left Left Up Up Right Right"
sleep 5
# Enter once the host stands behind the joiner (before, with nothing in front, it does nothing).
for _ in $(seq 1 20); do
  press host "Return"
  wait_for "$work/host.txt" "initiating battle!" 10 && break
done
wait_for "$work/host.txt" "Battle of Hank" 50
wait_for "$work/joiner.txt" "Battle of Jill" 50

# Each opened menu gets Enter, which chooses "Fight", until the battle is over on both copies.
declare -A answered=([host]=0 [joiner]=0)
for _ in $(seq 1 900); do
  for name in host joiner; do
    menus=$(count $name "Battle menu for")
    [ "${menus:-0}" -gt "${answered[$name]}" ] && press $name "Return" && answered[$name]=$menus
  done
  grep -q "won the battle" "$work/host.txt" "$work/joiner.txt" &&
    grep -q "lost the battle" "$work/host.txt" "$work/joiner.txt" && break
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
check "both copies entered the battle" 'grep -q "Battle of Hank (3000) against .* (3001)" "$work/host.txt" && grep -q "Battle of Jill (3001) against Hank (3000)" "$work/joiner.txt"'
check "both copies opened their battle menu" '[ "$(count host "Battle menu for Hank")" -ge 1 ] && [ "$(count joiner "Battle menu for Jill")" -ge 1 ]'
check "each copy showed the other's attacks" '! grep -q "Animation packet dropped" "$work/host.txt" "$work/joiner.txt"'
check "both copies applied the same changes" '[ "$(count host "Battle result")" -ge 2 ] && diff <(grep "Battle result" "$work/host.txt" | sort) <(grep "Battle result" "$work/joiner.txt" | sort)'
check "both copies ended with the same HP for the winner" '[ "$(grep -o "won the battle (HP [0-9]*" "$winner" | grep -o "[0-9]*$")" = "$(grep -o "to robot 300[01] (HP [0-9]*" "$loser" | grep -o "[0-9]*$")" ]'
check "one copy won and the other lost" '[ -n "$winner" ] && [ -n "$loser" ] && [ "$winner" != "$loser" ]'
check "the loser was healed and placed at home" 'grep -E "lost the battle to robot 300[01] \(HP [0-9]+\): experience -1, HP ([0-9]+)/\1, EP ([0-9]+)/\2, home at \((4, 3|11, 5), 2\)" "$loser"'
check "the winner gained experience" 'grep -q "won the battle (HP [0-9]*): experience 1" "$winner"'
check "the winner's copy received the prize the loser drew" '[ "$(grep -h "Prize for robot" "$winner")" = "$(grep -h "Prize for robot" "$loser")" ]'
check "both copies ended with status 0" '[ "$(grep -h "exit status" "$work/host.txt" "$work/joiner.txt" | sort -u)" = "exit status 0" ]'
[ $fail -eq 0 ] || for n in host joiner; do echo "== $n"; grep -v "^\(evade\|stamina\|defense\|power\|dexterity\|speed\|energy\|experience\|HP\|Stats\|\*\*\|Adding\|freeing\|uid:\)" "$work/$n.txt" | grep -v -i "energon" | tail -n 40; done
exit $fail
