#!/usr/bin/env bash
# Fetches the XML library's sources (Debian's source package pugixml, MIT
# licence) into the build folder: build/third_party/pugixml-1.13. Nothing of
# it is kept in the repository. Usage: fetch-pugixml.sh BUILD_FOLDER
#
# apt runs with a private configuration under the build folder whose deb-src
# entry mirrors the machine's bookworm deb entry (same URIs, suite, component
# and keyring), so the system's apt setup stays as it is, and apt checks the
# files against the signed index. Sources already extracted are kept.
set -euo pipefail
build=${1:?usage: $0 BUILD_FOLDER}
package=pugixml
version=1.13-0.2
upstream=1.13
third_party="$build/third_party"
target="$third_party/$package-$upstream"

if [ -f "$target/src/pugixml.cpp" ] && [ -f "$target/src/pugixml.hpp" ]; then
  exit 0
fi
mkdir -p "$third_party"
third_party=$(cd "$third_party" && pwd)
target="$third_party/$package-$upstream"

# The machine's deb entry for bookworm, from deb822 files or one-line lists:
# prints "URI|COMPONENT|KEYRING" for the first entry that has bookworm and main.
find_bookworm_entry() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (deb && uris != "" && suites ~ /(^| )bookworm( |$)/ && comps ~ /(^| )main( |$)/) {
          split(uris, u, " "); print u[1] "|main|" key; found = 1; exit
        }
        deb = 0; uris = ""; suites = ""; comps = ""; key = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      tolower($1) == "types:"      { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
      tolower($1) == "uris:"       { $1 = ""; uris = substr($0, 2) }
      tolower($1) == "suites:"     { $1 = ""; suites = substr($0, 2) }
      tolower($1) == "components:" { $1 = ""; comps = substr($0, 2) }
      tolower($1) == "signed-by:"  { key = $2 }
      END { if (!found) flush() }
    ' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk '
      $1 != "deb" { next }
      {
        key = ""; i = 2
        if ($2 ~ /^\[/) {
          for (; i <= NF; i++) {
            if ($i ~ /signed-by=/) { key = $i; sub(/.*signed-by=/, "", key); sub(/\].*/, "", key) }
            if ($i ~ /\]$/) { i++; break }
          }
        }
        uri = $i; suite = $(i + 1)
        if (suite != "bookworm") next
        for (j = i + 2; j <= NF; j++) if ($j == "main") { print uri "|main|" key; exit }
      }
    ' "$f"
  done
}

entry=$(find_bookworm_entry | head -n 1)
if [ -z "$entry" ]; then
  echo "fetch-pugixml: no Debian bookworm 'deb' entry with 'main' in /etc/apt; cannot fetch $package" >&2
  exit 1
fi
IFS='|' read -r uri component keyring <<<"$entry"

aptdir="$third_party/apt"
mkdir -p "$aptdir/sources.list.d" "$aptdir/lists/partial" "$aptdir/cache" "$aptdir/download"
{
  echo "Types: deb-src"
  echo "URIs: $uri"
  echo "Suites: bookworm"
  echo "Components: $component"
  if [ -n "$keyring" ]; then echo "Signed-By: $keyring"; fi
} >"$aptdir/sources.list.d/$package.sources"
: >"$aptdir/sources.list"

apt_options=(
  -o "Dir::Etc::sourcelist=$aptdir/sources.list"
  -o "Dir::Etc::sourceparts=$aptdir/sources.list.d"
  -o "Dir::State::lists=$aptdir/lists"
  -o "Dir::Cache=$aptdir/cache"
)
# apt's download user cannot write into the build folder.
if [ "$(id -u)" -eq 0 ]; then apt_options+=(-o "APT::Sandbox::User=root"); fi

echo "== Fetching Debian's source package $package $version from $uri"
apt-get "${apt_options[@]}" -qq update
(cd "$aptdir/download" && apt-get "${apt_options[@]}" -qq source --download-only "$package=$version")

dsc="$aptdir/download/${package}_$version.dsc"
[ -f "$dsc" ] || { echo "fetch-pugixml: $dsc was not downloaded" >&2; exit 1; }
rm -rf "$target.partial"
# Unpacks the upstream sources and applies Debian's patches. Its warning
# that the .dsc's own signature cannot be checked (no Debian developer
# keyring here) is shown only on a failure: apt has checked the files.
if ! dpkg-source --no-copy -x "$dsc" "$target.partial" >"$aptdir/dpkg-source.log" 2>&1; then
  cat "$aptdir/dpkg-source.log" >&2
  exit 1
fi
mv "$target.partial" "$target"
echo "== $package sources in $target"
