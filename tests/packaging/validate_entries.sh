#!/usr/bin/env bash
# Validates the desktop entries with desktop-file-validate and the AppStream
# metainfo with appstreamcli, as shipped in packaging/. Warnings fail too;
# only AppStream's pedantic hints and desktop-file-validate's hints pass.
#
#   validate_entries.sh desktop|metainfo <file>...
#
# Exits 77 (skipped) when the validator is not installed (scripts/setup.sh
# installs both).
set -uo pipefail
kind=$1
shift
case $kind in
  desktop) tool=(desktop-file-validate) ;;
  metainfo) tool=(appstreamcli validate --no-net --strict --explain) ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac
command -v "${tool[0]}" >/dev/null || { echo "${tool[0]} is not installed"; exit 77; }
output=$("${tool[@]}" "$@" 2>&1)
rc=$?
printf '%s\n' "$output"
[ $rc -eq 0 ] || exit $rc
if grep -q ': warning: ' <<<"$output"; then
  echo "desktop-file-validate warned"
  exit 1
fi
echo "valid: $*"
