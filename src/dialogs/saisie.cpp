#include "saisie.h"

#include "cp1252.h"

#include <QLineEdit>

namespace horaku
{

QString Texte1252(std::string_view octets)
{
    return QString::fromStdString(Cp1252VersUtf8(octets));
}

std::string Octets1252(const QString& texte)
{
    return Utf8VersCp1252(texte.toStdString());
}

bool Saisissable1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7F) return false;
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return true;
    // The 27 characters Windows-1252 places in 0x80…0x9F; its five undefined
    // bytes come back as C1 controls, which nobody types.
    static const char16_t kAutres[] = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
                                       0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
                                       0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
    for (char16_t a : kAutres)
        if (u == a) return true;
    return false;
}

QString Filtrer1252(const QString& texte)
{
    QString resultat;
    resultat.reserve(texte.size());
    for (int i = 0; i < texte.size(); ++i) {
        const QChar c = texte.at(i);
        if (c == u'\r' || c == u'\n' || c == u'\t' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            // CR LF is one break, one blank.
            if (c == u'\r' && i + 1 < texte.size() && texte.at(i + 1) == u'\n') ++i;
            resultat += u' ';
        } else if (Saisissable1252(c)) {
            resultat += c;
        }
    }
    return resultat;
}

Validateur1252::Validateur1252(QObject* parent) : QValidator(parent) {}

QValidator::State Validateur1252::validate(QString& texte, int& position) const
{
    const QString filtre = Filtrer1252(texte);
    if (filtre != texte) {
        // The cursor stays after what was typed, minus what was removed before it.
        position = int(Filtrer1252(texte.left(position)).size());
        texte = filtre;
    }
    return Acceptable;
}

void Validateur1252::fixup(QString& texte) const
{
    texte = Filtrer1252(texte);
}

void Limiter1252(QLineEdit* champ)
{
    champ->setValidator(new Validateur1252(champ));
}

} // namespace horaku
