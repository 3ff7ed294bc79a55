#!/usr/bin/env bash
# The generated Windows resource compiles, and its version block holds every entry in French
# (040C, Unicode 04B0), so that it cannot rot while nobody builds for Windows.
#   windres_test.sh WINDRES FILE.rc
set -euo pipefail
windres=$1 rc=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$windres" --preprocessor=gcc --preprocessor-arg=-E --preprocessor-arg=-xc \
    --preprocessor-arg=-DRC_INVOKED -I "$(dirname "$rc")" "$rc" -O res -o "$out/tarvane.res"
"$windres" --preprocessor=gcc --preprocessor-arg=-E --preprocessor-arg=-xc \
    --preprocessor-arg=-DRC_INVOKED -I "$(dirname "$rc")" "$rc" -O coff -o "$out/tarvane.o"

# Version strings are stored in UTF-16; read them back as UTF-8 text.
iconv -f UTF-16LE -t UTF-8 -c "$out/tarvane.res" | tr -c '[:print:]\200-\377' '\n' > "$out/texts"

failures=0 checks=0
expect() {
    checks=$((checks + 1))
    if grep -qF -- "$1" "$out/texts"; then
        echo "ok: $1"
    else
        echo "MISSING: $1"
        failures=$((failures + 1))
    fi
}
expect "040C04B0"
expect "ProductName"
expect "Tarvane Francs/Euros/Francs"
expect "Permet la conversion de Francs en Euros et inversement."
expect "Tarvane.exe"
expect "Étienne Exemple"
expect "1.00"
for entry in Comments CompanyName FileDescription FileVersion InternalName LegalCopyright \
             LegalTrademarks OriginalFilename ProductVersion; do
    expect "$entry"
done
# FILEVERSION 1,0,0,0 lands in the fixed part as 0x00010000 0x00000000.
checks=$((checks + 1))
if ! od -An -tx1 -v "$out/tarvane.res" | tr -d ' \n' | grep -q 'bd04effe00000100000001000000000000000100'; then
    echo "MISSING: fixed file version 1.0.0.0"
    failures=$((failures + 1))
fi
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
