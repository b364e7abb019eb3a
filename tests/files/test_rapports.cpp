#include "aide_fichiers.h"

#include <algorithm>

#include "files/impression.h"
#include "link/donnees.h"
#include "platform/dates.h"

using namespace ostrel;
using namespace ostrel::essai;

namespace {

// A table row as printed: the label to column 42, then cells of 13
// characters at least, each carried to the next print zone.
QString Rangee(const QString& libelle, std::array<QString, 8> cellules, int largeur = 12) {
    QString ligne = libelle;
    ligne += QString(Prochaine_Zone(ligne.size()) - ligne.size(), QLatin1Char(' '));
    for (size_t c = 0; c < 8; ++c) {
        ligne += Complete_Espaces(cellules[c], largeur);
        if (c < 7) ligne += QString(Prochaine_Zone(ligne.size()) - ligne.size(), QLatin1Char(' '));
    }
    return ligne;
}

void Preparer_Voies() {
    for (size_t k = 0; k < 16; ++k) {
        Parametres_Voie& v = Tab_Parametres_Voies[k];
        v = Parametres_Voie{};
        v.Nom_Voie = QStringLiteral("Voie %1").arg(k + 1);
        v.Voie_Valide = Vrai;
        v.Periode_Enreg = 30;
        v.Alarme_Valide = Vrai;
        v.Tempo_Alarme = 15;
        v.Seuil_Haut = 21.5f;
        v.Seuil_Bas = -5;
        v.Buzzer = Vrai;
        v.Offset = 0.3f;
    }
    auto& v = Tab_Parametres_Voies;
    v[0].Nom_Voie = "Chambre froi";  // 12 characters
    v[0].Inhib_Enreg_ETOR = Vrai;
    v[0].Num_ETOR_Inhib = 4;
    v[0].Num_Planning_Inhib = 2;
    v[0].Inhib_Alarme_ETOR = Vrai;
    v[1].Voie_Valide = Faux;
    v[2].Nature_Capteur = 1;  // 4-20 mA
    v[2].Unite = 3;
    v[2].Echelle_4mA = -1.5f;
    v[2].Echelle_20mA = 250;
    v[2].Relais_2 = Vrai;
    v[3].Nature_Capteur = 2;  // ETOR, alarm input
    v[3].Unite = 2;
    v[3].Contact_NF = Vrai;
    v[3].Num_Planning_Inhib = 7;
    v[3].Inhib_Alarme_ETOR = Vrai;
    v[3].Num_ETOR_Inhib = 5;
    v[3].Inhib_Enreg_ETOR = Vrai;
    v[4].Nature_Capteur = 2;  // ETOR, inhibition input
    v[4].Role_ETOR_Inhib = Vrai;
    v[5].Alarme_Valide = Faux;  // alarms off, recording inhibited by ETOR 2
    v[5].Inhib_Enreg_ETOR = Vrai;
    v[5].Num_ETOR_Inhib = 2;
    v[6].Unite = 9;  // codes outside the tables leave their cells empty
    v[6].Nature_Capteur = 5;
    v[7].Buzzer = Faux;
}

class Rapports : public Essai_Fichiers {
protected:
    void SetUp() override {
        Essai_Fichiers::SetUp();
        Num_Module = 5;
        tableau.Lbl_Info_Client("Laboratoire central");
        Preparer_Voies();
    }
    bool Avant(const QString& premier, const QString& second) const {
        auto a = std::find(formes.journal.begin(), formes.journal.end(), premier);
        auto b = std::find(formes.journal.begin(), formes.journal.end(), second);
        return a != formes.journal.end() && b != formes.journal.end() && a < b;
    }
};

}  // namespace

TEST(CompleteEspaces, CompteDepuisLaLongueurSansJamaisRaccourcir) {
    QString s = "abc";
    EXPECT_EQ(Complete_Espaces(s, 5), "abc   ");
    EXPECT_EQ(s, "abc   ");  // changed in place
    EXPECT_EQ(Complete_Espaces("abcdefg", 5), "abcdefg");
    EXPECT_EQ(Complete_Espaces("", 0), " ");
    EXPECT_EQ(Complete_Espaces("", -1), "");
    EXPECT_EQ(Complete_Espaces("Chambre froi", 12), "Chambre froi ");
    EXPECT_EQ(Complete_Espaces("Inhibition", 12), "Inhibition   ");
    EXPECT_EQ(Complete_Espaces("Paramètres voies", 12), "Paramètres voies");
}

TEST_F(Rapports, VoiesHuitCanauxLigneParLigne) {
    ASSERT_TRUE(Imprimer_Parametres_Voies(8));
    const auto& l = imprimante.Lignes;
    ASSERT_EQ(l.size(), 5u + 21u);
    EXPECT_EQ(l[0].Texte, "Velsa SA   Laboratoire central");
    EXPECT_EQ(l[1].Texte, "");
    EXPECT_EQ(l[2].Texte, QStringLiteral("Configuration du module n° 5"));
    EXPECT_EQ(l[3].Texte, "");
    EXPECT_EQ(l[4].Texte, "");
    for (size_t i = 0; i < l.size(); ++i) {
        EXPECT_EQ(l[i].Police, "Courier New");
        EXPECT_EQ(l[i].Orientation, vbPRORLandscape);
        EXPECT_EQ(l[i].Taille, i < 5 ? 8 : 7) << i;
        EXPECT_EQ(l[i].Gras, i < 5) << i;
    }
    const std::vector<QString> attendu = {
        Rangee("Paramètre de la voie n°                ", {"1", "2", "3", "4", "5", "6", "7", "8"}),
        Rangee("Nom de la voie :                       ", {"Chambre froi", "Voie 2", "Voie 3", "Voie 4", "Voie 5", "Voie 6", "Voie 7", "Voie 8"}),
        Rangee("Voie valide :                          ", {"Oui", "Non", "Oui", "Oui", "Oui", "Oui", "Oui", "Oui"}),
        Rangee("Période Enregistrements :              ", {"30 minutes", "...", "30 minutes", "...", "...", "30 minutes", "30 minutes", "30 minutes"}),
        Rangee("Unité :                                ", {"°C", "...", "Bar", "U", "°C", "°C", "", "°C"}),
        Rangee("Nature du Capteur :                    ", {"AD590", "...", "4-20 mA", "ETOR", "ETOR", "AD590", "", "AD590"}),
        Rangee("Type ETOR :                            ", {"...", "...", "-1,5", "NF", "NO", "...", "", "..."}),
        Rangee("Rôle ETOR :                            ", {"...", "...", "250", "Alarme", "Inhibition", "...", "", "..."}),
        Rangee("", {"", "", "", "", "", "", "", ""}),
        Rangee("Alarme Valide :                        ", {"Oui", "...", "Oui", "Oui", "Non", "Non", "Oui", "Oui"}),
        Rangee("Temporisation Alarme :                ", {"15", "...", "15", "15", "...", "...", "15", "15"}),
        Rangee("Seuil Bas :                           ", {"-5", "...", "-5", "...", "...", "...", "-5", "-5"}),
        Rangee("Seuil Haut :                          ", {"21,5", "...", "21,5", "...", "...", "...", "21,5", "21,5"}),
        Rangee("Activation du buzzer :                ", {"Oui", "...", "Oui", "Oui", "...", "...", "Oui", "Non"}),
        Rangee("Relais d'alarme :                     ", {"Relais 1", "...", "Relais 2", "Relais 1", "...", "...", "Relais 1", "Relais 1"}),
        Rangee("", {"", "", "", "", "", "", "", ""}),
        Rangee("Inhibition des Enregistrements :      ", {"4", "...", "Non", "...", "...", "2", "Non", "Non"}),
        Rangee("Inhibition des Alarmes par Planning : ", {"2", "...", "Non", "7", "...", "...", "Non", "Non"}),
        Rangee("Inhibition des Alarmes par ETOR :     ", {"4", "...", "Non", "5", "...", "...", "Non", "Non"}),
        Rangee("", {"", "", "", "", "", "", "", ""}),
        Rangee("Offset :                              ", {"0,3", "...", "0,3", "...", "...", "0,3", "0,3", "0,3"}),
    };
    for (size_t r = 0; r < attendu.size(); ++r) EXPECT_EQ(l[5 + r].Texte, attendu[r]) << "rangée " << r;
    // The cells of a labelled row start at columns 42, 56, ..., 140.
    EXPECT_EQ(l[5].Texte.mid(42, 1), "1");
    EXPECT_EQ(l[5].Texte.mid(140, 1), "8");
    EXPECT_EQ(imprimante.Documents_Termines, 1);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{QStringLiteral("Impression envoyée à l'imprimante")});
    EXPECT_TRUE(Avant("Premier_Plan Frm_Param_Voies", "Focus Frm_Param_Voies"));
}

TEST_F(Rapports, VoiesSeizeCanauxDeuxBlocsSeparesParNeufLignes) {
    Octet nb = 16;
    ASSERT_TRUE(Imprimer_Parametres_Voies(nb));
    EXPECT_EQ(nb, 16);
    const auto& l = imprimante.Lignes;
    ASSERT_EQ(l.size(), 5u + 51u);
    for (size_t r = 21; r <= 29; ++r) EXPECT_TRUE(l[5 + r].Texte.trimmed().isEmpty()) << r;
    EXPECT_EQ(l[5 + 30].Texte,
              Rangee("Paramètre de la voie n°                ", {"9", "10", "11", "12", "13", "14", "15", "16"}));
    EXPECT_EQ(l[5 + 50].Texte, Rangee("Offset :                              ", {"0,3", "0,3", "0,3", "0,3", "0,3", "0,3", "0,3", "0,3"}));
}

TEST_F(Rapports, ModuleLigneParLigne) {
    Num_Module = 12;
    Parametres_Module& m = Tab_Parametres_Modules[11];
    m.Entete = "CHAMBRE FROIDE";
    m.Logique_STOR1 = 3;
    m.Logique_STOR2 = 0;
    m.Planning[1][0] = TimeSerial(8, 0, 0);
    m.Planning[1][1] = TimeSerial(12, 0, 0);
    m.Planning[9][15] = TimeSerial(23, 59, 59);
    ASSERT_TRUE(Imprimer_Parametres_Module({"0042", "1234", "9999", "0000"}, {"DUPONT", "", "Nuit", "Jour"}));
    const auto& l = imprimante.Lignes;
    ASSERT_EQ(l.size(), 18u + 47u);
    const std::vector<QString> tete = {
        "Velsa SA   Laboratoire central",
        "",
        QStringLiteral("Configuration du Module n°12 - CHAMBRE FROIDE"),
        "",
        "",
        QStringLiteral("Configuration de l'entête : CHAMBRE FROIDE"),
        "",
        "",
        QStringLiteral("Relais 1 : Contact Normalement Fermé et Déclenchement Impulsionnel"),
        "",
        QStringLiteral("Relais 2 : Contact Normalement Ouvert et Déclenchement Maintenu"),
        "",
        "",
        QStringLiteral("mot de passe pour acquitter : 0042   associé à : DUPONT"),
        QStringLiteral("mot de passe pour acquitter : 1234   associé à : "),
        QStringLiteral("mot de passe pour acquitter : 9999   associé à : Nuit"),
        QStringLiteral("mot de passe pour acquitter : 0000   associé à : Jour"),
        "",
    };
    for (size_t i = 0; i < tete.size(); ++i) EXPECT_EQ(l[i].Texte, tete[i]) << i;
    for (size_t i = 0; i < l.size(); ++i) {
        EXPECT_EQ(l[i].Taille, i < 5 ? 10 : i < 18 ? 8 : 5) << i;
        EXPECT_EQ(l[i].Orientation, vbPRORLandscape);
    }
    // The planning table: six blank rows, then a block of 15 rows, eleven blank rows, the second block.
    auto rangee = [&](int r) { return l[18 + static_cast<size_t>(r)].Texte; };
    for (int r : {0, 5, 21, 31}) EXPECT_TRUE(rangee(r).trimmed().isEmpty()) << r;
    const QString zero = "00:00:00     00:00:00";
    EXPECT_EQ(rangee(6), Rangee("Plage horaire du planning n°", {"1", "2", "3", "4", "5", "6", "7", "8"}, 26));
    EXPECT_EQ(rangee(8), Rangee("Plage horaire de la semaine ", {"Plage horaire de la semaine", "Plage horaire de la semaine",
                                                                   "Plage horaire de la semaine", "Plage horaire de la semaine",
                                                                   "Plage horaire de la semaine", "Plage horaire de la semaine",
                                                                   "Plage horaire de la semaine", "Plage horaire de la semaine"}, 26));
    EXPECT_EQ(rangee(10), Rangee(QStringLiteral("Heure début     Heure fin : "),
                                 {"08:00:00     12:00:00", zero, zero, zero, zero, zero, zero, zero}, 26));
    EXPECT_EQ(rangee(15), Rangee("Plage horaire du Weekend    ", {"Plage horaire du Weekend", "Plage horaire du Weekend",
                                                                   "Plage horaire du Weekend", "Plage horaire du Weekend",
                                                                   "Plage horaire du Weekend", "Plage horaire du Weekend",
                                                                   "Plage horaire du Weekend", "Plage horaire du Weekend"}, 26));
    EXPECT_EQ(rangee(32), Rangee("Plage horaire du planning n°", {"9", "10", "11", "12", "13", "14", "15", "16"}, 26));
    EXPECT_EQ(rangee(46), Rangee(QStringLiteral("Heure début     Heure fin : "),
                                 {"00:00:00     23:59:59", zero, zero, zero, zero, zero, zero, zero}, 26));
    EXPECT_EQ(rangee(6).indexOf("2 "), 70);  // cells at 42, 70, 98, ...
    EXPECT_EQ(boites.Textes(), std::vector<QString>{QStringLiteral("Impression envoyée à l'imprimante")});
    EXPECT_TRUE(Avant("Premier_Plan Frm_Param_OC", "Focus Frm_Param_OC"));
}

TEST_F(Rapports, LogiqueDeRelaisInconnueSansLigneMaisAvecSesBlancs) {
    Num_Module = 1;
    Tab_Parametres_Modules[0].Logique_STOR1 = 4;
    Tab_Parametres_Modules[0].Logique_STOR2 = 1;
    ASSERT_TRUE(Imprimer_Parametres_Module({}, {}));
    const auto& l = imprimante.Lignes;
    ASSERT_EQ(l.size(), 17u + 47u);
    EXPECT_EQ(l[8].Texte, "");
    EXPECT_EQ(l[9].Texte, QStringLiteral("Relais 2 : Contact Normalement Fermé et Déclenchement Maintenu"));
}

TEST_F(Rapports, UnTravailRefuseNAnnoncePasLEnvoi) {
    imprimante.Echec_Prochain_Document = QStringLiteral("le fichier /x/y.pdf ne peut pas être écrit");
    EXPECT_FALSE(Imprimer_Parametres_Voies(8));
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Style & vbCritical);
    EXPECT_TRUE(boites.Messages[0].Texte.contains("/x/y.pdf"));
    EXPECT_EQ(imprimante.Documents_Termines, 0);
    EXPECT_TRUE(imprimante.Lignes.empty());
    // The screen still comes back to the front with the focus.
    EXPECT_TRUE(Avant("Premier_Plan Frm_Param_Voies", "Focus Frm_Param_Voies"));
    // The next job goes through.
    boites.Effacer();
    EXPECT_TRUE(Imprimer_Parametres_Module({}, {}));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{QStringLiteral("Impression envoyée à l'imprimante")});
}

TEST(ImprimanteEnregistreuse, PolicesPagesEtDocuments) {
    Imprimante_Enregistreuse p;
    p.FontName("Arial");
    p.FontSize(12);
    p.FontBold(true);
    p.Print({{"a", Separateur::Zone}, {"b", Separateur::Aucun}, {"c", Separateur::Fin}});
    p.NewPage();
    p.FontBold(false);
    p.Print();
    ASSERT_TRUE(p.EndDoc());
    p.Print("suite");
    ASSERT_TRUE(p.EndDoc());
    ASSERT_EQ(p.Lignes.size(), 3u);
    EXPECT_EQ(p.Lignes[0].Texte, "a             bc");
    EXPECT_EQ(p.Lignes[0].Police, "Arial");
    EXPECT_TRUE(p.Lignes[0].Gras);
    EXPECT_EQ(p.Lignes[1].Page, 2);
    EXPECT_FALSE(p.Lignes[1].Gras);
    EXPECT_EQ(p.Lignes[2].Page, 1);
    EXPECT_EQ(p.Lignes[2].Document, 2);
    EXPECT_EQ(p.Lignes[2].Taille, 12);  // the font stays from one document to the next
    EXPECT_EQ(p.Textes(2), std::vector<QString>{"suite"});
    EXPECT_EQ(Printer().Orientation(), vbPRORPortrait);  // the default printer is a recorder too
}
