#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the desktop
# integration there: every expected file is in place, the PNG icons have their
# nominal sizes, and the desktop entry and AppStream metainfo pass their
# validators.
#
#   check-install.sh <build-dir> <project-version>
set -euo pipefail

build_dir=$1
version=$2
app_id=org.quillmere.Quillmere

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

expected=(
  "bin/quillmere"
  "bin/quillmere-standin"
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app_id.svg"
)
for size in 48 64 128 256 512; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
for program in quillmere quillmere-standin; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}
for size in 48 64 128 256 512; do
  file="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$file is not a PNG"
  actual=$(png_size "$file")
  [ "$actual" = "${size}x${size}" ] || fail "$file is $actual, not ${size}x${size}"
done

desktop="$prefix/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
# The entry starts the installed program and names the installed icon.
grep -qx "Exec=quillmere" "$desktop" || fail "Exec is not the installed program"
grep -qx "Icon=$app_id" "$desktop" || fail "Icon is not the installed icon's name"

metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli refused $metainfo"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not launch the installed desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

"$prefix/bin/quillmere-standin" --version | grep -qx "quillmere-standin $version" \
  || fail "the installed stand-in does not report version $version"

echo "install check passed: ${#expected[@]} files in $prefix"
