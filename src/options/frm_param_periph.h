#pragma once
// The bridge settings screen "Réglages Netrove": the settings the network
// bridge (slave address 1) keeps in its own memory for e-mailing the
// modules' data files. Three tabs: the recipients, the data-file name of each
// module and the frequency; the provider connection; the bridge's own access.
// The load reads every setting from the bridge, OK writes them all back
// framed by the mode command, Imprimer prints what the fields hold. Nothing
// is kept on disk.
#include <QString>
#include <array>
#include <vector>

#include "platform/types.h"
#include "platform/ui/forme.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace ostrel {

class Frm_Param_Periph_Forme : public Forme {
    Q_OBJECT
public:
    Frm_Param_Periph_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Executer(const QString& operation) override;

    void TabStrip_Click();
    void Cmd_OK_Click();
    void Cmd_Annuler_Click();
    void Cmd_Imprimer_Click();
    void Imprimer_Param_Periph();

    // The data-file name of each entry of the module list, entry k for item k.
    std::array<QString, 32> Noms_Fichiers_Envoi;

    // The four fields of an address, elements 0 to 3 (empty before the load
    // creates elements 1 to 3).
    enum Famille_Octets { Octets_IP, Octets_Passerelle, Octets_Serveur, Octets_Masque };

private:
    void Lecture_Parametres_Periph();
    // false when the write did not run to its end: a link failure (the
    // navigator has left for "Problèmes Liaison", Code_Erreur is set) or an
    // address field that holds no octet (nothing was sent).
    bool Ecriture_Parametres_Periph();
    void Sortie_Echec_Liaison();

    void Creer_Controles();
    QLineEdit* Nouvel_Octet(Famille_Octets famille, int index);
    void Octet_KeyUp(QLineEdit* champ);
    std::vector<QLineEdit*>& Octets(Famille_Octets famille);
    // Address read from the bridge into the four fields, and back.
    void Afficher_Octets(Famille_Octets famille, const std::array<Octet, 4>& adresse);
    void Lire_Octets(Famille_Octets famille, std::array<Octet, 4>& adresse);
    // First address field whose text is no octet 0..255 (an empty one counts as "0").
    QLineEdit* Octet_Invalide();
    void Cmb_Choix_Ostrelclim_Click();
    void Txt_Nom_Fichier_Change();
    // Empty text: "0" put into the field first.
    static QString Texte_Ou_Zero(QLineEdit* champ);

    QTabBar* tabstrip_;
    QGroupBox *frame_param_envoie_email_, *frame_info_serveur_mail_, *frame_param_netrove_;
    QGroupBox *frame_adr_email_, *frame_nom_fichier_, *frame_frequence_email_;
    std::vector<QLabel*> lbl_adre_e_mail_;
    std::vector<QLineEdit*> txt_adre_email_;
    QComboBox* cmb_choix_ostrelclim_;
    QLineEdit* txt_nom_fichier_;
    QLabel* lbl_defaut_extention_;
    QRadioButton *opt_frequence_jour_, *opt_frequence_semaine_, *opt_freqence_mois_;

    QGroupBox *frame_telephone_, *frame_login_, *frame_password_, *frame_adr_smtp_, *frame_adr_email_emetteur_,
        *frame_adr_ip_serveur_mail_, *frame_adr_ip_passerelle_, *frm_masque_ss_reseau_;
    QLineEdit *txt_num_tel_, *txt_login_, *txt_password_, *txt_smtp_, *txt_adr_email_emetteur_;
    std::vector<QLineEdit*> txt_adr_ip_serveur_, txt_adr_ip_gateway_, txt_masque_, txt_adr_ip_;

    QGroupBox *frame_acces_reseau_, *frame_adr_ip_netrove_, *frame_login_psw_netrove_, *frame_login_netrove_,
        *frame_psw_netrove_, *frame_parm_stor_netrove_, *frame_parm_stor_2_netrove_;
    QRadioButton *opt_acces_modem_, *opt_acces_intranet_;
    QLineEdit *txt_login_netrove_, *txt_psw_netrove_;
    std::array<QRadioButton*, 4> opt_relais_1_{}, opt_relais_2_{};

    QPushButton *cmd_imprimer_, *cmd_ok_, *cmd_annuler_;
};

}  // namespace ostrel
