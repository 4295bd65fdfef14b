#!/usr/bin/env bash
# Builds linkcairn.exe and runs it under Wine, on the user's display or, when
# there is none, on a virtual one. The program runs from build/run/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LINKCAIRN_BUILD:-$root/build}
rundir="$build/run"

"$root/scripts/install-deps.sh" run
"$root/scripts/fetch-pugixml.sh" "$build"

echo "== Building linkcairn.exe"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DLINKCAIRN_TESTS=OFF >/dev/null
cmake --build "$build" --target linkcairn -j "${LINKCAIRN_JOBS:-2}"

mkdir -p "$rundir"
cp "$build/linkcairn.exe" "$rundir/"
# A first run gets a small sample collection to look at.
if [ ! -f "$rundir/linkcairn.ini" ] && [ -f "$root/examples/sample.xml" ]; then
  cp "$root/examples/sample.xml" "$rundir/sample.xml"
  printf '[ini]\r\npath=Z:%s\r\n[xml]\r\ncurxml=Z:%s\r\n' \
    "$(echo "$rundir" | tr / '\\')" "$(echo "$rundir/sample.xml" | tr / '\\')" > "$rundir/linkcairn.ini"
fi

export WINEPREFIX="$build/wineprefix"
source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
wine_session_start
echo "== Running $rundir/linkcairn.exe (display $DISPLAY)"
echo "   linkcairn starts hidden: double-click its icon in the notification area."
# In the background so that a signal reaches the clean-up at once.
wine "$rundir/linkcairn.exe" &
wait $!
