// The floor: the least a Qt program with a main window, a menu and a label
// showing a picture needs to reach its first paint.  It quits from the
// label's first paint event.
#include "mesure.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

namespace
{

class PremierDessin final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::Paint && !fait_) {
            fait_ = true;
            demarrage::Rapporter();
            QCoreApplication::exit(0);
        }
        return QObject::eventFilter(objet, evenement);
    }

private:
    bool fait_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow fenetre;
    fenetre.menuBar()->addMenu(QStringLiteral("Fichier"))->addAction(QStringLiteral("Quitter"));
    auto* label = new QLabel(&fenetre);
    QImage image(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (image.isNull()) {
        image = QImage(1258, 309, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    label->setPixmap(QPixmap::fromImage(image));
    fenetre.setCentralWidget(label);
    PremierDessin filtre;
    label->installEventFilter(&filtre);
    fenetre.show();
    return QApplication::exec();
}
