#pragma once
// What the services of the link and file layers ask of the dashboard
// (Frm_Menu1): progress bar and its caption, communication lamp, captions of
// its bars, alarm banner, module buttons. The windowed dashboard derives from
// this class; on its own the class keeps the values in memory, which is what
// tests and headless runs use.
#include <QString>
#include <vector>

#include "platform/types.h"

namespace ostrel {

class Tableau_Bord {
public:
    virtual ~Tableau_Bord() = default;

    // Progress: a value over 100 is replaced by 100 in the caller's variable.
    virtual void Progess_Bar_Value(Long& pourcentage);
    virtual void Affiche_Progress_Bar(bool afficher);
    virtual void Caption_Pb(const QString& texte);  // Lbl_Caption_Pb, repainted at once
    virtual QString Caption_Pb() const { return caption_pb_; }
    virtual int Valeur_Progression() const { return valeur_pb_; }
    virtual bool Progression_Visible() const { return pb_visible_; }

    // Communication lamp Lbl_Comm: back colour (and text colour), repainted at once.
    virtual void Lampe_Comm(Couleur fond);
    virtual void Lampe_Comm(Couleur fond, Couleur texte);
    virtual Couleur Lampe_Comm() const { return lampe_; }

    // Captions of the bars.
    virtual QString Lbl_Nom_Logiciel() const { return nom_logiciel_; }
    virtual void Lbl_Nom_Logiciel(const QString& t) { nom_logiciel_ = t; }
    virtual QString Lbl_Nom_Menu() const { return nom_menu_; }
    virtual void Lbl_Nom_Menu(const QString& t) { nom_menu_ = t; }
    virtual QString Lbl_Info_Client() const { return info_client_; }
    virtual void Lbl_Info_Client(const QString& t) { info_client_ = t; }
    virtual QString Lbl_Informations() const { return informations_; }
    virtual void Lbl_Informations(const QString& t) { informations_ = t; }
    virtual QString Lbl_Etat_Memoire() const { return etat_memoire_; }
    virtual void Lbl_Etat_Memoire(const QString& t) { etat_memoire_ = t; }
    // A notice on the status line (Lbl_Informations) for a few seconds; the
    // text it covered then comes back, unless another has been written since.
    // The in-memory dashboard keeps the notice.
    virtual void Annonce(const QString& texte) { informations_ = texte; }
    // The large notice over the progress bar ("Patientez SVP ...").
    virtual QString Lbl_PatientezSVP() const { return patientez_svp_; }
    virtual void Lbl_PatientezSVP(const QString& t) { patientez_svp_ = t; }

    // Alarm banner Lbl_Alarme: its back colour.
    virtual Couleur Fond_Lbl_Alarme() const { return fond_alarme_; }
    virtual void Fond_Lbl_Alarme(Couleur c) { fond_alarme_ = c; }

    // Module buttons Lbl_OC: count, captions, text colour of all of them.
    virtual int Nb_Lbl_OC() const { return static_cast<int>(captions_oc_.size()); }
    virtual QString Caption_Lbl_OC(int index) const;
    virtual void Couleur_Texte_Lbl_OC(Couleur c) { couleur_oc_ = c; }
    virtual void Init_Label_OC(Octet& module) { module_souligne_ = module; }
    // The module search. One that no operator started (`operateur` false:
    // the link-problem screen's retries) announces no port that cannot be
    // used by its box (that screen already says so), and takes the keyboard
    // only when the program already has it.
    virtual void Init_Tab_Fonctionnement_OC(bool operateur = true) { (void)operateur; }
    virtual void Diagnostique_OC() {}

    // Fonts and colours of the options applied to the dashboard.
    virtual void MAJ_Couleur_Menu1() {}

    // Window operations of the dashboard form.
    virtual void Premier_Plan() {}
    virtual void Arriere_Plan() {}
    virtual void Rafraichir() {}
    virtual void Focus() {}
    // Whether the dashboard takes input (Enabled); off while the calibration dialog is open.
    virtual void Enabled(bool actif) { actif_ = actif; }
    virtual bool Enabled() const { return actif_; }

    // Values kept by the in-memory dashboard, for tests.
    std::vector<QString> captions_oc_{QStringLiteral("MODULE")};
    Octet module_souligne_ = 0;
    Couleur couleur_oc_ = 0;
    std::vector<int> historique_pb_;

protected:
    QString caption_pb_;
    int valeur_pb_ = 0;
    bool pb_visible_ = false;
    Couleur lampe_ = 0;
    Couleur texte_lampe_ = 0;
    QString nom_logiciel_;
    QString nom_menu_;
    QString info_client_;
    QString informations_;
    QString etat_memoire_;
    QString patientez_svp_ = QStringLiteral("Patientez SVP ...");
    Couleur fond_alarme_ = 0;
    bool actif_ = true;
};

// The progress bar at a percentage worked out as a fraction, rounded to the
// nearest whole number with halves to the even one.
void Progression(double pourcentage);

// The dashboard in use; an in-memory one until the program installs its own.
Tableau_Bord& Frm_Menu1();
void Definir_Tableau_Bord(Tableau_Bord* tableau);  // not owned; nullptr: in-memory

}  // namespace ostrel
