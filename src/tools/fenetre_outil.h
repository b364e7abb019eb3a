#pragma once
// The window both companion programs share: a line saying what the program
// does, its picture, the start button and the "Patientez SVP" group with the
// progress bar. The work runs on the window's own thread; each step of the
// progress repaints the window and lets the window system draw it, so a large
// file never leaves a frozen window, and the window cannot be closed while a
// file is being read or written.
#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/dialogues.h"
#include "platform/types.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace ostrel {

// Style and font of the companion programs' windows and boxes.
void Configurer_Outil(const QString& nom_programme);

class Fenetre_Outil;

// A companion program from start to end: its style, message boxes and file
// dialogs on screen, and the window `creer` makes shown until it is closed.
// The program's exit code.
int Executer_Outil(int& argc, char** argv, const QString& nom_programme,
                   const std::function<std::unique_ptr<Fenetre_Outil>()>& creer);

class Fenetre_Outil : public QWidget {
public:
    Fenetre_Outil(const QString& forme, const QString& caption, const QString& texte, const QPixmap& image);

    QLabel* Label1;
    QLabel* Image1;
    QPushButton* Cmd_Démarrage;
    QGroupBox* Frame1;
    QProgressBar* ProgressBar1;
    Dialogue_Fichier CmnDial_Ouvrir;
    Dialogue_Fichier CmDial_Enreg;

    virtual void Cmd_Démarrage_Click() = 0;
    bool En_Cours() const { return en_cours_; }

protected:
    // Marks the window busy for the life of the object.
    class Travail {
    public:
        explicit Travail(Fenetre_Outil& f) : f_(f), avant_(f.en_cours_) { f_.en_cours_ = true; }
        ~Travail() { f_.en_cours_ = avant_; }
        Travail(const Travail&) = delete;
        Travail& operator=(const Travail&) = delete;

    private:
        Fenetre_Outil& f_;
        bool avant_;
    };

    void Afficher_Frame(bool afficher);  // Frame1 and its progress bar
    void Caption_Frame(const QString& texte);
    void Fin_Travail();  // Cmd_Démarrage enabled, Frame1 hidden

    // Progress over a total from 0, Frame1 shown and the window painted; a
    // total of 0 or less (a head that announces no point) is replaced by the
    // estimate given, or by the line count of the file's content.
    void Debut_Progression(Long total, Long estimation);
    void Debut_Progression(Long total, const QByteArray& contenu);
    // The bar shows fait x 100 / total while that is below 100.
    void Progression(Long fait);
    // Paints the window now and lets the window system show it.
    void Rafraichir();
    static constexpr int Intervalle_Evenements_Ms = 15;

    int Message(const QString& texte, int style = vbOKOnly);

    // Shows CmnDial_Ouvrir with the title given, on drive c:, for ".txt"
    // files, no name proposed. The name chosen, or empty when there is nothing
    // more to do: no ".txt" name (a cancel included), or a file that does not
    // exist ("Nom de fichier introuvable").
    QString Fichier_Entree(const QString& titre);
    // Shows CmDial_Enreg with the name proposed. The name chosen, ".txt"
    // appended when missing, or empty when cancelled.
    QString Fichier_Sortie(const QString& proposition);

    void closeEvent(QCloseEvent* evenement) override;

private:
    void Traiter_Evenements();  // the window system's turn, user input held back

    bool en_cours_ = false;
    QElapsedTimer tour_;  // since the window system's last turn
    Long total_ = 1;
    int affiche_ = -1;
};

}  // namespace ostrel
