// The bridge settings screen's exchanges with the bridge: the load that
// reads every setting, the write of OK framed by the mode command, and the
// moves between the fields and the bridge globals.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "options/frm_param_periph.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/ui/couleurs_ui.h"

namespace ostrel {
namespace {

// Every request of the screen goes to the bridge at this address.
constexpr Octet Adresse_Passerelle = 1;

void Progression(Long valeur) { Frm_Menu1().Progess_Bar_Value(valeur); }

// The relay mode of a group of four buttons: the first chosen of the first
// three gives 0 to 2, else 3. A group with no button chosen at all (a mode
// outside 0..3 on the bridge) keeps the mode read: the operator cannot see
// these buttons, so nothing he did can have changed it.
void Mode_Relais(const std::array<QRadioButton*, 4>& boutons, Octet& mode) {
    for (Octet i = 0; i < 3; ++i)
        if (boutons[i]->isChecked()) {
            mode = i;
            return;
        }
    if (boutons[3]->isChecked()) mode = 3;
}

void Afficher_Relais(const std::array<QRadioButton*, 4>& boutons, Octet mode) {
    if (mode < 4) boutons[mode]->setChecked(true);
}

}  // namespace

QString Frm_Param_Periph_Forme::Texte_Ou_Zero(QLineEdit* champ) {
    if (champ->text().isEmpty()) champ->setText(QStringLiteral("0"));
    return champ->text();
}

void Frm_Param_Periph_Forme::Afficher_Octets(Famille_Octets famille, const std::array<Octet, 4>& adresse) {
    const auto& champs = Octets(famille);
    for (size_t i = 0; i < champs.size() && i < 4; ++i) champs[i]->setText(QString::number(adresse[i]));
}

void Frm_Param_Periph_Forme::Lire_Octets(Famille_Octets famille, std::array<Octet, 4>& adresse) {
    const auto& champs = Octets(famille);
    for (size_t i = 0; i < champs.size() && i < 4; ++i)
        if (const auto v = Convertir_Octet(Texte_Ou_Zero(champs[i]))) adresse[i] = *v;
}

QLineEdit* Frm_Param_Periph_Forme::Octet_Invalide() {
    for (Famille_Octets f : {Octets_IP, Octets_Passerelle, Octets_Serveur, Octets_Masque})
        for (QLineEdit* champ : Octets(f)) {
            const QString texte = champ->text().isEmpty() ? QStringLiteral("0") : champ->text();
            bool chiffres = !texte.isEmpty();
            for (QChar c : texte) chiffres = chiffres && c >= QLatin1Char('0') && c <= QLatin1Char('9');
            if (!chiffres || !Convertir_Octet(texte)) return champ;
        }
    return nullptr;
}

// ------------------------------------------------------------ load and read

void Frm_Param_Periph_Forme::Form_Load() {
    KeyPreview = true;
    for (int n = 1; n <= 3; ++n) {
        Nouvel_Octet(Octets_IP, n)->show();
        Nouvel_Octet(Octets_Passerelle, n)->show();
    }
    for (int n = 1; n <= 3; ++n) Nouvel_Octet(Octets_Serveur, n)->show();
    for (int n = 1; n <= 3; ++n) Nouvel_Octet(Octets_Masque, n)->show();

    // A bridge that does not know the mask request shows this one.
    Masque_Sous_Reseau = {255, 255, 255, 0};

    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    Frm_Menu1().Lbl_Nom_Menu(QStringLiteral("Réglages Netrove"));

    for (int i = 1; i <= 4; ++i) {
        if (i > 1) {
            QWidget* parent = txt_adre_email_[0]->parentWidget();
            auto* etiquette = new QLabel(parent);
            etiquette->setObjectName(QStringLiteral("Lbl_Adre_e_mail"));
            etiquette->setProperty("Index", i - 1);
            auto* champ = new QLineEdit(parent);
            champ->setObjectName(QStringLiteral("Txt_Adre_email"));
            champ->setProperty("Index", i - 1);
            champ->setMaxLength(txt_adre_email_[0]->maxLength());
            lbl_adre_e_mail_.push_back(etiquette);
            txt_adre_email_.push_back(champ);
        }
        QLabel* etiquette = lbl_adre_e_mail_[static_cast<size_t>(i - 1)];
        QLineEdit* champ = txt_adre_email_[static_cast<size_t>(i - 1)];
        etiquette->show();
        champ->show();
        Nom_Police(etiquette, Police_Options);
        Nom_Police(champ, Police_Options);
        etiquette->setText(QStringLiteral("Vers l'opérateur ") + QString::number(i));
        champ->setText(QStringLiteral("OPERATEUR") + QString::number(i) + QStringLiteral("@exemple.fr"));
        Taille_Police(etiquette, Taille_Police_Petite);
        Taille_Police(champ, Taille_Police_Petite);
    }

    {
        // The list takes its first item by itself: nothing is chosen until the read chooses it.
        const QSignalBlocker bloque(cmb_choix_ostrelclim_);
        cmb_choix_ostrelclim_->clear();
        Octet m = 1;
        while (m <= 32) {
            cmb_choix_ostrelclim_->addItem(Tab_Parametres_Modules[m - 1u].Entete);
            m = Module_En_Service_Suivant(m);
            if (m == 1) break;
        }
        cmb_choix_ostrelclim_->setCurrentIndex(-1);
    }
    txt_nom_fichier_->setMaxLength(16);
    Noms_Fichiers_Envoi.fill(QString());
    cmb_choix_ostrelclim_->setEnabled(true);
    Redimensionner();

    Lecture_Parametres_Periph();
    if (Code_Erreur == 0) TabStrip_Click();
}

void Frm_Param_Periph_Forme::Lecture_Parametres_Periph() {
    Tableau_Bord& menu1 = Frm_Menu1();
    menu1.Focus();
    menu1.Affiche_Progress_Bar(true);
    menu1.Caption_Pb(QStringLiteral("Importation en cours"));
    Progression(0);

    // Recipients and file names: the first link error stops the read.
    for (Octet i = 1; i <= 4; ++i) {
        Octet adresse = Adresse_Passerelle, index = i;
        Lecture_Adresse_Email(adresse, index);
        if (Code_Erreur != 0) return;
        txt_adre_email_[i - 1u]->setText(Adresse_Email_Envoi);
    }
    Progression(20);

    const int n = std::min(menu1.Nb_Lbl_OC(), static_cast<int>(Noms_Fichiers_Envoi.size()));
    for (int k = 1; k <= n; ++k) {
        Octet rang = static_cast<Octet>(k);
        Lecture_Nom_Fichier_Email(Adresse_Passerelle, Nieme_Module_En_Service(rang));
        if (Code_Erreur != 0) return;
        Noms_Fichiers_Envoi[static_cast<size_t>(k - 1)] = Nom_Fichier_Envoi;
    }
    cmb_choix_ostrelclim_->setCurrentIndex(0);
    Progression(40);

    Frequence_Envoi_Email = 1;
    Lecture_Parametres_Peripheriques(Adresse_Passerelle);
    // The mask read that follows clears any error: a failure here would pass
    // unseen and OK would later write back whatever the globals held.
    if (Code_Erreur != 0) return;
    Progression(60);
    if (Type_Acces_Reseau == 1)
        opt_acces_modem_->setChecked(true);
    else
        opt_acces_intranet_->setChecked(true);
    switch (Frequence_Envoi_Email) {
    case 1: opt_frequence_jour_->setChecked(true); break;
    case 2: opt_frequence_semaine_->setChecked(true); break;
    case 3: opt_freqence_mois_->setChecked(true); break;
    default: break;
    }
    Afficher_Octets(Octets_IP, Adresse_IP_Carte);
    Afficher_Octets(Octets_Passerelle, Adresse_IP_Passerelle);
    Afficher_Relais(opt_relais_1_, Logique_Relais_Carte_1);
    Afficher_Relais(opt_relais_2_, Logique_Relais_Carte_2);

    Lecture_Masque_Reseau(Adresse_Passerelle);
    Afficher_Octets(Octets_Masque, Masque_Sous_Reseau);

    Lecture_Parametres_Messagerie(Adresse_Passerelle);
    Afficher_Octets(Octets_Serveur, Adresse_IP_Serveur);
    txt_num_tel_->setText(Num_Telephone);
    txt_login_->setText(Login_FAI);
    txt_password_->setText(Password_FAI);

    Lecture_Parametres_SMTP(Adresse_Passerelle);
    txt_smtp_->setText(Adresse_SMTP);
    txt_adr_email_emetteur_->setText(Adresse_Email_Emetteur);
    Progression(80);

    Lecture_Identifiant_Passerelle(Adresse_Passerelle, 0);
    txt_login_netrove_->setText(Login_Password_Carte);
    Lecture_Identifiant_Passerelle(Adresse_Passerelle, 255);
    txt_psw_netrove_->setText(Login_Password_Carte);

    Progression(100);
    menu1.Affiche_Progress_Bar(false);
    menu1.Caption_Pb(QStringLiteral("Téléchargement terminé"));
    Afficher();
    Donner_Focus();
}

// ------------------------------------------------------------ write

void Frm_Param_Periph_Forme::Sortie_Echec_Liaison() {
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

bool Frm_Param_Periph_Forme::Ecriture_Parametres_Periph() {
    // Only digits can be typed into an address field, and above 255 they are
    // refused as they come; anything else would be sent as a wrong byte.
    if (QLineEdit* champ = Octet_Invalide()) {
        Boites().MsgBox(QStringLiteral("Adresse invalide!"), vbOKOnly);
        champ->setText(QStringLiteral("0"));
        champ->setFocus();
        return false;
    }

    Ecrit_Mouchard(QStringLiteral("Téléchargement paramétrage Netrove"));
    Tableau_Bord& menu1 = Frm_Menu1();
    menu1.Affiche_Progress_Bar(true);
    menu1.Focus();
    menu1.Caption_Pb(QStringLiteral("Téléchargement en cours"));
    Progression(0);

    auto echec = [this] {
        if (Code_Erreur == 0) return false;
        Sortie_Echec_Liaison();
        return true;
    };

    Commande_Mode_Fonctionnement(Adresse_Passerelle, 0);
    if (echec()) return false;

    for (Octet i = 1; i <= 4; ++i) {
        Adresse_Email_Envoi = Texte_Ou_Zero(txt_adre_email_[i - 1u]);
        Octet adresse = Adresse_Passerelle, index = i;
        Ecriture_Adresse_Email(adresse, index);
        Progression(static_cast<Long>(Arrondi_Pair(15.0 * i / 4.0)));
        if (echec()) return false;
    }

    const int n = std::min(menu1.Nb_Lbl_OC(), static_cast<int>(Noms_Fichiers_Envoi.size()));
    for (int k = 1; k <= n; ++k) {
        const QString& nom = Noms_Fichiers_Envoi[static_cast<size_t>(k - 1)];
        Nom_Fichier_Envoi = nom.isEmpty() ? QStringLiteral("0") : nom;
        Octet rang = static_cast<Octet>(k);
        Ecriture_Nom_Fichier_Email(Adresse_Passerelle, Nieme_Module_En_Service(rang));
        if (echec()) return false;
    }
    Progression(30);

    Type_Acces_Reseau = opt_acces_intranet_->isChecked() ? 2 : 1;
    Frequence_Envoi_Email = opt_frequence_jour_->isChecked() ? 1 : opt_frequence_semaine_->isChecked() ? 2 : 3;
    Lire_Octets(Octets_IP, Adresse_IP_Carte);
    Lire_Octets(Octets_Passerelle, Adresse_IP_Passerelle);
    Mode_Relais(opt_relais_1_, Logique_Relais_Carte_1);
    Mode_Relais(opt_relais_2_, Logique_Relais_Carte_2);
    Ecriture_Parametres_Peripheriques(Adresse_Passerelle);
    if (echec()) return false;
    Progression(45);

    Lire_Octets(Octets_Masque, Masque_Sous_Reseau);
    Ecriture_Masque_Reseau(Adresse_Passerelle);

    Lire_Octets(Octets_Serveur, Adresse_IP_Serveur);
    Num_Telephone = Texte_Ou_Zero(txt_num_tel_);
    Longueur_Num_Telephone = static_cast<Octet>(Num_Telephone.size());
    Login_FAI = Texte_Ou_Zero(txt_login_);
    Password_FAI = Texte_Ou_Zero(txt_password_);
    Adresse_SMTP = Texte_Ou_Zero(txt_smtp_);
    Ecriture_Parametres_Messagerie(Adresse_Passerelle);
    if (echec()) return false;

    Adresse_Email_Emetteur = txt_adr_email_emetteur_->text();
    Ecriture_Parametres_SMTP(Adresse_Passerelle);
    if (echec()) return false;
    Progression(60);

    Login_Password_Carte = txt_login_netrove_->text();
    Ecriture_Identifiant_Passerelle(Adresse_Passerelle, 0);
    if (echec()) return false;
    Login_Password_Carte = txt_psw_netrove_->text();
    Progression(75);
    Ecriture_Identifiant_Passerelle(Adresse_Passerelle, 255);
    if (echec()) return false;

    Commande_Mode_Fonctionnement(Adresse_Passerelle, 255);
    if (echec()) return false;

    Progression(100);
    menu1.Caption_Pb(QStringLiteral("Téléchargement terminé"));
    Afficher();
    Donner_Focus();
    menu1.Affiche_Progress_Bar(false);
    return true;
}

void Frm_Param_Periph_Forme::Cmd_OK_Click() {
    const bool ecrit = Ecriture_Parametres_Periph();
    if (Code_Erreur != 0) {
        Boites().MsgBox(Module_Non_Connecte, vbOKOnly);
        return;
    }
    if (ecrit) Cmd_Annuler_Click();
}

}  // namespace ostrel
