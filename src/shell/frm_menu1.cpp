#include "shell/frm_menu1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "files/options_logiciel.h"
#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/mouchard.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/textes_ajustes.h"
#include "shell/demarrage.h"
#include "shell/logo.h"

namespace ostrel {
namespace {


// A bar of the dashboard: raised for the three outer bars, sunken for the
// panels set into them.
QFrame* Barre(const char* nom, QWidget* parent, QFrame::Shadow relief = QFrame::Sunken) {
    auto* w = new QFrame(parent);
    w->setObjectName(QString::fromLatin1(nom));
    w->setAutoFillBackground(true);
    w->setFrameShape(QFrame::Panel);
    w->setFrameShadow(relief);
    w->setLineWidth(1);
    return w;
}

QLabel* Etiquette(const char* nom, const QString& texte, QWidget* parent, Qt::Alignment alignement = Qt::AlignCenter) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    l->setAlignment(alignement);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QString Css(Couleur c) { return Vers_QColor(c).name(); }

// Border of a module button on each side, in pixels; the smallest caption size.
constexpr int Bord_Lbl_OC = 2;
constexpr Simple Taille_Minimale_Lbl_OC = 5;

// How long a notice stays on the status line.
constexpr int Duree_Annonce_ms = 8000;

}  // namespace

Frm_Menu1_Forme::Frm_Menu1_Forme() : Forme(QStringLiteral("Frm_Menu1")) {
    setWindowTitle(QStringLiteral("OstrelSoft+"));
    Creer_Controles();
    Definir_Tableau_Bord(this);
}

Frm_Menu1_Forme::~Frm_Menu1_Forme() {
    if (&Frm_Menu1() == static_cast<Tableau_Bord*>(this)) {
        // Trace lines written after the dashboard is gone still carry the software name.
        const QString nom = Lbl_Nom_Logiciel();
        Definir_Tableau_Bord(nullptr);
        Frm_Menu1().Lbl_Nom_Logiciel(nom);
    }
}

void Frm_Menu1_Forme::Creer_Controles() {
    pic_info_ = Barre("Pic_Info", this, QFrame::Raised);
    pic_barre_menu_ = Barre("Pic_Barre_Menu", this, QFrame::Raised);
    pic_barre_etat_ = Barre("Pic_Barre_Etat", this, QFrame::Raised);
    pic_pub_ = Barre("Pic_Pub", this);
    img_logo_ = Etiquette("Img_Logo", QString(), pic_pub_);

    pic_info_client_ = Barre("Pic_Info_Client", pic_info_);
    lbl_info_client_ = Etiquette("Lbl_Info_Client", QStringLiteral("Nom de l'installation"), pic_info_client_);
    pic_logiciel_ = Barre("Pic_Logiciel", pic_info_);
    lbl_nom_logiciel_ = Etiquette("Lbl_Nom_Logiciel", QString(), pic_logiciel_);

    pic_nom_menu_ = Barre("Pic_Nom_Menu", pic_barre_menu_);
    lbl_nom_menu_ = Etiquette("Lbl_Nom_Menu", QStringLiteral("Accueil"), pic_nom_menu_);
    Police_Grasse(lbl_nom_menu_, true);
    pic_enum_oc_ = Barre("Pic_Enum_OC", pic_barre_menu_);
    Nouveau_Lbl_OC(0)->setText(QStringLiteral("MODULE"));

    pic_etat_ = Barre("Pic_Etat", pic_barre_etat_);
    lbl_informations_ = Etiquette("Lbl_Informations", QString(), pic_etat_, Qt::AlignLeft | Qt::AlignVCenter);
    lbl_etat_memoire_ = Etiquette("Lbl_Etat_Memoire", QStringLiteral("Recherche etat mémoire en %"), pic_etat_,
                                  Qt::AlignLeft | Qt::AlignVCenter);
    pic_etat_oc_ = Barre("Pic_Etat_OC", pic_barre_etat_);
    lbl_alarme_ = Etiquette("Lbl_Alarme", QStringLiteral("SYSTEME EN ALARME"), pic_etat_oc_);
    lbl_alarme_->setAutoFillBackground(true);
    Police_Grasse(lbl_alarme_, true);
    pic_etat_memoire_ = Barre("Pic_Etat_Memoire", pic_barre_etat_);
    pic_date_heure_ = Barre("Pic_Date_Heure", pic_barre_etat_);
    lbl_date_ = Etiquette("Lbl_Date", QString(), pic_date_heure_);
    lbl_heure_ = Etiquette("Lbl_Heure", QString(), pic_date_heure_);
    lbl_comm_ = Etiquette("Lbl_Comm", QStringLiteral("Communication"), pic_date_heure_);
    lbl_comm_->setAutoFillBackground(true);

    auto* zone = Barre("Zone_Centrale", this);
    zone->setFrameShape(QFrame::NoFrame);
    zone_centrale_ = zone;
    lbl_patientez_svp_ = Etiquette("Lbl_PatientezSVP", QStringLiteral("Patientez SVP ..."), zone_centrale_);
    pb_progress_bar_ = new QProgressBar(zone_centrale_);
    pb_progress_bar_->setObjectName(QStringLiteral("Pb_Progress_Bar"));
    pb_progress_bar_->setRange(0, 100);
    pb_progress_bar_->setValue(0);
    pb_progress_bar_->setTextVisible(false);
    pb_progress_bar_->setVisible(false);
    lbl_caption_pb_ = Etiquette("Lbl_Caption_Pb", QStringLiteral("Téléchargement"), zone_centrale_);
    lbl_caption_pb_->setVisible(false);

    tmr_date_ = new Minuterie(QStringLiteral("Tmr_Date"), this, 3000);
    tmr_date_->Timer = [this] { Tmr_Date_Timer(); };
    fin_annonce_ = new QTimer(this);
    fin_annonce_->setSingleShot(true);
    connect(fin_annonce_, &QTimer::timeout, this, [this] {
        if (lbl_informations_->text() == annonce_) lbl_informations_->setText(texte_sous_annonce_);
        lbl_informations_->setToolTip(QString());
        if (lbl_etat_memoire_->isHidden()) {
            lbl_informations_->setGeometry(lbl_informations_->geometry().adjusted(0, 0, 0, -lbl_etat_memoire_->height()));
            lbl_etat_memoire_->show();
        }
    });
}

// ---------------------------------------------------------------- start-up

void Frm_Menu1_Forme::Form_Load() {
    try {
        Options_Initiales();
        Recherche_Parametres_Logiciel();
        Lbl_Info_Client(Nom_Installation);
        Lbl_Nom_Logiciel(QStringLiteral("OstrelSoft+") + QStringLiteral(" ") + QStringLiteral("1.14VSA"));
        Prefixe_Module = QStringLiteral("MD");
        Nom_Logiciel = QStringLiteral("OstrelSoft+");
        Repertoire_Application = QStringLiteral("c:\\") + QStringLiteral("OstrelSoft+");
        // The trace opens its two paths as they are: they are kept in this machine's form.
        Fichier_Mouchard = Chemin_Natif(Dossier_Windows() + QStringLiteral("\\setupm.snf"));
        Base_Archive_Mouchard = Chemin_Natif(Repertoire_Application + QStringLiteral("\\setupm"));
        Repertoire_Sauvegardes_Donnees = Repertoire_Application + QStringLiteral("\\Sauvegardes\\Sauvegardes_Donnees");
        Repertoire_Sauvegardes_Alarmes = Repertoire_Application + QStringLiteral("\\Sauvegardes\\Sauvegardes_Alarmes");
        Repertoire_Parametrage_Voies = Repertoire_Application + QStringLiteral("\\Sauvegardes\\Parametrage_voies");
        Repertoire_Parametrage_Modules = Repertoire_Application + QStringLiteral("\\Sauvegardes\\Parametrage_Ostrel");

        Init_Mouchard();
        Ecrit_Mouchard(QStringLiteral("----> Début"));
        Creer_Dossiers_Sauvegardes();

        Formes().Charger(QStringLiteral("Ecran_Communication"));
        Ecran_Communication().ouverture_port(Port_Com);

        lbl_date_->setText(Texte_Date_Courte(Aujourdhui()));
        lbl_heure_->setText(Texte_Heure(Maintenant()).left(5));
        lbl_etat_memoire_->setText(QString());
        lbl_caption_pb_->setVisible(true);
        pb_progress_bar_->setVisible(true);

        Nb_Voies_Module.fill(16);
        Num_Module = 1;
        Code_Erreur = 0;
    } catch (const std::exception& e) {
        Boites().MsgBox(Texte_Erreur_Execution(e), vbCritical, Nom_Logiciel);
        Formes().Decharger(QStringLiteral("Frm_Menu1"));
    }
}

void Frm_Menu1_Forme::Form_Resize() { Disposer(); }

void Frm_Menu1_Forme::showEvent(QShowEvent* evenement) {
    Forme::showEvent(evenement);
    // The rest of start-up waits for the window to be on screen with its
    // size, so the question comes over a painted dashboard.
    if (!demarrage_fait_ && !demarrage_prevu_) {
        demarrage_prevu_ = true;
        QTimer::singleShot(0, this, [this] { Fin_Demarrage(); });
    }
}

void Frm_Menu1_Forme::Fin_Demarrage() {
    if (demarrage_fait_) return;
    demarrage_fait_ = true;
    MAJ_Couleur_Menu1();
    Module_Connecte = Vrai;
    if (Lbl_Nom_Menu() == QStringLiteral("Accueil")) {
        if (Boites().MsgBox(QStringLiteral("Le module est il connecté à l'ordinateur?"), vbYesNo) == vbNo) {
            Code_Erreur = Erreur::Ligne;
            Module_Connecte = Faux;
        }
    }
    tmr_date_->Enabled(true);
    Init_Tab_Fonctionnement_OC();
    Formes().Afficher(QStringLiteral("Frm_Accueil"));
    Formes().Focus(QStringLiteral("Frm_Accueil"));
    if (Code_Erreur != 0) Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
}

void Frm_Menu1_Forme::Form_Unload() { tmr_date_->Enabled(false); }

bool Frm_Menu1_Forme::eventFilter(QObject* objet, QEvent* evenement) {
    if (evenement->type() == QEvent::MouseButtonRelease) {
        auto* b = qobject_cast<QPushButton*>(objet);
        const auto* souris = static_cast<QMouseEvent*>(evenement);
        if (b && b->isVisible() && b->rect().contains(souris->position().toPoint())) {
            const int index = static_cast<int>(std::find(lbl_oc_.begin(), lbl_oc_.end(), b) - lbl_oc_.begin());
            if (index < Nb_Lbl_OC()) Lbl_OC_MouseUp(index);
        }
        // The press gave the keyboard to the dashboard: the screen shown takes it back.
        Form_Activate();
    }
    return Forme::eventFilter(objet, evenement);
}

void Frm_Menu1_Forme::mouseReleaseEvent(QMouseEvent* evenement) {
    Forme::mouseReleaseEvent(evenement);
    // A click on a bar or a label of the dashboard: the keyboard stays with the screen shown.
    Form_Activate();
}

bool Frm_Menu1_Forme::event(QEvent* evenement) {
    if (evenement->type() == QEvent::WindowActivate) Form_Activate();
    return Forme::event(evenement);
}

void Frm_Menu1_Forme::closeEvent(QCloseEvent* evenement) {
    if (Formes().Est_Chargee(objectName())) {
        evenement->ignore();
        Fin_Programme();
        return;
    }
    Forme::closeEvent(evenement);
}

void Frm_Menu1_Forme::Form_Activate() {
    const QString ecran = Lbl_Nom_Menu();
    if (ecran == QStringLiteral("Menu Enregistrements") && pb_progress_bar_->isVisible()) return;
    const QString forme = Forme_Ecran(ecran);
    if (forme.isEmpty()) return;
    try {
        Formes().Focus(forme);
    } catch (...) {
        // A form that cannot take the focus keeps the dashboard as it is.
    }
}

// ------------------------------------------------------------------ layout

void Frm_Menu1_Forme::Disposer() {
    const int W = width(), H = height();
    const double Wt = Pixels_Vers_Twips(W);
    if (W <= 0 || H <= 0) return;

    // Screen font sizes follow the width (22, 14 and 12 points on 19200 twips).
    Taille_Police_Grande = Taille_Police(lbl_nom_menu_, static_cast<Simple>(std::floor(Wt * 22 / 19200)));
    Taille_Police_Moyenne = Taille_Police(lbl_nom_menu_, static_cast<Simple>(std::floor(Wt * 14 / 19200)));
    Taille_Police_Petite = Taille_Police(lbl_nom_menu_, static_cast<Simple>(std::floor(Wt * 12 / 19200)));

    const int hb = Arrondi_Pixels(H * 0.04);   // Pic_Info and Pic_Barre_Menu
    const int he = Arrondi_Pixels(H * 0.10);   // Pic_Barre_Etat
    const int m = std::max(2, Arrondi_Pixels(H * 0.003));
    pic_info_->setGeometry(0, 0, W, hb);
    pic_barre_menu_->setGeometry(0, hb, W, hb);
    pic_barre_etat_->setGeometry(0, H - he, W, he);

    Var_Left_Fille = 0;
    Var_Top_Fille = Pixels_Vers_Twips(2 * hb);
    Var_Width_Fille = Wt;
    Var_Height_Fille = Pixels_Vers_Twips(H - 2 * hb - he);

    // The logo spans both top bars on the left.
    const int wl = Arrondi_Pixels(W * 0.13);
    pic_pub_->setGeometry(m, m, wl - m, 2 * hb - 2 * m);
    pic_pub_->raise();
    img_logo_->setGeometry(1, 1, pic_pub_->width() - 2, pic_pub_->height() - 2);
    Dessiner_Logo();

    const int x0 = wl + m, hi = hb - 2 * m;
    const int wc = Arrondi_Pixels(W * 0.55);
    pic_info_client_->setGeometry(x0, m, wc, hi);
    pic_logiciel_->setGeometry(x0 + wc + m, m, W - (x0 + wc + m) - m, hi);
    const int wn = Arrondi_Pixels(W * 0.22);
    pic_nom_menu_->setGeometry(x0, m, wn, hi);
    pic_enum_oc_->setGeometry(x0 + wn + m, m, W - (x0 + wn + m) - m, hi);
    for (QWidget* bar : {pic_info_client_, pic_logiciel_, pic_nom_menu_}) {
        QLabel* l = bar->findChild<QLabel*>();
        l->setGeometry(2, 2, bar->width() - 4, bar->height() - 4);
    }
    Disposer_Boutons_OC();

    const int ih = he - 2 * m;
    int x = m;
    const int we = Arrondi_Pixels(W * 0.40), wa = Arrondi_Pixels(W * 0.22), wm = Arrondi_Pixels(W * 0.10);
    pic_etat_->setGeometry(x, m, we, ih);
    x += we + m;
    pic_etat_oc_->setGeometry(x, m, wa, ih);
    x += wa + m;
    pic_etat_memoire_->setGeometry(x, m, wm, ih);
    x += wm + m;
    pic_date_heure_->setGeometry(x, m, W - x - m, ih);
    const int retrait = Arrondi_Pixels(W * 0.01);
    lbl_informations_->setGeometry(retrait, 0, we - retrait, ih / 2);
    lbl_etat_memoire_->setGeometry(retrait, ih / 2, we - retrait, ih - ih / 2);
    lbl_alarme_->setGeometry(m, m, wa - 2 * m, ih - 2 * m);
    const int wd = pic_date_heure_->width();
    lbl_date_->setGeometry(0, 0, wd * 55 / 100, ih / 2);
    lbl_heure_->setGeometry(wd * 55 / 100, 0, wd - wd * 55 / 100, ih / 2);
    lbl_comm_->setGeometry(2 * m, ih / 2, wd - 4 * m, ih / 2 - m);

    // Middle: the child area, and the progress of long operations in it.
    const int haut = 2 * hb;
    zone_centrale_->setGeometry(0, haut, W, H - haut - he);
    const QRect pb(Arrondi_Pixels(W * 0.20), Arrondi_Pixels(H * 0.45) - haut, Arrondi_Pixels(W * 0.60), Arrondi_Pixels(H * 0.03));
    pb_progress_bar_->setGeometry(pb);
    lbl_patientez_svp_->setGeometry(pb.left(), pb.top() - Arrondi_Pixels(H * 0.10), pb.width(), Arrondi_Pixels(H * 0.08));
    lbl_caption_pb_->setGeometry(pb.left(), pb.bottom() + Arrondi_Pixels(H * 0.015), pb.width(), Arrondi_Pixels(H * 0.06));

    // Screens laid over the child area follow it.
    for (Forme* f : findChildren<Forme*>(QString(), Qt::FindDirectChildrenOnly))
        if (f->Dans_Zone_Fille()) f->Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
}

void Frm_Menu1_Forme::Disposer_Boutons_OC() {
    const int n = static_cast<int>(lbl_oc_.size());
    const double W = pic_enum_oc_->width(), H = pic_enum_oc_->height();
    for (int i = 0; i < n; ++i)
        lbl_oc_[static_cast<size_t>(i)]->setGeometry(Arrondi_Pixels((i + 1) * W / (n + 2)), Arrondi_Pixels(0.075 * H),
                                                     Arrondi_Pixels(W / (n + 2)), Arrondi_Pixels(0.75 * H));
    // Narrower buttons may need a smaller caption.
    Police_Lbl_OC();
}

void Frm_Menu1_Forme::Dessiner_Logo() {
    if (img_logo_->width() > 0 && img_logo_->height() > 0) img_logo_->setPixmap(Logo_Ostrel(img_logo_->size()));
}

void Frm_Menu1_Forme::MAJ_Couleur_Menu1() {
    const std::vector<QWidget*> police = {lbl_info_client_, lbl_nom_logiciel_, lbl_nom_menu_, lbl_alarme_,
                                          lbl_etat_memoire_, lbl_date_, lbl_heure_, lbl_comm_,
                                          lbl_informations_, lbl_patientez_svp_, lbl_caption_pb_};
    for (QWidget* w : police) Nom_Police(w, Police_Options);

    for (QWidget* w : {static_cast<QWidget*>(lbl_info_client_), static_cast<QWidget*>(lbl_alarme_),
                       static_cast<QWidget*>(lbl_date_), static_cast<QWidget*>(lbl_heure_),
                       static_cast<QWidget*>(lbl_comm_), static_cast<QWidget*>(lbl_caption_pb_)})
        Taille_Police(w, Taille_Police_Moyenne);
    for (QWidget* w : {lbl_nom_logiciel_, lbl_nom_menu_, lbl_etat_memoire_, lbl_informations_})
        Taille_Police(w, Taille_Police_Petite);
    Taille_Police(lbl_patientez_svp_, Taille_Police_Grande);
    Police_Lbl_OC();

    for (QWidget* w : {lbl_info_client_, lbl_nom_logiciel_, lbl_nom_menu_, lbl_etat_memoire_, lbl_date_,
                       lbl_heure_, lbl_informations_})
        Couleur_Texte(w, Couleur_Police_Bandeau);
    Couleur_Texte_Lbl_OC(Couleur_Police_Modules);
    Couleur_Texte(lbl_alarme_, Couleur_Fond_Bandeau);
    for (QWidget* w : {lbl_comm_, lbl_patientez_svp_, lbl_caption_pb_}) Couleur_Texte(w, Couleur_Police);

    Couleur_Fond(Couleur_Fenetre);
    for (QWidget* w : {pic_barre_menu_, pic_info_, pic_barre_etat_}) ostrel::Couleur_Fond(w, Couleur_Cadre_Bandeau);
    for (QWidget* w : {pic_nom_menu_, pic_enum_oc_, pic_info_client_, pic_logiciel_, pic_etat_, pic_date_heure_,
                       static_cast<QWidget*>(lbl_comm_), pic_etat_oc_, pic_etat_memoire_,
                       static_cast<QWidget*>(lbl_alarme_)})
        ostrel::Couleur_Fond(w, Couleur_Fond_Bandeau);
    ostrel::Couleur_Fond(pic_pub_, Couleur_Blanche);
    // The middle shows the window colour whenever it comes over the screens.
    ostrel::Couleur_Fond(zone_centrale_, Couleur_Fenetre);
}

// ------------------------------------------------------------ progress bar

void Frm_Menu1_Forme::Progess_Bar_Value(Long& pourcentage) {
    Tableau_Bord::Progess_Bar_Value(pourcentage);
    // The bar refuses a value below its minimum and keeps the one it has. It
    // takes every value but is painted at most every hundredth and a half of
    // a second: a file read sends it a hundred values in a few hundredths, a
    // download one value per exchange with a module.
    pb_progress_bar_->setUpdatesEnabled(false);
    pb_progress_bar_->setValue(pourcentage);
    pb_progress_bar_->setUpdatesEnabled(true);
    if (!peinture_pb_.isValid() || peinture_pb_.hasExpired(Intervalle_Peinture_Pb_Ms)) {
        pb_progress_bar_->repaint();
        peinture_pb_.start();
    }
}

void Frm_Menu1_Forme::Affiche_Progress_Bar(bool afficher) {
    Tableau_Bord::Affiche_Progress_Bar(afficher);
    pb_progress_bar_->setVisible(afficher);
    lbl_caption_pb_->setVisible(afficher);
    // "Patientez SVP ..." goes with the progress: it would otherwise show
    // behind the windows laid over the dashboard when nothing is going on.
    lbl_patientez_svp_->setVisible(afficher);
    if (afficher)
        Premier_Plan();
    else
        Arriere_Plan();
    repaint();
}

void Frm_Menu1_Forme::Caption_Pb(const QString& texte) {
    lbl_caption_pb_->setText(texte);
    lbl_caption_pb_->repaint();
}
QString Frm_Menu1_Forme::Caption_Pb() const { return lbl_caption_pb_->text(); }
int Frm_Menu1_Forme::Valeur_Progression() const { return pb_progress_bar_->value(); }
bool Frm_Menu1_Forme::Progression_Visible() const { return pb_progress_bar_->isVisibleTo(zone_centrale_); }

void Frm_Menu1_Forme::Premier_Plan() {
    zone_centrale_->raise();
    // The bar shows for what runs on its own too (the live screen reloaded
    // when a retry finds the bus again): the window comes in front only for
    // someone already working in Ostrel.
    Monter_Sans_Prendre_Clavier(this);
}

void Frm_Menu1_Forme::Arriere_Plan() { zone_centrale_->lower(); }

void Frm_Menu1_Forme::Rafraichir() { repaint(); }

void Frm_Menu1_Forme::Focus() { Prendre_Focus(true); }

void Frm_Menu1_Forme::Prendre_Focus(bool operateur) {
    if (!isVisible()) show();
    if (operateur)
        activateWindow();
    else
        Activer_Sans_Prendre_Clavier(this);
    // Within the window only: it takes no keyboard from another program.
    setFocus(Qt::OtherFocusReason);
    // The screens lie inside the dashboard, so taking the focus activates
    // nothing that would hand the keyboard back: the screen shown takes it
    // here, as on any activation (a message box opened meanwhile gives it
    // back to that screen when it closes).
    Form_Activate();
}

// ------------------------------------------------------------ labels

void Frm_Menu1_Forme::Lampe_Comm(Couleur fond) {
    Tableau_Bord::Lampe_Comm(fond);
    ostrel::Couleur_Fond(lbl_comm_, fond);
    lbl_comm_->repaint();
}

void Frm_Menu1_Forme::Lampe_Comm(Couleur fond, Couleur texte) {
    Tableau_Bord::Lampe_Comm(fond, texte);
    ostrel::Couleur_Fond(lbl_comm_, fond);
    Couleur_Texte(lbl_comm_, texte);
    lbl_comm_->repaint();
}

Couleur Frm_Menu1_Forme::Lampe_Comm() const { return ostrel::Couleur_Fond(lbl_comm_); }

QString Frm_Menu1_Forme::Lbl_Nom_Logiciel() const { return lbl_nom_logiciel_->text(); }
void Frm_Menu1_Forme::Lbl_Nom_Logiciel(const QString& t) { lbl_nom_logiciel_->setText(t); }
QString Frm_Menu1_Forme::Lbl_Nom_Menu() const { return lbl_nom_menu_->text(); }
void Frm_Menu1_Forme::Lbl_Nom_Menu(const QString& t) { lbl_nom_menu_->setText(t); }
QString Frm_Menu1_Forme::Lbl_Info_Client() const { return lbl_info_client_->text(); }
void Frm_Menu1_Forme::Lbl_Info_Client(const QString& t) { lbl_info_client_->setText(t); }
QString Frm_Menu1_Forme::Lbl_Informations() const { return lbl_informations_->text(); }
void Frm_Menu1_Forme::Lbl_Informations(const QString& t) { lbl_informations_->setText(t); }
QString Frm_Menu1_Forme::Lbl_Etat_Memoire() const { return lbl_etat_memoire_->text(); }
void Frm_Menu1_Forme::Lbl_Etat_Memoire(const QString& t) { lbl_etat_memoire_->setText(t); }
void Frm_Menu1_Forme::Annonce(const QString& texte) {
    if (!fin_annonce_->isActive() || lbl_informations_->text() != annonce_)
        texte_sous_annonce_ = lbl_informations_->text();
    // A notice of two lines takes the whole status panel for its time; a line
    // too long for it loses its middle, the tooltip keeps it whole.
    const QStringList lignes = texte.split(QLatin1Char('\n'));
    if (lignes.size() > 1 && !lbl_etat_memoire_->isHidden()) {
        lbl_etat_memoire_->hide();
        lbl_informations_->setGeometry(lbl_informations_->geometry().united(lbl_etat_memoire_->geometry()));
    }
    QStringList montrees;
    for (const QString& ligne : lignes)
        montrees << lbl_informations_->fontMetrics().elidedText(ligne, Qt::ElideMiddle, lbl_informations_->width());
    annonce_ = montrees.join(QLatin1Char('\n'));
    lbl_informations_->setText(annonce_);
    lbl_informations_->setToolTip(texte);
    fin_annonce_->start(std::max(1, static_cast<int>(Duree_Annonce_ms * Echelle_Temps())));
}

QString Frm_Menu1_Forme::Lbl_PatientezSVP() const { return lbl_patientez_svp_->text(); }
void Frm_Menu1_Forme::Lbl_PatientezSVP(const QString& t) { lbl_patientez_svp_->setText(t); }

Couleur Frm_Menu1_Forme::Fond_Lbl_Alarme() const { return ostrel::Couleur_Fond(lbl_alarme_); }
void Frm_Menu1_Forme::Fond_Lbl_Alarme(Couleur c) {
    ostrel::Couleur_Fond(lbl_alarme_, c);
    lbl_alarme_->repaint();
}

void Frm_Menu1_Forme::Tmr_Date_Timer() {
    lbl_date_->setText(Texte_Date_Courte(Aujourdhui()));
    lbl_heure_->setText(Texte_Heure(Maintenant()).left(5));
}

// ------------------------------------------------------------ module buttons

void Frm_Menu1_Forme::Police_Lbl_OC() {
    // A long list takes a smaller font to fit its narrower buttons; and when
    // a caption is still wider than its button (MD10 to MD32 among 32 modules
    // on a narrow screen), all of them narrow their letters, then shrink,
    // until every one reads whole.
    Simple taille = lbl_oc_.size() < 16 ? Taille_Police_Petite : Taille_Police_Petite * 0.8f;
    if (taille <= 0) taille = 8;
    const int n = static_cast<int>(lbl_oc_.size());
    const double largeur = pic_enum_oc_->width() / static_cast<double>(n + 2) - 2 * Bord_Lbl_OC;
    QFont police = lbl_oc_.front()->font();
    if (!Police_Options.isEmpty()) police.setFamily(Police_Options);
    police.setPointSizeF(taille);
    if (largeur > 0)
        police = Police_Qui_Tient(police, Taille_Minimale_Lbl_OC, [&](const QFont& f) {
            const QFontMetricsF mesures(f);
            for (const QPushButton* b : lbl_oc_)
                if (mesures.horizontalAdvance(b->text()) > largeur) return false;
            return true;
        });
    for (QPushButton* b : lbl_oc_) {
        Nom_Police(b, Police_Options);
        Taille_Police(b, static_cast<Simple>(police.pointSizeF()));
        QFont f = b->font();
        f.setStretch(police.stretch());
        b->setFont(f);
    }
}

QPushButton* Frm_Menu1_Forme::Nouveau_Lbl_OC(int index) {
    auto* b = new QPushButton(pic_enum_oc_);
    b->setObjectName(QStringLiteral("Lbl_OC"));
    b->setProperty("Index", index);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(lbl_oc_.empty() ? font() : lbl_oc_.front()->font());
    // A new element takes the look of the first one.
    b->setProperty("BackColor", Couleur_Fenetre);
    b->setProperty("ForeColor", lbl_oc_.empty() ? QVariant(Couleur_Police_Modules) : lbl_oc_.front()->property("ForeColor"));
    // Any mouse button released over it changes the module, not the left one alone.
    b->installEventFilter(this);
    lbl_oc_.push_back(b);
    Style_Lbl_OC(b);
    return b;
}

QPushButton* Frm_Menu1_Forme::Lbl_OC(int index) const {
    return index >= 0 && index < Nb_Lbl_OC() ? lbl_oc_[static_cast<size_t>(index)] : nullptr;
}

void Frm_Menu1_Forme::Style_Lbl_OC(QPushButton* b) {
    const Couleur fond = b->property("BackColor").value<Couleur>();
    const Couleur texte = b->property("ForeColor").value<Couleur>();
    const QColor bord = Vers_QColor(fond).darker(140);
    b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid %3;"
                                    " border-radius: 3px; padding: 0px; }"
                                    "QPushButton:hover { border-color: %4; }")
                         .arg(Css(fond), Css(texte), bord.name(), Css(Couleur_Police_Bandeau)));
}

void Frm_Menu1_Forme::Fond_Lbl_OC(QPushButton* b, Couleur fond) {
    b->setProperty("BackColor", fond);
    Style_Lbl_OC(b);
}

int Frm_Menu1_Forme::Nb_Lbl_OC() const { return static_cast<int>(lbl_oc_.size()); }

QString Frm_Menu1_Forme::Caption_Lbl_OC(int index) const {
    const QPushButton* b = Lbl_OC(index);
    return b ? b->text() : QString();
}

void Frm_Menu1_Forme::Couleur_Texte_Lbl_OC(Couleur c) {
    Tableau_Bord::Couleur_Texte_Lbl_OC(c);
    for (QPushButton* b : lbl_oc_) {
        b->setProperty("ForeColor", c);
        Style_Lbl_OC(b);
    }
}

void Frm_Menu1_Forme::Init_Label_OC(Octet& module) {
    Tableau_Bord::Init_Label_OC(module);
    for (QPushButton* b : lbl_oc_) Police_Soulignee(b, false);
    const int rang = Rang_Module_En_Service(module);
    if (module > 0 && rang >= 1 && rang <= Nb_Lbl_OC()) Police_Soulignee(lbl_oc_[static_cast<size_t>(rang - 1)], true);
}

void Frm_Menu1_Forme::Init_Tab_Fonctionnement_OC(bool operateur) {
    Prendre_Focus(operateur);
    Tab_Fonctionnement_OC.fill(Hors_Service);
    while (lbl_oc_.size() > 1) {
        QPushButton* b = lbl_oc_.back();
        lbl_oc_.pop_back();
        b->hide();
        b->deleteLater();  // it may be the button being clicked
    }
    Long zero = 0;
    Progess_Bar_Value(zero);
    Caption_Pb(QStringLiteral("Recherche du Module 1"));
    repaint();

    if (Module_Connecte) Lecture_Modules_En_Service();
    if (Code_Erreur != 0) {
        if (Code_Erreur == Erreur::Port && Module_Connecte && operateur)
            Boites().MsgBox(QStringLiteral("Le port de communication est indisponible !\n") +
                                Ecran_Communication().Ostrel.Peripherique(),
                            vbExclamation);
        Code_Erreur = 0;
        // A reply that fails half-way through its reading may have marked
        // some modules already: the list says none, and so does the bar.
        Tab_Fonctionnement_OC.fill(Hors_Service);
        QPushButton* premier = lbl_oc_.front();
        premier->setText(Module_Non_Connecte);
        premier->setToolTip(Module_Non_Connecte);
        Fond_Lbl_OC(premier, Couleur_Rouge);
    } else {
        int n = 0;
        Octet k = 1;
        while (k <= 32) {
            ++n;
            QPushButton* b = n > 1 ? Nouveau_Lbl_OC(n - 1) : lbl_oc_.front();
            b->setText(Prefixe_Module + QString::number(k));
            b->setVisible(true);
            Fond_Lbl_OC(b, Couleur_Fenetre);
            Octet suivant = static_cast<Octet>(n + 1);
            k = Nieme_Module_En_Service(suivant);
            if (k == 1) break;
        }
        // Laid out before the search of each module, which repaints the bar as it goes.
        Disposer_Boutons_OC();
        Diagnostique_OC();
    }
    Disposer_Boutons_OC();
}

void Frm_Menu1_Forme::Diagnostique_OC() {
    Long zero = 0;
    Progess_Bar_Value(zero);
    Fond_Lbl_Alarme(Couleur_Fond_Bandeau);
    Code_Erreur = 0;
    bool echec = false;
    const int n = Nb_Lbl_OC();
    for (int i = 0; i < n; ++i) {
        Octet rang = static_cast<Octet>(i + 1);
        const Octet m = Nieme_Module_En_Service(rang);
        QPushButton* b = lbl_oc_[static_cast<size_t>(i)];
        Long pourcentage = static_cast<Long>(Arrondi_Pair(static_cast<double>(i) / n * 100));
        Progess_Bar_Value(pourcentage);
        Caption_Pb(QStringLiteral("Recherche du ") + b->text());
        Fond_Lbl_OC(b, Couleur_Fenetre);
        Lecture_Etat_Module(m);
        if (Code_Erreur == 0) {
            Nb_Voies_Module[m - 1] = Nb_Voies_Selon_Etat(Donnees_Reponse.Etat_Module);
            Lecture_Nom_Module(m);
        }
        Parametres_Module& module = Tab_Parametres_Modules[m - 1];
        // A module that answers its status but not its name counts as not
        // answering too: its error is not carried over to the next module,
        // and it does not take the name left by the previous reply.
        if (Code_Erreur != 0) {
            echec = true;
            Code_Erreur = 0;
            Fond_Lbl_OC(b, Couleur_Rouge);
            b->repaint();
            Lbl_Informations(QStringLiteral("Certains Modules ne répondent pas !"));
            Lbl_Etat_Memoire(QStringLiteral("Le système ne fonctionnera pas correctement ..."));
            Num_Module = 1;
            module.Entete = Module_Non_Connecte;
        } else {
            module.Entete = Donnees_Reponse.Entete_Module.left(32);
        }
        b->setToolTip(module.Entete);
    }
    Affiche_Progress_Bar(false);
    if (!echec) {
        if (Lbl_Informations() == QStringLiteral("Certains Modules ne répondent pas !")) Lbl_Informations(QString());
        if (Lbl_Etat_Memoire() == QStringLiteral("Le système ne fonctionnera pas correctement ..."))
            Lbl_Etat_Memoire(QString());
    }
}

void Frm_Menu1_Forme::Lbl_OC_MouseUp(int index) {
    QPushButton* b = Lbl_OC(index);
    if (!b) return;
    b->setVisible(true);
    if (b->text() == Module_Non_Connecte) {
        Init_Tab_Fonctionnement_OC();
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux);
        return;
    }
    const QString ecran = Lbl_Nom_Menu();
    Octet rang = static_cast<Octet>(index + 1);
    if (ecran == QStringLiteral("Mesures")) {
        Num_Module = Nieme_Module_En_Service(rang);
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Mesures"), Faux);
    } else if (ecran == QStringLiteral("Réglages des voies") || ecran == QStringLiteral("Réglages Module")) {
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Configuration"), Faux);
        Num_Module = Nieme_Module_En_Service(rang);
        Liaison_Ecran(Ecran_Courant, ecran, Faux);
    } else {
        Arriere_Plan();
        return;
    }
    Erreur_Vers_Problemes_Liaison();
}

}  // namespace ostrel
