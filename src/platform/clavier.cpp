#include "platform/clavier.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#if QT_CONFIG(xcb)
#include <xcb/screensaver.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>
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


#if QT_CONFIG(xcb)
// The server's record of input, and the program's own part in it. The
// program's input is read from the events Qt's connection brings (their
// server times); the rest from a connection of our own, which Qt's
// event processing does not hold back: the server's time, the time since
// the last input of any device, and every press and release of a key or a
// button wherever it went (XInput 2 raw events), to tell the release of a
// key pressed here from someone typing elsewhere.
class Suivi_X11 : public QObject, public QAbstractNativeEventFilter {
public:
    static Suivi_X11* Instance() { return instance_; }
    static void Installer() {
        if (!instance_ && QCoreApplication::instance()) instance_ = new Suivi_X11;
    }
    ~Suivi_X11() override {
        instance_ = nullptr;
        if (prive_) xcb_disconnect(prive_);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        if (!Pret()) return false;
        const auto* e = static_cast<const xcb_generic_event_t*>(message);
        switch (e->response_type & 0x7f) {
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE: {
            const auto* t = reinterpret_cast<const xcb_key_press_event_t*>(e);
            Noter(t->time, Touche | t->detail, (e->response_type & 0x7f) == XCB_KEY_PRESS);
            break;
        }
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE: {
            const auto* b = reinterpret_cast<const xcb_button_press_event_t*>(e);
            Noter(b->time, Bouton | b->detail, (e->response_type & 0x7f) == XCB_BUTTON_PRESS);
            break;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
            if (p->atom == repere_ && repere_ != XCB_NONE) {
                ++reperes_vus_;
                heure_repere_ = p->time;
                for (const auto& [numero, boucle] : attentes_repere_)
                    if (numero <= reperes_vus_) boucle->quit();
            }
            break;
        }
        case XCB_GE_GENERIC: {
            const auto* g = reinterpret_cast<const xcb_input_key_press_event_t*>(e);
            if (opcode_qt_ == 0 || g->extension != opcode_qt_) break;
            switch (g->event_type) {
            case XCB_INPUT_KEY_PRESS:
            case XCB_INPUT_KEY_RELEASE: Noter(g->time, Touche | (g->detail & 0xff), g->event_type == XCB_INPUT_KEY_PRESS); break;
            case XCB_INPUT_BUTTON_PRESS:
            case XCB_INPUT_BUTTON_RELEASE: Noter(g->time, Bouton | (g->detail & 0xff), g->event_type == XCB_INPUT_BUTTON_PRESS); break;
            case XCB_INPUT_TOUCH_BEGIN:
            case XCB_INPUT_TOUCH_END: Noter(g->time, Doigt, g->event_type == XCB_INPUT_TOUCH_BEGIN); break;
            default: break;
            }
            break;
        }
        default: break;
        }
        return false;
    }

    // Whether the last input of any device was the program's own.
    bool Derniere_Entree_A_Nous() {
        if (!Pret() || !economiseur_) return false;
        // Asked first: the query brings the server's clock up to date, which
        // the time read next then gives.
        auto info = Reponse(xcb_screensaver_query_info_reply(prive_, xcb_screensaver_query_info(prive_, racine_), nullptr));
        const std::optional<uint32_t> maintenant = Heure();
        if (!info || !maintenant || !derniere_) return false;
        const uint32_t derniere_entree = *maintenant - info->ms_since_user_input;
        uint32_t nous = *derniere_;
        if (brutes_) {
            // Presses and releases seen since, in order: only the releases of
            // keys and buttons pressed here carry the program's last input on.
            if (perdues_ && !Avant(perdues_jusqu_a_, nous)) return false;
            for (const Brute& b : brutes_recues_) {
                if (!Avant(nous, b.heure)) continue;
                const auto enfoncee = enfoncees_.find(b.cle);
                if (b.appui || enfoncee == enfoncees_.end() || Avant(b.heure, enfoncee->second)) return false;
                nous = b.heure;
            }
        }
        return !Avant(nous + Marge_Ms, derniere_entree);
    }

    std::optional<uint32_t> Heure() {
        if (!Pret()) return std::nullopt;
        xcb_change_property(prive_, XCB_PROP_MODE_APPEND, fenetre_, atome_heure_, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(prive_);
        while (xcb_generic_event_t* e = xcb_wait_for_event(prive_)) {
            std::optional<uint32_t> heure;
            if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
                if (p->window == fenetre_ && p->atom == atome_heure_) heure = p->time;
            } else {
                Ranger(e);
            }
            std::free(e);
            if (heure) return heure;
        }
        Fermer();
        return std::nullopt;
    }

    std::optional<uint32_t> Lire_Entrees_Recues() {
        if (!Pret()) return std::nullopt;
        xcb_window_t fenetre = XCB_NONE;
        for (QWindow* w : QGuiApplication::topLevelWindows())
            if (w->handle()) fenetre = static_cast<xcb_window_t>(w->winId());
        if (fenetre == XCB_NONE) return Heure();
        // A mark put on one of the program's windows comes back behind every
        // event the server sent before it.
        xcb_change_property(qt_, XCB_PROP_MODE_APPEND, fenetre, repere_, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(qt_);
        const uint64_t numero = ++reperes_envoyes_;
        QEventLoop boucle;
        attentes_repere_.emplace_back(numero, &boucle);
        // A server that does not answer is no reason to hang.
        QTimer::singleShot(1000, &boucle, &QEventLoop::quit);
        boucle.exec();
        attentes_repere_.erase(std::find(attentes_repere_.begin(), attentes_repere_.end(), std::make_pair(numero, &boucle)));
        return reperes_vus_ >= numero ? std::optional<uint32_t>(heure_repere_) : Heure();
    }

    void Envoyer() {
        if (Pret()) xcb_flush(qt_);
    }

    std::vector<uint8_t> Enfoncees() {
        std::vector<uint8_t> codes;
        if (!Pret()) return codes;
        auto carte = Reponse(xcb_query_keymap_reply(prive_, xcb_query_keymap(prive_), nullptr));
        for (int code = 0; carte && code < 256; ++code)
            if (carte->keys[code / 8] & (1u << (code % 8))) codes.push_back(static_cast<uint8_t>(code));
        return codes;
    }

private:
    // Keys, buttons and touches are told apart in one number.
    static constexpr uint32_t Touche = 0x100, Bouton = 0x200, Doigt = 0x400;
    // The server's record of the last input may come a millisecond after
    // the time its event carries; no hand moves from one program to another
    // that fast.
    static constexpr uint32_t Marge_Ms = 2;
    static constexpr size_t Brutes_Gardees = 512;
    struct Brute {
        uint32_t heure;
        uint32_t cle;
        bool appui;
    };

    Suivi_X11() : QObject(QCoreApplication::instance()) { QCoreApplication::instance()->installNativeEventFilter(this); }

    // Opened once, at the first event or question: Qt's connection is up by then.
    bool Pret() {
        if (!essaye_) Ouvrir();
        return pret_;
    }

    void Ouvrir() {
        essaye_ = true;
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        qt_ = x11 ? x11->connection() : nullptr;
        if (!qt_) return;
        const QByteArray affichage = qgetenv("DISPLAY");
        prive_ = xcb_connect(affichage.isEmpty() ? nullptr : affichage.constData(), nullptr);
        if (xcb_connection_has_error(prive_)) {
            xcb_disconnect(prive_);
            prive_ = nullptr;
            return;
        }
        racine_ = xcb_setup_roots_iterator(xcb_get_setup(prive_)).data->root;
        fenetre_ = xcb_generate_id(prive_);
        const uint32_t masque = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(prive_, 0, fenetre_, racine_, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_EVENT_MASK, &masque);
        atome_heure_ = Atome("_OSTREL_HEURE");
        repere_ = Atome("_OSTREL_REPERE");
        const char xwayland[] = "XWAYLAND";
        auto wayland = Reponse(xcb_query_extension_reply(prive_, xcb_query_extension(prive_, sizeof xwayland - 1, xwayland), nullptr));
        const xcb_query_extension_reply_t* economiseur = xcb_get_extension_data(prive_, &xcb_screensaver_id);
        economiseur_ = economiseur && economiseur->present && !(wayland && wayland->present);
        if (const xcb_query_extension_reply_t* xi = xcb_get_extension_data(qt_, &xcb_input_id); xi && xi->present)
            opcode_qt_ = xi->major_opcode;
        const xcb_query_extension_reply_t* xi = xcb_get_extension_data(prive_, &xcb_input_id);
        auto version = xi && xi->present ? Reponse(xcb_input_xi_query_version_reply(prive_, xcb_input_xi_query_version(prive_, 2, 2), nullptr))
                                         : Reponse<xcb_input_xi_query_version_reply_t>(nullptr);
        // Raw events reach a client that did not grab the devices from XInput 2.1 on.
        if (version && (version->major_version > 2 || (version->major_version == 2 && version->minor_version >= 1))) {
            struct {
                xcb_input_event_mask_t tete;
                uint32_t masque;
            } choix{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                    XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE |
                        XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE};
            opcode_brut_ = xi->major_opcode;
            brutes_ = !Reponse(xcb_request_check(prive_, xcb_input_xi_select_events_checked(prive_, racine_, 1, &choix.tete)));
        }
        pret_ = true;
        // What came before the raw events were heard is unknown.
        if (const std::optional<uint32_t> debut = Heure()) {
            perdues_ = true;
            perdues_jusqu_a_ = *debut;
        }
        auto* lecteur = new QSocketNotifier(xcb_get_file_descriptor(prive_), QSocketNotifier::Read, this);
        connect(lecteur, &QSocketNotifier::activated, this, [this] { Lire_Prive(); });
    }

    void Fermer() {
        pret_ = false;
        for (QSocketNotifier* n : findChildren<QSocketNotifier*>()) n->setEnabled(false);
    }

    xcb_atom_t Atome(const char* nom) {
        auto r = Reponse(xcb_intern_atom_reply(prive_, xcb_intern_atom(prive_, 0, static_cast<uint16_t>(std::strlen(nom)), nom), nullptr));
        return r ? r->atom : XCB_NONE;
    }

    void Noter(uint32_t heure, uint32_t cle, bool appui) {
        if (!derniere_ || !Avant(heure, *derniere_)) derniere_ = heure;
        if (appui)
            enfoncees_[cle] = heure;
        else
            enfoncees_.erase(cle);
    }

    void Lire_Prive() {
        if (!pret_) return;
        while (xcb_generic_event_t* e = xcb_poll_for_event(prive_)) {
            Ranger(e);
            std::free(e);
        }
        if (xcb_connection_has_error(prive_)) Fermer();
    }

    void Ranger(const xcb_generic_event_t* e) {
        if ((e->response_type & 0x7f) != XCB_GE_GENERIC) return;
        const auto* r = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(e);
        if (r->extension != opcode_brut_) return;
        uint32_t cle = 0;
        switch (r->event_type) {
        case XCB_INPUT_RAW_KEY_PRESS:
        case XCB_INPUT_RAW_KEY_RELEASE: cle = Touche | (r->detail & 0xff); break;
        case XCB_INPUT_RAW_BUTTON_PRESS:
        case XCB_INPUT_RAW_BUTTON_RELEASE: cle = Bouton | (r->detail & 0xff); break;
        default: return;
        }
        const bool appui = r->event_type == XCB_INPUT_RAW_KEY_PRESS || r->event_type == XCB_INPUT_RAW_BUTTON_PRESS;
        if (brutes_recues_.size() == Brutes_Gardees) {
            perdues_ = true;
            perdues_jusqu_a_ = brutes_recues_.front().heure;
            brutes_recues_.pop_front();
        }
        brutes_recues_.push_back({r->time, cle, appui});
    }

    static inline Suivi_X11* instance_ = nullptr;
    bool essaye_ = false, pret_ = false, economiseur_ = false, brutes_ = false;
    xcb_connection_t* qt_ = nullptr;
    xcb_connection_t* prive_ = nullptr;
    xcb_window_t racine_ = XCB_NONE, fenetre_ = XCB_NONE;
    xcb_atom_t atome_heure_ = XCB_NONE, repere_ = XCB_NONE;
    uint8_t opcode_qt_ = 0, opcode_brut_ = 0;
    // The program's own input: the time of the last press or release, and
    // what is held down here, with the time it was pressed.
    std::optional<uint32_t> derniere_;
    std::map<uint32_t, uint32_t> enfoncees_;
    std::deque<Brute> brutes_recues_;
    bool perdues_ = false;
    uint32_t perdues_jusqu_a_ = 0;
    uint64_t reperes_envoyes_ = 0, reperes_vus_ = 0;
    uint32_t heure_repere_ = 0;
    std::vector<std::pair<uint64_t, QEventLoop*>> attentes_repere_;
};

// From the program's start: the press that comes before its first box counts.
void Installer_Suivi_X11() { Suivi_X11::Installer(); }
Q_COREAPP_STARTUP_FUNCTION(Installer_Suivi_X11)
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

Presence Operateur_Present() {
    const Lecture_Clavier lecture = Lire_Clavier();
#if QT_CONFIG(xcb)
    Suivi_X11* suivi = Suivi_X11::Instance();
    if (!Source() && suivi && suivi->Derniere_Entree_A_Nous())
        return lecture.ailleurs && !lecture.par_pointeur ? Presence::Ailleurs : Presence::Ici;
#endif
    if (lecture.ailleurs) return Presence::Ailleurs;
    return lecture.par_pointeur ? Presence::Sans_Doute_Ici : Presence::Ici;
}

std::optional<uint32_t> Lire_Entrees_Recues() {
#if QT_CONFIG(xcb)
    if (Suivi_X11* suivi = Suivi_X11::Instance()) return suivi->Lire_Entrees_Recues();
#endif
    return std::nullopt;
}

std::vector<uint8_t> Touches_Enfoncees() {
#if QT_CONFIG(xcb)
    if (Suivi_X11* suivi = Suivi_X11::Instance()) return suivi->Enfoncees();
#endif
    return {};
}

void Envoyer_Au_Serveur() {
#if QT_CONFIG(xcb)
    if (Suivi_X11* suivi = Suivi_X11::Instance()) suivi->Envoyer();
#endif
}

}  // namespace ostrel
