# Sourced by every end-to-end script with the script's arguments:
#   source "$(dirname "$0")/common.sh" "$@"
# Gives $exe (the built program), $scripts (the repository's scripts/), a scratch folder $work
# removed at exit, and `check NAME CONDITION`, which prints "ok: NAME" or "FAIL: NAME" and
# remembers a failure in $fail (end the script with `[ $fail -eq 0 ]`).
set -uo pipefail
exe="$1"
scripts="${VANTRELL_SCRIPTS:?}"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
