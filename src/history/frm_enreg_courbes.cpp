// What the operator does with the viewer's curves: channel boxes, threshold
// lines, the cursor and its readout, zoom and the boxes of the shown ranges,
// the initial zoom, the curve colours and leaving.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "history/boites_dates.h"
#include "history/donnees_enreg.h"
#include "history/frm_enreg.h"
#include "history/graphe_enreg.h"
#include "history/libelles.h"
#include "history/liste_numerique.h"
#include "history/partage_enregistrements.h"
#include "link/donnees.h"
#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/curseur_attente.h"

namespace ostrel {
namespace {

// A scale box's number: rounded to a whole one, 0 when the text is not a number.
Long Nombre_Echelle(const QLineEdit* boite) {
    const std::optional<double> v = Convertir_Nombre(boite->text());
    if (!v) return 0;
    const std::optional<Long> l = Vers_Long(*v);
    return l ? *l : 0;
}

}  // namespace

Octet Frm_Enreg_Forme::Nombre_Voies_Cochees() const {
    Octet n = 0;
    for (int i = 0; i < Nb_Voies_Enreg; ++i)
        if (Voie_Cochee(i)) ++n;
    return n;
}

void Frm_Enreg_Forme::Aspect_Coche(int i, bool cochee) {
    QCheckBox* c = Check_Voie[static_cast<size_t>(i)];
    Couleur_Libelle(c, Couleur_Police_Bandeau);
    // A ticked box takes the grid's colour, unless the banner text would vanish on it
    // (white banner text on the white grid): then the plot area's colour, if it reads better.
    Couleur fond = CWGraph_Enreg->Couleur_Grille();
    const Couleur zone = CWGraph_Enreg->Couleur_Zone_Trace();
    if (Contraste(Couleur_Police_Bandeau, fond) < Contraste_Lisible &&
        Contraste(Couleur_Police_Bandeau, zone) > Contraste(Couleur_Police_Bandeau, fond))
        fond = zone;
    ostrel::Couleur_Fond(c, cochee ? fond : Couleur_Fond_Bandeau);
    Police_Grasse(c, cochee);
}

std::optional<Date> Frm_Enreg_Forme::Date_Boite(const QLineEdit* boite) { return Convertir_Date(boite->text()); }

bool Frm_Enreg_Forme::Periode(Date& d1, Date& d2) const {
    const std::optional<Date> debut = Date_Boite(Msk_Date_Debut), fin = Date_Boite(Msk_Date_Fin);
    if (!debut || !fin) return false;
    d1 = *debut;
    d2 = *fin;
    return true;
}

// ------------------------------------------------------------ channel boxes

void Frm_Enreg_Forme::Check_Voie_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(Check_Voie.size())) return;
    Curseur_Attente attente;
    Chk_Tableau->setChecked(false);
    auto offres = [this] {
        // Thresholds and the numeric table for one channel at a time.
        const bool une = Nombre_Voies_Cochees() <= 1;
        Check_Option_Seuil->setEnabled(une);
        Chk_Tableau->setEnabled(une);
        return une;
    };
    const int trace = Index + 1;
    if (Voie_Cochee(Index)) {
        if (!offres()) Check_Option_Seuil->setChecked(false);
        Aspect_Coche(Index, true);
        CWGraph_Enreg->Enabled(trace, true);
        CWGraph_Enreg->Visible(trace, true);
        CWGraph_Enreg->Allumee(trace, true);
        Init_Axes_Graphe();
        if (Check_Option_Seuil->isChecked()) Trace_Seuils_Voie(Index);
    } else {
        Check_Option_Seuil->setChecked(false);
        offres();
        CWGraph_Enreg->Visible(trace, false);
        CWGraph_Enreg->Enabled(trace, false);
        CWGraph_Enreg->Allumee(trace, false);
        Aspect_Coche(Index, false);
        Efface_Seuils_Voie(Index);
    }
    Check_Option_Curseur->setEnabled(Nombre_Voies_Cochees() > 0);
    Check_Option_Curseur->setChecked(false);
    Remplit_Combo_Voies();
    Actualise_Echelles();
}

// ------------------------------------------------------------ thresholds

void Frm_Enreg_Forme::Trace_Seuils_Voie(int n) {
    if (n < 0 || n > 15) return;
    const Simple haut = Tab_Parametres_Voies[static_cast<size_t>(n)].Seuil_Haut;
    const Simple bas = Tab_Parametres_Voies[static_cast<size_t>(n)].Seuil_Bas;
    if (haut == 0 && bas == 0) return;
    Date d1 = 0, d2 = 0;
    // While a date box is being typed, the lines span the range shown.
    if (!Periode(d1, d2)) {
        d1 = CWGraph_Enreg->Minimum(1);
        d2 = CWGraph_Enreg->Maximum(1);
    }
    CWGraph_Enreg->Ajouter_Point(17, d1, haut);
    CWGraph_Enreg->Ajouter_Point(17, d2, haut);
    CWGraph_Enreg->Ajouter_Point(18, d1, bas);
    CWGraph_Enreg->Ajouter_Point(18, d2, bas);
    for (int k : {17, 18}) {
        CWGraph_Enreg->Visible(k, true);
        CWGraph_Enreg->Style_Ligne(k, Graphe_Enreg::Style_Tirets);
    }
}

void Frm_Enreg_Forme::Efface_Seuils_Voie(int) {
    if (!CWGraph_Enreg->Visible(17)) return;
    for (int k : {17, 18}) CWGraph_Enreg->Effacer_Points(k);
    for (int k : {17, 18}) CWGraph_Enreg->Visible(k, false);
}

void Frm_Enreg_Forme::Check_Option_Seuil_Click() {
    Curseur_Attente attente;
    const bool seuils = Check_Option_Seuil->isChecked();
    for (int i = 0; i < Nb_Voies_Enreg; ++i) {
        if (seuils && Voie_Cochee(i)) Trace_Seuils_Voie(i);
        if (!seuils) Efface_Seuils_Voie(i);
        CWGraph_Enreg->Curseur_Visible(i + 1, false);
    }
    Check_Option_Curseur->setChecked(false);
}

// ------------------------------------------------------------ cursor

void Frm_Enreg_Forme::Ecrire_Lecture_Curseur() {
    if (Cmb_Choix_Voies->currentIndex() == -1 || Voie_Curseur < 1 || Voie_Curseur > 16) return;
    Lbl_Coordonnee_Curseur->setText(Lecture_Curseur(CWGraph_Enreg->Curseur_X(Voie_Curseur), CWGraph_Enreg->Curseur_Y(Voie_Curseur)));
}

void Frm_Enreg_Forme::Check_Option_Curseur_Click() {
    if (!Check_Option_Curseur->isChecked()) {
        Lbl_Coordonnee_Curseur->setText(QStringLiteral("-"));
        if (Cmb_Choix_Voies->currentIndex() != -1) CWGraph_Enreg->Curseur_Visible(Voie_Curseur, false);
        CWGraph_Enreg->Mode_Interaction(Graphe_Enreg::Mode_Zoom);
        for (int k = 1; k <= Nb_Voies_Enreg; ++k) CWGraph_Enreg->Curseur_Visible(k, false);
    } else {
        Cmb_Choix_Voies_Click();
        CWGraph_Enreg->Mode_Interaction(Graphe_Enreg::Mode_Curseur_Prepare);
        CWGraph_Enreg->Mode_Interaction(Graphe_Enreg::Mode_Curseur);
    }
    Cmb_Choix_Voies->setFocus();
}

void Frm_Enreg_Forme::Cmb_Choix_Voies_Click() {
    if (!Check_Option_Curseur->isChecked() || Cmb_Choix_Voies->isHidden()) return;
    for (int k = 1; k <= Nb_Voies_Enreg; ++k) {
        CWGraph_Enreg->Curseur_Visible(k, false);
        if (Cmb_Choix_Voies->currentText() == Check_Voie[static_cast<size_t>(k - 1)]->text() && CWGraph_Enreg->Visible(k)) {
            CWGraph_Enreg->Curseur_Visible(k, true);
            CWGraph_Enreg->Placer_Curseur(k, (CWGraph_Enreg->Minimum(1) + CWGraph_Enreg->Maximum(1)) / 2,
                                          (CWGraph_Enreg->Minimum(2) + CWGraph_Enreg->Maximum(2)) / 2);
            Voie_Curseur = static_cast<Octet>(k);
        }
    }
}

void Frm_Enreg_Forme::CWGraph_Enreg_Curseur_Deplace() {
    Cmb_Choix_Voies->setFocus();
    Ecrire_Lecture_Curseur();
}

void Frm_Enreg_Forme::CWGraph_Enreg_Clic_Graphe(double x) {
    // No cursor has been chosen yet: nothing to move.
    if (Voie_Curseur == 0) return;
    CWGraph_Enreg->Curseur_X(Voie_Curseur, x);
    Ecrire_Lecture_Curseur();
}

// ------------------------------------------------------------ ranges

void Frm_Enreg_Forme::CWGraph_Enreg_Zoom() { Actualise_Echelles(); }

void Frm_Enreg_Forme::Actualise_Echelles() {
    for (QWidget* w : {static_cast<QWidget*>(Lbl_Date_Deb), static_cast<QWidget*>(Msk_Date_Debut),
                       static_cast<QWidget*>(Msk_Date_Fin), static_cast<QWidget*>(Lbl_Date_Fin),
                       static_cast<QWidget*>(Lbl_Echel_Min), static_cast<QWidget*>(Lbl_Echel_Max),
                       static_cast<QWidget*>(Txt_Echel_Min), static_cast<QWidget*>(Txt_Echel_Max)})
        w->show();

    // Both boxes show the axis as it stands: the start box is not checked
    // against an end box that has not been brought up to date yet.
    ecriture_echelles_ = true;
    const QString debut = Texte_Boite_Date(CWGraph_Enreg->Minimum(1));
    const QString fin = Texte_Boite_Date(CWGraph_Enreg->Maximum(1));
    if (debut != Msk_Date_Debut->text()) Msk_Date_Debut->setText(debut);
    if (fin != Msk_Date_Fin->text()) Msk_Date_Fin->setText(fin);
    ecriture_echelles_ = false;

    const double m = CWGraph_Enreg->Minimum(2), M = CWGraph_Enreg->Maximum(2);
    if (std::floor(M) > std::floor(m) + 0.9) {
        Txt_Echel_Min->setText(Texte_Double(std::floor(m)));
        Txt_Echel_Max->setText(Texte_Double(std::floor(M)));
    } else {
        Boites().MsgBox(QStringLiteral("Zoom trop petit"), vbOKOnly);
        // Back to the whole-number range the boxes still show.
        Txt_Echel_Min->setText(Texte_Double(Convertir_Nombre(Txt_Echel_Min->text()).value_or(0) - 0.1));
        Txt_Echel_Max->setText(Texte_Double(Convertir_Nombre(Txt_Echel_Max->text()).value_or(0) + 0.1));
    }
}

void Frm_Enreg_Forme::Txt_Echel_Min_Change() {
    const Long min = Nombre_Echelle(Txt_Echel_Min), max = Nombre_Echelle(Txt_Echel_Max);
    if (min + 0.9 < max) CWGraph_Enreg->Definir_Minimum(2, min);
}

void Frm_Enreg_Forme::Txt_Echel_Max_Change() {
    const Long min = Nombre_Echelle(Txt_Echel_Min), max = Nombre_Echelle(Txt_Echel_Max);
    if (min + 0.9 < max) CWGraph_Enreg->Definir_Maximum(2, max);
}

void Frm_Enreg_Forme::Msk_Date_Debut_Valide() {
    const QString texte = Msk_Date_Debut->text();
    const int l = Longueur_Date_Courte();
    const std::optional<Date> jour = Convertir_Date(texte.left(l)), heure = Convertir_Date(texte.right(5));
    if (!jour || !heure || texte.size() < l + 6) return;
    const Date debut = *jour + *heure;
    if (ecriture_echelles_) {
        // The box follows the axis: its minute becomes the start.
        CWGraph_Enreg->Definir_Minimum(1, debut);
    } else if (const std::optional<Date> fin = Date_Boite(Msk_Date_Fin)) {
        if (debut >= *fin)
            Boites().MsgBox(QStringLiteral("La date de début doit être < à celle de fin!"), vbOKOnly);
        else
            CWGraph_Enreg->Definir_Minimum(1, debut);
    }
    if (!List_Numerique->isHidden())
        for (int i = 0; i < Nb_Voies_Enreg; ++i)
            if (Voie_Cochee(i)) Remplit_Tableau_Numerique(i);
}

void Frm_Enreg_Forme::Msk_Date_Fin_Valide() {
    const QString texte = Msk_Date_Fin->text();
    const int l = Longueur_Date_Courte();
    const std::optional<Date> jour = Convertir_Date(texte.left(l)), heure = Convertir_Date(texte.right(5));
    if (!jour || !heure || texte.size() < l + 6) return;
    const Date fin = *jour + *heure;
    // The minute shown is wholly inside the range; "23:59" takes the day to its end.
    const Date apres = fin + TimeSerial(0, texte.right(5) == QLatin1String("23:59") ? 2 : 1, 0);
    if (ecriture_echelles_) {
        // The box follows the axis: an end already within the minute shown stays,
        // so that showing the range again does not push it a minute further.
        const double maximum = CWGraph_Enreg->Maximum(1);
        if (maximum < fin - 1e-9 || maximum > apres + 1e-9) CWGraph_Enreg->Definir_Maximum(1, apres);
    } else if (const std::optional<Date> debut = Date_Boite(Msk_Date_Debut)) {
        if (*debut >= fin)
            Boites().MsgBox(QStringLiteral("La date de fin doit être > à celle de début!"), vbOKOnly);
        else
            CWGraph_Enreg->Definir_Maximum(1, apres);
    }
    if (!List_Numerique->isHidden())
        for (int i = 0; i < Nb_Voies_Enreg; ++i)
            if (Voie_Cochee(i)) Remplit_Tableau_Numerique(i);
}

void Frm_Enreg_Forme::Cmd_Zoom_Initial_Click() {
    const Date debut = Donnees_Reponse.Date_Debut;
    CWGraph_Enreg->Definir_Plage(1, debut, Donnees_Reponse.Date_Fin > debut ? Donnees_Reponse.Date_Fin : debut + 1);
    CWGraph_Enreg->Definir_Plage(2, -50, 150);
    Check_Option_Seuil->setChecked(false);
    Init_Axes_Graphe();
    Actualise_Echelles();
}

void Frm_Enreg_Forme::Init_Axes_Graphe() {
    CWGraph_Enreg->Ajuster_Aux_Donnees(1);
    CWGraph_Enreg->Ajuster_Aux_Donnees(2);
    const double m = CWGraph_Enreg->Minimum(2), M = CWGraph_Enreg->Maximum(2);
    const double bas = m - 0.2 * std::fabs(M + std::fabs(m));
    CWGraph_Enreg->Definir_Minimum(2, bas);
    const double haut = M + 0.2 * std::fabs(M + std::fabs(bas));
    CWGraph_Enreg->Definir_Maximum(2, haut);
    // A power cut or an inhibited value lifts the top far above the measures.
    if (haut >= 1490) CWGraph_Enreg->Definir_Plage(2, -50, 150);
}

void Frm_Enreg_Forme::Remplit_Combo_Voies() {
    Cmb_Choix_Voies->clear();
    int k = 0;
    for (int i = 0; i < Nb_Voies_Enreg; ++i) {
        if (!Voie_Cochee(i)) continue;
        Cmb_Choix_Voies->insertItem(k, Check_Voie[static_cast<size_t>(i)]->text());
        Cmb_Choix_Voies->setCurrentIndex(k);
        ++k;
    }
}

// ------------------------------------------------------------ colours, leaving, printing support

void Frm_Enreg_Forme::Cmd_Choix_Couleur_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(Cmd_Choix_Couleur.size())) return;
    QPushButton* bouton = Cmd_Choix_Couleur[static_cast<size_t>(Index)];
    Couleur c = ostrel::Couleur_Fond(bouton);
    if (!Boites().ShowColor(c, QStringLiteral("Choix de la couleur d'une courbe"))) return;
    CWGraph_Enreg->Couleur_Ligne(Index + 1, c);
    Couleur_Fond_Pleine(bouton, c);
    Tab_Couleur_Courbe[static_cast<size_t>(Index)] = c;
}

void Frm_Enreg_Forme::Cmd_Quitter_Click() {
    if (Donnees_Fichier == Faux &&
        Boites().MsgBox(QStringLiteral("Voulez vous quitter l'écran des courbes ? Annuler si vous n'avez pas "
                                       "sauvegardé les courbes."),
                        vbOKCancel) != vbOK)
        return;
    Retour_Menu_Enreg();
}

void Frm_Enreg_Forme::Retour_Menu_Enreg() { Liaison_Ecran(Ecran_Courant, QStringLiteral("Menu Enregistrements"), Faux); }

void Frm_Enreg_Forme::Masque_Controles_Impression(bool visible) {
    for (int i = 0; i < Nb_Voies_Enreg; ++i) {
        Check_Voie[static_cast<size_t>(i)]->setVisible(visible);
        Cmd_Choix_Couleur[static_cast<size_t>(i)]->setVisible(visible);
    }
    for (QWidget* w : {static_cast<QWidget*>(Chk_Tableau), static_cast<QWidget*>(Cmd_Sauvegarder),
                       static_cast<QWidget*>(Cmd_Imprimer), static_cast<QWidget*>(Cmd_Quitter),
                       static_cast<QWidget*>(Cmd_Zoom_Initial), static_cast<QWidget*>(Shape_Controle),
                       static_cast<QWidget*>(Lbl_Date_Deb), static_cast<QWidget*>(Msk_Date_Debut),
                       static_cast<QWidget*>(Lbl_Echel_Min), static_cast<QWidget*>(Msk_Date_Fin),
                       static_cast<QWidget*>(Lbl_Date_Fin), static_cast<QWidget*>(Lbl_Echel_Max),
                       static_cast<QWidget*>(Txt_Echel_Min), static_cast<QWidget*>(Txt_Echel_Max),
                       static_cast<QWidget*>(Check_Option_Curseur), static_cast<QWidget*>(Check_Option_Seuil),
                       static_cast<QWidget*>(Cmb_Choix_Voies), static_cast<QWidget*>(Lbl_Coordonnee_Curseur)})
        w->setVisible(visible);
}

}  // namespace ostrel
