// The recordings viewer: its opening on fresh or file data, the curves, the
// channel boxes, thresholds, cursor, zoom and the boxes of the ranges, the
// colours and leaving.
#include <QApplication>
#include <QCheckBox>
#include <array>
#include <cmath>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "banc_enregistrements.h"
#include "platform/clavier.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

using Visionneuse_Enreg = Banc_Enregistrements;

const Date Jour = DateSerial(2027, 3, 9);

// Distance of two colours as the eye sees it (CIE 1976 Lab).
double Ecart_Visible(const QColor& a, const QColor& b) {
    auto lab = [](const QColor& c) {
        auto lineaire = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        const double r = lineaire(c.redF()), g = lineaire(c.greenF()), bl = lineaire(c.blueF());
        auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
        const double x = f((0.4124 * r + 0.3576 * g + 0.1805 * bl) / 0.95047);
        const double y = f(0.2126 * r + 0.7152 * g + 0.0722 * bl);
        const double z = f((0.0193 * r + 0.1192 * g + 0.9505 * bl) / 1.08883);
        return std::array<double, 3>{116 * y - 16, 500 * (x - y), 200 * (y - z)};
    };
    const auto p = lab(a), q = lab(b);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

std::array<double, 3> Lab(const QColor& c) {
    auto lineaire = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const double r = lineaire(c.redF()), g = lineaire(c.greenF()), b = lineaire(c.blueF());
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    const double x = f((0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047), y = f(0.2126 * r + 0.7152 * g + 0.0722 * b),
                 z = f((0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

// Difference of two colours as the eye tells them apart (CIEDE2000).
double Ecart_De2000(const std::array<double, 3>& p, const std::array<double, 3>& q) {
    const double pi = std::acos(-1.0), deg = pi / 180;
    auto c7 = [](double c) { return std::pow(c, 7) / (std::pow(c, 7) + std::pow(25.0, 7)); };
    const double G = 0.5 * (1 - std::sqrt(c7((std::hypot(p[1], p[2]) + std::hypot(q[1], q[2])) / 2)));
    const double a1 = (1 + G) * p[1], a2 = (1 + G) * q[1];
    const double C1 = std::hypot(a1, p[2]), C2 = std::hypot(a2, q[2]);
    auto angle = [&](double b, double a) { return a == 0 && b == 0 ? 0.0 : std::fmod(std::atan2(b, a) / deg + 360, 360); };
    const double h1 = angle(p[2], a1), h2 = angle(q[2], a2);
    double dh = C1 * C2 == 0 ? 0 : h2 - h1;
    dh += dh > 180 ? -360 : dh < -180 ? 360 : 0;
    double hm = h1 + h2;
    if (C1 * C2 != 0) hm = std::abs(h1 - h2) <= 180 ? hm / 2 : hm < 360 ? (hm + 360) / 2 : (hm - 360) / 2;
    const double Lm = (p[0] + q[0]) / 2, Cm = (C1 + C2) / 2;
    const double T = 1 - 0.17 * std::cos((hm - 30) * deg) + 0.24 * std::cos(2 * hm * deg) + 0.32 * std::cos((3 * hm + 6) * deg) -
                     0.20 * std::cos((4 * hm - 63) * deg);
    const double SL = 1 + 0.015 * (Lm - 50) * (Lm - 50) / std::sqrt(20 + (Lm - 50) * (Lm - 50));
    const double SC = 1 + 0.045 * Cm, SH = 1 + 0.015 * Cm * T;
    const double RT = -std::sin(60 * std::exp(-std::pow((hm - 275) / 25, 2)) * deg) * 2 * std::sqrt(c7(Cm));
    const double dL = (q[0] - p[0]) / SL, dC = (C2 - C1) / SC, dH = 2 * std::sqrt(C1 * C2) * std::sin(dh / 2 * deg) / SH;
    return std::sqrt(dL * dL + dC * dC + dH * dH + RT * dC * dH);
}

TEST_F(Visionneuse_Enreg, OuvertureSurLesDonneesDuModule) {
    Tab_Parametres_Voies[1].Seuil_Haut = 77;  // a channel without curve keeps its thresholds
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    Frm_Menu1_Forme* t = Tableau();
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Enregistrements"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Enregistrements"));
    EXPECT_FALSE(t->Progression_Visible());
    EXPECT_TRUE(v->isVisible());

    // The fresh data are completed from the module, once each.
    EXPECT_EQ(bus.Nombre_Requetes(0x13), 1);
    EXPECT_EQ(bus.Nombre_Requetes(0x14), 1);
    EXPECT_EQ(bus.Nombre_Requetes(0x02), 16);
    EXPECT_EQ(bus.Nombre_Requetes(0x12), 16);
    EXPECT_EQ(Donnees_Reponse.Nb_Enregistrements, 21);
    EXPECT_EQ(Donnees_Reponse.Entete_Module.left(12), QStringLiteral("Serre du sud"));
    EXPECT_EQ(Tab_Parametres_Voies[0].Periode_Enreg, 30);
    EXPECT_EQ(Tab_Parametres_Voies[0].Buzzer, Vrai);
    EXPECT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, 25);
    EXPECT_EQ(Tab_Parametres_Voies[0].Seuil_Bas, 5);
    EXPECT_EQ(Tab_Parametres_Voies[1].Nature_Capteur, 2);
    EXPECT_EQ(Tab_Parametres_Voies[1].Seuil_Haut, 77);

    // The save question closes the opening.
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(boites.Messages[0].Texte, QStringLiteral("Voulez vous enregistrer les données dans un fichier ?"));
    EXPECT_EQ(boites.Messages[0].Style, vbYesNo);
    EXPECT_EQ(boites.Messages[0].Titre, Titre_Application);
    EXPECT_TRUE(boites.Dialogues.empty());

    // One box and one colour button per channel, two per column.
    ASSERT_EQ(v->Nb_Voies_Enreg, 16);
    ASSERT_EQ(v->Check_Voie.size(), 16u);
    EXPECT_EQ(v->Check_Voie[0]->text(), QStringLiteral("Chambre 1   "));
    EXPECT_EQ(v->Check_Voie[5]->text(), QStringLiteral("Voie n°6"));
    EXPECT_EQ(v->Check_Voie[15]->text(), QStringLiteral("Toit        "));
    EXPECT_FALSE(v->Check_Voie[1]->isEnabled());  // contact input
    EXPECT_FALSE(v->Check_Voie[2]->isEnabled());  // out of service
    EXPECT_TRUE(v->Check_Voie[3]->isEnabled());   // valid, nothing recorded
    for (QCheckBox* c : v->Check_Voie) EXPECT_FALSE(c->isChecked());
    EXPECT_EQ(v->Check_Voie[15]->geometry().x(), qRound((0.02 + 0.122 * 7) * v->width()));
    EXPECT_EQ(v->Check_Voie[15]->geometry().y(), qRound(0.05 * v->height()));
    // Start-up gives every channel a curve colour of its own when no options file does.
    EXPECT_EQ(Couleur_Fond(v->Cmd_Choix_Couleur[4]), Tab_Couleur_Courbe[4]);
    EXPECT_NE(Tab_Couleur_Courbe[4], Tab_Couleur_Courbe[0]);
    EXPECT_EQ(Couleur_Fond(v->Check_Voie[0]), Couleur_Fond_Bandeau);

    // The names reach the records and the channel table.
    EXPECT_EQ(Tab_Mesures[0].Nom_Voie, QStringLiteral("Chambre 1   "));
    const Tranche_Mesures sixieme = Tranche_Voie(15);
    EXPECT_EQ(Tab_Mesures[sixieme.Debut].Nom_Voie, QStringLiteral("Toit        "));
    EXPECT_EQ(Tab_Parametres_Voies[5].Nom_Voie, QString(12, ' '));

    // Curves: every record as it is, reserved values included, all hidden.
    Graphe_Enreg* g = v->CWGraph_Enreg;
    EXPECT_EQ(g->Nb_Points(1), 10);
    EXPECT_EQ(g->Point(1, 7), QPointF(Jour + TimeSerial(11, 45, 0), 23.5f));
    EXPECT_EQ(g->Nb_Points(2), 0);
    EXPECT_EQ(g->Nb_Points(4), 0);
    ASSERT_EQ(g->Nb_Points(5), 6);
    EXPECT_FLOAT_EQ(g->Point(5, 1).y(), 3276.7f);
    EXPECT_FLOAT_EQ(g->Point(5, 2).y(), 3276.6f);
    EXPECT_FLOAT_EQ(g->Point(5, 3).y(), 1500.0f);
    EXPECT_EQ(g->Nb_Points(16), 3);
    for (int k = 1; k <= 16; ++k) EXPECT_FALSE(g->Visible(k) && g->Allumee(k)) << k;
    EXPECT_EQ(g->Couleur_Ligne(1), Tab_Couleur_Courbe[0]);
    EXPECT_EQ(g->Capacite_Points(), 22);
    EXPECT_EQ(g->Mode_Interaction(), Graphe_Enreg::Mode_Zoom);
    EXPECT_TRUE(g->Caption().startsWith(QStringLiteral("Serre du sud"))) << g->Caption().toStdString();
    for (int k = 1; k <= 16; ++k) EXPECT_FALSE(g->Curseur_Visible(k));
    EXPECT_EQ(v->Voie_Curseur, 0);

    // The ranges of the opening, in the boxes.
    EXPECT_EQ(v->Msk_Date_Debut->text(), QStringLiteral("08/03/2027 00:00"));
    EXPECT_EQ(v->Msk_Date_Fin->text(), QStringLiteral("11/03/2027 00:00"));
    EXPECT_EQ(v->Txt_Echel_Min->text(), QStringLiteral("-50"));
    EXPECT_EQ(v->Txt_Echel_Max->text(), QStringLiteral("150"));
    EXPECT_EQ(g->Minimum(1), DateSerial(2027, 3, 8));
    // Shown again after each curve, the end stays where it is.
    EXPECT_EQ(g->Maximum(1), DateSerial(2027, 3, 11));
    EXPECT_EQ(g->Minimum(2), -50);
    EXPECT_EQ(g->Maximum(2), 150);
    EXPECT_TRUE(v->Cmd_Sauvegarder->isEnabled());
    EXPECT_TRUE(v->Lbl_Legende[0]->isHidden());
    EXPECT_TRUE(v->List_Numerique->isHidden());
    EXPECT_TRUE(v->Cmd_Imprimer_Tableau->isHidden());
    EXPECT_FALSE(v->Check_Option_Curseur->isEnabled());
}

TEST_F(Visionneuse_Enreg, OuvertureSurUnFichier) {
    ASSERT_NE(Demarrer(false), nullptr);
    const QString chemin = Fichier_Enregistrements("f.txt", 4, {{{9, 10, 0, 12.5f}, {9, 11, 0, 13}}, {}, {{10, 8, 0, 3}}},
                                                   {"Frigo       ", "Vide        ", "Cave        ", "Quai        "});
    Frm_Enreg_Forme* v = Ouvrir_Fichier(chemin);
    ASSERT_NE(v, nullptr);
    // No request, no question, nothing to save again.
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_FALSE(v->Cmd_Sauvegarder->isEnabled());
    ASSERT_EQ(v->Nb_Voies_Enreg, 4);
    EXPECT_EQ(v->Check_Voie[0]->text(), QStringLiteral("Frigo       "));
    EXPECT_TRUE(v->Check_Voie[0]->isEnabled());
    // An empty channel: no box to tick, its number as caption, 12 blanks as name.
    EXPECT_FALSE(v->Check_Voie[1]->isEnabled());
    EXPECT_EQ(v->Check_Voie[1]->text(), QStringLiteral("Voie n°2"));
    EXPECT_EQ(Tab_Parametres_Voies[1].Nom_Voie, QString(12, ' '));
    EXPECT_FALSE(v->Check_Voie[3]->isEnabled());
    EXPECT_EQ(v->Check_Voie[2]->text(), QStringLiteral("Cave        "));
    // The thresholds come from the file; the caption is the header it keeps.
    EXPECT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, 25);
    EXPECT_EQ(v->CWGraph_Enreg->Caption(), QStringLiteral("Serre du nord"));
    EXPECT_EQ(Nom_Module, QStringLiteral("Serre du nord"));
    EXPECT_EQ(v->CWGraph_Enreg->Nb_Points(1), 2);
    EXPECT_EQ(v->CWGraph_Enreg->Nb_Points(3), 1);
    EXPECT_EQ(v->Msk_Date_Debut->text(), QStringLiteral("09/03/2027 10:00"));
    EXPECT_EQ(v->Msk_Date_Fin->text(), QStringLiteral("10/03/2027 08:00"));
    EXPECT_EQ(v->CWGraph_Enreg->Maximum(1), DateSerial(2027, 3, 10) + TimeSerial(8, 0, 0));

    // Leaving needs no question: the data are on file.
    v->Cmd_Quitter->click();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Menu Enregistrements"));
}

TEST_F(Visionneuse_Enreg, UnFichierDUnSeulPointOuvreSurUnJour) {
    ASSERT_NE(Demarrer(false), nullptr);
    Frm_Enreg_Forme* v = Ouvrir_Fichier(Fichier_Enregistrements("un.txt", 1, {{{9, 10, 0, 12.5f}}}));
    ASSERT_NE(v, nullptr);
    // The window is one instant: the range opens on the day after it, never an empty range.
    EXPECT_EQ(v->CWGraph_Enreg->Minimum(1), Jour + TimeSerial(10, 0, 0));
    EXPECT_GT(v->CWGraph_Enreg->Maximum(1), v->CWGraph_Enreg->Minimum(1));
    v->Check_Voie[0]->setChecked(true);
    EXPECT_GT(v->CWGraph_Enreg->Maximum(1), v->CWGraph_Enreg->Minimum(1));
    EXPECT_GT(v->CWGraph_Enreg->Maximum(2), v->CWGraph_Enreg->Minimum(2));
    EXPECT_TRUE(boites.Messages.empty());
    v->Cmd_Zoom_Initial->click();
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(Visionneuse_Enreg, EchecDesLecturesALOuverture) {
    Configurer_Module_2();
    Frm_Menu1_Forme* t = Demarrer(true);
    ASSERT_NE(t, nullptr);
    Num_Module = 2;
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    menu->Opt_All_Enreg->setChecked(true);
    menu->Cmd_OK_Click();
    ASSERT_TRUE(menu->Timer1->Enabled());
    // The record count fails: the opening stops there, nothing more goes to the module.
    bus.Programmer_Defauts(0x13, {}, sim::Defaut(sim::Defaut::Exception, 4));
    bus.Effacer_Trames();
    Espion_Captions captions(t->findChild<QLabel*>("Lbl_Caption_Pb"));
    menu->Timer1->Declencher();
    ostrel_test::Traiter_Evenements();
    EXPECT_EQ(bus.Nombre_Requetes(0x14), 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x02), 0);
    EXPECT_EQ(captions.Captions.back(), QStringLiteral("Lecture Nombre d'enregistrement"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Enreg"));
    EXPECT_TRUE(boites.Messages.empty());

    // The settings of channel 3 fail: no name is read, no question asked.
    Code_Erreur = 0;
    bus.Effacer_Defauts();
    menu = Ouvrir_Menu();
    menu->Opt_All_Enreg->setChecked(true);
    menu->Cmd_OK_Click();
    bus.Programmer_Defauts(0x02, {sim::Defaut(), sim::Defaut()}, sim::Defaut(sim::Defaut::Exception, 4));
    bus.Effacer_Trames();
    menu->Timer1->Declencher();
    ostrel_test::Traiter_Evenements();
    EXPECT_EQ(captions.Captions.back(), QStringLiteral("Lecture paramètres voie : 3"));
    EXPECT_EQ(bus.Nombre_Requetes(0x12), 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_TRUE(boites.Messages.empty());
}

// The download holds the event loop: an operator who goes to type in another
// program meanwhile is not there when it ends, and nothing the program heard
// before says so. Asked of the window system when the download has ended,
// the program keeps its window behind that program and the save question
// waits for the operator; with the operator in Ostrel all along, the window
// comes in front and the question takes the keyboard as before.
TEST_F(Visionneuse_Enreg, LaFinDuTelechargementAttendLOperateurParti) {
    Configurer_Module_2();
    Frm_Menu1_Forme* t = Demarrer(true);
    ASSERT_NE(t, nullptr);
    t->activateWindow();
    ostrel_test::Traiter_Evenements();
    ASSERT_EQ(QApplication::activeWindow(), t);
    // The dashboard's window raised.
    ostrel_test::Compteur_Evenements montees(t, QEvent::ZOrderChange);
    const QString question = QStringLiteral("Voulez vous enregistrer les données dans un fichier ?");
    Num_Module = 2;

    // Gone to another program once the recordings started coming.
    Definir_Clavier_Ailleurs([this] { return bus.Nombre_Requetes(0x0E) > 0; });
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    menu->Opt_All_Enreg->setChecked(true);
    boites.Reponses = {vbNo};
    menu->Cmd_OK_Click();
    ASSERT_TRUE(menu->Timer1->Enabled());
    const int au_depart = montees.n;
    EXPECT_GT(au_depart, 0);  // the operator was there when the download began
    menu->Timer1->Declencher();
    ostrel_test::Traiter_Evenements();
    ASSERT_EQ(Ecran_Courant, QStringLiteral("Enregistrements"));
    EXPECT_EQ(montees.n, au_depart);
    ASSERT_EQ(boites.Textes(), std::vector<QString>{question});
    EXPECT_TRUE(boites.Messages[0].Attente);

    // In Ostrel all along.
    Definir_Clavier_Ailleurs([] { return false; });
    Liaison_Ecran(QStringLiteral("Enregistrements"), QStringLiteral("Menu Enregistrements"), Faux);
    menu = Menu();
    ASSERT_NE(menu, nullptr);
    menu->Opt_All_Enreg->setChecked(true);
    boites.Effacer();
    boites.Reponses = {vbNo};
    montees.n = 0;
    ASSERT_NE(Charger_Et_Ouvrir(menu), nullptr);
    EXPECT_GT(montees.n, au_depart);  // at the start and at the change of screen
    ASSERT_EQ(boites.Textes(), std::vector<QString>{question});
    EXPECT_FALSE(boites.Messages[0].Attente);
}

TEST_F(Visionneuse_Enreg, VoiesSeuilsEtCurseur) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    Graphe_Enreg* g = v->CWGraph_Enreg;
    boites.Effacer();

    // A first channel: its curve, the ranges to its data, the options offered.
    v->Check_Voie[0]->setChecked(true);
    EXPECT_TRUE(g->Visible(1) && g->Allumee(1) && g->Enabled(1));
    EXPECT_TRUE(v->Check_Voie[0]->font().bold());
    EXPECT_EQ(Couleur_Fond(v->Check_Voie[0]), g->Couleur_Grille());
    EXPECT_TRUE(v->Check_Option_Seuil->isEnabled());
    EXPECT_TRUE(v->Chk_Tableau->isEnabled());
    EXPECT_TRUE(v->Check_Option_Curseur->isEnabled());
    ASSERT_EQ(v->Cmb_Choix_Voies->count(), 1);
    EXPECT_EQ(v->Cmb_Choix_Voies->currentText(), QStringLiteral("Chambre 1   "));
    // Data 20 .. 24.5: 20 - 0.2 x 44.5 = 11.1 and 24.5 + 0.2 x (24.5 + 11.1) = 31.62,
    // then the whole numbers of the boxes.
    EXPECT_EQ(v->Txt_Echel_Min->text(), QStringLiteral("11"));
    EXPECT_EQ(v->Txt_Echel_Max->text(), QStringLiteral("31"));
    EXPECT_EQ(v->Msk_Date_Debut->text(), QStringLiteral("09/03/2027 10:00"));
    EXPECT_EQ(v->Msk_Date_Fin->text(), QStringLiteral("09/03/2027 12:15"));
    EXPECT_EQ(g->Minimum(1), Jour + TimeSerial(10, 0, 0));
    EXPECT_EQ(g->Maximum(1), Jour + TimeSerial(12, 15, 0));
    EXPECT_EQ(g->Minimum(2), 11);
    EXPECT_EQ(g->Maximum(2), 31);

    // Thresholds between the dates of the boxes, dashed.
    v->Check_Option_Seuil->setChecked(true);
    ASSERT_EQ(g->Nb_Points(17), 2);
    EXPECT_EQ(g->Point(17, 0), QPointF(Jour + TimeSerial(10, 0, 0), 25));
    EXPECT_EQ(g->Point(17, 1), QPointF(Jour + TimeSerial(12, 15, 0), 25));
    EXPECT_EQ(g->Point(18, 1), QPointF(Jour + TimeSerial(12, 15, 0), 5));
    EXPECT_TRUE(g->Visible(17) && g->Visible(18));
    EXPECT_EQ(g->Style_Ligne(17), Graphe_Enreg::Style_Tirets);

    // A second channel: one channel's options go; the inhibited value brings -50 .. 150.
    v->Check_Voie[4]->setChecked(true);
    EXPECT_FALSE(v->Check_Option_Seuil->isEnabled());
    EXPECT_FALSE(v->Check_Option_Seuil->isChecked());
    EXPECT_FALSE(v->Chk_Tableau->isEnabled());
    EXPECT_EQ(g->Nb_Points(17), 0);
    EXPECT_FALSE(g->Visible(17));
    EXPECT_EQ(g->Minimum(2), -50);
    EXPECT_EQ(g->Maximum(2), 150);
    EXPECT_EQ(v->Cmb_Choix_Voies->count(), 2);
    EXPECT_EQ(v->Cmb_Choix_Voies->currentText(), QStringLiteral("Labo        "));
    EXPECT_TRUE(boites.Messages.empty());

    // Back to one: offered again, unticked.
    v->Check_Voie[4]->setChecked(false);
    EXPECT_TRUE(v->Check_Option_Seuil->isEnabled());
    EXPECT_FALSE(v->Check_Option_Seuil->isChecked());
    EXPECT_FALSE(g->Visible(5));
    EXPECT_FALSE(v->Check_Voie[4]->font().bold());
    EXPECT_EQ(Couleur_Fond(v->Check_Voie[4]), Couleur_Fond_Bandeau);

    // The cursor: the combo's channel, on its point nearest the middle of the range.
    v->Check_Option_Curseur->setChecked(true);
    EXPECT_EQ(v->Voie_Curseur, 1);
    EXPECT_TRUE(g->Curseur_Visible(1));
    EXPECT_EQ(g->Mode_Interaction(), Graphe_Enreg::Mode_Curseur);
    EXPECT_NEAR(g->Curseur_X(1), Jour + TimeSerial(11, 7, 30), 8.0 / 1440);  // the middle of 10:00 .. 12:15
    // A click in the plot area takes the cursor there; the arrows step it.
    v->CWGraph_Enreg_Clic_Graphe(Jour + TimeSerial(11, 2, 0));
    EXPECT_EQ(v->Lbl_Coordonnee_Curseur->text(), QStringLiteral("09/03/2027 11:00:00  22"));
    EXPECT_EQ(g->Curseur_Index(1), 4);
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Right);
    EXPECT_EQ(g->Curseur_Index(1), 5);
    EXPECT_EQ(v->Lbl_Coordonnee_Curseur->text(), QStringLiteral("09/03/2027 11:15:00  22,5"));
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Left);
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Left);
    EXPECT_EQ(v->Lbl_Coordonnee_Curseur->text(), QStringLiteral("09/03/2027 10:45:00  21,5"));
    EXPECT_EQ(v->Cmb_Choix_Voies->currentIndex(), 0);
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Left);
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Left);
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Left);
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Left);
    EXPECT_EQ(v->Lbl_Coordonnee_Curseur->text(), QStringLiteral("09/03/2027 10:00:00  20"));
    v->Check_Option_Curseur->setChecked(false);
    EXPECT_EQ(v->Lbl_Coordonnee_Curseur->text(), QStringLiteral("-"));
    EXPECT_FALSE(g->Curseur_Visible(1));
    EXPECT_EQ(g->Mode_Interaction(), Graphe_Enreg::Mode_Zoom);
    // Without the option the arrows do nothing.
    QTest::keyRelease(v->Cmb_Choix_Voies, Qt::Key_Right);
    EXPECT_EQ(v->Lbl_Coordonnee_Curseur->text(), QStringLiteral("-"));

    // Thresholds ticked before the channel: drawn when it is ticked.
    v->Check_Voie[0]->setChecked(false);
    EXPECT_FALSE(v->Check_Option_Curseur->isEnabled());
    v->Check_Option_Seuil->setChecked(true);
    EXPECT_EQ(g->Nb_Points(17), 0);
    v->Check_Voie[0]->setChecked(true);
    EXPECT_EQ(g->Nb_Points(17), 2);
    // A channel with both thresholds at 0 gets no line; one at 0 gets both.
    v->Check_Voie[0]->setChecked(false);
    Tab_Parametres_Voies[3].Seuil_Haut = 0;
    Tab_Parametres_Voies[3].Seuil_Bas = 0;
    v->Check_Option_Seuil->setChecked(true);
    v->Check_Voie[3]->setChecked(true);
    EXPECT_EQ(g->Nb_Points(17), 0);
    Tab_Parametres_Voies[3].Seuil_Haut = 8;
    v->Check_Option_Seuil->setChecked(false);
    v->Check_Option_Seuil->setChecked(true);
    EXPECT_EQ(g->Nb_Points(18), 2);
    EXPECT_EQ(g->Point(18, 0).y(), 0);
}

TEST_F(Visionneuse_Enreg, ZoomEtBoitesDesPlages) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    Graphe_Enreg* g = v->CWGraph_Enreg;
    v->Check_Voie[0]->setChecked(true);
    boites.Effacer();

    // The operator's zoom: the boxes in whole numbers, the axis after them.
    g->Definir_Plage(2, 12.7, 35.2);
    g->Definir_Plage(1, Jour + TimeSerial(10, 15, 30), Jour + TimeSerial(12, 40, 10));
    v->CWGraph_Enreg_Zoom();
    EXPECT_EQ(v->Txt_Echel_Min->text(), QStringLiteral("12"));
    EXPECT_EQ(v->Txt_Echel_Max->text(), QStringLiteral("35"));
    EXPECT_EQ(g->Minimum(2), 12);
    EXPECT_EQ(g->Maximum(2), 35);
    EXPECT_EQ(v->Msk_Date_Debut->text(), QStringLiteral("09/03/2027 10:15"));
    EXPECT_EQ(v->Msk_Date_Fin->text(), QStringLiteral("09/03/2027 12:40"));
    // The start to its minute; the end is already within the minute shown.
    EXPECT_EQ(g->Minimum(1), Jour + TimeSerial(10, 15, 0));
    EXPECT_EQ(g->Maximum(1), Jour + TimeSerial(12, 40, 10));
    v->Actualise_Echelles();
    EXPECT_EQ(g->Maximum(1), Jour + TimeSerial(12, 40, 10));
    EXPECT_TRUE(boites.Messages.empty());

    // Too narrow a value range: said, and the last whole-number range comes back.
    g->Definir_Plage(2, 20.2, 20.8);
    v->CWGraph_Enreg_Zoom();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Zoom trop petit"});
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(g->Minimum(2), 12);
    EXPECT_EQ(g->Maximum(2), 35);

    // The date boxes typed: a partial text is ignored, "23:59" ends the day.
    boites.Effacer();
    v->Msk_Date_Fin->setText("09/03/2027 2");
    EXPECT_EQ(g->Maximum(1), Jour + TimeSerial(12, 40, 10));
    v->Msk_Date_Fin->setText("09/03/2027 23:59");
    EXPECT_NEAR(g->Maximum(1), Jour + 1 + TimeSerial(0, 1, 0), 1e-9);
    v->Msk_Date_Fin->setText("09/03/2027 22:15");
    EXPECT_NEAR(g->Maximum(1), Jour + TimeSerial(22, 16, 0), 1e-9);
    v->Msk_Date_Debut->setText("09/03/2027 08:00");
    EXPECT_NEAR(g->Minimum(1), Jour + TimeSerial(8, 0, 0), 1e-9);
    EXPECT_TRUE(boites.Messages.empty());
    // A start not before the end is refused and said.
    v->Msk_Date_Debut->setText("09/03/2027 22:15");
    v->Msk_Date_Fin->setText("09/03/2027 07:00");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"La date de début doit être < à celle de fin!",
                                                     "La date de fin doit être > à celle de début!"}));
    EXPECT_NEAR(g->Minimum(1), Jour + TimeSerial(8, 0, 0), 1e-9);
    EXPECT_NEAR(g->Maximum(1), Jour + TimeSerial(22, 16, 0), 1e-9);

    // Scale boxes: a range of at least 1, a text that is no number counts as 0.
    v->Txt_Echel_Max->setText("12,4");
    EXPECT_EQ(g->Maximum(2), 35);
    v->Txt_Echel_Min->setText("abc");
    EXPECT_EQ(g->Minimum(2), 0);
    v->Txt_Echel_Max->setText("40");
    EXPECT_EQ(g->Maximum(2), 40);

    // Initial zoom: the window, then the data of the curves shown.
    v->Check_Option_Seuil->setChecked(true);
    boites.Effacer();
    v->Cmd_Zoom_Initial->click();
    EXPECT_FALSE(v->Check_Option_Seuil->isChecked());
    EXPECT_FALSE(g->Visible(17));
    EXPECT_EQ(g->Minimum(1), Jour + TimeSerial(10, 0, 0));
    EXPECT_EQ(v->Txt_Echel_Min->text(), QStringLiteral("11"));
    // The boxes held refused dates: brought up to date without a word.
    EXPECT_EQ(v->Msk_Date_Fin->text(), QStringLiteral("09/03/2027 12:15"));
    EXPECT_TRUE(boites.Messages.empty());

    // A pan past the end of the range: no message either.
    g->Definir_Plage(1, Jour + 1, Jour + 2);
    v->CWGraph_Enreg_Zoom();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(v->Msk_Date_Debut->text(), QStringLiteral("10/03/2027 00:00"));
    EXPECT_EQ(g->Maximum(1), Jour + 2);

    // A zoom made with the mouse goes the same way.
    const QRectF z = g->Zone_Trace();
    QTest::mousePress(g, Qt::LeftButton, {}, z.topLeft().toPoint() + QPoint(10, 10));
    QTest::mouseMove(g, z.center().toPoint());
    QTest::mouseRelease(g, Qt::LeftButton, {}, z.center().toPoint());
    EXPECT_EQ(v->Msk_Date_Debut->text(), Texte_Boite_Date(g->Minimum(1)));
    EXPECT_EQ(v->Txt_Echel_Max->text(), QString::number(static_cast<int>(g->Maximum(2))));
}

TEST_F(Visionneuse_Enreg, CouleursParDefautVisiblesEtBoutonsDeLaVraieCouleur) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    // The metric as published (Sharma, Wu and Dalal's pairs 1 and 17).
    EXPECT_NEAR(Ecart_De2000({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4);
    EXPECT_NEAR(Ecart_De2000({50, 2.5, 0}, {73, 25, -18}), 27.1492, 1e-4);
    const QColor fond = Vers_QColor(Couleur_Fenetre);
    ASSERT_EQ(fond, QColor(0, 128, 128));
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i + 1);
        const QColor c = Vers_QColor(Tab_Couleur_Courbe[static_cast<size_t>(i)]);
        EXPECT_GE(Contraste(Tab_Couleur_Courbe[static_cast<size_t>(i)], Couleur_Fenetre), 2);  // read on the plot
        EXPECT_GE(Contraste(Tab_Couleur_Courbe[static_cast<size_t>(i)], Couleur_Blanche), 2);  // and on the printed page
        for (int j = 0; j < i; ++j) EXPECT_GE(Ecart_De2000(Lab(c), Lab(Vers_QColor(Tab_Couleur_Courbe[static_cast<size_t>(j)]))), 15) << j + 1;
        // The button shows the curve's colour itself.
        QPushButton* b = v->Cmd_Choix_Couleur[static_cast<size_t>(i)];
        EXPECT_EQ(b->grab().toImage().pixelColor(b->width() / 2, b->height() / 2), c);
    }
    boites.Couleurs = {0x123456};
    v->Cmd_Choix_Couleur[3]->click();
    EXPECT_EQ(v->Cmd_Choix_Couleur[3]->grab().toImage().pixelColor(5, 5), Vers_QColor(0x123456));
}

// A site whose banner text is white (as the grid is) still reads the names of its ticked channels.
TEST_F(Visionneuse_Enreg, CaseCocheeLisibleSurLaGrille) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    Couleur_Police_Bandeau = 0xFFFFFF;
    v->Check_Voie[0]->setChecked(true);
    EXPECT_TRUE(v->Check_Voie[0]->font().bold());
    EXPECT_EQ(Couleur_Fond(v->Check_Voie[0]), v->CWGraph_Enreg->Couleur_Zone_Trace());
    EXPECT_GE(Ecart_Visible(Vers_QColor(Couleur_Fond(v->Check_Voie[0])), Qt::white), 50);
    v->Check_Voie[0]->setChecked(false);
    EXPECT_EQ(Couleur_Fond(v->Check_Voie[0]), Couleur_Fond_Bandeau);
}

TEST_F(Visionneuse_Enreg, CouleursEtSortie) {
    Frm_Enreg_Forme* v = Ouvrir_Module_2({vbNo});
    ASSERT_NE(v, nullptr);
    boites.Effacer();
    boites.Couleurs = {0x123456};
    v->Cmd_Choix_Couleur[0]->click();
    EXPECT_EQ(boites.Titres_Couleur, std::vector<QString>{"Choix de la couleur d'une courbe"});
    EXPECT_EQ(v->CWGraph_Enreg->Couleur_Ligne(1), 0x123456);
    EXPECT_EQ(Couleur_Fond(v->Cmd_Choix_Couleur[0]), 0x123456);
    EXPECT_EQ(Tab_Couleur_Courbe[0], 0x123456);
    EXPECT_EQ(Couleur_Fond(v->Check_Voie[0]), Couleur_Fond_Bandeau);
    // A cancelled dialog changes nothing.
    v->Cmd_Choix_Couleur[0]->click();
    EXPECT_EQ(Tab_Couleur_Courbe[0], 0x123456);

    // Fresh data not saved: leaving asks first.
    boites.Reponses = {vbCancel};
    v->Cmd_Quitter->click();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Voulez vous quitter l'écran des courbes ? Annuler si vous n'avez "
                                                    "pas sauvegardé les courbes."});
    EXPECT_EQ(boites.Messages[0].Style, vbOKCancel);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Enregistrements"));
    boites.Reponses = {vbOK};
    v->Cmd_Quitter->click();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Menu Enregistrements"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Enreg"));
}

}  // namespace
