// Converts a generated norm 58 input of one line per credit, each with a due date and the debtor's
// address, through the real driver and prints the credits per second and the peak resident memory.
//   bench_csb58 [credits]   (1,000,000 by default)
#include "familias.hpp"

#include <cstdlib>

int main(int argc, char** argv) {
    using namespace trovanel::bench;
    return medir(medicionCSB58(argc > 1 ? std::atol(argv[1]) : 1'000'000));
}
