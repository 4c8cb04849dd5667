#include "cp1252.h"

#include <array>

namespace horaku
{

namespace
{

// 0x80 to 0x9F; the undefined 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their C1 code.
constexpr std::array<char16_t, 32> kHaut = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AjouterUtf8(std::string& sortie, char32_t c)
{
    if (c < 0x80) {
        sortie += static_cast<char>(c);
    } else if (c < 0x800) {
        sortie += static_cast<char>(0xC0 | (c >> 6));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        sortie += static_cast<char>(0xE0 | (c >> 12));
        sortie += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        sortie += static_cast<char>(0xF0 | (c >> 18));
        sortie += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        sortie += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        sortie += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char UnicodeVersCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHaut.size(); ++i)
        if (kHaut[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

char32_t Cp1252VersUnicode(unsigned char octet)
{
    if (octet >= 0x80 && octet < 0xA0) return kHaut[octet - 0x80];
    return octet;
}

std::string Cp1252VersUtf8(std::string_view texte)
{
    std::string sortie;
    sortie.reserve(texte.size() + texte.size() / 4);
    for (char ch : texte)
        AjouterUtf8(sortie, Cp1252VersUnicode(static_cast<unsigned char>(ch)));
    return sortie;
}

std::string Utf8VersCp1252(std::string_view texte)
{
    std::string sortie;
    sortie.reserve(texte.size());
    std::size_t i = 0;
    const std::size_t n = texte.size();
    while (i < n) {
        const auto o = static_cast<unsigned char>(texte[i]);
        int suite = 0;
        char32_t c = 0;
        if (o < 0x80) {
            c = o;
        } else if ((o & 0xE0) == 0xC0) {
            suite = 1;
            c = o & 0x1F;
        } else if ((o & 0xF0) == 0xE0) {
            suite = 2;
            c = o & 0x0F;
        } else if ((o & 0xF8) == 0xF0) {
            suite = 3;
            c = o & 0x07;
        } else {
            sortie += '?';
            ++i;
            continue;
        }
        bool correct = i + static_cast<std::size_t>(suite) < n;
        for (int k = 1; correct && k <= suite; ++k) {
            const auto s = static_cast<unsigned char>(texte[i + static_cast<std::size_t>(k)]);
            if ((s & 0xC0) != 0x80)
                correct = false;
            else
                c = (c << 6) | (s & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are malformed too.
        static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (correct && (c < kMinimum[suite] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF))
            correct = false;
        if (!correct) {
            sortie += '?';
            ++i;
            continue;
        }
        sortie += UnicodeVersCp1252(c);
        i += static_cast<std::size_t>(suite) + 1;
    }
    return sortie;
}

} // namespace horaku
