#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# then runs them again in an optimised build without sanitizers (their allocator can hide faults).
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$raiz/scripts/dependencias.sh" clang-format

# Every source laid out as .clang-format says (Debian 12's clang-format: other versions break some lines
# elsewhere); a file that is not fails the run before anything is built.
find "$raiz" \( -path "$raiz/build*" -o -path "$raiz/.git" \) -prune -o \( -name '*.cpp' -o -name '*.hpp' \) \
    -print0 | xargs -0 clang-format --dry-run --Werror

# Here, unlike a user's build, every warning is an error.
compilacion="$raiz/build-pruebas"
nucleos="$(nproc)"
cmake -S "$raiz" -B "$compilacion" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTROVANEL_SANITIZERS=ON \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$compilacion" -j "$nucleos"

# The optimised program and benchmarks must build too: the run command uses that build. It is configured
# as the README's package build, without -Werror, so a warning fails here by its line in the output: every
# file is compiled again (a warning shows only when its file is compiled, and the run command or an earlier
# run may have compiled it), in English (a translated compiler does not say "warning:"). Its Debian package
# passes lintian and, unpacked, converts the example.
cmake -S "$raiz" -B "$raiz/build-programa" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTROVANEL_PRUEBAS=OFF >/dev/null
LC_ALL=C cmake --build "$raiz/build-programa" -j "$nucleos" --clean-first 2>&1 |
    tee "$raiz/build-programa/compilacion.log"
if grep -q 'warning:' "$raiz/build-programa/compilacion.log"; then
    echo "La compilación del programa tiene avisos" >&2
    exit 1
fi
"$raiz/scripts/comprobar_paquete.sh" "$raiz/build-programa"

# Tests in an optimised build without sanitizers, hardened as the package.
cmake -S "$raiz" -B "$raiz/build-plano" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$raiz/build-plano" -j "$nucleos"

export QT_QPA_PLATFORM=offscreen
(cd "$raiz/build-plano" && ctest --output-on-failure -j "$nucleos" --timeout 600)

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$raiz/scripts/lsan.supp:print_suppressions=0"
cd "$compilacion"
ctest --output-on-failure -j "$nucleos" --timeout 600
