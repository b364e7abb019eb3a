#pragma once
// The link-problem screen "Problèmes Liaison": where every screen goes after
// a failed exchange with a module. It names the error, makes the dashboard's
// alarm banner blink with a beep, searches the bus again every eleventh tick
// of its timer and, when the fault arose on the live measures, goes back to
// them by itself as soon as a search finds a module that answers; its OK
// button ends the episode on the home screen.
#include <QString>

#include "platform/types.h"
#include "platform/ui/forme.h"

class QLabel;
class QPushButton;

namespace ostrel {

class Minuterie;

// Text of a link error code; empty for a code that has none.
QString Texte_Erreur_Liaison(Octet code);

class Frm_Pb_Liaison_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Pb_Liaison_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    void Cmd_OK_Click();
    void Timer_Alarme_Timer();

    Minuterie* Timer_Alarme() const { return timer_alarme_; }
    QString Lbl_Type_Erreur() const;
    QString Ecran_En_Erreur;  // the screen shown when the error arose
    Octet Compteur_Alarme = 0;  // ticks since load or since the last retry

private:
    void Affiche_Erreur_Liaison();

    QLabel *barre_titre_, *img_critical_, *lbl_type_erreur_;
    QPushButton* cmd_ok_;
    Minuterie* timer_alarme_;
};

}  // namespace ostrel
