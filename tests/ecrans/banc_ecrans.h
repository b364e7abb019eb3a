#pragma once
// The whole program offscreen over the simulated bus (modules 1, 3 and 7, the
// bridge on 1), and the walk through every screen the operator reaches, in the
// state that shows most of its captions.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <functional>

#include "commun/programme_essai.h"
#include "config/formes_configuration.h"
#include "history/formes_historique.h"
#include "history/frm_menu_enreg.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "options/formes_options.h"
#include "shell/frm_mesures.h"

namespace ostrel_test {

class Banc_Ecrans : public ::testing::Test, protected Programme_Essai<> {
protected:
    void SetUp() override {
        Application();
        ostrel::Configurer_Application();
        ASSERT_TRUE(disque.isValid());
        Installer({ostrel::Enregistrer_Formes_Historique, ostrel::Enregistrer_Formes_Configuration,
                   ostrel::Enregistrer_Formes_Options});
        // Sixteen channels each: the most tabs and rows a screen shows.
        bus.Etat_Demonstration({1, 3, 7}, 16);
        // A header as a site types it: capitals on both lines, the second one long.
        bus.Avec_Etat([](ostrel::sim::Etat_Bus& e) {
            e.modules[1].entete = QByteArray("ENTREPOTS FRIGORIFIQUES DU NORD ") +
                                  QByteArray("SITE DE DEMONSTRATION - BAT. C12");
            return 0;
        });
        ASSERT_TRUE(Demarrer_Bus());
        ostrel::Definir_Echelle_Temps(0.001);
    }
    void TearDown() override { Arreter(); }

    // The dashboard started at this size, the connection question answered Yes.
    void Demarrer(QSize taille) {
        ASSERT_NE(Demarrer_Tableau(ostrel::vbYes, taille), nullptr);
        boites.Effacer();
        // The home screen shows: its buttons leave it as "Accueil".
        ostrel::Ecran_Courant = QStringLiteral("Accueil");
    }

    // The font and colours in force changed, as the options screen applies them.
    void Appliquer_Options() { Tableau()->MAJ_Couleur_Menu1(); }

    // Each screen opened in turn from the one shown, and handed to `voir`
    // with its name; the dashboard itself comes first.
    void Parcourir(const std::function<void(const QString&, ostrel::Forme*)>& voir) {
        using namespace ostrel;
        auto montrer = [&](const QString& ecran, const char* forme) {
            Traiter_Evenements();
            Forme* f = registre.Instance(QString::fromLatin1(forme));
            ASSERT_NE(f, nullptr) << ecran.toStdString();
            SCOPED_TRACE(ecran.toStdString());
            voir(ecran, f);
        };
        auto aller = [&](const QString& ecran, const char* forme) {
            Liaison_Ecran(Ecran_Courant, ecran, Faux);
            montrer(ecran, forme);
        };
        montrer(QStringLiteral("Menu1"), "Frm_Menu1");
        aller(QStringLiteral("Consultation"), "Frm_Menu_Consultation");
        Num_Module = 1;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Mesures"), Faux);
        // The live screen after a few sweeps, alarm states shown.
        if (auto* mesures = registre.Instance_De<Frm_Mesures_Forme>(QStringLiteral("Frm_Mesures")))
            for (int i = 0; i < 20; ++i) mesures->Tmr_Temps_Reel()->Declencher();
        montrer(QStringLiteral("Mesures"), "Frm_Mesures");
        aller(QStringLiteral("Journal des alarmes"), "frm_Journal_Alarme");
        if (Forme* journal = registre.Instance(QStringLiteral("frm_Journal_Alarme"))) {
            journal->Executer(QStringLiteral("Cmd_OK_Click"));
            montrer(QStringLiteral("Journal des alarmes"), "frm_Journal_Alarme");
        }
        aller(QStringLiteral("Purger"), "Frm_Purger");
        Liaison_Ecran(QStringLiteral("PurgerNON"), QStringLiteral("Journal des alarmes"), Vrai);
        aller(QStringLiteral("Menu Enregistrements"), "Frm_Menu_Enreg");
        // The viewer on the recordings of module 1, not saved to a file.
        if (auto* menu = registre.Instance_De<Frm_Menu_Enreg_Forme>(QStringLiteral("Frm_Menu_Enreg"))) {
            menu->Opt_All_Enreg->setChecked(true);
            boites.Reponses = {vbNo};
            menu->Cmd_OK_Click();
            if (menu->Timer1->Enabled()) menu->Timer1->Declencher();
            // Every channel ticked: their names in bold.
            if (Forme* vue = registre.Instance(QStringLiteral("Frm_Enreg")))
                for (QCheckBox* c : vue->findChildren<QCheckBox*>(QStringLiteral("Check_Voie")))
                    if (c->isEnabled()) c->setChecked(true);
            montrer(QStringLiteral("Enregistrements"), "Frm_Enreg");
        }
        aller(QStringLiteral("Configuration"), "Frm_Menu_Config");
        aller(QStringLiteral("Réglages des voies"), "Frm_Param_Voies");
        aller(QStringLiteral("Réglages Module"), "Frm_Param_OC");
        aller(QStringLiteral("Réglages Netrove"), "Frm_Param_Periph");
        aller(QStringLiteral("Options Logicielles"), "Frm_Options_Logicielles");
        aller(QStringLiteral("Mot de passe"), "Frm_Psw");
        aller(QStringLiteral("Accueil"), "Frm_Accueil");
        Code_Erreur = Erreur::Ligne;
        aller(QStringLiteral("Problèmes Liaison"), "Frm_Pb_Liaison");
        Code_Erreur = 0;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux);
        Traiter_Evenements();
    }
};

}  // namespace ostrel_test
