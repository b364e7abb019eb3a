#include "shell/frm_menu_config.h"

#include <QPushButton>

#include "link/donnees.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/ui/touches.h"

namespace ostrel {

Frm_Menu_Config_Forme::Frm_Menu_Config_Forme()
    : Forme_Menu(QStringLiteral("Frm_Menu_Config"),
                 {QStringLiteral("Paramétrage Voie"), QStringLiteral("Paramétrage  Module"),
                  QStringLiteral("Paramétrage Netrove"), QStringLiteral("Retour")}) {}

void Frm_Menu_Config_Forme::Form_Load() {
    Placer_Sur_Zone_Fille();
    Octet aucun = 0;
    Frm_Menu1().Init_Label_OC(aucun);
    Frm_Menu1().Lbl_Nom_Menu(QStringLiteral("Configuration"));
    cmd_menu3_->setText(QStringLiteral("Paramétrage Netrove"));
}

void Frm_Menu_Config_Forme::Form_KeyUp(int& KeyCode, int) {
    switch (KeyCode) {
    case 86: Cmd_Menu1_Click(); break;  // V
    case 77: Cmd_Menu2_Click(); break;  // M
    case 78: Cmd_Menu3_Click(); break;  // N
    case 82:                            // R
    case 81:                            // Q
    case Touche::Echap: Cmd_Quitter_Click(); break;
    default: break;
    }
}

void Frm_Menu_Config_Forme::Cmd_Menu1_Click() {
    Num_Module = 1;
    Num_Voie_Affichee = 0;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Réglages des voies"), Faux);
    Erreur_Vers_Problemes_Liaison();
}

void Frm_Menu_Config_Forme::Cmd_Menu2_Click() {
    Num_Module = 1;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Réglages Module"), Faux);
    Erreur_Vers_Problemes_Liaison();
}

void Frm_Menu_Config_Forme::Cmd_Menu3_Click() {
    if (Frm_Menu1().Caption_Lbl_OC(0) == Module_Non_Connecte) {
        Boites().MsgBox(Module_Non_Connecte);
        return;
    }
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Réglages Netrove"), Faux);
    Erreur_Vers_Problemes_Liaison();
}

void Frm_Menu_Config_Forme::Cmd_Quitter_Click() { Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux); }

}  // namespace ostrel
