#include "data/text_codec.h"

#include <iconv.h>

#include <cerrno>

#include "model/command_error.h"

namespace velko {

namespace {

std::string convert(std::string_view input, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw CommandError(std::string("Нет перекодировки ") + from + " -> " + to);
  }
  std::string output(input.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) {
    throw CommandError("Текст содержит знак, которого нет в кодировке " + std::string(to));
  }
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace

std::string utf8ToCp1251(std::string_view utf8) { return convert(utf8, "CP1251", "UTF-8"); }

std::string cp1251ToUtf8(std::string_view cp1251) { return convert(cp1251, "UTF-8", "CP1251"); }

}  // namespace velko
