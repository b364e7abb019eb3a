#include "platform/clavier.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace ostrel {
namespace {

std::function<bool()>& Source() {
    static std::function<bool()> source;
    return source;
}

#if QT_CONFIG(xcb)
template <typename T>
using Reponse_X = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reponse_X<T> Reponse(T* r) {
    return Reponse_X<T>(r, &std::free);
}

// Where the focus is the root window, or follows the pointer (no window
// manager: X gives the keyboard back to the root when a dialog closes), the
// keys go to the window under the pointer. Walked down from the root, the
// windows under the pointer are the window manager's frame, if any, then the
// program's own window; the pointer on the bare root is on no program.
bool Pointeur_Ailleurs(xcb_connection_t* connexion, xcb_window_t racine, const std::set<xcb_window_t>& nos_fenetres) {
    auto pointeur = Reponse(xcb_query_pointer_reply(connexion, xcb_query_pointer(connexion, racine), nullptr));
    if (!pointeur) return false;
    // The pointer on another screen: its root is where the keys go.
    if (!pointeur->same_screen)
        pointeur = Reponse(xcb_query_pointer_reply(connexion, xcb_query_pointer(connexion, pointeur->root), nullptr));
    xcb_window_t fenetre = pointeur ? pointeur->child : XCB_NONE;
    if (fenetre == XCB_NONE) return false;
    for (int niveau = 0; niveau < 32 && fenetre != XCB_NONE; ++niveau) {
        if (nos_fenetres.count(fenetre)) return false;
        auto dessous = Reponse(xcb_query_pointer_reply(connexion, xcb_query_pointer(connexion, fenetre), nullptr));
        fenetre = dessous ? dessous->child : XCB_NONE;
    }
    return true;
}

// The X server's answer; none when the program does not run on X11.
std::optional<Lecture_Clavier> Lire_Clavier_X11() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connexion = x11 ? x11->connection() : nullptr;
    if (!connexion) return std::nullopt;
    auto focus = Reponse(xcb_get_input_focus_reply(connexion, xcb_get_input_focus(connexion), nullptr));
    if (!focus) return std::nullopt;
    xcb_window_t fenetre = focus->focus;
    std::set<xcb_window_t> nos_fenetres;
    for (QWindow* w : QGuiApplication::allWindows())
        if (w->handle()) nos_fenetres.insert(static_cast<xcb_window_t>(w->winId()));
    std::set<xcb_window_t> racines;
    for (xcb_screen_iterator_t e = xcb_setup_roots_iterator(xcb_get_setup(connexion)); e.rem; xcb_screen_next(&e))
        racines.insert(e.data->root);
    // No focus at all lasts only while a window manager passes the keyboard
    // from one window to the next: read as the root, where the pointer decides.
    if (fenetre == XCB_NONE || fenetre == XCB_INPUT_FOCUS_POINTER_ROOT || racines.count(fenetre)) {
        const xcb_window_t racine = racines.count(fenetre) ? fenetre : *racines.begin();
        return Lecture_Clavier{Pointeur_Ailleurs(connexion, racine, nos_fenetres), true};
    }
    // The focus may sit on a window inside one of ours.
    for (int niveau = 0; niveau < 32; ++niveau) {
        if (nos_fenetres.count(fenetre)) return Lecture_Clavier{};
        auto arbre = Reponse(xcb_query_tree_reply(connexion, xcb_query_tree(connexion, fenetre), nullptr));
        if (!arbre || arbre->parent == XCB_NONE || racines.count(arbre->parent)) break;
        fenetre = arbre->parent;
    }
    return Lecture_Clavier{true, false};
}
#endif

}  // namespace

Lecture_Clavier Lire_Clavier() {
    if (Source()) return {Source()(), false};
#if QT_CONFIG(xcb)
    if (const std::optional<Lecture_Clavier> x11 = Lire_Clavier_X11()) return *x11;
#endif
    // The program's windows are those of its widgets.
    const QWindow* focus = QGuiApplication::focusWindow();
    return {!focus || !focus->inherits("QWidgetWindow"), false};
}

bool Clavier_Ailleurs() { return Lire_Clavier().ailleurs; }

void Definir_Clavier_Ailleurs(std::function<bool()> source) { Source() = std::move(source); }

namespace {

// A box closed at the keyboard, and the program has not waited since: what
// follows is the same piece of work, answered by someone at the program.
bool suite_de_boite = false;
QMetaObject::Connection fin_de_suite;

void Oublier_Suite() {
    suite_de_boite = false;
    QObject::disconnect(fin_de_suite);
}

}  // namespace

void Noter_Boite_Fermee(bool au_clavier) {
    Oublier_Suite();
    QAbstractEventDispatcher* boucle = QAbstractEventDispatcher::instance();
    if (!au_clavier || !boucle) return;
    suite_de_boite = true;
    // The program waiting for an event is the end of that piece of work: the
    // operator may leave from then on.
    fin_de_suite = QObject::connect(boucle, &QAbstractEventDispatcher::aboutToBlock, boucle, &Oublier_Suite);
}

Presence Operateur_Present() {
    const Lecture_Clavier lecture = Lire_Clavier();
    if (suite_de_boite && !(lecture.ailleurs && !lecture.par_pointeur)) return Presence::Ici;
    if (lecture.ailleurs) return Presence::Ailleurs;
    return lecture.par_pointeur ? Presence::Sans_Doute_Ici : Presence::Ici;
}

}  // namespace ostrel
