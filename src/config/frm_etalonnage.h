#pragma once
// The calibration dialog: the offset of one channel (Num_Voie_Etalonnage) of
// the current module, set while the channel's live measure shows beside it.
// The module applies the offset itself: the measure it returns is corrected,
// and the dialog shows the uncorrected one by taking the PC's offset away.
// A window of its own over the dashboard, which stays disabled with the
// channel settings screen until the dialog closes.
#include "platform/types.h"
#include "platform/ui/forme.h"

class QLabel;
class QPushButton;

namespace ostrel {

class Boite_Numerique;
class Minuterie;

class Frm_Etalonnage_Forme : public Forme {
    Q_OBJECT
public:
    explicit Frm_Etalonnage_Forme(QWidget* proprietaire = nullptr);

    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    void Tmr_Mesure_Instant_Timer();
    void Cmd_Appliquer_Click();
    void Cmd_OK_Click();
    void Cmd_Annuler_Click();
    void Txt_Offset_KeyPress(int& KeyAscii);

    Minuterie* Tmr_Mesure_Instant() const { return tmr_mesure_instant_; }

    static const QString Texte_Voie_Invalide;

protected:
    void closeEvent(QCloseEvent* evenement) override;

private:
    void Affiche_Mesure_Instantanee();
    void Envoi_Offset_Voie(Octet voie);
    void Lecture_Offset_Voie(Octet voie);
    void Pas_De_Reponse();
    Octet Voie() const;
    Simple& Offset_Table() const;
    void Disposition_Message(bool message);

    QLabel *Label_Patientez, *Lbl_Mes_Inst, *Lbl_Val_Final, *Lbl_Mesure, *Label1, *Lbl_Mesure_C;
    Boite_Numerique* Txt_Offset;
    QPushButton *Cmd_OK, *Cmd_Annuler, *Cmd_Appliquer;
    Minuterie* tmr_mesure_instant_;
};

}  // namespace ostrel
