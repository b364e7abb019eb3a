#include "platform/clavier.h"

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
std::optional<bool> Clavier_Ailleurs_X11() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connexion = x11 ? x11->connection() : nullptr;
    if (!connexion) return std::nullopt;
    auto focus = Reponse(xcb_get_input_focus_reply(connexion, xcb_get_input_focus(connexion), nullptr));
    if (!focus) return std::nullopt;
    xcb_window_t fenetre = focus->focus;
    if (fenetre == XCB_NONE) return false;  // the keys go nowhere
    std::set<xcb_window_t> nos_fenetres;
    for (QWindow* w : QGuiApplication::allWindows())
        if (w->handle()) nos_fenetres.insert(static_cast<xcb_window_t>(w->winId()));
    std::set<xcb_window_t> racines;
    for (xcb_screen_iterator_t e = xcb_setup_roots_iterator(xcb_get_setup(connexion)); e.rem; xcb_screen_next(&e))
        racines.insert(e.data->root);
    if (fenetre == XCB_INPUT_FOCUS_POINTER_ROOT || racines.count(fenetre))
        return Pointeur_Ailleurs(connexion, fenetre == XCB_INPUT_FOCUS_POINTER_ROOT ? *racines.begin() : fenetre,
                                 nos_fenetres);
    // The focus may sit on a window inside one of ours.
    for (int niveau = 0; niveau < 32; ++niveau) {
        if (nos_fenetres.count(fenetre)) return false;
        auto arbre = Reponse(xcb_query_tree_reply(connexion, xcb_query_tree(connexion, fenetre), nullptr));
        if (!arbre || arbre->parent == XCB_NONE || racines.count(arbre->parent)) break;
        fenetre = arbre->parent;
    }
    return true;
}
#endif

}  // namespace

bool Clavier_Ailleurs() {
    if (Source()) return Source()();
#if QT_CONFIG(xcb)
    if (const std::optional<bool> x11 = Clavier_Ailleurs_X11()) return *x11;
#endif
    return QGuiApplication::focusWindow() == nullptr;
}

void Definir_Clavier_Ailleurs(std::function<bool()> source) { Source() = std::move(source); }

}  // namespace ostrel
