#include "config/frm_param_voies.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "config/boite_numerique.h"
#include "config/parametres_voies.h"
#include "files/config_voies.h"
#include "files/impression.h"
#include "files/messages_fichiers.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/saisie.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

const QString Ecran_Voies = QStringLiteral("Réglages des voies");
const QString Forme_Etalonnage = QStringLiteral("Frm_Etalonnage");

// Place and size as fractions of the parent's width and height.
void Disposer(QWidget* w, double x, double y, double largeur, double hauteur) {
    const QWidget* p = w->parentWidget();
    const double W = p ? p->width() : 0, H = p ? p->height() : 0;
    w->setGeometry(Arrondi_Pixels(W * x), Arrondi_Pixels(H * y), Arrondi_Pixels(W * largeur),
                   Arrondi_Pixels(H * hauteur));
}

QRadioButton* Option(const char* nom, const QString& texte, QWidget* parent) {
    auto* o = new QRadioButton(texte, parent);
    o->setObjectName(QString::fromLatin1(nom));
    return o;
}

QGroupBox* Cadre(const char* nom, const QString& titre, QWidget* parent) {
    auto* c = new QGroupBox(titre, parent);
    c->setObjectName(QString::fromLatin1(nom));
    return c;
}

QLabel* Etiquette(const char* nom, const QString& texte, QWidget* parent) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QPushButton* Bouton(const char* nom, const QString& texte, QWidget* parent) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QString::fromLatin1(nom));
    return b;
}

QComboBox* Liste(const char* nom, QWidget* parent) {
    auto* l = new QComboBox(parent);
    l->setObjectName(QString::fromLatin1(nom));
    l->setEditable(false);
    return l;
}

Boite_Numerique* Numerique(const char* nom, QWidget* parent, const QString& format, double pas, double minimum,
                           double maximum, double valeur) {
    auto* b = new Boite_Numerique(QString::fromLatin1(nom), parent);
    b->FormatString(format);
    b->IncValue(pas);
    b->Minimum(minimum);
    b->Maximum(maximum);
    b->Value(valeur);
    return b;
}

Parametres_Voie& Voie_Affichee() {
    return Tab_Parametres_Voies[static_cast<size_t>(std::clamp<int>(Num_Voie_Affichee, 0, 15))];
}

// Whether an option's rule may act: enabled and shown, as far as the screen goes.
bool Actif(const QWidget* w, const QWidget* forme) { return w->isEnabledTo(forme); }
bool Montre(const QWidget* w, const QWidget* forme) { return w->isVisibleTo(forme); }

}  // namespace

Frm_Param_Voies_Forme::Frm_Param_Voies_Forme() : Forme(QStringLiteral("Frm_Param_Voies")) { Creer_Controles(); }

// ------------------------------------------------------------ controls

void Frm_Param_Voies_Forme::Creer_Controles() {
    Lbl_Nom_Ostrelclim = Etiquette("Lbl_Nom_Ostrelclim", QString(), this);
    TabStrip_Voies = new QTabBar(this);
    TabStrip_Voies->setObjectName(QStringLiteral("TabStrip_Voies"));
    TabStrip_Voies->setExpanding(true);
    TabStrip_Voies->setDrawBase(false);
    TabStrip_Voies->setUsesScrollButtons(false);
    Pic_Voie = new QWidget(this);
    Pic_Voie->setObjectName(QStringLiteral("Pic_Voie"));
    Pic_Voie->setAttribute(Qt::WA_StyledBackground);
    Pic_Voie->setStyleSheet(QStringLiteral("#Pic_Voie { background: #f0f0f0; border: 1px solid #808080; }"));
    QWidget* page = Pic_Voie;

    Frame_Service = Cadre("Frame_Service", QStringLiteral("Voie valide :"), page);
    Opt_Oui = Option("Opt_Oui", QStringLiteral("Oui"), Frame_Service);
    Opt_Non = Option("Opt_Non", QStringLiteral("Non"), Frame_Service);

    Frame_Voie = Cadre("Frame_Voie", QStringLiteral("Paramètres de la voie"), page);
    Lbl_Nom_Voie = Etiquette("Lbl_Nom_Voie", QStringLiteral("Nom de la voie :"), Frame_Voie);
    Txt_Nom_Voie = new QLineEdit(Frame_Voie);
    Txt_Nom_Voie->setObjectName(QStringLiteral("Txt_Nom_Voie"));
    Txt_Nom_Voie->setMaxLength(12);
    Txt_Nom_Voie->setToolTip(QStringLiteral("12 caractères maxi"));
    // Text pasted or dropped would pass by the key filter.
    Txt_Nom_Voie->setContextMenuPolicy(Qt::NoContextMenu);
    Txt_Nom_Voie->setAcceptDrops(false);
    Lbl_Per_Enreg = Etiquette("Lbl_Per_Enreg", QStringLiteral("Période d'enregistrement :"), Frame_Voie);
    Txt_Per_Enreg = Numerique("Txt_Per_Enreg", Frame_Voie, QStringLiteral("0."), 1, Minutes_Min, Minutes_Max, 30);
    Txt_Per_Enreg->setToolTip(QStringLiteral("(1 à 240 minutes)"));

    Frame_Nature_Capteur = Cadre("Frame_Nature_Capteur", QStringLiteral("Nature du capteur :"), page);
    Opt_AD590 = Option("Opt_AD590", QStringLiteral("AD590 / PT1000"), Frame_Nature_Capteur);
    Opt_4_20 = Option("Opt_4_20", QStringLiteral("4-20mA"), Frame_Nature_Capteur);
    Opt_ETOR = Option("Opt_ETOR", QStringLiteral("ETOR"), Frame_Nature_Capteur);
    Check_Etalonnage = Bouton("Check_Etalonnage", QStringLiteral("Etalonnage"), Frame_Nature_Capteur);

    Lbl_Echel_4 = Etiquette("Lbl_Echel_4", QStringLiteral("Echelle 4mA :"), page);
    Txt_Echel_4 = Numerique("Txt_Echel_4", page, QStringLiteral("0.0"), 0.1, Dixiemes_Min, Dixiemes_Max, 0);
    Lbl_Echel_20 = Etiquette("Lbl_Echel_20", QStringLiteral("Echelle 20mA :"), page);
    Txt_Echel_20 = Numerique("Txt_Echel_20", page, QStringLiteral("0.0"), 0.1, Dixiemes_Min, Dixiemes_Max, 100);
    Lbl_Unite = Etiquette("Lbl_Unite", QStringLiteral("Unité de mesure :"), page);
    Cmb_Unite = Liste("Cmb_Unite", page);

    Frame_Type_ETOR = Cadre("Frame_Type_ETOR", QStringLiteral("Type contact :"), page);
    Opt_Type_Contact_NF = Option("Opt_Type_Contact_NF", QStringLiteral("Normalement fermé"), Frame_Type_ETOR);
    Opt_Type_Contact_NO = Option("Opt_Type_Contact_NO", QStringLiteral("Normalement ouvert"), Frame_Type_ETOR);
    Frame_Role_Etor = Cadre("Frame_Role_Etor", QStringLiteral("Rôle de l'ETOR :"), page);
    Opt_Role_ETOR_Alarm = Option("Opt_Role_ETOR_Alarm", QStringLiteral("Alarme"), Frame_Role_Etor);
    Opt_Role_ETOR_Inhib = Option("Opt_Role_ETOR_Inhib", QStringLiteral("Inhibition"), Frame_Role_Etor);

    Frame_Inhibtion_Enreg = Cadre("Frame_Inhibtion_Enreg", QStringLiteral("Inhibition des Enregistrements :"), page);
    Opt_Inhib_Enreg_Oui = Option("Opt_Inhib_Enreg_Oui", QStringLiteral("Oui"), Frame_Inhibtion_Enreg);
    Opt_Inhib_Enreg_Non = Option("Opt_Inhib_Enreg_Non", QStringLiteral("Non"), Frame_Inhibtion_Enreg);
    Cmb_Num_ETOR_Inhib_Enreg = Liste("Cmb_Num_ETOR_Inhib_Enreg", Frame_Inhibtion_Enreg);

    Frame_Alarm_Service = Cadre("Frame_Alarm_Service", QStringLiteral("Alarme valide :"), page);
    Opt_Alarm_Oui = Option("Opt_Alarm_Oui", QStringLiteral("Oui"), Frame_Alarm_Service);
    Opt_Alarm_Non = Option("Opt_Alarm_Non", QStringLiteral("Non"), Frame_Alarm_Service);
    Lbl_Seuil_Haut = Etiquette("Lbl_Seuil_Haut", QStringLiteral("Seuil Haut :"), page);
    Txt_Seuil_Haut = Numerique("Txt_Seuil_Haut", page, QStringLiteral("0.0"), 0.1, Dixiemes_Min, Dixiemes_Max, 150);
    Lbl_Seuil_Bas = Etiquette("Lbl_Seuil_Bas", QStringLiteral("Seuil Bas :"), page);
    Txt_Seuil_Bas = Numerique("Txt_Seuil_Bas", page, QStringLiteral("0.0"), 0.1, Dixiemes_Min, Dixiemes_Max, -50);
    Lbl_Tempo_Alarm = Etiquette("Lbl_Tempo_Alarm", QStringLiteral("Temporisation d'Alarme :"), page);
    Txt_Tempo_Alarm = Numerique("Txt_Tempo_Alarm", page, QStringLiteral("0."), 1, Minutes_Min, Minutes_Max, 30);
    Txt_Tempo_Alarm->setToolTip(QStringLiteral("(1 à 240 minuntes)"));

    Frame_Declench_Relais = Cadre("Frame_Declench_Relais", QStringLiteral("Déclenchement sur le relais :"), page);
    Opt_Relais_1 = Option("Opt_Relais_1", QStringLiteral("Relais 1"), Frame_Declench_Relais);
    Opt_Relais_2 = Option("Opt_Relais_2", QStringLiteral("Relais 2"), Frame_Declench_Relais);
    Frame_Buzzer = Cadre("Frame_Buzzer", QStringLiteral("Buzzer Actif :"), page);
    Opt_Buzzer_Oui = Option("Opt_Buzzer_Oui", QStringLiteral("Oui"), Frame_Buzzer);
    Opt_Buzzer_Non = Option("Opt_Buzzer_Non", QStringLiteral("Non"), Frame_Buzzer);
    Frame_Inhibition_Alarm =
        Cadre("Frame_Inhibition_Alarm", QStringLiteral("Inhibition de l'Alarme par une ETOR:"), page);
    Opt_Inhib_Alarm_Oui = Option("Opt_Inhib_Alarm_Oui", QStringLiteral("Oui"), Frame_Inhibition_Alarm);
    Opt_Inhib_Alarm_Non = Option("Opt_Inhib_Alarm_Non", QStringLiteral("Non"), Frame_Inhibition_Alarm);
    Cmb_Num_ETOR_Inhib_Alarm = Liste("Cmb_Num_ETOR_Inhib_Alarm", Frame_Inhibition_Alarm);
    Frame_Inhib_Alarm_Planning =
        Cadre("Frame_Inhib_Alarm_Planning", QStringLiteral("Inhibition de l'Alarme par un planning:"), page);
    Opt_Inhib_Alarm_Planning_Oui =
        Option("Opt_Inhib_Alarm_Planning_Oui", QStringLiteral("Oui"), Frame_Inhib_Alarm_Planning);
    Opt_Inhib_Alarm_Planning_Non =
        Option("Opt_Inhib_Alarm_Planning_Non", QStringLiteral("Non"), Frame_Inhib_Alarm_Planning);
    Cmb_Num_Planning_Inhib = Liste("Cmb_Num_Planning_Inhib", Frame_Inhib_Alarm_Planning);

    Cmd_Importer = Bouton("Cmd_Importer", QStringLiteral("Importer"), this);
    Cmd_Telecharger = Bouton("Cmd_Telecharger", QStringLiteral("Télécharger"), this);
    Cmd_Sauvegarder = Bouton("Cmd_Sauvegarder", QStringLiteral("Sauvegarder"), this);
    Cmd_Ouvrir = Bouton("Cmd_Ouvrir", QStringLiteral("Ouvrir"), this);
    Cmd_Imprimer = Bouton("Cmd_Imprimer", QStringLiteral("Imprimer"), this);
    Cmd_Quitter = Bouton("Cmd_Quitter", QStringLiteral("Retour"), this);

    // Design state: every pair with its first option, the lists empty and hidden.
    for (QRadioButton* o : {Opt_Oui, Opt_AD590, Opt_Type_Contact_NO, Opt_Role_ETOR_Alarm, Opt_Inhib_Enreg_Non,
                            Opt_Alarm_Non, Opt_Relais_1, Opt_Buzzer_Oui, Opt_Inhib_Alarm_Non,
                            Opt_Inhib_Alarm_Planning_Non})
        o->setChecked(true);
    for (QComboBox* l : {Cmb_Num_ETOR_Inhib_Enreg, Cmb_Num_ETOR_Inhib_Alarm, Cmb_Num_Planning_Inhib}) l->hide();

    // An option's rule runs when it becomes selected, by a click or by the program.
    auto regle = [this](QRadioButton* o, void (Frm_Param_Voies_Forme::*f)()) {
        connect(o, &QRadioButton::toggled, this, [this, f](bool coche) {
            if (coche && pret_) (this->*f)();
        });
    };
    regle(Opt_Oui, &Frm_Param_Voies_Forme::Opt_Oui_Click);
    regle(Opt_Non, &Frm_Param_Voies_Forme::Opt_Non_Click);
    regle(Opt_AD590, &Frm_Param_Voies_Forme::Opt_AD590_Click);
    regle(Opt_4_20, &Frm_Param_Voies_Forme::Opt_4_20_Click);
    regle(Opt_ETOR, &Frm_Param_Voies_Forme::Opt_ETOR_Click);
    regle(Opt_Type_Contact_NF, &Frm_Param_Voies_Forme::Opt_Type_Contact_NF_Click);
    regle(Opt_Type_Contact_NO, &Frm_Param_Voies_Forme::Opt_Type_Contact_NO_Click);
    regle(Opt_Role_ETOR_Alarm, &Frm_Param_Voies_Forme::Opt_Role_ETOR_Alarm_Click);
    regle(Opt_Role_ETOR_Inhib, &Frm_Param_Voies_Forme::Opt_Role_ETOR_Inhib_Click);
    regle(Opt_Alarm_Oui, &Frm_Param_Voies_Forme::Opt_Alarm_Oui_Click);
    regle(Opt_Alarm_Non, &Frm_Param_Voies_Forme::Opt_Alarm_Non_Click);
    regle(Opt_Buzzer_Oui, &Frm_Param_Voies_Forme::Opt_Buzzer_Oui_Click);
    regle(Opt_Buzzer_Non, &Frm_Param_Voies_Forme::Opt_Buzzer_Non_Click);
    regle(Opt_Relais_1, &Frm_Param_Voies_Forme::Opt_Relais_1_Click);
    regle(Opt_Relais_2, &Frm_Param_Voies_Forme::Opt_Relais_2_Click);
    regle(Opt_Inhib_Alarm_Oui, &Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Oui_Click);
    regle(Opt_Inhib_Alarm_Non, &Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Non_Click);
    regle(Opt_Inhib_Enreg_Oui, &Frm_Param_Voies_Forme::Opt_Inhib_Enreg_Oui_Click);
    regle(Opt_Inhib_Enreg_Non, &Frm_Param_Voies_Forme::Opt_Inhib_Enreg_Non_Click);
    regle(Opt_Inhib_Alarm_Planning_Oui, &Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Planning_Oui_Click);
    regle(Opt_Inhib_Alarm_Planning_Non, &Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Planning_Non_Click);

    // The unit follows every change of entry; the other lists only the operator's picks.
    connect(Cmb_Unite, &QComboBox::currentIndexChanged, this, [this](int) {
        if (pret_) Cmb_Unite_Click();
    });
    connect(Cmb_Num_ETOR_Inhib_Alarm, &QComboBox::activated, this, [this](int) { Cmb_Num_ETOR_Inhib_Alarm_Click(); });
    connect(Cmb_Num_ETOR_Inhib_Enreg, &QComboBox::activated, this, [this](int) { Cmb_Num_ETOR_Inhib_Enreg_Click(); });
    connect(Cmb_Num_Planning_Inhib, &QComboBox::activated, this, [this](int) { Cmb_Num_Planning_Inhib_Click(); });

    connect(Txt_Per_Enreg, &Boite_Numerique::ValueChanged, this, [this] { Txt_Per_Enreg_Change(); });
    connect(Txt_Tempo_Alarm, &Boite_Numerique::ValueChanged, this, [this] { Txt_Tempo_Alarm_Change(); });
    connect(Txt_Seuil_Haut, &Boite_Numerique::ValueChanged, this, [this] { Txt_Seuil_Haut_Change(); });
    connect(Txt_Seuil_Bas, &Boite_Numerique::ValueChanged, this, [this] { Txt_Seuil_Bas_Change(); });
    connect(Txt_Echel_4, &Boite_Numerique::ValueChanged, this, [this] { Txt_Echel_4_Change(); });
    connect(Txt_Echel_20, &Boite_Numerique::ValueChanged, this, [this] { Txt_Echel_20_Change(); });
    connect(Txt_Nom_Voie, &QLineEdit::textChanged, this, [this] { Txt_Nom_Voie_Change(); });
    Crochets_Champ* crochets = Crochets_Champ::Installer(Txt_Nom_Voie);
    crochets->KeyPress = [this](int& KeyAscii) { Txt_Nom_Voie_KeyPress(KeyAscii); };
    crochets->Click = [this] { Txt_Nom_Voie_Click(); };

    connect(TabStrip_Voies, &QTabBar::currentChanged, this, [this](int) { TabStrip_Voies_Click(); });

    connect(Cmd_Importer, &QPushButton::clicked, this, &Frm_Param_Voies_Forme::Cmd_Importer_Click);
    connect(Cmd_Telecharger, &QPushButton::clicked, this, &Frm_Param_Voies_Forme::Cmd_Telecharger_Click);
    connect(Cmd_Sauvegarder, &QPushButton::clicked, this, &Frm_Param_Voies_Forme::Cmd_Sauvegarder_Click);
    connect(Cmd_Ouvrir, &QPushButton::clicked, this, &Frm_Param_Voies_Forme::Cmd_Ouvrir_Click);
    connect(Cmd_Imprimer, &QPushButton::clicked, this, &Frm_Param_Voies_Forme::Cmd_Imprimer_Click);
    connect(Check_Etalonnage, &QPushButton::clicked, this, &Frm_Param_Voies_Forme::Check_Etalonnage_Click);
    connect(Cmd_Quitter, &QPushButton::clicked, this, &Frm_Param_Voies_Forme::Cmd_Quitter_Click);
}

// ------------------------------------------------------------ opening and layout

void Frm_Param_Voies_Forme::Form_Load() {
    // Limits of the numeric boxes.
    Txt_Per_Enreg->Minimum(Minutes_Min);
    Txt_Per_Enreg->Maximum(Minutes_Max);
    Txt_Tempo_Alarm->Minimum(Minutes_Min);
    Txt_Tempo_Alarm->Maximum(Minutes_Max);
    for (Boite_Numerique* b : {Txt_Seuil_Haut, Txt_Seuil_Bas, Txt_Echel_4, Txt_Echel_20}) {
        b->Minimum(Dixiemes_Min);
        b->Maximum(Dixiemes_Max);
    }
    Etalonnage_Demande = Faux;
    Nom_Module = Tab_Parametres_Modules[static_cast<size_t>(Num_Module - 1)].Entete;
    Num_Voie_Affichee = 0;
    Frm_Menu1().Lbl_Nom_Menu(Ecran_Voies);
    KeyPreview = true;
    Octet module = Num_Module;
    Frm_Menu1().Init_Label_OC(module);
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);

    if (Module_Connecte()) {
        Importer_Config_Ostrelclim();
        Lbl_Nom_Ostrelclim->setText(QStringLiteral("Module n°") + QString::number(Num_Module));
    } else {
        Code_Erreur = Erreur::Ligne;
    }
    if (Code_Erreur != 0) {
        Code_Erreur = 0;
        Creation_Tableau_Parametres_Defaut();
        Octet aucun = 0;
        Frm_Menu1().Init_Label_OC(aucun);
        Lbl_Nom_Ostrelclim->setText(Module_Non_Connecte);
    } else {
        Frm_Menu1().Init_Label_OC(module);
    }
    Nb_Voies_Affichees = Nb_Voies_Module[static_cast<size_t>(Num_Module - 1)];
    Construire_Onglets();

    Cmb_Unite->blockSignals(true);
    Cmb_Unite->clear();
    for (Octet unite = 0; unite <= 3; ++unite) Cmb_Unite->addItem(Texte_Unite(unite));
    Cmb_Unite->blockSignals(false);
    Cmb_Num_Planning_Inhib->clear();
    Cmb_Num_Planning_Inhib->addItem(Texte_Aucun_Planning);
    for (int p = 16; p >= 1; --p) Cmb_Num_Planning_Inhib->insertItem(1, QStringLiteral("Planning n°") + QString::number(p));

    // The controls of the three kinds share one place on the page. An
    // out-of-service channel keeps those shown before it, so the screen opens
    // on those of the first channel's kind rather than on all three at once.
    const Octet nature = Tab_Parametres_Voies[0].Nature_Capteur <= 2 ? Tab_Parametres_Voies[0].Nature_Capteur : 0;
    Montrer_Controles_Nature(nature);
    (nature == 2 ? Opt_ETOR : nature == 1 ? Opt_4_20 : Opt_AD590)->setChecked(true);

    pret_ = true;
    Affiche_Parametres_Voie(0);
    Redimensionner();
}

bool Frm_Param_Voies_Forme::Module_Connecte() const {
    const int index = Rang_Module_En_Service(Num_Module) - 1;
    return Frm_Menu1().Caption_Lbl_OC(index) != Module_Non_Connecte;
}

void Frm_Param_Voies_Forme::Construire_Onglets() {
    TabStrip_Voies->blockSignals(true);
    while (TabStrip_Voies->count() > 0) TabStrip_Voies->removeTab(0);
    for (int k = 1; k <= Nb_Voies_Affichees; ++k) TabStrip_Voies->addTab(QStringLiteral("voie ") + QString::number(k));
    TabStrip_Voies->setCurrentIndex(std::clamp<int>(Num_Voie_Affichee, 0, std::max(0, Nb_Voies_Affichees - 1)));
    TabStrip_Voies->blockSignals(false);
}

void Frm_Param_Voies_Forme::Form_Resize() {
    Couleur_Fond(Couleur_Fenetre);
    Disposer(Lbl_Nom_Ostrelclim, 0.02, 0.012, 0.60, 0.055);
    Disposer(TabStrip_Voies, 0.02, 0.07, 0.96, 0.05);
    Disposer(Pic_Voie, 0.02, 0.12, 0.96, 0.745);

    // The channel on top, its alarm below; four columns.
    const double c1 = 0.012, c2 = 0.258, c3 = 0.504, c4 = 0.75, lc = 0.238;
    Disposer(Frame_Service, c1, 0.02, lc, 0.13);
    Disposer(Frame_Voie, c1, 0.17, lc, 0.30);
    Disposer(Frame_Nature_Capteur, c2, 0.02, lc, 0.45);
    Disposer(Lbl_Echel_4, c3, 0.02, lc, 0.055);
    Disposer(Txt_Echel_4, c3, 0.08, lc * 0.6, 0.065);
    Disposer(Lbl_Echel_20, c3, 0.17, lc, 0.055);
    Disposer(Txt_Echel_20, c3, 0.23, lc * 0.6, 0.065);
    Disposer(Lbl_Unite, c3, 0.32, lc, 0.055);
    Disposer(Cmb_Unite, c3, 0.38, lc * 0.6, 0.065);
    Disposer(Frame_Type_ETOR, c3, 0.02, lc, 0.21);
    Disposer(Frame_Role_Etor, c3, 0.26, lc, 0.21);
    Disposer(Frame_Inhibtion_Enreg, c4, 0.02, lc, 0.30);

    Disposer(Frame_Alarm_Service, c1, 0.53, lc, 0.13);
    Disposer(Lbl_Seuil_Haut, c1, 0.69, lc * 0.66, 0.065);
    Disposer(Txt_Seuil_Haut, c1 + lc * 0.67, 0.69, lc * 0.33, 0.065);
    Disposer(Lbl_Seuil_Bas, c1, 0.79, lc * 0.66, 0.065);
    Disposer(Txt_Seuil_Bas, c1 + lc * 0.67, 0.79, lc * 0.33, 0.065);
    Disposer(Lbl_Tempo_Alarm, c1, 0.89, lc * 0.66, 0.065);
    Disposer(Txt_Tempo_Alarm, c1 + lc * 0.67, 0.89, lc * 0.33, 0.065);
    Disposer(Frame_Declench_Relais, c2, 0.53, lc, 0.21);
    Disposer(Frame_Buzzer, c2, 0.77, lc, 0.19);
    Disposer(Frame_Inhibition_Alarm, c3, 0.53, lc, 0.30);
    Disposer(Frame_Inhib_Alarm_Planning, c4, 0.53, lc, 0.30);

    // Inside the frames.
    auto paire = [](QRadioButton* a, QRadioButton* b, double haut) {
        Disposer(a, 0.08, haut, 0.4, 0.36);
        Disposer(b, 0.52, haut, 0.4, 0.36);
    };
    paire(Opt_Oui, Opt_Non, 0.42);
    paire(Opt_Alarm_Oui, Opt_Alarm_Non, 0.42);
    paire(Opt_Buzzer_Oui, Opt_Buzzer_Non, 0.38);
    paire(Opt_Inhib_Enreg_Oui, Opt_Inhib_Enreg_Non, 0.22);
    paire(Opt_Inhib_Alarm_Oui, Opt_Inhib_Alarm_Non, 0.22);
    paire(Opt_Inhib_Alarm_Planning_Oui, Opt_Inhib_Alarm_Planning_Non, 0.22);
    for (QComboBox* l : {Cmb_Num_ETOR_Inhib_Enreg, Cmb_Num_ETOR_Inhib_Alarm, Cmb_Num_Planning_Inhib})
        Disposer(l, 0.08, 0.58, 0.84, 0.24);
    Disposer(Opt_Relais_1, 0.08, 0.22, 0.84, 0.3);
    Disposer(Opt_Relais_2, 0.08, 0.56, 0.84, 0.3);
    Disposer(Opt_Type_Contact_NF, 0.08, 0.22, 0.84, 0.3);
    Disposer(Opt_Type_Contact_NO, 0.08, 0.56, 0.84, 0.3);
    Disposer(Opt_Role_ETOR_Alarm, 0.08, 0.22, 0.84, 0.3);
    Disposer(Opt_Role_ETOR_Inhib, 0.08, 0.56, 0.84, 0.3);
    Disposer(Lbl_Nom_Voie, 0.06, 0.13, 0.88, 0.17);
    Disposer(Txt_Nom_Voie, 0.06, 0.31, 0.88, 0.2);
    Disposer(Lbl_Per_Enreg, 0.06, 0.55, 0.88, 0.17);
    Disposer(Txt_Per_Enreg, 0.06, 0.73, 0.5, 0.2);
    Disposer(Opt_AD590, 0.08, 0.12, 0.84, 0.14);
    Disposer(Opt_4_20, 0.08, 0.28, 0.84, 0.14);
    Disposer(Opt_ETOR, 0.08, 0.44, 0.84, 0.14);
    Disposer(Check_Etalonnage, 0.08, 0.70, 0.84, 0.18);

    const double largeur_bouton = 0.145, pas = 0.96 / 6;
    int i = 0;
    for (QPushButton* b : {Cmd_Importer, Cmd_Telecharger, Cmd_Sauvegarder, Cmd_Ouvrir, Cmd_Imprimer, Cmd_Quitter})
        Disposer(b, 0.02 + pas * i++ + (pas - largeur_bouton) / 2, 0.89, largeur_bouton, 0.08);

    // Fonts: the module label and the commands larger, the settings smaller.
    const auto enfants = findChildren<QWidget*>();
    for (QWidget* w : enfants) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Petite);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Lbl_Nom_Ostrelclim, Cmd_Importer, Cmd_Telecharger,
                                                        Cmd_Sauvegarder, Cmd_Ouvrir, Cmd_Imprimer, Cmd_Quitter}) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Moyenne);
    }
    Police_Grasse(Lbl_Nom_Ostrelclim, true);
    Couleur_Texte(Lbl_Nom_Ostrelclim, Couleur_Police);
    Couleur_Texte_Lisible(TabStrip_Voies, Couleur_Texte_Fenetre, Couleur_Fenetre, Couleur_Police);
}

void Frm_Param_Voies_Forme::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap) Cmd_Quitter_Click();
}

// ------------------------------------------------------------ table

void Frm_Param_Voies_Forme::Creation_Tableau_Parametres_Defaut() {
    const int reponse = Boites().MsgBox(
        QStringLiteral("Le module n'est pas connecté! Voulez vous paramétrer un module 8 voies (oui) ou un module 16 "
                       "voies (non) ?"),
        vbYesNo + vbQuestion);
    const Octet n = reponse == vbYes ? 8 : 16;
    Nb_Voies_Module[static_cast<size_t>(Num_Module - 1)] = n;
    Nb_Voies_Affichees = n;
    Creation_Table_Defaut(n);
}

void Frm_Param_Voies_Forme::Importer_Config_Ostrelclim() {
    if (!Importer_Voies_Module(Nb_Voies_Affichees)) return;
    if (isVisible()) {
        Premier_Plan();
        Donner_Focus();
    }
}

// ------------------------------------------------------------ commands

void Frm_Param_Voies_Forme::Cmd_Importer_Click() {
    if (Boites().MsgBox(QStringLiteral("Le module doit être connecté à l'ordinateur pour commencer l'importation des "
                                       "paramètres !"),
                        vbOKCancel + vbExclamation) == vbCancel)
        return;
    Importer_Config_Ostrelclim();
    if (Code_Erreur != 0) {
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
        return;
    }
    // A module of another size than the tabs show: the tabs follow it.
    if (TabStrip_Voies->count() != Nb_Voies_Affichees) {
        Num_Voie_Affichee = std::min<Entier>(Num_Voie_Affichee, Nb_Voies_Affichees - 1);
        Construire_Onglets();
    }
    Affiche_Parametres_Voie(Num_Voie_Affichee);
}

void Frm_Param_Voies_Forme::Cmd_Telecharger_Click() {
    if (Lbl_Nom_Ostrelclim->text() == Module_Non_Connecte &&
        Boites().MsgBox(QStringLiteral("Le module doit être connecté à l'ordinateur pour commencer le téléchargement !"),
                        vbOKCancel + vbExclamation) == vbCancel)
        return;
    setEnabled(false);
    Frm_Menu1().Premier_Plan();
    Frm_Menu1().Focus();
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Purger"), Faux);
    if (Code_Erreur != 0) Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

void Frm_Param_Voies_Forme::Preparer_Dialogue(Dialogue_Fichier& dialogue, const QString& titre) const {
    dialogue.DialogTitle = titre;
    dialogue.FileName = QStringLiteral("Config_Voies_MD_") + QString::number(Num_Module);
    dialogue.DefaultExt = QStringLiteral(".txt");
    dialogue.InitDir = Repertoire_Parametrage_Voies;
    dialogue.Filter = QStringLiteral("(*.txt)|*.txt");
}

void Frm_Param_Voies_Forme::Cmd_Sauvegarder_Click() {
    Dialogue_Fichier dialogue;
    Preparer_Dialogue(dialogue, QStringLiteral("Sauvegarde de la configuration du Module n°") + QString::number(Num_Module));
    // The folder of the channel files may not exist yet on a new installation.
    QDir().mkpath(Chemin_Natif(Repertoire_Parametrage_Voies));
    Boites().ShowSave(dialogue);
    if (dialogue.FileName.endsWith(QStringLiteral(".txt"), Qt::CaseSensitive)) {
        if (Sauvegarde_Config_Voies(Chemin_Natif(dialogue.FileName), Nb_Voies_Affichees))
            Boites().MsgBox(Texte_Sauvegarde_Terminee);
        Frm_Menu1().Focus();
    }
    Premier_Plan();
    Donner_Focus();
}

void Frm_Param_Voies_Forme::Cmd_Ouvrir_Click() {
    Dialogue_Fichier dialogue;
    Preparer_Dialogue(dialogue, QStringLiteral("Restauration d'une configuration à partir d'un fichier"));
    Boites().ShowOpen(dialogue);
    if (dialogue.FileName.endsWith(QStringLiteral(".txt"), Qt::CaseSensitive)) {
        if (Restauration_Config_Voies(Chemin_Natif(dialogue.FileName), Nb_Voies_Affichees)) {
            // A file edited by hand may hold codes and numbers the module cannot take.
            for (int k = 0; k < Nb_Voies_Affichees; ++k) Valider_Voie(Tab_Parametres_Voies[static_cast<size_t>(k)]);
        }
        Frm_Menu1().Focus();
    }
    Premier_Plan();
    Affiche_Parametres_Voie(Num_Voie_Affichee);
    Donner_Focus();
}

void Frm_Param_Voies_Forme::Cmd_Imprimer_Click() {
    Imprimer_Parametres_Voies(Nb_Voies_Affichees);
    Affiche_Parametres_Voie(Num_Voie_Affichee);
}

void Frm_Param_Voies_Forme::Check_Etalonnage_Click() {
    Etalonnage_Demande = Vrai;
    Num_Voie_Etalonnage = static_cast<Octet>(Num_Voie_Affichee);
    if (Lbl_Nom_Ostrelclim->text() == Module_Non_Connecte) return;
    Gestion_Formes& formes = Formes();
    formes.Charger(Forme_Etalonnage);
    if (!formes.Est_Chargee(Forme_Etalonnage)) return;
    formes.Afficher(Forme_Etalonnage);
    formes.Focus(Forme_Etalonnage);
    setEnabled(false);
    Frm_Menu1().Enabled(false);
    // The dialog is a window of the dashboard's and went out with it: it alone takes input now.
    formes.Activer(Forme_Etalonnage);
}

void Frm_Param_Voies_Forme::Cmd_Quitter_Click() {
    if (Lbl_Nom_Ostrelclim->text() != Module_Non_Connecte && Etalonnage_Demande != Faux) {
        Gestion_Formes& formes = Formes();
        const QString patientez = QStringLiteral("Frm_Patientez");
        formes.Charger(patientez);
        formes.Afficher(patientez);
        formes.Focus(patientez);
        formes.Rafraichir(patientez);
        Commande_Mode_Fonctionnement(Num_Module, 0);
        Pause(1000);
        // The module must get back to its normal mode even when the first command was lost.
        Code_Erreur = 0;
        Commande_Mode_Fonctionnement(Num_Module, 255);
        Code_Erreur = 0;
        formes.Decharger(patientez);
    }
    if (Boites().MsgBox(QStringLiteral("Voulez vous quitter l'écran de paramétrage des voies ?"),
                        vbOKCancel + vbQuestion) == vbOK)
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Configuration"), Faux);
}

// ------------------------------------------------------------ showing a channel

void Frm_Param_Voies_Forme::Selectionner(QRadioButton* option) {
    if (!option->isChecked()) option->setChecked(true);
}

void Frm_Param_Voies_Forme::Poser_Valeur(Boite_Numerique* boite, double valeur, void (Frm_Param_Voies_Forme::*regle)()) {
    // The value comes back through the box's own conversion, like a typed one.
    boite->Value(valeur);
    (this->*regle)();
}

bool Frm_Param_Voies_Forme::Enregistrement_Affiche() const {
    return pret_ && Num_Voie_Affichee >= 0 && Num_Voie_Affichee < 16;
}

void Frm_Param_Voies_Forme::Affiche_Parametres_Voie(Entier i) {
    if (Nb_Voies_Affichees == 0) return;
    Num_Voie_Affichee = std::clamp<Entier>(i, 0, Nb_Voies_Affichees - 1);
    Parametres_Voie& R = Voie_Affichee();
    if (TabStrip_Voies->currentIndex() != Num_Voie_Affichee) {
        TabStrip_Voies->blockSignals(true);
        TabStrip_Voies->setCurrentIndex(Num_Voie_Affichee);
        TabStrip_Voies->blockSignals(false);
    }
    Txt_Echel_20->Minimum(Dixiemes_Min);
    Txt_Echel_20->Maximum(Dixiemes_Max);
    Txt_Echel_4->Minimum(Dixiemes_Min);
    Txt_Echel_4->Maximum(Dixiemes_Max);
    if (!Entree_Contact(R)) R.Role_ETOR_Inhib = Faux;

    if (R.Voie_Valide == 0) {
        Selectionner(Opt_Non);
        Opt_Non_Click();
    } else {
        Selectionner(Opt_Oui);
        Opt_Oui_Click();
    }
    Txt_Nom_Voie->setText(R.Nom_Voie);
    Txt_Nom_Voie_Change();
    Poser_Valeur(Txt_Per_Enreg, R.Periode_Enreg, &Frm_Param_Voies_Forme::Txt_Per_Enreg_Change);
    Poser_Valeur(Txt_Echel_4, R.Echelle_4mA, &Frm_Param_Voies_Forme::Txt_Echel_4_Change);
    Poser_Valeur(Txt_Echel_20, R.Echelle_20mA, &Frm_Param_Voies_Forme::Txt_Echel_20_Change);
    if (R.Unite < 4) {
        Cmb_Unite->setCurrentIndex(R.Unite);
        Cmb_Unite_Click();
    }
    Selectionner(R.Contact_NF != 0 ? Opt_Type_Contact_NF : Opt_Type_Contact_NO);
    Selectionner(R.Role_ETOR_Inhib != 0 ? Opt_Role_ETOR_Inhib : Opt_Role_ETOR_Alarm);
    if (R.Alarme_Valide != 0) {
        Selectionner(Opt_Alarm_Oui);
        Opt_Alarm_Oui_Click();
    } else {
        Selectionner(Opt_Alarm_Non);
        Opt_Alarm_Non_Click();
    }
    Poser_Valeur(Txt_Tempo_Alarm, R.Tempo_Alarme, &Frm_Param_Voies_Forme::Txt_Tempo_Alarm_Change);
    Poser_Valeur(Txt_Seuil_Haut, R.Seuil_Haut, &Frm_Param_Voies_Forme::Txt_Seuil_Haut_Change);
    Poser_Valeur(Txt_Seuil_Bas, R.Seuil_Bas, &Frm_Param_Voies_Forme::Txt_Seuil_Bas_Change);
    Selectionner(R.Buzzer != 0 ? Opt_Buzzer_Oui : Opt_Buzzer_Non);
    Selectionner(R.Relais_2 != 0 ? Opt_Relais_2 : Opt_Relais_1);
    if (R.Inhib_Enreg_ETOR != 0) {
        Selectionner(Opt_Inhib_Enreg_Oui);
        Opt_Inhib_Enreg_Oui_Click();
    } else {
        Selectionner(Opt_Inhib_Enreg_Non);
        Opt_Inhib_Enreg_Non_Click();
    }
    if (R.Inhib_Alarme_ETOR != 0) {
        Selectionner(Opt_Inhib_Alarm_Oui);
        Opt_Inhib_Alarm_Oui_Click();
    } else {
        Selectionner(Opt_Inhib_Alarm_Non);
        Opt_Inhib_Alarm_Non_Click();
    }
    if (R.Num_Planning_Inhib != 0) {
        Selectionner(Opt_Inhib_Alarm_Planning_Oui);
        Opt_Inhib_Alarm_Planning_Oui_Click();
    } else {
        Selectionner(Opt_Inhib_Alarm_Planning_Non);
        Opt_Inhib_Alarm_Planning_Non_Click();
    }
}

void Frm_Param_Voies_Forme::TabStrip_Voies_Click() { Affiche_Parametres_Voie(TabStrip_Voies->currentIndex()); }

void Frm_Param_Voies_Forme::Active_Controles_Alarme(bool actif) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             Lbl_Seuil_Haut, Txt_Seuil_Haut, Lbl_Seuil_Bas, Txt_Seuil_Bas, Lbl_Tempo_Alarm, Txt_Tempo_Alarm,
             Frame_Declench_Relais, Opt_Relais_1, Opt_Relais_2, Frame_Buzzer, Opt_Buzzer_Oui, Opt_Buzzer_Non,
             Frame_Inhibition_Alarm, Opt_Inhib_Alarm_Oui, Opt_Inhib_Alarm_Non, Cmb_Num_ETOR_Inhib_Alarm,
             Frame_Inhib_Alarm_Planning, Opt_Inhib_Alarm_Planning_Oui, Opt_Inhib_Alarm_Planning_Non,
             Cmb_Num_Planning_Inhib})
        w->setEnabled(actif);
}

void Frm_Param_Voies_Forme::Active_Controles_Voie(bool actif) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             Frame_Voie, Lbl_Nom_Voie, Txt_Nom_Voie, Lbl_Per_Enreg, Txt_Per_Enreg, Frame_Inhibtion_Enreg,
             Opt_Inhib_Enreg_Oui, Opt_Inhib_Enreg_Non, Cmb_Num_ETOR_Inhib_Enreg, Frame_Nature_Capteur, Opt_AD590,
             Opt_4_20, Opt_ETOR, Lbl_Echel_4, Txt_Echel_4, Lbl_Echel_20, Txt_Echel_20, Lbl_Unite, Cmb_Unite,
             Frame_Type_ETOR, Opt_Type_Contact_NF, Opt_Type_Contact_NO, Frame_Role_Etor, Opt_Role_ETOR_Alarm,
             Opt_Role_ETOR_Inhib, Check_Etalonnage, Opt_Alarm_Oui, Opt_Alarm_Non})
        w->setEnabled(actif);
    Active_Controles_Alarme(actif);
}

// ------------------------------------------------------------ rules: service and kind

void Frm_Param_Voies_Forme::Opt_Non_Click() {
    if (!Enregistrement_Affiche()) return;
    Active_Controles_Voie(false);
    Parametres_Voie& R = Voie_Affichee();
    R.Voie_Valide = Faux;
    R.Alarme_Valide = Faux;
    R.Inhib_Alarme_ETOR = Faux;
    R.Inhib_Enreg_ETOR = Faux;
}

void Frm_Param_Voies_Forme::Opt_Oui_Click() {
    if (!Enregistrement_Affiche()) return;
    Active_Controles_Voie(true);
    Parametres_Voie& R = Voie_Affichee();
    switch (R.Nature_Capteur) {
    case 0: Selectionner(Opt_AD590); Opt_AD590_Click(); break;
    case 1: Selectionner(Opt_4_20); Opt_4_20_Click(); break;
    case 2: Selectionner(Opt_ETOR); Opt_ETOR_Click(); break;
    default: break;
    }
    if (R.Alarme_Valide != 0) Opt_Alarm_Oui_Click();
    else Opt_Alarm_Non_Click();
    R.Voie_Valide = Vrai;
}

void Frm_Param_Voies_Forme::Montrer_Controles_Nature(Octet nature) {
    const bool echelles = nature == 1, etor = nature == 2;
    for (QWidget* w : std::initializer_list<QWidget*>{Txt_Echel_4, Txt_Echel_20, Lbl_Echel_4, Lbl_Echel_20})
        w->setVisible(echelles);
    for (QWidget* w : std::initializer_list<QWidget*>{Opt_Type_Contact_NF, Opt_Type_Contact_NO, Opt_Role_ETOR_Alarm,
                                                        Opt_Role_ETOR_Inhib, Frame_Type_ETOR, Frame_Role_Etor})
        w->setVisible(etor);
    for (QWidget* w : std::initializer_list<QWidget*>{Lbl_Per_Enreg, Txt_Per_Enreg, Cmb_Unite, Lbl_Unite, Check_Etalonnage})
        w->setVisible(!etor);
}

void Frm_Param_Voies_Forme::Opt_AD590_Click() {
    if (!Enregistrement_Affiche() || !Actif(Opt_AD590, this) || !Montre(Opt_AD590, this)) return;
    Parametres_Voie& R = Voie_Affichee();
    if (Entree_Contact(R)) Retrait_Entree_Inhibition(static_cast<Octet>(Num_Voie_Affichee + 1), Nb_Voies_Affichees);
    Montrer_Controles_Nature(0);
    Cmb_Unite->setEnabled(false);
    Lbl_Unite->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{Frame_Inhibtion_Enreg, Opt_Inhib_Enreg_Non, Opt_Inhib_Enreg_Oui})
        w->setEnabled(true);
    // An AD590 measures in degrees only.
    Cmb_Unite->setCurrentIndex(0);
    Cmb_Unite_Click();
    R.Unite = 0;
    R.Nature_Capteur = 0;
    if (R.Alarme_Valide != 0) Opt_Alarm_Oui_Click();
    else Opt_Alarm_Non_Click();
}

void Frm_Param_Voies_Forme::Opt_4_20_Click() {
    if (!Enregistrement_Affiche() || !Actif(Opt_4_20, this) || !Montre(Opt_4_20, this)) return;
    Parametres_Voie& R = Voie_Affichee();
    if (Entree_Contact(R)) Retrait_Entree_Inhibition(static_cast<Octet>(Num_Voie_Affichee + 1), Nb_Voies_Affichees);
    Montrer_Controles_Nature(1);
    for (QWidget* w : std::initializer_list<QWidget*>{Cmb_Unite, Lbl_Unite}) w->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{Frame_Inhibtion_Enreg, Opt_Inhib_Enreg_Non, Opt_Inhib_Enreg_Oui})
        w->setEnabled(true);
    R.Nature_Capteur = 1;
    if (R.Alarme_Valide != 0) Opt_Alarm_Oui_Click();
    else Opt_Alarm_Non_Click();
}

void Frm_Param_Voies_Forme::Opt_ETOR_Click() {
    if (!Enregistrement_Affiche() || !Actif(Opt_ETOR, this) || !Montre(Opt_ETOR, this)) return;
    Parametres_Voie& R = Voie_Affichee();
    Montrer_Controles_Nature(2);
    for (QWidget* w : std::initializer_list<QWidget*>{Frame_Inhibtion_Enreg, Opt_Inhib_Enreg_Non, Opt_Inhib_Enreg_Oui})
        w->setEnabled(false);
    if (R.Contact_NF != 0) {
        Selectionner(Opt_Type_Contact_NF);
        Opt_Type_Contact_NF_Click();
    } else {
        Selectionner(Opt_Type_Contact_NO);
        Opt_Type_Contact_NO_Click();
    }
    if (R.Role_ETOR_Inhib != 0) {
        Selectionner(Opt_Role_ETOR_Inhib);
        Opt_Role_ETOR_Inhib_Click();
    } else {
        Selectionner(Opt_Role_ETOR_Alarm);
        Opt_Role_ETOR_Alarm_Click();
    }
    R.Nature_Capteur = 2;
    if (R.Alarme_Valide != 0) Opt_Alarm_Oui_Click();
    else Opt_Alarm_Non_Click();
}

// ------------------------------------------------------------ rules: contact, role, alarm

void Frm_Param_Voies_Forme::Opt_Type_Contact_NF_Click() {
    if (Enregistrement_Affiche()) Voie_Affichee().Contact_NF = Vrai;
}

void Frm_Param_Voies_Forme::Opt_Type_Contact_NO_Click() {
    if (Enregistrement_Affiche()) Voie_Affichee().Contact_NF = Faux;
}

void Frm_Param_Voies_Forme::Opt_Role_ETOR_Alarm_Click() {
    if (!Enregistrement_Affiche() || !Actif(Opt_Role_ETOR_Alarm, this) || !Opt_Role_ETOR_Alarm->isChecked()) return;
    Parametres_Voie& R = Voie_Affichee();
    if (R.Role_ETOR_Inhib != 0) Retrait_Entree_Inhibition(static_cast<Octet>(Num_Voie_Affichee + 1), Nb_Voies_Affichees);
    R.Role_ETOR_Inhib = Faux;
}

void Frm_Param_Voies_Forme::Opt_Role_ETOR_Inhib_Click() {
    if (!Enregistrement_Affiche() || !Actif(Opt_Role_ETOR_Inhib, this) || !Opt_Role_ETOR_Inhib->isChecked()) return;
    Parametres_Voie& R = Voie_Affichee();
    R.Alarme_Valide = Faux;
    R.Role_ETOR_Inhib = Vrai;
}

void Frm_Param_Voies_Forme::Opt_Alarm_Non_Click() {
    if (!Enregistrement_Affiche()) return;
    Active_Controles_Alarme(false);
    Parametres_Voie& R = Voie_Affichee();
    R.Alarme_Valide = Faux;
    R.Inhib_Alarme_ETOR = Faux;
}

void Frm_Param_Voies_Forme::Opt_Alarm_Oui_Click() {
    if (!Enregistrement_Affiche()) return;
    Active_Controles_Alarme(true);
    Parametres_Voie& R = Voie_Affichee();
    // A contact input has no thresholds.
    const bool seuils = !Entree_Contact(R);
    for (QWidget* w : std::initializer_list<QWidget*>{Lbl_Seuil_Bas, Lbl_Seuil_Haut, Txt_Seuil_Bas, Txt_Seuil_Haut})
        w->setEnabled(seuils);
    R.Alarme_Valide = Vrai;
}

void Frm_Param_Voies_Forme::Opt_Buzzer_Oui_Click() {
    if (Enregistrement_Affiche()) Voie_Affichee().Buzzer = Vrai;
}

void Frm_Param_Voies_Forme::Opt_Buzzer_Non_Click() {
    if (Enregistrement_Affiche()) Voie_Affichee().Buzzer = Faux;
}

void Frm_Param_Voies_Forme::Opt_Relais_1_Click() {
    if (Enregistrement_Affiche()) Voie_Affichee().Relais_2 = Faux;
}

void Frm_Param_Voies_Forme::Opt_Relais_2_Click() {
    if (Enregistrement_Affiche()) Voie_Affichee().Relais_2 = Vrai;
}

// ------------------------------------------------------------ rules: inhibitions

void Frm_Param_Voies_Forme::Remplir_Liste_ETOR(QComboBox* liste) {
    liste->clear();
    for (const QString& entree : Entrees_ETOR(Num_Voie_Affichee, Nb_Voies_Affichees)) liste->addItem(entree);
}

namespace {

std::vector<QString> Entrees(const QComboBox* liste) {
    std::vector<QString> e;
    for (int i = 0; i < liste->count(); ++i) e.push_back(liste->itemText(i));
    return e;
}

}  // namespace

// An entry put on show by a rule is taken as picked, so that the record always
// says what the list shows (an ETOR that is no longer an inhibition input is
// dropped rather than kept out of sight).
void Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Oui_Click() {
    if (!Enregistrement_Affiche()) return;
    if (Opt_Inhib_Enreg_Oui->isChecked()) {
        // The two ETOR inhibitions exclude each other; the recording one wins.
        Selectionner(Opt_Inhib_Alarm_Non);
        return;
    }
    Parametres_Voie& R = Voie_Affichee();
    Cmb_Num_ETOR_Inhib_Alarm->show();
    Remplir_Liste_ETOR(Cmb_Num_ETOR_Inhib_Alarm);
    if (Cmb_Num_ETOR_Inhib_Alarm->count() <= 1) {
        R.Inhib_Alarme_ETOR = Faux;
        Cmb_Num_ETOR_Inhib_Alarm->setCurrentIndex(0);
        Cmb_Num_ETOR_Inhib_Alarm_Click();
        return;
    }
    R.Inhib_Alarme_ETOR = Vrai;
    const int position = Position_Entree_ETOR(Entrees(Cmb_Num_ETOR_Inhib_Alarm), R.Num_ETOR_Inhib);
    Cmb_Num_ETOR_Inhib_Alarm->setCurrentIndex(position < 0 ? 0 : position);
    Cmb_Num_ETOR_Inhib_Alarm_Click();
}

void Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Non_Click() {
    if (!Enregistrement_Affiche()) return;
    Cmb_Num_ETOR_Inhib_Alarm->hide();
    Voie_Affichee().Inhib_Alarme_ETOR = Faux;
}

void Frm_Param_Voies_Forme::Cmb_Num_ETOR_Inhib_Alarm_Click() {
    if (!Enregistrement_Affiche()) return;
    const QString texte = Cmb_Num_ETOR_Inhib_Alarm->currentText();
    Voie_Affichee().Num_ETOR_Inhib = texte == Texte_Aucune_ETOR ? 0 : Numero_Entree_ETOR(texte);
}

void Frm_Param_Voies_Forme::Opt_Inhib_Enreg_Oui_Click() {
    if (!Enregistrement_Affiche()) return;
    Selectionner(Opt_Inhib_Alarm_Non);
    Parametres_Voie& R = Voie_Affichee();
    Cmb_Num_ETOR_Inhib_Enreg->show();
    Remplir_Liste_ETOR(Cmb_Num_ETOR_Inhib_Enreg);
    int position = 0;
    if (Cmb_Num_ETOR_Inhib_Enreg->count() <= 1) {
        R.Inhib_Enreg_ETOR = Faux;
    } else if (R.Inhib_Enreg_ETOR != 0) {
        position = std::max(0, Position_Entree_ETOR(Entrees(Cmb_Num_ETOR_Inhib_Enreg), R.Num_ETOR_Inhib));
    }
    Cmb_Num_ETOR_Inhib_Enreg->setCurrentIndex(position);
    Cmb_Num_ETOR_Inhib_Enreg_Click();
}

void Frm_Param_Voies_Forme::Opt_Inhib_Enreg_Non_Click() {
    if (!Enregistrement_Affiche()) return;
    Cmb_Num_ETOR_Inhib_Enreg->hide();
    Voie_Affichee().Inhib_Enreg_ETOR = Faux;
}

void Frm_Param_Voies_Forme::Cmb_Num_ETOR_Inhib_Enreg_Click() {
    if (!Enregistrement_Affiche()) return;
    Parametres_Voie& R = Voie_Affichee();
    const QString texte = Cmb_Num_ETOR_Inhib_Enreg->currentText();
    if (texte != Texte_Aucune_ETOR && !texte.isEmpty()) {
        R.Inhib_Enreg_ETOR = Vrai;
        R.Num_ETOR_Inhib = Numero_Entree_ETOR(texte);
    } else {
        R.Inhib_Enreg_ETOR = Faux;
    }
}

void Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Planning_Oui_Click() {
    if (!Enregistrement_Affiche()) return;
    Cmb_Num_Planning_Inhib->show();
    const Octet planning = Voie_Affichee().Num_Planning_Inhib;
    Cmb_Num_Planning_Inhib->setCurrentIndex(planning <= 16 ? planning : -1);
}

void Frm_Param_Voies_Forme::Opt_Inhib_Alarm_Planning_Non_Click() {
    if (!Enregistrement_Affiche()) return;
    Cmb_Num_Planning_Inhib->hide();
    Voie_Affichee().Num_Planning_Inhib = 0;
}

void Frm_Param_Voies_Forme::Cmb_Num_Planning_Inhib_Click() {
    if (!Enregistrement_Affiche()) return;
    const int position = Cmb_Num_Planning_Inhib->currentIndex();
    if (position >= 0) Voie_Affichee().Num_Planning_Inhib = static_cast<Octet>(position);
}

// ------------------------------------------------------------ rules: unit, numbers, name

void Frm_Param_Voies_Forme::Cmb_Unite_Click() {
    if (!Enregistrement_Affiche() || Cmb_Unite->currentIndex() < 0) return;
    Parametres_Voie& R = Voie_Affichee();
    R.Unite = static_cast<Octet>(Cmb_Unite->currentIndex());
    if (R.Unite == 1) {
        // A relative humidity lies between 0 and 100 %.
        Txt_Echel_4->Minimum(0);
        Txt_Echel_20->Maximum(100);
    } else {
        Txt_Echel_20->Maximum(Dixiemes_Max);
        Txt_Echel_4->Minimum(Dixiemes_Min);
    }
}

void Frm_Param_Voies_Forme::Txt_Per_Enreg_Change() {
    if (Enregistrement_Affiche()) Voie_Affichee().Periode_Enreg = Vers_Octet(Txt_Per_Enreg->Value()).value_or(30);
}

void Frm_Param_Voies_Forme::Txt_Tempo_Alarm_Change() {
    if (Enregistrement_Affiche()) Voie_Affichee().Tempo_Alarme = Vers_Octet(Txt_Tempo_Alarm->Value()).value_or(30);
}

void Frm_Param_Voies_Forme::Txt_Seuil_Haut_Change() {
    if (Enregistrement_Affiche()) Voie_Affichee().Seuil_Haut = static_cast<Simple>(Txt_Seuil_Haut->Value());
}

void Frm_Param_Voies_Forme::Txt_Seuil_Bas_Change() {
    if (Enregistrement_Affiche()) Voie_Affichee().Seuil_Bas = static_cast<Simple>(Txt_Seuil_Bas->Value());
}

void Frm_Param_Voies_Forme::Txt_Echel_4_Change() {
    if (Enregistrement_Affiche()) Voie_Affichee().Echelle_4mA = static_cast<Simple>(Arrondi_Pair(Txt_Echel_4->Value()));
}

void Frm_Param_Voies_Forme::Txt_Echel_20_Change() {
    if (Enregistrement_Affiche())
        Voie_Affichee().Echelle_20mA = static_cast<Simple>(Arrondi_Pair(Txt_Echel_20->Value()));
}

void Frm_Param_Voies_Forme::Txt_Nom_Voie_Change() {
    if (Enregistrement_Affiche()) Voie_Affichee().Nom_Voie = Txt_Nom_Voie->text();
}

void Frm_Param_Voies_Forme::Txt_Nom_Voie_Click() { Txt_Nom_Voie->setSelection(0, Txt_Nom_Voie->maxLength()); }

void Frm_Param_Voies_Forme::Txt_Nom_Voie_KeyPress(int& KeyAscii) { Filtrer_Plage(KeyAscii, 32, 122); }

}  // namespace ostrel
