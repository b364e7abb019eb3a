// Pictures of the journal screen and of the purge screen over the simulated
// bus, as the dashboard shows them at 1280 x 1024:
//   capture_journal <dossier>
// writes journal_choix.png, journal_liste.png, journal_dates.png,
// journal_code.png and purger.png there.
#include <QTest>

#include "banc_journal.h"
#include "commun/capture_programme.h"

int main(int argc, char** argv) {
    using namespace ostrel;
    if (!ostrel_test::Arguments_Suffisants(argc, 1, "capture_journal dossier")) return 2;
    const QString dossier = QString::fromLocal8Bit(argv[1]);
    test::Banc_Journal banc;
    if (!banc.Demarrer()) return 1;
    Configurer_Application();
    auto prendre = [&](const char* nom) {
        ostrel_test::Traiter_Evenements();
        ostrel_test::Enregistrer_Image(banc.Tableau(), dossier + QLatin1Char('/') + QString::fromLatin1(nom));
    };
    banc.Ouvrir_Ecran_Journal(3);
    prendre("journal_choix.png");
    QTest::mouseClick(banc.Controle<QPushButton>("Cmd_OK"), Qt::LeftButton);
    prendre("journal_liste.png");
    QTest::mouseClick(banc.Controle<QPushButton>("Cmd_Acquitter"), Qt::LeftButton);
    QTest::keyClicks(banc.Controle<QLineEdit>("Txt_Code_Acce"), QStringLiteral("12"));
    prendre("journal_code.png");
    banc.Controle<QLineEdit>("Txt_Code_Acce")->clear();
    QTest::mouseClick(banc.Controle<QRadioButton>("Opt_Journal_Date"), Qt::LeftButton);
    prendre("journal_dates.png");
    QTest::mouseClick(banc.Controle<QPushButton>("Cmd_Purger"), Qt::LeftButton);
    QTest::keyClicks(banc.Controle<QLineEdit>("Txt_Code_Acce"), QStringLiteral("1003"));
    prendre("purger.png");
    for (const QString& t : banc.boites.Textes()) std::fprintf(stderr, "boîte : %s\n", qPrintable(t));
    banc.Arreter();
    return 0;
}
