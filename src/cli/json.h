// A small JSON writer for the command-line tool's reports: values go out in
// the order they are given, texts as UTF-8 with the required escapes.
#pragma once

#include <string>
#include <string_view>

namespace horaku::cli
{

class Json
{
public:
    Json& objet();
    Json& finObjet();
    Json& tableau();
    Json& finTableau();
    Json& cle(std::string_view nom);
    Json& texte(std::string_view utf8);
    Json& entier(long long v);
    Json& reel(double v);
    Json& booleen(bool b);
    Json& nul();
    const std::string& resultat() const { return s_; }

private:
    void valeur();
    std::string s_;
    bool apresCle_ = false;
    bool premier_ = true;
};

} // namespace horaku::cli
