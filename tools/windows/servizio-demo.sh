#!/usr/bin/env bash
# servizio-demo.sh avvia CARTELLA PROGRAMMA | ferma CARTELLA
# Starts the Linux build's demo service in the background for the Windows tests, which reach it over loopback:
# its profiles are the sub-folders of CARTELLA/profili, its port is written to CARTELLA/porta.
set -euo pipefail
cartella=$2
case $1 in
avvia)
    "$0" ferma "$cartella"
    rm -rf "$cartella" && mkdir -p "$cartella/profili"
    setsid "$3" --porta 0 --profili "$cartella/profili" --file-porta "$cartella/porta" \
        </dev/null >"$cartella/servizio.log" 2>&1 &
    echo $! >"$cartella/pid"
    for _ in $(seq 100); do
        [ -s "$cartella/porta" ] && exit 0
        sleep 0.1
    done
    echo "Il servizio dimostrativo non è partito:" && cat "$cartella/servizio.log"
    exit 1
    ;;
ferma)
    if [ -f "$cartella/pid" ]; then
        kill "$(cat "$cartella/pid")" 2>/dev/null || true
        rm -f "$cartella/pid"
    fi
    ;;
esac
