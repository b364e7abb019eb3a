#pragma once
// The password window "Mot de passe". In check mode (opened from the home
// screen) it guards the configuration menu and the software options; in
// change mode (opened by the software options screen) it changes the
// administrator password in three steps: old, new, confirmation. Its caption
// is both the prompt and the state of a change.
#include <QString>

#include "platform/types.h"
#include "platform/ui/forme.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ostrel {

// The last check accepted a password (check mode only).
extern Booleen Mdp_Correct;

// The maintenance password of the current month, accepted wherever the
// administrator password is.
QString Mdp_Maintenance();

class Frm_Psw_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Psw_Forme();

    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    // Enter (13) validates, Esc (27) closes.
    void Txt_PSW_KeyUp(int& KeyCode, int Shift);
    void Cmd_OK_Click();
    void Cmd_Annuler_Click();

    QString Caption() const { return windowTitle(); }
    QString Mode_Psw;
    QString Nouveau_Mdp;

private:
    void Caption(const QString& texte);
    void Fermer();

    QLabel* barre_titre_;
    QLineEdit* txt_psw_;
    QPushButton *cmd_ok_, *cmd_annuler_;
};

}  // namespace ostrel
