// Writes a generated building-shaped network as a data file to standard output:
//   make_network WORKS [IDENTIFIERS [SEED]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/building_network.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: make_network WORKS [IDENTIFIERS [SEED]]\n", stderr);
    return 2;
  }
  const int works = std::atoi(argv[1]);
  const int identifiers = argc > 2 ? std::atoi(argv[2]) : 4;
  const unsigned long long seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
  // A slip such as a file name in place of a count would otherwise divide by zero.
  if (works < 1 || identifiers < 1) {
    std::fputs("make_network: WORKS and IDENTIFIERS must be positive whole numbers\n", stderr);
    return 2;
  }
  const std::string text = velko::bench::dataFileText(velko::bench::buildingNetwork(works, identifiers, seed));
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
