#pragma once
// The software options screen "Options Logicielles": serial port of the
// module bus, installation name, administrator password, font of every screen
// and the colours of the screens and of the dashboard banner. Opening it
// probes the 16 serial ports; the choices stay pending until "Appliquer" or
// "OK" put them in force, write the options file and restyle the dashboard.
#include <QString>

#include "options/options_logicielles.h"
#include "platform/types.h"
#include "platform/ui/forme.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ostrel {

class Apercu_Couleur;
class Etiquette_Cliquable;

class Frm_Options_Logicielles_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Options_Logicielles_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    void Cmd_Appliquer_Click();
    void Cmd_OK_Click();
    void Cmd_Annuler_Click();
    void Lbl_Choix_Couleur_Police_Click();
    void Lbl_Choix_Couleur_Fenetre_Click();
    void Lbl_Choix_Couleur_Cadre_Click();
    void Lbl_Choix_Couleur_Police_Bandeau_Click();
    void Lbl_Choix_Couleur_Cadre_Bandeau_Click();
    void Lbl_Choix_Couleur_Fond_Bandeau_Click();
    void Lbl_Police_Click();
    void Lbl_Choix_Police_Click();
    void Cmd_Defaut_Click();
    void Cmd_Psw_Admin_Click();
    void Txt_Nom_Install_KeyPress(int& KeyAscii);

    // Pending choices: they live while the screen is loaded.
    QString Police_En_Attente;
    Jeu_Couleurs Couleurs_En_Attente{};

private:
    void Test_Port_Com(Entier port, bool& ok);
    void Index_Port_Liste(Octet port, Octet& position);
    void Affiche_Apercu_Couleurs();
    // Lbl_Police names the pending font, drawn in it.
    void Affiche_Police_En_Attente();
    // The colour dialog preset with `preset`; its answer, or the preset when
    // closed without a choice, becomes the pending colour of `rang` and fills
    // `apercu`.
    Couleur Choisir_Couleur(Rang_Couleur rang, Couleur preset, Apercu_Couleur* apercu);
    // The port of the entry selected in the list; 0 when none is.
    Octet Port_Selectionne() const;

    QGroupBox *frame_nom_installation_, *frame_choix_port_, *frame_couleur_;
    QLineEdit* txt_nom_install_;
    QPushButton *cmd_psw_admin_, *cmd_defaut_, *cmd_appliquer_, *cmd_ok_, *cmd_annuler_;
    QLabel* lbl_commentaire_choix_port_;
    QComboBox* cmb_choix_port_;
    Etiquette_Cliquable *lbl_choix_couleur_police_, *lbl_choix_couleur_fenetre_, *lbl_choix_couleur_cadre_,
        *lbl_choix_couleur_police_bandeau_, *lbl_choix_couleur_cadre_bandeau_, *lbl_choix_couleur_fond_bandeau_,
        *lbl_choix_police_, *lbl_police_;
    Apercu_Couleur *pic_couleur_police_, *pic_couleur_fenetre_, *pic_couleur_cadre_, *pic_couleur_police_bandeau_,
        *pic_couleur_cadre_bandeau_, *pic_couleur_fond_bandeau_;
};

}  // namespace ostrel
