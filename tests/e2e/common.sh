# The harness of the end-to-end and integration scripts, which source it with their arguments:
#   NEEDS_NETNS=1 source "$(dirname "$0")/../e2e/common.sh" "$@"
# NEEDS_NETNS=1 runs the script again inside a private network namespace first. Gives $exe (the
# game), $peer (the peer driver), $scripts, a scratch folder $work removed at exit with every
# process in $pids, and:
#   check NAME CONDITION    prints "ok: NAME" or "FAIL: NAME"; end the script with `exit $fail`
#   wait_for FILE PATTERN TENTHS   false when the file never holds the pattern in time
#   start NAME CMD...       CMD in the background, its console $work/NAME.txt, keys by `keys NAME K`
#   start_copy NAME SWITCHES...   the game on its own Xvfb display (a `start`); its console ends
#                           with "exit status N"
#   host NAME SWITCHES...   a copy (start_copy) hosting "Arena" from its lobby; false when its
#                           robot never stands in the world
#   walk_out NAME KEYS SWITCHES...   a `host` whose robot then walks out of its safe zone by KEYS
#   on NAME COMMANDS        runs shell COMMANDS on NAME's display, $wid its window
#   press NAME "KEYS"       X key events (xdotool names) to NAME's window
#   count NAME TEXT         how many lines of NAME's console hold TEXT
#   answer NAME             Enter (the menu's "Fight") to each battle menu NAME's copy opened
#                           since the last answer
#   quit NAME [KEYS]        KEYS and then q to NAME's window; waits for its exit status
#   finish NAME...          ends the script: on a failure, the last lines of each NAME's console
#                           first (less the moves, stats and energon chatter)
#   arena "SIZE" "WALLS" "ZONES" [FILTER]   the shipped data with a world of our own (every line
#                           of WALLS and ZONES ends in \n); FILTER, a command, rewrites class 4002
set -uo pipefail
scripts="${VANTRELL_SCRIPTS:?}"
[ "${NEEDS_NETNS:-0}" = 1 ] && [ "${VANTRELL_IN_NETNS:-}" != 1 ] && exec "$scripts/netns-run" bash "$0" "$@"
exe="$1" peer="${2:-}" fail=0 pids=()
declare -A keyfd=()
work="$(mktemp -d)"
export WORK="$work"
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }
wait_for() { for _ in $(seq 1 "$3"); do grep -q -- "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
count() { grep -c -- "$2" "$work/$1.txt" 2>/dev/null; }
declare -A answered=()
answer() {
  local menus
  menus=$(count "$1" "Battle menu for")
  [ "${menus:-0}" -gt "${answered[$1]:-0}" ] && press "$1" Return && answered[$1]=$menus
}
quit() { press "$1" "${2:-} q" && wait_for "$work/$1.txt" "exit status" 50; }
finish() {
  [ $fail -eq 0 ] || for n; do echo "== $n"; grep -iv "$chatter" "$work/$n.txt" | tail -n 40; done
  exit $fail
}
chatter='Added move\|energon\|freeing\|^\(evade\|stamina\|defense\|power\|dexterity\|speed\|energy\|experience\|HP\|Stats\|\*\*\|uid:\)'
on() { echo "$2" >>"$work/$1.do"; }
press() { on "$1" "xdotool key --delay 250 --window \$wid $2"; }
keys() { printf %s "$2" >&"${keyfd[$1]}"; }
start() {
  local name="$1" fd
  shift
  mkfifo "$work/$name.keys"
  "$@" <"$work/$name.keys" >>"$work/$name.txt" 2>&1 &
  pids+=($!)
  exec {fd}>"$work/$name.keys"
  keyfd[$name]=$fd
}
# The copy runs the lines of its .do file one batch at a time, while it lives.
run_copy() {
  local name="$1" wid pid
  shift
  exec 5<&0
  "$@" <&5 &
  pid=$!
  while kill -0 $pid 2>/dev/null; do
    if [ -s "$WORK/$name.do" ]; then
      mv "$WORK/$name.do" "$WORK/$name.doing"
      wid=$(xdotool search --name '^Vantrell IV$' 2>/dev/null | head -n 1)
      if [ -n "$wid" ]; then source "$WORK/$name.doing"; else echo "no window for $name"; fi
    fi
    sleep 0.1
  done
  wait $pid
  echo "exit status $?"
}
export -f run_copy
start_copy() { start "$1" "$scripts/xvfb-test" bash -c 'run_copy "$@"' _ "$1" "$exe" "${@:2}"; }
host() { start_copy "$1" "${@:2}" -c Arena && sleep 2.5 && keys "$1" s && wait_for "$work/$1.txt" "stands at" 100; }
walk_out() {
  host "$1" "${@:3}" || echo "the robot of $1 did not start"
  sleep 1
  press "$1" "$2"
  sleep 2
}
arena() {
  mkdir -p "$work/data/worlds" "$work/data/robotclasses"
  for f in "${VANTRELL_DATA:?}"/* "$VANTRELL_DATA"/robotclasses/*; do
    case "$f" in */worlds | */robotclasses) ;;
      */robotclasses/*) if [ -n "${4:-}" ] && grep -q '^4002$' "$f"; then $4 <"$f" >"$work/data/robotclasses/${f##*/}"; else ln -s "$f" "$work/data/robotclasses/"; fi ;;
      *) ln -s "$f" "$work/data/" ;; esac
  done
  printf "size:\n%s\nwalls:\n$2safe zones:\n$3" "$1" >"$work/data/worlds/bigworld.txt"
  export VANTRELL_DATA="$work/data"
}
