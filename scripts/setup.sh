# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: install what is missing, then configure and
# build into ./build: everything, or only the targets named in BUILD_TARGETS
# (run.sh builds just what it starts). Sourced, not run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# What the programs need to build and run.
PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-multimedia-dev
          fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n)
PACKAGES+=(qt6-svg-dev)  # make_assets writes the scalable icons with it
PACKAGES+=(libqt6sql6-sqlite)  # the records file (Qt SQL's SQLite driver)
PACKAGES+=(libqt6sql6-psql)    # a school's records server (Qt SQL's PostgreSQL driver)
# The records window's charts; Qt Charts' CMake files need Qt OpenGL's, which
# Debian's qt6-charts-dev does not pull in.
PACKAGES+=(qt6-charts-dev libqt6opengl6-dev)
# What the tests need besides, when everything is built (test.sh).
if [ -z "${BUILD_TARGETS:-}" ]; then
  # clang, its sanitizer and libFuzzer runtimes and llvm (llvm-symbolizer for
  # readable sanitizer reports) serve test.sh's sanitizer build and fuzzers.
  PACKAGES+=(poppler-utils clang libclang-rt-14-dev llvm clang-format)
  PACKAGES+=(clang-tidy)   # the naming check, on ./build's compile_commands.json
  PACKAGES+=(ccache)       # test.sh's compiler cache, shared with the run.sh check's clean copy
  PACKAGES+=(appstream desktop-file-utils dpkg-dev file) # validators and cpack's dpkg-shlibdeps
  PACKAGES+=(lintian)      # the package check runs it on the .deb
  PACKAGES+=(postgresql)   # the records' server tests run a private cluster of it
  # The end-to-end tests: an X server, D-Bus and the accessibility bus, dogtail
  # and pyatspi to read the windows, xdotool and python3-xlib (XTEST) to click
  # and type, xprop for titles, ImageMagick for screenshots, and a private
  # PulseAudio whose sink is recorded (parec) to hear the sounds; faketime
  # runs a drill and the records window on a later day.
  PACKAGES+=(xvfb dbus-daemon dbus-bin at-spi2-core python3 python3-dogtail python3-pyatspi
             python3-xlib xdotool x11-utils imagemagick pulseaudio pulseaudio-utils faketime)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Please install the missing packages first:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
read -r -a targets <<<"${BUILD_TARGETS:-}"
cmake --build "$BUILD_DIR" --parallel "$(nproc)" ${targets[@]+--target "${targets[@]}"}
