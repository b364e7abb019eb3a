#pragma once
// The screen "Purger": asks the operator to confirm that a module's memory is
// to be erased, then erases it. From the journal screen it erases the alarm
// journal; from the channel settings screen it sends the channel table first,
// then erases the recordings. It leaves as "Purger" & "OUI" (done) or
// "Purger" & "NON" (refused), back to the screen it came from.
#include <QString>

#include "platform/ui/forme.h"

class QLabel;
class QPushButton;

namespace ostrel {

class Frm_Purger_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Purger_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Cmd_Non_Click();
    void Cmd_Oui_Click();

    // The design size of the window, in pixels; it is centred over the dashboard.
    static constexpr int Largeur_Dessin = 640;
    static constexpr int Hauteur_Dessin = 280;

private:
    void Retour();
    void Sortie_Erreur();

    QLabel *Lbl_Titre, *Lbl_Texte;
    QPushButton *Cmd_Oui, *Cmd_Non;
    bool en_cours_ = false;  // "Oui" has been given: no choice any more
};

}  // namespace ostrel
