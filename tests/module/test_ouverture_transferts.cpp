// Opening of the module settings screen, reading from and sending to the module.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "banc_module.h"
#include "config/regles_param_oc.h"
#include "platform/ui/minuterie.h"

using namespace ostrel;
using namespace ostrel::essai_module;

namespace {

const QString Non_Connecte = QStringLiteral("Module non connecté");

std::vector<QString> Lectures_Import() {
    std::vector<QString> r{"L05.64", "L04.1", "L04.2"};
    for (int p = 1; p <= 16; ++p) r.push_back(QStringLiteral("L06.%1").arg(p));
    for (int k = 1; k <= 4; ++k) r.push_back(QStringLiteral("L15.%1").arg(k));
    return r;
}

}  // namespace

TEST_F(Banc_Module, OuvertureSurUnModuleQuiRepond) {
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Requetes(), Lectures_Import());
    EXPECT_EQ(tableau.Lbl_Nom_Menu(), QStringLiteral("Réglages Module"));
    EXPECT_EQ(tableau.module_souligne_, 3);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Réglages Module"));
    EXPECT_EQ(e->geometry(), QRect(0, 82, 1280, 840));

    // Progress: every step, its value, then the bar hidden.
    std::vector<QString> captions =
        Suite({"Recherche du Module", "Entête du ticket", "STOR n°1", "STOR n°2"}, "Planning n°%1", 1, 16,
              {"Veuillez patienter", "Téléchargement terminé", "Téléchargement terminé"});
    EXPECT_EQ(tableau.Captions(), captions);
    EXPECT_EQ(tableau.historique_pb_, (std::vector<int>{0, 5, 11, 16, 21, 26, 32, 37, 42, 47, 53, 58, 63, 68, 74,
                                                         79, 84, 89, 95, 100}));
    EXPECT_EQ(tableau.etapes[20].Valeur, 95);  // the codes are read under the last planning's value
    EXPECT_FALSE(tableau.Progression_Visible());

    // The record.
    const Parametres_Module& r = Tab_Parametres_Modules[2];
    EXPECT_EQ(r.Entete, QStringLiteral("Chambre froide 2").leftJustified(32) + QStringLiteral("Quai nord"));
    EXPECT_EQ(r.Logique_STOR1, 1);
    EXPECT_EQ(r.Logique_STOR2, 2);
    EXPECT_DOUBLE_EQ(r.Planning[1][3], TimeSerial(18, 0, 0));
    for (Date t : r.Planning[2]) EXPECT_EQ(t, 0);  // 08:00 to 08:00: not in use, cleared
    EXPECT_DOUBLE_EQ(r.Planning[3][8], TimeSerial(1, 30, 0));  // 25:30
    EXPECT_DOUBLE_EQ(r.Planning[3][9], 1.0);                   // 24:00 stays as decoded
    EXPECT_EQ(Planning_Actif[0], Vrai);
    EXPECT_EQ(Planning_Actif[1], Faux);
    EXPECT_EQ(Planning_Actif[2], Vrai);
    EXPECT_EQ(Planning_Actif[3], Faux);

    // The screen.
    EXPECT_EQ(C<QGroupBox>("Frame_Param_OC")->title(), QStringLiteral("Paramètres du Module"));
    EXPECT_EQ(Boite("Txt_Premiere_Ligne")->text(), QStringLiteral("Chambre froide 2").leftJustified(32));
    EXPECT_EQ(Boite("Txt_Deuxieme_Ligne")->text(), QStringLiteral("Quai nord"));
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_NF")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_Maintenu")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais2_NO")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais2_Impulsionnel")->isChecked());
    EXPECT_EQ(Boite("Msk_Semaine_Plage2_Deb")->displayText(), QStringLiteral("13:30"));
    EXPECT_EQ(Boite("Msk_Weekend_Plage1_Fin")->displayText(), QStringLiteral("12:00"));
    EXPECT_EQ(Boite("Msk_Semaine_Plage4_Fin")->displayText(), QStringLiteral("00:00"));
    const std::vector<QString> codes{"0123", "2222", "3333", "4444"};
    const std::vector<QString> noms{"Dupont      ", "Martin      ", "Lefevre     ", "Garcia      "};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(e->Msk_Mot_Passe(k)->text(), codes[static_cast<size_t>(k)]);
        EXPECT_EQ(e->Txt_Nom_Passe(k)->text(), noms[static_cast<size_t>(k)]);  // trailing blanks kept
    }
    auto* onglets = C<QTabBar>("TabStrip_Num_Planning");
    ASSERT_EQ(onglets->count(), 16);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(onglets->tabText(k), QString::number(k + 1));
    EXPECT_EQ(onglets->currentIndex(), 0);
    EXPECT_EQ(Num_Planning, 1);
    EXPECT_TRUE(e->Tmr_Seconde()->Enabled());
    EXPECT_EQ(e->Tmr_Seconde()->Interval(), 1000);
    EXPECT_FALSE(e->Heure_Module_Affichee());
    EXPECT_EQ(Boite("Msk_Date_Heure")->inputMask(), QStringLiteral("99/99/9999 99:99:99;_"));
    EXPECT_EQ(Boite("Msk_Date_Heure_OC")->inputMask(), QStringLiteral("99/99/9999 99:99:99;_"));
    EXPECT_FALSE(C<QLabel>("Lbl_Date_Heure_OC")->isVisible());
    EXPECT_FALSE(Boite("Msk_Date_Heure_OC")->isVisible());
    EXPECT_EQ(C<QPushButton>("Cmd_Transfert_Date")->text(), QStringLiteral("Afficher Date Heure du module"));
    EXPECT_EQ(e->Couleur_Texte_Normale(), 0);
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(Banc_Module, OuvertureSansModuleConnecte) {
    tableau.captions_oc_ = {Non_Connecte};
    Tab_Fonctionnement_OC.fill(Hors_Service);
    Tab_Parametres_Modules[2].Entete = QStringLiteral("ancien nom");
    Planning_Actif[4] = Vrai;
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(Requetes().empty());
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(C<QGroupBox>("Frame_Param_OC")->title(), Non_Connecte);
    EXPECT_EQ(tableau.module_souligne_, 0);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Nom_Module, QStringLiteral("ancien nom"));  // taken before the defaults
    const Parametres_Module& r = Tab_Parametres_Modules[2];
    EXPECT_TRUE(r.Entete.isEmpty());
    EXPECT_EQ(r.Date_Heure, maintenant);
    EXPECT_EQ(r.Logique_STOR1, 0);
    EXPECT_EQ(r.Logique_STOR2, 0);
    for (int p = 1; p <= 16; ++p)
        for (Date t : r.Planning[static_cast<size_t>(p)]) EXPECT_EQ(t, 0);
    for (Booleen a : Planning_Actif) EXPECT_EQ(a, Faux);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(e->Msk_Mot_Passe(k)->text(), Code_Defaut(k + 1));
        EXPECT_EQ(e->Txt_Nom_Passe(k)->text(), QStringLiteral("OPERATEUR %1").arg(k + 1));
        EXPECT_TRUE(e->Msk_Mot_Passe(k)->isVisible());
    }
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_NO")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais2_Maintenu")->isChecked());
    EXPECT_EQ(C<QTabBar>("TabStrip_Num_Planning")->count(), 16);
    EXPECT_TRUE(e->Tmr_Seconde()->Enabled());

    // Every command that talks to the module says there is none and sends nothing.
    for (const char* nom : {"Cmd_Importer", "Cmd_Telecharger", "Cmd_Transfert_Date"})
        QTest::mouseClick(C<QPushButton>(nom), Qt::LeftButton);
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Non_Connecte, Non_Connecte, Non_Connecte}));
    for (const auto& m : boites.Messages) EXPECT_EQ(m.Style, vbOKOnly);
    EXPECT_TRUE(Requetes().empty());
    EXPECT_FALSE(e->Heure_Module_Affichee());
}

TEST_F(Banc_Module, ImportQuiEchoueALOuverture) {
    bus.Programmer_Defauts(0x05, {}, sim::Defaut(sim::Defaut::Exception, 4));
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(C<QGroupBox>("Frame_Param_OC")->title(), Non_Connecte);
    EXPECT_EQ(tableau.module_souligne_, 0);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));
    // The bar the read left shown is hidden again, the screen is usable.
    EXPECT_FALSE(tableau.Progression_Visible());
    EXPECT_EQ(bus.Nombre_Requetes(0x04), 0);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(e->Txt_Nom_Passe(k)->text(), QStringLiteral("OPERATEUR %1").arg(k + 1));
}

TEST_F(Banc_Module, ImportDuBoutonQuiEchoueSurUnPlanning) {
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    // Changes on the module, then a read that fails on planning 5.
    bus.Avec_Etat([](sim::Etat_Bus& b) {
        b.modules[3].plannings[3] = Planning_Octets({7, 0, 9, 0});
        b.modules[3].plannings[5] = Planning_Octets({1, 0, 2, 0});
    });
    Tab_Parametres_Modules[2].Planning[6][0] = TimeSerial(3, 0, 0);
    bus.Programmer_Defauts(0x06, {sim::Defaut(), sim::Defaut(), sim::Defaut(), sim::Defaut()},
                           sim::Defaut(sim::Defaut::Exception, 2));
    tableau.etapes.clear();
    tableau.historique_pb_.clear();
    bus.Effacer_Trames();
    QTest::mouseClick(C<QPushButton>("Cmd_Importer"), Qt::LeftButton);

    const Parametres_Module& r = Tab_Parametres_Modules[2];
    EXPECT_DOUBLE_EQ(r.Planning[4][1], TimeSerial(9, 0, 0));   // planning 4 read
    EXPECT_DOUBLE_EQ(r.Planning[6][0], TimeSerial(3, 0, 0));   // 6 untouched
    EXPECT_EQ(Planning_Actif[3], Vrai);
    EXPECT_EQ(tableau.Caption_Pb(), QStringLiteral("Planning n°5"));
    EXPECT_EQ(tableau.Valeur_Progression(), 37);
    EXPECT_EQ(bus.Nombre_Requetes(0x15), 0);
    // The link-problem screen replaces this one.
    EXPECT_TRUE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_OC"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(Banc_Module, ImportDuBoutonRelitEtMontre) {
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    bus.Avec_Etat([](sim::Etat_Bus& b) {
        sim::Module_Simule& m = b.modules[3];
        m.entete = Vers_Cp1252(QStringLiteral("Bâtiment B"));  // refused whole: an empty header
        m.entete.append(QByteArray(64 - m.entete.size(), ' '));
        m.logique_stor = {7, 3};
        m.codes_acces[2] = 42;
    });
    Num_Planning = 1;
    QTest::mouseClick(C<QPushButton>("Cmd_Importer"), Qt::LeftButton);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(Tab_Parametres_Modules[2].Entete.isEmpty());
    EXPECT_TRUE(Boite("Txt_Premiere_Ligne")->text().isEmpty());
    EXPECT_TRUE(Boite("Txt_Deuxieme_Ligne")->text().isEmpty());
    // A logic byte the options cannot show leaves them as they were, and is kept.
    EXPECT_EQ(Tab_Parametres_Modules[2].Logique_STOR1, 7);
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_NF")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_Maintenu")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais2_NF")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais2_Impulsionnel")->isChecked());
    EXPECT_EQ(e->Msk_Mot_Passe(2)->text(), QStringLiteral("0042"));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_OC"));
}

TEST_F(Banc_Module, LectureDesCodesQuiEchoueSurLeTroisieme) {
    // The codes fail at the opening: the boxes read so far keep what was read.
    bus.Programmer_Defauts(0x15, {sim::Defaut(), sim::Defaut()}, sim::Defaut(sim::Defaut::Exception, 4));
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Msk_Mot_Passe(0)->text(), QStringLiteral("0123"));
    EXPECT_EQ(e->Txt_Nom_Passe(1)->text(), QStringLiteral("Martin      "));
    EXPECT_EQ(e->Msk_Mot_Passe(2)->text(), Code_Defaut(3));
    EXPECT_EQ(e->Txt_Nom_Passe(3)->text(), QStringLiteral("OPERATEUR 4"));
    EXPECT_EQ(C<QGroupBox>("Frame_Param_OC")->title(), Non_Connecte);
    EXPECT_EQ(Code_Erreur, 0);
}

// ------------------------------------------------------------ sending

TEST_F(Banc_Module, TelechargementComplet) {
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    // Planning 1 and 3 are in use after the read; mark 9 in use as well.
    Planning_Actif[8] = Vrai;
    Tab_Parametres_Modules[2].Planning[9][0] = TimeSerial(22, 0, 0);
    Tab_Parametres_Modules[2].Planning[9][1] = TimeSerial(23, 15, 0);
    Taper(Boite("Txt_Premiere_Ligne"), QStringLiteral("Cha"));
    Boite("Txt_Deuxieme_Ligne")->setText(QString());
    e->Msk_Mot_Passe(0)->setText(QStringLiteral("0042"));
    e->Txt_Nom_Passe(2)->setText(QString());
    tableau.etapes.clear();
    tableau.historique_pb_.clear();
    bus.Effacer_Trames();

    QTest::mouseClick(C<QPushButton>("Cmd_Telecharger"), Qt::LeftButton);

    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Requetes(), (std::vector<QString>{"C16=0", "E05.64", "E04.1", "E04.2", "E06.1", "E06.3", "E06.9",
                                                "E15.1", "E15.2", "E15.3", "E15.4", "C16=255"}));
    EXPECT_EQ(Tab_Parametres_Modules[2].Entete, QStringLiteral("Cha") + QString(61, ' '));
    bus.Avec_Etat([](sim::Etat_Bus& b) {
        const sim::Module_Simule& m = b.modules[3];
        EXPECT_EQ(m.entete, QByteArray("Cha") + QByteArray(61, ' '));
        EXPECT_EQ(m.logique_stor[0], 1);
        EXPECT_EQ(m.logique_stor[1], 2);
        EXPECT_EQ(m.plannings[8][0], 22);
        EXPECT_EQ(m.plannings[8][3], 15);
        EXPECT_EQ(m.plannings[2][18], 0);  // 24:00 as decoded goes out as 00:00
        EXPECT_EQ(m.plannings[2][16], 1);  // 25:30 stored as 01:30
        EXPECT_EQ(m.codes_acces[0], 42);
        EXPECT_EQ(m.operateurs[2], QByteArray("OPERATEUR 3 "));
        EXPECT_EQ(m.operateurs[0], QByteArray("Dupont      "));
        EXPECT_EQ(m.modes_recus, (std::vector<Entier>{0, 255}));
    });
    std::vector<QString> captions =
        Suite({"Initialisation du téléchargement", "Entête du ticket", "STOR n°1", "STOR n°2"}, "Planning n°%1", 1, 16,
              {"Téléchargement des codes d'acquittement", ""});
    EXPECT_EQ(tableau.Captions(), captions);
    EXPECT_EQ(tableau.historique_pb_, (std::vector<int>{0, 0, 5, 11, 16, 21, 26, 32, 37, 42, 47, 53, 58, 63, 68, 74,
                                                         79, 84, 89, 95, 100}));
    EXPECT_EQ(tableau.etapes[20].Valeur, 95);
    EXPECT_FALSE(tableau.Progression_Visible());
    EXPECT_TRUE(Trace().contains(QStringLiteral("Téléchargement paramétrage module 3")));
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_OC"));
}

TEST_F(Banc_Module, TelechargementDUnEnteteRefuseEtSansPlanning) {
    Frm_Param_OC_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    Planning_Actif.fill(Faux);
    Boite("Txt_Premiere_Ligne")->setText(QStringLiteral("Entrepôt"));  // pasted: not filtered
    bus.Effacer_Trames();
    tableau.etapes.clear();
    e->Configurer_Ostrelclim();
    EXPECT_EQ(bus.Nombre_Requetes(0x06), 0);
    // The caption still runs through every planning.
    EXPECT_EQ(tableau.etapes[19].Caption, QStringLiteral("Planning n°16"));
    EXPECT_EQ(tableau.etapes[19].Valeur, 95);
    // Blanks to the module, the padded lines kept in the record.
    EXPECT_EQ(Donnees_Ecrites(0x05), QByteArray(64, ' '));
    EXPECT_EQ(Tab_Parametres_Modules[2].Entete,
              QStringLiteral("Entrepôt").leftJustified(32) + QStringLiteral("Quai nord").leftJustified(32));
}

TEST_F(Banc_Module, TelechargementInterrompu) {
    struct Cas {
        int code;
        std::vector<sim::Defaut> avant;  // requests of that code that succeed first
        std::vector<QString> attendues;
    };
    const std::vector<Cas> cas{
        {0x16, {}, {"C16=0"}},
        {0x05, {}, {"C16=0", "E05.64"}},
        {0x06, {sim::Defaut()}, {"C16=0", "E05.64", "E04.1", "E04.2", "E06.1", "E06.3"}},
        {0x15, {sim::Defaut()}, {"C16=0", "E05.64", "E04.1", "E04.2", "E06.1", "E06.3", "E15.1", "E15.2"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.code);
        ASSERT_NE(Ouvrir(), nullptr);
        bus.Effacer_Trames();
        bus.Programmer_Defauts(c.code, c.avant, sim::Defaut(sim::Defaut::Exception, 4));
        QTest::mouseClick(C<QPushButton>("Cmd_Telecharger"), Qt::LeftButton);
        // Each failed request is tried six times; then no further frame, not even the end command.
        std::vector<QString> r = Requetes();
        r.erase(std::unique(r.begin(), r.end()), r.end());
        EXPECT_EQ(r, c.attendues);
        EXPECT_TRUE(registre.Est_Chargee("Frm_Pb_Liaison"));
        EXPECT_FALSE(registre.Est_Chargee("Frm_Param_OC"));
        EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
        bus.Effacer_Defauts();
        registre.Decharger("Frm_Pb_Liaison");
        ostrel_test::Traiter_Evenements();
        Code_Erreur = 0;
    }
}
