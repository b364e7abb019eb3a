#pragma once
// The program's forms in the registry, the screens still to come as
// placeholders, the please-wait window and the program's window.
#include <QString>

#include "platform/ui/forme.h"

class QLabel;
class QPushButton;

namespace ostrel {

class Registre_Formes;

// Style and default font of the program's windows and boxes.
void Configurer_Application();

// Registers every form of the program. The dashboard, once created, becomes
// the parent of all the others.
void Enregistrer_Formes(Registre_Formes& registre);

// A screen of a later version: its name as title, a line saying so, and a
// "Retour" button back to the screen the operator came from.
class Ecran_A_Venir : public Forme {
    Q_OBJECT
public:
    Ecran_A_Venir(const QString& forme, const QString& titre);
    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Cmd_Retour_Click();

private:
    QString ecran_;
    QLabel *lbl_titre_, *lbl_message_;
    QPushButton* cmd_retour_;
};

// The small please-wait window, centred over the dashboard.
class Frm_Patientez_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Patientez_Forme();
    void Form_Load() override;
    void Form_Resize() override;

private:
    QLabel *lbl_titre_, *lbl_patientez_;
};

}  // namespace ostrel
