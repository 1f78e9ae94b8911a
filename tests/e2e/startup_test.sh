#!/usr/bin/env bash
# The program as a player starts it: --help, the headless server with no display, a switch
# without its value, and the window of a hosting copy under Xvfb that quits on 'q'.
source "$(dirname "$0")/common.sh" "$@"

"$exe" --help >"$work/help.txt"; rc=$?
check "--help exits 0" '[ $rc -eq 0 ]'
check "--help names the switches" 'grep -q -- "-d NUMBER COUNT" "$work/help.txt"'

env -u DISPLAY "$scripts/netns-run" timeout --preserve-status 5 "$exe" -d 2 3 >"$work/server.txt" 2>&1; rc=$?
check "server mode runs without a display" '[ $rc -eq 0 ]'
check "server mode reports its game" 'grep -q "game 2 with 3 robots" "$work/server.txt"'
check "server mode loads the world" 'grep -q "^World worlds.bigworld.txt: 48 x 48" "$work/server.txt"'
check "server mode reads the world without a file error" '! grep -q "file error" "$work/server.txt"'

# A final -n: the copy joins, its lobby finds no keys and gives up.
"$scripts/netns-run" "$scripts/xvfb-test" timeout 20 "$exe" -n </dev/null >"$work/missing.txt" 2>&1
check "a missing value is reported once" '[ "$(grep -c "Missing value after -n" "$work/missing.txt")" -eq 1 ]'

"$scripts/netns-run" "$scripts/xvfb-test" \
  bash "$(dirname "$0")/host_session.sh" "$exe" "$work" 1.5; rc=$?
check "the window opens, the lobby starts the game, and q quits" '[ $rc -eq 0 ]'
check "the window is 640 x 480" 'grep -q "Width: 640" "$work/info.txt" && grep -q "Height: 480" "$work/info.txt"'
check "the host plays as player 0" 'grep -q "player 0" "$work/game.txt"'
check "the lobby showed the hosted game" 'grep -q "1. Test" "$work/game.txt"'
check "the host's robot is printed with its name and description" \
  'grep -q "^Robot Vantrell$" "$work/game.txt" && grep -q "^Desc: Heroic Robot$" "$work/game.txt"'
check "the host's robot stands beside its home" 'grep -q "^Vantrell stands at (5, 4, 2) facing 0$" "$work/game.txt"'
check "the host reads the world without a file error" \
  'grep -q "^World worlds.bigworld.txt" "$work/game.txt" && ! grep -q "file error" "$work/game.txt"'
check "every texture of the world loads" '! grep -q "Unable to load texture" "$work/game.txt"'
# The world around the home, not a black window: most of the picture is lit, and the lower
# middle, where the player stands on its blue safe zone, is bluer than it is red.
lit="$(convert "$work/screen.png" -colorspace Gray -threshold 8% -format "%[fx:mean]" info: 2>/dev/null)"
check "the window shows the lit world (lit share $lit)" '[ -n "$lit" ] && awk -v f="$lit" "BEGIN { exit !(f > 0.5) }"'
home="$(convert "$work/screen.png" -crop 120x80+240+180 -scale 1x1 -format "%[fx:int(255*b)] %[fx:int(255*r)]" info: 2>/dev/null)"
check "the player's blue home lies in the middle of the view ($home)" '[ -n "$home" ] && awk -v b="${home% *}" -v r="${home#* }" "BEGIN { exit !(b > r + 40) }"'

[ $fail -eq 0 ]
