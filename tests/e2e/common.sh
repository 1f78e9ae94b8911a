# Sourced by every end-to-end and integration script with the script's arguments:
#   source "$(dirname "$0")/common.sh" "$@"
# A script that sets NEEDS_NETNS=1 (or NEEDS_DISPLAY=1) before sourcing runs again inside a
# private network namespace (or on its own Xvfb display) first.
# Gives $exe (the first argument), $scripts (the repository's scripts/), a scratch folder $work
# removed at exit together with every process listed in $pids, `check NAME CONDITION`, which
# prints "ok: NAME" or "FAIL: NAME" and remembers a failure in $fail (end the script with
# `[ $fail -eq 0 ]`), and `wait_for FILE PATTERN TENTHS`, which waits until the file holds the
# pattern (false when it never does).
set -uo pipefail
scripts="${VANTRELL_SCRIPTS:?}"
if [ "${NEEDS_NETNS:-0}" = "1" ] && [ "${VANTRELL_IN_NETNS:-}" != "1" ]; then
  exec "$scripts/netns-run" bash "$0" "$@"
fi
if [ "${NEEDS_DISPLAY:-0}" = "1" ] && [ -z "${DISPLAY:-}" ]; then
  exec "$scripts/xvfb-test" bash "$0" "$@"
fi
exe="$1"
fail=0
pids=()
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }
wait_for() {
  for _ in $(seq 1 "$3"); do grep -q -- "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}
work="$(mktemp -d)"
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
