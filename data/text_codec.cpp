#include "data/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "model/command_error.h"

namespace velko {

namespace {

// `growth`: the most output bytes one input byte can become.
std::string convert(std::string_view input, const char* to, const char* from, std::size_t growth) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw CommandError(std::string("Нет перекодировки ") + from + " -> " + to);
  }
  // Not zero-filled: a results file of 100,000 works is tens of megabytes.
  const std::size_t capacity = input.size() * growth + 16;
  const std::unique_ptr<char[]> buffer(new char[capacity]);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* out = buffer.get();
  std::size_t outLeft = capacity;
  const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) {
    throw CommandError("Текст содержит знак, которого нет в кодировке " + std::string(to));
  }
  return std::string(buffer.get(), capacity - outLeft);
}

}  // namespace

std::string utf8ToCp1251(std::string_view utf8) { return convert(utf8, "CP1251", "UTF-8", 1); }

std::string cp1251ToUtf8(std::string_view cp1251) { return convert(cp1251, "UTF-8", "CP1251", 3); }

}  // namespace velko
