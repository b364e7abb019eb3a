#pragma once
// The screen "Journal des alarmes": the alarm journal of one module, downloaded
// whole or between two dates, or read from a journal file; listed newest
// first; alarms acknowledged with a module access code; the module's journal
// purged through the purge screen; the journal saved to a file and printed.
#include <QString>

#include "history/journal_alarmes.h"
#include "platform/dialogues.h"
#include "platform/types.h"
#include "platform/ui/forme.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ostrel {

class frm_Journal_Alarme_Forme : public Forme {
    Q_OBJECT
public:
    frm_Journal_Alarme_Forme();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Executer(const QString& operation) override;  // "Cmd_OK_Click"

    // Public operations.
    void Cmd_OK_Click();
    void Actualise_Journal();
    // Reads a journal file and lists it; false (after "Fichier incorrect!")
    // when the file cannot be read, the screen then left as it was.
    bool Ouvrir_Journal(const QString& chemin);
    // Writes the journal file to the name of CommonDialog1; false when the
    // save failed (reported, the previous file left as it was).
    bool Exporter_Journal_Alarme();

    // Handlers.
    void Cmb_Choix_Ostrelclim_Click();
    void Opt_Journal_Complet_Click();
    void Opt_Journal_Date_Click();
    void Opt_Journal_Fichier_Click();
    void Cmd_Annuler_Click();
    void Cmd_Quitter_Click();
    void Cmd_Acquitter_Click();
    void Cmd_Purger_Click();
    void Txt_Code_Acce_Change();
    void Txt_Code_Acce_LostFocus();
    void Cmd_Exporter_Click();
    void Cmd_Imprimer_Click();

    // State, for the screens and tests that look at it.
    // Values of Mode_Journal, the journal's source, one per option button.
    static constexpr Octet Journal_Fichier = 0;  // a journal text file
    static constexpr Octet Journal_Complet = 1;  // the module's whole journal
    static constexpr Octet Journal_Date = 2;     // the module's entries between two dates
    Octet Mode_Journal = Journal_Complet;
    Table_Noms_Operateurs Noms_Operateurs;
    Booleen Mode_Acquittement = Faux;
    Dialogue_Fichier CommonDialog1;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void Retour_Consultation();
    void Affiche_Journal();
    void Actualise_Journal_Date();
    void Telecharger(bool periode);
    void Affecte_Nom_Voies();
    void Affiche_Menu(bool afficher);
    QString Lecture_Operateur(Octet& module, Octet& index);
    bool Imprimer_Journal();
    void Repli_Sur_Fichier();
    void Vers_Problemes_Liaison();
    void Acquitter();
    void Devant();

    QGroupBox* Frame_Menu;
    QLabel* Lbl_Question;
    QComboBox* Cmb_Choix_Ostrelclim;
    QRadioButton *Opt_Journal_Complet, *Opt_Journal_Date, *Opt_Journal_Fichier;
    QComboBox* Cmb_Choix_Num_Voie;
    QLabel *Lbl_Du, *Lbl_Au;
    QLineEdit *Msk_Date_Debut, *Msk_Date_Fin;
    QPushButton *Cmd_OK, *Cmd_Annuler;
    QLabel* Lbl_Intitule_Fenetre;
    QListWidget* List_Alarmes;
    QFrame* Shape_Controle;
    QPushButton *Cmd_Acquitter, *Cmd_Purger, *Cmd_Exporter, *Cmd_Imprimer, *Cmd_Quitter;
    QGroupBox* Frame_Code_Acce;
    QLineEdit* Txt_Code_Acce;

    Long nb_journal_ = 0;
    QString entete_journal_;
    bool repli_fichier_ = false;  // a module choice fell back to the file source
};

}  // namespace ostrel
