#!/usr/bin/env bash
# host_state.sh record|check FILE: records the state of the host's own fixed
# paths before the sandboxed tests run, and checks afterwards that they are
# as they were. The sandboxed tests write all of these paths inside their
# private machine; none of it may reach the host.
set -eu
mode=$1 file=$2
state() {
  for path in /var/ostra /etc/hba.conf /usr/lib/libqlsdm.so /usr/lib/libemsdm.so /usr/lib/bfahbaapi.so; do
    if [ -e "$path" ]; then
      echo "$path $(find "$path" -type f -exec sha256sum {} + 2>/dev/null | sort | sha256sum)"
    else
      echo "$path absent"
    fi
  done
  echo "/sys $(ls /sys | tr '\n' ' ')"
}
case $mode in
  record) state > "$file" ;;
  check)
    if ! diff -u "$file" <(state); then
      echo "host_state: the tests changed the host's fixed paths" >&2
      exit 1
    fi
    echo "host_state: host untouched" ;;
  *) echo "usage: host_state.sh record|check FILE" >&2; exit 2 ;;
esac
