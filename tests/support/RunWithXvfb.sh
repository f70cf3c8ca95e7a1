#!/bin/sh
# Runs a command with an X server of its own:
#   RunWithXvfb.sh "<Xvfb screen arguments>" command [argument ...]
# Xvfb chooses a free display number itself (-displayfd) and names it only
# once it accepts connections, so programs started side by side never guess
# the same number, never give up after a number of clashes, and never reach
# another program's server. The server never resets: a reset, when its last
# client leaves, refuses whoever connects at that moment, and test programs
# connect and leave many times (one child process after another). The
# command's exit status is the script's.
set -u

screen_args=$1
shift

dir=$(mktemp -d "${TMPDIR:-/tmp}/vz-xvfb.XXXXXX") || exit 70
xvfb=
cleanup()
{
    if [ -n "$xvfb" ]; then
        # A server still starting up can miss the first request to stop:
        # ask again, then end it.
        kill "$xvfb" 2>/dev/null
        (
            for s in TERM TERM KILL; do
                sleep 2
                kill -s "$s" "$xvfb" 2>/dev/null || exit 0
            done
        ) </dev/null >/dev/null 2>&1 &
        watchdog=$!
        wait "$xvfb" 2>/dev/null
        kill "$watchdog" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# The server reads its cookies once at start, whatever display they name;
# the clients look the cookie up by the number the server chose.
cookie=$(mcookie) || exit 70
auth=$dir/Xauthority
xauth -q -f "$auth" add :0 . "$cookie" 2>/dev/null || exit 70
mkfifo "$dir/ready" || exit 70

# shellcheck disable=SC2086 # the screen arguments are words
Xvfb -displayfd 3 -noreset -nolisten tcp -auth "$auth" $screen_args 3>"$dir/ready" >"$dir/log" 2>&1 &
xvfb=$!
number=
read -r number <"$dir/ready"
case "$number" in
'' | *[!0-9]*)
    echo "RunWithXvfb.sh: Xvfb did not start:" >&2
    cat "$dir/log" >&2
    exit 70
    ;;
esac
xauth -q -f "$auth" add ":$number" . "$cookie" 2>/dev/null || exit 70

DISPLAY=:$number XAUTHORITY=$auth "$@"
status=$?
exit $status
