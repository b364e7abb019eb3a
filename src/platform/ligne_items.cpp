#include "platform/ligne_items.h"

namespace ostrel {

QString Composer_Ligne(const std::vector<Item>& items) {
    QString ligne;
    for (const Item& item : items) {
        ligne += item.Texte;
        if (item.Sep == Separateur::Zone) ligne += QString(Prochaine_Zone(ligne.size()) - ligne.size(), QLatin1Char(' '));
    }
    return ligne;
}

}  // namespace ostrel
