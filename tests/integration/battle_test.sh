#!/usr/bin/env bash
# Two real copies, each on its own Xvfb display, over multicast on loopback inside a private
# network namespace, driven by X key events. A joiner ("Jill") picks the host's ("Hank") game
# with '1', the host starts it with 's'; both leave the lobby as players 0 and 1 and create each
# other's robot. In a small arena the joiner steps out of its safe zone, the host walks up behind
# it and presses Enter; both copies enter the battle, each opens its menu three seconds after
# its last action, and "Fight" is chosen on both sides until one robot loses. Both copies print
# the same result for every action, the loser is healed and starts again at home, the winner
# gains experience and the prize the loser drew. 'q' in the joiner's window removes its robot on
# the host. (The energon deposits' way between copies is the peer test's and the unit tests'.)
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"

# Homes at (3, 3) and (10, 5); the robots start one cell east.
arena "24 12" '0 0 1:15 9 1 "none"\n' '0 3 3 2\n1 10 5 2\n2 3 8 2\n3 17 8 2\n'
start_copy host -n Hank -c Arena
sleep 1
start_copy joiner -n Jill -t hover
wait_for "$work/joiner.txt" "1. Arena" 80 || echo "the joiner never saw the game"
keys joiner 1
wait_for "$work/host.txt" " \* Jill" 60 || echo "the host never saw the joiner"
keys host s
wait_for "$work/host.txt" "Robot 3001 joined the game" 100 # the joiner's robot stands
sleep 2

# The joiner leaves its zone eastwards to (12, 5); the host walks east past the joiner's home,
# north, and turns east behind it; Enter once it stands there (with nothing in front, it does
# nothing).
press joiner "Up"
sleep 1.5
press host "Up Up Up Up Up Up Up Left Left Up Up Right Right"
sleep 5
for _ in $(seq 1 20); do
  press host "Return"
  wait_for "$work/host.txt" "initiating battle!" 10 && break
done
# Each opened menu gets Enter, which chooses "Fight", until the battle is over on both copies.
for _ in $(seq 1 900); do
  for name in host joiner; do answer $name; done
  # The end on both copies: the loser's draw, and the winner's copy receiving it.
  [ "$(count host "Prize for robot")" -ge 1 ] && [ "$(count joiner "Prize for robot")" -ge 1 ] && break
  sleep 0.1
done
quit joiner
wait_for "$work/host.txt" "Robot 3001 left the game" 50
quit host

winner=$(grep -l "won the battle" "$work/host.txt" "$work/joiner.txt" | head -n 1)
loser=$(grep -l "lost the battle" "$work/host.txt" "$work/joiner.txt" | head -n 1)
# The battle's first lines name the host's robot 3000 and the joiner's 3001: both left the lobby
# and created each other's robot.
check "the host challenged the joiner's robot; both copies entered the battle and opened their menus" \
  'grep -q "initiating battle!" "$work/host.txt" && grep -q "Battle of Hank (3000) against .* (3001)" "$work/host.txt" && grep -q "Battle of Jill (3001) against Hank (3000)" "$work/joiner.txt" && grep -q "Battle menu for Hank" "$work/host.txt" && grep -q "Battle menu for Jill" "$work/joiner.txt"'
check "each copy showed the other's attacks" '! grep -q "Animation packet dropped" "$work/host.txt" "$work/joiner.txt"'
check "both copies applied the same changes" '[ "$(count host "Battle result")" -ge 2 ] && diff <(grep "Battle result" "$work/host.txt" | sort) <(grep "Battle result" "$work/joiner.txt" | sort)'
check "one copy won and the other lost, both with the same HP for the winner" \
  '[ -n "$winner" ] && [ -n "$loser" ] && [ "$winner" != "$loser" ] && [ "$(grep -o "won the battle (HP [0-9]*" "$winner" | grep -o "[0-9]*$")" = "$(grep -o "to robot 300[01] (HP [0-9]*" "$loser" | grep -o "[0-9]*$")" ]'
check "the loser was healed and placed at home" 'grep -E "lost the battle to robot 300[01] \(HP [0-9]+\): experience -1, HP ([0-9]+)/\1, EP ([0-9]+)/\2, home at \((4, 3|11, 5), 2\)" "$loser"'
check "the winner gained experience" 'grep -q "won the battle (HP [0-9]*): experience 1" "$winner"'
check "the winner's copy received the prize the loser drew" '[ "$(grep -h "Prize for robot" "$winner")" = "$(grep -h "Prize for robot" "$loser")" ]'
check "q in the joiner's window removed its robot on the host; both copies ended with status 0" \
  'grep -q "Robot 3001 left the game" "$work/host.txt" && [ "$(grep -h "exit status" "$work/host.txt" "$work/joiner.txt" | sort -u)" = "exit status 0" ]'
finish host joiner
