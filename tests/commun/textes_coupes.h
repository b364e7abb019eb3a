#pragma once
// The captions of a screen that its fonts draw wider than their place: a
// label on one line, a button, an option or check box, a group's title, a
// tab strip, the entries of a list.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QStyleOption>
#include <QTabBar>

namespace ostrel_test {

// "name: "text" (width > room)" for each caption cut, shown or not.
inline QStringList Textes_Coupes(const QWidget* ecran) {
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
            if (!r->text().isEmpty()) coupe(r, r->text(), r->sizeHint().width(), r->width());
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
        } else if (const auto* liste = qobject_cast<const QListWidget*>(w)) {
            const QFontMetrics fl(liste->font());
            const int place = liste->viewport()->width() - 2 * liste->spacing();
            for (int i = 0; i < liste->count(); ++i)
                coupe(liste, liste->item(i)->text(), fl.horizontalAdvance(liste->item(i)->text()), place);
        }
    }
    return coupes;
}

}  // namespace ostrel_test
