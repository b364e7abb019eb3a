// Pictures of the recordings menu and of the viewer, as the program shows
// them on the simulated bus at 1280 x 1024, to look at:
//   capture_enregistrements <folder>
// Writes menu_enregistrements.png, visionneuse_seuils.png (one curve, its
// thresholds and the cursor), visionneuse_courbes.png (several curves),
// visionneuse_tableau.png (the numeric table) and impression_courbes.png
// (the page of the same-page curve printout).
#include <QCheckBox>
#include <QDir>
#include <QRadioButton>
#include <cmath>

#include "commun/capture_programme.h"
#include "history/frm_enreg.h"
#include "history/frm_menu_enreg.h"
#include "history/graphe_enreg.h"
#include "link/donnees.h"
#include "link/liaison_ecran.h"
#include "platform/ui/minuterie.h"

namespace {

using namespace ostrel;
using ostrel_test::Attendre;

// No to saving the data read, the first button elsewhere.
class Boites_Capture : public ostrel_test::Boites_Capture {
public:
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        if (texte.startsWith(QStringLiteral("Voulez vous enregistrer"))) Reponses.push_front(vbNo);
        return ostrel_test::Boites_Capture::MsgBox(texte, style, titre);
    }
};

// Two days of a channel every quarter of an hour, around a mean, with a daily swing.
std::vector<sim::Point_Enregistre> Courbe(const sim::Horodatage& debut, double moyenne, double ampleur, double phase) {
    std::vector<sim::Point_Enregistre> points;
    for (int k = 0; k < 192; ++k) {
        sim::Point_Enregistre p;
        p.quand = debut.Plus_Minutes(15 * k);
        const double v = moyenne + ampleur * std::sin(k * 2 * M_PI / 96 + phase) + 0.3 * std::sin(k * 0.9);
        p.valeur = static_cast<Entier>(std::lround(v * 10));
        points.push_back(p);
    }
    return points;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ostrel_test::Arguments_Suffisants(argc, 1, "capture_enregistrements dossier")) return 2;
    ostrel_test::Capture_Programme<Boites_Capture> programme(argc, argv);
    Boites_Capture& boites = programme.boites;
    const QDir sortie(QString::fromLocal8Bit(argv[1]));

    sim::Simulateur& bus = programme.bus;
    bus.Etat_Demonstration({1, 2, 3});
    const QDateTime depart = QDateTime::currentDateTime().addDays(-2);
    const sim::Horodatage h0{depart.date().year(), depart.date().month(), depart.date().day(), 0, 0};
    bus.Avec_Etat([&](sim::Etat_Bus& e) {
        auto& v = e.modules[2].voies;
        v[0].enregistrements = Courbe(h0, 4, 1.8, 0);
        v[0].reglages[2] = 0x00, v[0].reglages[3] = 0x50;  // 8.0
        v[0].reglages[4] = 0x00, v[0].reglages[5] = 0x14;  // 2.0
        for (size_t k = 60; k < 68; ++k) v[0].enregistrements[k].valeur = static_cast<Entier>(85 + k - 60), v[0].enregistrements[k].alarme = true;
        v[1].enregistrements = Courbe(h0, 6, 1.2, 1);
        v[2].enregistrements = Courbe(h0, -18, 1.5, 2);
        v[3].enregistrements = Courbe(h0, 12, 3, 3);
        v[4].enregistrements = Courbe(h0, 19, 2, 0.5);
    });
    if (!programme.Demarrer_Bus()) return 1;
    if (!programme.Demarrer(1280, 1024)) return 1;
    Registre_Formes& registre = programme.registre;
    // The curve colours an options file would hold.
    const Couleur couleurs[16] = {0x00FFFF, 0x00A5FF, 0xFFFF00, 0x7FFF00, 0xFF80FF, 0x0000FF, 0xFFFFFF, 0x80FF80,
                                  0xFF8080, 0x8080FF, 0x00D7FF, 0xC0C0C0, 0x40FF40, 0xFF40FF, 0x4080FF, 0xFFC040};
    for (int i = 0; i < 16; ++i) Tab_Couleur_Courbe[static_cast<size_t>(i)] = couleurs[i];

    auto enregistrer = [&](const char* nom) {
        Attendre(150);
        programme.Photo(sortie.filePath(QString::fromLatin1(nom)));
    };

    Num_Module = 2;
    Liaison_Ecran(QStringLiteral("Consultation"), QStringLiteral("Menu Enregistrements"), Faux);
    auto* menu = registre.Instance_De<Frm_Menu_Enreg_Forme>(QStringLiteral("Frm_Menu_Enreg"));
    if (!menu) return 1;
    menu->Opt_Lecture_OC->setChecked(true);
    enregistrer("menu_enregistrements.png");

    menu->Opt_All_Enreg->setChecked(true);
    menu->Cmd_OK_Click();
    menu->Timer1->Declencher();
    Attendre(50);
    auto* v = registre.Instance_De<Frm_Enreg_Forme>(QStringLiteral("Frm_Enreg"));
    if (!v) return 1;
    v->Check_Voie[0]->setChecked(true);
    v->Check_Option_Seuil->setChecked(true);
    v->Check_Option_Curseur->setChecked(true);
    v->CWGraph_Enreg_Clic_Graphe(v->CWGraph_Enreg->Minimum(1) + (v->CWGraph_Enreg->Maximum(1) - v->CWGraph_Enreg->Minimum(1)) * 0.33);
    enregistrer("visionneuse_seuils.png");

    for (int i : {2, 3, 4}) v->Check_Voie[static_cast<size_t>(i)]->setChecked(true);
    v->Check_Option_Curseur->setChecked(true);
    v->CWGraph_Enreg_Clic_Graphe(v->CWGraph_Enreg->Minimum(1) + (v->CWGraph_Enreg->Maximum(1) - v->CWGraph_Enreg->Minimum(1)) * 0.6);
    enregistrer("visionneuse_courbes.png");

    boites.Reponses = {vbYes};
    v->Cmd_Imprimer_Click();
    if (!programme.imprimante.Images.empty())
        ostrel_test::Enregistrer_Image(programme.imprimante.Images.back().Image,
                                       sortie.filePath(QStringLiteral("impression_courbes.png")));

    for (int i : {2, 3, 4}) v->Check_Voie[static_cast<size_t>(i)]->setChecked(false);
    v->Chk_Tableau->setChecked(true);
    enregistrer("visionneuse_tableau.png");

    return 0;
}
