#pragma once
// The recordings viewer "Enregistrements": the recordings of one module as
// curves against time, one per channel, on the graph CWGraph_Enreg; the
// channel boxes that show or hide them, the alarm thresholds, the cursor and
// its readout, the zoom and the boxes of the shown ranges, the numeric table
// of a channel, the save to a recordings file with the offer to purge the
// module, and the printouts of the table and of the curves.
//
// It finds its input where the recordings menu left it: Tab_Mesures channel
// after channel, Index_Fin_Voie, the date window in Donnees_Reponse, and
// Donnees_Fichier (false: fresh from the module, whose settings and names
// the opening reads; true: from a file).
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "platform/types.h"
#include "platform/ui/forme.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ostrel {

class Graphe_Enreg;
class Liste_Numerique;

class Frm_Enreg_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Enreg_Forme();

    // Opening, layout, keys.
    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Executer(const QString& operation) override;
    void Trace_Courbe_Voie(int n);
    void Lire_Noms_Voies(Octet nombre);

    // Channels, thresholds, cursor, zoom and scales.
    void Check_Voie_Click(int Index);
    void Check_Option_Seuil_Click();
    void Check_Option_Curseur_Click();
    void Cmb_Choix_Voies_Click();
    void CWGraph_Enreg_Curseur_Deplace();
    void CWGraph_Enreg_Zoom();
    void CWGraph_Enreg_Clic_Graphe(double x);
    void Msk_Date_Debut_Valide();
    void Msk_Date_Fin_Valide();
    void Txt_Echel_Min_Change();
    void Txt_Echel_Max_Change();
    void Cmd_Zoom_Initial_Click();
    void Cmd_Choix_Couleur_Click(int Index);
    void Cmd_Quitter_Click();
    void Trace_Seuils_Voie(int n);
    void Efface_Seuils_Voie(int n);
    void Actualise_Echelles();
    void Init_Axes_Graphe();
    void Remplit_Combo_Voies();
    void Retour_Menu_Enreg();
    void Masque_Controles_Impression(bool visible);
    Octet Nombre_Voies_Cochees() const;

    // Numeric table, save and purge offer.
    void Chk_Tableau_Click();
    void Remplit_Tableau_Numerique(int n);
    Long Index_Debut_Periode(int n) const;
    Long Index_Fin_Periode(int n) const;
    void Cmd_Sauvegarder_Click();
    void Propose_Purge_Module();

    // Printouts.
    void Cmd_Imprimer_Tableau_Click();
    // False when the printer refused a page (the fault has been shown).
    // en_attente is set when the printer keeps the pages until the printout
    // ends, whose caller tells them then, and cleared by a fault.
    bool Imprime_Tableau_Numerique(Long premier, Long dernier, int n, bool& en_attente);
    void Cmd_Imprimer_Click();
    void Imprime_Courbes_Par_Page(Octet N);
    void Imprime_Courbes_Meme_Page(Octet N);

    Octet Nb_Voies_Enreg = 0;
    Octet Voie_Curseur = 0;

    // Controls, named as on the screen.
    std::vector<QCheckBox*> Check_Voie;
    std::vector<QPushButton*> Cmd_Choix_Couleur;
    std::vector<QLabel*> Lbl_Legende;
    Graphe_Enreg* CWGraph_Enreg;
    QLabel *Lbl_Date_Deb, *Lbl_Date_Fin, *Lbl_Echel_Min, *Lbl_Echel_Max, *Lbl_Coordonnee_Curseur;
    QLineEdit *Msk_Date_Debut, *Msk_Date_Fin, *Txt_Echel_Min, *Txt_Echel_Max;
    QCheckBox *Check_Option_Curseur, *Check_Option_Seuil, *Chk_Tableau;
    QComboBox* Cmb_Choix_Voies;
    QPushButton *Cmd_Zoom_Initial, *Cmd_Sauvegarder, *Cmd_Imprimer, *Cmd_Quitter, *Cmd_Imprimer_Tableau;
    Liste_Numerique* List_Numerique;
    QFrame* Shape_Controle;

private:
    QCheckBox* Nouvelle_Case_Voie(int i);
    QPushButton* Nouveau_Bouton_Couleur(int i);
    void Placer_Voies();
    void Placer_Graphe();
    bool Voie_Cochee(int i) const;
    void Aspect_Coche(int i, bool cochee);
    void Ecrire_Lecture_Curseur();
    // The date of a date box, or nothing when its text is not one.
    static std::optional<Date> Date_Boite(const QLineEdit* boite);
    // The period of the two date boxes, or nothing when either is not a date.
    bool Periode(Date& d1, Date& d2) const;
    void Preparer_Page();
    void Placer_Page();  // the screen over the printable rectangle of a landscape page
    void Restaurer_Apres_Impression();
    // The screen's picture as a page, ended as a print job of the printout
    // under way; a job that failed is told.
    bool Imprimer_Ecran();

    bool donnees_fichier_ = false;  // the source, as the opening found it
    bool ecriture_echelles_ = false;  // the date boxes are being written from the axis
    // What a curve printout changes and gives back.
    struct Sauvegarde_Impression {
        QRect geometrie;
        Couleur zone = 0, fond_graphe = 0;
        Simple taille_police = 0;
        QString caption;
        Couleur axe_x = 0, axe_y = 0, cadre = 0;
    } avant_impression_;
};

}  // namespace ostrel
