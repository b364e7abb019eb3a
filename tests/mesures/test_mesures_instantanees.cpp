#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "banc_mesures.h"
#include "commun/fichiers_test.h"
#include "commun/impression_test.h"
#include "platform/ui/imprimante_qt.h"
#include "shell/imprimante_programme.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const QString Regle(109, QLatin1Char('-'));

// A row as printed: the four values at columns 0, 14, 42 and 56.
QString Rangee(const QString& a, const QString& b, const QString& c, const QString& d) {
    return a.leftJustified(14) + b.leftJustified(28) + c.leftJustified(14) + d;
}
QString Ligne_Voie(int k, const QString& nom, const QString& mesure, const QString& etat) {
    QString n = nom;
    Complete_Espaces(n, 15);
    return Rangee(QStringLiteral(" | %1").arg(k), QStringLiteral(" | ") + n, QStringLiteral(" | ") + mesure,
                  QStringLiteral(" | ") + etat);
}
const QString Intercalaire = Rangee(" | ", " | ", " | ", " | ");

QStringList Tete(int module, const QString& entete) {
    return {QStringLiteral("Velsa SA - IMPRESSION INSTANTANEE DES MESURES"),
            QString(91, QLatin1Char('*')),
            QString(),
            QStringLiteral("Nom de l'installation : Entrepôt frigorifique"),
            QString(),
            QString(),
            QStringLiteral("Module n°%1 - ").arg(module) + entete,
            QString(),
            QString(),
            QString(),
            Regle,
            Rangee(" | Voie N°", " | Nom", " | Mesure", " | Etat de l'alarme"),
            Regle};
}
QStringList Pied() {
    return {Regle, QString(), QString(), QString(), QString(), QStringLiteral("OstrelSoft le 07/03/2027 09:05:03")};
}

QStringList Imprime(const Imprimante_Enregistreuse& p) {
    QStringList l;
    for (const QString& t : p.Textes()) l << t;
    return l;
}

class Mesures_Instantanees : public Banc_Mesures {
protected:
    void SetUp() override {
        Banc_Mesures::SetUp();
        Nb_Voies_Module.fill(16);
    }
};

}  // namespace

TEST_F(Mesures_Instantanees, RapportDUnModuleDeSeizeVoiesLigneALigne) {
    Modifier_Voie(3, 4, [](sim::Voie_Simulee& v) { v.mesure = 215; v.etat = 13; });
    Modifier_Voie(3, 5, [](sim::Voie_Simulee& v) { v.mesure = -32767; v.etat = 6; });
    Modifier_Voie(3, 6, [](sim::Voie_Simulee& v) { v.etat = 7; v.nom = "Chambre froi"; });
    imprimante.Orientation(vbPRORLandscape);
    imprimante.FontBold(true);  // as an earlier report left it
    Num_Module = 3;
    EXPECT_TRUE(Imprimer_Mesures_Instantanees());
    EXPECT_TRUE(historique.Lbl_Informations().isEmpty());  // a printer took it: nothing to say

    QStringList attendu = Tete(3, "Chambres froides site 3");
    const char* const noms[] = {"Chambre 1", "Chambre 2", "Congelateur", "Quai", "Labo", "Chambre froi", "Hall", "Porte",
                                "Cuisine", "Cave", "Bureau", "Atelier", "Serre", "Vestiaire", "Local tech", "Porte quai"};
    const QStringList mesures = {"6", "9,5", "-62", "21,5", "Fermé", "14,5", "16,2", "17,9",
                                 "19,6", "21,3", "23", "...", "26,4", "28,1", "29,8", "Ouvert"};
    QStringList etats(16, QStringLiteral("   ...   "));
    etats[1] = QStringLiteral("Alarme haute non acquittée");
    etats[2] = QStringLiteral("Alarme basse acquittée");
    etats[3] = QString();  // code 13
    etats[4] = QStringLiteral("Alarme haute disparue");
    etats[11] = QStringLiteral("Défaut non acquitté");
    for (int k = 1; k <= 16; ++k) {
        attendu << Ligne_Voie(k, QString::fromUtf8(noms[k - 1]).leftJustified(12), mesures[k - 1], etats[k - 1]);
        attendu << Intercalaire;
    }
    attendu << Pied();
    EXPECT_EQ(Imprime(imprimante), attendu);
    EXPECT_EQ(imprimante.Lignes[13].Texte.indexOf(QStringLiteral(" | Chambre 1    ")), 14);
    EXPECT_EQ(imprimante.Documents_Termines, 1);
    for (const auto& l : imprimante.Lignes) {
        EXPECT_EQ(l.Police, QStringLiteral("Courier New"));
        EXPECT_EQ(l.Taille, 8);
        EXPECT_TRUE(l.Gras);  // bold is not set by this report
        EXPECT_EQ(l.Orientation, vbPRORPortrait);
    }
    EXPECT_TRUE(boites.Messages.empty());  // no message after a job sent
    // Name, measure and state of each channel in turn, from the current module.
    std::vector<Requete_Vue> r;
    for (int k = 1; k <= 16; ++k) r.insert(r.end(), {{0x12, k}, {0x00, k}, {0x01, k}});
    EXPECT_EQ(Requetes(), r);
    EXPECT_EQ(Code_Erreur, 0);
}

// The report sets its own page: whatever the printout before left, each
// line ends inside the right margin, and the whole report, closing line
// included, takes one sheet for 16 channels as for 8.
TEST_F(Mesures_Instantanees, UneFeuilleEtChaqueLigneDansLesMarges) {
    imprimante.Orientation(vbPRORLandscape);
    Num_Module = 3;
    EXPECT_TRUE(Imprimer_Mesures_Instantanees());
    EXPECT_EQ(ostrel_test::Lignes_Hors_Marges(imprimante), std::vector<QString>{});

    QTemporaryDir dossier;
    Imprimante_Qt pdf([&dossier] { return dossier.path(); });
    pdf.Forcer_Pdf(true);
    Definir_Imprimante(&pdf);
    const auto retour = qScopeGuard([this] { Definir_Imprimante(&imprimante); });
    for (const Octet voies : {16, 8}) {
        SCOPED_TRACE(voies);
        Nb_Voies_Module[2] = voies;
        pdf.Orientation(vbPRORLandscape);
        ASSERT_TRUE(Imprimer_Mesures_Instantanees());
        const QStringList fichiers = QDir(dossier.path()).entryList(QDir::Files);
        ASSERT_EQ(fichiers.size(), 1);
        EXPECT_EQ(ostrel_test::Pages_Pdf(ostrel_test::Lire(dossier.filePath(fichiers[0]))).size(), 1);
        QFile::remove(dossier.filePath(fichiers[0]));
    }
}

TEST_F(Mesures_Instantanees, HuitLignesPourUnModuleDeHuitVoies) {
    Nb_Voies_Module[0] = 8;
    Num_Module = 1;
    EXPECT_TRUE(Imprimer_Mesures_Instantanees());
    const QStringList l = Imprime(imprimante);
    EXPECT_EQ(l.size(), 13 + 16 + 6);
    EXPECT_EQ(l[6], QStringLiteral("Module n°1 - Chambres froides site 1"));
    EXPECT_EQ(l[13], Ligne_Voie(1, "Chambre 1   ", "4", "   ...   "));
    EXPECT_EQ(l[13 + 14], Ligne_Voie(8, "Porte quai  ", "Ouvert", "   ...   "));
}

TEST_F(Mesures_Instantanees, UnModuleQuiSeTaitEnCoursDeRapport) {
    // Channel 3's measure is refused on every attempt: from there on no read
    // goes out, and no row repeats what an earlier channel left behind.
    Num_Module = 2;
    Echec(0x00, 2, 6);
    EXPECT_TRUE(Imprimer_Mesures_Instantanees());
    const QStringList l = Imprime(imprimante);
    ASSERT_EQ(l.size(), 13 + 32 + 6);
    EXPECT_EQ(l[13 + 2], Ligne_Voie(2, "Chambre 2   ", "9,5", "Alarme haute non acquittée"));
    EXPECT_EQ(l[13 + 4], Ligne_Voie(3, "Congelateur ", "...", ""));
    for (int k = 4; k <= 16; ++k) EXPECT_EQ(l[13 + 2 * (k - 1)], Ligne_Voie(k, "", "...", "")) << k;
    EXPECT_EQ(l.last(), QStringLiteral("OstrelSoft le 07/03/2027 09:05:03"));
    EXPECT_EQ(Code_Erreur, 4);  // left for the caller
    EXPECT_EQ(Requetes().size(), 6u + 1u + 6u);  // two whole channels, then the name and the failed measure
    EXPECT_TRUE(boites.Messages.empty());

    // An error already pending when the report starts: nothing goes out.
    Oublier();
    imprimante.Effacer();
    EXPECT_TRUE(Imprimer_Mesures_Instantanees());
    EXPECT_TRUE(Requetes().empty());
    EXPECT_EQ(Imprime(imprimante)[13], Ligne_Voie(1, "", "...", ""));
}

TEST_F(Mesures_Instantanees, UneImpressionEchoueeEstSignaleeEtLeBalayageContinue) {
    Frm_Mesures_Forme* e = Ouvrir(1);
    ASSERT_NE(e, nullptr);
    imprimante.Echec_Prochain_Document = QStringLiteral("imprimante hors ligne");
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Imprimer")), Qt::LeftButton);
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Texte.startsWith(QStringLiteral("L'impression a échoué")));
    EXPECT_TRUE(boites.Messages[0].Texte.contains(QStringLiteral("imprimante hors ligne")));
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly | vbCritical);
    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());

    // Asked from the keyboard, the print runs inside a sweep step: the step
    // still moves on and the sweep goes on.
    boites.Effacer();
    imprimante.Echec_Prochain_Document = QStringLiteral("imprimante hors ligne");
    QTest::keyClick(e, Qt::Key_I);
    e->Tmr_Temps_Reel()->Declencher();
    EXPECT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());
    EXPECT_EQ(Voie_Courante, 1);
    Oublier();
    e->Tmr_Temps_Reel()->Declencher();
    EXPECT_EQ(Requetes(), (std::vector<Requete_Vue>{{0x00, 2}, {0x01, 2}}));
    EXPECT_TRUE(registre.Est_Chargee(QStringLiteral("Frm_Mesures")));
}

TEST_F(Mesures_Instantanees, SansImprimanteLeRapportDevientUnPdf) {
    QTemporaryDir disque;
    qputenv("OSTREL_DISQUE_C", disque.path().toUtf8());
    Repertoire_Application = QStringLiteral("c:\\OstrelSoft+");
    const auto pdf = Creer_Imprimante_Programme();
    if (Imprimante_Qt::Imprimante_Systeme_Configuree()) pdf->Forcer_Pdf(true);
    Definir_Imprimante(pdf.get());
    EXPECT_EQ(Dossier_Impressions(), disque.filePath("OstrelSoft+/Impressions"));

    Frm_Mesures_Forme* e = Ouvrir(1);
    ASSERT_NE(e, nullptr);
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Imprimer")), Qt::LeftButton);
    EXPECT_TRUE(boites.Messages.empty());
    const QStringList fichiers = QDir(Dossier_Impressions()).entryList(QDir::Files);
    ASSERT_EQ(fichiers, QStringList{"Impression_2027-03-07_09-05-03.pdf"});
    QFile f(QDir(Dossier_Impressions()).filePath(fichiers[0]));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(4) == "%PDF");
    // The screen says nothing: the dashboard's status line tells where the print went.
    EXPECT_EQ(historique.Lbl_Informations(),
              QStringLiteral("Impression enregistrée dans ") + Dossier_Impressions() + "\n" + fichiers[0]);
    // A print followed by its message names the file in it.
    Printer().Print(QStringLiteral("Réglages"));
    Terminer_Impression(QStringLiteral("Frm_Mesures"));
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(boites.Messages[0].Texte, QStringLiteral("Impression enregistrée dans le fichier :\n") +
                                            QDir(Dossier_Impressions()).filePath("Impression_2027-03-07_09-05-03_2.pdf"));
    boites.Effacer();

    // A folder that cannot be made: the failure is said, the screen goes on.
    QFile bouchon(disque.filePath("OstrelSoft+/Bloque"));
    ASSERT_TRUE(bouchon.open(QIODevice::WriteOnly));
    bouchon.close();
    Repertoire_Application = QStringLiteral("c:\\OstrelSoft+\\Bloque");
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Imprimer")), Qt::LeftButton);
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Texte.contains(QStringLiteral("ne peut pas être créé")));
    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());

    Definir_Imprimante(&imprimante);
    qunsetenv("OSTREL_DISQUE_C");
}
