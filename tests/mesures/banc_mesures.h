#pragma once
// The live screen on the demonstration bus: module 1 of 8 channels, modules
// 2 and 3 of 16, some channels in alarm, one contact input per module, a
// sensor fault on channel 12 of the 16-channel modules. The program's forms
// are registered, with plain forms in place of the consultation menu and the
// link-problem screen, so that a test sees where the screen hands over and
// nothing else runs. Boxes are scripted and the printer records.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "commun/application_test.h"
#include "files/impression.h"
#include "link/donnees.h"
#include "link/formes.h"
#include "link/liaison_ecran.h"
#include "liaison/outils_test.h"
#include "platform/dates.h"
#include "platform/formats.h"
#include "platform/dialogues.h"
#include "platform/imprimante.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/registre_formes.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_mesures.h"

namespace ostrel::test {

// A dashboard that keeps the history of its progress display.
class Tableau_Historique : public Tableau_Bord {
public:
    std::vector<QString> captions;
    std::vector<bool> affichages;
    int focus = 0;
    void Caption_Pb(const QString& texte) override {
        Tableau_Bord::Caption_Pb(texte);
        captions.push_back(texte);
    }
    QString Caption_Pb() const override { return Tableau_Bord::Caption_Pb(); }
    void Affiche_Progress_Bar(bool afficher) override {
        Tableau_Bord::Affiche_Progress_Bar(afficher);
        affichages.push_back(afficher);
    }
    void Focus() override {
        ++focus;
        if (widget) widget->setFocus(Qt::OtherFocusReason);
    }
    QWidget* widget = nullptr;  // the dashboard's window, when a test gives one
};

// One request as the bus saw it: code and count field (channel, index) or
// command value.
struct Requete_Vue {
    int code;
    int valeur;
    bool operator==(const Requete_Vue&) const = default;
};
inline void PrintTo(const Requete_Vue& r, std::ostream* os) { *os << "{0x" << std::hex << r.code << std::dec << ", " << r.valeur << "}"; }

class Banc_Mesures : public Banc_Bus {
protected:
    void SetUp() override {
        ostrel_test::Application();
        Banc_Bus::SetUp();
        bus.Etat_Demonstration({1, 2, 3});
        Definir_Tableau_Bord(&historique);
        Definir_Boites(&boites);
        Definir_Imprimante(&imprimante);
        Definir_Horloge_Murale([] { return DateSerial(2027, 3, 7) + TimeSerial(9, 5, 3); });
        Enregistrer_Formes(registre);
        for (const char* forme : {"Frm_Pb_Liaison", "Frm_Menu_Consultation"}) {
            const QString nom = QString::fromLatin1(forme);
            registre.Enregistrer(nom, [nom] { return new Forme(nom); });
        }
        Definir_Formes(&registre);
        Minuterie::Ticks_A_La_Main(true);  // the sweep and the blinking move when the test says
        Police_Options = QStringLiteral("Arial");
        Taille_Police_Moyenne = 12;
        Couleur_Police = 0xFFFFFF;
        Couleur_Cadre = 0xDDDDDD;
        Couleur_Police_Modules = 0xFFFFFF;
        Var_Left_Fille = 0;
        Var_Top_Fille = 0;
        Var_Width_Fille = 19200;
        Var_Height_Fille = 12600;
        Nom_Installation = QStringLiteral("Entrepôt frigorifique");
        for (int m = 0; m < 3; ++m)
            Tab_Parametres_Modules[static_cast<size_t>(m)].Entete = QStringLiteral("Chambres froides site %1").arg(m + 1);
        Ecran_Courant = QStringLiteral("Consultation");
    }

    void TearDown() override {
        for (Forme* f : registre.Chargees()) registre.Decharger(f->objectName());
        ostrel_test::Traiter_Evenements();
        Definir_Formes(nullptr);
        Minuterie::Ticks_A_La_Main(false);
        Definir_Imprimante(nullptr);
        Definir_Boites(nullptr);
        Definir_Horloge_Murale(nullptr);
        Banc_Bus::TearDown();
    }

    // Opens "Mesures" for a module as the consultation menu does.
    Frm_Mesures_Forme* Ouvrir(Octet module) {
        Code_Erreur = 0;
        Num_Module = module;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Mesures"), Faux);
        return Ecran();
    }
    Frm_Mesures_Forme* Ecran() const { return registre.Instance_De<Frm_Mesures_Forme>(QStringLiteral("Frm_Mesures")); }

    // n sweep ticks, fired by hand; stops when the screen is gone.
    void Balayer(int n) {
        for (int i = 0; i < n && Ecran(); ++i) Ecran()->Tmr_Temps_Reel()->Declencher();
    }

    // Requests received since the last Oublier(), in order.
    std::vector<Requete_Vue> Requetes() const {
        std::vector<Requete_Vue> r;
        for (const auto& t : bus.Trames_Recues()) {
            const QByteArray& o = t.octets;
            if (o.size() < 6) continue;
            r.push_back({static_cast<Octet>(o[3]), (static_cast<Octet>(o[4]) << 8) | static_cast<Octet>(o[5])});
        }
        return r;
    }
    std::vector<Requete_Vue> Requetes(int code) const {
        std::vector<Requete_Vue> r;
        for (const Requete_Vue& q : Requetes())
            if (q.code == code) r.push_back(q);
        return r;
    }
    void Oublier() { bus.Effacer_Trames(); }

    template <class F> void Modifier_Voie(int module, int voie, F f) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) {
            f(e.modules[module].voies[static_cast<size_t>(voie - 1)]);
            return 0;
        });
    }
    // Faults of one request code for n attempts in a row, after `avant` good ones.
    void Echec(int code, int avant, int n, sim::Defaut defaut = sim::Defaut(sim::Defaut::Exception, 4)) {
        std::vector<sim::Defaut> s(static_cast<size_t>(avant));
        s.insert(s.end(), static_cast<size_t>(n), defaut);
        bus.Programmer_Defauts(code, s);
    }

    QStringList Lignes_Trace() const { return Trace().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts); }

    Tableau_Historique historique;
    Boites_Scriptees boites;
    Imprimante_Enregistreuse imprimante;
    Registre_Formes registre;
};

}  // namespace ostrel::test
