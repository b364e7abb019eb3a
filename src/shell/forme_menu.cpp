#include "shell/forme_menu.h"

#include <QPushButton>

#include "link/variables.h"
#include "platform/ui/couleurs_ui.h"

namespace ostrel {

Forme_Menu::Forme_Menu(const QString& nom, const std::array<QString, 4>& captions) : Forme(nom) {
    auto bouton = [this](const char* n, const QString& texte) {
        auto* b = new QPushButton(texte, this);
        b->setObjectName(QString::fromLatin1(n));
        return b;
    };
    cmd_menu1_ = bouton("Cmd_Menu1", captions[0]);
    cmd_menu2_ = bouton("Cmd_Menu2", captions[1]);
    cmd_menu3_ = bouton("Cmd_Menu3", captions[2]);
    cmd_quitter_ = bouton("Cmd_Quitter", captions[3]);
    connect(cmd_menu1_, &QPushButton::clicked, this, [this] { Cmd_Menu1_Click(); });
    connect(cmd_menu2_, &QPushButton::clicked, this, [this] { Cmd_Menu2_Click(); });
    connect(cmd_menu3_, &QPushButton::clicked, this, [this] { Cmd_Menu3_Click(); });
    connect(cmd_quitter_, &QPushButton::clicked, this, [this] { Cmd_Quitter_Click(); });
}

void Forme_Menu::Placer_Sur_Zone_Fille() {
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
}

void Forme_Menu::Form_Resize() {
    const double W = width(), H = height();
    // The three choices in a column, the way back set apart below them.
    const double largeur = W * 0.40, hauteur = H * 0.12, x = (W - largeur) / 2;
    const double y[4] = {H * 0.16, H * 0.33, H * 0.50, H * 0.71};
    int i = 0;
    for (QPushButton* b : {cmd_menu1_, cmd_menu2_, cmd_menu3_, cmd_quitter_}) {
        b->setGeometry(Arrondi_Pixels(x), Arrondi_Pixels(y[i++]), Arrondi_Pixels(largeur), Arrondi_Pixels(hauteur));
        Nom_Police(b, Police_Options);
        Taille_Police(b, Taille_Police_Grande);
    }
    Couleur_Fond(Couleur_Fenetre);
}

}  // namespace ostrel
