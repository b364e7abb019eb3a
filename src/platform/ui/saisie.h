#pragma once
// Input rules of the entry fields of the screens: the character filter of a
// field (KeyPress with its KeyAscii, set to 0 to drop the key), the select-all
// on a click, and the hooks that carry them onto a Qt line edit.
#include <QObject>
#include <functional>

class QKeyEvent;
class QLineEdit;

namespace ostrel {

constexpr int Code_Retour_Arriere = 8;
// The code a key stroke types, as a KeyPress sees it: the character's byte
// in the code page (accented letters above 127; 256 for a character the code
// page does not hold, which no filter accepts), 8 for Backspace, 13 for
// Enter, 27 for Esc, control codes for Ctrl+letter (22 for a paste). -1 for a
// key that types nothing (arrows, Tab, Delete, function keys): no KeyPress.
int Code_Frappe(const QKeyEvent* evenement);

// Accepts codes lo..hi, the extra code when there is one, and Backspace;
// any other code becomes 0.
void Filtrer_Plage(int& KeyAscii, int lo, int hi, int supplement = -1);

// Hooks of one line edit. KeyPress sees each typed character before the
// field; a KeyAscii set to 0 drops it. Click runs when the mouse button is
// released over the field. Text pasted or dropped would pass by the filter,
// so a filtered field takes neither drops, nor its context menu, nor the
// middle button's paste.
class Crochets_Champ : public QObject {
    Q_OBJECT
public:
    std::function<void(int& KeyAscii)> KeyPress;
    std::function<void()> Click;

    static Crochets_Champ* Installer(QLineEdit* champ);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    explicit Crochets_Champ(QLineEdit* champ);
};

// The field's key filter: characters lo..hi (and the extra code), Backspace.
void Filtre_Champ(QLineEdit* champ, int lo, int hi, int supplement = -1);
// A click selects the whole content (start 0, length the maximum length).
void Selection_Sur_Clic(QLineEdit* champ);

}  // namespace ostrel
