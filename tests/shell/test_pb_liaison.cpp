// The link-problem screen: the text of each error code, the blinking banner
// with its beep, the search every eleventh tick with the return to the live
// measures once the bus answers (an adapter plugged back included), and OK.
// Its timer is fired by hand.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QWindow>
#include <algorithm>

#include "link/ecran_communication.h"
#include "link/ecrans/frm_pb_liaison.h"
#include "link/fonctions_es.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "programme_test.h"
#include "shell/frm_mesures.h"

using namespace ostrel;
using ostrel_test::Programme;
using ostrel_test::Traiter_Evenements;

namespace {

class Pb_Liaison : public Programme {
protected:
    Frm_Pb_Liaison_Forme* Pb() const { return registre.Instance_De<Frm_Pb_Liaison_Forme>("Frm_Pb_Liaison"); }
    // The screen opened from `ecran` with that error, its timer held by hand.
    void Ouvrir(const QString& ecran, Octet code) {
        Liaison_Ecran(Ecran_Courant, ecran, Faux);
        Code_Erreur = code;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
        ASSERT_NE(Pb(), nullptr);
        Tenir_Minuterie();
    }
    void Tenir_Minuterie() {
        ASSERT_EQ(Pb()->Timer_Alarme()->Interval(), 1000);
        Pb()->Timer_Alarme()->Interval(3600 * 1000);
    }
    bool Tic() {
        const bool fait = Pb() && Pb()->Timer_Alarme()->Declencher();
        Traiter_Evenements();
        return fait;
    }
    Couleur Bandeau() const { return Tableau()->Fond_Lbl_Alarme(); }
    // An episode begun on the live screen (a stand-in), modules 1 and 3 on the bus.
    Frm_Menu1_Forme* Episode_Des_Mesures() {
        Frm_Menu1_Forme* t = Demarrer({1, 3});
        if (!t) return nullptr;
        Remplacer("Frm_Mesures");
        Couleur_Fond_Bandeau = 0x00C0C0;
        Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
        Ouvrir(QStringLiteral("Mesures"), Erreur::Ligne);
        return t;
    }
};

}  // namespace

TEST_F(Pb_Liaison, TexteDeChaqueCode) {
    Frm_Menu1_Forme* t = Demarrer();
    ASSERT_NE(t, nullptr);
    const std::pair<int, const char*> cas[] = {
        {1, "Le code fonction reçu ne figure pas dans la liste autorisée"},
        {2, "L'adresse utilisée n'existe pas au sein de l'esclave concerné"},
        {3, "La valeur envoyée ne peut être prise en compte à l'adresse indiquée"},
        {4, "L'esclave ne peut exécuter la commande"},
        {7, "La fonction ne peut être assurée ou une demande d'écriture sur un read-only"},
        {10, "Le CRC renvoyé est incorrect"},
        {11, "Réponse effectuée par un esclave non autorisé"},
        {12, "Le code fonction reçu ne correspond pas à la question"},
        {13, "La longueur de la trame reçu ne correspond pas à la question"},
        {14, "Réponse invalide à une écriture"},
        {15, "Interruption sur la ligne lors de la transmission"},
        {68, "Le port est indisponible pour l'action demandée"},
        {100, "Aucune police n'a été trouvée"},
    };
    Couleur_Fond_Bandeau = 0x00C0C0;
    for (const auto& [code, texte] : cas) {
        SCOPED_TRACE(code);
        t->Lampe_Comm(Couleur_Fenetre);
        t->Lbl_Informations(QStringLiteral("Mesures en cours"));
        Ouvrir(QStringLiteral("Consultation"), static_cast<Octet>(code));
        EXPECT_EQ(Pb()->Lbl_Type_Erreur(), QStringLiteral("Code erreur %1 : ").arg(code) + QString::fromUtf8(texte));
        const QStringList trace = Trace();
        EXPECT_EQ(trace[trace.size() - (code == 14 ? 2 : 1)], QString::fromUtf8(texte));  // 14: the bytes follow
        EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Problèmes Liaison"));
        EXPECT_EQ(t->Lbl_Informations(), QStringLiteral("Erreur avec un Module"));
        EXPECT_EQ(t->Lampe_Comm(), 0x00C0C0);
        EXPECT_EQ(Pb()->Ecran_En_Erreur, QStringLiteral("Consultation"));
        EXPECT_EQ(Pb()->windowTitle(), QStringLiteral("Erreur"));
        EXPECT_TRUE(Pb()->isVisible());
        EXPECT_TRUE(Pb()->Timer_Alarme()->Enabled());
        EXPECT_EQ(Code_Erreur, code);  // kept while the screen is shown
        EXPECT_FALSE(Charge("Frm_Menu_Consultation"));
        Cliquer("Frm_Pb_Liaison", "Cmd_OK");
    }

    // A code without a text keeps the first line and traces nothing.
    Ouvrir(QStringLiteral("Consultation"), 6);
    EXPECT_EQ(Pb()->Lbl_Type_Erreur(), QStringLiteral("Code Erreur n°X : Erreur inconnue"));
    EXPECT_EQ(Trace().back(), QStringLiteral("Accès écran Problèmes Liaison"));
    EXPECT_EQ(t->Lbl_Informations(), QStringLiteral("Erreur avec un Module"));
}

TEST_F(Pb_Liaison, Code14LesOctetsRecusALaSuite) {
    ASSERT_NE(Demarrer(), nullptr);
    Trame_Recue[0] = 1;
    Trame_Recue[1] = 16;
    Trame_Recue[2] = 0;
    Trame_Recue[3] = 2;
    Nb_Octets_Recus = 4;
    Ouvrir(QStringLiteral("Configuration"), 14);
    const QStringList trace = Trace();
    ASSERT_GE(trace.size(), 2);
    EXPECT_EQ(trace[trace.size() - 2], QStringLiteral("Réponse invalide à une écriture"));
    EXPECT_EQ(trace.back(), QStringLiteral("11602"));
}

TEST_F(Pb_Liaison, ClignoteBipeEtRetourneAuxMesuresAuOnziemeTic) {
    Frm_Menu1_Forme* t = Episode_Des_Mesures();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Pb()->Ecran_En_Erreur, QStringLiteral("Mesures"));
    EXPECT_FALSE(Charge("Frm_Mesures"));
    EXPECT_EQ(Bandeau(), 0x00C0C0);
    bus.Effacer_Trames();

    for (int tic = 1; tic <= 10; ++tic) {
        SCOPED_TRACE(tic);
        ASSERT_TRUE(Tic());
        // Red with a beep on the odd ticks, back on the even ones.
        EXPECT_EQ(Bandeau(), tic % 2 ? Couleur_Rouge : 0x00C0C0);
        EXPECT_EQ(boites.Bips, (tic + 1) / 2);
        EXPECT_EQ(Pb()->Compteur_Alarme, tic);
        EXPECT_TRUE(Pb()->Timer_Alarme()->Enabled());
    }
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 0);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);

    const int chargements = ostrel_test::Ecran_Essai::chargements;
    ASSERT_TRUE(Tic());
    EXPECT_EQ(boites.Bips, 6);
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 1);  // the bus searched again
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_FALSE(Charge("Frm_Pb_Liaison"));
    EXPECT_EQ(ostrel_test::Ecran_Essai::chargements, chargements + 1);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    EXPECT_EQ(Bandeau(), 0x00C0C0);
    EXPECT_EQ(t->Nb_Lbl_OC(), 2);
}

TEST_F(Pb_Liaison, AilleursResteJusquALAppuiSurOK) {
    Frm_Menu1_Forme* t = Demarrer({1});
    ASSERT_NE(t, nullptr);
    Couleur_Fond_Bandeau = 0x00C0C0;
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
    Ouvrir(QStringLiteral("Journal des alarmes"), Erreur::Ligne);
    // The bus is still down at the retry.
    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x1B, {}, sim::Defaut(sim::Defaut::Silence));
    bus.Effacer_Trames();
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 6);  // one search, with its retries
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    ASSERT_TRUE(Charge("Frm_Pb_Liaison"));
    EXPECT_TRUE(Pb()->Timer_Alarme()->Enabled());
    EXPECT_EQ(Pb()->Compteur_Alarme, 0);
    EXPECT_EQ(Bandeau(), Couleur_Rouge);  // until tick 12
    EXPECT_EQ(Code_Erreur, 0);
    ASSERT_TRUE(Tic());
    EXPECT_EQ(Bandeau(), 0x00C0C0);
    ASSERT_TRUE(Tic());
    EXPECT_EQ(Bandeau(), Couleur_Rouge);

    // OK: timer off, banner back, search (the bus is back), home screen.
    bus.Effacer_Defauts();
    ostrel_test::Delais_Reels();
    bus.Effacer_Trames();
    Code_Erreur = Erreur::Ligne;
    const QPointer<Minuterie> minuterie = Pb()->Timer_Alarme();
    Cliquer("Frm_Pb_Liaison", "Cmd_OK");
    EXPECT_TRUE(minuterie.isNull() || !minuterie->Enabled());  // unloaded with its screen, or stopped
    EXPECT_EQ(Bandeau(), 0x00C0C0);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 1);
    EXPECT_FALSE(Charge("Frm_Pb_Liaison"));
    EXPECT_TRUE(Charge("Frm_Accueil"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Problèmes Liaison"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Accueil"));
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("MD1"));
}

TEST_F(Pb_Liaison, LesMesuresEchouentEncoreAuRetour) {
    ASSERT_NE(Demarrer({1}), nullptr);
    Remplacer("Frm_Mesures");
    Ouvrir(QStringLiteral("Mesures"), Erreur::Ligne);
    // The live screen fails again at its first request: its title is not written yet.
    Remplacer("Frm_Mesures", [this] {
        Tableau()->Lbl_Nom_Menu(QStringLiteral("Problèmes Liaison"));
        Code_Erreur = Erreur::Ligne;
    });
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    // A new episode, which still belongs to the live screen and retries it.
    ASSERT_NE(Pb(), nullptr);
    EXPECT_EQ(Pb()->Timer_Alarme()->Interval(), 1000);  // a fresh form
    EXPECT_FALSE(Charge("Frm_Mesures"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_EQ(Pb()->Ecran_En_Erreur, QStringLiteral("Mesures"));
    EXPECT_EQ(Pb()->Compteur_Alarme, 0);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    Tenir_Minuterie();

    // The live screen opens the link-problem screen itself: one new episode, not two.
    Remplacer("Frm_Mesures", [] {
        Code_Erreur = Erreur::Ligne;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
    });
    const auto episodes = Trace().count(QStringLiteral("Accès écran Problèmes Liaison"));
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(Trace().count(QStringLiteral("Accès écran Problèmes Liaison")), episodes + 1);
    ASSERT_TRUE(Charge("Frm_Pb_Liaison"));
    EXPECT_EQ(Pb()->Ecran_En_Erreur, QStringLiteral("Mesures"));
    Tenir_Minuterie();

    // Once it loads, live supervision is back.
    Remplacer("Frm_Mesures");
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_FALSE(Charge("Frm_Pb_Liaison"));
    EXPECT_TRUE(Charge("Frm_Mesures"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
}

TEST_F(Pb_Liaison, PanneLongueDesMesuresReessayeeJusquAuRetourDuBus) {
    Frm_Menu1_Forme* t = Episode_Des_Mesures();
    ASSERT_NE(t, nullptr);
    // The bus still says nothing at the first two retries: the screen stays, and retries.
    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x1B, {}, sim::Defaut(sim::Defaut::Silence));
    bus.Effacer_Trames();
    for (int essai = 1; essai <= 2; ++essai) {
        SCOPED_TRACE(essai);
        for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
        EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
        EXPECT_FALSE(Charge("Frm_Mesures"));
        EXPECT_TRUE(Pb()->Timer_Alarme()->Enabled());
        EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    }
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 2 * 6);  // one search a retry

    // It answers again: at the next retry, the live screen with the modules that answer.
    bus.Effacer_Defauts();
    ostrel_test::Delais_Reels();
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_FALSE(Charge("Frm_Pb_Liaison"));
    EXPECT_TRUE(Charge("Frm_Mesures"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    ASSERT_EQ(t->Nb_Lbl_OC(), 2);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("MD1"));
    EXPECT_EQ(t->Caption_Lbl_OC(1), QStringLiteral("MD3"));
    EXPECT_EQ(Bandeau(), 0x00C0C0);
    EXPECT_TRUE(t->Lbl_Informations().isEmpty());  // no "Erreur avec un Module" left over the live screen
}

// Module 3 is watched when the bus dies, and the bus comes back without it:
// the live screen comes back on a module that answers, under the bar the
// search left, and module 3 is asked nothing more.
TEST_F(Pb_Liaison, LeModuleSuiviAQuitteLeBus) {
    Definir_Echelle_Temps(0.05);
    Frm_Menu1_Forme* t = Demarrer({1, 3, 7});
    ASSERT_NE(t, nullptr);
    ostrel_test::Delais_Mixtes();
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
    Num_Module = 3;
    Ouvrir(QStringLiteral("Mesures"), Erreur::Ligne);
    ASSERT_EQ(Pb()->Ecran_En_Erreur, QStringLiteral("Mesures"));
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules.erase(3); });
    bus.Effacer_Trames();
    const auto episodes = Trace().count(QStringLiteral("Accès écran Problèmes Liaison"));

    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    ASSERT_TRUE(Charge("Frm_Mesures"));
    EXPECT_FALSE(Charge("Frm_Pb_Liaison"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    EXPECT_EQ(Num_Module, 1);
    ASSERT_EQ(t->Nb_Lbl_OC(), 2);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("MD1"));
    EXPECT_EQ(t->Caption_Lbl_OC(1), QStringLiteral("MD7"));
    EXPECT_TRUE(t->Lbl_OC(0)->font().underline());
    auto* mesures = registre.Instance_De<Frm_Mesures_Forme>(QStringLiteral("Frm_Mesures"));
    for (int pas = 1; pas <= 4; ++pas) {
        ASSERT_TRUE(mesures->Tmr_Temps_Reel()->Declencher());
        Traiter_Evenements();
    }
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    EXPECT_EQ(Code_Erreur, 0);
    for (const sim::Trame_Journal& trame : bus.Trames_Recues()) EXPECT_FALSE(trame.octets.startsWith(char(3)));
    EXPECT_EQ(Trace().count(QStringLiteral("Accès écran Problèmes Liaison")), episodes);
}

// The bus comes back under a search that goes wrong: module 1 answers, but
// with a status word where its list should be (a reply meant for an earlier
// request); then the list comes but none of its modules answers. The live
// screen comes back only after a search that found a module answering, and
// the bar always shows what the last search found.
TEST_F(Pb_Liaison, RetourSeulementApresUneRechercheQuiTrouveUnModule) {
    Definir_Echelle_Temps(0.05);
    Frm_Menu1_Forme* t = Episode_Des_Mesures();
    ASSERT_NE(t, nullptr);
    bus.Programmer_Defauts(0x1B, {sim::Defaut(sim::Defaut::Donnees, 0, 0, QByteArray(2, '\0'))});
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(Charge("Frm_Mesures"));
    ASSERT_EQ(t->Nb_Lbl_OC(), 1);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    EXPECT_EQ(std::count(Tab_Fonctionnement_OC.begin(), Tab_Fonctionnement_OC.end(), En_Service), 0);

    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x07, {}, sim::Defaut(sim::Defaut::Silence));
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(Charge("Frm_Mesures"));
    EXPECT_TRUE(Pb()->Timer_Alarme()->Enabled());
    ASSERT_EQ(t->Nb_Lbl_OC(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(t->Lbl_OC(i)->property("BackColor").value<Couleur>(), Couleur_Rouge);

    bus.Effacer_Defauts();
    ostrel_test::Delais_Reels();
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    EXPECT_TRUE(Charge("Frm_Mesures"));
    ASSERT_EQ(t->Nb_Lbl_OC(), 2);
    EXPECT_EQ(t->Caption_Lbl_OC(1), QStringLiteral("MD3"));
    for (int i = 0; i < 2; ++i) EXPECT_EQ(t->Lbl_OC(i)->property("BackColor").value<Couleur>(), Couleur_Fenetre);
}

// Each retry searches the bus from the dashboard, which takes the focus for
// it: the screen shown has the keyboard again afterwards, so that Space and
// Enter still press its OK. On an episode of the live screen while no module
// answers, then on the journal with the bus answering from a wrong slave.
TEST_F(Pb_Liaison, LeClavierResteALEcranApresChaqueRecherche) {
    Frm_Menu1_Forme* t = Episode_Des_Mesures();
    ASSERT_NE(t, nullptr);
    QApplication::setActiveWindow(t);
    const auto appuyer = [this](Qt::Key touche) {
        QWidget* cible = QApplication::focusWidget();
        EXPECT_EQ(cible, Controle("Frm_Pb_Liaison", "Cmd_OK"));
        if (cible) QTest::keyClick(cible, touche);
        Traiter_Evenements();
    };
    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x1B, {}, sim::Defaut(sim::Defaut::Silence));
    bus.Effacer_Trames();
    for (int essai = 1; essai <= 2; ++essai)
        for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 2 * 6);
    ASSERT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    appuyer(Qt::Key_Space);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));

    Liaison_Ecran(Ecran_Courant, QStringLiteral("Consultation"), Faux);
    bus.Programmer_Defauts(0x1B, {}, sim::Defaut(sim::Defaut::Autre_Esclave));
    Ouvrir(QStringLiteral("Journal des alarmes"), Erreur::Esclave);
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    ASSERT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    appuyer(Qt::Key_Return);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
}

// The retries run on their own: while another program has the keyboard, a
// search leaves it there; while Ostrel has it, the dashboard takes it.
TEST_F(Pb_Liaison, LaRechercheNePrendLeClavierQuAOstrel) {
    Frm_Menu1_Forme* t = Demarrer({1});
    ASSERT_NE(t, nullptr);
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
    Ouvrir(QStringLiteral("Journal des alarmes"), Erreur::Ligne);
    bus.Effacer_Trames();
    const auto recherche = [this] {
        for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    };

    QWindow autre_programme;  // a window that is none of Ostrel's
    autre_programme.show();
    autre_programme.requestActivate();
    Traiter_Evenements();
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    recherche();
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 1);
    EXPECT_EQ(QGuiApplication::focusWindow(), &autre_programme);
    EXPECT_EQ(QApplication::activeWindow(), nullptr);

    QWidget fenetre_ostrel;
    fenetre_ostrel.show();
    fenetre_ostrel.activateWindow();
    Traiter_Evenements();
    ASSERT_EQ(QApplication::activeWindow(), &fenetre_ostrel);
    recherche();
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 2);
    EXPECT_EQ(QApplication::activeWindow(), t);
    EXPECT_EQ(QApplication::focusWidget(), Controle("Frm_Pb_Liaison", "Cmd_OK"));
}

// The retry that finds the bus reloads the live screen, whose progress
// bar would bring the dashboard in front: while another program has the
// keyboard, Ostrel's window stays behind it; once the operator is back in
// Ostrel, the bar brings it in front as before.
TEST_F(Pb_Liaison, LeRetourAuxMesuresResteDerriereLeProgrammeUtilise) {
    Definir_Echelle_Temps(0.05);
    Frm_Menu1_Forme* t = Demarrer({1});
    ASSERT_NE(t, nullptr);
    ostrel_test::Delais_Mixtes();
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
    Ouvrir(QStringLiteral("Mesures"), Erreur::Ligne);
    ASSERT_EQ(Pb()->Ecran_En_Erreur, QStringLiteral("Mesures"));
    // The dashboard's window raised.
    ostrel_test::Compteur_Evenements montees(t, QEvent::ZOrderChange);

    QWindow autre_programme;
    autre_programme.show();
    autre_programme.requestActivate();
    Traiter_Evenements();
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    ASSERT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    EXPECT_EQ(montees.n, 0);
    EXPECT_EQ(QGuiApplication::focusWindow(), &autre_programme);

    t->activateWindow();
    Traiter_Evenements();
    ASSERT_EQ(QApplication::activeWindow(), t);
    t->Affiche_Progress_Bar(true);
    t->Affiche_Progress_Bar(false);
    EXPECT_EQ(montees.n, 1);
}

TEST_F(Pb_Liaison, AdaptateurDebrancheRetrouveParLaRecherche) {
    Frm_Menu1_Forme* t = Demarrer({1});
    ASSERT_NE(t, nullptr);
    // Port 1 under a name that stays, as the system names a USB adapter
    // whatever node it gets.
    const QString lien = disque.filePath("adaptateur_rs485");
    const auto brancher = [&] { return QFile::remove(lien), QFile::link(bus.Chemin(), lien); };
    ASSERT_TRUE(brancher());
    qputenv("OSTREL_COM1", QFile::encodeName(lien));
    Ecran_Communication().Ostrel.PortOpen(false);
    Ecran_Communication().ouverture_port(1);
    ASSERT_EQ(Code_Erreur, 0);
    Remplacer("Frm_Mesures");
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);

    // Unplugged: its device is gone, and the live screen's next request fails.
    bus.Arreter();
    QFile::remove(lien);
    Lecture_Etat_Module(1);
    ASSERT_EQ(Code_Erreur, Erreur::Port);
    Ouvrir(QStringLiteral("Mesures"), Erreur::Port);
    for (int essai = 1; essai <= 2; ++essai) {
        SCOPED_TRACE(essai);
        for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
        EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
        EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    }
    EXPECT_TRUE(boites.Messages.empty());  // the retries wait for no one

    // Plugged back: a new device under the same name, found by the next retry.
    ASSERT_TRUE(bus.Demarrer());
    ASSERT_TRUE(brancher());
    for (int tic = 1; tic <= 11; ++tic) ASSERT_TRUE(Tic());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    EXPECT_TRUE(Charge("Frm_Mesures"));
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("MD1"));
    EXPECT_TRUE(Ecran_Communication().Ostrel.PortOpen());
}

TEST_F(Pb_Liaison, BandeauDejaRougeNiClignotementNiBip) {
    ASSERT_NE(Demarrer(), nullptr);
    Couleur_Fond_Bandeau = Couleur_Rouge;
    Ouvrir(QStringLiteral("Consultation"), Erreur::Ligne);
    for (int tic = 1; tic <= 4; ++tic) {
        ASSERT_TRUE(Tic());
        EXPECT_EQ(Bandeau(), Couleur_Rouge);
    }
    EXPECT_EQ(boites.Bips, 0);
}

TEST_F(Pb_Liaison, TitreDejaProblemesLiaisonNeRetournePas) {
    ASSERT_NE(Demarrer(), nullptr);
    Ouvrir(QStringLiteral("Consultation"), Erreur::Ligne);
    // Opened again over itself: the screen that failed is not known any more.
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
    ASSERT_NE(Pb(), nullptr);
    EXPECT_TRUE(Pb()->Ecran_En_Erreur.isEmpty());
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Problèmes Liaison"));
}
