# The installed tree: `cmake --install` into a fresh prefix puts the program, its desktop entry, its icon,
# the manual with its pictures, the manual page, the licence and the changelog where the desktop, the
# program and man look for them, and nothing else.
# (scripts/comprobar_paquete.sh validates the desktop entry.)
# Arguments: COMPILACION (build folder), PREFIJO (a folder to install into), BINARIOS and DATOS (the
# install folders of programs and data, relative to the prefix), MANUAL (the manual seen from BINARIOS).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIJO}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${COMPILACION}" --prefix "${PREFIJO}"
    RESULT_VARIABLE resultado OUTPUT_QUIET)
if(NOT resultado EQUAL 0)
    message(FATAL_ERROR "cmake --install falló: ${resultado}")
endif()

set(carpeta_manual "${DATOS}/trovanel/manual")
set(esperados
    "${BINARIOS}/trovanel"
    "${DATOS}/applications/trovanel.desktop"
    "${DATOS}/icons/hicolor/scalable/apps/trovanel.svg"
    "${carpeta_manual}/manual.html"
    "${DATOS}/man/man1/trovanel.1.gz"
    "${DATOS}/doc/trovanel/copyright"
    "${DATOS}/doc/trovanel/changelog.gz")
# Every picture the manual shows lies beside it.
file(READ "${PREFIJO}/${carpeta_manual}/manual.html" manual)
string(REGEX MATCHALL "src=\"[^\"]+\"" imagenes "${manual}")
list(LENGTH imagenes cuantas)
if(cuantas LESS 5)
    message(FATAL_ERROR "El manual no muestra las ventanas: ${cuantas} imágenes")
endif()
foreach(imagen IN LISTS imagenes)
    string(REGEX REPLACE "^src=\"(.*)\"$" "\\1" imagen "${imagen}")
    list(APPEND esperados "${carpeta_manual}/${imagen}")
endforeach()
list(REMOVE_DUPLICATES esperados)

file(GLOB_RECURSE instalados RELATIVE "${PREFIJO}" "${PREFIJO}/*")
foreach(fichero IN LISTS esperados)
    if(NOT EXISTS "${PREFIJO}/${fichero}")
        message(FATAL_ERROR "Falta ${fichero} en la instalación")
    endif()
    list(REMOVE_ITEM instalados "${fichero}")
endforeach()
if(instalados)
    message(FATAL_ERROR "La instalación lleva ficheros que no son del programa: ${instalados}")
endif()

# The program finds the manual from its own folder.
get_filename_component(manual_visto "${PREFIJO}/${BINARIOS}/${MANUAL}" ABSOLUTE)
if(NOT manual_visto STREQUAL "${PREFIJO}/${carpeta_manual}/manual.html")
    message(FATAL_ERROR "El programa busca el manual en ${manual_visto}")
endif()

file(REMOVE_RECURSE "${PREFIJO}")
