// Every screen in a window colour of the site's choice: the captions laid on
// that colour read (contrast of 3:1 at least), those that read in their
// designed colour keep it.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <map>

#include "banc_ecrans.h"
#include "link/variables.h"
#include "platform/ui/couleurs_ui.h"

using namespace ostrel;
using namespace ostrel_test;

namespace {

constexpr Couleur Marine = 0x800000;

// The colour a caption is drawn in: its frame's sheet sets a group's title,
// the palette the rest.
Couleur Couleur_Dessinee(const QWidget* w) {
    if (qobject_cast<const QGroupBox*>(w) && !w->styleSheet().isEmpty() && w->property("ForeColor").isValid())
        return w->property("ForeColor").value<Couleur>();
    return Depuis_QColor(w->palette().color(QPalette::Active, QPalette::WindowText));
}

// Whether the caption is laid on the screen's own background: no control
// between them fills its own.
bool Sur_Le_Fond(const QWidget* w, const QWidget* ecran) {
    for (const QWidget* a = w; a; a = a->parentWidget()) {
        if (a->autoFillBackground() && Depuis_QColor(a->palette().color(a->backgroundRole())) != Couleur_Fenetre)
            return false;
        if (a != w && a->styleSheet().contains(QLatin1String("background"))) return false;
        if (a == ecran) return true;
    }
    return false;
}

// The captions of a screen that show on the window colour, with the colour they are drawn in.
std::vector<std::pair<const QWidget*, Couleur>> Legendes(const QWidget* ecran) {
    std::vector<std::pair<const QWidget*, Couleur>> l;
    for (const QWidget* w : ecran->findChildren<QWidget*>()) {
        bool texte = false;
        if (const auto* e = qobject_cast<const QLabel*>(w)) texte = !e->text().isEmpty();
        else if (const auto* g = qobject_cast<const QGroupBox*>(w)) texte = !g->title().isEmpty();
        else if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            texte = !qobject_cast<const QPushButton*>(w) && !b->text().isEmpty();
        else if (const auto* t = qobject_cast<const QTabBar*>(w)) texte = t->count() > 0;
        // What shows; a control out of use is greyed on purpose.
        if (texte && w->isEnabled() && w->isVisibleTo(ecran) && Sur_Le_Fond(w, ecran))
            l.emplace_back(w, Couleur_Dessinee(w));
    }
    return l;
}

class Couleurs_Ecrans : public Banc_Ecrans {};

}  // namespace

TEST_F(Couleurs_Ecrans, LegendesLisiblesSurLaCouleurDeFenetre) {
    Demarrer({1024, 768});
    // The default teal: each caption in its designed colour, the black ones among them.
    std::map<QString, Couleur> dessinees;
    Parcourir([&](const QString& ecran, Forme* f) {
        for (const auto& [w, c] : Legendes(f)) dessinees[ecran + QLatin1Char('/') + w->objectName()] = c;
    });
    for (const char* noir : {"Réglages Module/Frame_Param_OC", "Réglages Module/Lbl_Semaine_Plage1_Deb",
                             "Réglages Module/TabStrip_Num_Planning", "Réglages des voies/TabStrip_Voies",
                             "Réglages Netrove/TabStrip", "Accueil/Label_Nom_Logiciel"})
        EXPECT_EQ(dessinees[QString::fromUtf8(noir)], 0) << noir;

    // Navy under white text: black would not read there, the text colour does.
    Couleur_Fenetre = Marine;
    Appliquer_Options();
    int vues = 0;
    Parcourir([&](const QString& ecran, Forme* f) {
        for (const auto& [w, c] : Legendes(f)) {
            const QString nom = ecran + QLatin1Char('/') + w->objectName();
            ++vues;
            ASSERT_TRUE(dessinees.count(nom)) << nom.toStdString();
            EXPECT_GE(Contraste(c, Couleur_Fenetre), Contraste_Lisible) << nom.toStdString() << std::hex << " in " << c;
            EXPECT_EQ(c, Couleur_Lisible(dessinees[nom], Couleur_Fenetre, Couleur_Police)) << nom.toStdString();
        }
    });
    EXPECT_GE(vues, static_cast<int>(dessinees.size()));
}
