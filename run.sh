#!/usr/bin/env bash
# Installs what is missing, builds, and starts Numira (or Bairo: ./run.sh bairo).
source "$(dirname "$0")/scripts/setup.sh"
case "${1:-numira}" in
  numira|Numira) program=numira ;;
  bairo|Bairo) program=bairo ;;
  *) echo "usage: $0 [numira|bairo]" >&2; exit 2 ;;
esac
# The programs read their pictures, sounds and help from the working directory.
cd "$BUILD_DIR/bin"
exec "./$program"
