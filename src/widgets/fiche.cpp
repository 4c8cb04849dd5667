#include "fiche.h"

#include <QStringList>

namespace horaku
{

QFont PoliceFiche()
{
    QFont police;
    police.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                        QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    police.setStyleHint(QFont::SansSerif);
    police.setPointSize(8);
    return police;
}

} // namespace horaku
