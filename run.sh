#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the programs with their sound module and
# files (not the tests and benchmarks), and starts Numira (or Bairo: ./run.sh bairo;
# the adults' records window: ./run.sh kiroku).
BUILD_TARGETS="Numira Bairo Kiroku sound_module assets"
source "$(dirname "$0")/scripts/setup.sh"
case "${1:-numira}" in
  numira|Numira) program=numira ;;
  bairo|Bairo) program=bairo ;;
  kiroku|Kiroku) program=kiroku ;;
  *) echo "usage: $0 [numira|bairo|kiroku]" >&2; exit 2 ;;
esac
# The programs read their pictures, sounds and help from the working directory.
cd "$BUILD_DIR/bin"
exec "./$program"
