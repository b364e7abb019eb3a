// The box that waits for the operator, against a real X server: who has the
// keyboard is the server's answer, not a scripted one. This program runs on
// its own Xvfb, started here, with a second client of that server standing
// for another program and for the operator's hands (XTest), and no window
// manager: the kiosk set-up where the focus falls back to the root window.
#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include <sys/prctl.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include "platform/dialogues.h"
#include "platform/ui/boites_qt.h"
#include "platform/ui/forme.h"
#include "platform/ui/registre_formes.h"

using namespace ostrel;

namespace {

// Xvfb on a free display, which it names itself.
struct Serveur_X {
    QProcess xvfb;
    QByteArray affichage;

    // Without MIT-SCREEN-SAVER when `economiseur` is false: the server keeps
    // no record of the last input that the program can ask for.
    QString Demarrer(bool economiseur) {
        // Gone with the test, even one that a sanitizer ends, and asked to
        // go so that it takes its socket and lock file with it.
        xvfb.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        QStringList arguments{QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")};
        if (!economiseur) arguments << QStringLiteral("-extension") << QStringLiteral("MIT-SCREEN-SAVER");
        xvfb.start(QStringLiteral("Xvfb"), arguments);
        if (!xvfb.waitForStarted(30000)) return QStringLiteral("Xvfb ne démarre pas : ") + xvfb.errorString();
        while (!xvfb.canReadLine() && xvfb.waitForReadyRead(30000)) {
        }
        const QByteArray numero = xvfb.readLine().trimmed();
        if (numero.isEmpty()) return QStringLiteral("Xvfb n'a pas donné d'écran : ") + QString::fromLocal8Bit(xvfb.readAllStandardError());
        affichage = ':' + numero;
        return {};
    }
    ~Serveur_X() {
        xvfb.terminate();
        if (!xvfb.waitForFinished(10000)) {
            xvfb.kill();
            xvfb.waitForFinished(10000);
        }
    }
};

template <typename T>
std::unique_ptr<T, decltype(&std::free)> Reponse(T* r) {
    return {r, &std::free};
}

// The time a hand takes to go from the keyboard to the mouse, or to another
// program: input sent at once would come within the millisecond the
// server's clock reads.
void Main_Qui_Bouge() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

// Another program's window, and the operator's keyboard and mouse.
class Autre_Programme {
public:
    xcb_connection_t* c = nullptr;
    xcb_window_t racine = 0, fenetre = 0;

    explicit Autre_Programme(const QByteArray& affichage) {
        c = xcb_connect(affichage.constData(), nullptr);
        racine = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        fenetre = xcb_generate_id(c);
        const uint32_t masque = XCB_EVENT_MASK_KEY_PRESS;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, fenetre, racine, 600, 0, 300, 300, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &masque);
        xcb_map_window(c, fenetre);
        // The program's requests for attention go to the root window, where
        // a window manager would take them.
        const uint32_t racine_masque = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, racine, XCB_CW_EVENT_MASK, &racine_masque);
        Synchro();
    }
    ~Autre_Programme() { xcb_disconnect(c); }

    // Every request done by the server before the program looks.
    void Synchro() { std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }
    void Focus(xcb_window_t f) {
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, f, XCB_CURRENT_TIME);
        Synchro();
    }
    void Pointeur(int x, int y) {
        Main_Qui_Bouge();
        xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, racine, static_cast<int16_t>(x), static_cast<int16_t>(y), 0);
        Synchro();
    }
    void Clic(int x, int y) {
        Pointeur(x, y);
        xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        Synchro();
    }
    void Touche(uint8_t type, xcb_keysym_t symbole) {
        xcb_test_fake_input(c, type, Code(symbole), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        Synchro();
    }
    void Entree(xcb_keysym_t symbole = 0xff0d) {
        Touche(XCB_KEY_PRESS, symbole);
        Touche(XCB_KEY_RELEASE, symbole);
    }
    void Echap() { Entree(0xff1b); }
    // Keys pressed and released in the window `f` whoever has the keyboard,
    // all together as a fast keyboard sends them.
    void Touche_Vers(xcb_window_t f, std::initializer_list<xcb_keysym_t> symboles = {0xff0d}) {
        for (const xcb_keysym_t symbole : symboles)
            for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
                xcb_key_press_event_t e{};
                e.response_type = type;
                e.detail = Code(symbole);
                e.root = racine;
                e.event = f;
                e.same_screen = 1;
                xcb_send_event(c, 0, f, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE, reinterpret_cast<const char*>(&e));
            }
        Synchro();
    }
    // The other program's window brought in front, as it is used.
    void Monter() {
        const uint32_t dessus = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c, fenetre, XCB_CONFIG_WINDOW_STACK_MODE, &dessus);
        Synchro();
    }
    // Whether `f` lies in front of the other program's window.
    bool Devant(xcb_window_t f) {
        auto arbre = Reponse(xcb_query_tree_reply(c, xcb_query_tree(c, racine), nullptr));
        const xcb_window_t* filles = xcb_query_tree_children(arbre.get());
        const xcb_window_t* fin = filles + xcb_query_tree_children_length(arbre.get());
        return std::find(filles, fin, f) > std::find(filles, fin, fenetre);
    }
    xcb_window_t Focus_Actuel() {
        auto r = Reponse(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        return r ? r->focus : XCB_NONE;
    }
    // The program asked the desktop for the operator's attention since the last call.
    bool Attention_Demandee() {
        const xcb_atom_t etat = Atome("_NET_WM_STATE"), attention = Atome("_NET_WM_STATE_DEMANDS_ATTENTION");
        bool demandee = false;
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* m = reinterpret_cast<xcb_client_message_event_t*>(e);
                if (m->type == etat && m->data.data32[0] == 1 &&
                    (m->data.data32[1] == attention || m->data.data32[2] == attention))
                    demandee = true;
            }
            std::free(e);
        }
        return demandee;
    }

    xcb_keycode_t Code(xcb_keysym_t symbole) {
        const xcb_setup_t* s = xcb_get_setup(c);
        const int nombre = s->max_keycode - s->min_keycode + 1;
        auto carte = Reponse(xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, s->min_keycode, static_cast<uint8_t>(nombre)), nullptr));
        const xcb_keysym_t* symboles = xcb_get_keyboard_mapping_keysyms(carte.get());
        for (int k = 0; k < nombre * carte->keysyms_per_keycode; ++k)
            if (symboles[k] == symbole) return static_cast<xcb_keycode_t>(s->min_keycode + k / carte->keysyms_per_keycode);
        return 0;
    }

private:
    xcb_atom_t Atome(const char* nom) {
        auto r = Reponse(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(nom)), nom), nullptr));
        return r ? r->atom : XCB_NONE;
    }
};

QMessageBox* Boite_Montree() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) return b;
    return nullptr;
}

// Shown, and given the keyboard: the next key typed is its own.
bool Boite_Au_Clavier() {
    QMessageBox* boite = Boite_Montree();
    return boite && QApplication::activeWindow() == boite;
}

// Steps run from inside the box's own event loops, each when the one before
// is done, for as long as the box is open; a step never reached, or a box
// never answered, is a failure, and every loop is left so that the test ends
// instead of hanging.
class Script {
public:
    explicit Script(std::vector<std::pair<const char*, std::function<bool()>>> pas) : pas_(std::move(pas)) {
        QObject::connect(&minuterie_, &QTimer::timeout, [this] { Avancer(); });
        minuterie_.start(10);
        temps_.start();
    }
    bool Fini() const { return i_ == pas_.size(); }

private:
    void Avancer() {
        // A step that runs a box of its own is not run again from its loop.
        if (en_cours_) return;
        en_cours_ = true;
        while (i_ < pas_.size() && pas_[i_].second()) {
            ++i_;
            temps_.restart();
        }
        en_cours_ = false;
        // Once every step is done, the box is left to take its answer.
        if (temps_.elapsed() > 30000) {
            ADD_FAILURE() << "jamais atteint : " << (Fini() ? "la réponse prise par la boîte" : pas_[i_].first);
            minuterie_.stop();
            QCoreApplication::exit(1);
        }
    }
    std::vector<std::pair<const char*, std::function<bool()>>> pas_;
    size_t i_ = 0;
    bool en_cours_ = false;
    QTimer minuterie_;
    QElapsedTimer temps_;
};


// A screen of the program, counting the keys that act on it.
class Ecran : public Forme {
public:
    using Forme::Forme;
    int touches = 0;
    void Form_KeyUp(int&, int) override { ++touches; }
};

// The presses of a key that reach the program from the server, repeats
// included, whatever becomes of them.
class Appuis_Recus : public QAbstractNativeEventFilter {
public:
    explicit Appuis_Recus(xcb_keycode_t code) : code_(code) { qApp->installNativeEventFilter(this); }
    int appuis = 0;
    bool relachee = false;
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* e = static_cast<const xcb_key_press_event_t*>(message);
        const int type = e->response_type & 0x7f;
        if ((type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) && e->detail == code_) {
            appuis += type == XCB_KEY_PRESS;
            relachee = type == XCB_KEY_RELEASE;
        }
        return false;
    }

private:
    xcb_keycode_t code_;
};

// The program waits for the operator's next action: what the last box
// answered is behind it.
void Au_Repos() {
    QEventLoop boucle;
    QTimer::singleShot(1, &boucle, &QEventLoop::quit);
    boucle.exec();
}

}  // namespace

// Run a second time by CTest on a server without MIT-SCREEN-SAVER: where the
// server keeps no record of the last input, where the keys go decides alone.
TEST(Boites_X11, LaBoiteAttendLOperateurQuandUnAutreProgrammeALeClavier) {
    const bool economiseur = !qEnvironmentVariableIsSet("OSTREL_ESSAI_SANS_ECONOMISEUR");
    Serveur_X serveur;
    if (const QString raison = serveur.Demarrer(economiseur); !raison.isEmpty()) GTEST_SKIP() << raison.toStdString();
    qputenv("DISPLAY", serveur.affichage);
    qputenv("QT_QPA_PLATFORM", "xcb");
    static int argc = 1;
    static char nom[] = "boites_x11";
    static char* argv[] = {nom, nullptr};
    QApplication application(argc, argv);
    Autre_Programme autre(serveur.affichage);

    Ecran ostrel(QStringLiteral("Frm_Essai"));
    ostrel.setGeometry(0, 0, 400, 300);
    QPushButton bouton(QStringLiteral("Quitter"), &ostrel);
    bouton.setGeometry(0, 250, 120, 40);
    int appuis = 0;
    QObject::connect(&bouton, &QPushButton::clicked, [&] { ++appuis; });
    ostrel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ostrel));
    const auto fenetre = static_cast<xcb_window_t>(ostrel.winId());
    autre.Focus(fenetre);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &ostrel; }, 30000));
    Boites_Qt boites;

    // Shown and answered by Return, the other program never asked to let
    // the operator come: at once (it never waited), or once the window
    // system's word has held.
    auto montree = [&](const char* cas, bool aussitot, const char* texte = "Sauvegarde terminée!") {
        bool attendue = false;
        Script script({{cas, [&] { return Boite_Au_Clavier() && ((attendue = Boite_Montree()->property("ostrel_attendue").toBool()), true); }},
                       {"Entrée", [&] { autre.Entree(); return true; }}});
        EXPECT_EQ(boites.MsgBox(QString::fromUtf8(texte)), vbOK) << cas;
        EXPECT_FALSE(aussitot && attendue) << cas;
        EXPECT_FALSE(autre.Attention_Demandee()) << cas;
        EXPECT_TRUE(script.Fini()) << cas;
    };
    // Hidden, with the program asking for attention, while `depart` leaves
    // the keyboard elsewhere; shown once `retour` brings the operator back,
    // then answered by Return.
    // (`attention` false: asked already, by a box before, and not over.)
    auto attente = [&](const char* cas, const std::function<void()>& retour, const std::function<bool()>& pendant,
                       bool attention = true) {
        bool montree_trop_tot = false;
        Script script({{"attention demandée",
                        [&] {
                            montree_trop_tot = montree_trop_tot || Boite_Montree();
                            return autre.Attention_Demandee() || !attention;
                        }},
                       {"attente", [&] {
                            montree_trop_tot = montree_trop_tot || Boite_Montree();
                            return pendant();
                        }},
                       {"retour", [&] { retour(); return true; }},
                       {"boîte montrée au retour", Boite_Au_Clavier},
                       {"Entrée", [&] { autre.Entree(); return true; }}});
        EXPECT_EQ(boites.MsgBox(QStringLiteral("Voulez vous purger les enregistrements du module ?"), vbYesNo), vbYes) << cas;
        EXPECT_FALSE(montree_trop_tot) << cas;
        EXPECT_TRUE(script.Fini()) << cas;
    };
    auto attend = [&](const char* cas, const std::function<void()>& depart, const std::function<void()>& retour,
                      const std::function<bool()>& pendant = [] { return true; }) {
        // From the program in use: its request for attention of the last
        // time is over, and so is the box it answered.
        autre.Focus(fenetre);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &ostrel; }, 30000)) << cas;
        Au_Repos();
        autre.Attention_Demandee();
        depart();  // the program hears of it only from the server
        attente(cas, retour, pendant);
    };
    const auto sur_ostrel = [&] { autre.Pointeur(380, 20); };
    const auto sur_autre = [&] { autre.Pointeur(750, 150); };
    const auto retour_ostrel = [&] { autre.Focus(fenetre); };
    const auto reste_ailleurs = [&] { autre.Focus(autre.fenetre); };
    // A box right after one of the program's own closed at the keyboard,
    // the keyboard fallen back to the root and the pointer resting on the
    // other program: the operator's, shown at once; without the server's
    // record, the pointer decides.
    const auto apres_une_notre = [&](const char* cas, bool attention = true) {
        if (economiseur)
            montree(cas, true);
        else
            attente(cas, sur_ostrel, [] { return true; }, attention);
    };

    // The keyboard in the other program: the box waits for the operator.
    attend("focus sur l'autre programme", reste_ailleurs, retour_ostrel);
    // The keyboard back to the root window (a dialog closed), following the
    // pointer, or on no window: the box belongs to whoever the pointer is on.
    for (const xcb_window_t focus : {autre.racine, xcb_window_t(XCB_INPUT_FOCUS_POINTER_ROOT), xcb_window_t(XCB_NONE)}) {
        autre.Focus(fenetre);
        Au_Repos();
        sur_ostrel();
        autre.Focus(focus);
        montree("focus hors des fenêtres, pointeur sur Ostrel", false);
        attend("focus hors des fenêtres, pointeur sur l'autre programme", [&] { sur_autre(); autre.Focus(focus); }, sur_ostrel);
    }
    // A box due in such a moment, as the keyboard passes between two windows
    // of the other program, waits until the moment has held.
    attend("focus sur aucune fenêtre un instant, pointeur sur Ostrel", [&] {
        sur_ostrel();
        autre.Focus(XCB_NONE);
        QTimer::singleShot(0, reste_ailleurs);
    }, retour_ostrel);
    // Right after one of its own boxes closed at the keyboard, the box that
    // follows is the operator's whatever the pointer rests on.
    autre.Focus(fenetre);
    sur_autre();
    Au_Repos();
    montree("boîte d'Ostrel", true, "Imprimer le tableau numérique ?");
    autre.Focus(autre.racine);
    apres_une_notre("juste après une boîte d'Ostrel");
    // The window helpers give a box's answer: where only the pointer says
    // the operator is here, the window is not activated; after a press in
    // it, it is.
    Au_Repos();
    sur_ostrel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeWindow(); }, 30000));
    Activer_Sans_Prendre_Clavier(&ostrel);
    EXPECT_NE(autre.Focus_Actuel(), fenetre);
    // (Without the server's record, still asked since the box before.)
    EXPECT_TRUE(autre.Attention_Demandee() || !economiseur);
    autre.Clic(380, 20);
    Au_Repos();
    Activer_Sans_Prendre_Clavier(&ostrel);
    if (economiseur) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &ostrel; }, 30000));
        EXPECT_FALSE(autre.Attention_Demandee());
    }

    // A click or a key in the program while the server says the keyboard is
    // elsewhere (a window manager gone, its settings left on the root window)
    // brings the box, and presses nothing under it: the key's release, come
    // with its press, acts on no screen.
    attend("clic dans Ostrel", reste_ailleurs, [&] { autre.Clic(30, 270); });
    EXPECT_EQ(appuis, 0);
    // Nor do the keys that come with it, in one burst, before the box is on
    // the screen (Escape and Q act on a screen's key-up).
    attend("touche dans Ostrel", reste_ailleurs, [&] { autre.Touche_Vers(fenetre, {0xff0d, 0xff1b, 'q'}); });
    EXPECT_EQ(ostrel.touches, 0);

    // A second box due while the first waits: each shows and takes its Return.
    int seconde = -1;
    attend("deux boîtes", reste_ailleurs, retour_ostrel, [&] {
        Script script({{"seconde boîte en attente", [&] { return !Boite_Montree(); }},
                       {"retour pour la seconde", [&] { retour_ostrel(); return true; }},
                       {"seconde boîte montrée", Boite_Au_Clavier},
                       {"Entrée dans la seconde", [&] { autre.Entree(); return true; }}});
        seconde = boites.MsgBox(QStringLiteral("Sauvegarde terminée!"));
        EXPECT_TRUE(script.Fini());
        return true;
    });
    EXPECT_EQ(seconde, vbOK);
    // A box shown while another waits ends that wait: the operator, back for
    // a moment, went again before answering it.
    attend("une boîte montrée pendant l'attente", reste_ailleurs, reste_ailleurs, [&] {
        retour_ostrel();
        QMessageBox* seconde_boite = nullptr;
        Script script({{"seconde boîte montrée", [&] { return (seconde_boite = Boite_Montree()) != nullptr; }},
                       {"reparti", [&] { reste_ailleurs(); return true; }},
                       {"touche dans la seconde", [&] { autre.Touche_Vers(static_cast<xcb_window_t>(seconde_boite->winId())); return true; }}});
        EXPECT_EQ(boites.MsgBox(QStringLiteral("Sauvegarde terminée!")), vbOK);
        EXPECT_TRUE(script.Fini());
        return true;
    });
    // Two boxes waiting, a file dialog due as the operator comes back: it
    // ends both waits and gets its Escape; closed at the keyboard, the box
    // that follows it shows at once,
    // the keyboard fallen back to the root and the pointer on the other
    // program; then both boxes show in turn, though the server still says
    // the keyboard is elsewhere.
    attend("deux attentes, un dialogue de fichier", [&] { sur_autre(); reste_ailleurs(); }, reste_ailleurs, [&] {
        const auto dialogue = [&] {
            retour_ostrel();
            Script script({{"dialogue au clavier", [&] { return qobject_cast<QFileDialog*>(QApplication::activeWindow()) != nullptr; }},
                           {"Échap", [&] { autre.Echap(); return true; }}});
            Dialogue_Fichier d;
            EXPECT_FALSE(boites.ShowOpen(d));
            EXPECT_TRUE(script.Fini());
            autre.Focus(autre.racine);
            apres_une_notre("juste après le dialogue de fichier", false);
            return true;
        };
        Script script({{"seconde boîte en attente", [&] { return !Boite_Montree(); }},
                       {"dialogue de fichier", dialogue},
                       {"seconde boîte montrée", Boite_Au_Clavier},
                       {"Entrée dans la seconde", [&] { autre.Entree(); return true; }}});
        EXPECT_EQ(boites.MsgBox(QStringLiteral("Voulez vous purger les enregistrements du module ?"), vbYesNo), vbYes);
        EXPECT_TRUE(script.Fini());
        return true;
    });
    // The program's window gone while its box waits: nowhere to come back to.
    attend("fenêtre fermée", reste_ailleurs, [&] { ostrel.hide(); });
    ostrel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ostrel));

    // The other program in use, its dialogs opening and closing: at each
    // close the focus passes through no window or the pointer for a moment,
    // and the pointer rests on Ostrel. The box keeps waiting, and the other
    // program keeps the keyboard.
    std::atomic<bool> fini = false;
    std::thread passages;
    attend("passages du focus", [&] {
        sur_ostrel();
        reste_ailleurs();
        passages = std::thread([&, affichage = serveur.affichage] {
            xcb_connection_t* c = xcb_connect(affichage.constData(), nullptr);
            std::minstd_rand hasard(44);
            for (int i = 0; i < 120; ++i) {
                xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, i % 2 ? xcb_window_t(XCB_NONE) : xcb_window_t(XCB_INPUT_FOCUS_POINTER_ROOT), XCB_CURRENT_TIME);
                xcb_flush(c);
                std::this_thread::sleep_for(std::chrono::microseconds(2000 + hasard() % 3000));
                xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, autre.fenetre, XCB_CURRENT_TIME);
                std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
                std::this_thread::sleep_for(std::chrono::microseconds(10000 + hasard() % 20000));
            }
            xcb_disconnect(c);
            fini = true;
        });
    }, retour_ostrel, [&] {
        if (!fini) return false;
        EXPECT_EQ(autre.Focus_Actuel(), autre.fenetre);
        return true;
    });
    if (passages.joinable()) passages.join();

    // Something gave the keyboard to another program, nobody typing since:
    // the next key goes there, and the box waits.
    attend("focus donné à l'autre programme", [&] {
        montree("avant le focus donné", true);
        reste_ailleurs();
    }, retour_ostrel);
    // Answered at the keyboard, then a long save while the operator goes to
    // type in the other program, the keys following the pointer: the raise
    // asked right after the answer goes out then, not once the save is
    // over; what follows the save comes over nothing and waits.
    attend("longue sauvegarde, l'opérateur parti taper ailleurs", [&] {
        sur_ostrel();
        autre.Monter();
        montree("avant la sauvegarde", true, "Voulez vous enregistrer les données dans un fichier ?");
        autre.Focus(autre.racine);
        Monter_Sans_Prendre_Clavier(&ostrel);
        if (economiseur) {
            bool monte = false;
            for (int i = 0; i < 1000 && !(monte = autre.Devant(fenetre)); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_TRUE(monte);
        }
        autre.Monter();
        sur_autre();
        autre.Entree();
        Monter_Sans_Prendre_Clavier(&ostrel);
    }, retour_ostrel, [&] {
        EXPECT_FALSE(autre.Devant(fenetre));
        return true;
    });

    // The replace confirmation of the file dialog answered "Oui" at the
    // keyboard, the pointer resting on the other program, the key let go
    // once the dialog has closed (its release goes under the pointer): the
    // result box that follows is the operator's.
    {
        QTemporaryDir dossier;
        QFile existant(dossier.filePath(QStringLiteral("Journal_Alarmes.txt")));
        ASSERT_TRUE(existant.open(QIODevice::WriteOnly));
        autre.Focus(fenetre);
        sur_autre();
        Au_Repos();
        Script script({{"dialogue au clavier", [&] { return qobject_cast<QFileDialog*>(QApplication::activeWindow()) != nullptr; }},
                       {"Entrée", [&] { autre.Entree(); return true; }},
                       {"confirmation au clavier", Boite_Au_Clavier},
                       {"Oui", [&] { autre.Entree(0xff51); autre.Touche(XCB_KEY_PRESS, 0xff0d); return true; }}});
        Dialogue_Fichier d;
        d.Confirmer_Ecrasement = true;
        d.InitDir = dossier.path();
        d.FileName = existant.fileName();
        EXPECT_TRUE(boites.ShowSave(d));
        EXPECT_TRUE(script.Fini());
        autre.Touche(XCB_KEY_RELEASE, 0xff0d);
        apres_une_notre("après la confirmation de remplacement");
    }

    // Keys typed in the program's window while it works, the keys following
    // the pointer, before its next box: read before the question, they are
    // the operator at the program; none acts on the screen below, nor
    // answers the box, which takes the key typed once it is there.
    autre.Focus(fenetre);
    Au_Repos();
    sur_ostrel();
    autre.Focus(autre.racine);
    ostrel.touches = 0;
    for (const xcb_keysym_t touche : {xcb_keysym_t(0xff0d), xcb_keysym_t(0xff1b), xcb_keysym_t('q')}) autre.Entree(touche);
    montree("touches tapées d'avance", economiseur, "Indentification non reconnu par le Module !");
    Au_Repos();
    EXPECT_EQ(ostrel.touches, 0);
    // A key held down since before a box or a dialog, in the program's
    // window: its repeats and its release answer nothing; the next key does.
    const auto touche_tenue = [&](const char* cas, xcb_keysym_t reponse, const std::function<void()>& montrer) {
        Appuis_Recus repetitions(autre.Code(0xff0d));
        autre.Focus(fenetre);
        autre.Touche(XCB_KEY_PRESS, 0xff0d);
        const auto au_clavier = [] { return QApplication::activeWindow() && qobject_cast<QDialog*>(QApplication::activeWindow()); };
        Script script({{cas, au_clavier},
                       {"répétitions", [&] { return repetitions.appuis >= 5; }},
                       {"relâchée", [&] { autre.Touche(XCB_KEY_RELEASE, 0xff0d); return true; }},
                       {"relâche reçue", [&] { return repetitions.relachee && au_clavier(); }},
                       {"réponse", [&] { autre.Entree(reponse); return true; }}});
        montrer();
        EXPECT_TRUE(script.Fini()) << cas;
    };
    touche_tenue("boîte, Entrée tenue", 0xff0d, [&] { EXPECT_EQ(boites.MsgBox(QStringLiteral("Sauvegarde terminée!")), vbOK); });
    Couleur c = 0;
    touche_tenue("couleurs, Entrée tenue", 0xff1b, [&] { EXPECT_FALSE(boites.ShowColor(c, QStringLiteral("Couleur"))); });
    Choix_Police police;
    touche_tenue("polices, Entrée tenue", 0xff1b, [&] { EXPECT_FALSE(boites.ShowFont(police)); });
    Au_Repos();
    EXPECT_EQ(ostrel.touches, 0);

    // A screen unloaded while its own box is open (a key that reached it, a
    // navigation) stands until its handler has returned to the event loop.
    Registre_Formes registre;
    registre.Enregistrer(QStringLiteral("Frm_Code"), [] { return new Ecran(QStringLiteral("Frm_Code")); });
    registre.Charger(QStringLiteral("Frm_Code"));
    QPointer<Forme> ecran = registre.Instance(QStringLiteral("Frm_Code"));
    autre.Focus(fenetre);
    Au_Repos();
    Script script({{"boîte au clavier", Boite_Au_Clavier},
                   {"écran déchargé", [&] { registre.Decharger(QStringLiteral("Frm_Code")); return true; }},
                   {"Entrée", [&] { autre.Entree(); return true; }}});
    boites.MsgBox(QStringLiteral("Indentification non reconnu par le Module !"));
    EXPECT_TRUE(script.Fini());
    EXPECT_TRUE(ecran);
    Au_Repos();
    EXPECT_FALSE(ecran);
}
