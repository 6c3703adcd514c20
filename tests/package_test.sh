#!/usr/bin/env bash
# The Debian package of the build: it names the Japanese font among its
# dependencies, holds the desktop files, and lintian finds no error in it.
#   package_test.sh BUILD
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(echo "$work"/kiravel_*.deb)
[[ -f $deb ]] || { echo "package test: no package in $work" >&2; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic' ||
  { echo "package test: the font is no dependency" >&2; exit 1; }
contents=$(dpkg-deb -c "$deb")
for file in ./usr/games/kiravel ./usr/share/games/kiravel/bgm.wav ./usr/share/games/kiravel/txt/opn.dat \
  ./usr/share/applications/org.kiravel.Kiravel.desktop ./usr/share/doc/kiravel/copyright; do
  grep -qF " $file" <<<"$contents" || { echo "package test: no $file" >&2; exit 1; }
done
# Its one shared object is the game's own sound module, which nothing else
# links: installing or removing the package has no library cache to renew.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)
for script in postinst postrm triggers; do
  ! grep -q "$script" <<<"$control" || { echo "package test: the package has a $script" >&2; exit 1; }
done
# One home page: the package's is the one its metainfo names.
metainfo=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/metainfo/org.kiravel.Kiravel.metainfo.xml)
homepage=$(dpkg-deb -f "$deb" Homepage)
grep -qF "<url type=\"homepage\">$homepage</url>" <<<"$metainfo" ||
  { echo "package test: the metainfo names another home page than $homepage" >&2; exit 1; }
lintian --fail-on error "$deb"
echo "package test: $(stat -c %s "$deb") bytes"
