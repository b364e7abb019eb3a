// The recordings viewer on the full recordings memory: 516,098 points over
// 16 channels. Prints the time of the opening (every curve fed), of ticking
// the 16 channels, of drawing the whole range, a zoom, a pan and a narrow
// zoom, of stepping the cursor, and of filling the numeric table of one
// channel. Runs offscreen: bench_visionneuse [width height]
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <cmath>
#include <cstdio>

#include "history/formes_historique.h"
#include "history/frm_enreg.h"
#include "history/graphe_enreg.h"
#include "history/partage_enregistrements.h"
#include "link/donnees.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/ui/registre_formes.h"
#include "platform/ui/touches.h"

using namespace ostrel;

namespace {

double Ms(QElapsedTimer& t) {
    const double ms = t.nsecsElapsed() / 1e6;
    t.restart();
    return ms;
}

// One paint of the graph into a picture of its size, as the screen does it.
double Dessin(Graphe_Enreg* g) {
    QImage image(g->size(), QImage::Format_RGB32);
    QElapsedTimer t;
    t.start();
    {
        QPainter p(&image);
        g->render(&p);
    }
    return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int largeur = argc > 2 ? std::atoi(argv[1]) : 1280;
    const int hauteur = argc > 2 ? std::atoi(argv[2]) : 840;

    Reinitialiser_Donnees();
    Boites_Scriptees boites;
    Definir_Boites(&boites);
    Var_Left_Fille = 0;
    Var_Top_Fille = 0;
    Var_Width_Fille = largeur * 15.0;
    Var_Height_Fille = hauteur * 15.0;
    Taille_Police_Petite = 12;
    Taille_Police_Moyenne = 14;
    Police_Options = QStringLiteral("Arial");
    Couleur_Fenetre = 0x808000;
    Couleur_Police = 0xFFFFFF;
    for (int i = 0; i < 16; ++i) Tab_Couleur_Courbe[static_cast<size_t>(i)] = 0x00FFFF ^ (i * 0x0F0F10);

    // The full memory, channel after channel, a point a minute.
    const int voies = 16;
    const Long total = Table_Mesures::Taille;
    const Date debut = DateSerial(2026, 1, 1);
    Num_Module = 1;
    Nb_Voies_Module[0] = voies;
    Index_Fin_Voie.assign(voies, 0);
    Long i = 0;
    for (int v = 0; v < voies; ++v) {
        const Long fin = total * (v + 1) / voies;
        for (Long k = 0; i < fin; ++i, ++k) {
            Mesure_Enreg& m = Tab_Mesures[i];
            m.Date_Heure = debut + k / 1440.0;
            m.Valeur = static_cast<Simple>(10 * v + 5 * std::sin(k / 700.0) + (k % 37) / 20.0);
            m.Num_Voie = static_cast<Octet>(v + 1);
            m.Nom_Voie = QStringLiteral("Voie %1").arg(v + 1).leftJustified(12);
        }
        Index_Fin_Voie[static_cast<size_t>(v)] = fin;
        Tab_Parametres_Voies[static_cast<size_t>(v)].Seuil_Haut = 10.0f * v + 6;
        Tab_Parametres_Voies[static_cast<size_t>(v)].Seuil_Bas = 10.0f * v - 6;
    }
    Donnees_Reponse.Date_Debut = debut;
    Donnees_Reponse.Date_Fin = debut + (total / voies) / 1440.0;
    Donnees_Reponse.Entete_Module = QStringLiteral("BANC D'ESSAI");
    Donnees_Fichier = Vrai;

    Registre_Formes registre;
    Enregistrer_Formes_Historique(registre);
    Definir_Formes(&registre);

    QElapsedTimer t;
    t.start();
    registre.Charger(QStringLiteral("Frm_Enreg"));
    auto* v = registre.Instance_De<Frm_Enreg_Forme>(QStringLiteral("Frm_Enreg"));
    if (!v) return 1;
    v->resize(largeur, hauteur);
    v->show();
    QApplication::processEvents();
    const double ouverture = Ms(t);
    Graphe_Enreg* g = v->CWGraph_Enreg;
    long long points = 0;
    for (int k = 1; k <= 16; ++k) points += g->Nb_Points(k);

    for (QCheckBox* c : v->Check_Voie) c->setChecked(true);
    const double cocher = Ms(t);
    const QSize taille_graphe = g->size();
    const double dessin_tout = Dessin(g);
    const long long sommets = g->Sommets_Dessines();

    // The operator zooms on a tenth of the range, pans by half a screen, then looks at two hours.
    const double x0 = g->Minimum(1), x1 = g->Maximum(1);
    t.restart();
    g->Zoomer_Rectangle(QRectF(QPointF(g->X_Pixel(x0 + (x1 - x0) * 0.45), g->Zone_Trace().top()),
                               QPointF(g->X_Pixel(x0 + (x1 - x0) * 0.55), g->Zone_Trace().bottom())));
    const double zoom = Ms(t);
    const double dessin_zoom = Dessin(g);
    t.restart();
    g->Deplacer(QPointF(-g->Zone_Trace().width() / 2, 0));
    const double deplacement = Ms(t);
    const double dessin_deplacement = Dessin(g);
    g->Definir_Plage(1, x0 + 10, x0 + 10 + 2.0 / 24);
    const double dessin_etroit = Dessin(g);

    // The cursor stepped a hundred times along a curve.
    for (int k = 1; k <= 15; ++k) v->Check_Voie[static_cast<size_t>(k)]->setChecked(false);
    v->Check_Option_Curseur->setChecked(true);
    t.restart();
    for (int k = 0; k < 100; ++k) {
        int touche = Touche::Droite;
        v->Form_KeyUp(touche, 0);
    }
    const double curseur = Ms(t) / 100;

    // The numeric table of one channel over its whole slice (the list's limit stops it).
    v->Cmd_Zoom_Initial_Click();
    t.restart();
    v->Chk_Tableau->setChecked(true);
    const double tableau = Ms(t);

    std::printf("Visionneuse : %lld points sur %d voies, graphe %dx%d\n", points, voies, taille_graphe.width(),
                taille_graphe.height());
    std::printf("  ouverture (chargement des 16 courbes) : %8.1f ms\n", ouverture);
    std::printf("  cocher les 16 voies (axes recalés)    : %8.1f ms\n", cocher);
    std::printf("  dessin de toute la plage              : %8.1f ms (%lld sommets tracés)\n", dessin_tout, sommets);
    std::printf("  zoom sur un dixième                   : %8.1f ms, dessin %6.1f ms\n", zoom, dessin_zoom);
    std::printf("  déplacement d'un demi-écran           : %8.1f ms, dessin %6.1f ms\n", deplacement, dessin_deplacement);
    std::printf("  dessin de deux heures                 : %8.1f ms\n", dessin_etroit);
    std::printf("  pas du curseur (flèche)               : %8.3f ms\n", curseur);
    std::printf("  tableau numérique d'une voie          : %8.1f ms (%d lignes)\n", tableau, v->List_Numerique->count());
    std::printf("  messages : %zu\n", boites.Messages.size());

    registre.Decharger(QStringLiteral("Frm_Enreg"));
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    return 0;
}
