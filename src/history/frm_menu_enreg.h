#pragma once
// The recordings menu "Menu Enregistrements": the choice of a module and of
// the source of its recordings (the module's memory between two dates or
// whole, or a recordings file), the download or the reading of the file into
// the shared recordings table, and the hand-over to the viewer.
#include <QString>

#include "platform/ui/forme.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ostrel {

class Minuterie;

class Frm_Menu_Enreg_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Menu_Enreg_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    void Cmd_OK_Click();
    void Cmd_Annuler_Click();
    void Cmb_Choix_Ostrelclim_Click();
    void Opt_Lecture_OC_Click();
    void Opt_All_Enreg_Click();
    void Opt_Lecture_Fichier_Click();
    void Timer1_Timer();

    // Loads from the chosen source; false when nothing came that the viewer
    // could show (a file whose head could not be read).
    bool Charge_Enregistrements();
    void Active_Menu_Enreg(bool actif);

    QGroupBox* Frame_Fenetre;
    QLabel *Lbl_Question, *Lbl_Du, *Lbl_Au;
    QComboBox* Cmb_Choix_Ostrelclim;
    QRadioButton *Opt_Lecture_OC, *Opt_All_Enreg, *Opt_Lecture_Fichier;
    QLineEdit *Msk_Date_Debut, *Msk_Date_Fin;
    QPushButton *Cmd_OK, *Cmd_Annuler;
    Minuterie* Timer1;

private:
    void Dates_Visibles(bool visibles);
    QString fichier_;  // the file chosen in CmnDial_Ouvrir
};

// What a download leaves when the recordings table is full.
inline const QString Texte_Table_Pleine =
    QStringLiteral("La mémoire des enregistrements est pleine : seuls les 516098 premiers points ont été "
                   "téléchargés, les suivants ne seront pas affichés.");

}  // namespace ostrel
