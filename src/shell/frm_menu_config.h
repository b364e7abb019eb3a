#pragma once
// The configuration menu "Configuration": channel settings, module settings,
// bridge settings, and back to the home screen. Reached through the password.
#include "shell/forme_menu.h"

namespace ostrel {

class Frm_Menu_Config_Forme : public Forme_Menu {
    Q_OBJECT
public:
    Frm_Menu_Config_Forme();

    void Form_Load() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    void Cmd_Menu1_Click() override;
    void Cmd_Menu2_Click() override;
    void Cmd_Menu3_Click() override;
    void Cmd_Quitter_Click() override;
};

}  // namespace ostrel
