// Converts a generated norm 19 input of one line per receipt through the real driver and prints the
// receipts per second and the peak resident memory.
//   bench_csb19 [receipts]   (1,000,000 by default)
#include "familias.hpp"

#include <cstdlib>

int main(int argc, char** argv) {
    using namespace trovanel::bench;
    return medir(medicionCSB19(argc > 1 ? std::atol(argv[1]) : 1'000'000));
}
