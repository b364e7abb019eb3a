// The viewer's numeric table, the save of fresh recordings and the offer to
// purge the module that follows a whole download.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "banc_enregistrements.h"
#include "commun/dialogues_test.h"
#include "history/liste_numerique.h"
#include "platform/cp1252.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

using Tableau_Sauvegarde = Banc_Enregistrements;

QStringList Lignes(const Liste_Numerique* liste) {
    QStringList l;
    for (int i = 0; i < liste->count(); ++i) l << liste->Ligne(i);
    return l;
}

TEST_F(Tableau_Sauvegarde, TableauNumeriqueDUneVoie) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    boites.Effacer();
    v->Check_Voie[0]->setChecked(true);
    v->Chk_Tableau->setChecked(true);
    EXPECT_FALSE(v->List_Numerique->isHidden());
    EXPECT_FALSE(v->Cmd_Imprimer_Tableau->isHidden());
    EXPECT_EQ(v->Cmd_Imprimer_Tableau->text(), QStringLiteral("Imprimer les données du tableau"));
    EXPECT_EQ(v->CWGraph_Enreg->x(), qRound(0.25 * v->width()));
    EXPECT_EQ(v->CWGraph_Enreg->Divisions_Temps(), 3);
    const QStringList l = Lignes(v->List_Numerique);
    ASSERT_EQ(l.size(), 8 + 10);
    EXPECT_EQ(l.mid(0, 8), (QStringList{"Chambre 1   ", QString(32, '*'), "Per. enreg. (mn) = 30", "Alarme valide",
                                        "Seuil d'alarme haut = 25", "Seuil d'alarme bas = 5",
                                        " * = Alarme présente et/ou non acquittée", QString(32, '*')}));
    // Both ends of the period are in it.
    EXPECT_EQ(l[8], QStringLiteral("09/03/2027 10:00:00  20    "));
    EXPECT_EQ(l[15], QStringLiteral("09/03/2027 11:45:00  23,5  * "));
    EXPECT_EQ(l[17], QStringLiteral("09/03/2027 12:15:00  24,5    "));
    EXPECT_TRUE(boites.Messages.empty());

    // A new start refills it.
    v->Msk_Date_Debut->setText("09/03/2027 11:00");
    EXPECT_EQ(v->List_Numerique->count(), 8 + 6);
    EXPECT_EQ(v->List_Numerique->Ligne(8), QStringLiteral("09/03/2027 11:00:00  22    "));
    // Hidden again: the graph back to its width, the list filled all the same.
    v->Chk_Tableau->setChecked(false);
    EXPECT_TRUE(v->List_Numerique->isHidden());
    EXPECT_TRUE(v->Cmd_Imprimer_Tableau->isHidden());
    EXPECT_EQ(v->CWGraph_Enreg->x(), qRound(0.02 * v->width()));
    EXPECT_EQ(v->CWGraph_Enreg->Divisions_Temps(), 6);
    EXPECT_EQ(v->List_Numerique->count(), 8 + 6);

    // The reserved values of channel 5, and a channel without valid alarms.
    v->Check_Voie[0]->setChecked(false);
    v->Check_Voie[4]->setChecked(true);
    Tab_Parametres_Voies[4].Alarme_Valide = Faux;
    v->Msk_Date_Debut->setText("09/03/2027 00:00");
    v->Msk_Date_Fin->setText("09/03/2027 23:00");
    v->Chk_Tableau->setChecked(true);
    EXPECT_EQ(Lignes(v->List_Numerique).mid(3), (QStringList{"Alarme non valide", QString(32, '*'),
                                                             "09/03/2027 10:00:00  18    ",
                                                             "09/03/2027 10:30:00   Début Coupure",
                                                             "09/03/2027 11:00:00   Fin Coupure",
                                                             "09/03/2027 11:30:00   Inhibé",
                                                             "09/03/2027 12:00:00  19    ",
                                                             "09/03/2027 12:30:00  19,5    "}));
    // Ticking a second channel takes the table away.
    v->Check_Voie[0]->setChecked(true);
    EXPECT_FALSE(v->Chk_Tableau->isChecked());
    EXPECT_FALSE(v->Chk_Tableau->isEnabled());
    EXPECT_TRUE(v->List_Numerique->isHidden());
    // A table with a period box being typed: said plainly.
    v->Check_Voie[0]->setChecked(false);
    v->Chk_Tableau->setChecked(true);
    boites.Effacer();
    v->Msk_Date_Fin->setText("09/03/2027 1");
    v->Remplit_Tableau_Numerique(4);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Saisie incorrect"});
    EXPECT_EQ(v->List_Numerique->count(), 5);
    // Beyond channel 16: nothing.
    v->Remplit_Tableau_Numerique(16);
    EXPECT_EQ(v->List_Numerique->count(), 0);
}

TEST_F(Tableau_Sauvegarde, TropDePointsPourLaListe) {
    ASSERT_NE(Demarrer(false), nullptr);
    std::vector<Point_Fichier> points;
    for (int k = 0; k < 40000; ++k) points.push_back({1 + k / 1440, (k / 60) % 24, k % 60, static_cast<Simple>(k % 300) / 10});
    Frm_Enreg_Forme* v = Ouvrir_Fichier(Fichier_Enregistrements("long.txt", 1, {points}));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->CWGraph_Enreg->Nb_Points(1), 40000);
    v->Check_Voie[0]->setChecked(true);
    v->Chk_Tableau->setChecked(true);
    EXPECT_EQ(boites.Textes(),
              std::vector<QString>{"Il y a trop de donnée pour le chargement du tableau, faire un ZOOM de la courbe !"});
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(v->List_Numerique->count(), 32768);
    EXPECT_EQ(v->List_Numerique->Ligne(32767).left(16), QStringLiteral("23/03/2027 17:59"));
}

TEST_F(Tableau_Sauvegarde, SauvegardeDesDonneesFraichesPuisPurge) {
    const QString chemin = Chemin("OstrelSoft+/Sauvegardes/Sauvegardes_Donnees/serre.txt");
    QDir().mkpath(Dossier_Donnees());
    // Yes to the save question, No to the purge.
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbYes, vbNo}, true, {chemin});
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(boites.Dialogues.size(), 1u);
    const Dialogue_Fichier& d = boites.Dialogues[0];
    ostrel_test::Dialogue_Txt(d, QStringLiteral("Sauvegarde des enregistrements"),
                              QStringLiteral("Nom du fichier"),
                              QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Sauvegardes_Donnees"));
    EXPECT_TRUE(d.Confirmer_Ecrasement);
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"Voulez vous enregistrer les données dans un fichier ?",
                                                     "Voulez vous purger les enregistrements du module ?"}));
    EXPECT_EQ(boites.Messages[1].Style, vbYesNo);
    EXPECT_EQ(Donnees_Fichier, Vrai);
    EXPECT_EQ(bus.Nombre_Requetes(0x0B), 0);
    EXPECT_TRUE(v->isVisible());

    // The file holds what was shown: 16 channels, the names, every point.
    const QStringList lignes = Depuis_Cp1252(Lire(chemin)).split("\r\n");
    EXPECT_EQ(lignes.mid(0, 5), (QStringList{"*", " 2 ", "*", " 16 ", "*"}));
    EXPECT_EQ(lignes[5], QStringLiteral("Chambre 1   "));
    EXPECT_TRUE(lignes.contains(QStringLiteral("09032711452351"))) << "11:45, 23.5, alarm";
    EXPECT_TRUE(lignes.contains(QStringLiteral("0903271030327670")));
    const Long total = Index_Fin_Voie.back();
    Tab_Mesures.Effacer();
    ASSERT_TRUE(Chargement_Fichier_Donnees(chemin));
    EXPECT_EQ(Index_Fin_Voie.back(), total);
    EXPECT_FLOAT_EQ(Tab_Mesures[7].Valeur, 23.5f);

    // Saved: leaving asks nothing. Saved again: the purge is offered again; Yes erases the module.
    Espion_Captions captions(Tableau()->findChild<QLabel*>("Lbl_Caption_Pb"));
    boites.Effacer();
    boites.Fichiers = {Chemin("OstrelSoft+/Sauvegardes/Sauvegardes_Donnees/deux.txt")};
    boites.Reponses = {vbYes};
    v->Cmd_Sauvegarder->click();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Voulez vous purger les enregistrements du module ?"});
    EXPECT_EQ(bus.Nombre_Requetes(0x0B), 1);
    EXPECT_EQ(bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[2].purges_enregistrements; }), 1);
    EXPECT_TRUE(captions.Captions.contains(QStringLiteral("Effacement Module 2 (~1min) ...")));
    EXPECT_FALSE(Tableau()->Progression_Visible());
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(Depuis_Cp1252(Lire(Fichier_Mouchard)).contains("Purge enregistrements module 2"));
    EXPECT_EQ(Lecture_Tous_Enreg, Vrai);
    boites.Effacer();
    v->Cmd_Quitter->click();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Menu Enregistrements"));
}

TEST_F(Tableau_Sauvegarde, UnePurgeQuiEchoueMeneAuxProblemesDeLiaison) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    bus.Programmer_Defauts(0x0B, {}, sim::Defaut(sim::Defaut::Exception, 4));
    QDir().mkpath(Chemin("OstrelSoft+"));
    boites.Effacer();
    boites.Fichiers = {Chemin("OstrelSoft+/s.txt")};
    boites.Reponses = {vbYes};
    v->Cmd_Sauvegarder->click();
    EXPECT_NE(Code_Erreur, 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_TRUE(Tableau()->Progression_Visible());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Enreg"));
}

TEST_F(Tableau_Sauvegarde, SauvegardeRefuseeOuEchoueeSansPurge) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    // Cancelled, or a name whose ending is in capitals: nothing.
    boites.Effacer();
    boites.Fichiers = {QString(), Chemin("OstrelSoft+/ESSAI.TXT")};
    v->Cmd_Sauvegarder->click();
    v->Cmd_Sauvegarder->click();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_FALSE(QFile::exists(Chemin("OstrelSoft+/ESSAI.TXT")));
    EXPECT_EQ(Donnees_Fichier, Faux);

    // The file cannot be written: said, not counted as saved, no purge offered,
    // and the file already there is left as it was.
    Ecrire(Chemin("OstrelSoft+/bloque"), "un fichier, pas un dossier");
    boites.Effacer();
    boites.Fichiers = {Chemin("OstrelSoft+/bloque/essai.txt")};
    v->Cmd_Sauvegarder->click();
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Texte.startsWith("La sauvegarde a échoué")) << boites.Messages[0].Texte.toStdString();
    EXPECT_EQ(Donnees_Fichier, Faux);
    EXPECT_EQ(bus.Nombre_Requetes(0x0B), 0);
    EXPECT_EQ(Lire(Chemin("OstrelSoft+/bloque")), QByteArray("un fichier, pas un dossier"));
    // Leaving still asks, since nothing was saved.
    boites.Effacer();
    boites.Reponses = {vbCancel};
    v->Cmd_Quitter->click();
    EXPECT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Enregistrements"));
}

TEST_F(Tableau_Sauvegarde, ApresUnTelechargementDeDateADatePasDePurge) {
    const QString chemin = Chemin("OstrelSoft+/jour.txt");
    QDir().mkpath(Chemin("OstrelSoft+"));
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbYes}, false, {chemin});
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Voulez vous enregistrer les données dans un fichier ?"});
    EXPECT_TRUE(QFile::exists(chemin));
    EXPECT_EQ(Donnees_Fichier, Vrai);
    EXPECT_EQ(Lecture_Tous_Enreg, Faux);
}

}  // namespace
