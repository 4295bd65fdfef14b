# Sourced by run.sh and test.sh: a display, the project's Wine prefix, and a
# warmed, persistent wineserver. Call wine_session_start, then wine_session_stop.
# Expects WINEPREFIX to be set to an absolute path.

wine_session_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_session_xvfb_pid=""
wine_session_keepalive=""

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export WINEARCH=win64

# Wine takes its code page from LC_ALL (LANG alone gives 1252 when the Linux
# locale is not generated); set it for Wine's commands only.
wine() { env LC_ALL=ja_JP.UTF-8 wine "$@"; }
wineboot() { env LC_ALL=ja_JP.UTF-8 wineboot "$@"; }

wine_session_display() {
  # Wine's desktop must see DISPLAY from its very first start.
  if [ -n "${DISPLAY:-}" ] && [ "${LINKCAIRN_VIRTUAL_DISPLAY:-0}" != 1 ]; then
    return 0
  fi
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    wine_session_xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    export DISPLAY=":$n"
    return 0
  done
  echo "No free X display number for Xvfb" >&2
  return 1
}

wine_session_prefix() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    # Unmanaged windows: without a window manager every hide of a managed
    # window waits about two seconds.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # Dialog layouts are measured in a proportional Japanese font; IPAGothic,
    # Wine's default stand-in, is monospaced and cuts labels short.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /t REG_SZ \
      /d 'IPAPGothic' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ \
      /d "$wine_session_root/scripts/fake-browser.sh" /f >/dev/null 2>&1
    wineserver -w
  fi
}

wine_session_start() {
  wine_session_display || return 1
  wineserver -k >/dev/null 2>&1 || true
  wine_session_prefix
  # A persistent server with Wine's services already started: otherwise they
  # start inside the first program and inherit its output pipe.
  wineserver -p
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

# Starts the keep-alive program (path to test_keepalive.exe) in the background.
wine_session_keepalive() {
  wine_session_keepalive=$1
  wine "$wine_session_keepalive" </dev/null >/dev/null 2>&1 &
  sleep 0.5
}

wine_session_stop() {
  if [ -n "$wine_session_keepalive" ]; then
    wine "$wine_session_keepalive" stop </dev/null >/dev/null 2>&1 || true
  fi
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$wine_session_xvfb_pid" ]; then
    kill "$wine_session_xvfb_pid" 2>/dev/null || true
    wait "$wine_session_xvfb_pid" 2>/dev/null || true
  fi
}
