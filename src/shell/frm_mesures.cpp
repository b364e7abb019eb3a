#include "shell/frm_mesures.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "files/impression.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/formes.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/textes_ajustes.h"
#include "platform/ui/touches.h"

namespace ostrel {

Octet Voie_Courante = 0;
Booleen Demande_Quitter_Mesures = Faux;

namespace {

const QString Trois_Points = QStringLiteral("   ...   ");

// Colours of the design: rows are dark strips with light text, so that the
// red and green of the alarm states read well; the title strip takes the
// frame colour of the options.
constexpr Couleur Fond_Rangee = 0x000000;
constexpr Couleur Texte_Rangee = 0xFFFFFF;

// Columns of a row (and of the title strip above the rows), as fractions of
// the row's width: left edge and width.
struct Colonne {
    double gauche, largeur;
};
constexpr Colonne Col_Numero{0.000, 0.065};
constexpr Colonne Col_Nom{0.075, 0.235};
constexpr Colonne Col_Mesure{0.310, 0.115};
constexpr Colonne Col_Unite{0.435, 0.065};
constexpr Colonne Col_Seuil_Bas{0.510, 0.120};
constexpr Colonne Col_Seuil_Haut{0.630, 0.120};
constexpr Colonne Col_Alarme{0.750, 0.245};

void Placer_Colonne(QWidget* w, Colonne c, int largeur, int hauteur) {
    w->setGeometry(Arrondi_Pixels(c.gauche * largeur), 0, Arrondi_Pixels(c.largeur * largeur), hauteur);
}

Couleur Couleur_Texte_De(const QWidget* w) {
    const QVariant v = w->property("ForeColor");
    return v.isValid() ? v.value<Couleur>() : Depuis_QColor(w->palette().color(QPalette::WindowText));
}

// Fore colour of a label; nothing is repainted when it already has it.
void Fore(QLabel* l, Couleur c) {
    if (l && (!l->property("ForeColor").isValid() || Couleur_Texte_De(l) != c)) Couleur_Texte(l, c);
}

void Caption(QLabel* l, const QString& texte) {
    if (l && l->text() != texte) {
        l->setText(texte);
        Ajuster_Texte(l);
    }
}

// The states still waiting for an acknowledgement are the even codes 2 to 12.
bool Etat_En_Attente(const QString& caption) {
    for (Octet etat = 2; etat <= 12; etat += 2)
        if (caption == Texte_Etat_Alarme(etat)) return true;
    return false;
}

bool Etat_En_Alarme(Octet etat) {
    switch (etat) {
    case 1: case 2: case 3: case 4: case 6: case 8: case 9: case 10: case 12: return true;
    default: return false;
    }
}

QLabel* Nouveau_Label(const QString& nom, const QString& texte, QWidget* parent, Qt::Alignment alignement) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(nom);
    l->setAlignment(alignement | Qt::AlignVCenter);
    return l;
}

QPushButton* Bouton(const char* nom, const QString& texte, QWidget* parent) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QString::fromLatin1(nom));
    return b;
}

}  // namespace

Frm_Mesures_Forme::Frm_Mesures_Forme() : Forme(QStringLiteral("Frm_Mesures")) {
    frame_fenetre_generale_ = new QGroupBox(this);
    frame_fenetre_generale_->setObjectName(QStringLiteral("Frame_Fenetre_Generale"));
    frame_fenetre_generale_->setFlat(false);

    picture_titre_ = new QWidget(frame_fenetre_generale_);
    picture_titre_->setObjectName(QStringLiteral("Picture_titre"));
    lbl_titre_mesure_ = Nouveau_Label(QStringLiteral("Lbl_Titre_Mesure"), QStringLiteral("Mesure"), picture_titre_, Qt::AlignHCenter);
    lbl_titre_seuil_bas_ =
        Nouveau_Label(QStringLiteral("Lbl_Titre_SeuilBas"), QStringLiteral("Seuil bas"), picture_titre_, Qt::AlignHCenter);
    lbl_titre_seuil_haut_ =
        Nouveau_Label(QStringLiteral("Lbl_Titre_SeuilHaut"), QStringLiteral("Seuil haut"), picture_titre_, Qt::AlignHCenter);
    lbl_titre_alarme_ =
        Nouveau_Label(QStringLiteral("Lbl_Titre_Alarme"), QStringLiteral("Etat d'alarme"), picture_titre_, Qt::AlignHCenter);

    cmd_retour_ = Bouton("Cmd_Retour", QStringLiteral("Retour"), this);
    cmd_imprimer_ = Bouton("Cmd_Imprimer", QStringLiteral("Imprimer"), this);
    cmd_acquitter_ = Bouton("Cmd_Acquitter", QStringLiteral("Acquitter"), this);
    connect(cmd_retour_, &QPushButton::clicked, this, &Frm_Mesures_Forme::Cmd_Retour_Click);
    connect(cmd_imprimer_, &QPushButton::clicked, this, &Frm_Mesures_Forme::Cmd_Imprimer_Click);
    connect(cmd_acquitter_, &QPushButton::clicked, this, &Frm_Mesures_Forme::Cmd_Acquitter_Click);

    frame_code_acce_ = new QGroupBox(QStringLiteral("Identification"), this);
    frame_code_acce_->setObjectName(QStringLiteral("Frame_Code_Acce"));
    frame_code_acce_->setVisible(false);
    txt_code_acce_ = new QLineEdit(frame_code_acce_);
    txt_code_acce_->setObjectName(QStringLiteral("Txt_Code_Acce"));
    txt_code_acce_->setMaxLength(4);
    txt_code_acce_->setEchoMode(QLineEdit::Password);
    txt_code_acce_->setAlignment(Qt::AlignCenter);
    txt_code_acce_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    connect(txt_code_acce_, &QLineEdit::textChanged, this, &Frm_Mesures_Forme::Txt_Code_Acce_Change);

    tmr_temps_reel_ = new Minuterie(QStringLiteral("Tmr_Temps_Reel"), this, 2000);
    tmr_temps_reel_->Timer = [this] { Tmr_Temps_Reel_Timer(); };
    tmr_blink_ = new Minuterie(QStringLiteral("Tmr_Blink"), this, 750);
    tmr_blink_->Timer = [this] { Tmr_Blink_Timer(); };
    tmr_blink_->Enabled(true);

    // Row 0 is part of the design; the others are loaded with the channels.
    Charger_Rangee(0);
}

// ------------------------------------------------------------ rows

Frm_Mesures_Forme::Rangee& Frm_Mesures_Forme::Charger_Rangee(int i) {
    while (static_cast<int>(rangees_.size()) <= i) {
        const int n = static_cast<int>(rangees_.size());
        const QString suffixe = QStringLiteral("_") + QString::number(n);
        Rangee r{};
        r.Picture_Voie = new QWidget(frame_fenetre_generale_);
        r.Picture_Voie->setObjectName(QStringLiteral("Picture_Voie") + suffixe);
        ostrel::Couleur_Fond(r.Picture_Voie, Fond_Rangee);
        r.Lbl_NumeroVoie = Nouveau_Label(QStringLiteral("Lbl_NumeroVoie") + suffixe, QStringLiteral("1 -"), r.Picture_Voie, Qt::AlignRight);
        r.Lbl_NomVoie = Nouveau_Label(QStringLiteral("Lbl_NomVoie") + suffixe, QStringLiteral("Voie 1"), r.Picture_Voie, Qt::AlignLeft);
        r.Lbl_Mesure = Nouveau_Label(QStringLiteral("Lbl_Mesure") + suffixe, QStringLiteral("XXX.X"), r.Picture_Voie, Qt::AlignRight);
        r.Lbl_Unite_Mes = Nouveau_Label(QStringLiteral("Lbl_Unité_Mes") + suffixe, QStringLiteral("Unité"), r.Picture_Voie, Qt::AlignLeft);
        r.Lbl_SeuilBas = Nouveau_Label(QStringLiteral("Lbl_SeuilBas") + suffixe, QStringLiteral("Seuil bas"), r.Picture_Voie, Qt::AlignHCenter);
        r.Lbl_SeuilHaut = Nouveau_Label(QStringLiteral("Lbl_SeuilHaut") + suffixe, QStringLiteral("Seuil haut"), r.Picture_Voie, Qt::AlignHCenter);
        r.Lbl_Alarme = Nouveau_Label(QStringLiteral("Lbl_Alarme") + suffixe, QStringLiteral("Etat d'alarme"), r.Picture_Voie, Qt::AlignHCenter);
        r.Picture_Voie->setProperty("Index", n);
        for (QLabel* l : {r.Lbl_NumeroVoie, r.Lbl_NomVoie, r.Lbl_Mesure, r.Lbl_Unite_Mes, r.Lbl_SeuilBas, r.Lbl_SeuilHaut,
                          r.Lbl_Alarme}) {
            l->setProperty("Index", n);
            Couleur_Texte(l, Texte_Rangee);
        }
        rangees_.push_back(r);
        Police_Rangee(r);
        Placer_Rangee(n);
        // Element 0 is visible in the design; the others when the load shows them.
        r.Picture_Voie->setVisible(n == 0);
    }
    return rangees_[static_cast<size_t>(i)];
}

QLabel* Frm_Mesures_Forme::Libelle(int i, QLabel* Rangee::*membre) const {
    if (i < 0 || i >= static_cast<int>(rangees_.size())) return nullptr;
    return rangees_[static_cast<size_t>(i)].*membre;
}

QWidget* Frm_Mesures_Forme::Picture_Voie(int i) const {
    return i >= 0 && i < static_cast<int>(rangees_.size()) ? rangees_[static_cast<size_t>(i)].Picture_Voie : nullptr;
}
QLabel* Frm_Mesures_Forme::Lbl_NumeroVoie(int i) const { return Libelle(i, &Rangee::Lbl_NumeroVoie); }
QLabel* Frm_Mesures_Forme::Lbl_NomVoie(int i) const { return Libelle(i, &Rangee::Lbl_NomVoie); }
QLabel* Frm_Mesures_Forme::Lbl_Mesure(int i) const { return Libelle(i, &Rangee::Lbl_Mesure); }
QLabel* Frm_Mesures_Forme::Lbl_Unite_Mes(int i) const { return Libelle(i, &Rangee::Lbl_Unite_Mes); }
QLabel* Frm_Mesures_Forme::Lbl_SeuilBas(int i) const { return Libelle(i, &Rangee::Lbl_SeuilBas); }
QLabel* Frm_Mesures_Forme::Lbl_SeuilHaut(int i) const { return Libelle(i, &Rangee::Lbl_SeuilHaut); }
QLabel* Frm_Mesures_Forme::Lbl_Alarme(int i) const { return Libelle(i, &Rangee::Lbl_Alarme); }

void Frm_Mesures_Forme::Police_Rangee(const Rangee& r) {
    for (QLabel* l : {r.Lbl_NumeroVoie, r.Lbl_NomVoie, r.Lbl_Mesure, r.Lbl_Unite_Mes, r.Lbl_SeuilBas, r.Lbl_SeuilHaut,
                      r.Lbl_Alarme}) {
        Nom_Police(l, Police_Options);
        Taille_Police(l, Taille_Police_Moyenne);
    }
}

// Row i in the frame: 1 % from its left, 98 % of its width, 5 % of its
// height, its top at (i + 2) / (rows + 2) of the height; the two first slots
// hold the frame's caption and the column titles.
void Frm_Mesures_Forme::Placer_Rangee(int i) {
    QWidget* picture = Picture_Voie(i);
    if (!picture) return;
    const int lignes = Nb_Voies > 0 ? Nb_Voies : 16;
    // The frame's border takes a few pixels at the bottom: rows stay inside it.
    const double hauteur = std::max(0, frame_fenetre_generale_->height() - 6);
    const double largeur = frame_fenetre_generale_->width();
    const int h = std::max(1, Arrondi_Pixels(hauteur * 0.05));
    const int w = Arrondi_Pixels(largeur * 0.98);
    picture->setGeometry(Arrondi_Pixels(largeur * 0.01), Arrondi_Pixels((i + 2) * hauteur / (lignes + 2)), w, h);
    const Rangee& r = rangees_[static_cast<size_t>(i)];
    Placer_Colonne(r.Lbl_NumeroVoie, Col_Numero, w, h);
    Placer_Colonne(r.Lbl_NomVoie, Col_Nom, w, h);
    Placer_Colonne(r.Lbl_Mesure, Col_Mesure, w, h);
    Placer_Colonne(r.Lbl_Unite_Mes, Col_Unite, w, h);
    Placer_Colonne(r.Lbl_SeuilBas, Col_Seuil_Bas, w, h);
    Placer_Colonne(r.Lbl_SeuilHaut, Col_Seuil_Haut, w, h);
    Placer_Colonne(r.Lbl_Alarme, Col_Alarme, w, h);
}

void Frm_Mesures_Forme::Placer_Rangees() {
    for (int i = 0; i < Nb_Rangees(); ++i) Placer_Rangee(i);
    // The titles just above the first row, over the same columns.
    const int lignes = Nb_Voies > 0 ? Nb_Voies : 16;
    const double hauteur = std::max(0, frame_fenetre_generale_->height() - 6);
    const double largeur = frame_fenetre_generale_->width();
    const double pas = hauteur / (lignes + 2);
    const int h = std::max(1, Arrondi_Pixels(hauteur * 0.05));
    const int w = Arrondi_Pixels(largeur * 0.98);
    const int haut = std::max(0, Arrondi_Pixels(2 * pas - h - 0.3 * pas));
    picture_titre_->setGeometry(Arrondi_Pixels(largeur * 0.01), haut, w, h);
    Placer_Colonne(lbl_titre_mesure_, {Col_Mesure.gauche, Col_Unite.gauche + Col_Unite.largeur - Col_Mesure.gauche}, w, h);
    Placer_Colonne(lbl_titre_seuil_bas_, Col_Seuil_Bas, w, h);
    Placer_Colonne(lbl_titre_seuil_haut_, Col_Seuil_Haut, w, h);
    Placer_Colonne(lbl_titre_alarme_, Col_Alarme, w, h);
}

// Fore colour of the number, name, unit and threshold labels of row Voie_Courante.
void Frm_Mesures_Forme::Couleur_Labels_Voie(Couleur couleur) {
    const int i = Voie_Courante;
    for (QLabel* l : {Lbl_NumeroVoie(i), Lbl_NomVoie(i), Lbl_Unite_Mes(i), Lbl_SeuilBas(i), Lbl_SeuilHaut(i)}) Fore(l, couleur);
}

void Frm_Mesures_Forme::couleur_label() {
    const Couleur c = Etat_En_Alarme(Donnees_Reponse.Etat_Voie) ? Couleur_Rouge : Couleur_Verte;
    Fore(Lbl_Mesure(Voie_Courante), c);
    Fore(Lbl_Alarme(Voie_Courante), c);
}

// ------------------------------------------------------------ load and layout

void Frm_Mesures_Forme::Form_Load() {
    Tableau_Bord& tableau = Frm_Menu1();
    if (Code_Erreur != 0) {
        Formes().Decharger(objectName());
        return;
    }
    Demande_Quitter_Mesures = Faux;
    Demande_Impression = Faux;
    tmr_temps_reel_->Enabled(false);
    Couleur_Normale = Couleur_Texte_De(Lbl_NumeroVoie(0));

    Lecture_Etat_Module(Num_Module);
    if (Code_Erreur != 0) {
        // The first tick, at the designed interval, reports the error.
        tmr_temps_reel_->Enabled(true);
        return;
    }
    Nb_Voies_Module[Num_Module - 1u] = Nb_Voies_Selon_Etat(Donnees_Reponse.Etat_Module);
    Nb_Voies = Nb_Voies_Module[Num_Module - 1u];

    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    tableau.Lbl_Nom_Menu(QStringLiteral("Mesures"));
    Couleur_Fond(Couleur_Fenetre);
    Redimensionner();

    tableau.Affiche_Progress_Bar(true);
    Progression(0);
    tableau.Caption_Pb(QStringLiteral("Voie n°1"));
    tableau.Rafraichir();
    tableau.Init_Label_OC(Num_Module);

    for (int i = 0; i < Nb_Voies; ++i) {
        const Octet voie = static_cast<Octet>(i + 1);
        Rangee& r = Charger_Rangee(i);
        Placer_Rangee(i);
        r.Picture_Voie->setVisible(true);

        Lecture_Parametres_Voie(Num_Module, voie);
        if (Code_Erreur != 0) {
            tmr_temps_reel_->Enabled(true);
            return;
        }
        r.Lbl_NumeroVoie->setText(Texte_Entier(voie) + QStringLiteral(" -"));
        Police_Rangee(r);

        Lecture_Nom_Voie(Num_Module, voie);
        if (Code_Erreur != 0) {
            tmr_temps_reel_->Enabled(true);
            return;
        }
        const Parametres_Voie& d = Donnees_Reponse;
        r.Lbl_NomVoie->setText(d.Nom_Voie == QString(12, QLatin1Char(' ')) ? QStringLiteral("Voie ") + Texte_Entier(voie)
                                                                            : d.Nom_Voie);
        r.Lbl_NomVoie->setToolTip(QStringLiteral("Periode d'enregistrement : ") + Texte_Entier(d.Periode_Enreg) +
                                  QStringLiteral(" minutes"));

        const bool contact = Entree_Contact(d);
        r.Lbl_Mesure->setText(QStringLiteral("XXX.X"));
        if (contact)
            r.Lbl_Mesure->setToolTip(d.Contact_NF != 0 ? QStringLiteral("Contact normalement fermé")
                                                       : QStringLiteral("Contact normalement ouvert"));
        QString unite = contact ? QString() : Texte_Unite(d.Unite);
        if (!contact && unite.isEmpty()) unite = QStringLiteral("Unité");  // the design's caption
        r.Lbl_Unite_Mes->setText(unite);

        const bool alarme = d.Alarme_Valide != 0;
        if (alarme)
            r.Lbl_SeuilBas->setText(contact ? (d.Contact_NF != 0 ? QStringLiteral("NF") : QStringLiteral("NO"))
                                            : Texte_Simple(d.Seuil_Bas));
        else
            r.Lbl_SeuilBas->setText(Trois_Points);
        r.Lbl_SeuilHaut->setText(alarme && !contact ? Texte_Simple(d.Seuil_Haut) : Trois_Points);
        const QString tempo = alarme ? QStringLiteral("Temporisation d'alarme : ") + Texte_Entier(d.Tempo_Alarme) +
                                           QStringLiteral(" minutes")
                                     : QString();
        r.Lbl_SeuilBas->setToolTip(tempo);
        r.Lbl_SeuilHaut->setToolTip(tempo);
        r.Lbl_Alarme->setText(Trois_Points);

        Voie_Courante = static_cast<Octet>(i);
        Couleur_Labels_Voie(d.Voie_Valide == 0 ? Couleur_Grise : Couleur_Normale);

        Progression((i + 1) * 100.0 / Nb_Voies);
        tableau.Caption_Pb(QStringLiteral("Voie n°") + Texte_Entier(i + 2));
        tableau.Rafraichir();
    }

    tableau.Caption_Pb(QStringLiteral("..."));
    tableau.Affiche_Progress_Bar(false);
    Voie_Courante = 0;
    frame_fenetre_generale_->setTitle(Tab_Parametres_Modules[Num_Module - 1u].Entete);
    Ajuster_Textes(this);
    tmr_temps_reel_->Interval(100);
    tmr_blink_->Interval(1500);
    tmr_temps_reel_->Enabled(true);
    tmr_blink_->Enabled(true);
}

void Frm_Mesures_Forme::Form_Resize() {
    const double W = width(), H = height();
    frame_fenetre_generale_->setGeometry(Arrondi_Pixels(W * 0.01), Arrondi_Pixels(H * 0.01), Arrondi_Pixels(W * 0.98), Arrondi_Pixels(H * 0.85));
    const int haut_boutons = Arrondi_Pixels(H * 0.88), h_boutons = Arrondi_Pixels(H * 0.09);
    // Return on the left; print, acknowledge and the code box on the right.
    cmd_retour_->setGeometry(Arrondi_Pixels(W * 0.03), haut_boutons, Arrondi_Pixels(W * 0.17), h_boutons);
    cmd_imprimer_->setGeometry(Arrondi_Pixels(W * 0.42), haut_boutons, Arrondi_Pixels(W * 0.17), h_boutons);
    cmd_acquitter_->setGeometry(Arrondi_Pixels(W * 0.61), haut_boutons, Arrondi_Pixels(W * 0.17), h_boutons);
    frame_code_acce_->setGeometry(Arrondi_Pixels(W * 0.80), Arrondi_Pixels(H * 0.865), Arrondi_Pixels(W * 0.17), Arrondi_Pixels(H * 0.125));

    for (QWidget* w : {static_cast<QWidget*>(cmd_retour_), static_cast<QWidget*>(cmd_imprimer_),
                       static_cast<QWidget*>(cmd_acquitter_), static_cast<QWidget*>(frame_code_acce_),
                       static_cast<QWidget*>(txt_code_acce_), static_cast<QWidget*>(frame_fenetre_generale_),
                       static_cast<QWidget*>(lbl_titre_mesure_), static_cast<QWidget*>(lbl_titre_seuil_bas_),
                       static_cast<QWidget*>(lbl_titre_seuil_haut_), static_cast<QWidget*>(lbl_titre_alarme_)}) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Moyenne);
    }
    Police_Grasse(frame_fenetre_generale_, true);
    for (QLabel* l : {lbl_titre_mesure_, lbl_titre_seuil_bas_, lbl_titre_seuil_haut_, lbl_titre_alarme_}) {
        Police_Grasse(l, true);
        Couleur_Texte(l, 0);
    }
    Couleur_Texte(frame_fenetre_generale_, Couleur_Police);
    ostrel::Couleur_Fond(picture_titre_, Couleur_Cadre);
    ostrel::Couleur_Fond(frame_code_acce_, Couleur_Fenetre);
    Couleur_Texte(frame_code_acce_, Couleur_Police);
    const int marge = std::max(4, frame_code_acce_->height() / 8);
    const int haut_texte = frame_code_acce_->fontMetrics().height() + 2;
    txt_code_acce_->setGeometry(marge, haut_texte, frame_code_acce_->width() - 2 * marge,
                                std::max(10, frame_code_acce_->height() - haut_texte - marge));
    Placer_Rangees();
}

void Frm_Mesures_Forme::showEvent(QShowEvent* evenement) {
    Forme::showEvent(evenement);
    // The shortcuts of the screen work as soon as it shows.
    QTimer::singleShot(0, this, [this] { Reprendre_Focus(); });
}

void Frm_Mesures_Forme::Reprendre_Focus() {
    if (!isVisible() || frame_code_acce_->isVisible()) return;
    // The focus of the window, not the form's memory of its last focused control.
    QWidget* f = window()->focusWidget();
    if (!f || (f != this && !isAncestorOf(f)) || !f->isVisible()) setFocus(Qt::OtherFocusReason);
}

// ------------------------------------------------------------ keys and buttons

void Frm_Mesures_Forme::Form_KeyUp(int& KeyCode, int /*Shift*/) {
    // While the identification box is open the keys are the code's: a "q"
    // or a keypad 9 typed there is not a shortcut; nor is the release of the
    // key that completed the code, which comes once the box has closed.
    if (frame_code_acce_->isVisible()) return;
    if (relachement_code_attendu_) {
        relachement_code_attendu_ = false;
        return;
    }
    switch (KeyCode) {
    case 81:
    case Touche::Echap: Cmd_Retour_Click(); break;
    case 105:
    case 73: Demande_Impression = Vrai; break;
    default: break;
    }
}

void Frm_Mesures_Forme::Retour_Consultation() { Liaison_Ecran(Ecran_Courant, QStringLiteral("Consultation"), Faux); }

void Frm_Mesures_Forme::Cmd_Retour_Click() {
    RAZ_Affichage_Modules();
    Demande_Quitter_Mesures = Vrai;
    Retour_Consultation();
}

void Frm_Mesures_Forme::Cmd_Imprimer_Click() {
    Imprimer_Mesures_Instantanees();
    Reprendre_Focus();
}

// ------------------------------------------------------------ sweep and blink

void Frm_Mesures_Forme::Vers_Problemes_Liaison() {
    RAZ_Affichage_Modules();
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

void Frm_Mesures_Forme::Tmr_Temps_Reel_Timer() {
    tmr_temps_reel_->Enabled(false);
    if (Code_Erreur == 0) {
        Boucle_infinie();
        if (Code_Erreur == 0) return;
    }
    Vers_Problemes_Liaison();
}

void Frm_Mesures_Forme::Boucle_infinie() {
    if (Demande_Quitter_Mesures != 0) {
        Retour_Consultation();
        return;
    }
    QLabel* numero = Lbl_NumeroVoie(Voie_Courante);
    if (numero && Couleur_Texte_De(numero) != Couleur_Grise) {
        const Octet voie = static_cast<Octet>(Voie_Courante + 1);
        const Simple m = Lecture_Mesure_Voie(Num_Module, voie);
        if (Code_Erreur != 0) {
            RAZ_Affichage_Modules();
            return;
        }
        const Simple dixiemes = static_cast<Simple>(m * 10.0f);
        Caption(Lbl_Mesure(Voie_Courante), dixiemes == Mot_Contact_Ferme    ? QStringLiteral("Fermé")
                                           : dixiemes == Mot_Contact_Ouvert ? QStringLiteral("Ouvert")
                                                                            : Texte_Simple(m));
        Lecture_Etat_Voie(Num_Module, voie);
        if (Code_Erreur != 0) {
            RAZ_Affichage_Modules();
            return;
        }
        Caption(Lbl_Alarme(Voie_Courante), Texte_Etat_Alarme(Donnees_Reponse.Etat_Voie));
        couleur_label();
    }
    if (Demande_Impression != 0) {
        Demande_Impression = Faux;
        Imprimer_Mesures_Instantanees();
    }
    if (Voie_Courante < Nb_Voies - 1)
        ++Voie_Courante;
    else
        Voie_Courante = 0;
    tmr_temps_reel_->Enabled(true);
    if (Code_Erreur == 0) {
        // In front again, without repainting a screen that already is.
        QWidget* parent = parentWidget();
        const QObjectList& freres = parent ? parent->children() : QObjectList();
        bool devant = true;
        for (qsizetype k = freres.indexOf(this) + 1; k > 0 && k < freres.size(); ++k) {
            auto* w = qobject_cast<QWidget*>(freres[k]);
            if (w && w->isVisible()) devant = false;
        }
        if (!devant) Premier_Plan();
    }
}

void Frm_Mesures_Forme::Tmr_Blink_Timer() {
    const int n = std::min<int>(Nb_Voies, Nb_Rangees());
    for (int i = 0; i < n; ++i) {
        QLabel* alarme = Lbl_Alarme(i);
        if (!Etat_En_Attente(alarme->text())) continue;
        const Couleur c = Couleur_Texte_De(Lbl_Mesure(i)) == Couleur_Rouge ? Couleur_Verte : Couleur_Rouge;
        Fore(Lbl_Mesure(i), c);
        Fore(alarme, c);
    }
}

// ------------------------------------------------------------ acknowledgement

void Frm_Mesures_Forme::Cmd_Acquitter_Click() {
    txt_code_acce_->setText(QString());
    frame_code_acce_->setVisible(true);
    txt_code_acce_->setFocus(Qt::OtherFocusReason);
}

void Frm_Mesures_Forme::Txt_Code_Acce_Change() {
    if (txt_code_acce_->text().size() != 4) return;
    relachement_code_attendu_ = frame_code_acce_->isVisible();
    Tableau_Bord& tableau = Frm_Menu1();
    Mdp_Saisie = txt_code_acce_->text();
    tableau.Affiche_Progress_Bar(true);
    frame_code_acce_->setVisible(false);

    // A lookup cut short by the link proves nothing about the code: no
    // refusal, no acknowledgement under a level found before the failure;
    // the link-problem screen takes over at once.
    auto echec_recherche = [&] {
        tableau.Affiche_Progress_Bar(false);
        Vers_Problemes_Liaison();
    };

    Octet niveau = Recherche_Niveau_Acces(Num_Module, Mdp_Saisie);
    if (Code_Erreur != 0) return echec_recherche();
    if (niveau != 0) {
        Mdp_Saisie = txt_code_acce_->text();
        tableau.Premier_Plan();
        tableau.Caption_Pb(QString());
        Progression(0);
        tableau.Focus();
        tableau.Rafraichir();
        niveau = Recherche_Niveau_Acces(Num_Module, Mdp_Saisie);
        if (Code_Erreur != 0) return echec_recherche();
    }
    if (niveau == 0) {
        Boites().MsgBox(QStringLiteral("Indentification non reconnu par le Module !"));
    } else {
        const Octet n = Nb_Voies_Module[Num_Module - 1u];
        for (Octet voie = 1; voie <= n; ++voie) {
            Progression(voie * 100.0 / n);
            tableau.Caption_Pb(QStringLiteral("Acquittement de la Voie n°") + Texte_Entier(voie));
            Acquittement_Alarme(Num_Module, voie, niveau);
            if (Code_Erreur != 0) {
                Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
                return;
            }
        }
    }
    tableau.Affiche_Progress_Bar(false);
    Reprendre_Focus();
}

}  // namespace ostrel
