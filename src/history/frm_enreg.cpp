// The viewer's controls, its opening (channel boxes, graph, the requests that
// complete fresh recordings, the curves), its layout and its keys.
#include "history/frm_enreg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "history/boites_dates.h"
#include "history/donnees_enreg.h"
#include "history/graphe_enreg.h"
#include "history/libelles.h"
#include "history/liste_numerique.h"
#include "history/partage_enregistrements.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/curseur_attente.h"
#include "platform/ui/textes_ajustes.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {


template <class T> T* Controle(QWidget* parent, const char* nom, const QString& texte = {}) {
    auto* c = new T(parent);
    c->setObjectName(QString::fromLatin1(nom));
    if constexpr (std::is_same_v<T, QLabel> || std::is_same_v<T, QPushButton> || std::is_same_v<T, QCheckBox>)
        c->setText(texte);
    return c;
}

// Left and Right go to the screen's cursor keys, not to the list of channels.
class Sans_Fleches : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int cle = static_cast<QKeyEvent*>(e)->key();
        return cle == Qt::Key_Left || cle == Qt::Key_Right;
    }
};

QString Voie_Numero(int i) { return QStringLiteral("Voie n°") + QString::number(i + 1); }

}  // namespace

Frm_Enreg_Forme::Frm_Enreg_Forme() : Forme(QStringLiteral("Frm_Enreg")) {
    CWGraph_Enreg = new Graphe_Enreg(this);
    Check_Voie.push_back(Nouvelle_Case_Voie(0));
    Cmd_Choix_Couleur.push_back(Nouveau_Bouton_Couleur(0));
    auto* legende = Controle<QLabel>(this, "Lbl_Legende", QStringLiteral("Légende"));
    legende->setProperty("Index", 0);
    legende->hide();
    Lbl_Legende.push_back(legende);

    Shape_Controle = Controle<QFrame>(this, "Shape_Controle");
    Shape_Controle->setFrameShape(QFrame::Box);
    Lbl_Date_Deb = Controle<QLabel>(this, "Lbl_Date_Deb", QStringLiteral("Date Début"));
    Lbl_Date_Fin = Controle<QLabel>(this, "Lbl_Date_Fin", QStringLiteral("Date Fin"));
    Lbl_Echel_Min = Controle<QLabel>(this, "Lbl_Echel_Min", QStringLiteral("Echelle Min"));
    Lbl_Echel_Max = Controle<QLabel>(this, "Lbl_Echel_Max", QStringLiteral("Echelle Max"));
    Msk_Date_Debut = Controle<QLineEdit>(this, "Msk_Date_Debut");
    Msk_Date_Fin = Controle<QLineEdit>(this, "Msk_Date_Fin");
    Txt_Echel_Min = Controle<QLineEdit>(this, "Txt_Echel_Min");
    Txt_Echel_Max = Controle<QLineEdit>(this, "Txt_Echel_Max");
    Check_Option_Curseur = Controle<QCheckBox>(this, "Check_Option_Curseur", QStringLiteral("Curseur"));
    Check_Option_Seuil = Controle<QCheckBox>(this, "Check_Option_Seuil", QStringLiteral("Seuils"));
    Chk_Tableau = Controle<QCheckBox>(this, "Chk_Tableau", QStringLiteral("Tableau"));
    Cmb_Choix_Voies = Controle<QComboBox>(this, "Cmb_Choix_Voies");
    Cmb_Choix_Voies->installEventFilter(new Sans_Fleches(Cmb_Choix_Voies));
    Lbl_Coordonnee_Curseur = Controle<QLabel>(this, "Lbl_Coordonnee_Curseur", QStringLiteral("-"));
    Lbl_Coordonnee_Curseur->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    Cmd_Zoom_Initial = Controle<QPushButton>(this, "Cmd_Zoom_Initial", QStringLiteral("Zoom initial"));
    Cmd_Sauvegarder = Controle<QPushButton>(this, "Cmd_Sauvegarder", QStringLiteral("Sauvegarder"));
    Cmd_Imprimer = Controle<QPushButton>(this, "Cmd_Imprimer", QStringLiteral("Imprimer"));
    Cmd_Quitter = Controle<QPushButton>(this, "Cmd_Quitter", QStringLiteral("Quitter"));
    Cmd_Imprimer_Tableau =
        Controle<QPushButton>(this, "Cmd_Imprimer_Tableau", QStringLiteral("Imprimer les données du tableau"));
    List_Numerique = Controle<Liste_Numerique>(this, "List_Numerique");
    List_Numerique->setTextElideMode(Qt::ElideNone);
    List_Numerique->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    List_Numerique->hide();
    Cmd_Imprimer_Tableau->hide();
    // The cursor waits for a channel to follow.
    Check_Option_Curseur->setEnabled(false);

    connect(Check_Option_Seuil, &QCheckBox::toggled, this, [this] { Check_Option_Seuil_Click(); });
    connect(Check_Option_Curseur, &QCheckBox::toggled, this, [this] { Check_Option_Curseur_Click(); });
    connect(Chk_Tableau, &QCheckBox::toggled, this, [this] { Chk_Tableau_Click(); });
    connect(Cmb_Choix_Voies, &QComboBox::activated, this, [this] { Cmb_Choix_Voies_Click(); });
    connect(Msk_Date_Debut, &QLineEdit::textChanged, this, [this] { Msk_Date_Debut_Valide(); });
    connect(Msk_Date_Fin, &QLineEdit::textChanged, this, [this] { Msk_Date_Fin_Valide(); });
    connect(Txt_Echel_Min, &QLineEdit::textChanged, this, [this] { Txt_Echel_Min_Change(); });
    connect(Txt_Echel_Max, &QLineEdit::textChanged, this, [this] { Txt_Echel_Max_Change(); });
    connect(Cmd_Zoom_Initial, &QPushButton::clicked, this, [this] { Cmd_Zoom_Initial_Click(); });
    connect(Cmd_Sauvegarder, &QPushButton::clicked, this, [this] { Cmd_Sauvegarder_Click(); });
    connect(Cmd_Imprimer, &QPushButton::clicked, this, [this] { Cmd_Imprimer_Click(); });
    connect(Cmd_Imprimer_Tableau, &QPushButton::clicked, this, [this] { Cmd_Imprimer_Tableau_Click(); });
    connect(Cmd_Quitter, &QPushButton::clicked, this, [this] { Cmd_Quitter_Click(); });
    CWGraph_Enreg->Zoom = [this] { CWGraph_Enreg_Zoom(); };
    CWGraph_Enreg->Curseur_Deplace = [this] { CWGraph_Enreg_Curseur_Deplace(); };
    CWGraph_Enreg->Clic_Graphe = [this](double x) { CWGraph_Enreg_Clic_Graphe(x); };

    // The design of the graph: 48 plots, the threshold lines in their own colours.
    for (int k = 17; k <= Graphe_Enreg::Nb_Traces; k += 2) {
        CWGraph_Enreg->Couleur_Ligne(k, 0x3C3CFF);     // high: red
        CWGraph_Enreg->Couleur_Ligne(k + 1, 0xFFB050);  // low: light blue
    }
    // Narrower than a few minutes, the date boxes could not show the range.
    CWGraph_Enreg->Etendue_Minimale_Temps(TimeSerial(0, 5, 0));
}

QCheckBox* Frm_Enreg_Forme::Nouvelle_Case_Voie(int i) {
    auto* c = Controle<QCheckBox>(this, "Check_Voie", Voie_Numero(i));
    c->setProperty("Index", i);
    c->setToolTip(QStringLiteral("Pour afficher ou effacer une courbe du graphique"));
    connect(c, &QCheckBox::toggled, this, [this, i] { Check_Voie_Click(i); });
    return c;
}

QPushButton* Frm_Enreg_Forme::Nouveau_Bouton_Couleur(int i) {
    auto* b = Controle<QPushButton>(this, "Cmd_Choix_Couleur");
    b->setProperty("Index", i);
    b->setToolTip(QStringLiteral("Pour choisir la couleur de la courbe"));
    b->setFlat(false);
    connect(b, &QPushButton::clicked, this, [this, i] { Cmd_Choix_Couleur_Click(i); });
    return b;
}

bool Frm_Enreg_Forme::Voie_Cochee(int i) const {
    return i >= 0 && i < static_cast<int>(Check_Voie.size()) && Check_Voie[static_cast<size_t>(i)]->isChecked();
}

// ------------------------------------------------------------ opening

void Frm_Enreg_Forme::Form_Load() {
    Curseur_Attente attente;
    KeyPreview = true;
    Voie_Curseur = 0;
    donnees_fichier_ = Donnees_Fichier != Faux;
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    Redimensionner();

    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Lbl_Nom_Menu(QStringLiteral("Enregistrements"));
    tableau.Affiche_Progress_Bar(true);

    const bool annee_longue = Longueur_Date_Courte() == 10;
    for (QLineEdit* boite : {Msk_Date_Debut, Msk_Date_Fin}) {
        QSignalBlocker bloque(boite);
        boite->setInputMask(annee_longue ? QStringLiteral("99/99/9999 99:99;_") : QStringLiteral("99/99/99 99:99;_"));
        boite->setProperty("Format", annee_longue ? QStringLiteral("dd/mm/yyyy hh:mm") : QStringLiteral("dd/mm/yy hh:mm"));
        boite->clear();
    }

    const Octet module = Num_Module >= 1 && Num_Module <= 32 ? Num_Module : 1;
    // Never more channels than the table has slices for: the others would read past them.
    const int n = std::clamp<int>(std::min<int>(Nb_Voies_Module[module - 1], static_cast<int>(Index_Fin_Voie.size())), 0, 16);
    Nb_Voies_Enreg = static_cast<Octet>(n);

    for (int i = 0; i < n; ++i) {
        if (i > 0) {
            Check_Voie.push_back(Nouvelle_Case_Voie(i));
            Cmd_Choix_Couleur.push_back(Nouveau_Bouton_Couleur(i));
        }
        QCheckBox* c = Check_Voie[static_cast<size_t>(i)];
        Nom_Police(c, Police_Options);
        Taille_Police(c, static_cast<Simple>(0.6 * Taille_Police_Moyenne));
        Aspect_Coche(i, false);
        c->show();
        QPushButton* b = Cmd_Choix_Couleur[static_cast<size_t>(i)];
        Couleur_Fond_Pleine(b, Tab_Couleur_Courbe[static_cast<size_t>(i)]);
        b->show();
        CWGraph_Enreg->Couleur_Ligne(i + 1, Tab_Couleur_Courbe[static_cast<size_t>(i)]);
        CWGraph_Enreg->Allumee(i + 1, false);
    }
    // An empty recording shows no channel box at all.
    if (n == 0) {
        Check_Voie[0]->hide();
        Cmd_Choix_Couleur[0]->hide();
    }
    Placer_Voies();

    for (QWidget* w : {static_cast<QWidget*>(Lbl_Date_Deb), static_cast<QWidget*>(Msk_Date_Debut),
                       static_cast<QWidget*>(Msk_Date_Fin), static_cast<QWidget*>(Lbl_Date_Fin),
                       static_cast<QWidget*>(Lbl_Echel_Min), static_cast<QWidget*>(Lbl_Echel_Max),
                       static_cast<QWidget*>(Txt_Echel_Min), static_cast<QWidget*>(Txt_Echel_Max),
                       static_cast<QWidget*>(Check_Option_Curseur), static_cast<QWidget*>(Check_Option_Seuil),
                       static_cast<QWidget*>(Cmb_Choix_Voies)})
        w->show();

    for (int k = 1; k <= Graphe_Enreg::Nb_Curseurs; ++k) CWGraph_Enreg->Curseur_Visible(k, false);

    // The window of the recordings; one instant alone is shown as the day that follows it.
    const Date debut = Donnees_Reponse.Date_Debut;
    const Date fin = Donnees_Reponse.Date_Fin > debut ? Donnees_Reponse.Date_Fin : debut + 1;
    CWGraph_Enreg->Plage_Imposee(1, true);
    CWGraph_Enreg->Definir_Plage(1, debut, fin);
    CWGraph_Enreg->Couleur_Axe(1, Couleur_Police);
    CWGraph_Enreg->Plage_Imposee(2, true);
    CWGraph_Enreg->Definir_Plage(2, -50, 150);
    CWGraph_Enreg->Couleur_Axe(2, Couleur_Police);
    CWGraph_Enreg->Mode_Interaction(Graphe_Enreg::Mode_Zoom);
    CWGraph_Enreg->Capacite_Points(n > 0 ? Tranche_Voie(n - 1).Fin + 1 : 1);

    if (!donnees_fichier_) {
        // Each request is tested at once: after a failure nothing more goes to the module.
        tableau.Caption_Pb(QStringLiteral("Lecture Nombre d'enregistrement"));
        Lecture_Nombre_Enregistrements(module);
        if (Code_Erreur != 0) return;
        tableau.Caption_Pb(QStringLiteral("Lecture Nombre d'évenement"));
        Lecture_Nombre_Evenements(module);
        if (Code_Erreur != 0) return;
        tableau.Caption_Pb(QStringLiteral("Lecture Nom du module"));
        Lecture_Nom_Module(module);
        if (Code_Erreur != 0) return;
    } else {
        Nom_Module = Donnees_Reponse.Entete_Module;
    }

    for (int i = 0; i < n; ++i) {
        Parametres_Voie& voie = Tab_Parametres_Voies[static_cast<size_t>(i)];
        if (!donnees_fichier_) {
            tableau.Caption_Pb(QStringLiteral("Lecture paramètres voie : ") + QString::number(i + 1));
            Lecture_Parametres_Voie(module, static_cast<Octet>(i + 1));
            if (Code_Erreur != 0) return;
            const Parametres_Voie& r = Donnees_Reponse;
            voie.Periode_Enreg = r.Periode_Enreg;
            voie.Tempo_Alarme = r.Tempo_Alarme;
            voie.Voie_Valide = r.Voie_Valide;
            voie.Alarme_Valide = r.Alarme_Valide;
            voie.Role_ETOR_Inhib = r.Role_ETOR_Inhib;
            voie.Nature_Capteur = r.Nature_Capteur;
            voie.Contact_NF = r.Contact_NF;
            voie.Inhib_Alarme_ETOR = r.Inhib_Alarme_ETOR;
            voie.Inhib_Enreg_ETOR = r.Inhib_Enreg_ETOR;
            voie.Relais_2 = r.Relais_2;
            voie.Num_ETOR_Inhib = r.Num_ETOR_Inhib;
            voie.Unite = r.Unite;
            voie.Buzzer = r.Buzzer;
            voie.Num_Planning_Inhib = r.Num_Planning_Inhib;
            voie.Echelle_4mA = r.Echelle_4mA;
            voie.Echelle_20mA = r.Echelle_20mA;
        } else if (Tranche_Voie(i).Vide()) {
            Donnees_Reponse.Voie_Valide = Faux;
        } else {
            Donnees_Reponse.Voie_Valide = Vrai;
            Donnees_Reponse.Seuil_Haut = voie.Seuil_Haut;
            Donnees_Reponse.Seuil_Bas = voie.Seuil_Bas;
            Donnees_Reponse.Nature_Capteur = voie.Nature_Capteur;
        }
        if (Entree_Contact(Donnees_Reponse) || Donnees_Reponse.Voie_Valide == Faux) {
            Check_Voie[static_cast<size_t>(i)]->setEnabled(false);
        } else {
            Trace_Courbe_Voie(i);
            CWGraph_Enreg->Visible(i + 1, false);
            voie.Seuil_Haut = Donnees_Reponse.Seuil_Haut;
            voie.Seuil_Bas = Donnees_Reponse.Seuil_Bas;
        }
    }

    tableau.Caption_Pb(QStringLiteral("Lecture noms des voies"));
    Lire_Noms_Voies(Nb_Voies_Enreg);
    if (Code_Erreur != 0) return;

    Lbl_Legende[0]->hide();
    // The channels' names came after the layout.
    Ajuster_Textes(this);
    CWGraph_Enreg->Caption(Nom_Module);
    tableau.Affiche_Progress_Bar(false);

    if (!donnees_fichier_ &&
        Boites().MsgBox(QStringLiteral("Voulez vous enregistrer les données dans un fichier ?"), vbYesNo) == vbYes)
        Cmd_Sauvegarder_Click();
}

void Frm_Enreg_Forme::Trace_Courbe_Voie(int n) {
    if (n < 0 || n > 15) return;
    const Tranche_Mesures t = Tranche_Voie(n);
    CWGraph_Enreg->Reserver_Points(n + 1, static_cast<size_t>(t.Taille()));
    for (Long k = t.Debut; k < t.Fin; ++k) CWGraph_Enreg->Ajouter_Point(n + 1, Tab_Mesures[k].Date_Heure, Tab_Mesures[k].Valeur);
    Actualise_Echelles();
}

void Frm_Enreg_Forme::Lire_Noms_Voies(Octet nombre) {
    const Octet module = Num_Module >= 1 && Num_Module <= 32 ? Num_Module : 1;
    const QString blancs(12, QLatin1Char(' '));
    for (int i = 0; i < std::min<int>(nombre, static_cast<int>(Check_Voie.size())); ++i) {
        const Tranche_Mesures t = Tranche_Voie(i);
        QString nom;
        if (!donnees_fichier_) {
            Lecture_Nom_Voie(module, static_cast<Octet>(i + 1));
            if (Code_Erreur != 0) return;
            nom = Donnees_Reponse.Nom_Voie;
            const QString nom_points = nom == blancs ? Voie_Numero(i) : nom;
            for (Long k = t.Debut; k < t.Fin; ++k) Tab_Mesures[k].Nom_Voie = nom_points;
        } else {
            Cmd_Sauvegarder->setEnabled(false);
            nom = !t.Vide() && Tab_Mesures[t.Debut].Num_Voie == i + 1 ? Tab_Mesures[t.Debut].Nom_Voie : blancs;
            Donnees_Reponse.Nom_Voie = nom;
        }
        Check_Voie[static_cast<size_t>(i)]->setText(nom.isEmpty() || nom == blancs ? Voie_Numero(i) : nom);
        Tab_Parametres_Voies[static_cast<size_t>(i)].Nom_Voie = nom;
    }
}

// ------------------------------------------------------------ keys

void Frm_Enreg_Forme::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode != Touche::Droite && KeyCode != Touche::Gauche) return;
    if (!Check_Option_Curseur->isChecked() || Voie_Curseur == 0) return;
    const long long index = CWGraph_Enreg->Curseur_Index(Voie_Curseur);
    CWGraph_Enreg->Curseur_Index(Voie_Curseur, index + (KeyCode == Touche::Droite ? 1 : -1));
    Lbl_Coordonnee_Curseur->setText(Lecture_Curseur(CWGraph_Enreg->Curseur_X(Voie_Curseur), CWGraph_Enreg->Curseur_Y(Voie_Curseur)));
}

void Frm_Enreg_Forme::Executer(const QString& operation) {
    if (operation == QLatin1String("Cmd_Sauvegarder_Click")) Cmd_Sauvegarder_Click();
    else if (operation == QLatin1String("Cmd_Quitter_Click")) Cmd_Quitter_Click();
    else if (operation == QLatin1String("Cmd_Zoom_Initial_Click")) Cmd_Zoom_Initial_Click();
    else if (operation == QLatin1String("Cmd_Imprimer_Click")) Cmd_Imprimer_Click();
    else if (operation == QLatin1String("Cmd_Imprimer_Tableau_Click")) Cmd_Imprimer_Tableau_Click();
}

// ------------------------------------------------------------ layout

void Frm_Enreg_Forme::Placer_Voies() {
    const double W = width(), H = height();
    for (size_t i = 0; i < Check_Voie.size(); ++i) {
        const int c = static_cast<int>(i) / 2, r = static_cast<int>(i) % 2;
        Check_Voie[i]->setGeometry(Arrondi_Pixels((0.02 + 0.122 * c) * W), Arrondi_Pixels((0.01 + 0.04 * r) * H), Arrondi_Pixels(0.1 * W),
                                   Arrondi_Pixels(0.035 * H));
        Cmd_Choix_Couleur[i]->setGeometry(Arrondi_Pixels((0.12 + 0.122 * c) * W), Arrondi_Pixels((0.01 + 0.04 * r) * H),
                                          Arrondi_Pixels(0.015 * W), Arrondi_Pixels(0.035 * H));
    }
}

void Frm_Enreg_Forme::Placer_Graphe() {
    const double W = width(), H = height();
    const bool tableau = Chk_Tableau->isChecked();
    const double gauche = tableau ? 0.25 : 0.02, largeur = tableau ? 0.75 : 0.98;
    CWGraph_Enreg->setGeometry(Arrondi_Pixels(gauche * W), Arrondi_Pixels(0.095 * H), Arrondi_Pixels(largeur * W) - 2, Arrondi_Pixels(0.705 * H));
    List_Numerique->setGeometry(Arrondi_Pixels(0.005 * W), Arrondi_Pixels(0.095 * H), Arrondi_Pixels(0.24 * W), Arrondi_Pixels(0.635 * H));
    Cmd_Imprimer_Tableau->setGeometry(Arrondi_Pixels(0.005 * W), Arrondi_Pixels(0.74 * H), Arrondi_Pixels(0.24 * W), Arrondi_Pixels(0.055 * H));
    List_Numerique->setVisible(tableau);
    Cmd_Imprimer_Tableau->setVisible(tableau);
}

void Frm_Enreg_Forme::Form_Resize() {
    const double W = width(), H = height();
    Placer_Voies();
    Placer_Graphe();
    Shape_Controle->setGeometry(Arrondi_Pixels(0.005 * W), Arrondi_Pixels(0.81 * H), Arrondi_Pixels(0.99 * W), Arrondi_Pixels(0.18 * H));

    // Two rows of controls under the graph.
    const double rangee[2] = {0.825 * H, 0.905 * H};
    const double h_boite = 0.05 * H, h_bouton = 0.065 * H;
    auto placer = [&](QWidget* w, int r, double x, double l, double h) {
        w->setGeometry(Arrondi_Pixels(x * W), Arrondi_Pixels(rangee[r] + (h_bouton - h) / 2), Arrondi_Pixels(l * W), Arrondi_Pixels(h));
    };
    placer(Lbl_Date_Deb, 0, 0.015, 0.08, h_boite);
    placer(Msk_Date_Debut, 0, 0.095, 0.135, h_boite);
    placer(Lbl_Date_Fin, 1, 0.015, 0.08, h_boite);
    placer(Msk_Date_Fin, 1, 0.095, 0.135, h_boite);
    placer(Lbl_Echel_Min, 0, 0.245, 0.085, h_boite);
    placer(Txt_Echel_Min, 0, 0.33, 0.06, h_boite);
    placer(Lbl_Echel_Max, 1, 0.245, 0.085, h_boite);
    placer(Txt_Echel_Max, 1, 0.33, 0.06, h_boite);
    placer(Check_Option_Curseur, 0, 0.405, 0.08, h_boite);
    placer(Check_Option_Seuil, 1, 0.405, 0.08, h_boite);
    placer(Cmb_Choix_Voies, 0, 0.49, 0.16, h_boite);
    placer(Lbl_Coordonnee_Curseur, 1, 0.49, 0.25, h_boite);
    placer(Chk_Tableau, 0, 0.665, 0.075, h_boite);
    placer(Cmd_Zoom_Initial, 0, 0.75, 0.115, h_bouton);
    placer(Cmd_Sauvegarder, 0, 0.875, 0.11, h_bouton);
    placer(Cmd_Imprimer, 1, 0.75, 0.115, h_bouton);
    placer(Cmd_Quitter, 1, 0.875, 0.11, h_bouton);

    for (QWidget* w : {static_cast<QWidget*>(Lbl_Date_Deb), static_cast<QWidget*>(Lbl_Date_Fin),
                       static_cast<QWidget*>(Lbl_Echel_Min), static_cast<QWidget*>(Lbl_Echel_Max),
                       static_cast<QWidget*>(Msk_Date_Debut), static_cast<QWidget*>(Msk_Date_Fin),
                       static_cast<QWidget*>(Txt_Echel_Min), static_cast<QWidget*>(Txt_Echel_Max),
                       static_cast<QWidget*>(Check_Option_Curseur), static_cast<QWidget*>(Check_Option_Seuil),
                       static_cast<QWidget*>(Chk_Tableau), static_cast<QWidget*>(Cmb_Choix_Voies)}) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Petite);
    }
    for (QWidget* w : {static_cast<QWidget*>(Cmd_Zoom_Initial), static_cast<QWidget*>(Cmd_Sauvegarder),
                       static_cast<QWidget*>(Cmd_Imprimer), static_cast<QWidget*>(Cmd_Quitter),
                       static_cast<QWidget*>(Cmd_Imprimer_Tableau)}) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Moyenne);
    }
    Nom_Police(CWGraph_Enreg, Police_Options);
    Taille_Police(CWGraph_Enreg, static_cast<Simple>(std::max(7.0, 0.85 * Taille_Police_Petite)));
    Nom_Police(Lbl_Coordonnee_Curseur, QStringLiteral("Courier New"));
    Taille_Police(Lbl_Coordonnee_Curseur, Taille_Police_Petite);
    Nom_Police(List_Numerique, QStringLiteral("Courier New"));
    Taille_Police(List_Numerique, static_cast<Simple>(std::max(7.0, 0.8 * Taille_Police_Petite)));
    Lbl_Coordonnee_Curseur->raise();

    // Texts over the window's colour in the text colour of the options.
    for (QWidget* w : {static_cast<QWidget*>(Lbl_Date_Deb), static_cast<QWidget*>(Lbl_Date_Fin),
                       static_cast<QWidget*>(Lbl_Echel_Min), static_cast<QWidget*>(Lbl_Echel_Max),
                       static_cast<QWidget*>(Check_Option_Curseur), static_cast<QWidget*>(Check_Option_Seuil),
                       static_cast<QWidget*>(Chk_Tableau), static_cast<QWidget*>(Lbl_Coordonnee_Curseur)})
        Couleur_Libelle(w, Couleur_Police);
    QPalette cadre = Shape_Controle->palette();
    cadre.setColor(QPalette::WindowText, Vers_QColor(Couleur_Police));
    Shape_Controle->setPalette(cadre);

    Couleur_Fond(Couleur_Fenetre);
    CWGraph_Enreg->Couleur_Fond(Couleur_Fenetre);
    CWGraph_Enreg->Couleur_Zone_Trace(Couleur_Fenetre);
    CWGraph_Enreg->Couleur_Cadre(Couleur_Fenetre);
    CWGraph_Enreg->Couleur_Grille(Couleur_Blanche);
}

}  // namespace ostrel
