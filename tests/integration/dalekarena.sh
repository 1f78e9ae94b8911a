# Sourced after tests/e2e/common.sh by the tests that put a real player's copy against an enemy
# server in a small arena. The data are the shipped ones but for the world: SIZE cells, one
# wall box DECK ("X Y Z:X Y Z", the deck the robots stand on at height 2) and the player's home
# centred on (1, 3): its robot, "Jill", starts at (2, 3, 2) facing east. The player's console is "$log", the server's
# "$server"; keys go to the player's window with `press player "KEYS"` (twocopies.sh).
#   arena_data "SIZE" "DECK" [CLASSFILTER]     writes the data folder; CLASSFILTER, a command,
#                                              rewrites the player's class file (4002)
#   start_player "SWITCHES" STEPS             starts the copy, then STEPS steps east
#   start_server COUNT                        starts a server with COUNT daleks; $server_pid
arena_data() {
  local data="$work/data" f
  mkdir -p "$data/worlds" "$data/robotclasses"
  for f in "${VANTRELL_DATA:?}"/*; do
    case "$(basename "$f")" in worlds | robotclasses) ;; *) ln -s "$f" "$data/" ;; esac
  done
  for f in "$VANTRELL_DATA"/robotclasses/*; do
    if [ -n "${3:-}" ] && grep -q '^4002$' "$f"; then
      $3 <"$f" >"$data/robotclasses/$(basename "$f")"
    else
      ln -s "$f" "$data/robotclasses/"
    fi
  done
  printf 'size:\n%s\nwalls:\n%s "none"\nsafe zones:\n0 1 3 2\n' "$1" "$2" \
    >"$data/worlds/bigworld.txt"
  export VANTRELL_DATA="$data"
}

source "$(dirname "$0")/twocopies.sh"
log="$work/player.txt" server="$work/server.txt"

start_player() {
  mkfifo "$work/player.keys"
  # shellcheck disable=SC2086 # the switches are words
  "$scripts/xvfb-test" bash "$work/copy.sh" "$exe" player -n Jill $1 -c Arena &
  pids+=($!)
  exec 3>"$work/player.keys"
  sleep 2.5
  printf s >&3
  wait_for "$log" "Jill stands at (2, 3, 2)" 100 || echo "the player's robot did not start"
  sleep 1
  press player "$(printf 'Up %.0s' $(seq 1 "$2"))"
  sleep 2
}

start_server() {
  env -u DISPLAY "$exe" -d 0 "$1" >"$server" 2>&1 &
  server_pid=$!
  pids+=($server_pid)
}
