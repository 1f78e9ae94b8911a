#!/usr/bin/env bash
# Every start loads the game's data set: the headless server prints each robot class, weapon,
# armor, item and skill as it registers it, with no complaint about the files, before it acts on
# its command line.
source "$(dirname "$0")/common.sh" "$@"

env -u DISPLAY "$scripts/netns-run" timeout --preserve-status 5 "$exe" -d 1 1 >"$work/out.txt" 2>&1; rc=$?
check "server mode starts and ends" '[ $rc -eq 0 ]'
check "three robot classes" '[ "$(grep -c "^RobotClass$" "$work/out.txt")" -eq 3 ]'
check "twenty-two weapons, armor, items and skills" '[ "$(grep -c "^\*\*$" "$work/out.txt")" -eq 22 ]'
check "no file complaints" '! grep -E "Error reading|out of range|not registered|cut to|ignored" "$work/out.txt"'
check "the data loads before the command line is acted on" \
  '[ "$(grep -n "^\*\*$" "$work/out.txt" | tail -n 1 | cut -d: -f1)" -lt "$(grep -m1 -n "Enemy robot server" "$work/out.txt" | cut -d: -f1)" ]'
[ $fail -eq 0 ] || tail -n 20 "$work/out.txt"
[ $fail -eq 0 ]
