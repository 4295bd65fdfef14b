#!/usr/bin/env bash
# Builds linkcairn and all tests, then runs them: the Windows tests under
# Wine on a virtual display, the byte-level tests natively with sanitizers,
# and a bounded fuzz run of each fuzz target (LINKCAIRN_FUZZ_SECONDS in
# all, 30 by default). Exits non-zero when anything fails.
#
# Usage: test.sh [regex]   with a regex, only the Wine tests whose names
#                          match run, and the native tests and fuzzing are
#                          skipped (for working on one module).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LINKCAIRN_BUILD:-$root/build}
jobs=${LINKCAIRN_JOBS:-2}
fuzz_seconds=${LINKCAIRN_FUZZ_SECONDS:-30}
only=${1:-}

"$root/scripts/install-deps.sh" test
"$root/scripts/fetch-pugixml.sh" "$build"

echo "== Building (Windows, mingw-w64) in $build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DLINKCAIRN_TESTS=ON >/dev/null
cmake --build "$build" -j "$jobs"

if [ -z "$only" ]; then
  echo "== Building native byte-level tests (clang, ASan + UBSan)"
  cmake -S "$root/tests/native" -B "$build/native" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
        -DPUGIXML_SOURCE_DIR="$build/third_party/pugixml-1.13/src" >/dev/null
  cmake --build "$build/native" -j "$jobs"
fi

export WINEPREFIX="$build/wineprefix"
export LINKCAIRN_BROWSER_LOG="$build/browser.log"
export LINKCAIRN_ARTIFACTS="$build/artifacts"
mkdir -p "$LINKCAIRN_ARTIFACTS"
# Test programs place the shared test data relative to the sources.
export LINKCAIRN_SOURCE_DIR="$root"
source "$root/scripts/wine-session.sh"
LINKCAIRN_VIRTUAL_DISPLAY=${LINKCAIRN_VIRTUAL_DISPLAY:-1}
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
echo "== Starting Wine (prefix $WINEPREFIX)"
wine_session_start
wine_session_keepalive "$build/tests/test_keepalive.exe"

status=0
again=()
echo "== Windows tests under Wine"
filter=()
[ -n "$only" ] && filter=(-R "$only")
failed_log="$build/Testing/Temporary/LastTestsFailed.log"
rm -f "$failed_log"
if ! ctest --test-dir "$build" -j "$jobs" --output-on-failure --timeout 180 --no-tests=error "${filter[@]}"; then
  # A second run of what failed tells a fault from a test that fails now
  # and then; both are listed, and either is a fault to find and mend.
  [ -f "$failed_log" ] && mapfile -t again < <(cut -d: -f2- "$failed_log")
  if [ ${#again[@]} -eq 0 ]; then
    status=1
  else
    echo "== Second run of the ${#again[@]} failed test(s)"
    ctest --test-dir "$build" --output-on-failure --timeout 180 --rerun-failed || status=1
    still=()
    [ -f "$failed_log" ] && mapfile -t still < <(cut -d: -f2- "$failed_log")
    [ $status -eq 0 ] && still=()
    for t in "${again[@]}"; do
      case " ${still[*]} " in
        *" $t "*) echo "Failed twice: $t" ;;
        *) echo "Passed only on a second run (flaky): $t" ;;
      esac
    done
  fi
fi
echo "== Tests that needed a second run: ${again[*]:-none}"

# Screenshots the tests took, as PNG for a reviewer.
for shot in "$LINKCAIRN_ARTIFACTS"/*.bmp; do
  [ -f "$shot" ] && convert "$shot" "${shot%.bmp}.png" && rm -f "$shot" && echo "Screenshot: ${shot%.bmp}.png"
done

if [ -n "$only" ]; then
  exit $status
fi

echo "== Native tests with sanitizers"
ctest --test-dir "$build/native" --output-on-failure --no-tests=error || status=1

# The fuzz time is shared between the targets; each starts from its own
# seed files (and its dictionary of the format's tokens, where it has one).
targets=()
for t in title_scan bookmark_file charset; do
  [ -x "$build/native/fuzz_$t" ] && targets+=("$t")
done
if [ ${#targets[@]} -gt 0 ]; then
  share=$(( fuzz_seconds / ${#targets[@]} ))
  [ $share -lt 1 ] && share=1
  for t in "${targets[@]}"; do
    echo "== Fuzzing fuzz_$t for ${share}s"
    corpus=$(mktemp -d)
    cp "$root"/tests/native/corpus/$t/* "$corpus"/ 2>/dev/null || true
    dict=()
    [ -f "$root/tests/native/$t.dict" ] && dict=(-dict="$root/tests/native/$t.dict")
    "$build/native/fuzz_$t" -max_total_time="$share" -max_len=8192 "${dict[@]}" \
        -print_final_stats=1 "$corpus" 2>"$build/fuzz_$t.log" || { tail -40 "$build/fuzz_$t.log"; status=1; }
    grep -E 'stat::number_of_executed_units' "$build/fuzz_$t.log" || true
    rm -rf "$corpus"
  done
fi

exit $status
