#!/usr/bin/env bash
# Runs a program cross-built for Windows under Wine, in the prefix WINEPREFIX (made on first use),
# with its libraries found in the folders of TARVANE_WINE_PATH (Unix paths, colon-separated).
#   wine.sh PROGRAM.exe [ARGUMENTS...]
# Its standard output, printed once it ends, loses the carriage returns that Windows's text mode adds, so that what
# reads it (GoogleTest's discovery, a comparison) sees the lines a Linux build prints.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET nor Gecko to offer to install: a dialog would wait for an answer nobody gives.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
chemins=""
IFS=':' read -ra dossiers <<< "${TARVANE_WINE_PATH:-}"
for dossier in "${dossiers[@]}"; do
    [ -n "$dossier" ] && chemins+="Z:${dossier//\//\\};"
done
export WINEPATH="$chemins${WINEPATH:-}"

if [ -n "${WINEPREFIX:-}" ] && [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1 </dev/null
        wineserver --wait
    ) 9>"$WINEPREFIX.lock"
fi

# Through files, not pipes: the services Wine starts on first need keep the descriptors they
# were given, and a reader of a pipe would wait for them to end.
sortie=$(mktemp)
erreurs=$(mktemp)
trap 'rm -f "$sortie" "$erreurs"' EXIT
status=0
wine "$@" >"$sortie" 2>"$erreurs" </dev/null || status=$?
tr -d '\r' <"$sortie"
tr -d '\r' <"$erreurs" >&2
exit "$status"
