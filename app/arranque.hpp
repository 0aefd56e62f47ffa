#pragma once

#include "base_datos.hpp"
#include "reloj.hpp"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class Avisos;
struct Configuracion;

// Exit statuses of the process.
inline constexpr int kSalidaCorrecta = 0;
inline constexpr int kSalidaConErrores = 1;
inline constexpr int kSalidaRechazada = 2;
inline constexpr int kSalidaSinBaseDatos = 3;

// Said on standard error when the main window is asked for where no window can be shown.
inline constexpr const char* kSinPantalla =
    "No hay pantalla: la ventana del programa no se puede abrir (no están definidas DISPLAY ni "
    "WAYLAND_DISPLAY).\r\nPara convertir sin ventana, use el modo lote: "
    "trovanel 'entrada,salida,plantilla,...' (véanse man trovanel y trovanel --help)";

// Whether windows can be shown: a display named by DISPLAY or WAYLAND_DISPLAY, or a Qt platform chosen
// in QT_QPA_PLATFORM (a list separated by ";", options after ":") that needs none, such as offscreen,
// minimal, vnc, linuxfb or eglfs. Only xcb and the wayland ones need a display.
bool hayPantalla(std::string_view display, std::string_view wayland, std::string_view plataformaQt);
// The same from the environment.
bool hayPantalla();

// The command line as one text, as the user typed it: the arguments joined by blanks.
std::string unirLineaComandos(int argc, const char* const* argv);

// Splits the command line at TAB and comma into at most limite arguments. Element 0 is never used, so
// argument i is element i. Blanks belong to the arguments; consecutive separators give no empty
// argument; text beyond the limit is ignored.
std::vector<std::string> LeerParametros(std::string_view lineaComandos, std::size_t limite);

// Name of the day's copy of the database: day, month and year without leading zeros, ".Copy".
std::filesystem::path rutaCopiaDelDia(const std::filesystem::path& carpetaPrograma, const FechaHora& hoy);

// Start-up up to the open database: opens (creating it on first start) the program's database
// exclusively, writes a config.ini with both flags off when there is none, then makes the day's copy when no
// file of that name exists; a copy takes its name only once complete, and what a killed start left is
// removed first. A copy that cannot be made is reported and start-up goes on; a database that cannot be
// opened is reported ("Error: " and the description) and gives nothing.
std::optional<BaseDatos> abrirBaseDatosAlArrancar(Configuracion& configuracion, Avisos& avisos,
                                                  const Reloj& reloj,
                                                  const std::filesystem::path& carpetaPrograma);

} // namespace trovanel
