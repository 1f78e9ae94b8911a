#!/usr/bin/env bash
# Sound in the running program, heard through SDL's "disk" audio driver (the output is written
# to a file): a hosting copy plays the wandering music once the game starts and quits cleanly on
# 'q'; the enemy robot server initialises sound but plays nothing, and runs without any device.
source "$(dirname "$0")/common.sh" "$@"

# The loudest 16-bit sample of a raw output file (0 for an empty or missing file).
loudest() {
  python3 - "$1" <<'PY'
import array, sys
data = array.array("h")
try:
    with open(sys.argv[1], "rb") as f:
        raw = f.read()
    data.frombytes(raw[: len(raw) // 2 * 2])
except OSError:
    pass
print(max((abs(s) for s in data), default=0))
PY
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/host.raw" "$scripts/netns-run" "$scripts/xvfb-test" \
  bash "$(dirname "$0")/host_session.sh" "$exe" "$work" 2; rc=$?
check "the hosting copy runs and quits on q with sound on" '[ $rc -eq 0 ]'
check "the output holds a second or more of audio" \
  '[ "$(stat -c %s "$work/host.raw" 2>/dev/null || echo 0)" -ge 176400 ]'
check "the wandering music is heard once the game starts" '[ "$(loudest "$work/host.raw")" -gt 1000 ]'

env -u DISPLAY SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/server.raw" \
  "$scripts/netns-run" timeout 20 "$exe" -d 1 2 >"$work/server.txt" 2>&1; rc=$?
check "the server runs with sound initialised" '[ $rc -eq 0 ]'
check "the server opened the output and plays no music" \
  '[ -e "$work/server.raw" ] && [ "$(loudest "$work/server.raw")" -eq 0 ]'

env -u DISPLAY SDL_AUDIODRIVER=no-such-device \
  "$scripts/netns-run" timeout 20 "$exe" -d 1 2 >"$work/silent.txt" 2>&1; rc=$?
check "the server runs without any audio device" '[ $rc -eq 0 ]'
check "no audio device means no message" '! grep -qi -e alsa -e audio -e sdl -e mixer "$work/silent.txt"'

# Whatever this machine has (on a build machine usually no sound card at all): still no message.
env -u DISPLAY -u SDL_AUDIODRIVER \
  "$scripts/netns-run" timeout 20 "$exe" -d 1 2 >"$work/default.txt" 2>&1; rc=$?
check "the server runs on the machine's own audio set-up" '[ $rc -eq 0 ]'
check "and says nothing about it" '! grep -qi -e alsa -e audio -e sdl -e mixer "$work/default.txt"'

[ $fail -eq 0 ]
