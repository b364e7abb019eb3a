#include "config/frm_etalonnage.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "config/boite_numerique.h"
#include "config/parametres_voies.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/formes.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

const QString Forme_Voies = QStringLiteral("Frm_Param_Voies");

// Design places, in twips: left, top, width, height.
struct Place {
    int x, y, l, h;
};
constexpr Place Place_Mes_Inst{120, 960, 1695, 420};
constexpr Place Place_Message{120, 900, 5130, 1020};

void Poser(QWidget* w, const Place& p) {
    w->setGeometry(Twips_Vers_Pixels(p.x), Twips_Vers_Pixels(p.y), Twips_Vers_Pixels(p.l), Twips_Vers_Pixels(p.h));
}

QLabel* Etiquette(const char* nom, const QString& texte, QWidget* parent, const Place& p) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    Poser(l, p);
    return l;
}

QPushButton* Bouton(const char* nom, const QString& texte, QWidget* parent, const Place& p) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QString::fromLatin1(nom));
    Poser(b, p);
    return b;
}

// The green-on-black figures of the measure row.
void Style_Afficheur(QLabel* l, Simple taille) {
    QFont police(QStringLiteral("Courier New"));
    police.setStyleHint(QFont::Monospace);
    police.setBold(true);
    police.setPointSizeF(taille);
    l->setFont(police);
    Couleur_Fond(l, 0x000000);
    Couleur_Texte(l, 0x00C000);
    l->setAlignment(Qt::AlignCenter);
}

}  // namespace

const QString Frm_Etalonnage_Forme::Texte_Voie_Invalide =
    QStringLiteral("Impossible !!! La voie est déclarée non valide sur le Module");

Frm_Etalonnage_Forme::Frm_Etalonnage_Forme(QWidget* proprietaire)
    : Forme(QStringLiteral("Frm_Etalonnage"), proprietaire) {
    // A dialog over the dashboard, of its design size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips_Vers_Pixels(5370), Twips_Vers_Pixels(2610));
    QFont police = font();
    police.setPointSizeF(9);
    setFont(police);
    setAutoFillBackground(true);

    Label_Patientez = Etiquette("Label_Patientez", QStringLiteral("Patientez SVP"), this, {1200, 360, 3255, 495});
    QFont patientez(QStringLiteral("Courier New"));
    patientez.setStyleHint(QFont::Monospace);
    patientez.setBold(true);
    patientez.setPointSizeF(8.25);
    Label_Patientez->setFont(patientez);
    Label_Patientez->setAlignment(Qt::AlignCenter);
    Label_Patientez->hide();

    Lbl_Mes_Inst = Etiquette("Lbl_Mes_Inst", QStringLiteral("XX.X +"), this, Place_Mes_Inst);
    Style_Afficheur(Lbl_Mes_Inst, 15);
    Lbl_Mes_Inst->setToolTip(QStringLiteral("Mesure sans étalonnage"));
    Txt_Offset = new Boite_Numerique(QStringLiteral("Txt_Offset"), this);
    Poser(Txt_Offset, {1920, 960, 1575, 375});
    Txt_Offset->FormatString(QStringLiteral("0.0"));
    Txt_Offset->IncValue(0.1);
    Txt_Offset->Minimum(Dixiemes_Min);
    Txt_Offset->Maximum(Dixiemes_Max);
    Txt_Offset->Value(0);
    Lbl_Val_Final = Etiquette("Lbl_Val_Final", QStringLiteral("= XX.X"), this, {3600, 960, 1695, 420});
    Style_Afficheur(Lbl_Val_Final, 15);
    Lbl_Val_Final->setToolTip(QStringLiteral("\"Appliquer\" pour lire la vateut après étalonnage"));
    Lbl_Mesure = Etiquette("Lbl_Mesure", QStringLiteral("Mesure brute"), this, {360, 1440, 1170, 240});
    Label1 = Etiquette("Label1", QStringLiteral("Offset"), this, {2400, 1440, 510, 240});
    Lbl_Mesure_C = Etiquette("Lbl_Mesure_C", QStringLiteral("Mesure corrigée"), this, {3720, 1440, 1470, 240});
    for (QLabel* l : {Lbl_Mesure, Label1, Lbl_Mesure_C}) l->setAlignment(Qt::AlignCenter);
    Cmd_OK = Bouton("Cmd_OK", QStringLiteral("OK"), this, {120, 2040, 1695, 375});
    Cmd_Annuler = Bouton("Cmd_Annuler", QStringLiteral("Annuler"), this, {1920, 2040, 1575, 375});
    Cmd_Appliquer = Bouton("Cmd_Appliquer", QStringLiteral("Appliquer"), this, {3600, 2040, 1695, 375});
    setTabOrder(Txt_Offset, Cmd_Appliquer);
    setTabOrder(Cmd_Appliquer, Cmd_Annuler);
    setTabOrder(Cmd_Annuler, Cmd_OK);

    tmr_mesure_instant_ = new Minuterie(QStringLiteral("Tmr_Mesure_Instant"), this, 1000);
    tmr_mesure_instant_->Timer = [this] { Tmr_Mesure_Instant_Timer(); };

    Txt_Offset->KeyPress = [this](int& code) { Txt_Offset_KeyPress(code); };
    connect(Cmd_OK, &QPushButton::clicked, this, &Frm_Etalonnage_Forme::Cmd_OK_Click);
    connect(Cmd_Annuler, &QPushButton::clicked, this, &Frm_Etalonnage_Forme::Cmd_Annuler_Click);
    connect(Cmd_Appliquer, &QPushButton::clicked, this, &Frm_Etalonnage_Forme::Cmd_Appliquer_Click);
}

Octet Frm_Etalonnage_Forme::Voie() const { return static_cast<Octet>(std::min<int>(Num_Voie_Etalonnage, 15) + 1); }

Simple& Frm_Etalonnage_Forme::Offset_Table() const { return Tab_Parametres_Voies[Voie() - 1u].Offset; }

void Frm_Etalonnage_Forme::Form_Load() {
    Txt_Offset->Minimum(Dixiemes_Min);
    Txt_Offset->Maximum(Dixiemes_Max);
    setWindowTitle(QStringLiteral("Etalonnage voie n°") + QString::number(Voie()));
    // Over the middle of the window it belongs to.
    if (QWidget* p = parentWidget()) {
        const QPoint centre = p->mapToGlobal(p->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
    Lecture_Offset_Voie(Voie());
    if (Code_Erreur != 0) {
        Pas_De_Reponse();
        return;
    }
    Txt_Offset->Value(Offset_Table());
    tmr_mesure_instant_->Enabled(true);
}

void Frm_Etalonnage_Forme::Form_Unload() {
    tmr_mesure_instant_->Enabled(false);
    Gestion_Formes& formes = Formes();
    if (formes.Est_Chargee(Forme_Voies)) formes.Activer(Forme_Voies);
    Frm_Menu1().Enabled(true);
    if (formes.Est_Chargee(Forme_Voies)) formes.Focus(Forme_Voies);
}

void Frm_Etalonnage_Forme::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == Touche::Echap) Cmd_Annuler_Click();
}

void Frm_Etalonnage_Forme::closeEvent(QCloseEvent* evenement) {
    // Closed by its frame: the same way out as "Annuler".
    if (Formes().Est_Chargee(objectName())) Cmd_Annuler_Click();
    Forme::closeEvent(evenement);
}

void Frm_Etalonnage_Forme::Pas_De_Reponse() {
    Boites().MsgBox(QStringLiteral("Pas de réponse!"));
    Code_Erreur = 0;
}

void Frm_Etalonnage_Forme::Lecture_Offset_Voie(Octet voie) {
    Lecture_Correction_Voie(Num_Module, voie);
    if (Code_Erreur == 0) Tab_Parametres_Voies[voie - 1u].Offset = Donnees_Reponse.Offset;
}

// ------------------------------------------------------------ live measure

void Frm_Etalonnage_Forme::Tmr_Mesure_Instant_Timer() {
    tmr_mesure_instant_->Enabled(false);
    Affiche_Mesure_Instantanee();
}

void Frm_Etalonnage_Forme::Disposition_Message(bool message) {
    // The message takes the whole row, in letters small enough to be read whole.
    Poser(Lbl_Mes_Inst, message ? Place_Message : Place_Mes_Inst);
    Style_Afficheur(Lbl_Mes_Inst, message ? 12 : 15);
    Lbl_Mes_Inst->setWordWrap(message);
    for (QWidget* w : std::initializer_list<QWidget*>{Txt_Offset, Lbl_Val_Final, Lbl_Mesure, Label1, Lbl_Mesure_C})
        w->setVisible(!message);
    Lbl_Mes_Inst->show();
}

void Frm_Etalonnage_Forme::Affiche_Mesure_Instantanee() {
    if (Lbl_Mes_Inst->text() == Texte_Voie_Invalide) {
        Lbl_Mes_Inst->setText(QString());
        Disposition_Message(false);
        Lbl_Mes_Inst->repaint();
    }
    const Simple mesure = Lecture_Mesure_Voie(Num_Module, Voie());
    if (Code_Erreur != 0) {
        Pas_De_Reponse();
        return;
    }
    if (mesure == static_cast<Simple>(Dixiemes_Min)) {
        Lbl_Mes_Inst->setText(Texte_Voie_Invalide);
        Disposition_Message(true);
        return;
    }
    Lbl_Val_Final->setText(Texte_Simple(mesure));
    const Simple corrigee = Convertir_Simple(Lbl_Val_Final->text()).value_or(mesure);
    Lbl_Mes_Inst->setText(Texte_Simple(static_cast<Simple>(corrigee - Offset_Table())));
    Lbl_Mes_Inst->show();
    Lbl_Val_Final->show();
    tmr_mesure_instant_->Enabled(true);
}

// ------------------------------------------------------------ apply

void Frm_Etalonnage_Forme::Cmd_Appliquer_Click() {
    tmr_mesure_instant_->Enabled(false);
    // What is being typed counts, brought within the limits of a word of tenths.
    Txt_Offset->Valider_Saisie();
    Offset_Table() = Convertir_Simple(Txt_Offset->Text()).value_or(static_cast<Simple>(Txt_Offset->Value()));
    Envoi_Offset_Voie(Voie());
    if (Code_Erreur != 0) {
        Pas_De_Reponse();
        return;
    }
    tmr_mesure_instant_->Enabled(true);
}

void Frm_Etalonnage_Forme::Envoi_Offset_Voie(Octet voie) {
    Ecrit_Mouchard(QStringLiteral("Modification offset du module ") + QString::number(Num_Module) +
                   QStringLiteral(" voie ") + QString::number(voie));
    Label_Patientez->show();
    repaint();
    setEnabled(false);
    Donnees_Reponse.Offset = Tab_Parametres_Voies[voie - 1u].Offset;
    Ecriture_Correction_Voie(Num_Module, voie);
    if (Code_Erreur == 0) Lecture_Offset_Voie(voie);
    if (Code_Erreur == 0) Txt_Offset->Value(Tab_Parametres_Voies[voie - 1u].Offset);
    Label_Patientez->hide();
    setEnabled(true);
}

void Frm_Etalonnage_Forme::Cmd_OK_Click() {
    Cmd_Appliquer_Click();
    Cmd_Annuler_Click();
}

void Frm_Etalonnage_Forme::Cmd_Annuler_Click() { Formes().Decharger(objectName()); }

void Frm_Etalonnage_Forme::Txt_Offset_KeyPress(int& KeyAscii) {
    if (KeyAscii == 13) Cmd_Appliquer_Click();
}

}  // namespace ostrel
