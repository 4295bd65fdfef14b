#!/usr/bin/env bash
# Stand-in for a web browser during tests: records the address it was given.
log=${LINKCAIRN_BROWSER_LOG:-/tmp/linkcairn-browser.log}
printf '%s\n' "$*" >> "$log"
