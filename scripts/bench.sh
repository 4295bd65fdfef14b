#!/usr/bin/env bash
# Builds linkcairn's benchmarks and runs them under Wine on a virtual
# display: the store benchmark prints times, ratios and peak memory, the
# views benchmark the fill times of the tree and the list against their floors,
# the bookmark benchmark the import and export commands' whole path against
# their floors and the read, merge plan and export of bookmark files,
# the search benchmark one 次を検索 over 10,000 and 50,000 entries against its floor,
# the dialogs benchmark the update check and a registration against theirs,
# the link check benchmark a whole check over 200 loopback hosts,
# the title benchmark a 519-byte title's detection and conversion against
# the conversion alone,
# the duplicates benchmark the grouping of 100,000 entries, its memory and
# the removal of 1,000 ticked entries against its floor, the start-up
# benchmark the built program's start on stores of up to 100,000 entries
# until its tree is full, and its peak memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LINKCAIRN_BUILD:-$root/build}
jobs=${LINKCAIRN_JOBS:-2}

"$root/scripts/install-deps.sh" run
"$root/scripts/fetch-pugixml.sh" "$build"

echo "== Building (Windows, mingw-w64) in $build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DLINKCAIRN_TESTS=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target store_bench views_bench bookmark_bench search_bench dialogs_bench link_check_bench title_charset_bench duplicate_bench \
  linkcairn startup_bench

export WINEPREFIX="$build/wineprefix"
source "$root/scripts/wine-session.sh"
LINKCAIRN_VIRTUAL_DISPLAY=${LINKCAIRN_VIRTUAL_DISPLAY:-1}
trap wine_session_stop EXIT
echo "== Starting Wine (prefix $WINEPREFIX)"
wine_session_start

# The program's console text is code page 932.
while read -r exe title; do
  echo "== $title"
  wine "$build/bench/$exe.exe" </dev/null 2>&1 | iconv -f CP932 -t UTF-8 -c
done <<'LIST'
store_bench Store benchmark
views_bench Views benchmark
bookmark_bench Bookmark file benchmark
search_bench Search benchmark
title_charset_bench Title character-set benchmark
dialogs_bench Dialogs benchmark
link_check_bench Link check benchmark
duplicate_bench Duplicates benchmark
startup_bench Start-up benchmark
LIST
