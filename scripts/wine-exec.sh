#!/usr/bin/env bash
# Runs a Windows program under the project's own Wine prefix with the
# environment every run needs (Japanese code page, no Mono/Gecko prompts).
# WINEPREFIX defaults to build/wineprefix beside this script's project.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LANG=ja_JP.UTF-8
export WINEARCH=win64
# Wine takes its code page from LC_ALL here (LANG alone gives 1252 when the
# Linux locale is not generated); set it for Wine only, bash would complain.
exec env LC_ALL=ja_JP.UTF-8 wine "$@"
