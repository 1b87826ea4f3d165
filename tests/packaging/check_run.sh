#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The README's first command as a newcomer meets it: a clean copy of the
# tracked tree (no build folder), ./run.sh for each program, each started
# offscreen until its window is painted and then quit (APP_QUIT_AFTER_SHOW,
# as the start-up benchmark starts them). A target that run.sh names and the
# build no longer has, a file the build needs and git does not track, or a
# program that cannot start fails here.
#
#   check_run.sh <source dir> <scratch dir>
#
# The programs' settings and records go to folders in the scratch dir, not to
# the home of whoever runs the suite.
set -euo pipefail
src=$1 scratch=$2

rm -rf "$scratch"
mkdir -p "$scratch/tree" "$scratch/config" "$scratch/data" "$scratch/runtime"
chmod 700 "$scratch/runtime"
# What a clone holds: the tracked files as they stand in the working tree.
git -C "$src" ls-files -z | (cd "$src" && tar --null --files-from=- --ignore-failed-read -cf -) |
  tar -xf - -C "$scratch/tree"

# The test command's compiler cache (its environment, passed on by ctest)
# serves this build as well: the copy's paths, relative to its build folder,
# are the first build's.
failures=0
for program in numira bairo kiroku; do
  echo "== ./run.sh $program"
  log=$scratch/$program.log
  if (cd "$scratch/tree" &&
      XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_RUNTIME_DIR=$scratch/runtime \
      QT_QPA_PLATFORM=offscreen APP_QUIT_AFTER_SHOW=1 timeout 1200 ./run.sh "$program") >"$log" 2>&1 &&
     grep -qE '^shown [0-9]+$' "$log"; then
    echo "$program: built and shown"
  else
    tail -n 40 "$log"
    echo "FAIL: ./run.sh $program did not build and show its window"
    failures=$((failures + 1))
  fi
done
rm -rf "$scratch"
exit $((failures > 0))
