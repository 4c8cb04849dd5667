// Texts are kept as the Windows-1252 bytes the files hold; these conversions
// are the only bridge to UTF-8 (Qt, JSON, messages).  Every byte round-trips:
// the five bytes the code page leaves undefined map to the matching C1 controls.
#pragma once

#include <string>
#include <string_view>

namespace horaku
{

std::string Cp1252VersUtf8(std::string_view cp1252);
// Characters that Windows-1252 cannot hold become '?'; malformed UTF-8 too.
std::string Utf8VersCp1252(std::string_view utf8);
// Unicode code point of one Windows-1252 byte.
char32_t Cp1252VersUnicode(unsigned char octet);

} // namespace horaku
