#include "shell/ecrans_programme.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "link/ecrans/frm_pb_liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/ui/boites_qt.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/petite_fenetre.h"
#include "platform/ui/registre_formes.h"
#include "platform/ui/touches.h"
#include "shell/frm_menu_config.h"
#include "shell/frm_menu_consultation.h"
#include "shell/frm_psw.h"
#include "shell/frm_accueil.h"
#include "shell/frm_menu1.h"
#include "shell/frm_mesures.h"

namespace ostrel {
namespace {

// Forms of the journal, recordings, configuration and options libraries, with
// their titles. The program registers the real screens over these; a build
// that leaves a library out (the shell's own tests) shows a screen that says
// it is not there.
struct A_Venir {
    const char* forme;
    const char* titre;
};
const A_Venir Ecrans_A_Venir[] = {
    {"frm_Journal_Alarme", "Journal des alarmes"},
    {"Frm_Menu_Enreg", "Menu Enregistrements"},
    {"Frm_Enreg", "Enregistrements"},
    {"Frm_Purger", "Purger"},
    {"Frm_Param_Voies", "Réglages des voies"},
    {"Frm_Param_OC", "Réglages Module"},
    {"Frm_Etalonnage", "Etalonnage"},
    {"Frm_Options_Logicielles", "Options Logicielles"},
    {"Frm_Param_Periph", "Réglages Netrove"},
};

}  // namespace

void Configurer_Application() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("OstrelSoft+"));
    Installer_Traductions_Qt();
    QFont police = QApplication::font();
    police.setPointSize(11);
    QApplication::setFont(police);
}

void Enregistrer_Formes(Registre_Formes& registre) {
    registre.Enregistrer(QStringLiteral("Frm_Menu1"), [&registre] {
        auto* tableau = new Frm_Menu1_Forme;
        registre.Definir_Conteneur(tableau);
        return tableau;
    });
    registre.Enregistrer(QStringLiteral("Frm_Accueil"), [] { return new Frm_Accueil_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Patientez"), [] { return new Frm_Patientez_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Mesures"), [] { return new Frm_Mesures_Forme; });
    // The serial port's form is never shown.
    registre.Enregistrer(QStringLiteral("Ecran_Communication"), [] { return new Forme(QStringLiteral("Ecran_Communication")); });
    for (const A_Venir& e : Ecrans_A_Venir) {
        const QString forme = QString::fromUtf8(e.forme), titre = QString::fromUtf8(e.titre);
        registre.Enregistrer(forme, [forme, titre] { return new Ecran_A_Venir(forme, titre); });
    }
    // The menus, the password and the link-problem screen.
    registre.Enregistrer(QStringLiteral("Frm_Menu_Consultation"), [] { return new Frm_Menu_Consultation_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Menu_Config"), [] { return new Frm_Menu_Config_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Psw"), [] { return new Frm_Psw_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Pb_Liaison"), [] { return new Frm_Pb_Liaison_Forme; });
}

// ------------------------------------------------------------ screens to come

Ecran_A_Venir::Ecran_A_Venir(const QString& forme, const QString& titre)
    : Forme(forme), ecran_(Ecran_Forme(forme)) {
    lbl_titre_ = new QLabel(titre, this);
    lbl_titre_->setObjectName(QStringLiteral("Lbl_Titre"));
    lbl_titre_->setAlignment(Qt::AlignCenter);
    Police_Grasse(lbl_titre_, true);
    lbl_message_ = new QLabel(QStringLiteral("Cet écran sera disponible dans une prochaine version du logiciel."), this);
    lbl_message_->setObjectName(QStringLiteral("Lbl_Message"));
    lbl_message_->setAlignment(Qt::AlignCenter);
    lbl_message_->setWordWrap(true);
    cmd_retour_ = new QPushButton(QStringLiteral("Retour"), this);
    cmd_retour_->setObjectName(QStringLiteral("Cmd_Retour"));
    connect(cmd_retour_, &QPushButton::clicked, this, &Ecran_A_Venir::Cmd_Retour_Click);
}

void Ecran_A_Venir::Form_Load() {
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    Couleur_Fond(Couleur_Fenetre);
    Couleur_Texte(lbl_titre_, Couleur_Police);
    Couleur_Texte(lbl_message_, Couleur_Police);
    if (!ecran_.isEmpty()) Frm_Menu1().Lbl_Nom_Menu(ecran_);
}

void Ecran_A_Venir::Form_Resize() {
    const double W = width(), H = height();
    lbl_titre_->setGeometry(Arrondi_Pixels(W * 0.1), Arrondi_Pixels(H * 0.22), Arrondi_Pixels(W * 0.8), Arrondi_Pixels(H * 0.12));
    lbl_message_->setGeometry(Arrondi_Pixels(W * 0.1), Arrondi_Pixels(H * 0.36), Arrondi_Pixels(W * 0.8), Arrondi_Pixels(H * 0.14));
    cmd_retour_->setGeometry(Arrondi_Pixels(W * 0.38), Arrondi_Pixels(H * 0.58), Arrondi_Pixels(W * 0.24), Arrondi_Pixels(H * 0.11));
    for (QWidget* w : {static_cast<QWidget*>(lbl_titre_), static_cast<QWidget*>(cmd_retour_)}) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Grande);
    }
    Nom_Police(lbl_message_, Police_Options);
    Taille_Police(lbl_message_, Taille_Police_Moyenne);
}

void Ecran_A_Venir::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap || KeyCode == 82) Cmd_Retour_Click();
}

void Ecran_A_Venir::Cmd_Retour_Click() {
    // Back where the operator came from; home when that is not known.
    const QString source = Ecran_Courant == ecran_ || ecran_.isEmpty() ? Ecran_Courant : ecran_;
    if (!Forme_Ecran(Ecran_Precedent).isEmpty() && Ecran_Precedent != source)
        Liaison_Ecran(source, Ecran_Precedent, Vrai);
    else
        Liaison_Ecran(source, QStringLiteral("Accueil"), Faux);
}

// ------------------------------------------------------------ please wait

Frm_Patientez_Forme::Frm_Patientez_Forme() : Forme(QStringLiteral("Frm_Patientez")) {
    lbl_titre_ = Habiller_Petite_Fenetre(this);
    lbl_patientez_ = new QLabel(QStringLiteral("Patientez SVP . . ."), this);
    lbl_patientez_->setObjectName(QStringLiteral("Lbl_Patientez"));
    lbl_patientez_->setAlignment(Qt::AlignCenter);
}

void Frm_Patientez_Forme::Form_Load() {
    Nom_Police(lbl_patientez_, Police_Options);
    setWindowTitle(Frm_Menu1().Lbl_Nom_Logiciel());
    lbl_titre_->setText(windowTitle());
    if (QWidget* p = parentWidget()) {
        const int w = std::max(260, p->width() * 3 / 10), h = std::max(110, p->height() * 14 / 100);
        setGeometry((p->width() - w) / 2, (p->height() - h) / 2, w, h);
    }
}

void Frm_Patientez_Forme::Form_Resize() {
    const int h = height();
    lbl_titre_->setGeometry(2, 2, width() - 4, h / 4);
    lbl_patientez_->setGeometry(2, h / 4 + 2, width() - 4, h - h / 4 - 4);
    Taille_Police(lbl_patientez_, std::max<Simple>(Taille_Police_Moyenne, 12));
}

}  // namespace ostrel
