#pragma once

#include <string_view>

namespace trovanel {

// Schema of the program's database and the data a new one holds (base templates, example template and
// party, provinces). ASCII only.
std::string_view esquemaSql();
std::string_view semillaSql();

// The example input of the seeded template 9 (ejemplo/recibos.txt), which a new program folder gets.
std::string_view ejemploRecibos();

} // namespace trovanel
