#!/usr/bin/env bash
# Two real copies, each on its own Xvfb display, over multicast on loopback inside a private
# network namespace: a joiner picks the host's game with '1', the host starts it with 's'; both
# leave the lobby (indexes 0 and 1), the joiner receives the host's 50 energon deposits, each
# copy creates the other's robot, and 'q' in the joiner's window removes its robot on the host.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"

source "$(dirname "$0")/twocopies.sh"
start_two_copies "" "-t hover"
for _ in $(seq 1 50); do
  [ "$(grep -c "Adding network generated energon" "$work/joiner.txt")" -ge 50 ] && break
  sleep 0.1
done
press joiner q
wait_for "$work/host.txt" "Robot 3001 left the game" 50
wait_for "$work/joiner.txt" "exit status" 50
press host q
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
