#pragma once

#include <string>
#include <string_view>

namespace velko {

// The program's files are 8-bit Windows-1251 text; inside, texts are UTF-8.
// A character the code page lacks is refused with a CommandError.
std::string utf8ToCp1251(std::string_view utf8);
std::string cp1251ToUtf8(std::string_view cp1251);

}  // namespace velko
