#!/usr/bin/env bash
# A real player's copy under Xvfb against a headless enemy server, over multicast on loopback
# inside a private network namespace, driven by X key events. The arena is a small deck: the
# player walks out of its safe zone to the middle and waits; the dalek, placed on a free cell,
# is never more than four cells away, so it finds the player, comes up to it and challenges it.
# The player's copy enters the battle, the dalek fires its plasma beam every six seconds, and
# from its second beam on the player chooses "Fight" with Enter each time its menu opens. The
# player's robot is this test's own tougher johnny (the shipped class with ten times its hit
# points), so the player wins in bounded time and the dalek, whole again, comes back elsewhere.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"
dalek=3004 player=3000

# A 9 x 7 deck; the player's class has ten times the hit points. Two steps east: the player
# stands at (4, 3), out of its safe zone, in the middle of the deck.
source "$(dirname "$0")/dalekarena.sh"
tougher() { sed -E '/^(hitPoints|totalHP):$/{n;s/^([0-9]+)$/\10/}'; }
arena_data "9 7" "0 0 1:8 6 1" tougher
start_player "-t johnny" 2
start_server 1

# The battle: the time each plasma beam is seen fired at the player. The player lets its menu
# wait until the dalek has fired twice (so that the dalek cannot lose sooner), then answers each
# menu with Enter.
shot="Robot $dalek fires weapon 5002 at robot $player"
wait_for "$log" "Battle of Jill ($player) against Dalek ($dalek)" 600 || echo "no challenge came"
answered=0 shots=()
for _ in $(seq 1 900); do
  menus=$(count player "Battle menu for Jill")
  if [ ${#shots[@]} -ge 2 ] && [ "${menus:-0}" -gt $answered ]; then
    press player "Return"
    answered=$menus
  fi
  n=$(count player "$shot")
  [ "${n:-0}" -gt ${#shots[@]} ] && shots+=("$(date +%s.%N)")
  grep -q "won the battle\|lost the battle" "$log" && break
  sleep 0.1
done
# The dalek's state after the battle, then the server stopped: its dalek leaves.
wait_for "$server" "Dalek $dalek beaten by $player: restored at" 50
restored=$(sed -nE "s/.*Dalek $dalek beaten.*restored at (\([0-9]+, [0-9]+, [0-9]+\))/\1/p" "$server")
wait_for "$log" "Robot $dalek at rest at $restored" 30
# Having fought, it moves once before it may challenge again: the next report that it stands
# somewhere new shows it moving, should it have been placed in front of the player at first.
for _ in $(seq 1 40); do
  [ "$(sed -n "/at rest at $restored/,\$p" "$log" | grep -c "^Robot $dalek at rest at")" -ge 2 ] && break
  sleep 0.1
done
after=$(sed -n "/at rest at $restored/,\$p" "$log" | grep -c "^Robot $dalek at rest at")
kill -TERM $server_pid
wait $server_pid
status=$?
wait_for "$log" "Robot $dalek left the game" 50
# A second challenge may have come meanwhile: F5 leaves a battle on this copy.
[ "$(count player "Battle of Jill")" -ge 2 ] && press player "F5"
press player "q"
wait_for "$log" "exit status" 50

# Where the dalek stood in each report before the challenge, and where it fought.
before=$(sed -n "/Battle of Jill/q;s/^Robot $dalek at rest at (\([0-9, ]*\)).*/\1/p" "$log")
fought=$(echo "$before" | tail -n 1)
steady() {
  for ((i = 1; i < ${#shots[@]}; i++)); do
    awk -v a="${shots[i-1]}" -v b="${shots[i]}" 'BEGIN { d = b - a; exit !(d >= 5.5 && d <= 9) }' || return 1
  done
}
hits=$(grep -cE "^Battle result: robot $dalek HP \+0 EP \+0, robot $player HP -[0-9]+ " "$log")

check "the dalek appeared on the player's copy" 'grep -q "Robot $dalek joined the game" "$log"'
check "it moved on the player's copy before the challenge or after its restoration" '[ "$(echo "$before" | sort -u | wc -l)" -ge 2 ] || [ "$after" -ge 2 ]'
check "it challenged the player, whose copy entered the battle" 'grep -q "Battle of Jill ($player) against Dalek ($dalek)" "$log"'
check "the player's menu opened and was answered" '[ "$answered" -ge 2 ]'
check "the dalek fired its plasma beam at the player twice or more" '[ ${#shots[@]} -ge 2 ]'
check "every beam came six to nine seconds after the one before" steady
check "the beam hurt the player" '[ "$hits" -ge 1 ]'
check "the player won" 'grep -q "Jill won the battle" "$log"'
check "the server restored the beaten dalek elsewhere" '[ -n "$restored" ] && [ "$restored" != "($fought)" ]'
check "the player's copy saw it there, at rest" 'grep -q "Robot $dalek at rest at $restored" "$log"'
check "SIGTERM: the server exited 0 and its dalek left" '[ $status -eq 0 ] && grep -q "Robot $dalek left the game" "$log"'
check "the player's copy ended with status 0" 'grep -q "exit status 0" "$log"'
[ $fail -eq 0 ] || {
  echo "== player"; grep -E "Robot $dalek|Battle|won|lost|Jill|exit" "$log" | tail -n 40
  echo "== server"; grep -v "Added move" "$server" | tail -n 20
  echo "shots: ${shots[*]}"
}
exit $fail
