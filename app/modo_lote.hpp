#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace trovanel {

class RegistroConversores;
struct Entorno;

// Runs the one conversion that the command line asks for, without any window: the arguments are
// input, output, template id, presenter id and the family's own (process date DDMMAAAA, issuer id,
// charge detail, ordering party's address and town). Messages go to entorno.avisos, and a last one says
// when orders were rejected (with the log's path) or when the input held no order. Returns the exit
// status: 0 nothing rejected, 1 orders rejected or the run stopped on an error, 2 refused before
// running. The run has a run state of its own.
int ejecutarModoLote(Entorno& entorno, const RegistroConversores& registro,
                     const std::vector<std::string>& parametros);

// What `trovanel --help` prints: how to start the program, the arguments of every template type, and
// where the ids it takes are read: the database in carpetaPrograma, with a read-only sqlite3 line each.
std::string ayudaModoLote(const std::string& version, const std::filesystem::path& carpetaPrograma);

} // namespace trovanel
