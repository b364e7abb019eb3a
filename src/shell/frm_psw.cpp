#include "shell/frm_psw.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/formes.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/petite_fenetre.h"
#include "platform/ui/touches.h"

namespace ostrel {

Booleen Mdp_Correct = Faux;

namespace {

const QString Saisissez = QStringLiteral("Saisissez le mot de passe :");
const QString Incorrect = QStringLiteral("Mot de passe incorrecte, recommencez !");
const QString Nouveau = QStringLiteral("Saisir le nouveau mot de passe :");
const QString Confirmer = QStringLiteral("Confirmer la saisie du nouveau mot de passe :");
const QString Reprendre = QStringLiteral("Saisie incorrecte, saisir à nouveau l'ancien mot de passe :");
const QString Mode_Changement = QStringLiteral("Options Logicielles");

}  // namespace

QString Mdp_Maintenance() {
    // The digits of the fixed word move with the month; its letters stay.
    const int mois = Decomposer(Maintenant()).Mois;
    return QString::number(2614 + 11 * mois) + QStringLiteral("GLAC");
}

Frm_Psw_Forme::Frm_Psw_Forme() : Forme(QStringLiteral("Frm_Psw")) {
    // The text box comes first: it takes the focus when the window is shown.
    txt_psw_ = new QLineEdit(this);
    txt_psw_->setObjectName(QStringLiteral("Txt_PSW"));
    txt_psw_->setEchoMode(QLineEdit::Password);
    txt_psw_->setMaxLength(10);
    txt_psw_->setAlignment(Qt::AlignCenter);
    txt_psw_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    cmd_ok_ = new QPushButton(QStringLiteral("OK"), this);
    cmd_ok_->setObjectName(QStringLiteral("Cmd_OK"));
    cmd_annuler_ = new QPushButton(QStringLiteral("Annuler"), this);
    cmd_annuler_->setObjectName(QStringLiteral("Cmd_Annuler"));

    // The caption is drawn in the window's title strip.
    barre_titre_ = Habiller_Petite_Fenetre(this);

    connect(cmd_ok_, &QPushButton::clicked, this, &Frm_Psw_Forme::Cmd_OK_Click);
    connect(cmd_annuler_, &QPushButton::clicked, this, &Frm_Psw_Forme::Cmd_Annuler_Click);
    Caption(Saisissez);
}

void Frm_Psw_Forme::Caption(const QString& texte) {
    setWindowTitle(texte);
    barre_titre_->setText(texte);
}

void Frm_Psw_Forme::Form_Load() {
    Mode_Psw = Frm_Menu1().Lbl_Nom_Menu();
    Frm_Menu1().Lbl_Nom_Menu(QStringLiteral("Mot de passe"));
    Mdp_Correct = Faux;
    // A small window in the middle of the dashboard, over the screen that opened it.
    if (QWidget* p = parentWidget()) {
        const int w = std::max(460, Arrondi_Pixels(p->width() * 0.44));
        const int h = std::max(170, Arrondi_Pixels(p->height() * 0.20));
        setGeometry((p->width() - w) / 2, (p->height() - h) / 2, w, h);
    }
}

void Frm_Psw_Forme::Form_Resize() {
    for (QWidget* w : {static_cast<QWidget*>(txt_psw_), static_cast<QWidget*>(cmd_ok_),
                       static_cast<QWidget*>(cmd_annuler_), static_cast<QWidget*>(barre_titre_)})
        Nom_Police(w, Police_Options);
    const Simple taille = std::max<Simple>(Taille_Police_Moyenne, 11);
    Taille_Police(txt_psw_, taille);
    Taille_Police(cmd_ok_, taille);
    Taille_Police(cmd_annuler_, taille);
    Taille_Police(barre_titre_, std::max<Simple>(Taille_Police_Petite, 10));

    const int W = width(), H = height();
    const int bord = 2, ht = std::max(26, Arrondi_Pixels(H * 0.18));
    barre_titre_->setGeometry(bord, bord, W - 2 * bord, ht);
    const int marge = Arrondi_Pixels(W * 0.08);
    const int hc = std::max(30, Arrondi_Pixels(H * 0.20));
    txt_psw_->setGeometry(marge, ht + Arrondi_Pixels(H * 0.13), W - 2 * marge, hc);
    const int lb = Arrondi_Pixels(W * 0.30), y = H - hc - Arrondi_Pixels(H * 0.11);
    cmd_ok_->setGeometry(W / 2 - lb - Arrondi_Pixels(W * 0.03), y, lb, hc);
    cmd_annuler_->setGeometry(W / 2 + Arrondi_Pixels(W * 0.03), y, lb, hc);
}

void Frm_Psw_Forme::Form_KeyUp(int& KeyCode, int Shift) {
    // The keys of the text box; Enter on a focused button presses it, as in a dialog.
    if (KeyCode == Touche::Entree && cmd_annuler_->hasFocus()) return Cmd_Annuler_Click();
    if (KeyCode == Touche::Entree || KeyCode == Touche::Echap) Txt_PSW_KeyUp(KeyCode, Shift);
}

void Frm_Psw_Forme::Cmd_OK_Click() {
    int code = Touche::Entree;
    Txt_PSW_KeyUp(code, 0);
}

void Frm_Psw_Forme::Cmd_Annuler_Click() { Fermer(); }

void Frm_Psw_Forme::Fermer() { Formes().Decharger(objectName()); }

void Frm_Psw_Forme::Txt_PSW_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap) return Fermer();
    if (KeyCode != Touche::Entree) return;
    const QString saisie = txt_psw_->text();

    if (Mode_Psw != Mode_Changement) {
        if (saisie == Mdp_Maintenance() || saisie == Mdp_Admin || saisie == Mdp_Saisie) {
            Mdp_Correct = Vrai;
            return Fermer();
        }
        Caption(Incorrect);
        txt_psw_->clear();
        return;
    }

    const QString etape = Caption();
    if (etape == Confirmer) {
        if (saisie == Nouveau_Mdp) {
            Mdp_Saisie = Nouveau_Mdp;
            return Fermer();
        }
        Caption(Reprendre);
    } else if (etape == Nouveau) {
        Nouveau_Mdp = saisie;
        Caption(Confirmer);
    } else if (saisie == Mdp_Maintenance() || saisie == Mdp_Saisie) {
        Caption(Nouveau);
    } else {
        Caption(Incorrect);
    }
    txt_psw_->clear();
}

void Frm_Psw_Forme::Form_Unload() {
    txt_psw_->clear();
    if (Mode_Psw == Mode_Changement) {
        Frm_Menu1().Lbl_Nom_Menu(Mode_Changement);
        if (Changement_Mdp_En_Cours) {
            Mdp_Admin = Mdp_Saisie;
            Changement_Mdp_En_Cours = Faux;
        }
    }
    Frm_Menu1().Lbl_Nom_Menu(Mode_Psw);
    if (Mdp_Correct)
        Liaison_Ecran(Mode_Psw, Ecran_Apres_Mdp, Faux);
    else
        Liaison_Ecran(QStringLiteral("Mot de passe"), Mode_Psw, Vrai);
}

}  // namespace ostrel
