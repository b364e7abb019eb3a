#pragma once
// The dashboard Frm_Menu1: the start-up form and the full-screen background
// of every screen. Two bars at the top (logo, installation name, software
// name, title of the current screen, module buttons), a status bar at the
// bottom (status texts, alarm banner, date, time, communication lamp), and in
// the middle the child area where the screens lie, over which the progress of
// long operations shows.
#include <QElapsedTimer>
#include <QPushButton>
#include <vector>

#include "link/tableau_bord.h"
#include "platform/types.h"
#include "platform/ui/forme.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace ostrel {

class Minuterie;

class Frm_Menu1_Forme : public Forme, public Tableau_Bord {
    Q_OBJECT
public:
    Frm_Menu1_Forme();
    ~Frm_Menu1_Forme() override;

    // Start-up: names, paths, options, trace and port; then, once the window
    // has its size, the connection question, the module search and the home screen.
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Activate() override;
    void Form_Unload() override;
    // The tail of the first layout; runs once (later resizes only lay out).
    void Fin_Demarrage();

    // False only when the operator has just answered No to the connection question.
    Booleen Module_Connecte = Vrai;

    // Services offered to the other screens.
    void Progess_Bar_Value(Long& pourcentage) override;
    void Affiche_Progress_Bar(bool afficher) override;
    void Caption_Pb(const QString& texte) override;
    QString Caption_Pb() const override;
    int Valeur_Progression() const override;
    bool Progression_Visible() const override;
    void Lampe_Comm(Couleur fond) override;
    void Lampe_Comm(Couleur fond, Couleur texte) override;
    Couleur Lampe_Comm() const override;
    QString Lbl_Nom_Logiciel() const override;
    void Lbl_Nom_Logiciel(const QString& t) override;
    QString Lbl_Nom_Menu() const override;
    void Lbl_Nom_Menu(const QString& t) override;
    QString Lbl_Info_Client() const override;
    void Lbl_Info_Client(const QString& t) override;
    QString Lbl_Informations() const override;
    void Lbl_Informations(const QString& t) override;
    QString Lbl_Etat_Memoire() const override;
    void Lbl_Etat_Memoire(const QString& t) override;
    void Annonce(const QString& texte) override;
    QString Lbl_PatientezSVP() const override;
    void Lbl_PatientezSVP(const QString& t) override;
    Couleur Fond_Lbl_Alarme() const override;
    void Fond_Lbl_Alarme(Couleur c) override;
    int Nb_Lbl_OC() const override;
    QString Caption_Lbl_OC(int index) const override;
    void Couleur_Texte_Lbl_OC(Couleur c) override;
    void Init_Label_OC(Octet& module) override;
    void Init_Tab_Fonctionnement_OC(bool operateur = true) override;
    void Diagnostique_OC() override;
    void MAJ_Couleur_Menu1() override;
    void Premier_Plan() override;
    void Arriere_Plan() override;
    void Rafraichir() override;
    void Focus() override;
    void Enabled(bool actif) override { setEnabled(actif); }
    bool Enabled() const override { return isEnabled(); }

    void Lbl_OC_MouseUp(int index);
    QPushButton* Lbl_OC(int index) const;
    Minuterie* Tmr_Date() const { return tmr_date_; }
    void Tmr_Date_Timer();

protected:
    bool event(QEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;
    // Closing the window by its frame quits as "Quitter" does.
    void closeEvent(QCloseEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;

private:
    void Creer_Controles();
    void Disposer();
    void Disposer_Boutons_OC();
    void Style_Lbl_OC(QPushButton* bouton);
    void Police_Lbl_OC();
    void Fond_Lbl_OC(QPushButton* bouton, Couleur fond);
    QPushButton* Nouveau_Lbl_OC(int index);
    void Dessiner_Logo();
    // Focus(); for what no operator started (`operateur` false), the window
    // is activated only when the program already has the keyboard.
    void Prendre_Focus(bool operateur);

    QWidget *pic_info_, *pic_barre_menu_, *pic_nom_menu_, *pic_enum_oc_, *pic_logiciel_, *pic_info_client_,
        *pic_pub_, *pic_barre_etat_, *pic_etat_, *pic_etat_oc_, *pic_etat_memoire_, *pic_date_heure_;
    QLabel *lbl_nom_menu_, *lbl_nom_logiciel_, *lbl_info_client_, *img_logo_, *lbl_informations_,
        *lbl_etat_memoire_, *lbl_alarme_, *lbl_date_, *lbl_heure_, *lbl_comm_, *lbl_caption_pb_,
        *lbl_patientez_svp_;
    QProgressBar* pb_progress_bar_;
    QElapsedTimer peinture_pb_;  // since the bar was last painted
    static constexpr int Intervalle_Peinture_Pb_Ms = 15;
    QWidget* zone_centrale_;  // the middle of the dashboard, behind or over the screens
    std::vector<QPushButton*> lbl_oc_;
    Minuterie* tmr_date_;
    QTimer* fin_annonce_;        // ends the notice on the status line
    QString annonce_, texte_sous_annonce_;
    bool demarrage_fait_ = false;
    bool demarrage_prevu_ = false;
};

}  // namespace ostrel
