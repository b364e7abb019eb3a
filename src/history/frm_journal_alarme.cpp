#include "history/frm_journal_alarme.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <cmath>

#include "files/messages_fichiers.h"
#include "history/boites_dates.h"
#include "history/libelles.h"
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
#include "platform/fichiers.h"
#include "platform/formats.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/curseur_attente.h"
#include "platform/ui/textes_ajustes.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

const QString Ecran_Journal = QStringLiteral("Journal des alarmes");
const QString Toutes_Les_Voies = QStringLiteral("Toutes les voies");

template <class T> T* Controle(const char* nom, QWidget* parent) {
    auto* c = new T(parent);
    c->setObjectName(QString::fromLatin1(nom));
    return c;
}

QPushButton* Bouton(const char* nom, const QString& texte, QWidget* parent) {
    auto* b = Controle<QPushButton>(nom, parent);
    b->setText(texte);
    return b;
}

QLabel* Etiquette(const char* nom, const QString& texte, QWidget* parent) {
    auto* l = Controle<QLabel>(nom, parent);
    l->setText(texte);
    return l;
}

QRadioButton* Option(const char* nom, const QString& texte, QWidget* parent) {
    auto* o = Controle<QRadioButton>(nom, parent);
    o->setText(texte);
    return o;
}

// Selects an option as a click on it does: its handler runs even when it was already selected.
void Choisir(QRadioButton* option, void (frm_Journal_Alarme_Forme::*gestionnaire)(), frm_Journal_Alarme_Forme* f) {
    if (option->isChecked()) (f->*gestionnaire)();
    else option->setChecked(true);
}

void Proportion(QWidget* w, double W, double H, double x, double y, double l, double h) {
    w->setGeometry(Arrondi_Pixels(W * x), Arrondi_Pixels(H * y), Arrondi_Pixels(W * l), Arrondi_Pixels(H * h));
}

std::optional<Date> Date_Saisie(const QLineEdit* boite) {
    if (!boite->hasAcceptableInput()) return std::nullopt;
    return Convertir_Date(boite->text());
}

}  // namespace

frm_Journal_Alarme_Forme::frm_Journal_Alarme_Forme() : Forme(QStringLiteral("frm_Journal_Alarme")) {
    Frame_Menu = Controle<QGroupBox>("Frame_Menu", this);
    Lbl_Question = Etiquette("Lbl_Question", QStringLiteral("Choisissez le module dont vous souhaitez les évènements"),
                             Frame_Menu);
    Lbl_Question->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Cmb_Choix_Ostrelclim = Controle<QComboBox>("Cmb_Choix_Ostrelclim", Frame_Menu);
    Opt_Journal_Complet = Option("Opt_Journal_Complet", QStringLiteral("Journal des évènements du module"), Frame_Menu);
    Opt_Journal_Date = Option("Opt_Journal_Date", QStringLiteral("Journal des évènements de date à date"), Frame_Menu);
    Opt_Journal_Fichier = Option("Opt_Journal_Fichier", QStringLiteral("Journal à partir d'un fichier"), Frame_Menu);
    Cmb_Choix_Num_Voie = Controle<QComboBox>("Cmb_Choix_Num_Voie", Frame_Menu);
    Lbl_Du = Etiquette("Lbl_Du", QStringLiteral("Du"), Frame_Menu);
    Lbl_Au = Etiquette("Lbl_Au", QStringLiteral("Au"), Frame_Menu);
    for (QLabel* l : {Lbl_Du, Lbl_Au}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Msk_Date_Debut = Controle<QLineEdit>("Msk_Date_Debut", Frame_Menu);
    Msk_Date_Fin = Controle<QLineEdit>("Msk_Date_Fin", Frame_Menu);
    Cmd_OK = Bouton("Cmd_OK", QStringLiteral("OK"), Frame_Menu);
    Cmd_Annuler = Bouton("Cmd_Annuler", QStringLiteral("Annuler"), Frame_Menu);

    Shape_Controle = Controle<QFrame>("Shape_Controle", this);
    Shape_Controle->setFrameShape(QFrame::Box);
    Shape_Controle->setLineWidth(2);
    Lbl_Intitule_Fenetre = Etiquette("Lbl_Intitule_Fenetre", QString(), this);
    Lbl_Intitule_Fenetre->setAlignment(Qt::AlignCenter);
    List_Alarmes = Controle<QListWidget>("List_Alarmes", this);
    List_Alarmes->setUniformItemSizes(true);
    List_Alarmes->setSelectionMode(QAbstractItemView::SingleSelection);

    Cmd_Acquitter = Bouton("Cmd_Acquitter", QStringLiteral("Acquitter"), this);
    Cmd_Purger = Bouton("Cmd_Purger", QStringLiteral("Purger"), this);
    Frame_Code_Acce = Controle<QGroupBox>("Frame_Code_Acce", this);
    Frame_Code_Acce->setTitle(QStringLiteral("Identification"));
    Frame_Code_Acce->setAlignment(Qt::AlignHCenter);
    Txt_Code_Acce = Controle<QLineEdit>("Txt_Code_Acce", Frame_Code_Acce);
    Txt_Code_Acce->setMaxLength(4);
    Txt_Code_Acce->setEchoMode(QLineEdit::Password);
    Txt_Code_Acce->setAlignment(Qt::AlignCenter);
    Txt_Code_Acce->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    Txt_Code_Acce->installEventFilter(this);
    Frame_Code_Acce->hide();
    Cmd_Exporter = Bouton("Cmd_Exporter", QStringLiteral("Sauvegarder"), this);
    Cmd_Imprimer = Bouton("Cmd_Imprimer", QStringLiteral("Imprimer"), this);
    Cmd_Quitter = Bouton("Cmd_Quitter", QStringLiteral("Quitter"), this);

    connect(Cmb_Choix_Ostrelclim, &QComboBox::currentIndexChanged, this, [this] { Cmb_Choix_Ostrelclim_Click(); });
    connect(Opt_Journal_Complet, &QRadioButton::toggled, this, [this](bool oui) { if (oui) Opt_Journal_Complet_Click(); });
    connect(Opt_Journal_Date, &QRadioButton::toggled, this, [this](bool oui) { if (oui) Opt_Journal_Date_Click(); });
    connect(Opt_Journal_Fichier, &QRadioButton::toggled, this, [this](bool oui) { if (oui) Opt_Journal_Fichier_Click(); });
    connect(Cmd_OK, &QPushButton::clicked, this, &frm_Journal_Alarme_Forme::Cmd_OK_Click);
    connect(Cmd_Annuler, &QPushButton::clicked, this, &frm_Journal_Alarme_Forme::Cmd_Annuler_Click);
    connect(Cmd_Quitter, &QPushButton::clicked, this, &frm_Journal_Alarme_Forme::Cmd_Quitter_Click);
    connect(Cmd_Acquitter, &QPushButton::clicked, this, &frm_Journal_Alarme_Forme::Cmd_Acquitter_Click);
    connect(Cmd_Purger, &QPushButton::clicked, this, &frm_Journal_Alarme_Forme::Cmd_Purger_Click);
    connect(Txt_Code_Acce, &QLineEdit::textChanged, this, [this] { Txt_Code_Acce_Change(); });
    connect(Cmd_Exporter, &QPushButton::clicked, this, &frm_Journal_Alarme_Forme::Cmd_Exporter_Click);
    connect(Cmd_Imprimer, &QPushButton::clicked, this, &frm_Journal_Alarme_Forme::Cmd_Imprimer_Click);
}

// ---------------------------------------------------------------- opening

void frm_Journal_Alarme_Forme::Form_Load() {
    KeyPreview = true;
    Mode_Journal = Journal_Complet;
    Dernier_Journal_Coupe = {};
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);

    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Lbl_Nom_Menu(Ecran_Journal);
    tableau.Lbl_Etat_Memoire(QString());
    Octet aucun = 0;
    tableau.Init_Label_OC(aucun);

    {
        const QSignalBlocker bloque(Cmb_Choix_Ostrelclim);
        Cmb_Choix_Ostrelclim->clear();
        Cmb_Choix_Ostrelclim->addItem(Tab_Parametres_Modules[0].Entete);
        Octet m = Module_En_Service_Suivant(1);
        for (int pas = 0; m != 1 && m <= 32 && pas < 32; ++pas) {
            Cmb_Choix_Ostrelclim->addItem(Tab_Parametres_Modules[m - 1u].Entete);
            m = Module_En_Service_Suivant(m);
        }
        Cmb_Choix_Ostrelclim->setCurrentIndex(-1);
    }

    if (tableau.Caption_Lbl_OC(0) != Module_Non_Connecte) {
        Cmb_Choix_Ostrelclim->setCurrentIndex(Rang_Module_En_Service(Num_Module) - 1);
        // A module that is there but does not answer leaves the file source only.
        if (Code_Erreur == 0 && !repli_fichier_) Choisir(Opt_Journal_Complet, &frm_Journal_Alarme_Forme::Opt_Journal_Complet_Click, this);
    } else {
        Repli_Sur_Fichier();
    }
    // A link error of the module choice has already led to "Problèmes Liaison".
    if (Code_Erreur != 0) return;

    for (QWidget* w : {static_cast<QWidget*>(Cmd_Quitter), static_cast<QWidget*>(Shape_Controle),
                       static_cast<QWidget*>(Cmd_Acquitter), static_cast<QWidget*>(Frame_Code_Acce),
                       static_cast<QWidget*>(Cmd_Purger), static_cast<QWidget*>(Cmd_Imprimer),
                       static_cast<QWidget*>(Cmd_Exporter), static_cast<QWidget*>(List_Alarmes),
                       static_cast<QWidget*>(Lbl_Intitule_Fenetre)})
        w->hide();

    const Date aujourdhui = Aujourdhui();
    const QString masque = Longueur_Date_Courte() == 10 ? QStringLiteral("99/99/9999") : QStringLiteral("99/99/99");
    for (QLineEdit* boite : {Msk_Date_Debut, Msk_Date_Fin}) boite->setInputMask(masque);
    Msk_Date_Debut->setText(Texte_Boite_Jour(aujourdhui - 1));
    Msk_Date_Fin->setText(Texte_Boite_Jour(aujourdhui + 1));
    Redimensionner();
}

void frm_Journal_Alarme_Forme::Repli_Sur_Fichier() {
    Frame_Menu->setTitle(Module_Non_Connecte);
    Code_Erreur = 0;
    Choisir(Opt_Journal_Fichier, &frm_Journal_Alarme_Forme::Opt_Journal_Fichier_Click, this);
    Opt_Journal_Complet->setEnabled(false);
    Opt_Journal_Date->setEnabled(false);
    Cmb_Choix_Num_Voie->setEnabled(false);
    Mode_Journal = Journal_Fichier;
    repli_fichier_ = true;
}

void frm_Journal_Alarme_Forme::Cmb_Choix_Ostrelclim_Click() {
    const int index = Cmb_Choix_Ostrelclim->currentIndex();
    if (index < 0) return;
    Curseur_Attente attente;
    Octet rang = static_cast<Octet>(index + 1);
    Num_Module = Nieme_Module_En_Service(rang);

    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Focus();
    Progression(0);
    tableau.Caption_Pb(QString());
    tableau.Affiche_Progress_Bar(true);
    Octet marque = Num_Module;
    tableau.Init_Label_OC(marque);

    if (tableau.Caption_Lbl_OC(index) == Module_Non_Connecte) Code_Erreur = Erreur::Ligne;
    else Lecture_Nombre_Evenements(Num_Module);
    if (Code_Erreur != 0) {
        Repli_Sur_Fichier();
        tableau.Affiche_Progress_Bar(false);
        Devant();
        return;
    }
    Frame_Menu->setTitle(QStringLiteral("Module connecté, ") + Texte_Entier(Donnees_Reponse.Nb_Evenements) +
                         QStringLiteral(" évènements"));

    Lecture_Etat_Module(Num_Module);
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    const Octet n = Nb_Voies_Selon_Etat(Donnees_Reponse.Etat_Module);
    Nb_Voies_Module[Num_Module - 1u] = n;

    Cmb_Choix_Num_Voie->clear();
    Cmb_Choix_Num_Voie->addItem(Toutes_Les_Voies);
    for (Octet i = 1; i <= n; ++i) {
        tableau.Caption_Pb(QStringLiteral("Lecture du nom des voies ..."));
        Progression(i * 100.0 / n);
        Lecture_Nom_Voie(Num_Module, i);
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();
        const QString& nom = Donnees_Reponse.Nom_Voie;
        Cmb_Choix_Num_Voie->addItem(nom.trimmed().isEmpty() ? QStringLiteral("Voie ") + Texte_Entier(i) : nom);
    }
    Cmb_Choix_Num_Voie->setCurrentIndex(0);
    // The bar would otherwise stay over the screen.
    tableau.Affiche_Progress_Bar(false);
    Devant();
}

void frm_Journal_Alarme_Forme::Opt_Journal_Complet_Click() {
    Mode_Journal = Journal_Complet;
    for (QWidget* w : {static_cast<QWidget*>(Msk_Date_Debut), static_cast<QWidget*>(Msk_Date_Fin),
                       static_cast<QWidget*>(Lbl_Du), static_cast<QWidget*>(Lbl_Au)})
        w->hide();
    Cmb_Choix_Num_Voie->setEnabled(true);
}

void frm_Journal_Alarme_Forme::Opt_Journal_Date_Click() {
    Mode_Journal = Journal_Date;
    for (QWidget* w : {static_cast<QWidget*>(Msk_Date_Debut), static_cast<QWidget*>(Msk_Date_Fin),
                       static_cast<QWidget*>(Lbl_Du), static_cast<QWidget*>(Lbl_Au)})
        w->show();
    Cmb_Choix_Num_Voie->setEnabled(true);
}

void frm_Journal_Alarme_Forme::Opt_Journal_Fichier_Click() {
    Mode_Journal = Journal_Fichier;
    for (QWidget* w : {static_cast<QWidget*>(Msk_Date_Debut), static_cast<QWidget*>(Msk_Date_Fin),
                       static_cast<QWidget*>(Lbl_Du), static_cast<QWidget*>(Lbl_Au)})
        w->hide();
    Cmb_Choix_Num_Voie->setEnabled(false);
}

// ---------------------------------------------------------------- loading

void frm_Journal_Alarme_Forme::Executer(const QString& operation) {
    if (operation == QStringLiteral("Cmd_OK_Click")) Cmd_OK_Click();
}

void frm_Journal_Alarme_Forme::Cmd_OK_Click() {
    Curseur_Attente attente;
    Tableau_Bord& tableau = Frm_Menu1();
    if (Mode_Journal == Journal_Fichier) {
        CommonDialog1.DialogTitle = QStringLiteral("Ouverture du journal des alarmes");
        CommonDialog1.FileName = QStringLiteral("Journal_Alarmes");
        CommonDialog1.DefaultExt = QStringLiteral(".txt");
        CommonDialog1.InitDir = Repertoire_Sauvegardes_Alarmes;
        CommonDialog1.Filter = QStringLiteral("(*.txt)|*.txt");
        Boites().ShowOpen(CommonDialog1);
        if (!CommonDialog1.FileName.endsWith(QStringLiteral(".txt"))) return;
        if (!Fichier_Existe(Chemin_Natif(CommonDialog1.FileName))) {
            Boites().MsgBox(QStringLiteral("Nom de fichier introuvable"), vbExclamation);
            tableau.Focus();
            return;
        }
        // A file that cannot be read leaves the screen as it was.
        if (!Ouvrir_Journal(CommonDialog1.FileName)) return;
        Affiche_Menu(true);
        Cmd_Exporter->setEnabled(false);
        Cmd_Purger->setEnabled(false);
        Cmd_Acquitter->setEnabled(false);
    } else {
        Noms_Operateurs[0] = QStringLiteral("...");
        for (Octet k = 1; k <= 4; ++k) Noms_Operateurs[k].clear();
        for (Octet k = 1; k <= 4; ++k) {
            Octet module = Num_Module, index = k;
            Noms_Operateurs[k] = Lecture_Operateur(module, index);
            // The module was reported missing: nothing more is asked of it.
            if (Code_Erreur != 0) return Vers_Problemes_Liaison();
        }

        if (Mode_Journal == Journal_Date) {
            const auto debut = Date_Saisie(Msk_Date_Debut);
            const auto fin = Date_Saisie(Msk_Date_Fin);
            if (!debut || !fin) {
                Boites().MsgBox(QStringLiteral("Saisie incorrect"), vbOKOnly | vbExclamation);
                tableau.Focus();
                Devant();
                return;
            }
            Donnees_Reponse.Date_Debut = *debut;
            Donnees_Reponse.Date_Fin = *fin;
            if (*debut > *fin) {
                Boites().MsgBox(QStringLiteral("La date de fin est supérieure à la date de début"),
                                vbOKOnly | vbExclamation);
                tableau.Focus();
                Devant();
                return;
            }
            Devant();
        }

        tableau.Premier_Plan();
        tableau.Focus();
        Affiche_Menu(true);

        Lecture_Etat_Module(Num_Module);
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();
        Nb_Voies_Module[Num_Module - 1u] = Nb_Voies_Selon_Etat(Donnees_Reponse.Etat_Module);

        if (Cmb_Choix_Num_Voie->currentIndex() < 0 && Cmb_Choix_Num_Voie->count() > 0)
            Cmb_Choix_Num_Voie->setCurrentIndex(0);
        if (Mode_Journal == Journal_Date || Cmb_Choix_Num_Voie->currentText() != Cmb_Choix_Num_Voie->itemText(0))
            Cmd_Purger->setEnabled(false);

        if (Mode_Journal == Journal_Date) {
            Cmd_Acquitter->setEnabled(false);
            Ecriture_Periode_Lecture(Num_Module);
            if (Code_Erreur != 0) return Vers_Problemes_Liaison();
            Actualise_Journal_Date();
        } else {
            Actualise_Journal();
        }
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();
        Lbl_Intitule_Fenetre->setText(Cmb_Choix_Ostrelclim->currentText() + QStringLiteral(" - ") +
                                      Cmb_Choix_Num_Voie->currentText());
        Ajuster_Texte(Lbl_Intitule_Fenetre);
    }

    for (QWidget* w : {static_cast<QWidget*>(Shape_Controle), static_cast<QWidget*>(Cmd_Purger),
                       static_cast<QWidget*>(Cmd_Quitter), static_cast<QWidget*>(Cmd_Acquitter),
                       static_cast<QWidget*>(Cmd_Exporter), static_cast<QWidget*>(Cmd_Imprimer),
                       static_cast<QWidget*>(List_Alarmes), static_cast<QWidget*>(Lbl_Intitule_Fenetre)})
        w->show();
    Frame_Code_Acce->hide();
    tableau.Affiche_Progress_Bar(false);
    Devant();
}

void frm_Journal_Alarme_Forme::Actualise_Journal() { Telecharger(false); }
void frm_Journal_Alarme_Forme::Actualise_Journal_Date() { Telecharger(true); }

void frm_Journal_Alarme_Forme::Telecharger(bool periode) {
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Caption_Pb(QStringLiteral("Chargement des paramètres"));
    tableau.Rafraichir();
    Progression(0);

    Lecture_Nombre_Evenements(Num_Module);
    if (Code_Erreur != 0) return;
    // A journal larger than the screen keeps is not given more room: the
    // download reads it whole and the table keeps its newest entries.
    const Long annonces = std::clamp<Long>(Donnees_Reponse.Nb_Evenements, 0, Nb_Max_Entrees_Journal - 1);
    Tab_Journal.assign(static_cast<size_t>(annonces) + 1, Evenement_Journal{});

    Octet filtre = static_cast<Octet>(std::max(Cmb_Choix_Num_Voie->currentIndex(), 0));
    if (periode) Telechargement_Journal_Periode(Num_Module, filtre);
    else Telechargement_Journal_Complet(Num_Module, filtre);
    if (Code_Erreur != 0) return;

    Donnees_Reponse.Nb_Evenements = Nb_Elements_Telecharges;
    Dernier_Journal_Coupe = {Num_Module, Nb_Elements_Lus - Nb_Elements_Telecharges};
    entete_journal_ = Tab_Parametres_Modules[Num_Module - 1u].Entete;
    Affecte_Nom_Voies();
    if (Code_Erreur != 0) return;
    Affiche_Journal();
    if (Dernier_Journal_Coupe.Non_Gardees > 0)
        Boites().MsgBox(Texte_Journal_Coupe(Nb_Elements_Telecharges, Nb_Elements_Lus), vbExclamation);
}

void frm_Journal_Alarme_Forme::Affecte_Nom_Voies() {
    Tableau_Bord& tableau = Frm_Menu1();
    Progression(0);
    tableau.Affiche_Progress_Bar(true);
    tableau.Caption_Pb(QStringLiteral("Patientez ..."));
    const Long n = std::min<Long>(Nb_Elements_Telecharges, static_cast<Long>(Tab_Journal.size()));
    const int noms = Cmb_Choix_Num_Voie->count();
    int montre = 0;
    for (Long i = 0; i < n; ++i) {
        Evenement_Journal& e = Tab_Journal[static_cast<size_t>(i)];
        // Channel 0 is the module as a whole ("Toutes les voies"); a channel
        // the module does not have gets no name.
        e.Nom_Voie = e.Num_Voie < noms ? Cmb_Choix_Num_Voie->itemText(e.Num_Voie) : QString();
        const int valeur = static_cast<int>(Arrondi_Pair(static_cast<double>(i) / n * 100.0));
        if (valeur != montre) {
            Progression(valeur);
            montre = valeur;
        }
    }
}

void frm_Journal_Alarme_Forme::Affiche_Journal() {
    List_Alarmes->clear();
    const Long n = std::clamp<Long>(Donnees_Reponse.Nb_Evenements, 0, static_cast<Long>(Tab_Journal.size()));
    nb_journal_ = n;
    if (n == 0) {
        List_Alarmes->addItem(QStringLiteral("Journal vide"));
        return;
    }
    QStringList lignes;
    lignes.reserve(n);
    for (Long r = 0; r < n; ++r) lignes << Ligne_Journal(Tab_Journal[static_cast<size_t>(n - 1 - r)], Noms_Operateurs);
    List_Alarmes->addItems(lignes);
}

void frm_Journal_Alarme_Forme::Affiche_Menu(bool afficher) { Frame_Menu->setVisible(afficher); }

// ---------------------------------------------------------------- leaving

void frm_Journal_Alarme_Forme::Retour_Consultation() {
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Consultation"), Faux);
}

void frm_Journal_Alarme_Forme::Cmd_Annuler_Click() { Retour_Consultation(); }
void frm_Journal_Alarme_Forme::Cmd_Quitter_Click() { Retour_Consultation(); }

void frm_Journal_Alarme_Forme::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap || KeyCode == 81) Cmd_Annuler_Click();
}

void frm_Journal_Alarme_Forme::Vers_Problemes_Liaison() {
    Frm_Menu1().Affiche_Progress_Bar(false);
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

void frm_Journal_Alarme_Forme::Devant() {
    Premier_Plan();
    if (isVisible()) Donner_Focus();
}

// ---------------------------------------------------------------- acknowledgement

void frm_Journal_Alarme_Forme::Cmd_Acquitter_Click() {
    Mode_Acquittement = Vrai;
    Txt_Code_Acce->clear();
    Frame_Code_Acce->show();
    Txt_Code_Acce->setFocus(Qt::OtherFocusReason);
}

void frm_Journal_Alarme_Forme::Cmd_Purger_Click() {
    Mode_Acquittement = Faux;
    Txt_Code_Acce->clear();
    Frame_Code_Acce->show();
    Txt_Code_Acce->setFocus(Qt::OtherFocusReason);
}

void frm_Journal_Alarme_Forme::Txt_Code_Acce_LostFocus() { Frame_Code_Acce->hide(); }

bool frm_Journal_Alarme_Forme::eventFilter(QObject* objet, QEvent* evenement) {
    if (objet == Txt_Code_Acce && evenement->type() == QEvent::FocusOut) {
        // Another program or a box coming in front is no leaving of the box.
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        if (raison != Qt::ActiveWindowFocusReason && raison != Qt::PopupFocusReason) Txt_Code_Acce_LostFocus();
    }
    return Forme::eventFilter(objet, evenement);
}

void frm_Journal_Alarme_Forme::Txt_Code_Acce_Change() {
    Mdp_Saisie = Txt_Code_Acce->text();
    if (Mdp_Saisie.size() != 4) return;

    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Affiche_Progress_Bar(true);
    Frame_Code_Acce->hide();
    Curseur_Attente attente;

    const Octet niveau = Recherche_Niveau_Acces(Num_Module, Mdp_Saisie);
    // The module fell silent after a code had matched: nothing is sent blind.
    if (Code_Erreur != 0 && niveau != 0) return Vers_Problemes_Liaison();
    if (niveau == 0) {
        Boites().MsgBox(QStringLiteral("Indentification non reconnu par le Module !"));
        // A silent module has been reported by the search itself; the screen stays usable.
        Code_Erreur = 0;
        tableau.Affiche_Progress_Bar(false);
        Devant();
        return;
    }
    Mdp_Saisie = Txt_Code_Acce->text();

    if (Mode_Acquittement != Vrai) {
        setEnabled(false);
        Liaison_Ecran(Ecran_Journal, QStringLiteral("Purger"), Faux);
        tableau.Affiche_Progress_Bar(false);
        return;
    }
    Acquitter();
}

void frm_Journal_Alarme_Forme::Acquitter() {
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Premier_Plan();
    tableau.Caption_Pb(QString());
    Progression(0);
    tableau.Focus();
    tableau.Rafraichir();

    const Octet niveau = Recherche_Niveau_Acces(Num_Module, Mdp_Saisie);
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    if (niveau == 0) {
        // The module's codes changed between the two checks.
        Boites().MsgBox(QStringLiteral("Indentification non reconnu par le Module !"));
        tableau.Affiche_Progress_Bar(false);
        Devant();
        return;
    }

    const int choix = Cmb_Choix_Num_Voie->currentIndex();
    if (choix < 0) {
        tableau.Affiche_Progress_Bar(false);
        return;
    }
    if (choix == 0) {
        const Octet n = Nb_Voies_Module[Num_Module - 1u];
        for (Octet c = 1; c <= n; ++c) {
            Progression(c * 100.0 / n);
            tableau.Caption_Pb(QStringLiteral("Acquittement de la Voie n°") + Texte_Entier(c));
            Acquittement_Alarme(Num_Module, c, niveau);
            if (Code_Erreur != 0) return Vers_Problemes_Liaison();
        }
    } else {
        const Octet c = static_cast<Octet>(choix);
        Progression(0);
        tableau.Caption_Pb(QStringLiteral("Acquittement de la Voie n°") + Texte_Entier(c));
        Acquittement_Alarme(Num_Module, c, niveau);
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    }

    Actualise_Journal();
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    tableau.Affiche_Progress_Bar(false);
    Devant();
}

QString frm_Journal_Alarme_Forme::Lecture_Operateur(Octet& module, Octet& index) {
    if (index > 4 || index < 1) index = 0;
    Lecture_Code_Acces(module, index);
    if (Code_Erreur == 0) return Nom_Operateur;
    Boites().MsgBox(QStringLiteral("Le Module d'adresse ") + Texte_Entier(module) + QStringLiteral(" est introuvable"));
    Devant();
    return QString();
}

// ---------------------------------------------------------------- file and printout

void frm_Journal_Alarme_Forme::Cmd_Exporter_Click() {
    CommonDialog1.DialogTitle = QStringLiteral("Sauvegarde du journal des alarmes");
    CommonDialog1.Confirmer_Ecrasement = true;
    CommonDialog1.FileName = QStringLiteral("Journal_Alarmes");
    CommonDialog1.DefaultExt = QStringLiteral(".txt");
    CommonDialog1.InitDir = Repertoire_Sauvegardes_Alarmes;
    CommonDialog1.Filter = QStringLiteral("(*.txt)|*.txt");
    // The dialog opens in the journal folder, made when it is not there yet.
    QDir().mkpath(Chemin_Natif(Repertoire_Sauvegardes_Alarmes));
    Boites().ShowSave(CommonDialog1);
    if (!CommonDialog1.FileName.endsWith(QStringLiteral(".txt"))) return;
    if (!Exporter_Journal_Alarme()) return;
    Boites().MsgBox(Texte_Sauvegarde_Terminee);
    Frm_Menu1().Focus();
}

bool frm_Journal_Alarme_Forme::Exporter_Journal_Alarme() {
    const QString chemin = Chemin_Natif(CommonDialog1.FileName);
    const QByteArray contenu = Contenu_Fichier_Journal(entete_journal_, Noms_Operateurs, Tab_Journal, nb_journal_);
    const Resultat_Fichier resultat = Sauvegarde_Sure(chemin, contenu);
    Init_Mouchard();
    if (!resultat) {
        Signaler_Echec_Sauvegarde(chemin, resultat);
        return false;
    }
    return true;
}

bool frm_Journal_Alarme_Forme::Ouvrir_Journal(const QString& chemin) {
    QByteArray contenu;
    Journal_Lu lu;
    const Resultat_Fichier lecture = Lire_Fichier(Chemin_Natif(chemin), contenu, Taille_Max_Fichier_Journal);
    if (!lecture || !Lire_Contenu_Journal(contenu, lu)) {
        Boites().MsgBox(
            Texte_Lecture_Refusee(Texte_Fichier_Incorrect, lecture, QStringLiteral("un journal des alarmes")));
        Frm_Menu1().Focus();
        return false;
    }
    Lbl_Intitule_Fenetre->setText(lu.Titre);
    Ajuster_Texte(Lbl_Intitule_Fenetre);
    for (size_t k = 0; k < 4; ++k) Noms_Operateurs[k + 1] = lu.Noms[k];
    Tab_Journal = std::move(lu.Entrees);
    Donnees_Reponse.Nb_Evenements = lu.Nb;
    entete_journal_ = lu.Titre;
    Affiche_Journal();
    return true;
}

void frm_Journal_Alarme_Forme::Cmd_Imprimer_Click() { Imprimer_Journal(); }

bool frm_Journal_Alarme_Forme::Imprimer_Journal() {
    Curseur_Attente attente;
    QStringList lignes;
    const int n = static_cast<int>(std::min<Long>(nb_journal_, List_Alarmes->count()));
    lignes.reserve(n);
    for (int i = 0; i < n; ++i) lignes << List_Alarmes->item(i)->text();
    return Imprimer_Lignes_Journal(Lbl_Intitule_Fenetre->text(), lignes);
}

// ---------------------------------------------------------------- layout

void frm_Journal_Alarme_Forme::Form_Resize() {
    const double W = width(), H = height();
    if (W <= 0 || H <= 0) return;
    Couleur_Fond(Couleur_Fenetre);

    Proportion(Frame_Menu, W, H, 0.02, 0.012, 0.96, 0.28);
    const double fw = W * 0.96, fh = H * 0.28;
    Proportion(Lbl_Question, fw, fh, 0.02, 0.16, 0.45, 0.18);
    Proportion(Cmb_Choix_Ostrelclim, fw, fh, 0.48, 0.15, 0.50, 0.20);
    Proportion(Opt_Journal_Complet, fw, fh, 0.02, 0.42, 0.31, 0.18);
    Proportion(Opt_Journal_Date, fw, fh, 0.34, 0.42, 0.34, 0.18);
    Proportion(Opt_Journal_Fichier, fw, fh, 0.69, 0.42, 0.29, 0.18);
    Proportion(Cmb_Choix_Num_Voie, fw, fh, 0.02, 0.70, 0.26, 0.20);
    Proportion(Lbl_Du, fw, fh, 0.29, 0.70, 0.04, 0.20);
    Proportion(Msk_Date_Debut, fw, fh, 0.335, 0.70, 0.13, 0.20);
    Proportion(Lbl_Au, fw, fh, 0.47, 0.70, 0.04, 0.20);
    Proportion(Msk_Date_Fin, fw, fh, 0.515, 0.70, 0.13, 0.20);
    Proportion(Cmd_OK, fw, fh, 0.67, 0.68, 0.145, 0.24);
    Proportion(Cmd_Annuler, fw, fh, 0.835, 0.68, 0.145, 0.24);

    Proportion(Shape_Controle, W, H, 0.02, 0.31, 0.96, 0.56);
    Proportion(Lbl_Intitule_Fenetre, W, H, 0.03, 0.315, 0.94, 0.05);
    Proportion(List_Alarmes, W, H, 0.03, 0.37, 0.94, 0.49);

    Proportion(Cmd_Acquitter, W, H, 0.02, 0.895, 0.145, 0.08);
    Proportion(Cmd_Purger, W, H, 0.18, 0.895, 0.145, 0.08);
    Proportion(Frame_Code_Acce, W, H, 0.34, 0.88, 0.14, 0.11);
    Txt_Code_Acce->setGeometry(Arrondi_Pixels(W * 0.14 * 0.12), Arrondi_Pixels(H * 0.11 * 0.40), Arrondi_Pixels(W * 0.14 * 0.76),
                               Arrondi_Pixels(H * 0.11 * 0.46));
    Proportion(Cmd_Exporter, W, H, 0.50, 0.895, 0.145, 0.08);
    Proportion(Cmd_Imprimer, W, H, 0.66, 0.895, 0.145, 0.08);
    Proportion(Cmd_Quitter, W, H, 0.835, 0.895, 0.145, 0.08);

    const std::vector<QWidget*> moyens = {Frame_Menu,    Lbl_Question,  Opt_Journal_Complet, Opt_Journal_Date,
                                          Opt_Journal_Fichier, Cmd_OK,   Cmd_Annuler,         Lbl_Intitule_Fenetre,
                                          Cmd_Acquitter, Cmd_Purger,    Cmd_Exporter,        Cmd_Imprimer,
                                          Cmd_Quitter,   Frame_Code_Acce};
    const std::vector<QWidget*> petits = {Cmb_Choix_Ostrelclim, Cmb_Choix_Num_Voie, Lbl_Du, Lbl_Au,
                                          Msk_Date_Debut,       Msk_Date_Fin,       Txt_Code_Acce};
    for (QWidget* w : moyens) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Moyenne);
    }
    for (QWidget* w : petits) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Petite);
    }
    Police_Grasse(Lbl_Intitule_Fenetre, true);
    for (QWidget* w : {static_cast<QWidget*>(Frame_Menu), static_cast<QWidget*>(Lbl_Question),
                       static_cast<QWidget*>(Opt_Journal_Complet), static_cast<QWidget*>(Opt_Journal_Date),
                       static_cast<QWidget*>(Opt_Journal_Fichier), static_cast<QWidget*>(Lbl_Du),
                       static_cast<QWidget*>(Lbl_Au), static_cast<QWidget*>(Lbl_Intitule_Fenetre),
                       static_cast<QWidget*>(Shape_Controle), static_cast<QWidget*>(Frame_Code_Acce)})
        Couleur_Libelle(w, Couleur_Police);

    // The list keeps its fixed-pitch face, at a size where a whole line fits its width.
    QFont police(QStringLiteral("Courier New"));
    police.setStyleHint(QFont::TypeWriter);
    police.setFixedPitch(true);
    police.setBold(true);
    const int largeur_utile = List_Alarmes->width() - 36;
    double taille = std::max<double>(Taille_Police_Moyenne, 6);
    for (;; taille -= 0.5) {
        police.setPointSizeF(taille);
        if (taille <= 6 || QFontMetrics(police).horizontalAdvance(QString(101, QLatin1Char('0'))) <= largeur_utile) break;
    }
    List_Alarmes->setFont(police);
}

}  // namespace ostrel
