#!/usr/bin/env bash
# Fuzzes the readers of outside data with libFuzzer, one harness after another.
#   scripts/fuzz.sh [SEGUNDOS] [ARNÉS...]
# SEGUNDOS per harness (60 by default); ARNÉS among texto_csb19 filas_csb19 xlsx xls compuesto sqlite parametros
# cuentas intercambio plantilla
# (all by default; the "fuzz_" prefix may be given). Stops at the first failure and says where the input
# that caused it was saved.
#
# Environment:
#   TROVANEL_FUZZ_COMPILACION  build folder (clang, -DTROVANEL_FUZZ=ON); default build-fuzz/
#   TROVANEL_FUZZ_TRABAJO      scratch corpus, failing inputs and the harnesses' temporary files, kept
#                              outside the repository; default ~/.cache/trovanel-fuzz
#   TROVANEL_FUZZ_OPCIONES     more libFuzzer options, e.g. "-fork=4" or "-max_len=65536"
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

todos=(texto_csb19 filas_csb19 xlsx xls compuesto sqlite parametros cuentas intercambio plantilla)
segundos=60
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
    segundos="$1"
    shift
fi
arneses=()
for a in "$@"; do
    a="${a#fuzz_}"
    conocido=0
    for t in "${todos[@]}"; do
        [ "$t" = "$a" ] && conocido=1
    done
    if [ "$conocido" -eq 0 ]; then
        echo "Arnés desconocido: $a (hay: ${todos[*]})" >&2
        exit 2
    fi
    arneses+=("$a")
done
if [ ${#arneses[@]} -eq 0 ]; then
    arneses=("${todos[@]}")
fi

# The build's packages, with clang and its libFuzzer runtime.
"$raiz/scripts/dependencias.sh" clang libclang-rt-dev

compilacion="${TROVANEL_FUZZ_COMPILACION:-$raiz/build-fuzz}"
trabajo="${TROVANEL_FUZZ_TRABAJO:-${XDG_CACHE_HOME:-$HOME/.cache}/trovanel-fuzz}"
CC=clang CXX=clang++ cmake -S "$raiz" -B "$compilacion" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTROVANEL_FUZZ=ON -DTROVANEL_PRUEBAS=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
objetivos=()
for a in "${arneses[@]}"; do
    objetivos+=("fuzz_$a")
done
cmake --build "$compilacion" --target "${objetivos[@]}" -j "$(( $(nproc) > 4 ? 4 : $(nproc) ))"

export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$raiz/scripts/lsan.supp:print_suppressions=0"
read -r -a opciones <<<"${TROVANEL_FUZZ_OPCIONES:-}"

for a in "${arneses[@]}"; do
    corpus="$trabajo/corpus/$a"
    fallos="$trabajo/fallos"
    temporal="$trabajo/tmp/$a"
    salida="$trabajo/fuzz_$a.log"
    mkdir -p "$corpus" "$fallos"
    rm -rf "$temporal" && mkdir -p "$temporal"
    diccionario=()
    case "$a" in
    xlsx) diccionario=(-dict="$raiz/fuzz/xlsx.dict") ;;
    xls | compuesto) diccionario=(-dict="$raiz/fuzz/xls.dict") ;;
    intercambio) diccionario=(-dict="$raiz/fuzz/intercambio.dict") ;;
    esac

    echo "== fuzz_$a: $segundos s (corpus de trabajo: $corpus)"
    estado=0
    # New inputs go to the first folder, the scratch corpus; the repository's seeds are only read.
    TMPDIR="$temporal" "$compilacion/fuzz/fuzz_$a" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$fallos/fuzz_$a-" "${diccionario[@]}" "${opciones[@]}" \
        "$corpus" "$raiz/fuzz/corpus/$a" >"$salida" 2>&1 || estado=$?
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+[[:space:]]+DONE)" "$salida" || true
    rm -rf "$temporal"

    if [ "$estado" -ne 0 ]; then
        entrada="$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$salida" | tail -n 1)"
        echo
        grep -E "ERROR: |runtime error|SUMMARY" "$salida" | head -n 5 || true
        echo
        echo "fuzz_$a ha fallado (estado $estado). Salida completa: $salida"
        if [ -n "$entrada" ]; then
            echo "La entrada que lo provoca está en: $entrada"
            echo "Para reproducirlo:  $compilacion/fuzz/fuzz_$a $entrada"
            echo "Añádela al corpus del arnés para que las pruebas la lean siempre:"
            echo "  cp '$entrada' '$raiz/fuzz/corpus/$a/'"
        fi
        exit 1
    fi
done
echo "Ningún fallo en: ${arneses[*]}"
