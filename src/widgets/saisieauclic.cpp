#include "saisieauclic.h"

#include <QDateTimeEdit>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

namespace horaku
{
namespace
{

class SelectionAuClic final : public QObject
{
public:
    explicit SelectionAuClic(QDateTimeEdit* champ) : QObject(champ), champ_(champ) {}

    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(evenement)->button() == Qt::LeftButton) {
            // The press has placed the field's own cursor; the release moves it.
            if (champ_ && champ_->hasFocus()) {
                const QDateTimeEdit::Section premiere = champ_->sectionAt(0);
                champ_->setCurrentSection(premiere);
                champ_->setSelectedSection(premiere);
            }
        }
        return QObject::eventFilter(objet, evenement);
    }

private:
    QPointer<QDateTimeEdit> champ_;
};

} // namespace

void SaisieAuClic(QDateTimeEdit* champ)
{
    if (QLineEdit* texte = champ->findChild<QLineEdit*>())
        texte->installEventFilter(new SelectionAuClic(champ));
}

} // namespace horaku
