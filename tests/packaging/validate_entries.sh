#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates the desktop entries with desktop-file-validate and the AppStream
# metainfo with appstreamcli --pedantic, as generated into the build folder.
# Any message fails, hints and pedantic notes included, but one: AppStream
# before 1.0 (Debian 12 has 0.16) does not know <developer>, which the entries
# carry for newer software centres beside the older <developer_name>.
#
#   validate_entries.sh desktop|metainfo <file>...
#
# Exits 77 (skipped) when the validator is not installed (scripts/setup.sh
# installs both).
set -uo pipefail
kind=$1
shift
case $kind in
  desktop) tool=(desktop-file-validate) issues='^[^ ].*: (error|warning|hint): ' ;;
  metainfo) tool=(appstreamcli validate --no-net --pedantic --explain) issues='^ *[EWIP]: ' ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac
command -v "${tool[0]}" >/dev/null || { echo "${tool[0]} is not installed"; exit 77; }
output=$("${tool[@]}" "$@" 2>&1)
rc=$?
printf '%s\n' "$output"
[ $rc -eq 0 ] || exit $rc
if grep -E "$issues" <<<"$output" | grep -Ev '^ *I: [^ ]+: unknown-tag developer$'; then
  echo "${tool[0]} reported the issues above"
  exit 1
fi
echo "valid: $*"
