// The channel settings, module settings and live screens at 1280x1024 in each
// font the options offer on a Debian desktop: every caption reads whole.
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPushButton>
#include <QStyleOption>

#include "banc_voies.h"
#include "shell/frm_mesures.h"

using namespace ostrel;
using namespace ostrel_test;

namespace {

// The captions of a screen, shown or not, wider than their place: "name: text".
QStringList Textes_Coupes(const QWidget* ecran) {
    QStringList coupes;
    auto coupe = [&](const QWidget* w, const QString& texte, int faut, int place) {
        if (faut > place)
            coupes << QStringLiteral("%1: \"%2\" (%3 > %4)").arg(w->objectName(), texte).arg(faut).arg(place);
    };
    for (const QWidget* w : ecran->findChildren<QWidget*>()) {
        const QFontMetrics fm = w->fontMetrics();
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            if (!l->wordWrap())
                coupe(l, l->text(), fm.horizontalAdvance(l->text()), l->contentsRect().width() - 2 * l->margin());
        } else if (const auto* b = qobject_cast<const QPushButton*>(w)) {
            QStyleOptionButton o;
            o.initFrom(b);
            coupe(b, b->text(), fm.horizontalAdvance(b->text()),
                  b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b).width());
        } else if (const auto* r = qobject_cast<const QAbstractButton*>(w)) {
            coupe(r, r->text(), r->sizeHint().width(), r->width());
        } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
            QStyleOptionGroupBox o;
            o.initFrom(g);
            o.text = g->title();
            o.subControls = QStyle::SC_GroupBoxLabel;
            const QRect titre = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
            coupe(g, g->title(), titre.left() + fm.horizontalAdvance(g->title()), g->width());
        } else if (const auto* t = qobject_cast<const QTabBar*>(w)) {
            coupe(t, t->tabText(t->count() - 1), t->sizeHint().width(), t->width());
        } else if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            QStyleOptionComboBox o;
            o.initFrom(c);
            const QRect place = c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c);
            for (int i = 0; i < c->count(); ++i)
                coupe(c, c->itemText(i), fm.horizontalAdvance(c->itemText(i)), place.width());
        }
    }
    return coupes;
}

class Polices : public Banc_Voies {
protected:
    // The screen opened from the one given, its captions checked, then left.
    void Verifier(const QString& depuis, const QString& ecran, const QString& forme) {
        Liaison_Ecran(depuis, ecran, Faux);
        Traiter_Evenements();
        auto* f = registre.Instance(forme);
        ASSERT_NE(f, nullptr) << ecran.toStdString();
        // The live screen after a few sweeps, alarm states shown.
        if (auto* mesures = dynamic_cast<Frm_Mesures_Forme*>(f))
            for (int i = 0; i < 20; ++i) mesures->Tmr_Temps_Reel()->Declencher();
        EXPECT_EQ(Textes_Coupes(f).join('\n').toStdString(), "") << ecran.toStdString();
        Liaison_Ecran(ecran, depuis, Faux);
    }
};

}  // namespace

TEST_F(Polices, AucunTexteCoupeDansLesPolicesProposees) {
    bus.Etat_Demonstration({1}, 16);
    ASSERT_TRUE(Demarrer_Bus());
    Demarrer(vbYes);
    int essayees = 0;
    for (const char* nom : {"DejaVu Sans", "DejaVu Serif", "Liberation Sans", "Liberation Serif"}) {
        if (!QFontDatabase::families().contains(QString::fromLatin1(nom))) continue;
        SCOPED_TRACE(nom);
        ++essayees;
        Police_Options = QString::fromLatin1(nom);
        Num_Module = 1;
        Ecran_Courant = QStringLiteral("Configuration");
        Verifier("Configuration", "Réglages des voies", "Frm_Param_Voies");
        Verifier("Configuration", "Réglages Module", "Frm_Param_OC");
        Ecran_Courant = QStringLiteral("Consultation");
        Verifier("Consultation", "Mesures", "Frm_Mesures");
    }
    if (essayees == 0) GTEST_SKIP() << "none of these fonts is installed";
}
