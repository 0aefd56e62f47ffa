// Converts a generated supplier-payment input of one line per payment, with the supplier's address and
// telephone, through the real driver and prints the payments per second and the peak resident memory.
//   bench_zop [payments]   (1,000,000 by default)
#include "familias.hpp"

#include <cstdlib>

int main(int argc, char** argv) {
    using namespace trovanel::bench;
    return medir(medicionZOP(argc > 1 ? std::atol(argv[1]) : 1'000'000));
}
