#!/bin/sh
# Firmware update package @NUMBER@ for Fibre Channel host bus adapters.
# Run it as root; every argument goes to the update component as given:
#   /f force, /s silent, /d path self-discovery report to path, /h help.
# The archive below is extracted into a private temporary directory, which
# is removed when the component ends; its exit code is the package's.
umask 077
work=$(mktemp -d "${TMPDIR:-/tmp}/PK@NUMBER@.XXXXXXXX") || exit 7
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT HUP TERM
tail -n +@SKIP@ "$0" > "$work/archive" || exit 7
# The archive's own options come first and "--" ends them, so no argument of
# the caller is ever taken as one of them.
TMPDIR=$work sh "$work/archive" --quiet --nox11 --noprogress -- "$@"
exit $?
