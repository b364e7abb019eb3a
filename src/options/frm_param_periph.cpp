#include "options/frm_param_periph.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "options/controles.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/saisie.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

QLineEdit* Champ(const char* nom, const QString& texte, int longueur, QWidget* parent) {
    auto* champ = Nommer(new QLineEdit(texte, parent), nom);
    champ->setMaxLength(longueur);
    return champ;
}

QRadioButton* Option(const char* nom, const QString& texte, QWidget* parent) {
    return Nommer(new QRadioButton(texte, parent), nom);
}

// Key filter and select-on-click of a field of the 32..122 family and the others.
QLineEdit* Filtre(QLineEdit* champ, int lo, int hi, int supplement = -1) {
    Filtre_Champ(champ, lo, hi, supplement);
    Selection_Sur_Clic(champ);
    return champ;
}

}  // namespace

Frm_Param_Periph_Forme::Frm_Param_Periph_Forme() : Forme(QStringLiteral("Frm_Param_Periph")) { Creer_Controles(); }

void Frm_Param_Periph_Forme::Creer_Controles() {
    tabstrip_ = Nommer(new QTabBar(this), "TabStrip");
    tabstrip_->addTab(QStringLiteral("Paramétrage des adresses Email"));
    tabstrip_->addTab(QStringLiteral("Connexion pour les envois d'Email"));
    tabstrip_->addTab(QStringLiteral("Configuration du Netrove"));
    tabstrip_->setExpanding(false);
    tabstrip_->setDrawBase(false);
    connect(tabstrip_, &QTabBar::currentChanged, this, [this] { TabStrip_Click(); });

    // Tab 1.
    frame_param_envoie_email_ = Cadre(QStringLiteral("Frame_Param_Envoie_Email"), QString(), this);
    frame_adr_email_ = Cadre(QStringLiteral("Frame_Adr_Email"),
                             QStringLiteral("Adresses Email pour l'envoi automatique des fichiers"),
                             frame_param_envoie_email_);
    lbl_adre_e_mail_.push_back(Nommer(new QLabel(frame_adr_email_), "Lbl_Adre_e_mail"));
    txt_adre_email_.push_back(Champ("Txt_Adre_email", QString(), 64, frame_adr_email_));
    lbl_adre_e_mail_[0]->setProperty("Index", 0);
    txt_adre_email_[0]->setProperty("Index", 0);
    frame_nom_fichier_ = Cadre(QStringLiteral("Frame_Nom_Fichier"), QStringLiteral("Nom du fichier pour l'envoi des données"),
                               frame_param_envoie_email_);
    cmb_choix_ostrelclim_ = Nommer(new QComboBox(frame_nom_fichier_), "Cmb_Choix_Ostrelclim");
    cmb_choix_ostrelclim_->setToolTip(QStringLiteral("Choisir l'ostrelclim dans la liste"));
    connect(cmb_choix_ostrelclim_, &QComboBox::currentIndexChanged, this, [this] { Cmb_Choix_Ostrelclim_Click(); });
    txt_nom_fichier_ = Filtre(Champ("Txt_Nom_Fichier", QStringLiteral("0"), 16, frame_nom_fichier_), 48, 122);
    connect(txt_nom_fichier_, &QLineEdit::textChanged, this, [this] { Txt_Nom_Fichier_Change(); });
    lbl_defaut_extention_ = Nommer(new QLabel(QStringLiteral("(.txt)"), frame_nom_fichier_), "Lbl_Defaut_Extention");
    frame_frequence_email_ = Cadre(QStringLiteral("Frame_Frequence_Email"), QStringLiteral("Fréquence des envois Email"),
                                   frame_param_envoie_email_);
    opt_frequence_jour_ = Option("Opt_Frequence_Jour", QStringLiteral("Quotidien"), frame_frequence_email_);
    opt_frequence_semaine_ = Option("Opt_Frequence_Semaine", QStringLiteral("Hebdomadaire"), frame_frequence_email_);
    opt_freqence_mois_ = Option("Opt_Freqence_Mois", QStringLiteral("Mensuel"), frame_frequence_email_);

    // Tab 2.
    frame_info_serveur_mail_ = Cadre(QStringLiteral("Frame_Info_Serveur_Mail"), QString(), this);
    QWidget* t2 = frame_info_serveur_mail_;
    frame_telephone_ = Cadre(QStringLiteral("Frame_Telephone"), QStringLiteral("Numéro de téléphone provider"), t2);
    txt_num_tel_ = Filtre(Champ("Txt_Num_Tél", QStringLiteral("0"), 15, frame_telephone_), 48, 57, 87);
    frame_login_ = Cadre(QStringLiteral("Frame_Login"), QStringLiteral("Login F.A.I."), t2);
    txt_login_ = Filtre(Champ("Txt_Login", QStringLiteral("0"), 32, frame_login_), 32, 122);
    frame_password_ = Cadre(QStringLiteral("Frame_Password"), QStringLiteral("Password F.A.I."), t2);
    txt_password_ = Filtre(Champ("Txt_Password", QStringLiteral("0"), 15, frame_password_), 32, 122);
    frame_adr_smtp_ = Cadre(QStringLiteral("Frame_Adr_SMTP"), QStringLiteral("Adresse SMTP"), t2);
    txt_smtp_ = Filtre(Champ("Txt_SMTP", QStringLiteral("0"), 32, frame_adr_smtp_), 32, 122);
    frame_adr_email_emetteur_ =
        Cadre(QStringLiteral("Frame_Adr_Email_Emetteur"), QStringLiteral("Adresse email de l'émetteur"), t2);
    txt_adr_email_emetteur_ = Champ("Txt_Adr_Email_Emetteur", QStringLiteral("0"), 40, frame_adr_email_emetteur_);
    frame_adr_ip_serveur_mail_ =
        Cadre(QStringLiteral("Frame_Adr_IP_Serveur_Mail"), QStringLiteral("Adresse IP du serveur de nom"), t2);
    frame_adr_ip_passerelle_ =
        Cadre(QStringLiteral("Frame_Adr_IP_Passerelle"), QStringLiteral("Adresse IP de la passerelle"), t2);
    frm_masque_ss_reseau_ = Cadre(QStringLiteral("Frm_Masque_ss_Reseau"), QStringLiteral("Masque de Sous Reseau"), t2);

    // Tab 3.
    frame_param_netrove_ = Cadre(QStringLiteral("Frame_Param_Netrove"), QString(), this);
    QWidget* t3 = frame_param_netrove_;
    frame_acces_reseau_ = Cadre(QStringLiteral("Frame_Acces_Reseau"), QStringLiteral("Accès réseau"), t3);
    opt_acces_modem_ = Option("Opt_Acces_Modem", QStringLiteral("Modem"), frame_acces_reseau_);
    opt_acces_intranet_ = Option("Opt_Acces_Intranet", QStringLiteral("Intranet"), frame_acces_reseau_);
    frame_adr_ip_netrove_ = Cadre(QStringLiteral("Frame_Adr_IP_Netrove"), QStringLiteral("Adresse IP du Netrove"), t3);
    frame_login_psw_netrove_ = Cadre(QStringLiteral("Frame_Login_Psw_Netrove"),
                                     QStringLiteral("Login et password pour la connexion au Netrove"), t3);
    frame_login_netrove_ = Cadre(QStringLiteral("Frame_Login_Netrove"), QStringLiteral("Login Netrove"),
                                 frame_login_psw_netrove_);
    txt_login_netrove_ = Filtre(Champ("Txt_Login_Netrove", QStringLiteral("0"), 16, frame_login_netrove_), 32, 122);
    frame_psw_netrove_ = Cadre(QStringLiteral("Frame_Psw_Netrove"), QStringLiteral("Password Netrove"),
                               frame_login_psw_netrove_);
    txt_psw_netrove_ = Filtre(Champ("Txt_Psw_Netrove", QStringLiteral("0"), 16, frame_psw_netrove_), 32, 122);
    // The relay modes travel with the bridge settings but are not for the
    // operator to see or change.
    frame_parm_stor_netrove_ = Cadre(QStringLiteral("Frame_Parm_Stor_Netrove"),
                                     QStringLiteral("Paramètres du relais 1 de la carte de communication"), t3);
    frame_parm_stor_2_netrove_ = Cadre(QStringLiteral("Frame_Parm_Stor_2_Netrove"),
                                       QStringLiteral("Paramètres du relais 2 de la carte de communication"), t3);
    const char* captions[] = {"Maintenu - NO", "Maintenu - NF", "Impulsionnel - NO", "Impulsionnel - NF"};
    const char* noms_1[] = {"Opt_Maintenu_NO", "Opt_Maintenu_NF", "Opt_Impulsion_NO", "Opt_Impulsion_NF"};
    const char* noms_2[] = {"Opt_Maintenu_NO_2", "Opt_Maintenu_NF_2", "Opt_Impulsion_NO_2", "Opt_Impulsion_NF_2"};
    for (size_t i = 0; i < 4; ++i) {
        opt_relais_1_[i] = Option(noms_1[i], QString::fromLatin1(captions[i]), frame_parm_stor_netrove_);
        opt_relais_2_[i] = Option(noms_2[i], QString::fromLatin1(captions[i]), frame_parm_stor_2_netrove_);
    }
    frame_parm_stor_netrove_->hide();
    frame_parm_stor_2_netrove_->hide();

    // Element 0 of each address; the load adds elements 1 to 3.
    for (Famille_Octets f : {Octets_IP, Octets_Passerelle, Octets_Serveur, Octets_Masque}) Nouvel_Octet(f, 0);

    cmd_imprimer_ = Nommer(new QPushButton(QStringLiteral("Imprimer"), this), "Cmd_Imprimer");
    cmd_ok_ = Nommer(new QPushButton(QStringLiteral("OK"), this), "Cmd_OK");
    cmd_annuler_ = Nommer(new QPushButton(QStringLiteral("Annuler"), this), "Cmd_Annuler");
    connect(cmd_imprimer_, &QPushButton::clicked, this, &Frm_Param_Periph_Forme::Cmd_Imprimer_Click);
    connect(cmd_ok_, &QPushButton::clicked, this, &Frm_Param_Periph_Forme::Cmd_OK_Click);
    connect(cmd_annuler_, &QPushButton::clicked, this, &Frm_Param_Periph_Forme::Cmd_Annuler_Click);

    tabstrip_->setCurrentIndex(0);
    frame_param_envoie_email_->show();
    frame_info_serveur_mail_->hide();
    frame_param_netrove_->hide();
}

std::vector<QLineEdit*>& Frm_Param_Periph_Forme::Octets(Famille_Octets famille) {
    switch (famille) {
    case Octets_IP: return txt_adr_ip_;
    case Octets_Passerelle: return txt_adr_ip_gateway_;
    case Octets_Serveur: return txt_adr_ip_serveur_;
    case Octets_Masque: default: return txt_masque_;
    }
}

QLineEdit* Frm_Param_Periph_Forme::Nouvel_Octet(Famille_Octets famille, int index) {
    static const char* const noms[] = {"Txt_Adr_IP", "Txt_Adr_IP_Gateway", "Txt_Adr_IP_Serveur", "Txt_Masque"};
    QWidget* parents[] = {frame_adr_ip_netrove_, frame_adr_ip_passerelle_, frame_adr_ip_serveur_mail_,
                          frm_masque_ss_reseau_};
    QLineEdit* champ = Filtre(Champ(noms[famille], QStringLiteral("0"), 3, parents[famille]), 48, 57);
    champ->setProperty("Index", index);
    champ->setAlignment(Qt::AlignCenter);
    if (index > 0) {
        // A new element takes the look of the first one.
        champ->setFont(Octets(famille)[0]->font());
        champ->setGeometry(Octets(famille)[0]->geometry());
    }
    Octets(famille).push_back(champ);
    return champ;
}

// ------------------------------------------------------------ input rules

void Frm_Param_Periph_Forme::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap) {
        Cmd_Annuler_Click();
        return;
    }
    auto* champ = qobject_cast<QLineEdit*>(focusWidget());
    if (!champ || !champ->hasFocus()) return;
    for (Famille_Octets f : {Octets_IP, Octets_Passerelle, Octets_Serveur, Octets_Masque})
        for (QLineEdit* octet : Octets(f))
            if (octet == champ) {
                Octet_KeyUp(champ);
                return;
            }
}

void Frm_Param_Periph_Forme::Octet_KeyUp(QLineEdit* champ) {
    const auto valeur = Convertir_Nombre(champ->text());
    if (!valeur || *valeur <= 255) return;
    Boites().MsgBox(QStringLiteral("Adresse invalide!"), vbOKOnly);
    Donner_Focus();
    champ->setText(QStringLiteral("0"));
}

void Frm_Param_Periph_Forme::TabStrip_Click() {
    QGroupBox* const frames[] = {frame_param_envoie_email_, frame_info_serveur_mail_, frame_param_netrove_};
    const int index = tabstrip_->currentIndex() + 1;
    if (index < 1 || index > 3) return;
    for (int i = 0; i < 3; ++i) frames[i]->setVisible(i == index - 1);
}

void Frm_Param_Periph_Forme::Cmb_Choix_Ostrelclim_Click() {
    const int p = cmb_choix_ostrelclim_->currentIndex();
    if (p >= 0 && p < static_cast<int>(Noms_Fichiers_Envoi.size())) txt_nom_fichier_->setText(Noms_Fichiers_Envoi[p]);
}

void Frm_Param_Periph_Forme::Txt_Nom_Fichier_Change() {
    const int p = cmb_choix_ostrelclim_->currentIndex();
    if (p >= 0 && p < static_cast<int>(Noms_Fichiers_Envoi.size())) Noms_Fichiers_Envoi[p] = txt_nom_fichier_->text();
}

void Frm_Param_Periph_Forme::Cmd_Annuler_Click() { Liaison_Ecran(Ecran_Courant, Ecran_Precedent, Vrai); }

void Frm_Param_Periph_Forme::Cmd_Imprimer_Click() { Imprimer_Param_Periph(); }

void Frm_Param_Periph_Forme::Executer(const QString& operation) {
    if (operation == QStringLiteral("Imprimer_Param_Periph")) Imprimer_Param_Periph();
    else if (operation == QStringLiteral("Cmd_OK_Click")) Cmd_OK_Click();
    else if (operation == QStringLiteral("Cmd_Annuler_Click")) Cmd_Annuler_Click();
}

// ------------------------------------------------------------ layout

void Frm_Param_Periph_Forme::Form_Resize() {
    const double W = width(), H = height();
    const int haut_onglets = tabstrip_->sizeHint().height();
    tabstrip_->setGeometry(Arrondi_Pixels(W * 0.04), Arrondi_Pixels(H * 0.03), Arrondi_Pixels(W * 0.92), haut_onglets);
    const int haut_cadres = tabstrip_->y() + haut_onglets;
    for (QGroupBox* f : {frame_param_envoie_email_, frame_info_serveur_mail_, frame_param_netrove_})
        f->setGeometry(Arrondi_Pixels(W * 0.04), haut_cadres, Arrondi_Pixels(W * 0.92),
                       Arrondi_Pixels(H * 0.76) - haut_cadres);

    const int largeur_bouton = Twips_Vers_Pixels(Var_Width_Fille * 0.1);
    const int hauteur_bouton = std::max(Twips_Vers_Pixels(Var_Height_Fille * 0.04), Hauteur_Ligne(cmd_ok_));
    cmd_imprimer_->setGeometry(Arrondi_Pixels(W * 0.15), Arrondi_Pixels(H * 0.8), largeur_bouton, hauteur_bouton);
    cmd_ok_->setGeometry(Arrondi_Pixels(W * 0.625), Arrondi_Pixels(H * 0.8), largeur_bouton, hauteur_bouton);
    cmd_annuler_->setGeometry(Arrondi_Pixels(W * 0.75), Arrondi_Pixels(H * 0.8), largeur_bouton, hauteur_bouton);

    // Fonts first: the heights of the one-line fields follow them.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(w->parentWidget())) continue;  // the list's own parts
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Petite);
    }
    Couleur_Fond(Couleur_Fenetre);
    // The frames' style first: a new style sheet polishes their contents again.
    for (QGroupBox* cadre : findChildren<QGroupBox*>()) Style_Cadre(cadre, Couleur_Cadre, Couleur_Police);
    for (QLabel* l : findChildren<QLabel*>()) Couleur_Legende(l, Couleur_Police);
    for (QRadioButton* o : findChildren<QRadioButton*>()) Couleur_Legende(o, Couleur_Police);
    Couleur_Texte_Lisible(tabstrip_, Couleur_Texte_Fenetre, Couleur_Fenetre, Couleur_Police);

    // Tab 1: recipients on the left, file name and frequency on the right.
    Placer_Fraction(frame_adr_email_, 0.02, 0.03, 0.53, 0.94);
    const double Wa = frame_adr_email_->width(), Ha = frame_adr_email_->height();
    for (size_t i = 0; i < txt_adre_email_.size(); ++i) {
        lbl_adre_e_mail_[i]->setGeometry(Arrondi_Pixels(0.05 * Wa), Arrondi_Pixels((0.1 + 0.2 * i) * Ha),
                                         Arrondi_Pixels(0.9 * Wa), Hauteur_Ligne(lbl_adre_e_mail_[i]));
        txt_adre_email_[i]->setGeometry(Arrondi_Pixels(0.05 * Wa), Arrondi_Pixels((0.175 + 0.2 * i) * Ha),
                                        Arrondi_Pixels(0.9 * Wa), Hauteur_Ligne(txt_adre_email_[i]));
    }
    Placer_Fraction(frame_nom_fichier_, 0.58, 0.03, 0.40, 0.38);
    Placer_Ligne(cmb_choix_ostrelclim_, 0.06, 0.14, 0.88);
    Placer_Ligne(txt_nom_fichier_, 0.06, 0.56, 0.60);
    Placer_Ligne(lbl_defaut_extention_, 0.70, 0.56, 0.24);
    Placer_Fraction(frame_frequence_email_, 0.58, 0.46, 0.40, 0.51);
    Placer_Ligne(opt_frequence_jour_, 0.08, 0.08, 0.84);
    Placer_Ligne(opt_frequence_semaine_, 0.08, 0.38, 0.84);
    Placer_Ligne(opt_freqence_mois_, 0.08, 0.68, 0.84);

    // Tab 2: two columns of four frames.
    QGroupBox* const colonne_1[] = {frame_telephone_, frame_login_, frame_password_, frame_adr_smtp_};
    QGroupBox* const colonne_2[] = {frame_adr_email_emetteur_, frame_adr_ip_serveur_mail_, frame_adr_ip_passerelle_,
                                    frm_masque_ss_reseau_};
    for (int r = 0; r < 4; ++r) {
        Placer_Fraction(colonne_1[r], 0.02, 0.03 + 0.245 * r, 0.47, 0.21);
        Placer_Fraction(colonne_2[r], 0.51, 0.03 + 0.245 * r, 0.47, 0.21);
    }
    for (QLineEdit* t : {txt_num_tel_, txt_login_, txt_password_, txt_smtp_, txt_adr_email_emetteur_})
        Placer_Ligne(t, 0.05, 0.25, 0.90);

    // Tab 3.
    Placer_Fraction(frame_acces_reseau_, 0.02, 0.03, 0.30, 0.42);
    Placer_Ligne(opt_acces_modem_, 0.10, 0.15, 0.80);
    Placer_Ligne(opt_acces_intranet_, 0.10, 0.55, 0.80);
    Placer_Fraction(frame_adr_ip_netrove_, 0.35, 0.03, 0.63, 0.42);
    Placer_Fraction(frame_login_psw_netrove_, 0.02, 0.52, 0.96, 0.34);
    Placer_Fraction(frame_login_netrove_, 0.03, 0.12, 0.45, 0.74);
    Placer_Fraction(frame_psw_netrove_, 0.52, 0.12, 0.45, 0.74);
    Placer_Ligne(txt_login_netrove_, 0.05, 0.30, 0.90);
    Placer_Ligne(txt_psw_netrove_, 0.05, 0.30, 0.90);
    Placer_Fraction(frame_parm_stor_netrove_, 0.02, 0.52, 0.46, 0.45);
    Placer_Fraction(frame_parm_stor_2_netrove_, 0.52, 0.52, 0.46, 0.45);
    for (size_t i = 0; i < 4; ++i) {
        Placer_Ligne(opt_relais_1_[i], 0.08, 0.05 + 0.23 * i, 0.84);
        Placer_Ligne(opt_relais_2_[i], 0.08, 0.05 + 0.23 * i, 0.84);
    }

    // The four fields of an address side by side, index 0 leftmost.
    for (Famille_Octets f : {Octets_IP, Octets_Passerelle, Octets_Serveur, Octets_Masque}) {
        const double haut = f == Octets_IP ? 0.38 : 0.25;
        for (size_t i = 0; i < Octets(f).size(); ++i) Placer_Ligne(Octets(f)[i], 0.05 + 0.235 * i, haut, 0.19);
    }
}

}  // namespace ostrel
