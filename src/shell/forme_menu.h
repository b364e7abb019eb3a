#pragma once
// What the consultation and configuration menus share: four buttons in a
// column over the child area (Cmd_Menu1, Cmd_Menu2, Cmd_Menu3, Cmd_Quitter),
// in the screens' font and colours. The key-up of every button reaches the
// form's own handler (key preview), so the shortcuts work whichever button
// has the focus.
#include <QString>
#include <array>

#include "platform/ui/forme.h"

class QPushButton;

namespace ostrel {

class Forme_Menu : public Forme {
    Q_OBJECT
public:
    Forme_Menu(const QString& nom, const std::array<QString, 4>& captions);

    void Form_Resize() override;

    virtual void Cmd_Menu1_Click() = 0;
    virtual void Cmd_Menu2_Click() = 0;
    virtual void Cmd_Menu3_Click() = 0;
    virtual void Cmd_Quitter_Click() = 0;

protected:
    // Over the child area of the dashboard.
    void Placer_Sur_Zone_Fille();
    QPushButton *cmd_menu1_, *cmd_menu2_, *cmd_menu3_, *cmd_quitter_;
};

}  // namespace ostrel
