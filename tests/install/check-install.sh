#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree: every
# file in its place, the command links leading into lib/pavoko/, the icons
# of the sizes their folders name, and the desktop files accepted by their
# validators where those are installed.
#
#   check-install.sh BUILD_DIR FILE...   (the programs and libraries lib/pavoko/ must hold)
set -euo pipefail
build_dir=$1
shift
programs=("$@")

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
prefix=/usr
DESTDIR=$stage cmake --install "$build_dir" --prefix "$prefix" >/dev/null
root=$stage$prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_file() { [ -f "$root/$1" ] || fail "missing $1"; }

for program in "${programs[@]}"; do
  case $program in
    *.so) expect_file "lib/pavoko/$program" ;;
    *) [ -x "$root/lib/pavoko/$program" ] || fail "lib/pavoko/$program is not an installed program" ;;
  esac
done
expect_file lib/pavoko/help.html
expect_file lib/pavoko/Plug-in/example.dll
for command in pavoko swfrender swfinfo; do
  link=$root/bin/$command
  [ -L "$link" ] || { fail "bin/$command is not a link"; continue; }
  [ "$(readlink -f "$link")" = "$(readlink -f "$root/lib/pavoko/$command")" ] \
    || fail "bin/$command leads to $(readlink "$link")"
done

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
icons=$root/share/icons/hicolor
expect_file share/icons/hicolor/scalable/apps/pavoko.svg
for size in 16 32 48 64 128 256; do
  icon=$icons/${size}x${size}/apps/pavoko.png
  if [ -f "$icon" ]; then
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
  else
    fail "missing icon $icon"
  fi
done

desktop=$root/share/applications/pavoko.desktop
metainfo=$root/share/metainfo/org.example.pavoko.metainfo.xml
mime=$root/share/mime/packages/pavoko.xml
for file in "$desktop" "$metainfo" "$mime"; do
  [ -f "$file" ] || fail "missing $file"
done
grep -qx 'Exec=pavoko %f' "$desktop" || fail "desktop entry does not start pavoko with the file"
grep -qx 'MimeType=application/vnd.adobe.flash.movie;application/x-shockwave-flash;' "$desktop" \
  || fail "desktop entry lacks the movie types"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli rejects the metainfo"
fi
xmllint --noout "$mime" "$icons/scalable/apps/pavoko.svg" || fail "xmllint rejects the MIME package or the icon"
schema=$(ls /usr/share/xml/shared-mime-info/*.xsd /usr/share/mime/*.xsd 2>/dev/null | head -n1 || true)
if [ -n "$schema" ]; then
  xmllint --noout --schema "$schema" "$mime" || fail "the MIME package does not follow $schema"
fi
# The database builder is the MIME package's real reader: it must take it
# without a word and learn the LZMA signature from it.
if command -v update-mime-database >/dev/null; then
  mime_db=$stage/xdg-data/mime
  mkdir -p "$mime_db/packages"
  cp "$mime" "$mime_db/packages/"
  messages=$(XDG_DATA_DIRS=$stage/xdg-data update-mime-database "$mime_db" 2>&1) || fail "update-mime-database failed: $messages"
  [ -z "$messages" ] || fail "update-mime-database complains: $messages"
  grep -aq ZWS "$mime_db/magic" || fail "the MIME database did not learn the ZWS signature"
fi

if [ -e "$root/lib/pavoko/screenSaver.scr" ]; then
  hack=$root/libexec/xscreensaver/pavoko-screensaver
  [ "$(readlink -f "$hack")" = "$(readlink -f "$root/lib/pavoko/pavoko-screensaver")" ] \
    || fail "the xscreensaver hack does not lead to lib/pavoko/pavoko-screensaver"
  expect_file share/xscreensaver/config/pavoko-screensaver.xml
fi

for extra in "$root"/share/thumbnailers/*.thumbnailer "$root"/share/xscreensaver/config/*.xml; do
  [ -e "$extra" ] || continue
  case $extra in
    *.xml) xmllint --noout "$extra" || fail "xmllint rejects $extra" ;;
    *) grep -q '^Exec=' "$extra" || fail "$extra has no Exec line" ;;
  esac
done

[ "$failures" -eq 0 ] && echo "install tree complete"
exit $((failures > 0))
