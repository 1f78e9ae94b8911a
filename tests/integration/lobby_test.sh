#!/usr/bin/env bash
# Hosting and joining over real multicast on loopback, inside a private network namespace:
# three joiners with the same name, two answering the same announcement at once and one after
# them, get different player indices, and a second host takes the next free slot.
NEEDS_NETNS=1
source "$(dirname "$0")/../e2e/common.sh" "$@"
driver="$exe"

start() { # name, args...: runs the driver with keys from a fifo
  local name="$1"; shift
  mkfifo "$work/$name.keys"
  timeout 40 "$driver" "$@" <"$work/$name.keys" >"$work/$name.out" 2>&1 &
  pids+=($!)
  exec {fd}>"$work/$name.keys"
  eval "KEYS_$name=$fd"
}
key() { local fd; eval "fd=\$KEYS_$1"; printf '%s' "$2" >&"$fd"; }

start host 600 host Arena Hank
sleep 1.5
start j1 600 join Vantrell
start j2 600 join Vantrell
start j3 600 join Vantrell
sleep 1.2
key j1 1; key j2 1
sleep 2.5
key j3 1
sleep 2.5
start host2 600 host Second Sue
sleep 2
key host s
sleep 3
key host2 q
wait "${pids[@]}" 2>/dev/null

for n in host j1 j2 j3 host2; do sed -n 's/.*\(RESULT.*\)/\1/p' "$work/$n.out" | sed "s/^/$n: /"; done
check "the host started its game on channel 0" 'grep -q "RESULT host 1 channel 0" "$work/host.out"'
indices=$(for n in j1 j2 j3; do sed -n 's/.*RESULT join \([0-9-]*\) channel 0.*/\1/p' "$work/$n.out"; done | sort | xargs)
check "the joiners named alike got indices 1, 2 and 3 ($indices)" '[ "$indices" = "1 2 3" ]'
check "the joiners saw the host's game" 'grep -q "1. Arena" "$work/j1.out" && grep -q " \* Hank" "$work/j1.out"'
check "the second host took slot 2 and quit" 'grep -q "RESULT host 0 channel 1" "$work/host2.out" && grep -q "1. Arena" "$work/host2.out"'
# Without a multicast route the join fails: a clear message and status 1, not an abort.
unshare -rn sh -c 'ip link set lo up; exec "$0" 100 host A B </dev/null' "$driver" >"$work/noroute.out" 2>&1
rc=$?
check "a failed group join ends with status 1 and says what to check" '[ $rc -eq 1 ] && grep -q "224.0.0.0/4 is routed" "$work/noroute.out"'

# A port held by a socket that does not share it: the bind fails with the plain message.
python3 -c 'import socket, time; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("", 9423)); time.sleep(3)' &
pids+=($!)
sleep 0.5
"$driver" 100 host A B </dev/null >"$work/bind.out" 2>&1
check "a failed bind says \"netInit binding\" and nothing more" 'grep -q "netInit binding" "$work/bind.out" && ! grep -q "netInit binding:" "$work/bind.out"'

[ $fail -eq 0 ] || { for n in host j1 j2 j3 host2; do echo "== $n"; tail -c 1500 "$work/$n.out"; done; }
exit $fail
