#include "json.h"

#include <cmath>
#include <cstdio>

namespace horaku::cli
{

void Json::valeur()
{
    if (!apresCle_ && !premier_) s_ += ',';
    apresCle_ = false;
    premier_ = false;
}

Json& Json::objet()
{
    valeur();
    s_ += '{';
    premier_ = true;
    return *this;
}

Json& Json::finObjet()
{
    s_ += '}';
    premier_ = false;
    return *this;
}

Json& Json::tableau()
{
    valeur();
    s_ += '[';
    premier_ = true;
    return *this;
}

Json& Json::finTableau()
{
    s_ += ']';
    premier_ = false;
    return *this;
}

Json& Json::cle(std::string_view nom)
{
    if (!premier_) s_ += ',';
    premier_ = false;
    apresCle_ = true;
    s_ += '"';
    s_ += nom;
    s_ += "\":";
    return *this;
}

Json& Json::texte(std::string_view t)
{
    valeur();
    s_ += '"';
    for (char c : t) {
        switch (c) {
        case '"':
            s_ += "\\\"";
            break;
        case '\\':
            s_ += "\\\\";
            break;
        case '\n':
            s_ += "\\n";
            break;
        case '\r':
            s_ += "\\r";
            break;
        case '\t':
            s_ += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char u[8];
                std::snprintf(u, sizeof u, "\\u%04x", static_cast<unsigned>(c));
                s_ += u;
            } else {
                s_ += c;
            }
        }
    }
    s_ += '"';
    return *this;
}

Json& Json::entier(long long v)
{
    valeur();
    s_ += std::to_string(v);
    return *this;
}

Json& Json::reel(double v)
{
    valeur();
    if (!std::isfinite(v)) {
        s_ += "null";
        return *this;
    }
    char t[40];
    std::snprintf(t, sizeof t, "%.9g", v);
    s_ += t;
    return *this;
}

Json& Json::booleen(bool b)
{
    valeur();
    s_ += b ? "true" : "false";
    return *this;
}

Json& Json::nul()
{
    valeur();
    s_ += "null";
    return *this;
}

} // namespace horaku::cli
