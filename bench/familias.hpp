#pragma once

#include "medida.hpp"

namespace trovanel::bench {

// The benchmark of each family on a generated input of that many one-line orders.
// Norm 19: the example template 9 (244 characters a line, account holder and address).
Medicion medicionCSB19(long recibos);
// Norm 58: a template of its own (216 characters, due date and the debtor's address).
Medicion medicionCSB58(long creditos);
// Norm 34 transfers: a template of its own (178 characters, address, town and concept).
Medicion medicionCSB34(long transferencias);
// Supplier payments: a template of its own (184 characters, address and telephone; cheques and
// transfers in turn).
Medicion medicionZOP(long pagos);

} // namespace trovanel::bench
