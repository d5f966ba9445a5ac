#!/bin/sh
# Runs the component from the directory the package was extracted into,
# with the caller's arguments. A relative report path after "/d" or "-d"
# means a path in the caller's directory (USER_PWD, set by the archive), so
# it is made absolute: the extraction directory is removed afterwards.
# "-" (standard output) and paths that are options themselves stay as they
# are, since the component examines those as options too.
is_option() {
  case $1 in
    /s|-s|/f|-f|/e|-e|/g|-g|/h|-h|/d|-d) return 0 ;;
  esac
  return 1
}

count=$#
take_path=no
while [ "$count" -gt 0 ]; do
  arg=$1
  shift
  count=$((count - 1))
  if [ "$take_path" = yes ] && ! is_option "$arg"; then
    case $arg in
      /*|-|'') ;;
      *) arg=${USER_PWD:-$PWD}/$arg ;;
    esac
  fi
  take_path=no
  case $arg in
    /d|-d) take_path=yes ;;
  esac
  set -- "$@" "$arg"
done
exec ./hbafw "$@"
