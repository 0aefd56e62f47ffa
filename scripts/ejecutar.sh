#!/usr/bin/env bash
# Installs what is missing, builds the program, installs it inside its build folder and runs it.
#   scripts/ejecutar.sh              opens the main window; without a display, does what --ejemplo does
#   scripts/ejecutar.sh --ejemplo    converts the shipped example (template 9, presenter 1, issuer 1)
#                                    without a window and shows the bank file and the log
#   scripts/ejecutar.sh 'ARGS'       runs one batch conversion with those arguments
# The program folder is carpeta-programa/ of the clone (unless TROVANEL_HOME says another), so a copy
# run from here never mixes its data with an installed one's.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$raiz/scripts/dependencias.sh"

compilacion="$raiz/build-programa"
cmake -S "$raiz" -B "$compilacion" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTROVANEL_PRUEBAS=OFF >/dev/null
cmake --build "$compilacion" --target trovanel
# Installed as a package installs it, so that "Manual" finds the manual.
cmake --install "$compilacion" --prefix "$compilacion/instalado" >/dev/null
programa="$compilacion/instalado/bin/trovanel"

export TROVANEL_HOME="${TROVANEL_HOME:-$raiz/carpeta-programa}"

if [ $# -eq 0 ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
    exec "$programa"
fi

if [ $# -gt 0 ] && [ "$1" != "--ejemplo" ]; then
    exec "$programa" "$@"
fi

# The first start leaves the example input in the program folder.
estado=0
"$programa" "recibos.txt,$TROVANEL_HOME/recibos.out,9,1,$(date +%d%m%Y),1" || estado=$?
echo "Estado de salida: $estado"
for f in "$TROVANEL_HOME/recibos.out" "$TROVANEL_HOME/recibos.log"; do
    if [ -f "$f" ]; then
        echo "== $f"
        cat "$f"
    fi
done
exit "$estado"
