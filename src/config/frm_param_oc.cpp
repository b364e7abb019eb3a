#include "config/frm_param_oc.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabBar>

#include "files/impression.h"
#include "files/messages_fichiers.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dates.h"
#include "platform/formats.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/saisie.h"
#include "platform/ui/textes_ajustes.h"
#include "platform/ui/touches.h"

namespace ostrel {

Entier Num_Planning = 1;

namespace {

const QString Ecran = QStringLiteral("Réglages Module");
const QString Caption_Transfert_Lire = QStringLiteral("Afficher Date Heure du module");
const QString Caption_Transfert_Ecrire = QStringLiteral("Configurer Date Heure");
const QString Question_Quitter = QStringLiteral("Voulez vous quitter l'écran de paramétrage du module ?");
const QString Filtre_Txt = QStringLiteral("(*.txt)|*.txt");

enum Saisie { Saisie_Texte = 1, Saisie_Chiffres = 2 };

// Places w inside its parent, in fractions of the parent's size.
void Placer_Dans(QWidget* w, double x, double y, double l, double h) {
    const QWidget* p = w->parentWidget();
    const double W = p->width(), H = p->height();
    w->setGeometry(Arrondi_Pixels(x * W), Arrondi_Pixels(y * H), Arrondi_Pixels(l * W), Arrondi_Pixels(h * H));
}

Couleur Couleur_Texte_De(const QWidget* w) {
    const QVariant v = w->property("ForeColor");
    return v.isValid() ? v.value<Couleur>() : Depuis_QColor(w->palette().color(QPalette::WindowText));
}

Parametres_Module& Fiche() { return Tab_Parametres_Modules[Num_Module >= 1 && Num_Module <= 32 ? Num_Module - 1u : 0u]; }
size_t Planning_Montre() { return Num_Planning >= 1 && Num_Planning <= 16 ? static_cast<size_t>(Num_Planning) : 1u; }

}  // namespace

Frm_Param_OC_Forme::Frm_Param_OC_Forme() : Forme(QStringLiteral("Frm_Param_OC")) {
    Creer_Controles();
    tmr_seconde_ = new Minuterie(QStringLiteral("Tmr_Seconde"), this, 1000);
    tmr_seconde_->Timer = [this] { Tmr_Seconde_Timer(); };
}

void Frm_Param_OC_Forme::Creer_Controles() {
    auto cadre = [](const char* nom, const QString& titre, QWidget* parent) {
        auto* g = new QGroupBox(titre, parent);
        g->setObjectName(QString::fromLatin1(nom));
        return g;
    };
    auto etiquette = [](const QString& nom, const QString& texte, QWidget* parent) {
        auto* l = new QLabel(texte, parent);
        l->setObjectName(nom);
        return l;
    };
    auto boite = [this](const QString& nom, QWidget* parent, int longueur, int saisie) {
        auto* b = new QLineEdit(parent);
        b->setObjectName(nom);
        b->setMaxLength(longueur);
        b->setProperty("Saisie", saisie);
        b->installEventFilter(this);
        return b;
    };
    auto option = [](const char* nom, const QString& texte, QWidget* parent) {
        auto* o = new QRadioButton(texte, parent);
        o->setObjectName(QString::fromLatin1(nom));
        return o;
    };
    auto bouton = [](const char* nom, const QString& texte, QWidget* parent) {
        auto* b = new QPushButton(texte, parent);
        b->setObjectName(QString::fromLatin1(nom));
        return b;
    };

    frame_param_oc_ = cadre("Frame_Param_OC", QStringLiteral("Paramètres du Module"), this);
    Couleur_Texte(frame_param_oc_, 0);

    // Header.
    frame_entete_ = cadre("Frame_EnTete", QStringLiteral("Nom du Module (Entete du ticket)"), frame_param_oc_);
    lbl_premiere_ligne_ = etiquette(QStringLiteral("Lbl_Premiere_Ligne"), QStringLiteral("Première Ligne"), frame_entete_);
    lbl_deuxieme_ligne_ = etiquette(QStringLiteral("Lbl_Deuxieme_Ligne"), QStringLiteral("Deuxième Ligne"), frame_entete_);
    txt_premiere_ligne_ = boite(QStringLiteral("Txt_Premiere_Ligne"), frame_entete_, 32, Saisie_Texte);
    txt_premiere_ligne_->setToolTip(QStringLiteral("La première ligne définit le nom du module"));
    txt_deuxieme_ligne_ = boite(QStringLiteral("Txt_Deuxieme_Ligne"), frame_entete_, 32, Saisie_Texte);
    txt_deuxieme_ligne_->setToolTip(QStringLiteral("Cette ligne n'apparait que sur les tickets d'impression"));
    connect(txt_premiere_ligne_, &QLineEdit::textChanged, this, [this] { Txt_Premiere_Ligne_Change(); });
    connect(txt_deuxieme_ligne_, &QLineEdit::textChanged, this, [this] { Txt_Deuxieme_Ligne_Change(); });

    // Relays.
    frame_logique_stor_ =
        cadre("Frame_Logique_STOR", QStringLiteral("Logique de commande des 2 relais d'alarme"), frame_param_oc_);
    frame_logique_stor1_ = cadre("Frame_Logique_STOR1", QStringLiteral("Relais 1"), frame_logique_stor_);
    frame_logique_stor2_ = cadre("Frame_Logique_STOR2", QStringLiteral("Relais 2"), frame_logique_stor_);
    lbl_relais1_declenchement_ = cadre("Lbl_Relais1_Declenchement", QStringLiteral("Déclenchement :"), frame_logique_stor1_);
    lbl_relais1_contact_ = cadre("Lbl_Relais1_Contact", QStringLiteral("Contact :"), frame_logique_stor1_);
    lbl_relais2_declenchement_ = cadre("Lbl_Relais2_Declenchement", QStringLiteral("Déclenchement :"), frame_logique_stor2_);
    lbl_relais2_contact_ = cadre("Lbl_Relais2_Contact", QStringLiteral("Contact :"), frame_logique_stor2_);
    opt_relais1_impulsionnel_ = option("Opt_Relais1_Impulsionnel", QStringLiteral("Impulsionnel"), lbl_relais1_declenchement_);
    opt_relais1_maintenu_ = option("Opt_Relais1_Maintenu", QStringLiteral("Maintenu"), lbl_relais1_declenchement_);
    opt_relais1_nf_ = option("Opt_Relais1_NF", QStringLiteral("NF"), lbl_relais1_contact_);
    opt_relais1_no_ = option("Opt_Relais1_NO", QStringLiteral("NO"), lbl_relais1_contact_);
    opt_relais2_impulsionnel_ = option("Opt_Relais2_Impulsionnel", QStringLiteral("Impulsionnel"), lbl_relais2_declenchement_);
    opt_relais2_maintenu_ = option("Opt_Relais2_Maintenu", QStringLiteral("Maintenu"), lbl_relais2_declenchement_);
    opt_relais2_nf_ = option("Opt_Relais2_NF", QStringLiteral("NF"), lbl_relais2_contact_);
    opt_relais2_no_ = option("Opt_Relais2_NO", QStringLiteral("NO"), lbl_relais2_contact_);
    // A click stores at once, also on the option already chosen.
    auto relais = [this](QRadioButton* o, Octet& (*champ)(), Octet (*operation)(Octet)) {
        connect(o, &QRadioButton::clicked, this, [champ, operation] { champ() = operation(champ()); });
    };
    auto stor1 = []() -> Octet& { return Fiche().Logique_STOR1; };
    auto stor2 = []() -> Octet& { return Fiche().Logique_STOR2; };
    relais(opt_relais1_impulsionnel_, stor1, Logique_Impulsionnel);
    relais(opt_relais1_maintenu_, stor1, Logique_Maintenu);
    relais(opt_relais1_nf_, stor1, Logique_NF);
    relais(opt_relais1_no_, stor1, Logique_NO);
    relais(opt_relais2_impulsionnel_, stor2, Logique_Impulsionnel);
    relais(opt_relais2_maintenu_, stor2, Logique_Maintenu);
    relais(opt_relais2_nf_, stor2, Logique_NF);
    relais(opt_relais2_no_, stor2, Logique_NO);

    // Plannings.
    frame_choix_planning_ = cadre("Frame_Choix_Planning", QStringLiteral("Planning"), frame_param_oc_);
    tabstrip_num_planning_ = new QTabBar(frame_choix_planning_);
    tabstrip_num_planning_->setObjectName(QStringLiteral("TabStrip_Num_Planning"));
    tabstrip_num_planning_->setExpanding(true);
    tabstrip_num_planning_->setUsesScrollButtons(false);
    tabstrip_num_planning_->setDrawBase(false);
    // The tabs take the focus, so that a time box is left before another planning shows.
    tabstrip_num_planning_->setFocusPolicy(Qt::StrongFocus);
    connect(tabstrip_num_planning_, &QTabBar::currentChanged, this, [this] { TabStrip_Num_Planning_Click(); });
    frame_semaine_ = cadre("Frame_Semaine", QStringLiteral("Plages d'inhibition Semaine"), frame_choix_planning_);
    frame_weekend_ = cadre("Frame_Weekend", QStringLiteral("Plages d'inhibition Weekend"), frame_choix_planning_);
    static const char* const rangs[] = {"Première", "Deuxième", "Troisième", "Quatrième"};
    for (int cote = 0; cote < 2; ++cote) {
        const QString nom_cote = cote == 0 ? QStringLiteral("Semaine") : QStringLiteral("Weekend");
        QGroupBox* parent = cote == 0 ? frame_semaine_ : frame_weekend_;
        for (int n = 1; n <= 4; ++n) {
            QGroupBox* f = new QGroupBox(QString::fromUtf8(rangs[n - 1]) + QStringLiteral(" Plage d'Inhibition :"), parent);
            f->setObjectName(QStringLiteral("Frame_Plage%1_%2").arg(n).arg(nom_cote));
            frames_plages_[static_cast<size_t>(cote * 4 + n - 1)] = f;
            for (int fin = 0; fin < 2; ++fin) {
                const size_t i = static_cast<size_t>(8 * cote + 2 * (n - 1) + fin);
                const QString suffixe = QStringLiteral("_%1_Plage%2_%3").arg(nom_cote).arg(n).arg(fin ? "Fin" : "Deb");
                lbl_plages_[i] = etiquette(QStringLiteral("Lbl") + suffixe, fin ? QStringLiteral("Fin") : QStringLiteral("Début"), f);
                lbl_plages_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                QLineEdit* b = boite(QStringLiteral("Msk") + suffixe, f, 5, 0);
                b->setInputMask(QStringLiteral("99:99;_"));
                b->setAlignment(Qt::AlignCenter);
                b->setProperty("Index_Plage", static_cast<int>(i));
                plages_[i] = b;
                connect(b, &QLineEdit::textChanged, this, [this, i] { Msk_Plage_Change(static_cast<int>(i)); });
            }
        }
    }

    // Acknowledgement codes and operator names.
    frame_psw_acq_ = cadre("Frame_Psw_Acq", QStringLiteral("Acquittement des alarmes"), frame_param_oc_);
    lbl_mot_passe_ = etiquette(QStringLiteral("Lbl_Mot_Passe"), QStringLiteral("Mots de passe"), frame_psw_acq_);
    lbl_nom_passe_ = etiquette(QStringLiteral("Lbl_Nom_Passe"), QStringLiteral("Noms associés"), frame_psw_acq_);
    for (int k = 0; k < 4; ++k) {
        QLineEdit* code = boite(QStringLiteral("Msk_Mot_Passe"), frame_psw_acq_, 4, Saisie_Chiffres);
        code->setProperty("Index", k);
        code->setAlignment(Qt::AlignCenter);
        // A pasted text holds digits only, as a typed one.
        code->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), code));
        msk_mot_passe_[static_cast<size_t>(k)] = code;
        QLineEdit* nom = boite(QStringLiteral("Txt_Nom_Passe"), frame_psw_acq_, 12, Saisie_Texte);
        nom->setProperty("Index", k);
        txt_nom_passe_[static_cast<size_t>(k)] = nom;
    }

    // Date and time.
    frame_date_heure_ = cadre("Frame_Date_Heure", QStringLiteral("Mise à l'heure du Module"), frame_param_oc_);
    lbl_date_heure_ = etiquette(QStringLiteral("Lbl_Date_Heure"), QStringLiteral("Date et Heure du PC"), frame_date_heure_);
    lbl_date_heure_oc_ =
        etiquette(QStringLiteral("Lbl_Date_Heure_OC"), QStringLiteral("Date et Heure du Module"), frame_date_heure_);
    msk_date_heure_ = new QLineEdit(frame_date_heure_);
    msk_date_heure_->setObjectName(QStringLiteral("Msk_Date_Heure"));
    msk_date_heure_oc_ = new QLineEdit(frame_date_heure_);
    msk_date_heure_oc_->setObjectName(QStringLiteral("Msk_Date_Heure_OC"));
    // The clocks are rewritten every second: nothing typed there would be kept.
    for (QLineEdit* b : {msk_date_heure_, msk_date_heure_oc_}) {
        b->setReadOnly(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAlignment(Qt::AlignCenter);
    }
    lbl_date_heure_oc_->setVisible(false);
    msk_date_heure_oc_->setVisible(false);
    cmd_transfert_date_ = bouton("Cmd_Transfert_Date", Caption_Transfert_Lire, frame_date_heure_);
    connect(cmd_transfert_date_, &QPushButton::clicked, this, [this] { Cmd_Transfert_Date_Click(); });

    // Commands.
    cmd_importer_ = bouton("Cmd_Importer", QStringLiteral("Importer"), this);
    cmd_telecharger_ = bouton("Cmd_Telecharger", QStringLiteral("Télécharger"), this);
    cmd_imprimer_ = bouton("Cmd_Imprimer", QStringLiteral("Imprimer"), this);
    cmd_ouvrir_ = bouton("Cmd_Ouvrir", QStringLiteral("Ouvrir"), this);
    cmd_sauvegarder_ = bouton("Cmd_Sauvegarder", QStringLiteral("Sauvegarder"), this);
    cmd_quitter_ = bouton("Cmd_Quitter", QStringLiteral("Retour"), this);
    connect(cmd_importer_, &QPushButton::clicked, this, [this] { Cmd_Importer_Click(); });
    connect(cmd_telecharger_, &QPushButton::clicked, this, [this] { Cmd_Telecharger_Click(); });
    connect(cmd_imprimer_, &QPushButton::clicked, this, [this] { Cmd_Imprimer_Click(); });
    connect(cmd_ouvrir_, &QPushButton::clicked, this, [this] { Cmd_Ouvrir_Click(); });
    connect(cmd_sauvegarder_, &QPushButton::clicked, this, [this] { Cmd_Sauvegarder_Click(); });
    connect(cmd_quitter_, &QPushButton::clicked, this, [this] { Cmd_Quitter_Click(); });
}

// ------------------------------------------------------------ opening and layout

void Frm_Param_OC_Forme::Form_Load() {
    KeyPreview = true;
    // Never a request to the broadcast address 0.
    if (Num_Module < 1 || Num_Module > 32) Num_Module = 1;
    Tableau_Bord& tableau = Frm_Menu1();
    Octet module = Num_Module;
    tableau.Init_Label_OC(module);
    Nom_Module = Fiche().Entete;
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    tableau.Lbl_Nom_Menu(Ecran);
    tmr_seconde_->Enabled(false);
    Num_Planning = 1;
    heure_module_affichee_ = false;

    const Format_Date_Heure format = Choisir_Format_Date_Heure(Texte_Date_Courte(Aujourdhui()));
    for (QLineEdit* b : {msk_date_heure_, msk_date_heure_oc_}) {
        b->setInputMask(format.Masque + QStringLiteral(";_"));
        b->setProperty("Format", format.Format);
    }
    couleur_normale_ = Couleur_Texte_De(frame_param_oc_);

    {
        const QSignalBlocker bloque(tabstrip_num_planning_);
        while (tabstrip_num_planning_->count() > 0) tabstrip_num_planning_->removeTab(0);
        for (int k = 1; k <= 16; ++k) tabstrip_num_planning_->addTab(QString::number(k));
        tabstrip_num_planning_->setCurrentIndex(0);
    }

    for (int k = 1; k <= 4; ++k) {
        QLineEdit* code = msk_mot_passe_[static_cast<size_t>(k - 1)];
        QLineEdit* nom = txt_nom_passe_[static_cast<size_t>(k - 1)];
        code->setVisible(true);
        nom->setVisible(true);
        Nom_Police(code, Police_Options);
        Nom_Police(nom, Police_Options);
        code->setText(Code_Defaut(k));
        nom->setText(Nom_Operateur_Defaut(k));
    }

    const Octet rang = Rang_Module_En_Service(Num_Module);
    if (tableau.Caption_Lbl_OC(rang - 1) != Module_Non_Connecte)
        Importer_Param_Module();
    else
        Code_Erreur = Erreur::Ligne;

    if (Code_Erreur != 0) {
        Code_Erreur = 0;
        // A read that stopped half-way left the progress over the screen.
        if (tableau.Progression_Visible()) tableau.Affiche_Progress_Bar(false);
        Init_Param_Module_Defaut();
        Octet aucun = 0;
        tableau.Init_Label_OC(aucun);
        frame_param_oc_->setTitle(Module_Non_Connecte);
    } else {
        module = Num_Module;
        tableau.Init_Label_OC(module);
    }
    Affiche_Param_Module();
    Couleur_Fond(Couleur_Fenetre);
    Redimensionner();
}

void Frm_Param_OC_Forme::Form_Resize() {
    if (width() <= 0 || height() <= 0) return;
    Couleur_Fond(Couleur_Fenetre);

    Placer_Dans(frame_param_oc_, 0.01, 0.01, 0.98, 0.87);
    Placer_Dans(frame_entete_, 0.01, 0.055, 0.47, 0.245);
    Placer_Dans(lbl_premiere_ligne_, 0.03, 0.22, 0.27, 0.24);
    Placer_Dans(txt_premiere_ligne_, 0.31, 0.22, 0.66, 0.24);
    Placer_Dans(lbl_deuxieme_ligne_, 0.03, 0.60, 0.27, 0.24);
    Placer_Dans(txt_deuxieme_ligne_, 0.31, 0.60, 0.66, 0.24);

    Placer_Dans(frame_logique_stor_, 0.50, 0.055, 0.49, 0.245);
    Placer_Dans(frame_logique_stor1_, 0.02, 0.16, 0.47, 0.80);
    Placer_Dans(frame_logique_stor2_, 0.51, 0.16, 0.47, 0.80);
    for (QGroupBox* r : {frame_logique_stor1_, frame_logique_stor2_}) {
        const bool un = r == frame_logique_stor1_;
        QGroupBox* declenchement = un ? lbl_relais1_declenchement_ : lbl_relais2_declenchement_;
        QGroupBox* contact = un ? lbl_relais1_contact_ : lbl_relais2_contact_;
        Placer_Dans(declenchement, 0.04, 0.20, 0.54, 0.74);
        Placer_Dans(contact, 0.62, 0.20, 0.34, 0.74);
        Placer_Dans(un ? opt_relais1_impulsionnel_ : opt_relais2_impulsionnel_, 0.08, 0.28, 0.90, 0.30);
        Placer_Dans(un ? opt_relais1_maintenu_ : opt_relais2_maintenu_, 0.08, 0.62, 0.90, 0.30);
        Placer_Dans(un ? opt_relais1_nf_ : opt_relais2_nf_, 0.12, 0.28, 0.86, 0.30);
        Placer_Dans(un ? opt_relais1_no_ : opt_relais2_no_, 0.12, 0.62, 0.86, 0.30);
    }

    Placer_Dans(frame_choix_planning_, 0.01, 0.32, 0.62, 0.665);
    Placer_Dans(tabstrip_num_planning_, 0.02, 0.075, 0.96, 0.085);
    Placer_Dans(frame_semaine_, 0.02, 0.18, 0.475, 0.80);
    Placer_Dans(frame_weekend_, 0.505, 0.18, 0.475, 0.80);
    for (size_t f = 0; f < 8; ++f) {
        Placer_Dans(frames_plages_[f], 0.04, 0.085 + 0.228 * static_cast<double>(f % 4), 0.92, 0.205);
        for (size_t fin = 0; fin < 2; ++fin) {
            const size_t i = 8 * (f / 4) + 2 * (f % 4) + fin;
            const double x = fin ? 0.50 : 0.0;
            Placer_Dans(lbl_plages_[i], x + 0.02, 0.36, 0.20, 0.50);
            Placer_Dans(plages_[i], x + 0.24, 0.34, 0.22, 0.54);
        }
    }

    Placer_Dans(frame_psw_acq_, 0.64, 0.32, 0.35, 0.385);
    Placer_Dans(lbl_mot_passe_, 0.04, 0.08, 0.38, 0.12);
    Placer_Dans(lbl_nom_passe_, 0.54, 0.08, 0.42, 0.12);
    for (size_t k = 0; k < 4; ++k) {
        const double haut = 0.22 + 0.2 * static_cast<double>(k);
        Placer_Dans(msk_mot_passe_[k], 0.1, haut, 0.15, 0.15);
        Placer_Dans(txt_nom_passe_[k], 0.6, haut, 0.3, 0.15);
    }

    Placer_Dans(frame_date_heure_, 0.64, 0.725, 0.35, 0.26);
    Placer_Dans(lbl_date_heure_, 0.04, 0.17, 0.44, 0.20);
    Placer_Dans(msk_date_heure_, 0.48, 0.15, 0.48, 0.22);
    Placer_Dans(lbl_date_heure_oc_, 0.04, 0.43, 0.44, 0.20);
    Placer_Dans(msk_date_heure_oc_, 0.48, 0.41, 0.48, 0.22);
    Placer_Dans(cmd_transfert_date_, 0.12, 0.70, 0.76, 0.24);

    const std::array<QPushButton*, 6> commandes{cmd_importer_,    cmd_telecharger_, cmd_imprimer_,
                                                cmd_ouvrir_,      cmd_sauvegarder_, cmd_quitter_};
    for (size_t c = 0; c < commandes.size(); ++c)
        Placer_Dans(commandes[c], 0.02 + 0.163 * static_cast<double>(c), 0.90, 0.145, 0.08);

    for (QWidget* w : findChildren<QWidget*>()) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Petite);
    }
    for (QWidget* w : commandes) Taille_Police(w, Taille_Police_Moyenne);
    Taille_Police(frame_param_oc_, Taille_Police_Moyenne);
    // The captions inside the frame take its colour; the boxes keep theirs.
    Couleur_Texte_Lisible(frame_param_oc_, Couleur_Texte_De(frame_param_oc_), Couleur_Fenetre, Couleur_Police);
}

void Frm_Param_OC_Forme::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap) Cmd_Quitter_Click();
}

void Frm_Param_OC_Forme::Executer(const QString& operation) {
    if (operation == QStringLiteral("Configurer_Ostrelclim")) Configurer_Ostrelclim();
    else if (operation == QStringLiteral("Cmd_Quitter_Click")) Cmd_Quitter_Click();
}

// ------------------------------------------------------------ transfers

bool Frm_Param_OC_Forme::Module_Affiche_Connecte() const { return frame_param_oc_->title() != Module_Non_Connecte; }

void Frm_Param_OC_Forme::Vers_Problemes_Liaison() {
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

void Frm_Param_OC_Forme::Progression(int etape) {
    Long valeur = Progression_Etape(etape);
    Frm_Menu1().Progess_Bar_Value(valeur);
}

void Frm_Param_OC_Forme::Importer_Param_Module() {
    Tableau_Bord& tableau = Frm_Menu1();
    Parametres_Module& r = Fiche();
    tableau.Affiche_Progress_Bar(true);
    tableau.Caption_Pb(QStringLiteral("Recherche du Module"));
    tableau.Premier_Plan();
    tableau.Focus();
    Progression(0);
    tableau.Caption_Pb(QStringLiteral("Entête du ticket"));
    Lecture_Nom_Module(Num_Module);
    if (Code_Erreur != 0) return;
    // A header holding anything outside " ".."z" is not a header the module keeps.
    r.Entete = Entete_Acceptee(Donnees_Reponse.Entete_Module) ? Donnees_Reponse.Entete_Module : QString();

    Progression(1);
    tableau.Caption_Pb(QStringLiteral("STOR n°1"));
    Lecture_Logique_STOR(Num_Module, 1);
    if (Code_Erreur != 0) return;
    r.Logique_STOR1 = Donnees_Reponse.Config_STOR;

    Progression(2);
    tableau.Caption_Pb(QStringLiteral("STOR n°2"));
    Lecture_Logique_STOR(Num_Module, 2);
    if (Code_Erreur != 0) return;
    r.Logique_STOR2 = Donnees_Reponse.Config_STOR;

    for (int p = 1; p <= 16; ++p) {
        Progression(p + 2);
        tableau.Caption_Pb(QStringLiteral("Planning n°") + QString::number(p));
        Lecture_Planning(Num_Module, static_cast<Octet>(p));
        if (Code_Erreur != 0) return;
        Plages plages = Donnees_Reponse.Plages_Planning;
        const bool actif = Classer_Planning(plages);
        r.Planning[static_cast<size_t>(p)] = plages;
        Planning_Actif[static_cast<size_t>(p - 1)] = actif ? Vrai : Faux;
    }

    Lecture_Codes_Acquittement();

    Progression(19);
    tableau.Caption_Pb(QStringLiteral("Téléchargement terminé"));
    Premier_Plan();
    Donner_Focus();
    tableau.Affiche_Progress_Bar(false);
    tmr_seconde_->Enabled(true);
}

void Frm_Param_OC_Forme::Configurer_Ostrelclim() {
    Tableau_Bord& tableau = Frm_Menu1();
    Parametres_Module& r = Fiche();
    Ecrit_Mouchard(QStringLiteral("Téléchargement paramétrage module ") + QString::number(Num_Module));
    tableau.Affiche_Progress_Bar(true);
    Progression(0);
    tableau.Caption_Pb(QStringLiteral("Initialisation du téléchargement"));
    tableau.Premier_Plan();
    tableau.Focus();
    Progression(0);
    tableau.Caption_Pb(QStringLiteral("Entête du ticket"));

    // Every failure below leaves for the link-problem screen: the progress
    // must not stay over a screen that says nothing of it.
    Commande_Mode_Fonctionnement(Num_Module, Entier(0));
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();

    const QString entete = Remplir_Ligne(txt_premiere_ligne_->text()) + Remplir_Ligne(txt_deuxieme_ligne_->text());
    r.Entete = entete;
    // A header the module would not keep goes out as blanks.
    Donnees_Reponse.Entete_Module = Entete_Acceptee(entete) ? entete : QString();
    Ecriture_Nom_Module(Num_Module);
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();

    Progression(1);
    tableau.Caption_Pb(QStringLiteral("STOR n°1"));
    Donnees_Reponse.Config_STOR = r.Logique_STOR1;
    Ecriture_Logique_STOR(Num_Module, 1);
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();

    Progression(2);
    tableau.Caption_Pb(QStringLiteral("STOR n°2"));
    Donnees_Reponse.Config_STOR = r.Logique_STOR2;
    Ecriture_Logique_STOR(Num_Module, 2);
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();

    for (int p = 1; p <= 16; ++p) {
        Progression(p + 2);
        tableau.Caption_Pb(QStringLiteral("Planning n°") + QString::number(p));
        // A planning not in use is left as the module holds it.
        if (Planning_Actif[static_cast<size_t>(p - 1)] == Faux) continue;
        Donnees_Reponse.Plages_Planning = r.Planning[static_cast<size_t>(p)];
        Ecriture_Planning(Num_Module, static_cast<Octet>(p));
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    }

    tableau.Caption_Pb(QStringLiteral("Téléchargement des codes d'acquittement"));
    Ecriture_Codes_Acquittement();
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();

    Commande_Mode_Fonctionnement(Num_Module, Entier(255));
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();

    Progression(19);
    tableau.Caption_Pb(QString());
    tableau.Affiche_Progress_Bar(false);
    Premier_Plan();
    Donner_Focus();
}

void Frm_Param_OC_Forme::Lecture_Codes_Acquittement() {
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Affiche_Progress_Bar(true);
    tableau.Caption_Pb(QStringLiteral("Veuillez patienter"));
    tableau.Premier_Plan();
    tableau.Focus();
    for (Octet k = 1; k <= 4; ++k) {
        Octet module = Num_Module, index = k;
        Lecture_Code_Acces(module, index);
        if (Code_Erreur != 0) return;
        msk_mot_passe_[k - 1u]->setText(Complete_Zeros(QString::number(Code_Acces)));
        txt_nom_passe_[k - 1u]->setText(Nom_Operateur);
    }
    tableau.Caption_Pb(QStringLiteral("Téléchargement terminé"));
    tableau.Affiche_Progress_Bar(false);
}

void Frm_Param_OC_Forme::Ecriture_Codes_Acquittement() {
    for (Octet k = 1; k <= 4; ++k) {
        Code_Acces = Valeur_Code(msk_mot_passe_[k - 1u]->text());
        const QString nom = txt_nom_passe_[k - 1u]->text();
        Nom_Operateur = nom.isEmpty() ? Nom_Operateur_Defaut(k) : nom;
        Octet module = Num_Module, index = k;
        Ecriture_Code_Acces(module, index);
        if (Code_Erreur != 0) return;
    }
}

// ------------------------------------------------------------ display

void Frm_Param_OC_Forme::Init_Param_Module_Defaut() {
    Parametres_Module& r = Fiche();
    r.Entete.clear();
    r.Date_Heure = Maintenant();
    r.Logique_STOR1 = 0;
    r.Logique_STOR2 = 0;
    for (size_t p = 0; p < 16; ++p) {
        Planning_Actif[p] = Faux;
        r.Planning[p + 1].fill(0);
    }
    tmr_seconde_->Enabled(true);
}

void Frm_Param_OC_Forme::Affiche_Param_Module() {
    const Parametres_Module& r = Fiche();
    // The boxes show the record as it is: their edit rules would only pad it.
    Texte_Sans_Evenement(txt_premiere_ligne_, Premiere_Ligne(r.Entete));
    Texte_Sans_Evenement(txt_deuxieme_ligne_, Deuxieme_Ligne(r.Entete));
    auto montrer = [](Octet logique, QRadioButton* no, QRadioButton* nf, QRadioButton* maintenu, QRadioButton* impulsionnel) {
        if (logique > 3) return;  // a value the options cannot show leaves them as they are
        (logique & 1 ? nf : no)->setChecked(true);
        (logique & 2 ? impulsionnel : maintenu)->setChecked(true);
    };
    montrer(r.Logique_STOR1, opt_relais1_no_, opt_relais1_nf_, opt_relais1_maintenu_, opt_relais1_impulsionnel_);
    montrer(r.Logique_STOR2, opt_relais2_no_, opt_relais2_nf_, opt_relais2_maintenu_, opt_relais2_impulsionnel_);
    Affiche_Planning();
}

void Frm_Param_OC_Forme::Affiche_Planning() {
    const auto& plages = Fiche().Planning[Planning_Montre()];
    for (size_t i = 0; i < 16; ++i) Texte_Sans_Evenement(plages_[i], Texte_Plage(plages[i]));
    for (size_t i = 0; i < 16; i += 2)
        Colorer_Plage(static_cast<int>(i), Plage_Invalide(plages[i], plages[i + 1]) ? Couleur_Rouge : couleur_normale_, false);
}

void Frm_Param_OC_Forme::Texte_Sans_Evenement(QLineEdit* boite, const QString& texte) {
    const QSignalBlocker bloque(boite);
    boite->setText(texte);
}

void Frm_Param_OC_Forme::TabStrip_Num_Planning_Click() {
    const int index = tabstrip_num_planning_->currentIndex();
    if (index < 0) return;
    const std::optional<Entier> n = Convertir_Entier(tabstrip_num_planning_->tabText(index));
    if (!n || *n < 1 || *n > 16) return;
    Num_Planning = *n;
    Affiche_Planning();
}

// ------------------------------------------------------------ edits

void Frm_Param_OC_Forme::Txt_Premiere_Ligne_Change() {
    Parametres_Module& r = Fiche();
    r.Entete = Entete_Avec_Premiere_Ligne(r.Entete, txt_premiere_ligne_->text());
}

void Frm_Param_OC_Forme::Txt_Deuxieme_Ligne_Change() {
    Parametres_Module& r = Fiche();
    r.Entete = Entete_Avec_Deuxieme_Ligne(r.Entete, txt_deuxieme_ligne_->text());
}

void Frm_Param_OC_Forme::Msk_Mot_Passe_LostFocus(int Index) {
    if (Index < 0 || Index > 3) return;
    QLineEdit* b = msk_mot_passe_[static_cast<size_t>(Index)];
    b->setText(Complete_Zeros(b->text()));
    b->repaint();
}

bool Frm_Param_OC_Forme::Plage_Rouge(int i) const {
    return Couleur_Texte_De(lbl_plages_[static_cast<size_t>(i & ~1)]) == Couleur_Rouge;
}

void Frm_Param_OC_Forme::Colorer_Plage(int i, Couleur couleur, bool depuis_fin) {
    const size_t d = static_cast<size_t>(i & ~1), f = d + 1;
    std::array<QWidget*, 4> ordre{lbl_plages_[d], plages_[d], lbl_plages_[f], plages_[f]};
    if (depuis_fin) ordre = {lbl_plages_[f], plages_[f], lbl_plages_[d], plages_[d]};
    for (QWidget* w : ordre) {
        // The labels lie on the window's colour, the boxes on their own white.
        if (qobject_cast<QLabel*>(w)) Couleur_Texte_Lisible(w, couleur, Couleur_Fenetre, Couleur_Police);
        else Couleur_Texte(w, couleur);
    }
}

void Frm_Param_OC_Forme::Appliquer(int i, const Effet_Plage& effet) {
    auto& plages = Fiche().Planning[Planning_Montre()];
    const size_t d = static_cast<size_t>(i & ~1), f = d + 1;
    if (effet.Couleur == Couleur_Plage::Rouge) Colorer_Plage(i, Couleur_Rouge, false);
    else if (effet.Couleur == Couleur_Plage::Normale) Colorer_Plage(i, couleur_normale_, (i & 1) != 0);
    if (effet.Texte_Zero) Texte_Sans_Evenement(plages_[static_cast<size_t>(i)], QStringLiteral("00:00"));
    if (effet.Fin) plages[f] = *effet.Fin;
    if (effet.Debut) plages[d] = *effet.Debut;
    // Only the end of the first weekday range puts a planning in use.
    if (effet.Stockee && i == 1) Planning_Actif[Planning_Montre() - 1] = Vrai;
}

void Frm_Param_OC_Forme::Msk_Plage_Change(int i) {
    if (i < 0 || i > 15) return;
    const auto& plages = Fiche().Planning[Planning_Montre()];
    const size_t d = static_cast<size_t>(i & ~1), f = d + 1;
    const std::optional<Date> t = Convertir_Plage(plages_[static_cast<size_t>(i)]->displayText());
    Appliquer(i, i & 1 ? Regle_Fin_Change(t, plages[d]) : Regle_Debut_Change(t, plages[f]));
}

void Frm_Param_OC_Forme::Msk_Plage_LostFocus(int i) {
    if (i < 0 || i > 15) return;
    const auto& plages = Fiche().Planning[Planning_Montre()];
    const size_t d = static_cast<size_t>(i & ~1), f = d + 1;
    const std::optional<Date> t = Convertir_Plage(plages_[static_cast<size_t>(i)]->displayText());
    Appliquer(i, i & 1 ? Regle_Fin_Sortie(t, plages[d])
                       : Regle_Debut_Sortie(t, plages[f], Plage_Rouge(i)));
}

bool Frm_Param_OC_Forme::eventFilter(QObject* objet, QEvent* evenement) {
    auto* boite = qobject_cast<QLineEdit*>(objet);
    if (!boite) return Forme::eventFilter(objet, evenement);
    switch (evenement->type()) {
    case QEvent::KeyPress: {
        const int saisie = boite->property("Saisie").toInt();
        const int code = Code_Frappe(static_cast<QKeyEvent*>(evenement));
        if (code < 0 || saisie == 0) break;
        const bool admise = saisie == Saisie_Chiffres ? Touche_Chiffre_Admise(code) : Touche_Texte_Admise(code);
        // A refused key is dropped without a word; its release still reaches the screen.
        if (!admise) return true;
        break;
    }
    case QEvent::MouseButtonRelease:
        // A click into a box selects its whole content.
        if (static_cast<QMouseEvent*>(evenement)->button() == Qt::LeftButton) boite->selectAll();
        break;
    case QEvent::FocusIn:
        if (boite == txt_premiere_ligne_ || boite == txt_deuxieme_ligne_) boite->selectAll();
        break;
    case QEvent::FocusOut: {
        // Leaving the screen's window or opening a context menu is no leaving of the box.
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        if (raison == Qt::ActiveWindowFocusReason || raison == Qt::PopupFocusReason) break;
        const QVariant plage = boite->property("Index_Plage");
        if (plage.isValid()) Msk_Plage_LostFocus(plage.toInt());
        else if (boite->objectName() == QStringLiteral("Msk_Mot_Passe")) Msk_Mot_Passe_LostFocus(boite->property("Index").toInt());
        break;
    }
    default: break;
    }
    return Forme::eventFilter(objet, evenement);
}

Textes_Codes Frm_Param_OC_Forme::Codes() const {
    Textes_Codes t;
    for (size_t k = 0; k < 4; ++k) t[k] = msk_mot_passe_[k]->text();
    return t;
}

Textes_Codes Frm_Param_OC_Forme::Noms() const {
    Textes_Codes t;
    for (size_t k = 0; k < 4; ++k) t[k] = txt_nom_passe_[k]->text();
    return t;
}

// ------------------------------------------------------------ commands

void Frm_Param_OC_Forme::Cmd_Importer_Click() {
    if (!Module_Affiche_Connecte()) {
        Boites().MsgBox(Module_Non_Connecte);
        return;
    }
    Importer_Param_Module();
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    Affiche_Param_Module();
}

void Frm_Param_OC_Forme::Cmd_Telecharger_Click() {
    if (!Module_Affiche_Connecte()) {
        Boites().MsgBox(Module_Non_Connecte);
        return;
    }
    Configurer_Ostrelclim();
}

void Frm_Param_OC_Forme::Cmd_Imprimer_Click() { Imprimer_Parametres_Module(Codes(), Noms()); }

void Frm_Param_OC_Forme::Cmd_Ouvrir_Click() {
    Dialogue_Fichier& d = cmn_dial_save_conf_;
    d = Dialogue_Fichier{};
    d.DialogTitle = QStringLiteral("Restauration d'une configuration à partir d'un fichier");
    d.FileName = QStringLiteral("Config_MD_") + QString::number(Num_Module);
    d.DefaultExt = QStringLiteral(".txt");
    d.InitDir = Repertoire_Parametrage_Modules;
    d.Filter = Filtre_Txt;
    Boites().ShowOpen(d);
    if (d.FileName.right(4) == QStringLiteral(".txt")) {
        Textes_Codes codes = Codes(), noms = Noms();
        QString titre = frame_param_oc_->title();
        Restauration_Config_Module(Chemin_Natif(d.FileName), codes, noms, titre);
        for (size_t k = 0; k < 4; ++k) {
            msk_mot_passe_[k]->setText(codes[k]);
            txt_nom_passe_[k]->setText(noms[k]);
        }
        frame_param_oc_->setTitle(titre);
        Frm_Menu1().Focus();
    }
    Affiche_Param_Module();
    Premier_Plan();
    Donner_Focus();
}

void Frm_Param_OC_Forme::Cmd_Sauvegarder_Click() {
    Dialogue_Fichier& d = cmn_dial_save_conf_;
    d = Dialogue_Fichier{};
    d.DialogTitle = QStringLiteral("Sauvegarde de la configuration du Module n°") + QString::number(Num_Module);
    d.Confirmer_Ecrasement = true;  // the dialog asks before it replaces a file
    d.FileName = QStringLiteral("Config_MD_") + QString::number(Num_Module);
    d.DefaultExt = QStringLiteral(".txt");
    d.InitDir = Repertoire_Parametrage_Modules;
    d.Filter = Filtre_Txt;
    Boites().ShowSave(d);
    if (d.FileName.right(4) == QStringLiteral(".txt")) {
        // A failed save has said so already; no success follows it.
        if (Sauvegarde_Config_Module(Chemin_Natif(d.FileName), Codes(), Noms())) Boites().MsgBox(Texte_Sauvegarde_Terminee);
        Frm_Menu1().Focus();
    }
    Premier_Plan();
    Donner_Focus();
}

void Frm_Param_OC_Forme::Cmd_Quitter_Click() {
    if (Boites().MsgBox(Question_Quitter, vbOKCancel) != vbOK) return;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Configuration"), Vrai);
}

void Frm_Param_OC_Forme::Cmd_Transfert_Date_Click() {
    if (!Module_Affiche_Connecte()) {
        Boites().MsgBox(Module_Non_Connecte);
        return;
    }
    if (!heure_module_affichee_) {
        Lecture_Date_Heure_Module(Num_Module);
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();
        horloge_module_lue_ = Donnees_Reponse.Date_Heure_Module;
        horloge_module_ = horloge_module_lue_;
        pc_a_la_lecture_ = Maintenant();
        heure_module_affichee_ = true;
        cmd_transfert_date_->setText(Caption_Transfert_Ecrire);
        Ajuster_Texte(cmd_transfert_date_);
        lbl_date_heure_oc_->setVisible(true);
        msk_date_heure_oc_->setVisible(true);
        msk_date_heure_oc_->setText(Texte_Horloge(horloge_module_));
        return;
    }
    // The PC's time now, not that of a tick that may not have come yet.
    Parametres_Module& r = Fiche();
    r.Date_Heure = Maintenant();
    Donnees_Reponse.Date_Heure_Module = r.Date_Heure;
    Ecriture_Date_Heure_Module(Num_Module);
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    heure_module_affichee_ = false;
    cmd_transfert_date_->setText(Caption_Transfert_Lire);
    Ajuster_Texte(cmd_transfert_date_);
    lbl_date_heure_oc_->setVisible(false);
    msk_date_heure_oc_->setVisible(false);
}

void Frm_Param_OC_Forme::Tmr_Seconde_Timer() {
    Parametres_Module& r = Fiche();
    r.Date_Heure = Maintenant();
    msk_date_heure_->setText(Texte_Horloge(r.Date_Heure));
    if (!heure_module_affichee_) return;
    // The module's clock runs with the PC's: the time read plus the time gone
    // since, whatever ticks were missed during a transfer.
    horloge_module_ = horloge_module_lue_ + (r.Date_Heure - pc_a_la_lecture_);
    msk_date_heure_oc_->setText(Texte_Horloge(horloge_module_));
}

}  // namespace ostrel
