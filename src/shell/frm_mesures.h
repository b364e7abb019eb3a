#pragma once
// The live measurement screen "Mesures": one row per channel of the current
// module (number, name, measure, unit, low and high thresholds, alarm state).
// A 100 ms sweep reads one channel per tick (measure, then alarm state), pass
// after pass; a 1.5 s blink alternates red and green on the rows whose alarm
// is pending. The screen also prints the instant measures and acknowledges
// the module's alarms with one of its four access codes.
//
// Row controls are arrays indexed by the 0-based row. Element i of an array
// has the objectName "<name>_<i>" ("Lbl_Mesure_3", "Lbl_Unité_Mes_0",
// "Picture_Voie_15") and the dynamic property "Index" = i; the accessors
// below give them by index. Every other control keeps its own name.
#include <QString>
#include <vector>

#include "platform/types.h"
#include "platform/ui/forme.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ostrel {

class Minuterie;

// Row being polled (0-based); also the row couleur_label and
// Couleur_Labels_Voie act on.
extern Octet Voie_Courante;
// Return to the consultation menu requested.
extern Booleen Demande_Quitter_Mesures;

class Frm_Mesures_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Mesures_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

    // One step of the sweep.
    void Boucle_infinie();
    // Colour of the measure and state labels of row Voie_Courante from
    // Donnees_Reponse.Etat_Voie: red for an alarm, green otherwise.
    void couleur_label();

    void Cmd_Retour_Click();
    void Cmd_Imprimer_Click();
    void Cmd_Acquitter_Click();
    void Txt_Code_Acce_Change();
    void Tmr_Temps_Reel_Timer();
    void Tmr_Blink_Timer();

    // Form-level fields.
    Entier Nb_Voies = 0;
    Booleen Demande_Impression = Faux;
    Couleur Couleur_Normale = 0;

    // Controls. Row accessors give nullptr for a row not built.
    int Nb_Rangees() const { return static_cast<int>(rangees_.size()); }
    QWidget* Picture_Voie(int i) const;
    QLabel* Lbl_NumeroVoie(int i) const;
    QLabel* Lbl_NomVoie(int i) const;
    QLabel* Lbl_Mesure(int i) const;
    QLabel* Lbl_Unite_Mes(int i) const;
    QLabel* Lbl_SeuilBas(int i) const;
    QLabel* Lbl_SeuilHaut(int i) const;
    QLabel* Lbl_Alarme(int i) const;
    QGroupBox* Frame_Fenetre_Generale() const { return frame_fenetre_generale_; }
    QGroupBox* Frame_Code_Acce() const { return frame_code_acce_; }
    QLineEdit* Txt_Code_Acce() const { return txt_code_acce_; }
    Minuterie* Tmr_Temps_Reel() const { return tmr_temps_reel_; }
    Minuterie* Tmr_Blink() const { return tmr_blink_; }

protected:
    void showEvent(QShowEvent* evenement) override;

private:
    struct Rangee {
        QWidget* Picture_Voie;
        QLabel *Lbl_NumeroVoie, *Lbl_NomVoie, *Lbl_Mesure, *Lbl_Unite_Mes, *Lbl_SeuilBas, *Lbl_SeuilHaut, *Lbl_Alarme;
    };

    void Retour_Consultation();
    void Couleur_Labels_Voie(Couleur couleur);
    Rangee& Charger_Rangee(int i);
    void Placer_Rangee(int i);
    void Placer_Rangees();
    QLabel* Libelle(int i, QLabel* Rangee::*membre) const;
    void Police_Rangee(const Rangee& r);
    // Back to the keyboard shortcuts once a box or the dashboard took the focus.
    void Reprendre_Focus();
    void Vers_Problemes_Liaison();

    std::vector<Rangee> rangees_;
    QGroupBox *frame_fenetre_generale_, *frame_code_acce_;
    QWidget* picture_titre_;
    QLabel *lbl_titre_mesure_, *lbl_titre_seuil_bas_, *lbl_titre_seuil_haut_, *lbl_titre_alarme_;
    QPushButton *cmd_retour_, *cmd_imprimer_, *cmd_acquitter_;
    QLineEdit* txt_code_acce_;
    Minuterie *tmr_temps_reel_, *tmr_blink_;
    bool relachement_code_attendu_ = false;
};

}  // namespace ostrel
