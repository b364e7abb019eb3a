#include "platform/ui/petite_fenetre.h"

#include <QLabel>

#include "platform/types.h"
#include "platform/ui/couleurs_ui.h"

namespace ostrel {

QLabel* Habiller_Petite_Fenetre(QWidget* fenetre) {
    fenetre->setAttribute(Qt::WA_StyledBackground);
    fenetre->setStyleSheet(QStringLiteral("#%1 { background-color: %2; border: 2px solid #404040; }")
                               .arg(fenetre->objectName(), Vers_QColor(Couleur_Face_Bouton).name()));
    auto* barre = new QLabel(fenetre->windowTitle(), fenetre);
    barre->setObjectName(QStringLiteral("Barre_Titre"));
    barre->setIndent(8);
    barre->setTextFormat(Qt::PlainText);
    Couleur_Fond(barre, 0x804000);
    Couleur_Texte(barre, Couleur_Blanche);
    Police_Grasse(barre, true);
    return barre;
}

}  // namespace ostrel
