#!/usr/bin/env bash
# Builds the Debian package in a build folder and tries it as an office gets it: unpacked into a
# temporary root, the program converts the shipped example with a fresh HOME (no TROVANEL_HOME, so its
# data goes to ~/.local/share/trovanel), the bank file is the expected one and the desktop entry is valid.
#   scripts/comprobar_paquete.sh [BUILD_FOLDER]     (build-programa by default)
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
compilacion="$(cd "${1:-$raiz/build-programa}" && pwd)"

(cd "$compilacion" && cpack -G DEB >/dev/null)
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$compilacion/CMakeCache.txt")"
paquete="$compilacion/trovanel_${version}_$(dpkg --print-architecture).deb"
fallo() {
    echo "Paquete $paquete: $*" >&2
    exit 1
}
[ -f "$paquete" ] || fallo "no se ha generado"
dependencias="$(dpkg-deb -f "$paquete" Depends)"
[[ "$dependencias" == *libqt6widgets6* && "$dependencias" == *libsqlite3-0* ]] ||
    fallo "Depends no nombra las bibliotecas del programa: $dependencias"

temporal="$(mktemp -d)"
trap 'rm -rf "$temporal"' EXIT
dpkg-deb -x "$paquete" "$temporal/raiz"
mkdir "$temporal/casa"

# Records 51 and 53 carry the day the file is made; the expected file has 06/12/26 there.
antes="$(date +%d%m%y)"
estado=0
(cd "$temporal" && env -i HOME="$temporal/casa" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    "$temporal/raiz/usr/bin/trovanel" "recibos.txt,$temporal/recibos.out,9,1,05032026,1") || estado=$?
despues="$(date +%d%m%y)"
[ "$estado" -eq 0 ] || fallo "la conversión del ejemplo terminó con estado $estado"
datos="$temporal/casa/.local/share/trovanel"
for f in Estructuras.db config.ini recibos.txt; do
    [ -f "$datos/$f" ] || fallo "falta $f en $datos"
done
awk -v a="$antes" -v b="$despues" 'BEGIN { ORS = "\n" }
    /^5[13]80/ && (substr($0, 17, 6) == a || substr($0, 17, 6) == b) { $0 = substr($0, 1, 16) "061226" substr($0, 23) }
    { print }' "$temporal/recibos.out" >"$temporal/recibos.comparable"
cmp "$temporal/recibos.comparable" "$raiz/tests/data/csb19/ejemplo/esperado.out" ||
    fallo "el fichero del banco del ejemplo no es el esperado"

desktop-file-validate "$temporal/raiz/usr/share/applications/trovanel.desktop" ||
    fallo "la entrada de escritorio no es válida"
[ -f "$temporal/raiz/usr/share/trovanel/manual/manual.html" ] || fallo "falta el manual"
echo "Paquete comprobado: $paquete"
