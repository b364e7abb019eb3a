#pragma once
// The program's dashboard started on a simulated bus (or with no module),
// with scripted boxes and the recording printer, and the channel settings
// screen opened through the navigator, for tests that drive it by the names
// of its controls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

#include "commun/programme_essai.h"
#include "config/boite_numerique.h"
#include "config/formes_configuration.h"
#include "config/frm_etalonnage.h"
#include "config/frm_param_voies.h"
#include "config/parametres_voies.h"
#include "files/config_voies.h"
#include "files/options_logiciel.h"
#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/imprimante.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "sim/simulateur.h"
#include "voies/reglages_sim.h"

namespace ostrel_test {

using namespace ostrel;

inline const QString Question_8_16 = QStringLiteral(
    "Le module n'est pas connecté! Voulez vous paramétrer un module 8 voies (oui) ou un module 16 voies (non) ?");
inline const QString Question_Quitter = QStringLiteral("Voulez vous quitter l'écran de paramétrage des voies ?");

// Answers the connection question as told and the 8/16 question as told;
// every other box takes the queue, then its first button.
class Boites_Banc : public Boites_Programme {
public:
    int huit_voies = vbYes;
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        if (texte == Question_8_16) Reponses.push_front(huit_voies);
        return Boites_Programme::MsgBox(texte, style, titre);
    }
};

class Banc_Voies : public ::testing::Test, protected Programme_Essai<Boites_Banc> {
protected:
    void SetUp() override {
        Application();
        ASSERT_TRUE(disque.isValid());
        Installer({Enregistrer_Formes_Configuration});
        Ligne_Reservee_Options.clear();
        Definir_Echelle_Temps(0.02);
    }

    void TearDown() override {
        for (const QString& forme : {QStringLiteral("Frm_Etalonnage"), QStringLiteral("Frm_Param_Voies")})
            registre.Decharger(forme);
        Arreter();
    }

    // A bus of modules at these addresses, each with n channels (default contents).
    void Bus(const std::vector<int>& adresses, int nb_voies) {
        bus.Configurer(adresses, nb_voies);
        ASSERT_TRUE(Demarrer_Bus());
    }
    void Voie_Module(int module, int voie, const Parametres_Voie& v, const QByteArray& nom = {}, Entier offset = 0) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) {
            sim::Voie_Simulee& s = e.modules[module].voies[static_cast<size_t>(voie - 1)];
            s.reglages = Reglages(v);
            if (!nom.isEmpty()) s.nom = nom.leftJustified(12, ' ', true);
            s.correction = offset;
            return 0;
        });
    }

    // The dashboard started, the connection question answered.
    Frm_Menu1_Forme* Demarrer(int connexion) {
        Frm_Menu1_Forme* t = Demarrer_Tableau(connexion);
        boites.Effacer();
        return t;
    }

    // The screen opened from the configuration menu, as the program does it.
    Frm_Param_Voies_Forme* Ouvrir() {
        Ecran_Courant = QStringLiteral("Configuration");
        Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages des voies"), Faux);
        Traiter_Evenements();
        return Ecran();
    }
    // Started with no module and the screen opened with 8 (Yes) or 16 (No) channels.
    Frm_Param_Voies_Forme* Ouvrir_Sans_Module(int huit = vbNo) {
        Demarrer(vbNo);
        boites.huit_voies = huit;
        return Ouvrir();
    }

    Frm_Param_Voies_Forme* Ecran() const { return registre.Instance_De<Frm_Param_Voies_Forme>("Frm_Param_Voies"); }
    Frm_Etalonnage_Forme* Dialogue() const { return registre.Instance_De<Frm_Etalonnage_Forme>("Frm_Etalonnage"); }

    template <class T = QWidget> T* C(const char* nom) const {
        Forme* f = Ecran();
        T* w = f ? f->findChild<T*>(QString::fromLatin1(nom)) : nullptr;
        EXPECT_NE(w, nullptr) << nom;
        return w;
    }
    template <class T = QWidget> T* D(const char* nom) const {
        Forme* f = Dialogue();
        T* w = f ? f->findChild<T*>(QString::fromLatin1(nom)) : nullptr;
        EXPECT_NE(w, nullptr) << nom;
        return w;
    }
    // A click as the operator makes it.
    void Cliquer(const char* nom) { C<QAbstractButton>(nom)->click(); }
    // An entry picked in a list by the operator.
    void Choisir(const char* nom, int index) {
        auto* l = C<QComboBox>(nom);
        l->setCurrentIndex(index);
        emit l->activated(index);
    }
    bool Coche(const char* nom) { return C<QAbstractButton>(nom)->isChecked(); }
    bool Montre(const char* nom) { return C(nom)->isVisibleTo(Ecran()); }
    bool Actif(const char* nom) { return C(nom)->isEnabledTo(Ecran()); }
    QStringList Entrees(const char* nom) {
        QStringList e;
        auto* l = C<QComboBox>(nom);
        for (int i = 0; i < l->count(); ++i) e << l->itemText(i);
        return e;
    }
    static Parametres_Voie& V(int voie) { return Tab_Parametres_Voies[static_cast<size_t>(voie - 1)]; }

    QStringList Trace() const {
        return Depuis_Cp1252(disque.Lire("Windows/setupm.snf")).split("\r\n", Qt::SkipEmptyParts);
    }
};

}  // namespace ostrel_test
