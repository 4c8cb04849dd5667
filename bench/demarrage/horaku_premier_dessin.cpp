// Horaku's own start-up, exactly as the program runs it, with a hook that
// reports at the first paint of the picture and ends the run.
#include "application.h"
#include "mesure.h"
#include "principale.h"

#include <QEvent>
#include <QLabel>

namespace
{

class PremierDessin final : public QObject
{
public:
    explicit PremierDessin(QLabel* image) : QObject(image), image_(image) {}

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::Paint && !fait_ && !image_->pixmap().isNull()) {
            fait_ = true;
            demarrage::Rapporter();
            QCoreApplication::exit(0);
        }
        return QObject::eventFilter(objet, evenement);
    }

private:
    QLabel* image_;
    bool fait_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    return horaku::LancerHoraku(argc, argv, [](TFenetre_Principale& fenetre) {
        auto* image = fenetre.findChild<QLabel*>(QStringLiteral("ImageEdT"));
        image->installEventFilter(new PremierDessin(image));
    });
}
