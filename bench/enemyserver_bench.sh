#!/usr/bin/env bash
# What the enemy robot server costs: 8 daleks in game 0 for a bounded time (20 s unless a number
# of seconds is given), measured from the end of start-up to the stop. Prints the server's share
# of one core (user and system time over the time it ran) and its peak memory (VmHWM).
#   bench/enemyserver_bench.sh build/dev/vantrell [SECONDS]
# It runs itself inside a private network namespace, so its multicast stays on loopback.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${VANTRELL_IN_NETNS:-}" != "1" ]; then
  exec "$here/scripts/netns-run" bash "$0" "$@"
fi
exe="$1" seconds="${2:-20}"
export VANTRELL_DATA="${VANTRELL_DATA:-$here/data}" SDL_AUDIODRIVER=dummy
env -u DISPLAY "$exe" -d 0 8 >/dev/null 2>&1 &
server=$!
trap 'kill -TERM $server 2>/dev/null' EXIT
sleep 2 # start-up: the definitions and the world are read
ticks() { awk '{print $14 + $15}' "/proc/$server/stat"; }
hz=$(getconf CLK_TCK)
t0=$(date +%s.%N) c0=$(ticks)
sleep "$seconds"
t1=$(date +%s.%N) c1=$(ticks)
peak=$(awk '/^VmHWM/ {print $2}' "/proc/$server/status")
kill -TERM $server
wait $server
awk -v c="$((c1 - c0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" -v kb="$peak" -v s="$seconds" 'BEGIN {
  printf "enemy server, 8 daleks, %d s: CPU %.2f%% of one core, peak memory %.1f MB\n",
         s, 100 * c / hz / (t1 - t0), kb / 1024 }'
