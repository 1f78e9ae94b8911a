#!/usr/bin/env bash
# The program as a player starts it: --help; the headless server with no display, which loads the
# data set before it acts on its command line and, heard by nobody, opens no audio output and
# says nothing about the audio set-up it finds; a switch without its value; and a hosting copy
# under Xvfb, heard through SDL's "disk" audio driver, that shows the lit world with the
# wandering music and quits on 'q'.
NEEDS_NETNS=1
source "$(dirname "$0")/common.sh" "$@"

"$exe" --help >"$work/help.txt"; rc=$?
check "--help exits 0 and names the switches" '[ $rc -eq 0 ] && grep -q -- "-d NUMBER COUNT" "$work/help.txt"'
# Each on a game of its own; "": the machine's own audio set-up, on a build machine usually no
# sound card at all.
drivers=(disk "" no-such-device)
for game in 1 2 3; do
  env -u DISPLAY -u SDL_AUDIODRIVER ${drivers[game-1]:+SDL_AUDIODRIVER=${drivers[game-1]}} SDL_DISKAUDIOFILE="$work/server.raw" \
    timeout --preserve-status 5 "$exe" -d $game 3 >"$work/server$game.txt" 2>&1 &
  pids+=($!)
done
# A final -n: the copy joins, its lobby finds no keys and gives up.
"$scripts/xvfb-test" timeout 20 "$exe" -n </dev/null >"$work/missing.txt" 2>&1 &
missing=$!
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/host.raw" host host
sleep 2
on host 'xwininfo -id $wid >"$WORK/info.txt"; import -window $wid "$WORK/screen.png"; xdotool key --window $wid q'
wait_for "$work/host.txt" "exit status" 100
wait $missing

out="$work/server2.txt"
for game in 1 2 3; do
  wait ${pids[game-1]}; rc=$?
  check "the server runs on the ${drivers[game-1]:-default} audio driver without a display and says nothing about it (SDL's own notice aside)" \
    '[ $rc -eq 0 ] && grep -q "game $game with 3 robots" "$work/server$game.txt" && ! grep -v "the SDL disk i/o audio driver" "$work/server$game.txt" | grep -qi -e alsa -e audio -e sdl -e mixer'
done
check "the server, which nobody hears, opens no audio output" '[ ! -e "$work/server.raw" ]'
check "the server loads the world without a file error" 'grep -q "^World worlds.bigworld.txt: 48 x 48" "$out" && ! grep -q "file error" "$out"'
check "the server registers three robot classes and twenty-two weapons, armor, items and skills" \
  '[ "$(grep -c "^RobotClass$" "$out") $(grep -c "^\*\*$" "$out")" = "3 22" ]'
check "no complaint about the data files" '! grep -E "Error reading|out of range|not registered|cut to|ignored" "$out"'
check "the data loads before the command line is acted on" \
  '[ "$(grep -n "^\*\*$" "$out" | tail -n 1 | cut -d: -f1)" -lt "$(grep -m1 -n "Enemy robot server" "$out" | cut -d: -f1)" ]'
check "a missing value is reported once" '[ "$(grep -c "Missing value after -n" "$work/missing.txt")" -eq 1 ]'

check "the window is 640 x 480, the lobby starts the game, and q quits with status 0" \
  'grep -q "Width: 640" "$work/info.txt" && grep -q "Height: 480" "$work/info.txt" && grep -q "1. Arena" "$work/host.txt" && grep -q "exit status 0" "$work/host.txt"'
check "the host plays Vantrell, the Heroic Robot, as player 0 beside its home" \
  'grep -q "player 0" "$work/host.txt" && grep -q "^Robot Vantrell$" "$work/host.txt" && grep -q "^Desc: Heroic Robot$" "$work/host.txt" && grep -q "^Vantrell stands at (5, 4, 2) facing 0$" "$work/host.txt"'
check "the host reads the world and every texture without an error" \
  'grep -q "^World worlds.bigworld.txt" "$work/host.txt" && ! grep -q "file error\|Unable to load texture" "$work/host.txt"'
# The world around the home, not a black window: most of the picture is lit, and the lower
# middle, where the player stands on its blue safe zone, is bluer than it is red.
lit="$(convert "$work/screen.png" -colorspace Gray -threshold 8% -format "%[fx:mean]" info: 2>/dev/null)"
check "the window shows the lit world (lit share $lit)" '[ -n "$lit" ] && awk -v f="$lit" "BEGIN { exit !(f > 0.5) }"'
home="$(convert "$work/screen.png" -crop 120x80+240+180 -scale 1x1 -format "%[fx:int(255*b)] %[fx:int(255*r)]" info: 2>/dev/null)"
check "the player's blue home lies in the middle of the view ($home)" '[ -n "$home" ] && awk -v b="${home% *}" -v r="${home#* }" "BEGIN { exit !(b > r + 40) }"'
# The loudest 16-bit sample of the host's sound.
loud="$(python3 -c 'import array, sys; b = open(sys.argv[1], "rb").read()
print(max(map(abs, array.array("h", b[: len(b) // 2 * 2])), default=0))' "$work/host.raw" 2>/dev/null)"
check "the wandering music is heard once the game starts (loudest $loud)" '[ "${loud:-0}" -gt 1000 ]'
exit $fail
