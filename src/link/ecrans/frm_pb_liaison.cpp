#include "link/ecrans/frm_pb_liaison.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "link/donnees.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/petite_fenetre.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

const QString Titre_Ecran = QStringLiteral("Problèmes Liaison");
const QString Ecran_Mesures = QStringLiteral("Mesures");
const QString Texte_Erreur_Module = QStringLiteral("Erreur avec un Module");

// Set while a retry takes the operator back to the live screen: if that
// screen fails again as it loads, the new episode still belongs to it.
bool retour_aux_mesures = false;

// The module the live screen comes back on after a retry: the current one
// when the search found it answering, else the first module in service that
// answered; 0 when the search found none (a failed search lists none).
Octet Module_Des_Mesures() {
    const auto repond = [](int m) {
        return m >= 1 && m <= 32 && Tab_Fonctionnement_OC[static_cast<size_t>(m - 1)] == En_Service &&
               Tab_Parametres_Modules[static_cast<size_t>(m - 1)].Entete != Module_Non_Connecte;
    };
    if (repond(Num_Module)) return Num_Module;
    for (int m = 1; m <= 32; ++m)
        if (repond(m)) return static_cast<Octet>(m);
    return 0;
}

}  // namespace

QString Texte_Erreur_Liaison(Octet code) {
    switch (code) {
    case 1: return QStringLiteral("Le code fonction reçu ne figure pas dans la liste autorisée");
    case 2: return QStringLiteral("L'adresse utilisée n'existe pas au sein de l'esclave concerné");
    case 3: return QStringLiteral("La valeur envoyée ne peut être prise en compte à l'adresse indiquée");
    case 4: return QStringLiteral("L'esclave ne peut exécuter la commande");
    case 7: return QStringLiteral("La fonction ne peut être assurée ou une demande d'écriture sur un read-only");
    case 10: return QStringLiteral("Le CRC renvoyé est incorrect");
    case 11: return QStringLiteral("Réponse effectuée par un esclave non autorisé");
    case 12: return QStringLiteral("Le code fonction reçu ne correspond pas à la question");
    case 13: return QStringLiteral("La longueur de la trame reçu ne correspond pas à la question");
    case 14: return QStringLiteral("Réponse invalide à une écriture");
    case 15: return QStringLiteral("Interruption sur la ligne lors de la transmission");
    case 68: return QStringLiteral("Le port est indisponible pour l'action demandée");
    case 100: return QStringLiteral("Aucune police n'a été trouvée");
    default: return {};
    }
}

Frm_Pb_Liaison_Forme::Frm_Pb_Liaison_Forme() : Forme(QStringLiteral("Frm_Pb_Liaison")) {
    setWindowTitle(QStringLiteral("Erreur"));
    barre_titre_ = Habiller_Petite_Fenetre(this);

    img_critical_ = new QLabel(this);
    img_critical_->setObjectName(QStringLiteral("Img_Critical"));
    img_critical_->setAlignment(Qt::AlignCenter);

    lbl_type_erreur_ = new QLabel(QStringLiteral("Code Erreur n°X : Erreur inconnue"), this);
    lbl_type_erreur_->setObjectName(QStringLiteral("Lbl_Type_Erreur"));
    lbl_type_erreur_->setTextFormat(Qt::PlainText);
    lbl_type_erreur_->setWordWrap(true);
    lbl_type_erreur_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    cmd_ok_ = new QPushButton(QStringLiteral("OK"), this);
    cmd_ok_->setObjectName(QStringLiteral("Cmd_OK"));
    connect(cmd_ok_, &QPushButton::clicked, this, &Frm_Pb_Liaison_Forme::Cmd_OK_Click);

    timer_alarme_ = new Minuterie(QStringLiteral("Timer_Alarme"), this, 1000);
    timer_alarme_->Timer = [this] { Timer_Alarme_Timer(); };
}

QString Frm_Pb_Liaison_Forme::Lbl_Type_Erreur() const { return lbl_type_erreur_->text(); }

void Frm_Pb_Liaison_Forme::Form_Load() {
    setCursor(Qt::ArrowCursor);
    // Its place over the middle of the dashboard, whatever the child area.
    if (QWidget* p = parentWidget()) {
        const int w = std::max(440, Arrondi_Pixels(p->width() * 0.46));
        const int h = std::max(200, Arrondi_Pixels(p->height() * 0.24));
        setGeometry((p->width() - w) / 2, (p->height() - h) / 2, w, h);
    }
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Lampe_Comm(Couleur_Fond_Bandeau);
    if (tableau.Lbl_Nom_Menu() != Titre_Ecran) Ecran_En_Erreur = tableau.Lbl_Nom_Menu();
    else if (retour_aux_mesures) Ecran_En_Erreur = Ecran_Mesures;
    // The screen left behind finishes painting; the operator's keys and
    // clicks wait for this screen.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    tableau.Lbl_Nom_Menu(Titre_Ecran);
    RAZ_Affichage_Modules();
    Compteur_Alarme = 0;
    timer_alarme_->Enabled(true);
    Affiche_Erreur_Liaison();
    Afficher();
    repaint();
}

void Frm_Pb_Liaison_Forme::Affiche_Erreur_Liaison() {
    Frm_Menu1().Lbl_Informations(Texte_Erreur_Module);
    const QString texte = Texte_Erreur_Liaison(Code_Erreur);
    if (texte.isEmpty()) return;
    lbl_type_erreur_->setText(QStringLiteral("Code erreur ") + Texte_Entier(Code_Erreur) + QStringLiteral(" : ") + texte);
    Ecrit_Mouchard(texte);
    if (Code_Erreur == Erreur::Echo) {
        // The reply that did not echo the write, byte after byte, as received.
        QString octets;
        const int n = std::clamp<int>(Nb_Octets_Recus, 0, Taille_Trame);
        for (int i = 0; i < n; ++i) octets += Texte_Entier(Trame_Recue[static_cast<size_t>(i)]);
        Ecrit_Mouchard(octets);
    }
}

void Frm_Pb_Liaison_Forme::Form_Resize() {
    Nom_Police(cmd_ok_, Police_Options);
    Nom_Police(lbl_type_erreur_, Police_Options);
    Police_Soulignee(lbl_type_erreur_, false);
    const Simple taille = std::max<Simple>(Taille_Police_Moyenne, 11);
    Taille_Police(lbl_type_erreur_, taille);
    Taille_Police(cmd_ok_, taille);
    Nom_Police(barre_titre_, Police_Options);
    Taille_Police(barre_titre_, std::max<Simple>(Taille_Police_Petite, 10));

    const int W = width(), H = height();
    const int bord = 2, ht = std::max(24, Arrondi_Pixels(H * 0.14));
    barre_titre_->setGeometry(bord, bord, W - 2 * bord, ht);
    const int marge = Arrondi_Pixels(W * 0.04);
    const int icone = std::min(Arrondi_Pixels(H * 0.30), 64);
    const int haut_corps = ht + Arrondi_Pixels(H * 0.08);
    const int haut_bouton = std::max(30, Arrondi_Pixels(H * 0.17));
    const int zone = H - haut_corps - haut_bouton - Arrondi_Pixels(H * 0.12);
    img_critical_->setGeometry(marge, haut_corps + (zone - icone) / 2, icone, icone);
    img_critical_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(icone, icone));
    const int x = marge + icone + marge;
    lbl_type_erreur_->setGeometry(x, haut_corps, W - x - marge, zone);
    const int lb = std::max(110, Arrondi_Pixels(W * 0.22));
    cmd_ok_->setGeometry((W - lb) / 2, H - haut_bouton - Arrondi_Pixels(H * 0.07), lb, haut_bouton);
}

void Frm_Pb_Liaison_Forme::Form_KeyUp(int& KeyCode, int) {
    // Enter presses the focused button, as it does in a dialog.
    if (KeyCode == Touche::Entree && cmd_ok_->hasFocus()) Cmd_OK_Click();
}

void Frm_Pb_Liaison_Forme::Timer_Alarme_Timer() {
    timer_alarme_->Enabled(false);
    Tableau_Bord& tableau = Frm_Menu1();
    if (tableau.Fond_Lbl_Alarme() == Couleur_Rouge) {
        tableau.Fond_Lbl_Alarme(Couleur_Fond_Bandeau);
    } else {
        Boites().Beep();
        tableau.Fond_Lbl_Alarme(Couleur_Rouge);
    }
    ++Compteur_Alarme;
    if (Compteur_Alarme > 10) {
        Compteur_Alarme = 0;
        Code_Erreur = 0;
        // The retries run unattended: the port's box would hold them until
        // someone closes it (this screen already names the fault), and
        // someone typing in another program keeps the keyboard.
        tableau.Init_Tab_Fonctionnement_OC(false);
        // Live supervision resumes once the search finds a module that
        // answers; until then the retries go on, however long the outage. A
        // module that has left the bus is not watched any more: reloading
        // it would only fail and start the episode again.
        const Octet module = Ecran_En_Erreur == Ecran_Mesures ? Module_Des_Mesures() : Octet(0);
        if (module != 0) {
            Num_Module = module;
            tableau.Fond_Lbl_Alarme(Couleur_Fond_Bandeau);
            // The episode is over: the status line no longer reports it.
            if (tableau.Lbl_Informations() == Texte_Erreur_Module) tableau.Lbl_Informations(QString());
            retour_aux_mesures = true;
            Liaison_Ecran(Ecran_Courant, Ecran_Mesures, Faux);
            // The live screen failed again while loading: a new episode,
            // unless that screen already opened one itself.
            Erreur_Vers_Problemes_Liaison();
            retour_aux_mesures = false;
            return;
        }
    }
    timer_alarme_->Enabled(true);
}

void Frm_Pb_Liaison_Forme::Cmd_OK_Click() {
    timer_alarme_->Enabled(false);
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Fond_Lbl_Alarme(Couleur_Fond_Bandeau);
    Code_Erreur = 0;
    tableau.Init_Tab_Fonctionnement_OC();
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux);
}

}  // namespace ostrel
