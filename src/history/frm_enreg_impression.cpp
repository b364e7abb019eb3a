// The viewer's printouts: the numeric table of the ticked channels, in
// landscape pages of three columns of 52 points (fewer where the printable
// page of the queue holds fewer lines), and the curves, one page per
// channel or all on one page with a legend, printed as the picture of the
// screen laid out at the size of the page.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "files/impression.h"
#include "history/donnees_enreg.h"
#include "history/frm_enreg.h"
#include "history/graphe_enreg.h"
#include "history/liste_numerique.h"
#include "link/donnees.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/imprimante.h"
#include "platform/ui/couleurs_ui.h"

namespace ostrel {
namespace {

const QString Titre_Impression = QStringLiteral("Impression");


// A line that starts two print zones in (character 28).
void Ligne_Decalee(Imprimante& p, const QString& texte) {
    p.Print({{QString(), Separateur::Zone}, {QString(), Separateur::Zone}, {texte, Separateur::Fin}});
}

void Page_Tableau(Imprimante& p) {
    p.Orientation(vbPRORLandscape);
    p.FontSize(8);
    p.FontName(QStringLiteral("Courier New"));
}

// The rows of a column: the lines of a page but the header's six and the
// footer's two, so that each page is one sheet with its footer, and 52 at
// most, as on a sheet printed nearly to its edges.
Long Rangs_Par_Colonne(const Imprimante& p) {
    const std::optional<int> lignes = p.Lignes_Par_Page();
    if (!lignes) return Points_Par_Colonne;
    return std::clamp<Long>(*lignes - 8, 1, Points_Par_Colonne);
}

const QString Patientez = QStringLiteral("Frm_Patientez");

// The wait window in front of the dashboard, while the table is printed.
void Montrer_Patientez() {
    Gestion_Formes& formes = Formes();
    formes.Charger(Patientez);
    formes.Afficher(Patientez);
    formes.Focus(Patientez);
    formes.Rafraichir(Patientez);
}

}  // namespace

// ------------------------------------------------------------ numeric table

void Frm_Enreg_Forme::Cmd_Imprimer_Tableau_Click() {
    if (Boites().MsgBox(QStringLiteral("Imprimer le tableau numérique ?"), vbOKCancel, Titre_Impression) == vbOK) {
        Frm_Menu1().Premier_Plan();
        // Every page of every ticked channel in one printout: written as PDF,
        // they make one file, in order, named once they are all there; pages
        // a printer keeps until the printout ends are told of once, then.
        Imprimante& p = Printer();
        p.Debut_Impression();
        bool en_attente = false;
        for (int i = 0; i < Nb_Voies_Enreg; ++i) {
            if (!Voie_Cochee(i)) continue;
            Date d1 = 0, d2 = 0;
            if (!Periode(d1, d2)) {
                Boites().MsgBox(QStringLiteral("Saisie incorrect"), vbExclamation);
                break;
            }
            if (!Imprime_Tableau_Numerique(Index_Debut_Periode(i), Index_Fin_Periode(i), i, en_attente)) break;
        }
        // The pages kept are drawn and handed over now, which takes a while for thousands.
        if (en_attente) Montrer_Patientez();
        const Resultat_Impression fin = p.Fin_Impression();
        if (en_attente) Formes().Decharger(Patientez);
        if (!fin) Signaler_Echec_Impression(fin);
        else if (en_attente) Boites().MsgBox(Texte_Impression_Envoyee(fin), vbOKOnly);
    }
    Premier_Plan();
}

bool Frm_Enreg_Forme::Imprime_Tableau_Numerique(Long premier, Long dernier, int n, bool& en_attente) {
    Gestion_Formes& formes = Formes();
    Montrer_Patientez();

    // One point alone in the period is printed too: the two indexes are then
    // equal, as they are for an empty period, which the point's date tells apart.
    bool vide = premier > dernier;
    if (premier == dernier) {
        Date d1 = 0, d2 = 0;
        const Tranche_Mesures t = Tranche_Voie(n);
        vide = !Periode(d1, d2) || premier < t.Debut || premier >= t.Fin || Tab_Mesures[premier].Date_Heure < d1 ||
               Tab_Mesures[premier].Date_Heure > d2;
    }
    if (vide || premier < 0 || dernier >= Table_Mesures::Taille) {
        formes.Decharger(Patientez);
        return true;
    }

    Tableau_Bord& tableau = Frm_Menu1();
    // The header of the module whose recordings these are, as the graph and
    // the curve printouts name it: a file's own module, not the current one.
    const QString en_tete = Nom_Maison + QStringLiteral(" - ") + tableau.Lbl_Nom_Logiciel() + QStringLiteral(" - ") +
                            tableau.Lbl_Info_Client() + QStringLiteral(" - ") + Nom_Module;
    const QString nom = n < static_cast<int>(Check_Voie.size()) ? Check_Voie[static_cast<size_t>(n)]->text() : QString();
    const QString titre = QStringLiteral("Tableau des données numériques du ") + Date_Tableau_Imprime(Tab_Mesures[premier].Date_Heure) +
                          QStringLiteral(" au ") + Date_Tableau_Imprime(Tab_Mesures[dernier].Date_Heure) +
                          QStringLiteral(" sur la voie n°") + QString::number(n + 1) + QStringLiteral(" : ") + nom;
    const QString tete_colonne = QStringLiteral("Date/Heure         Mesure");

    Imprimante& p = Printer();
    Resultat_Impression resultat;
    Page_Tableau(p);
    const Long rangs = Rangs_Par_Colonne(p);
    const Long points_page = Colonnes_Par_Page * rangs;
    const Long pages = (dernier - premier) / points_page + 1;
    for (Long page = 1; page <= pages; ++page) {
        const Long f = premier + points_page * (page - 1);
        const Long colonnes = std::min<Long>(Colonnes_Par_Page, (dernier - f) / rangs + 1);
        Page_Tableau(p);
        Ligne_Decalee(p, en_tete);
        p.Print();
        Ligne_Decalee(p, titre);
        p.Print();
        std::vector<Item> tetes;
        for (int k = 1; k <= Colonnes_Par_Page; ++k) {
            tetes.push_back({QString(), Separateur::Zone});
            tetes.push_back({QString(), Separateur::Zone});
            tetes.push_back({k <= colonnes ? tete_colonne : QString(), k < Colonnes_Par_Page ? Separateur::Aucun : Separateur::Fin});
        }
        p.Print(tetes);
        p.Print();
        for (Long r = 0; r < rangs; ++r) {
            std::vector<Item> ligne{{QString(), Separateur::Zone}, {QString(), Separateur::Zone}};
            for (int k = 1; k <= Colonnes_Par_Page; ++k) {
                const Long i = f + r + rangs * (k - 1);
                const QString cellule = k <= colonnes && i <= dernier ? Cellule_Tableau_Imprime(Tab_Mesures[i]) : QString();
                ligne.push_back({cellule, k < Colonnes_Par_Page ? Separateur::Zone : Separateur::Fin});
            }
            p.Print(ligne);
        }
        p.Print();
        Ligne_Decalee(p, QStringLiteral("Page n°") + QString::number(page) + QLatin1Char('/') + QString::number(pages));
        resultat = p.EndDoc();
        if (!resultat) {
            // The printer dropped the pages it kept with the one that failed.
            en_attente = false;
            formes.Decharger(Patientez);
            Signaler_Echec_Impression(resultat);
            return false;
        }
    }
    formes.Decharger(Patientez);
    // Pages kept until the printout ends are told of then.
    if (resultat.En_Attente)
        en_attente = true;
    else
        Boites().MsgBox(Texte_Impression_Envoyee(resultat), vbOKOnly);
    return true;
}

// ------------------------------------------------------------ curves

void Frm_Enreg_Forme::Cmd_Imprimer_Click() {
    Tableau_Bord& tableau = Frm_Menu1();
    const QString patientez = tableau.Lbl_PatientezSVP();
    const Octet cochees = Nombre_Voies_Cochees();
    if (cochees == 0) return;
    enum { Aucune, Par_Page, Meme_Page } choix = Par_Page;
    if (cochees > 1) {
        const int reponse =
            Boites().MsgBox(QStringLiteral("Imprimer toutes les courbes sur la même page ?"), vbYesNoCancel, Titre_Impression);
        choix = reponse == vbYes ? Meme_Page : reponse == vbNo ? Par_Page : Aucune;
    }
    tableau.Premier_Plan();
    tableau.Lbl_PatientezSVP(QStringLiteral("Impression en cours ..."));
    tableau.Rafraichir();
    if (choix == Par_Page) Imprime_Courbes_Par_Page(Nb_Voies_Enreg);
    if (choix == Meme_Page) Imprime_Courbes_Meme_Page(Nb_Voies_Enreg);
    Premier_Plan();
    Rafraichir();
    tableau.Lbl_PatientezSVP(patientez);
    Premier_Plan();
}

void Frm_Enreg_Forme::Preparer_Page() {
    avant_impression_.geometrie = geometry();
    avant_impression_.zone = CWGraph_Enreg->Couleur_Zone_Trace();
    avant_impression_.fond_graphe = CWGraph_Enreg->Couleur_Fond();
    avant_impression_.taille_police = static_cast<Simple>(CWGraph_Enreg->font().pointSizeF());
    avant_impression_.caption = CWGraph_Enreg->Caption();
    avant_impression_.axe_x = CWGraph_Enreg->Couleur_Axe(1);
    avant_impression_.axe_y = CWGraph_Enreg->Couleur_Axe(2);
    avant_impression_.cadre = CWGraph_Enreg->Couleur_Cadre();
    Placer_Page();
    // The table stays on the screen: the page shows the graph alone.
    List_Numerique->hide();
    Cmd_Imprimer_Tableau->hide();
    Couleur_Fond(Couleur_Blanche);
    CWGraph_Enreg->Couleur_Fond(Couleur_Blanche);
    CWGraph_Enreg->Couleur_Zone_Trace(Couleur_Blanche);
    CWGraph_Enreg->Couleur_Axe(1, 0);
    CWGraph_Enreg->Couleur_Axe(2, 0);
    CWGraph_Enreg->Couleur_Cadre(0);
    Masque_Controles_Impression(false);
}

void Frm_Enreg_Forme::Placer_Page() {
    Imprimante& p = Printer();
    p.Orientation(vbPRORLandscape);
    // The size of the printable rectangle; where the screen stands does not
    // change its picture, so it stays in its place behind the dashboard.
    const Zone_Imprimable_Page z = p.Zone_Imprimable();
    const QSize page(Twips_Vers_Pixels(z.Largeur), Twips_Vers_Pixels(z.Hauteur));
    if (page != size()) {
        resize(page);
        if (!isVisible()) Redimensionner();
    }
}

void Frm_Enreg_Forme::Restaurer_Apres_Impression() {
    const Sauvegarde_Impression& a = avant_impression_;
    setGeometry(a.geometrie);
    if (!isVisible()) Redimensionner();
    Couleur_Fond(a.zone);
    Taille_Police(CWGraph_Enreg, a.taille_police);
    CWGraph_Enreg->Caption(a.caption);
    Placer_Graphe();
    CWGraph_Enreg->Couleur_Zone_Trace(a.zone);
    CWGraph_Enreg->Couleur_Fond(a.fond_graphe);
    CWGraph_Enreg->Couleur_Axe(1, a.axe_x);
    CWGraph_Enreg->Couleur_Axe(2, a.axe_y);
    CWGraph_Enreg->Couleur_Cadre(a.cadre);
    Couleur_Fond(CWGraph_Enreg->Couleur_Zone_Trace());
    Masque_Controles_Impression(true);
}

bool Frm_Enreg_Forme::Imprimer_Ecran() {
    // Drawn at twice the screen's resolution: the page is sharper than the screen.
    QImage image(size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    {
        QPainter peintre(&image);
        render(&peintre);
    }
    image.setDevicePixelRatio(1);
    Imprimante& p = Printer();
    p.Imprimer_Image(image);
    const Resultat_Impression resultat = p.EndDoc();
    if (!resultat) Signaler_Echec_Impression(resultat);
    return static_cast<bool>(resultat);
}

void Frm_Enreg_Forme::Imprime_Courbes_Par_Page(Octet N) {
    // The pages in one printout: written as PDF, they make one file. It starts
    // before the page is laid out, which asks the printout's queue for its paper.
    Printer().Debut_Impression();
    Preparer_Page();
    auto placer_graphe = [this] {
        CWGraph_Enreg->setGeometry(Arrondi_Pixels(0.05 * width()), Arrondi_Pixels(0.05 * height()), Arrondi_Pixels(0.95 * width()),
                                   Arrondi_Pixels(0.90 * height()));
    };
    placer_graphe();
    Taille_Police(CWGraph_Enreg, 8);
    Rafraichir();
    std::array<bool, Graphe_Enreg::Nb_Traces> visibles{};
    for (int k = 1; k <= Graphe_Enreg::Nb_Traces; ++k) {
        visibles[static_cast<size_t>(k - 1)] = CWGraph_Enreg->Visible(k);
        CWGraph_Enreg->Visible(k, false);
    }
    // The threshold lines on the screen come back after the pages.
    std::array<std::vector<QPointF>, 2> seuils;
    for (int k : {17, 18}) {
        for (long long i = 0; i < CWGraph_Enreg->Nb_Points(k); ++i) seuils[static_cast<size_t>(k - 17)].push_back(CWGraph_Enreg->Point(k, i));
        CWGraph_Enreg->Effacer_Points(k);
    }

    Tableau_Bord& tableau = Frm_Menu1();
    bool reussi = true;
    for (int i = 0; i < std::min<int>(N, static_cast<int>(Check_Voie.size())) && reussi; ++i) {
        if (!Voie_Cochee(i)) continue;
        CWGraph_Enreg->Caption(Nom_Maison + QStringLiteral(" - ") + tableau.Lbl_Nom_Logiciel() + QStringLiteral(" - ") + Nom_Module +
                               QStringLiteral(" - ") + tableau.Lbl_Info_Client() + QStringLiteral(" - ") +
                               Check_Voie[static_cast<size_t>(i)]->text() + QStringLiteral(" - le ") + Texte_Date(Maintenant()));
        CWGraph_Enreg->Visible(i + 1, true);
        Trace_Seuils_Voie(i);
        Placer_Page();
        placer_graphe();
        Rafraichir();
        Donner_Focus();
        reussi = Imprimer_Ecran();
        CWGraph_Enreg->Visible(i + 1, false);
        Efface_Seuils_Voie(i);
    }

    for (int k = 1; k <= Graphe_Enreg::Nb_Traces; ++k) CWGraph_Enreg->Visible(k, visibles[static_cast<size_t>(k - 1)]);
    for (int k : {17, 18}) {
        CWGraph_Enreg->Effacer_Points(k);
        for (const QPointF& point : seuils[static_cast<size_t>(k - 17)]) CWGraph_Enreg->Ajouter_Point(k, point.x(), point.y());
    }
    const Resultat_Impression fin = Printer().Fin_Impression();
    Restaurer_Apres_Impression();
    if (!reussi) return;
    if (fin) Boites().MsgBox(Texte_Impression_Envoyee(fin), vbOKOnly);
    else Signaler_Echec_Impression(fin);
}

void Frm_Enreg_Forme::Imprime_Courbes_Meme_Page(Octet N) {
    Printer().Debut_Impression();
    Preparer_Page();
    const double W = width(), H = height();
    CWGraph_Enreg->setGeometry(Arrondi_Pixels(0.05 * W), Arrondi_Pixels(0.05 * H), Arrondi_Pixels(0.83 * W), Arrondi_Pixels(0.90 * H));
    Tableau_Bord& tableau = Frm_Menu1();
    CWGraph_Enreg->Caption(Nom_Maison + QStringLiteral(" - ") + tableau.Lbl_Nom_Logiciel() + QStringLiteral(" - ") + Nom_Module +
                           QStringLiteral(" - ") + tableau.Lbl_Info_Client() + QStringLiteral(" - le ") +
                           Texte_Date(Maintenant()));
    Taille_Police(CWGraph_Enreg, 8);

    // The legend: a label per ticked channel in its curve's colour, channel 1 on the first row.
    Nom_Police(Lbl_Legende[0], QStringLiteral("Courier New"));
    int r = 0;
    for (int i = 0; i < std::min<int>(N, static_cast<int>(Check_Voie.size())); ++i) {
        if (!Voie_Cochee(i)) continue;
        if (i != 0) {
            ++r;
            auto* element = new QLabel(this);
            element->setObjectName(QStringLiteral("Lbl_Legende"));
            element->setProperty("Index", r);
            element->setFont(Lbl_Legende[0]->font());
            element->hide();
            Lbl_Legende.push_back(element);
        }
        QLabel* element = Lbl_Legende[static_cast<size_t>(r)];
        element->setGeometry(Arrondi_Pixels(0.90 * W), Arrondi_Pixels((0.10 + 0.05 * r) * H), Arrondi_Pixels(0.095 * W), Arrondi_Pixels(0.045 * H));
        element->setText(Check_Voie[static_cast<size_t>(i)]->text());
        Couleur_Texte(element, ostrel::Couleur_Fond(Cmd_Choix_Couleur[static_cast<size_t>(i)]));
        element->show();
        Taille_Police(element, 8);
        element->raise();
        element->repaint();
    }

    const bool reussi = Imprimer_Ecran();
    const Resultat_Impression fin = Printer().Fin_Impression();

    Lbl_Legende[0]->hide();
    while (Lbl_Legende.size() > 1) {
        delete Lbl_Legende.back();
        Lbl_Legende.pop_back();
    }
    Restaurer_Apres_Impression();
    if (!reussi) return;
    if (fin) Boites().MsgBox(Texte_Impression_Envoyee(fin), vbOKOnly);
    else Signaler_Echec_Impression(fin);
}

}  // namespace ostrel
