#pragma once
// The channel settings screen "Réglages des voies": one tab per channel of
// the current module over the PC copy of its channel table
// (Tab_Parametres_Voies), imported from the module or made of defaults, with
// the rules that tie a channel's settings together, and the ways to send the
// table (through the purge screen), save, restore and print it, and to
// calibrate the channel on show.
#include <QString>
#include <vector>

#include "platform/types.h"
#include "platform/ui/forme.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace ostrel {

class Boite_Numerique;
struct Dialogue_Fichier;

class Frm_Param_Voies_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Param_Voies_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    // Number of channels (tabs) the screen handles, and whether a calibration
    // was asked for since the screen was loaded.
    Octet Nb_Voies_Affichees = 0;
    Booleen Etalonnage_Demande = Faux;

    void Creation_Tableau_Parametres_Defaut();
    void Importer_Config_Ostrelclim();

    // Commands.
    void Cmd_Importer_Click();
    void Cmd_Telecharger_Click();
    void Cmd_Sauvegarder_Click();
    void Cmd_Ouvrir_Click();
    void Cmd_Imprimer_Click();
    void Check_Etalonnage_Click();
    void Cmd_Quitter_Click();

    // Showing a channel and the enabling groups.
    void Affiche_Parametres_Voie(Entier i);
    void Active_Controles_Voie(bool actif);
    void Active_Controles_Alarme(bool actif);

    // Editing rules, one per control.
    void Opt_Oui_Click();
    void Opt_Non_Click();
    void Opt_AD590_Click();
    void Opt_4_20_Click();
    void Opt_ETOR_Click();
    void Opt_Type_Contact_NF_Click();
    void Opt_Type_Contact_NO_Click();
    void Opt_Role_ETOR_Alarm_Click();
    void Opt_Role_ETOR_Inhib_Click();
    void Opt_Alarm_Oui_Click();
    void Opt_Alarm_Non_Click();
    void Opt_Buzzer_Oui_Click();
    void Opt_Buzzer_Non_Click();
    void Opt_Relais_1_Click();
    void Opt_Relais_2_Click();
    void Opt_Inhib_Alarm_Oui_Click();
    void Opt_Inhib_Alarm_Non_Click();
    void Cmb_Num_ETOR_Inhib_Alarm_Click();
    void Opt_Inhib_Enreg_Oui_Click();
    void Opt_Inhib_Enreg_Non_Click();
    void Cmb_Num_ETOR_Inhib_Enreg_Click();
    void Opt_Inhib_Alarm_Planning_Oui_Click();
    void Opt_Inhib_Alarm_Planning_Non_Click();
    void Cmb_Num_Planning_Inhib_Click();
    void Cmb_Unite_Click();
    void Txt_Per_Enreg_Change();
    void Txt_Tempo_Alarm_Change();
    void Txt_Seuil_Haut_Change();
    void Txt_Seuil_Bas_Change();
    void Txt_Echel_4_Change();
    void Txt_Echel_20_Change();
    void Txt_Nom_Voie_Change();
    void Txt_Nom_Voie_Click();
    void Txt_Nom_Voie_KeyPress(int& KeyAscii);
    void TabStrip_Voies_Click();

private:
    void Creer_Controles();
    void Construire_Onglets();
    bool Module_Connecte() const;
    void Preparer_Dialogue(Dialogue_Fichier& dialogue, const QString& titre) const;
    void Remplir_Liste_ETOR(QComboBox* liste);
    // Shows the controls of one sensor kind (0 AD590, 1 4-20 mA, 2 ETOR) and hides the others'.
    void Montrer_Controles_Nature(Octet nature);
    // Selects an option; its rule runs when the option was not selected yet.
    static void Selectionner(QRadioButton* option);
    void Poser_Valeur(Boite_Numerique* boite, double valeur, void (Frm_Param_Voies_Forme::*regle)());
    bool Enregistrement_Affiche() const;

    QLabel* Lbl_Nom_Ostrelclim;
    QTabBar* TabStrip_Voies;
    QWidget* Pic_Voie;  // the page under the tabs

    QGroupBox* Frame_Service;
    QRadioButton *Opt_Oui, *Opt_Non;
    QGroupBox* Frame_Voie;
    QLabel *Lbl_Nom_Voie, *Lbl_Per_Enreg;
    QLineEdit* Txt_Nom_Voie;
    Boite_Numerique* Txt_Per_Enreg;
    QGroupBox* Frame_Nature_Capteur;
    QRadioButton *Opt_AD590, *Opt_4_20, *Opt_ETOR;
    QPushButton* Check_Etalonnage;
    QLabel *Lbl_Echel_4, *Lbl_Echel_20, *Lbl_Unite;
    Boite_Numerique *Txt_Echel_4, *Txt_Echel_20;
    QComboBox* Cmb_Unite;
    QGroupBox* Frame_Type_ETOR;
    QRadioButton *Opt_Type_Contact_NF, *Opt_Type_Contact_NO;
    QGroupBox* Frame_Role_Etor;
    QRadioButton *Opt_Role_ETOR_Alarm, *Opt_Role_ETOR_Inhib;
    QGroupBox* Frame_Inhibtion_Enreg;
    QRadioButton *Opt_Inhib_Enreg_Oui, *Opt_Inhib_Enreg_Non;
    QComboBox* Cmb_Num_ETOR_Inhib_Enreg;
    QGroupBox* Frame_Alarm_Service;
    QRadioButton *Opt_Alarm_Oui, *Opt_Alarm_Non;
    QLabel *Lbl_Seuil_Haut, *Lbl_Seuil_Bas, *Lbl_Tempo_Alarm;
    Boite_Numerique *Txt_Seuil_Haut, *Txt_Seuil_Bas, *Txt_Tempo_Alarm;
    QGroupBox* Frame_Declench_Relais;
    QRadioButton *Opt_Relais_1, *Opt_Relais_2;
    QGroupBox* Frame_Buzzer;
    QRadioButton *Opt_Buzzer_Oui, *Opt_Buzzer_Non;
    QGroupBox* Frame_Inhibition_Alarm;
    QRadioButton *Opt_Inhib_Alarm_Oui, *Opt_Inhib_Alarm_Non;
    QComboBox* Cmb_Num_ETOR_Inhib_Alarm;
    QGroupBox* Frame_Inhib_Alarm_Planning;
    QRadioButton *Opt_Inhib_Alarm_Planning_Oui, *Opt_Inhib_Alarm_Planning_Non;
    QComboBox* Cmb_Num_Planning_Inhib;
    QPushButton *Cmd_Importer, *Cmd_Telecharger, *Cmd_Sauvegarder, *Cmd_Ouvrir, *Cmd_Imprimer, *Cmd_Quitter;

    // Until the first channel is shown, the controls show no record: their
    // change events must not write into the table.
    bool pret_ = false;
};

}  // namespace ostrel
