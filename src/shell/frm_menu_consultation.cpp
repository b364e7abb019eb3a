#include "shell/frm_menu_consultation.h"

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

Frm_Menu_Consultation_Forme::Frm_Menu_Consultation_Forme()
    : Forme_Menu(QStringLiteral("Frm_Menu_Consultation"),
                 {QStringLiteral("Visualisation mesures"), QStringLiteral("Journal des alarmes"),
                  QStringLiteral("Enregistrements"), QStringLiteral("Retour")}) {}

void Frm_Menu_Consultation_Forme::Form_Load() {
    Placer_Sur_Zone_Fille();
    Frm_Menu1().Lbl_Nom_Menu(QStringLiteral("Consultation"));
    Octet aucun = 0;
    Frm_Menu1().Init_Label_OC(aucun);
}

void Frm_Menu_Consultation_Forme::Form_KeyUp(int& KeyCode, int) {
    // Each button's letter is the first one of its caption.
    auto lettre = [KeyCode](const QPushButton* b) {
        const QString c = b->text();
        return !c.isEmpty() && c.at(0).unicode() == KeyCode;
    };
    if (lettre(cmd_menu1_))
        Cmd_Menu1_Click();
    else if (lettre(cmd_menu2_))
        Cmd_Menu2_Click();
    else if (lettre(cmd_menu3_))
        Cmd_Menu3_Click();
    else if (lettre(cmd_quitter_) || KeyCode == 81 || KeyCode == Touche::Echap)
        Cmd_Quitter_Click();
}

void Frm_Menu_Consultation_Forme::Cmd_Menu1_Click() {
    Tableau_Bord& tableau = Frm_Menu1();
    if (tableau.Caption_Lbl_OC(0) == Module_Non_Connecte) {
        Boites().MsgBox(QStringLiteral("Action impossible car aucun module n'est connecté"));
        return;
    }
    // The bus is searched again and the measures start on the first module.
    Code_Erreur = 0;
    tableau.Init_Tab_Fonctionnement_OC();
    Num_Module = 1;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Mesures"), Faux);
    Erreur_Vers_Problemes_Liaison();
}

void Frm_Menu_Consultation_Forme::Cmd_Menu2_Click() {
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Journal des alarmes"), Faux);
    Erreur_Vers_Problemes_Liaison();
}

void Frm_Menu_Consultation_Forme::Cmd_Menu3_Click() {
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Menu Enregistrements"), Faux);
    Erreur_Vers_Problemes_Liaison();
}

void Frm_Menu_Consultation_Forme::Cmd_Quitter_Click() { Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux); }

}  // namespace ostrel
