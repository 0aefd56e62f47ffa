#pragma once

#include <string_view>

namespace trovanel {

// Schema of the program's database and the data a new one holds (base templates, example template and
// party, provinces). ASCII only.
std::string_view esquemaSql();
std::string_view semillaSql();

} // namespace trovanel
