# Sourced after tests/e2e/common.sh by the tests that play two real copies, each on its own Xvfb
# display, over multicast on loopback: starts a host ("Hank", hosting "Arena") and a joiner
# ("Jill") with the extra switches given, takes both through the lobby and waits until each
# has the other's robot. Their consoles are "$work/host.txt" and "$work/joiner.txt".
#   start_two_copies "HOST SWITCHES" "JOINER SWITCHES"
#   press NAME "KEYS"   hands the keys (xdotool names, one X key event each) to NAME's window
#   count NAME TEXT     how many lines of NAME's console hold TEXT
# The copy's window quits on "q", and "exit status N" ends its console.

# One copy on its own display: its lobby keys come from a fifo; every line of the "press" file
# is handed to its window as X key events, one line at a time.
cat >"$work/copy.sh" <<'INNER'
exe="$1"; name="$2"; shift 2
"$exe" "$@" <"$WORK/$name.keys" >"$WORK/$name.txt" 2>&1 &
pid=$!
while kill -0 $pid 2>/dev/null; do
  if [ -s "$WORK/$name.press" ]; then
    mv "$WORK/$name.press" "$WORK/$name.pressing"
    wid=$(xdotool search --name '^Vantrell IV$' 2>/dev/null | head -n 1)
    while read -r keys; do
      [ -n "$wid" ] && xdotool key --delay 250 --window "$wid" $keys
    done <"$WORK/$name.pressing"
    [ -z "$wid" ] && echo "no window for $name" >>"$WORK/$name.txt"
  fi
  sleep 0.1
done
wait $pid
echo "exit status $?" >>"$WORK/$name.txt"
INNER
export WORK="$work"
press() { echo "$2" >>"$work/$1.press"; }
count() { grep -c -- "$2" "$work/$1.txt" 2>/dev/null; }

start_two_copies() {
  for name in host joiner; do mkfifo "$work/$name.keys"; done
  # shellcheck disable=SC2086 # the switches are words
  "$scripts/xvfb-test" bash "$work/copy.sh" "$exe" host -n Hank $1 -c Arena &
  pids+=($!)
  exec 3>"$work/host.keys"
  sleep 1
  # shellcheck disable=SC2086
  "$scripts/xvfb-test" bash "$work/copy.sh" "$exe" joiner -n Jill $2 &
  pids+=($!)
  exec 4>"$work/joiner.keys"
  wait_for "$work/joiner.txt" "1. Arena" 80 || echo "the joiner never saw the game"
  printf 1 >&4
  wait_for "$work/host.txt" " \* Jill" 60 || echo "the host never saw the joiner"
  printf s >&3
  wait_for "$work/joiner.txt" "Robot 3000 joined the game" 100
  wait_for "$work/host.txt" "Robot 3001 joined the game" 50
}
