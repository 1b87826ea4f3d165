#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb from the build folder, unpacks it into a scratch root with
# dpkg -x and checks it as a technician would meet it: lintian's verdict (when
# lintian is installed: any error or warning fails), its control fields,
# exactly the expected files, valid desktop and AppStream entries, and both
# programs starting offscreen from another working directory until their
# window shows, with every file they read found in the unpacked tree, also
# through the XDG data folders; and the records window starting the same way.
#
#   check_deb.sh <build dir> <scratch dir> <install_probe> <numira id> <bairo id> <kiroku id>
#
# Everything is written under the scratch dir (in the build tree).
set -euo pipefail
build=$1 scratch=$2 probe=$3 numira_id=$4 bairo_id=$5 kiroku_id=$6

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

echo "== lintian"
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" ||
    fail "lintian reported an error or a warning"
else
  echo "lintian is not installed: skipped"
fi

echo "== control"
dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Depends
[ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "Section is not education"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
for p in fonts-ipafont-gothic fonts-ipafont-mincho qt6-qpa-plugins qt6-translations-l10n \
         libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6multimedia6 \
         libqt6sql6 libqt6sql6-sqlite libqt6charts6; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done
description=$(dpkg-deb -f "$deb" Description)
grep -q 'Numira' <<<"$description" && grep -q 'ヌミラ' <<<"$description" ||
  fail "Description lacks the English or the Japanese name"

echo "== files"
dpkg -x "$deb" "$scratch/root"
root=$(cd "$scratch/root" && pwd -P)
package=$(dpkg-deb -f "$deb" Package)
doc=usr/share/doc/$package
expected=(
  usr/bin/bairo
  usr/bin/kiroku
  usr/bin/numira
  usr/lib/bairo/libappsound.so
  usr/lib/numira/libappsound.so
  usr/lib/numira-bairo/sound/libappsound.so
  "usr/share/applications/$bairo_id.desktop"
  "usr/share/applications/$kiroku_id.desktop"
  "usr/share/applications/$numira_id.desktop"
  usr/share/bairo/{batu1.bmp,batu1@2x.png,batu1.wav,maru1.bmp,maru1@2x.png,maru1.wav}
  usr/share/bairo/{mascot.bmp,mascot@2x.png}
  "usr/share/lintian/overrides/$package"
  "$doc"/{changelog.Debian.gz,copyright}
  "$doc"/screenshots/{bairo,numira,numira-choice,worksheet}.png
  usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/{"$bairo_id","$kiroku_id","$numira_id"}.png
  usr/share/icons/hicolor/scalable/apps/{"$bairo_id","$kiroku_id","$numira_id"}.svg
  usr/share/man/man1/kiroku.1.gz
  usr/share/man/man6/{bairo,numira}.6.gz
  "usr/share/metainfo/$bairo_id.metainfo.xml"
  "usr/share/metainfo/$numira_id.metainfo.xml"
  usr/share/numira/{batu1.bmp,batu1@2x.png,batu1.wav,maru1.bmp,maru1@2x.png,maru1.wav}
  usr/share/numira/{mascot.bmp,mascot@2x.png,numira.hlp}
  usr/share/numirabairo/records-server.sql
)
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if ! diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) <(printf '%s\n' "$actual"); then
  fail "the package does not hold exactly the expected files (< expected, > found)"
fi
for f in usr/bin/numira usr/bin/bairo usr/bin/kiroku; do
  [ -x "$root/$f" ] || fail "$f is not executable"
done
# Icons: PNG files as large as their folder says (width and height in the IHDR chunk).
for icon in "$root"/usr/share/icons/hicolor/*x*/apps/*.png; do
  folder=$(basename "$(dirname "$(dirname "$icon")")")
  size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$(head -c4 "$icon" | od -An -c | tr -d ' ')" = '211PNG' ] && [ "$size" = "$folder" ] ||
    fail "$icon is not a $folder PNG ($size)"
done

echo "== desktop and AppStream entries"
upstream_version=$(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')
for id in "$numira_id" "$bairo_id"; do
  desktop=$root/usr/share/applications/$id.desktop
  metainfo=$root/usr/share/metainfo/$id.metainfo.xml
  exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -x "$root/usr/bin/$exec" ] || fail "$id: Exec=$exec is not an installed program"
  [ "$icon" = "$id" ] && [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    fail "$id: no icon $icon"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "$id: metainfo does not launch $id.desktop"
  grep -q "<binary>$exec</binary>" "$metainfo" || fail "$id: metainfo does not provide $exec"
  grep -q "<release version=\"$upstream_version\"" "$metainfo" ||
    fail "$id: metainfo has no release $upstream_version"
  # Every screenshot named in the entry is one shipped in the package.
  for shot in $(sed -n 's|.*<image[^>]*>.*/\([^/<]*\)</image>.*|\1|p' "$metainfo"); do
    [ -f "$root/$doc/screenshots/$shot" ] || fail "$id: screenshot $shot is not in the package"
  done
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate $id.desktop"
  fi
done
# The records window's menu entry, which has no software-centre entry.
desktop=$root/usr/share/applications/$kiroku_id.desktop
[ "$(sed -n 's/^Exec=//p' "$desktop")" = kiroku ] &&
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$kiroku_id.svg" ] &&
  grep -qx "Icon=$kiroku_id" "$desktop" || fail "$kiroku_id: Exec or Icon do not match the package"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate $kiroku_id.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
fi

echo "== start-up from / (no files in the working directory)"
export QT_QPA_PLATFORM=offscreen
unset APP_SILENT_AUDIO
[ ! -e /mascot.bmp ] || fail "/mascot.bmp exists, the start-up check would not show anything"
# A file the program cannot find opens a modal warning box, which nobody
# closes offscreen: the program then hangs and the timeout fails the check.
for program in numira bairo; do
  rc=0
  (cd / && APP_QUIT_AFTER_SHOW=1 timeout 30 "$root/usr/bin/$program") || rc=$?
  echo "$program: exit $rc"
  [ $rc -eq 0 ] || fail "$program did not start and quit cleanly (exit $rc; 124 = timed out)"
done
# The records window, with folders of its own for the records and their
# switch: none there, so it opens no file and shows no box.
rc=0
(cd / && XDG_DATA_HOME=$scratch/kiroku-data XDG_CONFIG_HOME=$scratch/kiroku-config \
   APP_QUIT_AFTER_SHOW=1 timeout 30 "$root/usr/bin/kiroku") || rc=$?
echo "kiroku: exit $rc"
[ $rc -eq 0 ] || fail "kiroku did not start and quit cleanly (exit $rc; 124 = timed out)"
[ ! -e "$scratch/kiroku-data" ] || fail "kiroku made a records file before anything was to be kept"

echo "== every file a drill reads, found in the unpacked tree"
pictures_and_sounds=(mascot.bmp maru1.bmp batu1.bmp maru1.wav batu1.wav)
# The probe outside the tree, with no data folder leading there, finds nothing there.
export XDG_DATA_HOME=$scratch/no-data-home
rc=0
(cd / && "$probe" Numira "$root" "${pictures_and_sounds[@]}" numira.hlp) || rc=$?
[ $rc -eq 1 ] || fail "the probe outside the tree should find nothing there (exit $rc)"
# Through the XDG data folders, from outside the tree.
(cd / && XDG_DATA_DIRS=$root/usr/share "$probe" --files-only Numira "$root" \
   "${pictures_and_sounds[@]}" numira.hlp) || fail "Numira's files through XDG_DATA_DIRS"
(cd / && XDG_DATA_DIRS=/nowhere:$root/usr/share "$probe" --files-only Bairo "$root" \
   "${pictures_and_sounds[@]}") || fail "Bairo's files through XDG_DATA_DIRS"
# Beside the installed programs, with their sound module.
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
