// The recordings viewer on the full recordings memory: 516,098 points over
// 16 channels, in a file. The program runs offscreen at the size given, its
// dashboard shown. Timed as the operator waits, up to the screen painted:
// - the opening: from the recordings menu's OK, its file dialog answered,
//   through the load, the menu's timer and the viewer's opening, to the graph
//   painted;
// - the numeric table of one channel: from the click on the table box to the
//   list painted.
// Both are run several times (the median is printed). Then, on the viewer
// left open: ticking the 16 channels, drawing the whole range, a zoom, a pan,
// a narrow zoom, and stepping the cursor.
//   bench_visionneuse [width height [runs]]
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "commun/programme_essai.h"
#include "history/formes_historique.h"
#include "history/frm_enreg.h"
#include "history/frm_menu_enreg.h"
#include "history/graphe_enreg.h"
#include "history/liste_numerique.h"
#include "link/liaison_ecran.h"
#include "memoire_pleine.h"
#include "platform/fichiers.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/touches.h"
#include "shell/ecrans_programme.h"

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

// Watches the paints of a widget known by its name (or of its viewport) and
// runs the event loop until that widget has been painted and nothing more
// was painted for a while: the time, from the start given, at which its last
// paint was over.
class Guet_Peinture : public QObject {
public:
    explicit Guet_Peinture(const char* nom) : nom_(QString::fromLatin1(nom)) { qApp->installEventFilter(this); }
    ~Guet_Peinture() override { qApp->removeEventFilter(this); }

    double Attendre(const QElapsedTimer& depuis, int calme_ms = 300) {
        depuis_ = &depuis;
        fin_ = -1;
        QElapsedTimer garde;
        garde.start();
        while (garde.elapsed() < 20000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            if (fin_ >= 0 && depuis.nsecsElapsed() / 1e6 - fin_ > calme_ms) break;
        }
        return fin_;
    }

    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && depuis_ &&
            (o->objectName() == nom_ || (o->parent() && o->parent()->objectName() == nom_)))
            // Runs once this paint, and the flush of the window that follows it, are done.
            QTimer::singleShot(0, this, [this] { fin_ = depuis_->nsecsElapsed() / 1e6; });
        return false;
    }

private:
    QString nom_;
    const QElapsedTimer* depuis_ = nullptr;
    double fin_ = -1;
};

int Echec(const char* raison) {
    std::fprintf(stderr, "bench_visionneuse : %s\n", raison);
    return 1;
}

double Mediane(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Configurer_Application();
    const int largeur = argc > 2 ? std::atoi(argv[1]) : 1280;
    const int hauteur = argc > 2 ? std::atoi(argv[2]) : 1024;
    const int passages = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    ostrel_test::Programme_Essai<> programme;
    programme.Installer({Enregistrer_Formes_Historique});
    // The screens' timers tick by the clock, as in the program: the menu's opens the viewer.
    Minuterie::Ticks_A_La_Main(false);
    if (!programme.Demarrer_Tableau(vbNo, QSize(largeur, hauteur))) return Echec("le tableau de bord n'a pas démarré");
    Registre_Formes& registre = programme.registre;
    Boites_Scriptees& boites = programme.boites;
    boites.Effacer();  // what start-up said of a drive c: without options
    for (int i = 0; i < 16; ++i) Tab_Couleur_Courbe[static_cast<size_t>(i)] = 0x00FFFF ^ (i * 0x0F0F10);

    const QString fichier = programme.disque.filePath(QStringLiteral("memoire_pleine.txt"));
    if (!Sauvegarde_Sure(fichier, banc::Fichier_Memoire_Pleine())) return Echec("le fichier d'essai n'a pu être écrit");
    Tab_Mesures.Effacer();
    Index_Fin_Voie.clear();

    Guet_Peinture graphe("CWGraph_Enreg"), liste("List_Numerique");
    std::vector<double> ouvertures, tableaux;
    Frm_Enreg_Forme* v = nullptr;
    Liaison_Ecran(QStringLiteral("Consultation"), QStringLiteral("Menu Enregistrements"), Faux);
    for (int passage = 0; passage < passages; ++passage) {
        auto* menu = registre.Instance_De<Frm_Menu_Enreg_Forme>(QStringLiteral("Frm_Menu_Enreg"));
        if (!menu) return Echec("le menu des enregistrements n'est pas ouvert");
        menu->Opt_Lecture_Fichier->setChecked(true);
        boites.Fichiers = {fichier};
        QElapsedTimer t;
        t.start();
        menu->Cmd_OK_Click();
        ouvertures.push_back(graphe.Attendre(t));
        v = registre.Instance_De<Frm_Enreg_Forme>(QStringLiteral("Frm_Enreg"));
        if (!v) return Echec("la visionneuse ne s'est pas ouverte");

        // The table of channel 1: the channel ticked, then the table box clicked.
        v->Check_Voie[0]->setChecked(true);
        graphe.Attendre(t);
        t.restart();
        v->Chk_Tableau->click();
        tableaux.push_back(liste.Attendre(t));
        if (passage + 1 < passages) v->Cmd_Quitter_Click();
    }
    const int lignes = v->List_Numerique->count();
    v->Chk_Tableau->click();
    Graphe_Enreg* g = v->CWGraph_Enreg;
    long long points = 0;
    for (int k = 1; k <= 16; ++k) points += g->Nb_Points(k);

    QElapsedTimer t;
    t.start();
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

    std::printf("Visionneuse : %lld points sur %d voies, écran %dx%d, graphe %dx%d, %d passages\n", points, banc::Voies,
                largeur, hauteur, taille_graphe.width(), taille_graphe.height(), passages);
    std::printf("  ouverture (OK du menu au graphe peint) : %8.1f ms (de %.1f à %.1f)\n", Mediane(ouvertures),
                *std::min_element(ouvertures.begin(), ouvertures.end()),
                *std::max_element(ouvertures.begin(), ouvertures.end()));
    std::printf("  tableau numérique (clic à liste peinte): %8.1f ms (de %.1f à %.1f, %d lignes)\n", Mediane(tableaux),
                *std::min_element(tableaux.begin(), tableaux.end()), *std::max_element(tableaux.begin(), tableaux.end()),
                lignes);
    std::printf("  cocher les 16 voies (axes recalés)     : %8.1f ms\n", cocher);
    std::printf("  dessin de toute la plage               : %8.1f ms (%lld sommets tracés)\n", dessin_tout, sommets);
    std::printf("  zoom sur un dixième                    : %8.1f ms, dessin %6.1f ms\n", zoom, dessin_zoom);
    std::printf("  déplacement d'un demi-écran            : %8.1f ms, dessin %6.1f ms\n", deplacement, dessin_deplacement);
    std::printf("  dessin de deux heures                  : %8.1f ms\n", dessin_etroit);
    std::printf("  pas du curseur (flèche)                : %8.3f ms\n", curseur);
    std::printf("  messages : %zu\n", boites.Messages.size());
    for (const QString& m : boites.Textes()) std::printf("    %s\n", qPrintable(m));

    programme.Arreter();
    return 0;
}
