#!/usr/bin/env bash
# A headless enemy server with three daleks in a hosted game, a real player's copy under Xvfb and
# a peer that speaks the wire format: the daleks join the player's copy and move; the peer's
# robot put in front of a resting dalek is challenged and fired at with the plasma beam; a dalek
# that loses comes back whole elsewhere; SIGTERM makes every dalek leave and the server exit 0.
NEEDS_NETNS=1 NEEDS_DISPLAY=1
source "$(dirname "$0")/../e2e/common.sh" "$@"
peer="$2"
heard="$work/heard.txt" server="$work/server.txt"

"$peer" listen 0 70 >"$heard" 2>&1 &
pids+=($!)
mkfifo "$work/keys"
"$exe" -c Arena <"$work/keys" >"$work/host.txt" 2>&1 &
pids+=($!)
exec 3>"$work/keys"
sleep 2.5
printf s >&3
wait_for "$work/host.txt" "stands at" 100 || echo "host did not start"
env -u DISPLAY "$exe" -d 0 3 >"$server" 2>&1 &
server_pid=$!
pids+=($server_pid)
wait_for "$work/host.txt" "Robot 3006 joined the game" 50
sleep 3

# The peer's robot 3001 steps in front of a dalek that stands still, until one challenges it.
dx=(1 1 0 -1 -1 -1 0 1) dy=(0 1 1 1 0 -1 -1 -1) seq=0 dalek=""
for _ in $(seq 1 15); do
  read -r _ _ uid _ _ _ x y z _ f _ _ _ _ < <(grep -E '^state uid 300[4-6] .* move 0$' "$heard" | tail -n 1)
  i=$((f / 45))
  "$peer" state 0 3001 $((++seq)) $((${x%.*} + dx[i])) $((${y%.*} + dy[i])) "$z" $(((f + 180) % 360)) 4000
  if wait_for "$heard" "battle start 0 from $uid to 3001" 15; then dalek=$uid; break; fi
done
"$peer" start 0 1 "$dalek" 3001
shot="animation 1 from $dalek to 3001 value 5002"
wait_for "$heard" "$shot" 90 && for _ in $(seq 1 100); do [ "$(grep -c "$shot" "$heard")" -ge 2 ] && break; sleep 0.1; done
shots=($(grep "$shot" "$heard" | awk '{print $NF}'))
"$peer" over 0 "$dalek" 3001
wait_for "$server" "Dalek $dalek beaten by 3001: restored at" 30
read -r cx cy cz < <(sed -nE "s/.*Dalek $dalek beaten.*restored at \(([0-9]+), ([0-9]+), ([0-9]+)\)/\1 \2 \3/p" "$server")
sleep 0.5
kill -TERM $server_pid
wait $server_pid
status=$?
sleep 0.5

check "the daleks joined the player's copy" 'grep -q "Robot 3004 joined the game" "$work/host.txt"'
moved() { [ "$(grep "^state uid $1 " "$heard" | awk '{print $7, $8, $11}' | sort -u | wc -l)" -ge 2 ]; }
check "every dalek moved or turned" 'moved 3004 && moved 3005 && moved 3006'
check "a dalek at rest is announced again within a second" '[ "$(grep -c "^state uid 3005 .* move 0$" "$heard")" -ge 15 ]'
check "a dalek challenged the robot standing in front of it" '[ -n "$dalek" ]'
check "it fired its plasma beam" '[ ${#shots[@]} -ge 1 ]'
# Six seconds of waiting from the moment the first shot's result was applied.
check "it fired again six to seven seconds later" '[ ${#shots[@]} -ge 2 ] && [ $((shots[1] - shots[0])) -ge 6 ] && [ $((shots[1] - shots[0])) -le 9 ]'

check "the beaten dalek stands whole elsewhere" '[ -n "$cx" ] && grep -q "^state uid $dalek .* at $cx.00 $cy.00 $cz.00 " "$heard"'
check "SIGTERM: the server exited 0" '[ $status -eq 0 ]'
check "SIGTERM: every dalek left" '[ "$(grep -cE "^left uid 300[4-6]" "$heard")" -eq 3 ]'
check "the server never stopped on a packet" '! grep -qiE "assert|abort|segmentation" "$server"'
[ $fail -eq 0 ] || { echo "== server"; grep -v "Added move" "$server" | tail -n 30; echo "== heard"; grep -vE "^(energon|state)" "$heard" | tail -n 30; }
exit $fail
