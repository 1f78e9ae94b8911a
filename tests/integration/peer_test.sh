#!/usr/bin/env bash
# A hosting copy and a peer that speaks the wire format, over real multicast on loopback inside
# a private network namespace: the host's robot state (first broadcast and keep-alive), its 50
# energon deposits and its departure when its window is closed from the window manager reach
# the peer; a robot the peer announces appears on the host, moves and leaves.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"

"$peer" listen 0 25 >"$work/heard.txt" 2>&1 &
pids+=($!)
host host || echo "host did not start"
sleep 1.5 # the host's ticks and its first keep-alive
"$peer" state 0 3001 0 10 10 2 0 4000
wait_for "$work/host.txt" "Robot 3001 joined the game" 30
"$peer" state 0 3001 1 12 10 2 90 4000
"$peer" state 0 3001 1 30 30 2 90 4000 # a repeat of number 1: ignored
"$peer" state 0 3001 2 13 10 2 400 4000 # a facing no robot has: refused
sleep 0.5
"$peer" left 0 3001
wait_for "$work/host.txt" "Robot 3001 left the game" 30
on host "$peer close \$wid"
wait_for "$work/host.txt" "exit status" 50
sleep 0.5

check "the host announced its robot once it stood in the world, and again while it stood" \
  'grep -q "state uid 3000 seq 0$" "$work/heard.txt" && grep -q "state uid 3000 seq [1-9]" "$work/heard.txt"'
check "the host sent its 50 energon deposits" '[ "$(grep -c "^energon id" "$work/heard.txt")" -ge 50 ]'
check "the peer's robot joined the host's game, a refused state was reported, and it left" \
  'grep -q "Robot 3001 joined the game" "$work/host.txt" && grep -q "Refusing state of robot 3001" "$work/host.txt" && grep -q "Robot 3001 left the game" "$work/host.txt"'
check "closing the window ended the host, which said its robot leaves" \
  'grep -q "exit status" "$work/host.txt" && grep -q "^left uid 3000" "$work/heard.txt"'
check "the host never stopped on a packet" '! grep -qiE "assert|abort|segmentation" "$work/host.txt"'
[ $fail -eq 0 ] || { echo "== host"; tail -n 40 "$work/host.txt"; echo "== heard"; head -n 20 "$work/heard.txt"; }
exit $fail
