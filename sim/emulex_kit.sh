#!/bin/sh
# emulex_kit.sh DIR VERSION QUERY_FILE STATUS: writes the stand-in Emulex
# kit DIR/elxflashStandalone-VERSION.zip. Its script
# elxflashStandalone-VERSION/lx/elxflash.sh prints QUERY_FILE's lines for
# "/q"; any other run appends its arguments to "elxflash.sh.args" beside the
# script, prints a line on standard output, standard error and descriptor 3,
# and exits with STATUS.
set -eu
dir=$1 version=$2 query=$3 status=$4
work=$(mktemp -d)
kit=elxflashStandalone-$version
mkdir -p "$work/$kit/lx"
cp "$query" "$work/$kit/lx/query.txt"
cat > "$work/$kit/lx/elxflash.sh" <<SCRIPT
#!/bin/sh
here=\$(dirname "\$0")
if [ "\$1" = /q ]; then
  cat "\$here/query.txt"
  exit 0
fi
echo "\$*" >> "\$here/elxflash.sh.args"
echo "elxflash: out \$*"
echo "elxflash: err" >&2
{ echo "elxflash: fd3" >&3; } 2>/dev/null
exit $status
SCRIPT
chmod 644 "$work/$kit/lx/elxflash.sh"
(cd "$work" && zip -qr "$kit.zip" "$kit")
mv "$work/$kit.zip" "$dir/"
rm -rf "$work"
