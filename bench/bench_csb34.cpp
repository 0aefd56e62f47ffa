// Converts a generated norm 34 input of one line per transfer through the real driver and prints the
// transfers per second and the peak resident memory.
//   bench_csb34 [transfers]   (1,000,000 by default)
#include "familias.hpp"

#include <cstdlib>

int main(int argc, char** argv) {
    using namespace trovanel::bench;
    return medir(medicionCSB34(argc > 1 ? std::atol(argv[1]) : 1'000'000));
}
