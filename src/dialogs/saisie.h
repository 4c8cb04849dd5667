// What the user types into a dialog ends up as Windows-1252 bytes on one line
// of a .edt file.  Every text field of the dialogs therefore takes only the
// characters that code page can hold, and never a line break: what cannot be
// stored cannot be typed, pasted text included.  The conversions between the
// stored bytes and Qt's strings live here too, so each dialog uses the same.
#pragma once

#include <QString>
#include <QValidator>

#include <string>

class QLineEdit;

namespace horaku
{

// Windows-1252 bytes of the model → text for a widget.
QString Texte1252(std::string_view octets);
// Text of a widget → Windows-1252 bytes (only ever given filtered text).
std::string Octets1252(const QString& texte);

// True when the character can be typed: printable and held by Windows-1252.
bool Saisissable1252(QChar c);
// The text without the characters that cannot be typed (line breaks and tabs
// become blanks, so that two pasted lines do not run together).
QString Filtrer1252(const QString& texte);

// Filters instead of refusing: a paste keeps what can be stored.
class Validateur1252 final : public QValidator
{
    Q_OBJECT

public:
    explicit Validateur1252(QObject* parent = nullptr);
    State validate(QString& texte, int& position) const override;
    void fixup(QString& texte) const override;
};

// Gives the field a Validateur1252 (owned by the field).
void Limiter1252(QLineEdit* champ);

} // namespace horaku
