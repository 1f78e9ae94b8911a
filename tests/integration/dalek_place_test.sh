#!/usr/bin/env bash
# No dalek is placed on a player's cell: a real player's copy steps out of its safe zone onto a
# deck with three free cells (its own one of them) when a server brings in three daleks. Two
# stand on the two other free cells, the third finds no room and stays out of the game; none
# is ever reported on the player's cell, and no dalek's state is refused.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"
log="$work/player.txt"

# A 4 x 3 deck: the home's nine cells and, east of them, three free cells; the player steps
# onto the middle one, (3, 3).
arena "5 7" '0 2 1:3 4 1 "none"\n' '0 1 3 2\n'
walk_out player Up -n Jill
env -u DISPLAY timeout --preserve-status 5 "$exe" -d 0 3 >"$work/server.txt" 2>&1
# A dalek beside the player may have challenged it: F5 leaves the battle, q quits.
quit player F5

cells=$(awk '/^Robot 300[4-6] at rest at/ && !seen[$2]++ { print $6, $7, $8 }' "$log" | sort | xargs)
check "two daleks came, on the two other free cells" '[ "$cells" = "(3, 2, 2) (3, 4, 2)" ]'
check "the third found no free cell" 'grep -q "RandomFreeLocation: no free place" "$work/server.txt"'
check "the player's copy refused no dalek's state and ended with status 0" \
  '! grep -q "Refusing state of robot 300" "$log" && grep -q "exit status 0" "$log"'
finish player server
