#include "history/frm_purger.h"

#include <QLabel>
#include <QPushButton>

#include "history/journal_alarmes.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/formes.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/curseur_attente.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

const QString Ecran_Journal = QStringLiteral("Journal des alarmes");
const QString Ecran_Reglages_Voies = QStringLiteral("Réglages des voies");
const QString Nom_Forme = QStringLiteral("Frm_Purger");
constexpr int Touche_N = 78, Touche_O = 79;
constexpr Simple Taille_Texte_Dessin = 13;

void Barre_A_Zero() {
    Long zero = 0;
    Frm_Menu1().Progess_Bar_Value(zero);
}

}  // namespace

Frm_Purger_Forme::Frm_Purger_Forme() : Forme(Nom_Forme) {
    setWindowTitle(QStringLiteral("Purger"));
    Lbl_Titre = new QLabel(QStringLiteral("Purger"), this);
    Lbl_Titre->setObjectName(QStringLiteral("Barre_Titre"));
    Lbl_Titre->setIndent(8);
    ostrel::Couleur_Fond(Lbl_Titre, 0x804000);
    ostrel::Couleur_Texte(Lbl_Titre, Couleur_Blanche);
    Police_Grasse(Lbl_Titre, true);

    Lbl_Texte = new QLabel(this);
    Lbl_Texte->setObjectName(QStringLiteral("Lbl_Texte"));
    Lbl_Texte->setWordWrap(true);
    Lbl_Texte->setAlignment(Qt::AlignCenter);
    Nom_Police(Lbl_Texte, QStringLiteral("Arial"));
    Police_Grasse(Lbl_Texte, true);
    ostrel::Couleur_Texte(Lbl_Texte, 0x0000C0);

    Cmd_Oui = new QPushButton(QStringLiteral("Oui"), this);
    Cmd_Oui->setObjectName(QStringLiteral("Cmd_Oui"));
    Cmd_Non = new QPushButton(QStringLiteral("Non"), this);
    Cmd_Non->setObjectName(QStringLiteral("Cmd_Non"));
    for (QPushButton* b : {Cmd_Oui, Cmd_Non}) {
        Nom_Police(b, QStringLiteral("Arial"));
        Taille_Police(b, Taille_Texte_Dessin);
    }
    connect(Cmd_Oui, &QPushButton::clicked, this, &Frm_Purger_Forme::Cmd_Oui_Click);
    connect(Cmd_Non, &QPushButton::clicked, this, &Frm_Purger_Forme::Cmd_Non_Click);

    ostrel::Couleur_Fond(this, Couleur_Face_Bouton);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#Frm_Purger { background-color: #F0F0F0; border: 2px solid #404040; }"));
}

void Frm_Purger_Forme::Form_Load() {
    Frm_Menu1().Lbl_Nom_Menu(QStringLiteral("Purger"));
    const Octet module = Num_Module >= 1 && Num_Module <= 32 ? Num_Module : 1;
    const QString& entete = Tab_Parametres_Modules[module - 1u].Entete;
    // Entries of the module that its journal's download could not keep are
    // lost with it: the warning counts them, and the focus is on "Non".
    const bool coupe = Ecran_Precedent == Ecran_Journal && Dernier_Journal_Coupe.Module == module &&
                       Dernier_Journal_Coupe.Non_Gardees > 0;
    if (Ecran_Precedent == Ecran_Journal)
        Lbl_Texte->setText(
            QStringLiteral("Attention ! Le journal des alarmes va être effacé de la mémoire du Module : ") + entete +
            (coupe ? QStringLiteral("\n") + Texte_Purge_Non_Gardees(Dernier_Journal_Coupe.Non_Gardees) : QString()));
    else
        Lbl_Texte->setText(QStringLiteral("Attention ! Les enregistrements et le journal des alarmes vont être "
                                          "effacés de la mémoire du Module : ") +
                           entete);
    Taille_Police(Lbl_Texte, Taille_Texte_Dessin);
    Cmd_Oui->show();
    Cmd_Non->show();
    (coupe ? Cmd_Non : Cmd_Oui)->setFocus(Qt::OtherFocusReason);
    en_cours_ = false;
    // Its own design size, in the middle of the dashboard.
    if (QWidget* p = parentWidget())
        setGeometry((p->width() - Largeur_Dessin) / 2, (p->height() - Hauteur_Dessin) / 2, Largeur_Dessin,
                    Hauteur_Dessin);
    else
        resize(Largeur_Dessin, Hauteur_Dessin);
    Redimensionner();
}

void Frm_Purger_Forme::Form_Resize() {
    const int W = width(), H = height();
    Lbl_Titre->setGeometry(2, 2, W - 4, 30);
    Lbl_Texte->setGeometry(24, 44, W - 48, H - 44 - 84);
    Cmd_Oui->setGeometry(W / 2 - 24 - 150, H - 70, 150, 46);
    Cmd_Non->setGeometry(W / 2 + 24, H - 70, 150, 46);
}

void Frm_Purger_Forme::Form_KeyUp(int& KeyCode, int) {
    if (en_cours_) return;
    if (KeyCode == Touche_O) Cmd_Oui_Click();
    else if (KeyCode == Touche_N || KeyCode == Touche::Echap) Cmd_Non_Click();
}

void Frm_Purger_Forme::Cmd_Non_Click() {
    if (en_cours_) return;
    en_cours_ = true;
    Liaison_Ecran(QStringLiteral("Purger") + QStringLiteral("NON"), Ecran_Precedent, Vrai);
}

void Frm_Purger_Forme::Cmd_Oui_Click() {
    if (en_cours_) return;
    en_cours_ = true;
    Premier_Plan();
    Cmd_Non->hide();
    Cmd_Non->repaint();
    Cmd_Oui->hide();
    Cmd_Oui->repaint();
    Lbl_Texte->setText(QStringLiteral(" Patientez SVP ... "));
    Taille_Police(Lbl_Texte, Taille_Police_Grande);
    Lbl_Texte->repaint();

    Tableau_Bord& tableau = Frm_Menu1();
    const QString precedent = Ecran_Precedent;
    if (precedent == Ecran_Journal) {
        tableau.Premier_Plan();
        tableau.Focus();
        Purge_Journal_Alarmes(Num_Module);
        if (Code_Erreur != 0) return Sortie_Erreur();
        return Retour();
    }
    if (precedent == Ecran_Reglages_Voies) {
        Curseur_Attente attente;
        Barre_A_Zero();
        tableau.Rafraichir();
        Telechargement_Parametrage_Voies();
        if (Code_Erreur != 0) {
            // The transfer has shown the link-problem screen; nothing is erased.
            attente.Rendre();
            Formes().Decharger(Nom_Forme);
            return;
        }
        tableau.Premier_Plan();
        tableau.Focus();
        Barre_A_Zero();
        tableau.Rafraichir();
        Purge_Enregistrements(Num_Module);
        attente.Rendre();
        if (Code_Erreur != 0) return Sortie_Erreur();
        return Retour();
    }
    // Come from no screen that erases anything: back where it came from, nothing sent.
    en_cours_ = false;
    Cmd_Non_Click();
}

void Frm_Purger_Forme::Retour() {
    Liaison_Ecran(QStringLiteral("Purger") + QStringLiteral("OUI"), Ecran_Precedent, Vrai);
}

void Frm_Purger_Forme::Sortie_Erreur() {
    Formes().Decharger(Nom_Forme);
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

}  // namespace ostrel
