#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The design type as a desktop sees it: the type file in a data folder of its
# own, its database made, a design saved by kestrova-render, and xdg-mime
# asked (in no desktop, so through the shared MIME database).
# usage: design_mime_type.sh MIME-XML KESTROVA-RENDER
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/share/mime/packages" "$dir/home"
cp "$1" "$dir/share/mime/packages/kestrova.xml"
XDG_DATA_DIRS="$dir/share" update-mime-database "$dir/share/mime"
"$2" --save-design "$dir/saved.kestrova"
type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
  HOME="$dir/home" XDG_DATA_HOME="$dir/home" XDG_DATA_DIRS="$dir/share" xdg-mime query filetype "$dir/saved.kestrova")
if [ "$type" != "application/x-kestrova-design" ]; then
  echo "the saved design is of type '$type'" >&2
  exit 1
fi
