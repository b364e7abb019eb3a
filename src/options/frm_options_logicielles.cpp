#include "options/frm_options_logicielles.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

#include "files/options_logiciel.h"
#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "options/controles.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/formes.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/saisie.h"
#include "platform/ui/textes_ajustes.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

QPushButton* Bouton(const char* nom, const QString& texte, QWidget* parent) {
    return Nommer(new QPushButton(texte, parent), nom);
}

}  // namespace

Frm_Options_Logicielles_Forme::Frm_Options_Logicielles_Forme() : Forme(QStringLiteral("Frm_Options_Logicielles")) {
    frame_nom_installation_ = Cadre(QStringLiteral("Frame_Nom_Installation"), QStringLiteral("Nom de l'installation"), this);
    txt_nom_install_ = Nommer(new QLineEdit(QStringLiteral("Nom de l'installation"), frame_nom_installation_),
                              "Txt_Nom_Install");
    txt_nom_install_->setMaxLength(35);
    Crochets_Champ::Installer(txt_nom_install_)->KeyPress = [this](int& KeyAscii) { Txt_Nom_Install_KeyPress(KeyAscii); };
    txt_nom_install_->setAcceptDrops(false);
    txt_nom_install_->setContextMenuPolicy(Qt::NoContextMenu);
    cmd_psw_admin_ = Bouton("Cmd_Psw_Admin", QStringLiteral("Changer le mot de passe"), frame_nom_installation_);

    frame_choix_port_ = Cadre(QStringLiteral("Frame_Choix_Port"), QStringLiteral("Choix du port"), this);
    lbl_commentaire_choix_port_ = Nommer(
        new QLabel(QStringLiteral("Choisissez le port de communication sur lequel est branché l'Ostrelclim :"),
                   frame_choix_port_),
        "Lbl_Commentaire_Choix_Port");
    lbl_commentaire_choix_port_->setWordWrap(true);
    cmb_choix_port_ = Nommer(new QComboBox(frame_choix_port_), "Cmb_Choix_Port");
    cmb_choix_port_->setEditable(true);
    // What is typed in the box is never taken: only an entry of the list counts.
    cmb_choix_port_->setInsertPolicy(QComboBox::NoInsert);
    cmb_choix_port_->setFont(QFont(QStringLiteral("Arial"), 12));

    frame_couleur_ = Cadre(QStringLiteral("Frame_Couleur"), QStringLiteral("Choix des couleurs"), this);
    auto etiquette = [this](const char* nom, const char* texte) {
        return new Etiquette_Cliquable(QString::fromLatin1(nom), QString::fromUtf8(texte), frame_couleur_);
    };
    lbl_choix_couleur_police_ = etiquette("Lbl_Choix_Couleur_Police", "Couleur de la police :");
    lbl_choix_couleur_fenetre_ = etiquette("Lbl_Choix_Couleur_Fenetre", "Couleur de la fenêtre :");
    lbl_choix_couleur_cadre_ = etiquette("Lbl_Choix_Couleur_Cadre", "Couleur des cadres :");
    lbl_choix_couleur_police_bandeau_ = etiquette("Lbl_Choix_Couleur_Police_Bandeau", "Couleur Police bandeau :");
    lbl_choix_couleur_cadre_bandeau_ = etiquette("Lbl_Choix_Couleur_Cadre_Bandeau", "Couleur cadre bandeau :");
    lbl_choix_couleur_fond_bandeau_ = etiquette("Lbl_Choix_Couleur_Fond_Bandeau", "Couleur fond bandeau :");
    pic_couleur_police_ = new Apercu_Couleur(QStringLiteral("Pic_Couleur_Police"), frame_couleur_);
    pic_couleur_fenetre_ = new Apercu_Couleur(QStringLiteral("Pic_Couleur_Fenetre"), frame_couleur_);
    pic_couleur_cadre_ = new Apercu_Couleur(QStringLiteral("Pic_Couleur_Cadre"), frame_couleur_);
    pic_couleur_police_bandeau_ = new Apercu_Couleur(QStringLiteral("Pic_Couleur_Police_Bandeau"), frame_couleur_);
    pic_couleur_cadre_bandeau_ = new Apercu_Couleur(QStringLiteral("Pic_Couleur_Cadre_Bandeau"), frame_couleur_);
    pic_couleur_fond_bandeau_ = new Apercu_Couleur(QStringLiteral("Pic_Couleur_Fond_Bandeau"), frame_couleur_);
    lbl_choix_police_ = etiquette("Lbl_Choix_Police", "Police du logiciel :");
    lbl_police_ = etiquette("Lbl_Police", "Arial");
    cmd_defaut_ = Bouton("Cmd_Defaut", QStringLiteral("Defaut"), frame_couleur_);
    ostrel::Couleur_Fond(cmd_defaut_, Couleur_Face_Bouton);

    cmd_appliquer_ = Bouton("Cmd_Appliquer", QStringLiteral("Appliquer"), this);
    cmd_ok_ = Bouton("Cmd_OK", QStringLiteral("OK"), this);
    cmd_annuler_ = Bouton("Cmd_Annuler", QStringLiteral("Annuler"), this);

    using F = Frm_Options_Logicielles_Forme;
    connect(cmd_psw_admin_, &QPushButton::clicked, this, &F::Cmd_Psw_Admin_Click);
    connect(cmd_defaut_, &QPushButton::clicked, this, &F::Cmd_Defaut_Click);
    connect(cmd_appliquer_, &QPushButton::clicked, this, &F::Cmd_Appliquer_Click);
    connect(cmd_ok_, &QPushButton::clicked, this, &F::Cmd_OK_Click);
    connect(cmd_annuler_, &QPushButton::clicked, this, &F::Cmd_Annuler_Click);
    connect(lbl_choix_couleur_police_, &Etiquette_Cliquable::Click, this, &F::Lbl_Choix_Couleur_Police_Click);
    connect(lbl_choix_couleur_fenetre_, &Etiquette_Cliquable::Click, this, &F::Lbl_Choix_Couleur_Fenetre_Click);
    connect(lbl_choix_couleur_cadre_, &Etiquette_Cliquable::Click, this, &F::Lbl_Choix_Couleur_Cadre_Click);
    connect(lbl_choix_couleur_police_bandeau_, &Etiquette_Cliquable::Click, this,
            &F::Lbl_Choix_Couleur_Police_Bandeau_Click);
    connect(lbl_choix_couleur_cadre_bandeau_, &Etiquette_Cliquable::Click, this,
            &F::Lbl_Choix_Couleur_Cadre_Bandeau_Click);
    connect(lbl_choix_couleur_fond_bandeau_, &Etiquette_Cliquable::Click, this,
            &F::Lbl_Choix_Couleur_Fond_Bandeau_Click);
    connect(lbl_choix_police_, &Etiquette_Cliquable::Click, this, &F::Lbl_Choix_Police_Click);
    connect(lbl_police_, &Etiquette_Cliquable::Click, this, &F::Lbl_Police_Click);
}

// ------------------------------------------------------------ opening

void Frm_Options_Logicielles_Forme::Form_Load() {
    KeyPreview = true;
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    Tableau_Bord& menu1 = Frm_Menu1();
    menu1.Lbl_Nom_Menu(QStringLiteral("Options Logicielles"));

    cmb_choix_port_->clear();
    menu1.Caption_Pb(QString());
    menu1.Affiche_Progress_Bar(true);
    Long progression = 0;
    menu1.Progess_Bar_Value(progression);
    for (Entier port = 1; port <= Nb_Ports; ++port) {
        bool ok = false;
        Test_Port_Com(port, ok);
        if (ok) {
            cmb_choix_port_->addItem(Entree_Port(port));
            menu1.Caption_Pb(QStringLiteral("Com ") + QString::number(port) + QStringLiteral(" trouvé"));
        }
        progression = static_cast<Long>(Arrondi_Pair(port * 100.0 / Nb_Ports));
        menu1.Progess_Bar_Value(progression);
    }
    // The list takes its first entry by itself; nothing is chosen yet.
    cmb_choix_port_->setCurrentIndex(-1);

    Octet position = 0;
    Index_Port_Liste(Port_Com, position);
    Port_Serie& port = Ecran_Communication().Ostrel;
    if (position == 0) {
        Boites().MsgBox(QStringLiteral("Choisir un port de communication dans la liste"), vbOKOnly);
        // The scan may have left another port open: the link must not talk
        // on a port the options do not name.
        if (port.PortOpen()) port.PortOpen(false);
    } else {
        cmb_choix_port_->setCurrentIndex(position - 1);
        // The scan leaves the last port found open, which may be another one.
        if (port.PortOpen() && port.CommPort() != Port_Com) port.PortOpen(false);
        port.CommPort(Port_Com);
        if (!port.PortOpen()) port.PortOpen(true);
    }

    Police_En_Attente = Police_Options;
    lbl_police_->setText(Police_En_Attente);
    Couleurs_En_Attente = Lire_Couleurs_En_Vigueur();
    txt_nom_install_->setText(menu1.Lbl_Info_Client());
    menu1.Affiche_Progress_Bar(false);
    Redimensionner();
}

void Frm_Options_Logicielles_Forme::Test_Port_Com(Entier port, bool& ok) {
    ok = Sonder_Port(Ecran_Communication().Ostrel, port);
}

void Frm_Options_Logicielles_Forme::Index_Port_Liste(Octet port, Octet& position) {
    QStringList entrees;
    for (int i = 0; i < cmb_choix_port_->count(); ++i) entrees << cmb_choix_port_->itemText(i);
    position = Position_Port(entrees, port);
}

Octet Frm_Options_Logicielles_Forme::Port_Selectionne() const {
    const int index = cmb_choix_port_->currentIndex();
    // A text typed over the entry leaves no entry chosen.
    if (index < 0 || cmb_choix_port_->currentText() != cmb_choix_port_->itemText(index)) return 0;
    return Numero_Entree_Port(cmb_choix_port_->itemText(index));
}

// ------------------------------------------------------------ layout

void Frm_Options_Logicielles_Forme::Form_Resize() {
    Placer_Fraction(frame_nom_installation_, 0.04, 0.04, 0.44, 0.30);
    Placer_Ligne(txt_nom_install_, 0.06, 0.16, 0.88);
    Placer_Fraction(cmd_psw_admin_, 0.20, 0.60, 0.60, 0.26);

    Placer_Fraction(frame_choix_port_, 0.04, 0.38, 0.44, 0.30);
    Placer_Fraction(lbl_commentaire_choix_port_, 0.06, 0.06, 0.88, 0.44);
    Placer_Ligne(cmb_choix_port_, 0.06, 0.58, 0.40);

    Placer_Fraction(frame_couleur_, 0.52, 0.04, 0.44, 0.64);
    const std::pair<QLabel*, Apercu_Couleur*> lignes[] = {
        {lbl_choix_couleur_police_, pic_couleur_police_},
        {lbl_choix_couleur_fenetre_, pic_couleur_fenetre_},
        {lbl_choix_couleur_cadre_, pic_couleur_cadre_},
        {lbl_choix_couleur_police_bandeau_, pic_couleur_police_bandeau_},
        {lbl_choix_couleur_cadre_bandeau_, pic_couleur_cadre_bandeau_},
        {lbl_choix_couleur_fond_bandeau_, pic_couleur_fond_bandeau_},
    };
    for (int i = 0; i < 6; ++i) {
        const double haut = 0.05 + 0.105 * i;
        Placer_Fraction(lignes[i].first, 0.06, haut, 0.58, 0.08);
        Placer_Fraction(lignes[i].second, 0.68, haut + 0.01, 0.24, 0.06);
    }
    Placer_Fraction(lbl_choix_police_, 0.06, 0.70, 0.50, 0.08);
    Placer_Fraction(lbl_police_, 0.58, 0.70, 0.36, 0.08);
    Placer_Fraction(cmd_defaut_, 0.34, 0.84, 0.32, 0.10);

    Placer_Fraction(cmd_appliquer_, 0.42, 0.78, 0.16, 0.07);
    Placer_Fraction(cmd_ok_, 0.60, 0.78, 0.16, 0.07);
    Placer_Fraction(cmd_annuler_, 0.78, 0.78, 0.16, 0.07);

    Couleur_Fond(Couleur_Fenetre);
    Affiche_Apercu_Couleurs();

    QWidget* const textes[] = {frame_nom_installation_, frame_choix_port_, frame_couleur_,
                               lbl_commentaire_choix_port_, lbl_choix_couleur_police_, lbl_choix_couleur_fenetre_,
                               lbl_choix_couleur_cadre_, lbl_choix_couleur_police_bandeau_,
                               lbl_choix_couleur_cadre_bandeau_, lbl_choix_couleur_fond_bandeau_, lbl_choix_police_,
                               lbl_police_, cmd_psw_admin_, cmd_defaut_, cmd_appliquer_, cmd_ok_, cmd_annuler_};
    for (QWidget* w : textes) Nom_Police(w, Police_Options);
    Nom_Police(txt_nom_install_, QStringLiteral("Arial"));
    for (QWidget* w : {static_cast<QWidget*>(frame_nom_installation_), static_cast<QWidget*>(frame_choix_port_),
                       static_cast<QWidget*>(txt_nom_install_), static_cast<QWidget*>(cmd_psw_admin_),
                       static_cast<QWidget*>(cmd_appliquer_), static_cast<QWidget*>(cmd_annuler_),
                       static_cast<QWidget*>(cmd_ok_)})
        Taille_Police(w, Taille_Police_Moyenne);
    Taille_Police(frame_couleur_, Taille_Police_Petite);
    Taille_Police(cmd_defaut_, Taille_Police_Petite);
    // The frames' style first: a new style sheet polishes their contents again.
    for (QGroupBox* cadre : {frame_nom_installation_, frame_choix_port_, frame_couleur_})
        Style_Cadre(cadre, Couleur_Cadre, Couleur_Police);
    for (QLabel* l : findChildren<QLabel*>()) {
        Taille_Police(l, Taille_Police_Petite);
        Couleur_Legende(l, Couleur_Police);
    }
}

void Frm_Options_Logicielles_Forme::Affiche_Apercu_Couleurs() {
    pic_couleur_police_->Remplir(Couleurs_En_Attente[Rang_Police]);
    pic_couleur_fenetre_->Remplir(Couleurs_En_Attente[Rang_Fenetre]);
    pic_couleur_cadre_->Remplir(Couleurs_En_Attente[Rang_Cadre]);
    pic_couleur_police_bandeau_->Remplir(Couleurs_En_Attente[Rang_Police_Bandeau]);
    pic_couleur_fond_bandeau_->Remplir(Couleurs_En_Attente[Rang_Fond_Bandeau]);
    pic_couleur_cadre_bandeau_->Remplir(Couleurs_En_Attente[Rang_Cadre_Bandeau]);
    for (Apercu_Couleur* a : {pic_couleur_police_, pic_couleur_fenetre_, pic_couleur_cadre_,
                              pic_couleur_police_bandeau_, pic_couleur_fond_bandeau_, pic_couleur_cadre_bandeau_})
        a->Bordure(Couleurs_En_Attente[Rang_Cadre]);
}

// ------------------------------------------------------------ keys and leaving

void Frm_Options_Logicielles_Forme::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap) Cmd_Annuler_Click();
}

void Frm_Options_Logicielles_Forme::Cmd_Annuler_Click() { Liaison_Ecran(Ecran_Courant, Ecran_Precedent, Vrai); }

void Frm_Options_Logicielles_Forme::Cmd_OK_Click() {
    Cmd_Appliquer_Click();
    Cmd_Annuler_Click();
}

void Frm_Options_Logicielles_Forme::Txt_Nom_Install_KeyPress(int& KeyAscii) { Filtrer_Plage(KeyAscii, 32, 122); }

// ------------------------------------------------------------ apply

void Frm_Options_Logicielles_Forme::Cmd_Appliquer_Click() {
    Ecrit_Mouchard(QStringLiteral("Modification des options logicielles"));
    Forme_Ecran_Communication& communication = Ecran_Communication();
    communication.fermeture_port();

    Octet port = Port_Selectionne();
    if (port == 0) port = 1;
    communication.ouverture_port(port);
    // A port that does not open shows at the next request, as at start-up.
    Code_Erreur = 0;

    Port_Com = port;
    Police_Options = Police_En_Attente;
    Mettre_Couleurs_En_Vigueur(Couleurs_En_Attente);
    Tableau_Bord& menu1 = Frm_Menu1();
    menu1.Lbl_Info_Client(txt_nom_install_->text());

    // The options are in force whatever happens to the file; a save that
    // fails is told, the file keeps its previous content.
    try {
        const Resultat_Fichier r = Sauvegarde_Parametres_Logiciel();
        if (!r) Signaler_Echec_Options(r.Erreur);
    } catch (const std::exception& e) {
        Signaler_Echec_Options(QString::fromLocal8Bit(e.what()));
    }

    menu1.MAJ_Couleur_Menu1();
    Redimensionner();
}

// ------------------------------------------------------------ colours and font

Couleur Frm_Options_Logicielles_Forme::Choisir_Couleur(Rang_Couleur rang, Couleur preset, Apercu_Couleur* apercu) {
    Couleur choisie = preset;
    if (!Boites().ShowColor(choisie, QStringLiteral("Couleur"))) choisie = preset;
    Couleurs_En_Attente[rang] = choisie;
    apercu->Remplir(choisie);
    return choisie;
}

void Frm_Options_Logicielles_Forme::Lbl_Choix_Couleur_Police_Click() {
    Choisir_Couleur(Rang_Police, Couleurs_En_Attente[Rang_Police], pic_couleur_police_);
    // The module labels take the text colour as it was before this choice.
    Couleurs_En_Attente[Rang_Police_Modules] = Couleur_Police;
}

void Frm_Options_Logicielles_Forme::Lbl_Choix_Couleur_Fenetre_Click() {
    const Couleur c = Choisir_Couleur(Rang_Fenetre, Couleurs_En_Attente[Rang_Fenetre], pic_couleur_fenetre_);
    Couleurs_En_Attente[Rang_Fenetre_2] = c;
    Couleurs_En_Attente[Rang_Fenetre_3] = c;
}

void Frm_Options_Logicielles_Forme::Lbl_Choix_Couleur_Cadre_Click() {
    Choisir_Couleur(Rang_Cadre, Couleur_Cadre, pic_couleur_cadre_);
}

void Frm_Options_Logicielles_Forme::Lbl_Choix_Couleur_Police_Bandeau_Click() {
    Choisir_Couleur(Rang_Police_Bandeau, Couleurs_En_Attente[Rang_Police_Bandeau], pic_couleur_police_bandeau_);
}

void Frm_Options_Logicielles_Forme::Lbl_Choix_Couleur_Cadre_Bandeau_Click() {
    Choisir_Couleur(Rang_Cadre_Bandeau, Couleurs_En_Attente[Rang_Cadre_Bandeau], pic_couleur_cadre_bandeau_);
}

void Frm_Options_Logicielles_Forme::Lbl_Choix_Couleur_Fond_Bandeau_Click() {
    Choisir_Couleur(Rang_Fond_Bandeau, Couleurs_En_Attente[Rang_Fond_Bandeau], pic_couleur_fond_bandeau_);
}

void Frm_Options_Logicielles_Forme::Lbl_Choix_Police_Click() { Lbl_Police_Click(); }

void Frm_Options_Logicielles_Forme::Lbl_Police_Click() {
    Choix_Police police;
    police.Nom = Police_En_Attente;
    bool echec = false;
    try {
        Boites().ShowFont(police);
        // A dialog that gives back no font name found none to offer.
        echec = police.Nom.isEmpty();
    } catch (const std::exception&) {
        echec = true;
    }
    if (echec) {
        Code_Erreur = Erreur::Police;
        return;
    }
    Police_En_Attente = police.Nom;
    Affiche_Police_En_Attente();
}

void Frm_Options_Logicielles_Forme::Affiche_Police_En_Attente() {
    lbl_police_->setText(Police_En_Attente);
    Nom_Police(lbl_police_, Police_En_Attente);
    Ajuster_Texte(lbl_police_);
}

void Frm_Options_Logicielles_Forme::Cmd_Defaut_Click() {
    Police_En_Attente = Police_Defaut;
    Affiche_Police_En_Attente();
    Couleurs_En_Attente = Couleurs_Defaut(ostrel::Couleur_Fond(cmd_defaut_));
    Affiche_Apercu_Couleurs();
}

// ------------------------------------------------------------ password

void Frm_Options_Logicielles_Forme::Cmd_Psw_Admin_Click() {
    Changement_Mdp_En_Cours = Vrai;
    Mdp_Saisie = Mdp_Admin;
    // Over this screen, without the navigator: this screen stays loaded and current.
    Gestion_Formes& formes = Formes();
    formes.Charger(QStringLiteral("Frm_Psw"));
    formes.Afficher(QStringLiteral("Frm_Psw"));
    formes.Focus(QStringLiteral("Frm_Psw"));
}

}  // namespace ostrel
