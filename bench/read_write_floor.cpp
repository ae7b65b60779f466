// The floor of a whole calculation: a process that only reads a data file line by line
// and writes a file of a given size, as velko-batch reads the network and writes
// velko.rez.   read_write_floor DATAFILE OUTPUT BYTES
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  std::string line;
  std::size_t lines = 0;
  while (std::getline(in, line)) ++lines;
  const std::size_t bytes = std::strtoull(argv[3], nullptr, 10);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) return 1;
  const std::string row(51, '-');
  for (std::size_t written = 0; written < bytes; written += row.size() + 2) {
    std::fwrite(row.data(), 1, row.size(), out);
    std::fwrite("\r\n", 1, 2, out);
  }
  return std::fclose(out) == 0 && lines > 0 ? 0 : 1;
}
