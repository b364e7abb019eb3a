#pragma once
// The consultation menu "Consultation": live measures, alarm journal,
// recordings, and back to the home screen.
#include "shell/forme_menu.h"

namespace ostrel {

class Frm_Menu_Consultation_Forme : public Forme_Menu {
    Q_OBJECT
public:
    Frm_Menu_Consultation_Forme();

    void Form_Load() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    void Cmd_Menu1_Click() override;
    void Cmd_Menu2_Click() override;
    void Cmd_Menu3_Click() override;
    void Cmd_Quitter_Click() override;
};

}  // namespace ostrel
