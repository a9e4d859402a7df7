#!/usr/bin/env bash
# Fails when the engine's include lines break its layering: a room may
# include only itself and the rooms beneath it, no room includes the files
# at the engine's top (the movie and its loading), the engine includes
# nothing of the program's other folders, and nothing of Qt's widgets.
#
# Usage: check-engine-layers.sh ENGINE_DIR [QT_WIDGETS_INCLUDE_DIR]
# ENGINE_DIR is src/swf (or a tree laid out like it); the second argument
# names Qt's widgets header folder, so that every class header in it counts.
set -uo pipefail

engine=${1:?usage: check-engine-layers.sh ENGINE_DIR [QT_WIDGETS_INCLUDE_DIR]}
widgets_dir=${2:-}

# The rooms each room may include, bottom up; README.md in the engine
# says why. A room missing here fails the check until it is given a place.
declare -A allowed=(
  [format]="format"
  [characters]="format characters"
  [media]="format characters media"
  [timeline]="format characters media timeline"
  [render]="format characters media timeline render"
  [avm1]="format characters media timeline avm1"
)

widget_headers=""
if [ -n "$widgets_dir" ] && [ -d "$widgets_dir" ]; then
  widget_headers=$(ls "$widgets_dir")
fi

failures=0
fail() {
  echo "$1"
  failures=$((failures + 1))
}

is_widget_header() {
  case "$1" in
    QtWidgets|QtWidgets/*) return 0 ;;
  esac
  [ -n "$widget_headers" ] && grep -qxF "$1" <<<"$widget_headers"
}

check_quoted() {
  local file=$1 room=$2 header=$3
  if [[ $header != swf/* ]]; then
    fail "$file: includes \"$header\" from outside the engine"
    return
  fi
  local rest=${header#swf/}
  if [[ $rest != */* ]]; then
    [ "$room" = top ] || fail "$file: room $room includes the engine's top file \"$header\""
    return
  fi
  local target=${rest%%/*}
  [ "$room" = top ] && return
  if ! grep -qw -- "$target" <<<"${allowed[$room]}"; then
    fail "$file: room $room includes \"$header\" from room $target above it"
  fi
}

while IFS= read -r -d '' file; do
  relative=${file#"$engine"/}
  room=top
  [[ $relative == */* ]] && room=${relative%%/*}
  if [ "$room" != top ] && [ -z "${allowed[$room]+set}" ]; then
    fail "$file: room $room has no place in the layering yet"
    continue
  fi
  while IFS= read -r line; do
    if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      check_quoted "$file" "$room" "${BASH_REMATCH[1]}"
    elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
      header=${BASH_REMATCH[1]}
      is_widget_header "$header" && fail "$file: includes <$header> from Qt's widgets"
    fi
  done <"$file"
done < <(find "$engine" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) break the engine's layering"
  exit 1
fi
echo "engine layering holds"
