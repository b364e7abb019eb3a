#pragma once
// Message boxes, beeps and the common dialogs (file, colour, font). Screens
// and services call them through Boites(); the program installs the windowed
// implementation, tests install Boites_Scriptees, which answers from a queue
// and records what was shown, so no test ever waits on a modal window.
#include <QString>
#include <deque>
#include <vector>

#include "platform/types.h"

namespace ostrel {

// Buttons and icons of a message box, and its answers: numbers that add up and compare as the screens use them.
enum Style_Boite : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
};
enum Reponse_Boite : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Title of the boxes that name none.
inline const QString Titre_Application = QStringLiteral("OstrelSoft+");

// A file dialog as the screens prepare it; FileName holds the answer.
struct Dialogue_Fichier {
    QString DialogTitle;
    QString FileName;    // default name before, chosen path after
    QString DefaultExt;  // ".txt"
    QString Filter;      // "(*.txt)|*.txt"
    QString InitDir;
    // The dialog itself asks before an existing file is replaced (the
    // screens whose save procedure asks on its own leave it off).
    bool Confirmer_Ecrasement = false;
};

struct Choix_Police {
    QString Nom;
    Simple Taille = 10;
    bool Gras = false;
    bool Italique = false;
};

class Boites_Dialogue {
public:
    virtual ~Boites_Dialogue() = default;
    // Returns one of Reponse_Boite. An empty title means Titre_Application.
    // A box that comes while another program has the keyboard (Operateur_Present:
    // the end of work nobody watched) takes neither the keyboard nor the front
    // of the screen: it waits for the operator, who is asked for attention.
    virtual int MsgBox(const QString& texte, int style = vbOKOnly, const QString& titre = {}) = 0;
    virtual void Beep() = 0;
    // true with FileName set when a file was chosen, false when cancelled.
    virtual bool ShowOpen(Dialogue_Fichier& dialogue) = 0;
    virtual bool ShowSave(Dialogue_Fichier& dialogue) = 0;
    // The colour dialog, titled as given, preset with the colour; true with
    // the colour chosen, false when closed without a choice.
    virtual bool ShowColor(Couleur& couleur, const QString& titre) = 0;
    virtual bool ShowFont(Choix_Police& police) = 0;
    // True while a modal box or dialog is open: timers hold back their ticks.
    virtual bool Modal_Ouvert() const { return false; }
};

Boites_Dialogue& Boites();
// Installs the implementation (not owned); nullptr restores the default,
// a Boites_Scriptees with an empty queue.
void Definir_Boites(Boites_Dialogue* boites);

// Scripted boxes for tests and for runs without a display.
class Boites_Scriptees : public Boites_Dialogue {
public:
    struct Message {
        QString Texte;
        int Style = 0;
        QString Titre;
        int Reponse = 0;
        // The box came while another program had the keyboard: on screen it
        // waits for the operator to come back to the program.
        bool Attente = false;
    };
    // Answers given in order; when the queue is empty a box answers with its
    // first button (OK, Yes, Abort or Retry).
    std::deque<int> Reponses;
    // Paths returned by the file dialogs in order; an empty string cancels.
    // When empty, the dialogs are cancelled.
    std::deque<QString> Fichiers;
    std::deque<Couleur> Couleurs;     // empty: colour dialog cancelled
    std::deque<Choix_Police> Polices;  // empty: font dialog cancelled

    std::vector<Message> Messages;
    std::vector<Dialogue_Fichier> Dialogues;
    std::vector<QString> Titres_Couleur;  // of the colour dialogs shown
    int Bips = 0;

    int MsgBox(const QString& texte, int style = vbOKOnly, const QString& titre = {}) override;
    void Beep() override { ++Bips; }
    bool ShowOpen(Dialogue_Fichier& dialogue) override;
    bool ShowSave(Dialogue_Fichier& dialogue) override;
    bool ShowColor(Couleur& couleur, const QString& titre) override;
    bool ShowFont(Choix_Police& police) override;

    // Texts of the boxes shown, in order.
    std::vector<QString> Textes() const;
    void Effacer();
};

}  // namespace ostrel
