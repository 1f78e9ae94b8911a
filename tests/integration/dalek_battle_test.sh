#!/usr/bin/env bash
# A real player's copy under Xvfb against a headless enemy server with two daleks, over multicast
# on loopback inside a private network namespace, driven by X key events. The arena is a small
# deck: the player walks out of its safe zone to the middle and waits; a dalek is never more
# than four cells away, so it finds the player, comes up to it and challenges it. The player's
# copy enters the battle, the dalek fires its plasma beam every six seconds, and from its second
# beam on the player chooses "Fight" with Enter each time its menu opens. The player's robot is
# this test's own tougher johnny (the shipped class with ten times its hit points), so the
# player wins in bounded time and the dalek, whole again, comes back elsewhere. SIGTERM makes
# every dalek leave and the server exit 0. (The packets naming robots the server does not hold
# are the unit tests' part.)
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"
log="$work/player.txt" server="$work/server.txt" player=3000

# A 9 x 7 deck; the player's home is centred on (1, 3) and it starts at (2, 3, 2) facing east.
tougher() { sed -E '/^(hitPoints|totalHP):$/{n;s/^([0-9]+)$/\10/}'; }
arena "9 7" '0 0 1:8 6 1 "none"\n' '0 1 3 2\n' tougher
walk_out player "Up Up" -n Jill -t johnny
start server env -u DISPLAY "$exe" -d 0 2

# The battle: the time each plasma beam is seen fired at the player. The player lets its menu
# wait until the dalek has fired twice (so that the dalek cannot lose sooner), then answers each
# menu with Enter.
wait_for "$log" "Battle of Jill ($player) against Dalek" 600 || echo "no challenge came"
dalek=$(sed -n "s/^Battle of Jill ($player) against Dalek (\([0-9]*\)).*/\1/p" "$log" | head -n 1)
shots=()
for _ in $(seq 1 900); do
  [ ${#shots[@]} -ge 2 ] && answer player
  n=$(count player "Robot $dalek fires weapon 5002 at robot $player")
  [ "${n:-0}" -gt ${#shots[@]} ] && shots+=("$(date +%s.%N)")
  grep -q "won the battle\|lost the battle" "$log" && break
  sleep 0.1
done
# The dalek restored; having fought, it moves once before it may challenge again, so a report
# of it somewhere new follows, should it have been placed in front of the player at first.
wait_for "$server" "Dalek $dalek beaten by $player: restored at" 50
restored=$(sed -nE "s/.*Dalek $dalek beaten.*restored at (\([0-9]+, [0-9]+, [0-9]+\))/\1/p" "$server")
wait_for "$log" "Robot $dalek at rest at $restored" 30
before=$(sed -n "/Battle of Jill/q;s/^Robot $dalek at rest at (\([0-9, ]*\)).*/\1/p" "$log")
# Where a dalek came to rest, less the report of the restoration: two places or facings or more.
moved() { [ "$(grep "^Robot $1 at rest at" "$log" | awk -v r="at $restored " '!(index($0, r) && !gone++)' | sort -u | wc -l)" -ge 2 ]; }
for _ in $(seq 1 40); do moved "$dalek" && break; sleep 0.1; done
kill -TERM "${pids[-1]}"
wait "${pids[-1]}"
status=$?
wait_for "$log" "Robot 3005 left the game" 50
quit player F5 # F5 leaves a second battle, should one have started meanwhile

check "both daleks appeared on the player's copy and moved there" \
  'grep -q "Robot 3004 joined the game" "$log" && grep -q "Robot 3005 joined the game" "$log" && moved 3004 && moved 3005'
check "dalek $dalek challenged the player, whose copy entered the battle" '[ -n "$dalek" ]'
check "the dalek fired its plasma beam at the player twice or more, six to nine seconds apart" \
  'printf "%s\n" "${shots[@]}" | awk "NR > 1 && (\$1 - p < 5.5 || \$1 - p > 9) { bad = 1 } { p = \$1 } END { exit bad || NR < 2 }"'
check "the beam hurt the player" 'grep -qE "^Battle result: robot $dalek HP \+0 EP \+0, robot $player HP -[0-9]+ " "$log"'
check "the player won (by its answers to its menus)" 'grep -q "Jill won the battle" "$log"'
check "the server restored the beaten dalek elsewhere, and the player's copy saw it there at rest" \
  '[ -n "$restored" ] && [ "$restored" != "($(echo "$before" | tail -n 1))" ] && grep -q "Robot $dalek at rest at $restored" "$log"'
check "SIGTERM: the server exited 0 and both daleks left" \
  '[ $status -eq 0 ] && grep -q "Robot 3004 left the game" "$log" && grep -q "Robot 3005 left the game" "$log"'
finish player server
