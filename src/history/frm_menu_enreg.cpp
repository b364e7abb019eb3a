#include "history/frm_menu_enreg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "files/enregistrements.h"
#include "history/boites_dates.h"
#include "history/libelles.h"
#include "history/partage_enregistrements.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "platform/formats.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/curseur_attente.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {


template <class T> T* Controle(QWidget* parent, const char* nom, const QString& texte = {}) {
    auto* c = new T(parent);
    c->setObjectName(QString::fromLatin1(nom));
    if constexpr (!std::is_same_v<T, QLineEdit> && !std::is_same_v<T, QComboBox> && !std::is_same_v<T, QGroupBox>)
        c->setText(texte);
    return c;
}

constexpr int Touche_O = 79, Touche_Q = 81;

}  // namespace

Frm_Menu_Enreg_Forme::Frm_Menu_Enreg_Forme() : Forme(QStringLiteral("Frm_Menu_Enreg")) {
    Frame_Fenetre = Controle<QGroupBox>(this, "Frame_Fenetre");
    Frame_Fenetre->setTitle(QStringLiteral("Téléchargement"));

    Lbl_Question = Controle<QLabel>(Frame_Fenetre, "Lbl_Question",
                                    QStringLiteral("Choisissez le module dont vous souhaitez les enregistrements"));
    Lbl_Question->setAlignment(Qt::AlignCenter);
    Lbl_Question->setWordWrap(true);
    Cmb_Choix_Ostrelclim = Controle<QComboBox>(Frame_Fenetre, "Cmb_Choix_Ostrelclim");
    Opt_Lecture_OC = Controle<QRadioButton>(Frame_Fenetre, "Opt_Lecture_OC",
                                            QStringLiteral("Lecture des enregistrements de date à date"));
    Opt_All_Enreg = Controle<QRadioButton>(Frame_Fenetre, "Opt_All_Enreg", QStringLiteral("Lecture de tous les enregistrements"));
    Opt_Lecture_Fichier = Controle<QRadioButton>(Frame_Fenetre, "Opt_Lecture_Fichier", QStringLiteral("Lecture d'un fichier"));
    Lbl_Du = Controle<QLabel>(Frame_Fenetre, "Lbl_Du", QStringLiteral("Du"));
    Lbl_Au = Controle<QLabel>(Frame_Fenetre, "Lbl_Au", QStringLiteral("Au"));
    Lbl_Du->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lbl_Au->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Msk_Date_Debut = Controle<QLineEdit>(Frame_Fenetre, "Msk_Date_Debut");
    Msk_Date_Fin = Controle<QLineEdit>(Frame_Fenetre, "Msk_Date_Fin");
    Cmd_OK = Controle<QPushButton>(this, "Cmd_OK", QStringLiteral("OK"));
    Cmd_Annuler = Controle<QPushButton>(this, "Cmd_Annuler", QStringLiteral("Retour"));
    // The viewer opens at the first turn of the event loop after the load,
    // not a tenth of a second later: the operator waits for nothing.
    Timer1 = new Minuterie(QStringLiteral("Timer1"), this, 1);
    Timer1->Timer = [this] { Timer1_Timer(); };

    connect(Cmd_OK, &QPushButton::clicked, this, [this] { Cmd_OK_Click(); });
    connect(Cmd_Annuler, &QPushButton::clicked, this, [this] { Cmd_Annuler_Click(); });
    connect(Cmb_Choix_Ostrelclim, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) Cmb_Choix_Ostrelclim_Click();
    });
    connect(Opt_Lecture_OC, &QRadioButton::toggled, this, [this](bool oui) {
        if (oui) Opt_Lecture_OC_Click();
    });
    connect(Opt_All_Enreg, &QRadioButton::toggled, this, [this](bool oui) {
        if (oui) Opt_All_Enreg_Click();
    });
    connect(Opt_Lecture_Fichier, &QRadioButton::toggled, this, [this](bool oui) {
        if (oui) Opt_Lecture_Fichier_Click();
    });
}

void Frm_Menu_Enreg_Forme::Form_Load() {
    KeyPreview = true;
    Timer1->Enabled(false);
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Lbl_Nom_Menu(QStringLiteral("Menu Enregistrements"));
    tableau.Affiche_Progress_Bar(false);

    {
        // Module 1, then every further module in service.
        const QSignalBlocker bloque(Cmb_Choix_Ostrelclim);
        Octet m = 1;
        do {
            Cmb_Choix_Ostrelclim->addItem(Tab_Parametres_Modules[m - 1].Entete);
            m = Module_En_Service_Suivant(m);
        } while (m != 1 && Cmb_Choix_Ostrelclim->count() < 32);
        Cmb_Choix_Ostrelclim->setCurrentIndex(-1);
    }
    if (tableau.Caption_Lbl_OC(0) != Module_Non_Connecte) {
        Cmb_Choix_Ostrelclim->setCurrentIndex(Rang_Module_En_Service(Num_Module) - 1);
    } else {
        Opt_All_Enreg->setEnabled(false);
        Opt_Lecture_OC->setEnabled(false);
        Opt_Lecture_Fichier->setEnabled(true);
    }
    ostrel::Couleur_Fond(Cmb_Choix_Ostrelclim, Couleur_Cadre);

    // This week's window: from Monday (the coming one on a Sunday) to tomorrow.
    const Date aujourdhui = Partie_Jour(Aujourdhui());
    Donnees_Reponse.Date_Debut = aujourdhui - (Weekday(aujourdhui) - 2);
    Donnees_Reponse.Date_Fin = aujourdhui + 1;
    const bool annee_longue = Longueur_Date_Courte() == 10;
    for (QLineEdit* boite : {Msk_Date_Debut, Msk_Date_Fin}) {
        boite->setInputMask(annee_longue ? QStringLiteral("99/99/9999;_") : QStringLiteral("99/99/99;_"));
        boite->setProperty("Format", annee_longue ? QStringLiteral("dd/mm/yyyy") : QStringLiteral("dd/mm/yy"));
    }
    Msk_Date_Debut->setText(Texte_Boite_Jour(Donnees_Reponse.Date_Debut));
    Msk_Date_Fin->setText(Texte_Boite_Jour(Donnees_Reponse.Date_Fin));

    Opt_Lecture_Fichier->setChecked(true);
    Lbl_Question->show();
    Cmb_Choix_Ostrelclim->setEnabled(true);
    Redimensionner();
}

void Frm_Menu_Enreg_Forme::Cmb_Choix_Ostrelclim_Click() {
    Tableau_Bord& tableau = Frm_Menu1();
    Octet aucun = 0;
    tableau.Init_Label_OC(aucun);
    Octet rang = static_cast<Octet>(Cmb_Choix_Ostrelclim->currentIndex() + 1);
    Num_Module = Nieme_Module_En_Service(rang);
    tableau.Init_Label_OC(Num_Module);
}

void Frm_Menu_Enreg_Forme::Dates_Visibles(bool visibles) {
    for (QWidget* w : {static_cast<QWidget*>(Lbl_Du), static_cast<QWidget*>(Msk_Date_Debut),
                       static_cast<QWidget*>(Lbl_Au), static_cast<QWidget*>(Msk_Date_Fin)})
        w->setVisible(visibles);
}

void Frm_Menu_Enreg_Forme::Opt_Lecture_OC_Click() { Dates_Visibles(true); }
void Frm_Menu_Enreg_Forme::Opt_All_Enreg_Click() { Dates_Visibles(false); }
void Frm_Menu_Enreg_Forme::Opt_Lecture_Fichier_Click() { Dates_Visibles(false); }

void Frm_Menu_Enreg_Forme::Active_Menu_Enreg(bool actif) {
    for (QWidget* w : {static_cast<QWidget*>(Cmd_Annuler), static_cast<QWidget*>(Cmd_OK),
                       static_cast<QWidget*>(Lbl_Question), static_cast<QWidget*>(Cmb_Choix_Ostrelclim),
                       static_cast<QWidget*>(Frame_Fenetre)})
        w->setEnabled(actif);
}

void Frm_Menu_Enreg_Forme::Cmd_OK_Click() {
    Tableau_Bord& tableau = Frm_Menu1();
    auto refuser = [&](const QString& texte) {
        Boites().MsgBox(texte, vbExclamation);
        tableau.Focus();
        Premier_Plan();
    };
    const Octet module = Num_Module >= 1 && Num_Module <= 32 ? Num_Module : 1;
    if (Opt_Lecture_OC->isChecked()) {
        const std::optional<Date> debut = Convertir_Date(Msk_Date_Debut->text());
        const std::optional<Date> fin = Convertir_Date(Msk_Date_Fin->text());
        if (debut) Donnees_Reponse.Date_Debut = *debut;
        if (fin) Donnees_Reponse.Date_Fin = *fin;
        if (!debut || !fin) return refuser(QStringLiteral("Saisie incorrect"));
        if (Donnees_Reponse.Date_Debut > Donnees_Reponse.Date_Fin)
            return refuser(QStringLiteral("La date de fin est supérieure à la date de début"));
        Nom_Module = Tab_Parametres_Modules[module - 1].Entete;
    } else if (Opt_Lecture_Fichier->isChecked()) {
        Dialogue_Fichier dialogue;
        dialogue.DefaultExt = QStringLiteral(".txt");
        dialogue.Filter = QStringLiteral("(*.txt)|*.txt");
        dialogue.DialogTitle = QStringLiteral("Ouverture d'un fichier d'enregistrements de température");
        dialogue.InitDir = Repertoire_Sauvegardes_Donnees;
        dialogue.FileName.clear();
        if (!Boites().ShowOpen(dialogue) || !dialogue.FileName.endsWith(QLatin1String(".txt"))) return;
        fichier_ = dialogue.FileName;
        // Only a name that is not there is refused here; a file that cannot
        // be read, a named pipe among them (not opened, so that nothing waits
        // for its writer), is told so by its loading.
        if (!Fichier_Existe(Chemin_Natif(fichier_))) return refuser(QStringLiteral("Nom de fichier introuvable"));
    } else {
        // The viewer's caption names the module whatever its source.
        Nom_Module = Tab_Parametres_Modules[module - 1].Entete;
    }

    Active_Menu_Enreg(false);
    Frame_Fenetre->setEnabled(false);
    Frame_Fenetre->hide();
    tableau.Affiche_Progress_Bar(true);
    const bool a_montrer = Charge_Enregistrements();
    if (Code_Erreur != 0) {
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
    } else if (a_montrer) {
        if (Opt_Lecture_Fichier->isChecked()) {
            // The data no longer come from a connected module.
            Octet aucun = 0;
            tableau.Init_Label_OC(aucun);
        }
        Timer1->Enabled(true);
    } else {
        // A refused file: the reader has said so, the screen and the recordings
        // are as they were and the choice is offered again.
        tableau.Affiche_Progress_Bar(false);
        Frame_Fenetre->show();
        Active_Menu_Enreg(true);
        Premier_Plan();
    }
}

bool Frm_Menu_Enreg_Forme::Charge_Enregistrements() {
    Curseur_Attente attente;
    Tableau_Bord& tableau = Frm_Menu1();
    if (Opt_Lecture_Fichier->isChecked()) {
        if (!Chargement_Fichier_Donnees(Chemin_Natif(fichier_))) return false;
        Donnees_Fichier = Vrai;
        return true;
    }

    const Octet module = Num_Module >= 1 && Num_Module <= 32 ? Num_Module : 1;
    Lecture_Etat_Module(module);
    if (Code_Erreur != 0) return false;
    Donnees_Fichier = Faux;
    const int n = Nb_Voies_Selon_Etat(Donnees_Reponse.Etat_Module);
    Nb_Voies_Module[module - 1] = static_cast<Octet>(n);
    Index_Fin_Voie.assign(static_cast<size_t>(n), 0);
    Nb_Elements_Telecharges = 0;
    const bool periode = Opt_Lecture_OC->isChecked();
    if (periode) {
        Lecture_Tous_Enreg = Faux;
        Ecriture_Periode_Lecture(module);
    } else {
        Lecture_Tous_Enreg = Vrai;
    }
    if (Code_Erreur != 0) return false;

    for (int i = 0; i < n; ++i) {
        const Octet voie = static_cast<Octet>(i + 1);
        Long progression = static_cast<Long>(Arrondi_Pair(i * 100.0 / n));
        tableau.Progess_Bar_Value(progression);
        tableau.Caption_Pb(QStringLiteral("Téléchargement des mesures voie n°") + QString::number(voie));
        Index_Fin_Voie[static_cast<size_t>(i)] = 0;
        if (periode)
            Telechargement_Enregistrements_Periode(module, voie);
        else
            Telechargement_Tous_Enregistrements(module, voie);
        if (Code_Erreur != 0) return false;
        Index_Fin_Voie[static_cast<size_t>(i)] = Nb_Elements_Telecharges;
    }
    Long cent = 100;
    tableau.Progess_Bar_Value(cent);
    tableau.Caption_Pb(QStringLiteral("Initialisation du graphe ..."));
    if (Nb_Elements_Telecharges >= Table_Mesures::Taille) Boites().MsgBox(Texte_Table_Pleine, vbExclamation);
    return true;
}

void Frm_Menu_Enreg_Forme::Timer1_Timer() {
    Timer1->Enabled(false);
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Enregistrements"), Faux);
    if (Code_Erreur != 0) Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

void Frm_Menu_Enreg_Forme::Form_KeyUp(int& KeyCode, int) {
    // While the recordings load, the keys wait like the buttons.
    if (!Cmd_OK->isEnabled() || Timer1->Enabled()) return;
    if (KeyCode == Touche_O || KeyCode == Touche::Entree)
        Cmd_OK_Click();
    else if (KeyCode == Touche_Q || KeyCode == Touche::Echap)
        Cmd_Annuler_Click();
}

void Frm_Menu_Enreg_Forme::Cmd_Annuler_Click() { Liaison_Ecran(Ecran_Courant, QStringLiteral("Consultation"), Faux); }

void Frm_Menu_Enreg_Forme::Form_Resize() {
    const double W = width(), H = height();
    Frame_Fenetre->setGeometry(Arrondi_Pixels(0.12 * W), Arrondi_Pixels(0.05 * H), Arrondi_Pixels(0.76 * W), Arrondi_Pixels(0.70 * H));
    const double w = Frame_Fenetre->width(), h = Frame_Fenetre->height();
    Lbl_Question->setGeometry(Arrondi_Pixels(0.05 * w), Arrondi_Pixels(0.08 * h), Arrondi_Pixels(0.90 * w), Arrondi_Pixels(0.12 * h));
    Cmb_Choix_Ostrelclim->setGeometry(Arrondi_Pixels(0.15 * w), Arrondi_Pixels(0.22 * h), Arrondi_Pixels(0.70 * w), Arrondi_Pixels(0.09 * h));
    Opt_Lecture_OC->setGeometry(Arrondi_Pixels(0.10 * w), Arrondi_Pixels(0.40 * h), Arrondi_Pixels(0.80 * w), Arrondi_Pixels(0.09 * h));
    Lbl_Du->setGeometry(Arrondi_Pixels(0.10 * w), Arrondi_Pixels(0.51 * h), Arrondi_Pixels(0.08 * w), Arrondi_Pixels(0.08 * h));
    Msk_Date_Debut->setGeometry(Arrondi_Pixels(0.19 * w), Arrondi_Pixels(0.51 * h), Arrondi_Pixels(0.20 * w), Arrondi_Pixels(0.08 * h));
    Lbl_Au->setGeometry(Arrondi_Pixels(0.42 * w), Arrondi_Pixels(0.51 * h), Arrondi_Pixels(0.08 * w), Arrondi_Pixels(0.08 * h));
    Msk_Date_Fin->setGeometry(Arrondi_Pixels(0.51 * w), Arrondi_Pixels(0.51 * h), Arrondi_Pixels(0.20 * w), Arrondi_Pixels(0.08 * h));
    Opt_All_Enreg->setGeometry(Arrondi_Pixels(0.10 * w), Arrondi_Pixels(0.66 * h), Arrondi_Pixels(0.80 * w), Arrondi_Pixels(0.09 * h));
    Opt_Lecture_Fichier->setGeometry(Arrondi_Pixels(0.10 * w), Arrondi_Pixels(0.80 * h), Arrondi_Pixels(0.80 * w), Arrondi_Pixels(0.09 * h));
    Cmd_OK->setGeometry(Arrondi_Pixels(0.26 * W), Arrondi_Pixels(0.80 * H), Arrondi_Pixels(0.20 * W), Arrondi_Pixels(0.10 * H));
    Cmd_Annuler->setGeometry(Arrondi_Pixels(0.54 * W), Arrondi_Pixels(0.80 * H), Arrondi_Pixels(0.20 * W), Arrondi_Pixels(0.10 * H));

    for (QWidget* w : findChildren<QWidget*>()) Nom_Police(w, Police_Options);
    for (QWidget* w : {static_cast<QWidget*>(Cmd_OK), static_cast<QWidget*>(Cmd_Annuler), static_cast<QWidget*>(Lbl_Du),
                       static_cast<QWidget*>(Lbl_Au)})
        Taille_Police(w, Taille_Police_Moyenne);
    for (QWidget* w : {static_cast<QWidget*>(Frame_Fenetre), static_cast<QWidget*>(Lbl_Question),
                       static_cast<QWidget*>(Cmb_Choix_Ostrelclim), static_cast<QWidget*>(Opt_Lecture_OC),
                       static_cast<QWidget*>(Opt_All_Enreg), static_cast<QWidget*>(Opt_Lecture_Fichier),
                       static_cast<QWidget*>(Msk_Date_Debut), static_cast<QWidget*>(Msk_Date_Fin)})
        Taille_Police(w, Taille_Police_Petite);
    // Texts over the window's colour in the text colour of the options.
    for (QWidget* w : {static_cast<QWidget*>(Frame_Fenetre), static_cast<QWidget*>(Lbl_Question),
                       static_cast<QWidget*>(Opt_Lecture_OC), static_cast<QWidget*>(Opt_All_Enreg),
                       static_cast<QWidget*>(Opt_Lecture_Fichier), static_cast<QWidget*>(Lbl_Du),
                       static_cast<QWidget*>(Lbl_Au)})
        Couleur_Libelle(w, Couleur_Police);
    // The group's frame and title in the text colour, so that they show on any window colour.
    const QColor texte = Vers_QColor(Couleur_Police);
    const QString rgb = QStringLiteral("rgb(%1,%2,%3)").arg(texte.red()).arg(texte.green()).arg(texte.blue());
    Frame_Fenetre->setStyleSheet(
        QStringLiteral("QGroupBox#Frame_Fenetre { border: 1px solid %1; border-radius: 6px; margin-top: 0.7em; }"
                       "QGroupBox#Frame_Fenetre::title { subcontrol-origin: margin; left: 16px; padding: 0 6px; color: %1; }")
            .arg(rgb));
    Couleur_Fond(Couleur_Fenetre);
}

}  // namespace ostrel
