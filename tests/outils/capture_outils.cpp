// Pictures of the companion programs' windows, as they open and in the
// middle of a run:
//   capture_outils <dossier>
// writes exportation.png, exportation_en_cours.png, conversion.png and
// conversion_en_cours.png into the folder.
#include <QDir>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>

#include "commun/capture.h"
#include "tools/form1.h"
#include "tools/frm_export.h"

namespace {

bool Capturer(ostrel::Fenetre_Outil& f, const QString& dossier, const QString& nom, const QString& etape) {
    f.show();
    QApplication::processEvents();
    bool ok = ostrel_test::Enregistrer_Image(&f, QDir(dossier).filePath(nom + QStringLiteral(".png")));
    f.Cmd_Démarrage->setEnabled(false);
    f.Frame1->setTitle(etape);
    f.Frame1->show();
    f.ProgressBar1->setValue(45);
    QApplication::processEvents();
    ok = ostrel_test::Enregistrer_Image(&f, QDir(dossier).filePath(nom + QStringLiteral("_en_cours.png"))) && ok;
    f.hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace ostrel;
    if (!ostrel_test::Arguments_Suffisants(argc, 1, "capture_outils dossier")) return 2;
    QApplication application(argc, argv);
    Configurer_Outil(QStringLiteral("Exportation"));
    const QString dossier = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dossier);
    Frm_Export exportation;
    Form1 conversion;
    const bool ok =
        Capturer(exportation, dossier, QStringLiteral("exportation"), QStringLiteral("Ecriture du nouveau fichier en cours ...")) &&
        Capturer(conversion, dossier, QStringLiteral("conversion"), QStringLiteral("Lecture de l'ancien fichier en cours ..."));
    return ok ? 0 : 1;
}
