#!/usr/bin/env bash
# Fetches Debian's source package PACKAGE, with Debian's patches applied, and unpacks it
# as FOLDER, unless FOLDER is already there. Usage: debian-source.sh PACKAGE FOLDER
set -euo pipefail
package="$1"
folder="$2"
[ -d "$folder" ] && exit 0

# Debian's source archive, next to the binary one the machine already uses.
if ! apt-get source --print-uris "$package" >/dev/null 2>&1; then
  sources=/etc/apt/sources.list.d/tarsyn7-deb-src.sources
  sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources |
    sed 's/^Types: deb$/Types: deb-src/' >"$sources"
  apt-get update -qq
fi

mkdir -p "$(dirname "$folder")"
unpack="$(mktemp -d "$folder.XXXXXX")"
trap 'rm -rf "$unpack"' EXIT
# Newest version first; a mirror may lack the newest security update's files.
for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -rV); do
  if (cd "$unpack" && apt-get source -qq "$package=$version" >/dev/null 2>&1); then
    mv "$unpack/$package-"*/ "$folder"
    exit 0
  fi
done
echo "cannot fetch Debian's source package $package" >&2
exit 1
