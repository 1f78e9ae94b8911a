#!/usr/bin/env bash
# Hosting and joining over real multicast on loopback, inside a private network namespace:
# three joiners all named "Vantrell", two answering the same announcement at once and one after
# them, get places 1, 2 and 3 and see the host's names without their control bytes; a second
# host takes the next free slot; a failed group join or bind says what failed.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"
bel=$'Ha\ank' # the host's name holds a bell byte

start host timeout 40 "$peer" host 600 Arena "$bel"
sleep 1.5
for j in j1 j2 j3; do start $j timeout 40 "$peer" join 600 Vantrell; done
sleep 1.2
keys j1 1; keys j2 1
sleep 2.5
keys j3 1
sleep 2.5
start host2 timeout 40 "$peer" host 600 Second Sue
sleep 2
keys host s
sleep 3
keys host2 q
wait "${pids[@]}" 2>/dev/null
# Without a multicast route the join fails with status 1; a port held by a socket that does not
# share it makes the bind fail with the plain message.
unshare -rn sh -c 'ip link set lo up; exec "$0" host 100 A B </dev/null' "$peer" >"$work/noroute.txt" 2>&1; rc=$?
python3 -c 'import socket, time; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("", 9423)); print("bound", flush=True); time.sleep(3)' >"$work/held.txt" & pids+=($!)
wait_for "$work/held.txt" bound 50
"$peer" host 100 A B </dev/null >"$work/bind.txt" 2>&1

results=$(for n in host j1 j2 j3 host2; do sed -n 's/.*RESULT //p' "$work/$n.txt"; done | xargs)
check "the host started, the joiners got places 1, 2 and 3, the second host took the next slot: $results" \
  '[[ "$results" = "host 1 channel 0 "*" host 0 channel 1" ]] && [ "$(grep -ho "RESULT join . channel 0" "$work"/j?.txt | sort | xargs)" = "RESULT join 1 channel 0 RESULT join 2 channel 0 RESULT join 3 channel 0" ]'
check "the joiners saw the host's game, its names without control bytes" \
  'grep -q "1. Arena" "$work/j1.txt" && grep -q " \* Ha?nk" "$work/j1.txt" && ! grep -q "${bel:2:1}" "$work"/j?.txt && grep -q "1. Arena" "$work/host2.txt"'
check "a failed group join ends with status 1 and says what to check" '[ $rc -eq 1 ] && grep -q "224.0.0.0/4 is routed" "$work/noroute.txt"'
check "a failed bind says \"netInit binding\" and nothing more" 'grep -q "netInit binding" "$work/bind.txt" && ! grep -q "netInit binding:" "$work/bind.txt"'
[ $fail -eq 0 ] || { for n in host j1 j2 j3 host2; do echo "== $n"; tail -c 1500 "$work/$n.txt"; done; }
exit $fail
