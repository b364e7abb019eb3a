#include "platform/ui/textes_ajustes.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <algorithm>

#include "platform/ui/forme.h"

namespace ostrel {

QFont Police_Qui_Tient(QFont police, Simple minimum, const std::function<bool(const QFont&)>& tient) {
    int etirement = QFont::Unstretched;
    police.setStretch(etirement);
    while (etirement > QFont::Condensed && !tient(police)) {
        etirement -= 5;
        police.setStretch(etirement);
    }
    Simple taille = static_cast<Simple>(police.pointSizeF());
    while (taille > minimum && !tient(police)) {
        taille = std::max(minimum, taille - 0.25f);
        police.setPointSizeF(taille);
    }
    return police;
}

bool Texte_Tient(const QWidget* w) {
    if (w->width() <= 0 || w->height() <= 0) return true;
    const QFontMetrics fm = w->fontMetrics();
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        const bool riche = l->textFormat() == Qt::RichText ||
                           (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
        if (l->text().isEmpty() || l->wordWrap() || riche) return true;
        const int marge = l->margin();
        // A framed label without an indent of its own sets its text half an x in.
        const int retrait = l->indent() >= 0      ? l->indent()
                            : l->frameWidth() > 0 ? fm.horizontalAdvance(QLatin1Char('x')) / 2
                                                  : 0;
        const QRect place = l->contentsRect().adjusted(marge + retrait, marge, -marge, -marge);
        return fm.horizontalAdvance(l->text()) <= place.width() && fm.height() <= place.height();
    }
    if (const auto* b = qobject_cast<const QPushButton*>(w)) {
        if (b->text().isEmpty()) return true;
        QStyleOptionButton o;
        o.initFrom(b);
        o.text = b->text();
        const QRect place = b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b);
        return fm.horizontalAdvance(b->text()) <= place.width();
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))  // options and check boxes
        return b->text().isEmpty() || b->sizeHint().width() <= b->width();
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        if (g->title().isEmpty()) return true;
        QStyleOptionGroupBox o;
        o.initFrom(g);
        o.text = g->title();
        o.textAlignment = g->alignment();
        o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect titre = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
        return titre.left() + fm.horizontalAdvance(g->title()) <= g->width();
    }
    if (const auto* t = qobject_cast<const QTabBar*>(w)) {
        const bool horizontale = t->shape() == QTabBar::RoundedNorth || t->shape() == QTabBar::RoundedSouth ||
                                 t->shape() == QTabBar::TriangularNorth || t->shape() == QTabBar::TriangularSouth;
        const QSize voulue = t->sizeHint();
        return t->count() == 0 || (horizontale ? voulue.width() <= t->width() : voulue.height() <= t->height());
    }
    if (const auto* c = qobject_cast<const QComboBox*>(w)) {
        QStyleOptionComboBox o;
        o.initFrom(c);
        const int place = c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c).width();
        for (int i = 0; i < c->count(); ++i)
            if (fm.horizontalAdvance(c->itemText(i)) > place) return false;
    }
    return true;
}

void Ajuster_Texte(QWidget* w) {
    if (Texte_Tient(w)) return;
    // A child takes from its parent every font property it has not set
    // itself (narrowed letters among them): each keeps the font it has.
    for (QWidget* enfant : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QFont f = enfant->font();
        f.setResolveMask(QFont::AllPropertiesResolved);
        enfant->setFont(f);
    }
    w->setFont(Police_Qui_Tient(w->font(), Taille_Minimale_Texte, [w](const QFont& f) {
        w->setFont(f);
        return Texte_Tient(w);
    }));
}

void Ajuster_Textes(QWidget* ecran) {
    // A parent before its children: its fitting leaves them their fonts.
    for (QWidget* w : ecran->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<Forme*>(w)) continue;
        Ajuster_Texte(w);
        Ajuster_Textes(w);
    }
}

}  // namespace ostrel
