# Sourced by the checks that type X keys into the test session's display: sets runner
# (the Wine runner), DISPLAY, and work, a folder removed on exit.
runner="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/wine-run.sh"
state=$(realpath -m "${LUMIGRAB_TEST_STATE:?LUMIGRAB_TEST_STATE names the test session folder}")
DISPLAY=$(cat "$state/display")
export DISPLAY
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
