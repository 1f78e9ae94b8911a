#!/usr/bin/env bash
# No dalek is placed on a player's cell: a real player's copy steps out of its safe zone onto a
# deck with three free cells (its own one of them) when a server brings in three daleks. Two
# stand on the two other free cells, the third finds no room and stays out of the game; none
# is ever reported on the player's cell, and no dalek's state is refused.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"
# A 4 x 3 deck: the home's nine cells and, east of them, three free cells; the player steps
# onto the middle one, (3, 3).
source "$(dirname "$0")/dalekarena.sh"
arena_data "5 7" "0 2 1:3 4 1"
start_player "" 1
start_server 3
wait_for "$server" "Enemy robot server for game 0 with 3 robots" 50
sleep 3
kill -TERM $server_pid
wait $server_pid
# A dalek beside the player may have challenged it: F5 leaves the battle, q quits.
press player "F5 q"
wait_for "$log" "exit status" 50

# Where each dalek was first reported.
cells=$(awk '/^Robot 300[4-6] at rest at/ && !seen[$2]++ { print $6, $7, $8 }' "$log" | sort)
check "two daleks joined the player's copy" '[ "$(grep -cE "^Robot 300[4-6] joined the game" "$log")" -eq 2 ]'
check "they were placed on the two other free cells" '[ "$cells" = "$(printf "(3, 2, 2)\n(3, 4, 2)")" ]'
check "the third found no free cell" 'grep -q "RandomFreeLocation: no free place" "$server"'
check "the player's copy refused no dalek's state" '! grep -q "Refusing state of robot 300" "$log"'
check "the player's copy ended with status 0" 'grep -q "exit status 0" "$log"'
[ $fail -eq 0 ] || { grep -E "^Robot 30|Refusing" "$log" | head -20; grep -v "Added move" "$server" | tail -12; }
exit $fail
