#pragma once
// Base of every screen: a widget named after its form ("Frm_Accueil") with
// the handlers the screens fill in (load, unload, resize, activate, key-up)
// and the window operations the navigator and the screens use. Screens are
// child widgets of the dashboard, laid over its child area; the registry
// (registre_formes.h) creates, loads and unloads them.
#include <QString>
#include <QWidget>

#include "platform/types.h"

namespace ostrel {

class Minuterie;

class Forme : public QWidget {
    Q_OBJECT
public:
    explicit Forme(const QString& nom, QWidget* parent = nullptr);
    QString Nom() const { return objectName(); }

    // Handlers. Form_Load runs once, when the registry loads the form;
    // Form_Unload when it unloads it.
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // Lays the controls out; reached through Redimensionner only.
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    // Key-up of the form or of any of its controls (key preview); the code may be changed.
    virtual void Form_KeyUp(int& /*KeyCode*/, int /*Shift*/) {}
    // Public operations called by name, e.g. "Cmd_OK_Click".
    virtual void Executer(const QString& /*operation*/) {}

    bool KeyPreview = true;

    // Lays the form out (Form_Resize), then fits every caption to its place:
    // each resize comes here, and so does a screen laying itself out again,
    // so that no screen can leave a caption cut.
    void Redimensionner();

    // Window operations.
    void Afficher();
    void Activer(bool actif = true);
    void Donner_Focus();
    void Premier_Plan();
    void Arriere_Plan();
    void Rafraichir();

    // Place and size in twips, in the coordinates of the dashboard.
    void Placer(double gauche, double haut, double largeur, double hauteur);
    // Placed over the child area: follows it when the dashboard lays it out again.
    void Placer_Zone_Fille(double gauche, double haut, double largeur, double hauteur);
    bool Dans_Zone_Fille() const { return zone_fille_; }

    void Couleur_Fond(Couleur couleur);
    // Width in twips (ScaleWidth).
    double Largeur_Twips() const;

    // Stops every timer of the form (unload).
    void Arreter_Minuteries();

protected:
    void resizeEvent(QResizeEvent* evenement) override;

private:
    bool zone_fille_ = false;
};

// Sends key-up events of every control to its form's Form_KeyUp. Installed
// once, by the first form.
void Installer_Apercu_Clavier();

// Whether the program has the keyboard is asked as a box asks it, of the
// window system as it stands when these run (Operateur_Present), not taken
// from what the program last heard: work that held the event loop may end
// long after the operator went to another program. Where a box would wait,
// they do nothing but ask for attention; what they do goes out at once, not
// once the work in hand is over.
//
// Activates the window of `w` when the program already has the keyboard;
// while another program has it, the window only asks for attention as the
// desktop allows and the keyboard stays there: what runs on its own must not
// take it from someone typing elsewhere.
void Activer_Sans_Prendre_Clavier(QWidget* w);
// Brings the window of `w` in front of the others when the program has the
// keyboard; while another program has it, the window stays where it is and
// only asks for attention: coming over the program in use would leave its
// user typing into a window they no longer see.
void Monter_Sans_Prendre_Clavier(QWidget* w);
// Asks the desktop to draw the operator to the window of `w` (urgency hint).
void Demander_Attention(QWidget* w);

// Held while a box or a dialog is open. The handler that opened it is still
// running, and resumes on its own form once the box is answered: a form
// unloaded meanwhile (a key that reached it, a navigation) is deleted only
// once the last box has closed, and then after the handler has returned to
// the event loop.
class Boucle_Modale {
public:
    Boucle_Modale();
    ~Boucle_Modale();
    Boucle_Modale(const Boucle_Modale&) = delete;
    Boucle_Modale& operator=(const Boucle_Modale&) = delete;
};
// Deletes `objet` once no box is open and control is back in the event loop.
void Supprimer_Apres_Boites(QObject* objet);

}  // namespace ostrel
