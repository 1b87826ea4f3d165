#!/usr/bin/env bash
# Builds the .deb from the build folder, unpacks it into a scratch root with
# dpkg -x and checks it as a technician would meet it: its control fields,
# exactly the expected files, valid desktop and AppStream entries, and both
# programs starting offscreen from another working directory until their
# window shows, with every file they read found in the unpacked tree.
#
#   check_deb.sh <build dir> <scratch dir> <install_probe>
#
# Everything is written under the scratch dir (in the build tree).
set -euo pipefail
build=$1 scratch=$2 probe=$3

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/root"

echo "== cpack"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { ls -l "$scratch/out"; echo "FAIL: expected one .deb"; exit 1; }
deb=${debs[0]}
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"

echo "== control"
dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Depends
[ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "Section is not education"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
for p in fonts-ipafont-gothic fonts-ipafont-mincho qt6-qpa-plugins \
         libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6multimedia6; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done
description=$(dpkg-deb -f "$deb" Description)
grep -q 'Numira' <<<"$description" && grep -q 'ヌミラ' <<<"$description" ||
  fail "Description lacks the English or the Japanese name"

echo "== files"
dpkg -x "$deb" "$scratch/root"
root=$(cd "$scratch/root" && pwd -P)
expected=(
  usr/bin/Bairo
  usr/bin/Numira
  usr/lib/bairo/libappsound.so
  usr/lib/numira/libappsound.so
  usr/share/applications/org.example.bairo.desktop
  usr/share/applications/org.example.numira.desktop
  usr/share/bairo/batu1.bmp
  usr/share/bairo/batu1@2x.png
  usr/share/bairo/batu1.wav
  usr/share/bairo/maru1.bmp
  usr/share/bairo/maru1@2x.png
  usr/share/bairo/maru1.wav
  usr/share/bairo/mascot.bmp
  usr/share/bairo/mascot@2x.png
  usr/share/icons/hicolor/128x128/apps/bairo.png
  usr/share/icons/hicolor/128x128/apps/numira.png
  usr/share/metainfo/org.example.bairo.metainfo.xml
  usr/share/metainfo/org.example.numira.metainfo.xml
  usr/share/numira/batu1.bmp
  usr/share/numira/batu1@2x.png
  usr/share/numira/batu1.wav
  usr/share/numira/maru1.bmp
  usr/share/numira/maru1@2x.png
  usr/share/numira/maru1.wav
  usr/share/numira/mascot.bmp
  usr/share/numira/mascot@2x.png
  usr/share/numira/numira.hlp
)
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if ! diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) <(printf '%s\n' "$actual"); then
  fail "the package does not hold exactly the expected files (< expected, > found)"
fi
for f in usr/bin/Numira usr/bin/Bairo; do
  [ -x "$root/$f" ] || fail "$f is not executable"
done
# Icons: PNG files of 128×128 (width and height in the IHDR chunk).
for icon in "$root"/usr/share/icons/hicolor/128x128/apps/*.png; do
  size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$(head -c4 "$icon" | od -An -c | tr -d ' ')" = '211PNG' ] && [ "$size" = 128x128 ] ||
    fail "$(basename "$icon") is not a 128x128 PNG ($size)"
done

echo "== desktop and AppStream entries"
for id in org.example.numira org.example.bairo; do
  desktop=$root/usr/share/applications/$id.desktop
  exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -x "$root/usr/bin/$exec" ] || fail "$id: Exec=$exec is not an installed program"
  [ -f "$root/usr/share/icons/hicolor/128x128/apps/$icon.png" ] || fail "$id: no icon $icon"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$root/usr/share/metainfo/$id.metainfo.xml" || fail "$id: metainfo does not launch $id.desktop"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate $id.desktop"
  fi
done
if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
fi

echo "== start-up from / (no files in the working directory)"
export QT_QPA_PLATFORM=offscreen
unset APP_SILENT_AUDIO
[ ! -e /mascot.bmp ] || fail "/mascot.bmp exists, the start-up check would not show anything"
# A file the program cannot find opens a modal warning box, which nobody
# closes offscreen: the program then hangs and the timeout fails the check.
for program in Numira Bairo; do
  rc=0
  (cd / && APP_QUIT_AFTER_SHOW=1 timeout 30 "$root/usr/bin/$program") || rc=$?
  echo "$program: exit $rc"
  [ $rc -eq 0 ] || fail "$program did not start and quit cleanly (exit $rc; 124 = timed out)"
done

echo "== every file a drill reads, found in the unpacked tree"
pictures_and_sounds=(mascot.bmp maru1.bmp batu1.bmp maru1.wav batu1.wav)
rc=0
(cd / && "$probe" Numira "$root" "${pictures_and_sounds[@]}" numira.hlp) || rc=$?
[ $rc -eq 1 ] || fail "the probe outside the tree should find nothing there (exit $rc)"
cp "$probe" "$root/usr/bin/install_probe"
(cd / && "$root/usr/bin/install_probe" Numira "$root" "${pictures_and_sounds[@]}" numira.hlp) ||
  fail "Numira's files in the unpacked tree"
(cd / && "$root/usr/bin/install_probe" Bairo "$root" "${pictures_and_sounds[@]}") ||
  fail "Bairo's files in the unpacked tree"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checks passed"
