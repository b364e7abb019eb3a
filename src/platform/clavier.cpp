#include "platform/clavier.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
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
// The X server's answer; none when the program does not run on X11.
std::optional<bool> Clavier_Ailleurs_X11() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connexion = x11 ? x11->connection() : nullptr;
    if (!connexion) return std::nullopt;
    xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(connexion, xcb_get_input_focus(connexion), nullptr);
    if (!focus) return std::nullopt;
    xcb_window_t fenetre = focus->focus;
    std::free(focus);
    if (fenetre == XCB_NONE || fenetre == XCB_INPUT_FOCUS_POINTER_ROOT) return false;
    std::set<xcb_window_t> nos_fenetres;
    for (QWindow* w : QGuiApplication::allWindows())
        if (w->handle()) nos_fenetres.insert(static_cast<xcb_window_t>(w->winId()));
    // The focus may sit on a window inside one of ours; the walk up stops at
    // the root, which no program owns.
    for (int niveau = 0; niveau < 32; ++niveau) {
        if (nos_fenetres.count(fenetre)) return false;
        xcb_query_tree_reply_t* arbre = xcb_query_tree_reply(connexion, xcb_query_tree(connexion, fenetre), nullptr);
        if (!arbre) break;
        const xcb_window_t parent = arbre->parent, racine = arbre->root;
        std::free(arbre);
        if (fenetre == racine || parent == XCB_NONE) break;
        fenetre = parent;
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
