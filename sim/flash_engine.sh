#!/bin/sh
# Stand-in for a vendor flash engine, dropped into a package directory
# under the engine's name. Each run appends its arguments, one line per run,
# to "<name>.args" beside it; prints one line on standard output, standard
# error and descriptor 3 (when it is open); and exits with the status in
# "<name>.status" beside it (0 when there is none). A status of "kill"
# makes it end itself with SIGKILL instead, as an interrupted flash would.
# A copy made as one of several builds of a tool has its build's name set
# below, and records it in "<name>.build".
build=
here=$(dirname "$0")
name=$(basename "$0")
echo "$*" >> "$here/$name.args"
[ -z "$build" ] || echo "$build" >> "$here/$name.build"
echo "$name: out $*"
echo "$name: err" >&2
{ echo "$name: fd3" >&3; } 2>/dev/null
status=0
[ -f "$here/$name.status" ] && status=$(cat "$here/$name.status")
if [ "$status" = kill ]; then
  kill -KILL $$
fi
exit "$status"
