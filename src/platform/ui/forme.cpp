#include "platform/ui/forme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWindow>
#include <map>
#include <utility>
#include <vector>

#include "platform/clavier.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/textes_ajustes.h"
#include "platform/ui/touches.h"

namespace ostrel {
namespace {

class Apercu_Clavier : public QObject {
public:
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (!objet->isWidgetType()) return false;
        if (evenement->type() == QEvent::KeyPress) {
            auto* touche = static_cast<QKeyEvent*>(evenement);
            if (!touche->isAutoRepeat()) fenetre_appui_[touche->key()] = static_cast<QWidget*>(objet)->window();
            ignoree_ = nullptr;
            return false;
        }
        if (evenement->type() != QEvent::KeyRelease) return false;
        auto* touche = static_cast<QKeyEvent*>(evenement);
        if (touche->isAutoRepeat()) return false;
        auto* controle = static_cast<QWidget*>(objet);
        if (evenement == ignoree_) return false;  // on its way up to the parents
        // A key pressed in another window (the Esc or Enter that closed a
        // message box) must not act on the screen that gets its release.
        auto appui = fenetre_appui_.find(touche->key());
        if (appui != fenetre_appui_.end()) {
            const bool ailleurs = appui->second != controle->window();
            fenetre_appui_.erase(appui);
            if (ailleurs) {
                ignoree_ = evenement;
                return false;
            }
        }
        Forme* forme = nullptr;
        // Up to the window only: a message box over a form is not part of it.
        for (QWidget* w = controle; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
            forme = qobject_cast<Forme*>(w);
            if (forme) break;
        }
        if (!forme || !forme->KeyPreview || !forme->isEnabled()) return false;
        // The space bar clicks a button on its release: the button keeps it.
        // Elsewhere it would reach the form a second time on its way up.
        const bool espace = touche->key() == Qt::Key_Space;
        if (espace && controle != forme && !qobject_cast<QAbstractButton*>(controle)) return false;
        int code = Code_Touche(touche);
        forme->Form_KeyUp(code, Etat_Maj(touche->modifiers()));
        return !espace || controle == forme;
    }

private:
    std::map<int, QPointer<QWidget>> fenetre_appui_;
    const QEvent* ignoree_ = nullptr;
};

}  // namespace

void Installer_Apercu_Clavier() {
    static Apercu_Clavier* filtre = nullptr;
    if (filtre || !qApp) return;
    filtre = new Apercu_Clavier;
    filtre->setParent(qApp);
    qApp->installEventFilter(filtre);
}

namespace {

const char* const Nom_Attente_Attention = "ostrel_attente_attention";

int boucles_modales = 0;
std::vector<QPointer<QObject>>& A_Supprimer() {
    static std::vector<QPointer<QObject>> objets;
    return objets;
}

}  // namespace

Boucle_Modale::Boucle_Modale() { ++boucles_modales; }

Boucle_Modale::~Boucle_Modale() {
    if (--boucles_modales > 0) return;
    // Posted from the handler that opened the last box: Qt deletes them once
    // it has returned to the loop that called it.
    for (const QPointer<QObject>& objet : std::exchange(A_Supprimer(), {}))
        if (objet) objet->deleteLater();
}

void Supprimer_Apres_Boites(QObject* objet) {
    if (boucles_modales == 0)
        objet->deleteLater();
    else
        A_Supprimer().emplace_back(objet);
}

void Demander_Attention(QWidget* w) {
    QWidget* fenetre = w->window();
    if (!QApplication::activeWindow()) {
        QApplication::alert(fenetre);
        Envoyer_Au_Serveur();
        return;
    }
    // The desktop is asked only for a window the program knows inactive: it
    // has not heard yet that another program took the keyboard, and asks as
    // soon as it does (unless the operator is back by then).
    if (fenetre->findChild<QObject*>(QLatin1String(Nom_Attente_Attention), Qt::FindDirectChildrenOnly)) return;
    auto* attente = new QObject(fenetre);
    attente->setObjectName(QLatin1String(Nom_Attente_Attention));
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, attente, [attente, fenetre] {
        if (!QApplication::activeWindow()) QApplication::alert(fenetre);
        attente->deleteLater();
    });
}

void Activer_Sans_Prendre_Clavier(QWidget* w) {
    if (Operateur_Present() == Presence::Ici) {
        w->activateWindow();
        Envoyer_Au_Serveur();
    } else {
        Demander_Attention(w);
    }
}

void Monter_Sans_Prendre_Clavier(QWidget* w) {
    if (Operateur_Present() == Presence::Ici) {
        w->window()->raise();
        Envoyer_Au_Serveur();
    } else {
        Demander_Attention(w);
    }
}

Forme::Forme(const QString& nom, QWidget* parent) : QWidget(parent) {
    setObjectName(nom);
    setFocusPolicy(Qt::ClickFocus);
    Installer_Apercu_Clavier();
}

void Forme::Afficher() {
    show();
    raise();
}

void Forme::Activer(bool actif) { setEnabled(actif); }

void Forme::Donner_Focus() {
    if (isWindow()) activateWindow();
    // Back to the control that had the focus, else the first one that takes
    // it: a control hidden or disabled since would not take it, and the
    // keyboard would stay where it is.
    QWidget* cible = focusWidget();
    if (!cible || !isAncestorOf(cible) || !cible->isEnabled() || !cible->isVisibleTo(this)) {
        cible = nullptr;
        for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
            if (isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(this) && (w->focusPolicy() & Qt::TabFocus)) {
                cible = w;
                break;
            }
        }
    }
    (cible ? cible : this)->setFocus(Qt::OtherFocusReason);
}

void Forme::Premier_Plan() { raise(); }
void Forme::Arriere_Plan() { lower(); }
void Forme::Rafraichir() { repaint(); }

void Forme::Placer(double gauche, double haut, double largeur, double hauteur) {
    setGeometry(Twips_Vers_Pixels(gauche), Twips_Vers_Pixels(haut), Twips_Vers_Pixels(largeur),
                Twips_Vers_Pixels(hauteur));
}

void Forme::Placer_Zone_Fille(double gauche, double haut, double largeur, double hauteur) {
    zone_fille_ = true;
    Placer(gauche, haut, largeur, hauteur);
}

void Forme::Couleur_Fond(Couleur couleur) { ostrel::Couleur_Fond(this, couleur); }

double Forme::Largeur_Twips() const { return Pixels_Vers_Twips(width()); }

void Forme::Arreter_Minuteries() {
    for (Minuterie* m : findChildren<Minuterie*>()) m->Enabled(false);
}

void Forme::Redimensionner() {
    Form_Resize();
    Ajuster_Textes(this);
}

void Forme::resizeEvent(QResizeEvent* evenement) {
    QWidget::resizeEvent(evenement);
    Redimensionner();
}

}  // namespace ostrel
