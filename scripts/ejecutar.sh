#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it.
#   scripts/ejecutar.sh              opens the main window; without a display, does what --ejemplo does
#   scripts/ejecutar.sh --ejemplo    converts the shipped example (template 9, presenter 1, issuer 1)
#                                    without a window and shows the bank file and the log
#   scripts/ejecutar.sh 'ARGS'       runs one batch conversion with those arguments
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$raiz/scripts/dependencias.sh"

compilacion="$raiz/build-programa"
cmake -S "$raiz" -B "$compilacion" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTROVANEL_PRUEBAS=OFF >/dev/null
cmake --build "$compilacion" --target trovanel

# The build folder is the program folder: the database is created there on first start.
cp -n "$raiz/ejemplo/recibos.txt" "$compilacion/recibos.txt" 2>/dev/null || true

if [ $# -eq 0 ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
    exec "$compilacion/trovanel"
fi

if [ $# -gt 0 ] && [ "$1" != "--ejemplo" ]; then
    exec "$compilacion/trovanel" "$@"
fi

estado=0
"$compilacion/trovanel" "recibos.txt,$compilacion/recibos.out,9,1,$(date +%d%m%Y),1" || estado=$?
echo "Estado de salida: $estado"
for f in "$compilacion/recibos.out" "$compilacion/recibos.log"; do
    if [ -f "$f" ]; then
        echo "== $f"
        cat "$f"
    fi
done
exit "$estado"
