#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the package check need, and those named as
# arguments (the fuzzing script adds clang); does nothing when all are present.
set -euo pipefail

paquetes=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev qt6-translations-l10n
    libsqlite3-dev libzip-dev mdbtools-dev libxlsxwriter-dev
    googletest libgtest-dev libgmock-dev
    dpkg-dev file desktop-file-utils lintian man-db sqlite3
    "$@"
)

faltan=()
for p in "${paquetes[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        faltan+=("$p")
    fi
done

if [ ${#faltan[@]} -eq 0 ]; then
    exit 0
fi

echo "Instalando: ${faltan[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
