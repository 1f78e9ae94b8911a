#!/usr/bin/env bash
# Sound in the running program, heard through SDL's "disk" audio driver (the output is written
# to a file): a hosting copy plays the wandering music once the game starts and quits cleanly on
# 'q'; the enemy robot server plays nothing, and says nothing about the audio set-up it finds.
source "$(dirname "$0")/common.sh" "$@"

# The loudest 16-bit sample of a raw output file (0 for an empty or missing file).
loudest() {
  python3 -c 'import array, sys; b = open(sys.argv[1], "rb").read()
print(max(map(abs, array.array("h", b[: len(b) // 2 * 2])), default=0))' "$1" 2>/dev/null || echo 0
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/host.raw" "$scripts/netns-run" "$scripts/xvfb-test" \
  bash "$(dirname "$0")/host_session.sh" "$exe" "$work" 2; rc=$?
check "the hosting copy runs and quits on q with sound on" '[ $rc -eq 0 ]'
check "the wandering music is heard once the game starts" '[ "$(loudest "$work/host.raw")" -gt 1000 ]'

# "": the machine's own set-up, on a build machine usually no sound card at all. SDL itself
# announces the disk driver; that notice is its own.
for driver in disk no-such-device ""; do
  env -u DISPLAY -u SDL_AUDIODRIVER ${driver:+SDL_AUDIODRIVER=$driver} \
    SDL_DISKAUDIOFILE="$work/server.raw" "$scripts/netns-run" timeout --preserve-status 5 "$exe" -d 1 2 \
    >"$work/server.txt" 2>&1; rc=$?
  check "the server runs on the ${driver:-default} audio driver and says nothing about it" \
    '[ $rc -eq 0 ] && ! grep -v "the SDL disk i/o audio driver" "$work/server.txt" |
      grep -qi -e alsa -e audio -e sdl -e mixer'
done
check "the server, which nobody hears, opens no audio output" '[ ! -e "$work/server.raw" ]'

[ $fail -eq 0 ]
