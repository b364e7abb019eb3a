#include "platform/ui/saisie.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/cp1252.h"

namespace ostrel {

int Code_Frappe(const QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste)) return 22;
    switch (e->key()) {
    case Qt::Key_Backspace: return Code_Retour_Arriere;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    // Tab moves the focus before any field sees it.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return -1;
    default: break;
    }
    // Ctrl+letter types its control code, whatever text the platform gives the key.
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    const QString texte = e->text();
    if (texte.isEmpty()) return -1;
    // A key that types several characters at once is judged on its first one.
    const QChar c = texte.front();
    if (c.unicode() == 127 || c.unicode() == 9) return -1;
    if (c.unicode() < 32) return c.unicode();
    return Existe_En_Cp1252(c) ? Octet_Cp1252(c) : 256;
}

void Filtrer_Plage(int& KeyAscii, int lo, int hi, int supplement) {
    if (KeyAscii >= lo && KeyAscii <= hi) return;
    if (supplement >= 0 && KeyAscii == supplement) return;
    if (KeyAscii == Code_Retour_Arriere) return;
    KeyAscii = 0;
}

Crochets_Champ::Crochets_Champ(QLineEdit* champ) : QObject(champ) { champ->installEventFilter(this); }

Crochets_Champ* Crochets_Champ::Installer(QLineEdit* champ) {
    if (auto* existant = champ->findChild<Crochets_Champ*>(QString(), Qt::FindDirectChildrenOnly)) return existant;
    return new Crochets_Champ(champ);
}

bool Crochets_Champ::eventFilter(QObject* objet, QEvent* evenement) {
    if (evenement->type() == QEvent::KeyPress && KeyPress) {
        const int code = Code_Frappe(static_cast<QKeyEvent*>(evenement));
        if (code < 0) return false;
        int KeyAscii = code;
        KeyPress(KeyAscii);
        return KeyAscii == 0;
    }
    const bool souris = evenement->type() == QEvent::MouseButtonPress || evenement->type() == QEvent::MouseButtonRelease;
    // The middle button pastes the selection of another window, past the filter.
    if (souris && KeyPress && static_cast<QMouseEvent*>(evenement)->button() == Qt::MiddleButton) return true;
    if (evenement->type() == QEvent::MouseButtonRelease && Click) {
        // The field places its cursor on the press; the click comes after.
        auto* champ = static_cast<QLineEdit*>(objet);
        champ->event(evenement);
        Click();
        return true;
    }
    return false;
}

void Filtre_Champ(QLineEdit* champ, int lo, int hi, int supplement) {
    Crochets_Champ::Installer(champ)->KeyPress = [lo, hi, supplement](int& KeyAscii) {
        Filtrer_Plage(KeyAscii, lo, hi, supplement);
    };
    champ->setAcceptDrops(false);
    champ->setContextMenuPolicy(Qt::NoContextMenu);
}

void Selection_Sur_Clic(QLineEdit* champ) {
    Crochets_Champ::Installer(champ)->Click = [champ] { champ->setSelection(0, champ->maxLength()); };
}

}  // namespace ostrel
