#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite offscreen.
source "$(dirname "$0")/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)"
