#pragma once
// The home screen "Accueil": the way to the consultation menu, to the
// configuration menu and the software options (through the password), and
// the exit of the program.
#include <QPixmap>

#include "platform/ui/forme.h"

class QLabel;
class QPushButton;

namespace ostrel {

// Puts the picture shipped with the program at that path when no file is there.
void Installer_Image_Accueil(const QString& chemin);

class Frm_Accueil_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Accueil_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    void Cmd_Menu1_Click();
    void Cmd_Menu2_Click();
    void Cmd_Menu3_Click();
    void Cmd_Quitter_Click();

private:
    QPushButton *cmd_menu1_, *cmd_menu2_, *cmd_menu3_, *cmd_quitter_;
    QLabel *label_nom_logiciel_, *picture_accueil_;
    QPixmap image_;
};

}  // namespace ostrel
