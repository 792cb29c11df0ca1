#!/usr/bin/env bash
# wine-server.sh avvia | ferma
# Starts Wine's server and its background programs for WINEPREFIX away from ctest's output pipes (a test that
# started them would leave them holding its pipes, and ctest would wait for them), and stops them at the end.
set -euo pipefail
case $1 in
avvia)
    setsid -w wineserver -p </dev/null >/dev/null 2>&1 || true # already running: kept
    setsid -w /usr/lib/wine/wine64 cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
    ;;
ferma)
    wineserver -k || true
    ;;
esac
