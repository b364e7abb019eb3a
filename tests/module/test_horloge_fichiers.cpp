// The clocks of the module settings screen, its files, its printout, and its
// reopening for another module.
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "banc_module.h"
#include "commun/dialogues_test.h"
#include "config/regles_param_oc.h"
#include "files/messages_fichiers.h"
#include "platform/chemins.h"
#include "platform/ui/minuterie.h"

using namespace ostrel;
using namespace ostrel::essai_module;

namespace {

class Horloge_Fichiers : public Banc_Ecran {
protected:
    void SetUp() override {
        Banc_Ecran::SetUp();
        bus.Effacer_Trames();
    }
    QString Dossier() const {
        const QString d = Chemin_Natif(Repertoire_Parametrage_Modules);
        QDir().mkpath(d);
        return d;
    }
    QByteArray Lire(const QString& chemin) const {
        QFile f(chemin);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Ecrire(const QString& chemin, const QByteArray& contenu) const {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
    }
};

}  // namespace

TEST_F(Horloge_Fichiers, HorlogeDuPC) {
    EXPECT_TRUE(e->Tmr_Seconde()->Declencher());
    EXPECT_EQ(Boite("Msk_Date_Heure")->text(), QStringLiteral("07/03/2027 09:05:03"));
    EXPECT_EQ(Tab_Parametres_Modules[2].Date_Heure, maintenant);
    // At midnight sharp the time is still written.
    maintenant = DateSerial(2027, 3, 8);
    e->Tmr_Seconde()->Declencher();
    EXPECT_EQ(Boite("Msk_Date_Heure")->text(), QStringLiteral("08/03/2027 00:00:00"));
    EXPECT_TRUE(Requetes().empty());  // the tick never talks to the module
    EXPECT_TRUE(e->Tmr_Seconde()->Enabled());
}

TEST_F(Horloge_Fichiers, LectureEtMiseALHeureDuModule) {
    auto* bouton = C<QPushButton>("Cmd_Transfert_Date");
    QTest::mouseClick(bouton, Qt::LeftButton);
    EXPECT_EQ(Requetes(), std::vector<QString>{"L09.255"});
    EXPECT_TRUE(e->Heure_Module_Affichee());
    EXPECT_EQ(bouton->text(), QStringLiteral("Configurer Date Heure"));
    EXPECT_TRUE(C<QLabel>("Lbl_Date_Heure_OC")->isVisible());
    EXPECT_TRUE(Boite("Msk_Date_Heure_OC")->isVisible());
    EXPECT_EQ(Boite("Msk_Date_Heure_OC")->text(), QStringLiteral("10/03/2027 14:30:00"));
    EXPECT_DOUBLE_EQ(e->Horloge_Module_Affichee(), DateSerial(2027, 3, 10) + TimeSerial(14, 30, 0));

    // The shown module clock keeps pace with the PC's, an hour for an hour,
    // however many ticks were missed meanwhile.
    maintenant += TimeSerial(0, 0, 1);
    e->Tmr_Seconde()->Declencher();
    EXPECT_EQ(Boite("Msk_Date_Heure_OC")->text(), QStringLiteral("10/03/2027 14:30:01"));
    maintenant += TimeSerial(1, 0, 0) - TimeSerial(0, 0, 1);
    e->Tmr_Seconde()->Declencher();
    EXPECT_EQ(Boite("Msk_Date_Heure_OC")->text(), QStringLiteral("10/03/2027 15:30:00"));
    EXPECT_EQ(Boite("Msk_Date_Heure")->text(), QStringLiteral("07/03/2027 10:05:03"));

    // The write sends the PC's time of the click, even before a tick has stored it.
    maintenant += TimeSerial(0, 2, 0);
    bus.Effacer_Trames();
    QTest::mouseClick(bouton, Qt::LeftButton);
    EXPECT_EQ(Requetes(), std::vector<QString>{"E09.255"});
    const Date envoye = DateSerial(2027, 3, 7) + TimeSerial(10, 7, 3);
    EXPECT_EQ(Donnees_Ecrites(0x09), Octets_Horloge(envoye));
    EXPECT_FALSE(e->Heure_Module_Affichee());
    EXPECT_EQ(bouton->text(), QStringLiteral("Afficher Date Heure du module"));
    EXPECT_FALSE(C<QLabel>("Lbl_Date_Heure_OC")->isVisible());
    EXPECT_FALSE(Boite("Msk_Date_Heure_OC")->isVisible());
    e->Tmr_Seconde()->Declencher();
    EXPECT_EQ(Boite("Msk_Date_Heure_OC")->text(), QStringLiteral("10/03/2027 15:30:00"));  // no longer advanced

    // The next click reads the clock again.
    bus.Effacer_Trames();
    QTest::mouseClick(bouton, Qt::LeftButton);
    EXPECT_EQ(Requetes(), std::vector<QString>{"L09.255"});
    EXPECT_EQ(Boite("Msk_Date_Heure_OC")->text(), QStringLiteral("07/03/2027 10:07:00"));  // no seconds on the wire
}

// A clock set in 2030 or in 2100 reads back in its own century.
TEST_F(Horloge_Fichiers, HorlogeDuModuleApres2029) {
    auto* bouton = C<QPushButton>("Cmd_Transfert_Date");
    QTest::mouseClick(bouton, Qt::LeftButton);
    const std::pair<Date, const char*> dates[] = {{DateSerial(2030, 1, 1) + TimeSerial(0, 5, 0), "01/01/2030 00:05:00"},
                                                  {DateSerial(2100, 1, 1) + TimeSerial(2, 0, 0), "01/01/2100 02:00:00"}};
    for (const auto& [date, texte] : dates) {
        maintenant = date;
        bus.Effacer_Trames();
        QTest::mouseClick(bouton, Qt::LeftButton);
        QTest::mouseClick(bouton, Qt::LeftButton);
        EXPECT_EQ(Requetes(), (std::vector<QString>{"E09.255", "L09.255"}));
        EXPECT_EQ(Donnees_Ecrites(0x09), Octets_Horloge(date));
        EXPECT_DOUBLE_EQ(e->Horloge_Module_Affichee(), date);
        EXPECT_EQ(Boite("Msk_Date_Heure_OC")->text(), QString::fromLatin1(texte));
    }
}

TEST_F(Horloge_Fichiers, ErreursDeLiaisonDeLHeure) {
    bus.Programmer_Defauts(0x09, {}, sim::Defaut(sim::Defaut::Exception, 4));
    QTest::mouseClick(C<QPushButton>("Cmd_Transfert_Date"), Qt::LeftButton);
    EXPECT_TRUE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_OC"));
    EXPECT_TRUE(boites.Messages.empty());

    // The write failing: the same screen change.
    registre.Decharger("Frm_Pb_Liaison");
    Code_Erreur = 0;
    bus.Effacer_Defauts();
    e = Ouvrir();
    ASSERT_NE(e, nullptr);
    QTest::mouseClick(C<QPushButton>("Cmd_Transfert_Date"), Qt::LeftButton);
    ASSERT_TRUE(e->Heure_Module_Affichee());
    bus.Programmer_Defauts(0x09, {}, sim::Defaut(sim::Defaut::Exception, 4));
    QTest::mouseClick(C<QPushButton>("Cmd_Transfert_Date"), Qt::LeftButton);
    EXPECT_TRUE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_OC"));
}

TEST_F(Horloge_Fichiers, SauvegardeDansUnFichier) {
    const QString chemin = Dossier() + QStringLiteral("/Config_MD_3.txt");
    boites.Fichiers = {chemin};
    e->Msk_Mot_Passe(1)->setText(QStringLiteral("0042"));
    QTest::mouseClick(C<QPushButton>("Cmd_Sauvegarder"), Qt::LeftButton);
    ASSERT_EQ(boites.Dialogues.size(), 1u);
    ostrel_test::Dialogue_Txt(boites.Dialogues[0], QStringLiteral("Sauvegarde de la configuration du Module n°3"),
                              QStringLiteral("Config_MD_3"),
                              QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Parametrage_Ostrel"));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Sauvegarde_Terminee});
    // The record and the screen's boxes, as the module file writes them.
    EXPECT_EQ(Lire(chemin), Ecrire_Config_Module(3, Tab_Parametres_Modules[2], e->Codes(), e->Noms()));
    EXPECT_TRUE(Lire(chemin).contains("\r\n0042\r\n"));
    EXPECT_TRUE(Lire(chemin).contains("\r\nMartin      \r\n"));

    // Cancelled, or a name without the exact ".txt": nothing written, nothing said.
    const QByteArray avant = Lire(chemin);
    e->Msk_Mot_Passe(1)->setText(QStringLiteral("9999"));
    boites.Effacer();
    boites.Fichiers = {QString(), Dossier() + QStringLiteral("/Config_MD_3.TXT")};
    QTest::mouseClick(C<QPushButton>("Cmd_Sauvegarder"), Qt::LeftButton);
    QTest::mouseClick(C<QPushButton>("Cmd_Sauvegarder"), Qt::LeftButton);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Lire(chemin), avant);
    EXPECT_FALSE(QFile::exists(Dossier() + QStringLiteral("/Config_MD_3.TXT")));
}

TEST_F(Horloge_Fichiers, SauvegardeQuiEchoue) {
    // A folder stands where the file should go: the failure is told, no success follows.
    const QString chemin = Dossier() + QStringLiteral("/Bloque.txt");
    QDir().mkpath(chemin);
    boites.Fichiers = {chemin};
    QTest::mouseClick(C<QPushButton>("Cmd_Sauvegarder"), Qt::LeftButton);
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Texte.startsWith(QStringLiteral("La sauvegarde a échoué")));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_OC"));
}

TEST_F(Horloge_Fichiers, RestaurationDUnFichier) {
    // A file of module 1, made by the module file writer.
    Parametres_Module m;
    m.Entete = QStringLiteral("Serre tropicale").leftJustified(32) + QStringLiteral("Allee 4");
    m.Logique_STOR1 = 3;
    m.Logique_STOR2 = 1;
    m.Planning[2][0] = TimeSerial(7, 0, 0);
    m.Planning[2][1] = TimeSerial(19, 0, 0);
    const QString chemin = Dossier() + QStringLiteral("/Config_MD_1.txt");
    Ecrire(chemin, Ecrire_Config_Module(1, m, {"0042", "1234", "9999", "0000"},
                                        {"Dupond", "Durand", "Nuit", "OPERATEUR 4"}));
    boites.Fichiers = {chemin};
    QTest::mouseClick(C<QPushButton>("Cmd_Ouvrir"), Qt::LeftButton);

    ASSERT_EQ(boites.Dialogues.size(), 1u);
    EXPECT_EQ(boites.Dialogues[0].DialogTitle, QStringLiteral("Restauration d'une configuration à partir d'un fichier"));
    EXPECT_EQ(boites.Dialogues[0].FileName, QStringLiteral("Config_MD_3"));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Restauration_Terminee});
    EXPECT_EQ(Num_Module, 1);
    EXPECT_EQ(C<QGroupBox>("Frame_Param_OC")->title(), QStringLiteral("Module 1"));
    EXPECT_EQ(Tab_Parametres_Modules[0].Entete, m.Entete);
    EXPECT_EQ(Planning_Actif[1], Vrai);
    EXPECT_EQ(Planning_Actif[0], Faux);
    // The screen shows what was restored.
    EXPECT_EQ(Boite("Txt_Premiere_Ligne")->text(), QStringLiteral("Serre tropicale").leftJustified(32));
    EXPECT_EQ(Boite("Txt_Deuxieme_Ligne")->text(), QStringLiteral("Allee 4"));
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_Impulsionnel")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais2_Maintenu")->isChecked());
    EXPECT_EQ(e->Msk_Mot_Passe(0)->text(), QStringLiteral("0042"));
    EXPECT_EQ(e->Txt_Nom_Passe(2)->text(), QStringLiteral("Nuit"));

    // The restored module is the one the commands now talk to.
    bus.Effacer_Trames();
    QTest::mouseClick(C<QPushButton>("Cmd_Telecharger"), Qt::LeftButton);
    for (const sim::Trame_Journal& t : bus.Trames_Recues()) EXPECT_EQ(static_cast<int>(t.octets[0]), 1);
    bus.Avec_Etat([](sim::Etat_Bus& b) {
        EXPECT_EQ(b.modules[1].entete.left(15), QByteArray("Serre tropicale"));
        EXPECT_EQ(b.modules[1].logique_stor[0], 3);
        EXPECT_EQ(b.modules[1].plannings[1][2], 19);
        EXPECT_EQ(b.modules[1].codes_acces[0], 42);
    });
}

TEST_F(Horloge_Fichiers, OuvertureAnnuleeOuFichierIncorrect) {
    // Cancelled: no file read, the screen drawn again from the record.
    Tab_Parametres_Modules[2].Entete = QStringLiteral("Autre nom");
    QTest::mouseClick(C<QPushButton>("Cmd_Ouvrir"), Qt::LeftButton);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Boite("Txt_Premiere_Ligne")->text(), QStringLiteral("Autre nom"));
    EXPECT_EQ(Num_Module, 3);

    const QString chemin = Dossier() + QStringLiteral("/Faux.txt");
    Ecrire(chemin, "pas un fichier de module\r\n");
    boites.Fichiers = {chemin};
    QTest::mouseClick(C<QPushButton>("Cmd_Ouvrir"), Qt::LeftButton);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Fichier_Incorrect});
    EXPECT_EQ(Num_Module, 3);
    EXPECT_EQ(C<QGroupBox>("Frame_Param_OC")->title(), QStringLiteral("Paramètres du Module"));
    EXPECT_EQ(e->Msk_Mot_Passe(0)->text(), QStringLiteral("0123"));
}

TEST_F(Horloge_Fichiers, RelaisHorsDeSesDeuxBitsFichierIncorrect) {
    const Parametres_Module avant = Tab_Parametres_Modules[2];
    for (const auto& [stor1, stor2] : {std::pair{7, 0}, std::pair{0, 4}, std::pair{255, 255}}) {
        SCOPED_TRACE(stor1 * 1000 + stor2);
        Parametres_Module m;
        m.Entete = QStringLiteral("Relais inconnu");
        m.Logique_STOR1 = static_cast<Octet>(stor1);
        m.Logique_STOR2 = static_cast<Octet>(stor2);
        const QString chemin = Dossier() + QStringLiteral("/Config_MD_1.txt");
        Ecrire(chemin, Ecrire_Config_Module(1, m, {"0042", "1234", "9999", "0000"}, {"A", "B", "C", "D"}));
        boites.Effacer();
        boites.Fichiers = {chemin};
        QTest::mouseClick(C<QPushButton>("Cmd_Ouvrir"), Qt::LeftButton);
        EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Fichier_Incorrect});
        EXPECT_TRUE(Requetes().empty());
        EXPECT_EQ(Num_Module, 3);
        EXPECT_EQ(C<QGroupBox>("Frame_Param_OC")->title(), QStringLiteral("Paramètres du Module"));
        EXPECT_EQ(Tab_Parametres_Modules[0].Logique_STOR1, 0);
        EXPECT_EQ(Tab_Parametres_Modules[2].Entete, avant.Entete);
        EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_NF")->isChecked());
        EXPECT_TRUE(C<QRadioButton>("Opt_Relais2_Impulsionnel")->isChecked());
        EXPECT_EQ(e->Msk_Mot_Passe(0)->text(), QStringLiteral("0123"));
    }
    // What is sent next is the screen's own settings.
    QTest::mouseClick(C<QPushButton>("Cmd_Telecharger"), Qt::LeftButton);
    EXPECT_EQ(Code_Erreur, 0);
    bus.Avec_Etat([](sim::Etat_Bus& b) {
        EXPECT_EQ(b.modules[3].logique_stor[0], 1);
        EXPECT_EQ(b.modules[3].logique_stor[1], 2);
    });
}

TEST_F(Horloge_Fichiers, ImpressionDesBoites) {
    e->Msk_Mot_Passe(2)->setText(QStringLiteral("0777"));  // shown, never sent
    QTest::mouseClick(C<QPushButton>("Cmd_Imprimer"), Qt::LeftButton);
    EXPECT_EQ(imprimante.Documents_Termines, 1);
    const std::vector<QString> lignes = imprimante.Textes();
    auto contient = [&](const QString& t) { return std::find(lignes.begin(), lignes.end(), t) != lignes.end(); };
    EXPECT_TRUE(contient(QStringLiteral("Configuration du Module n°3 - ") + Tab_Parametres_Modules[2].Entete));
    EXPECT_TRUE(contient(QStringLiteral("mot de passe pour acquitter : 0123   associé à : Dupont      ")));
    EXPECT_TRUE(contient(QStringLiteral("mot de passe pour acquitter : 0777   associé à : Lefevre     ")));
    EXPECT_TRUE(contient(QStringLiteral("Relais 1 : Contact Normalement Fermé et Déclenchement Maintenu")));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{QStringLiteral("Impression envoyée à l'imprimante")});
    EXPECT_TRUE(Requetes().empty());

    // A printer that refuses the job: said, never reported as sent.
    boites.Effacer();
    imprimante.Echec_Prochain_Document = QStringLiteral("imprimante hors ligne");
    QTest::mouseClick(C<QPushButton>("Cmd_Imprimer"), Qt::LeftButton);
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_NE(boites.Messages[0].Texte, QStringLiteral("Impression envoyée à l'imprimante"));
}

TEST_F(Horloge_Fichiers, RouvertePourUnAutreModule) {
    // What a click on another module of the dashboard does.
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Configuration"), Faux);
    Num_Module = 1;
    bus.Effacer_Trames();
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Réglages Module"), Faux);
    ostrel_test::Traiter_Evenements();
    e = Ecran();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(tableau.module_souligne_, 1);
    ASSERT_FALSE(bus.Trames_Recues().empty());
    for (const sim::Trame_Journal& t : bus.Trames_Recues()) EXPECT_EQ(static_cast<int>(t.octets[0]), 1);
    EXPECT_EQ(Num_Planning, 1);
    EXPECT_FALSE(e->Heure_Module_Affichee());
    EXPECT_EQ(e->Msk_Mot_Passe(0)->text(), QStringLiteral("1111"));  // module 1 holds its own codes
}
