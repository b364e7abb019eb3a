#include "link/tableau_bord.h"

#include "platform/formats.h"

namespace ostrel {

void Tableau_Bord::Progess_Bar_Value(Long& pourcentage) {
    if (pourcentage > 100) pourcentage = 100;
    // The bar refuses values below its minimum and keeps the previous one.
    if (pourcentage < 0) return;
    valeur_pb_ = pourcentage;
    historique_pb_.push_back(pourcentage);
}

void Tableau_Bord::Affiche_Progress_Bar(bool afficher) { pb_visible_ = afficher; }
void Tableau_Bord::Caption_Pb(const QString& texte) { caption_pb_ = texte; }
void Tableau_Bord::Lampe_Comm(Couleur fond) { lampe_ = fond; }
void Tableau_Bord::Lampe_Comm(Couleur fond, Couleur texte) {
    lampe_ = fond;
    texte_lampe_ = texte;
}

QString Tableau_Bord::Caption_Lbl_OC(int index) const {
    return index >= 0 && index < Nb_Lbl_OC() ? captions_oc_[static_cast<size_t>(index)] : QString();
}

namespace {
Tableau_Bord*& Installe() {
    static Tableau_Bord* t = nullptr;
    return t;
}
Tableau_Bord& En_Memoire() {
    static Tableau_Bord t;
    return t;
}
}  // namespace

void Progression(double pourcentage) {
    Long valeur = static_cast<Long>(Arrondi_Pair(pourcentage));
    Frm_Menu1().Progess_Bar_Value(valeur);
}

Tableau_Bord& Frm_Menu1() { return Installe() ? *Installe() : En_Memoire(); }
void Definir_Tableau_Bord(Tableau_Bord* tableau) { Installe() = tableau; }

}  // namespace ostrel
