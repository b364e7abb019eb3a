#pragma once
// The module settings screen "Réglages Module" (Frm_Param_OC): the two header
// lines, the logic of the two alarm relays, the 16 alarm-inhibition plannings,
// the four acknowledgement codes with their operator names, and the module's
// clock. It edits the current module's record of Tab_Parametres_Modules in
// place, reads it from and sends it to the module, saves, restores and prints it.
#include <QString>
#include <array>

#include "config/regles_param_oc.h"
#include "files/config_module.h"
#include "platform/dialogues.h"
#include "platform/types.h"
#include "platform/ui/forme.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace ostrel {

class Minuterie;

// The planning shown on the screen, 1..16.
extern Entier Num_Planning;

class Frm_Param_OC_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Param_OC_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Executer(const QString& operation) override;

    // Sends every setting to the module (the form's public method).
    void Configurer_Ostrelclim();

    // Commands.
    void Cmd_Importer_Click();
    void Cmd_Telecharger_Click();
    void Cmd_Imprimer_Click();
    void Cmd_Ouvrir_Click();
    void Cmd_Sauvegarder_Click();
    void Cmd_Quitter_Click();
    void Cmd_Transfert_Date_Click();
    void TabStrip_Num_Planning_Click();
    void Tmr_Seconde_Timer();

    // Edits (the controls call them; tests may too).
    void Txt_Premiere_Ligne_Change();
    void Txt_Deuxieme_Ligne_Change();
    void Msk_Mot_Passe_LostFocus(int Index);
    // Time box of index i (0..15): even indexes are begins, odd ones ends.
    void Msk_Plage_Change(int i);
    void Msk_Plage_LostFocus(int i);

    // Screen state.
    bool Heure_Module_Affichee() const { return heure_module_affichee_; }
    Date Horloge_Module_Affichee() const { return horloge_module_; }
    Couleur Couleur_Texte_Normale() const { return couleur_normale_; }
    Minuterie* Tmr_Seconde() const { return tmr_seconde_; }
    QLineEdit* Msk_Mot_Passe(int index) const { return msk_mot_passe_[static_cast<size_t>(index)]; }
    QLineEdit* Txt_Nom_Passe(int index) const { return txt_nom_passe_[static_cast<size_t>(index)]; }
    QLineEdit* Msk_Plage(int i) const { return plages_[static_cast<size_t>(i)]; }
    QLabel* Lbl_Plage(int i) const { return lbl_plages_[static_cast<size_t>(i)]; }
    // The texts of the code boxes and of the name boxes, in box order.
    Textes_Codes Codes() const;
    Textes_Codes Noms() const;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void Creer_Controles();
    void Importer_Param_Module();
    void Init_Param_Module_Defaut();
    void Affiche_Param_Module();
    void Affiche_Planning();
    void Lecture_Codes_Acquittement();
    void Ecriture_Codes_Acquittement();
    bool Module_Affiche_Connecte() const;
    void Vers_Problemes_Liaison();
    void Progression(int etape);

    // Ranges: colour of the four controls of the range holding time i.
    bool Plage_Rouge(int i) const;
    void Colorer_Plage(int i, Couleur couleur, bool depuis_fin);
    void Appliquer(int i, const Effet_Plage& effet);
    void Texte_Sans_Evenement(QLineEdit* boite, const QString& texte);

    QGroupBox *frame_param_oc_, *frame_entete_, *frame_logique_stor_, *frame_logique_stor1_, *frame_logique_stor2_,
        *lbl_relais1_declenchement_, *lbl_relais1_contact_, *lbl_relais2_declenchement_, *lbl_relais2_contact_,
        *frame_choix_planning_, *frame_semaine_, *frame_weekend_, *frame_psw_acq_, *frame_date_heure_;
    std::array<QGroupBox*, 8> frames_plages_{};  // weekday ranges 1..4, then weekend ranges 1..4
    QLabel *lbl_premiere_ligne_, *lbl_deuxieme_ligne_, *lbl_mot_passe_, *lbl_nom_passe_, *lbl_date_heure_,
        *lbl_date_heure_oc_;
    QLineEdit *txt_premiere_ligne_, *txt_deuxieme_ligne_, *msk_date_heure_, *msk_date_heure_oc_;
    QRadioButton *opt_relais1_impulsionnel_, *opt_relais1_maintenu_, *opt_relais1_nf_, *opt_relais1_no_,
        *opt_relais2_impulsionnel_, *opt_relais2_maintenu_, *opt_relais2_nf_, *opt_relais2_no_;
    QTabBar* tabstrip_num_planning_;
    std::array<QLineEdit*, 16> plages_{};
    std::array<QLabel*, 16> lbl_plages_{};
    std::array<QLineEdit*, 4> msk_mot_passe_{};
    std::array<QLineEdit*, 4> txt_nom_passe_{};
    QPushButton *cmd_importer_, *cmd_telecharger_, *cmd_imprimer_, *cmd_ouvrir_, *cmd_sauvegarder_, *cmd_quitter_,
        *cmd_transfert_date_;
    Minuterie* tmr_seconde_;
    Dialogue_Fichier cmn_dial_save_conf_;

    bool heure_module_affichee_ = false;
    Date horloge_module_ = 0;      // the module clock as shown
    Date horloge_module_lue_ = 0;  // as read from the module
    Date pc_a_la_lecture_ = 0;     // the PC clock at that read
    Couleur couleur_normale_ = 0;
};

}  // namespace ostrel
