#include "platform/imprimante.h"

#include <algorithm>

namespace ostrel {
namespace {

Imprimante_Enregistreuse& Imprimante_Par_Defaut() {
    static Imprimante_Enregistreuse imprimante;
    return imprimante;
}

Imprimante*& Imprimante_Installee() {
    static Imprimante* imprimante = nullptr;
    return imprimante;
}

}  // namespace

Imprimante& Printer() {
    Imprimante* i = Imprimante_Installee();
    return i ? *i : Imprimante_Par_Defaut();
}

void Definir_Imprimante(Imprimante* imprimante) { Imprimante_Installee() = imprimante; }

Resultat_Impression Imprimante::Fin_Impression() {
    Resultat_Impression resultat;
    resultat.Reussi = true;
    return resultat;
}

Zone_Imprimable_Page Zone_A4(int orientation) {
    const bool paysage = orientation == vbPRORLandscape;
    const double largeur = paysage ? 297 : 210, hauteur = paysage ? 210 : 297;
    Zone_Imprimable_Page zone;
    zone.Gauche = zone.Haut = Marge_Page_mm * Twips_Par_mm;
    zone.Largeur = (largeur - 2 * Marge_Page_mm) * Twips_Par_mm;
    zone.Hauteur = (hauteur - 2 * Marge_Page_mm) * Twips_Par_mm;
    return zone;
}

void Imprimante_Enregistreuse::Print(const std::vector<Item>& items) {
    if (page_pleine_) {
        ++page_;
        page_pleine_ = false;
    }
    Lignes.push_back({Composer_Ligne(items), police_, taille_, gras_, orientation_, page_, Documents_Termines + 1});
}

void Imprimante_Enregistreuse::Imprimer_Image(const QImage& image) {
    const int document = Documents_Termines + 1;
    const bool page_commencee =
        page_pleine_ || std::any_of(Lignes.begin(), Lignes.end(),
                                    [&](const Ligne& l) { return l.Document == document && l.Page == page_; });
    if (page_commencee) ++page_;
    Images.push_back({image, orientation_, page_, document});
    page_pleine_ = true;
}

Resultat_Impression Imprimante_Enregistreuse::EndDoc() {
    Resultat_Impression resultat;
    page_ = 1;
    page_pleine_ = false;
    if (Echec_Prochain_Document) {
        resultat.Erreur = *Echec_Prochain_Document;
        Echec_Prochain_Document.reset();
        // The lines of a failed job are dropped with it.
        const int document = Documents_Termines + 1;
        std::erase_if(Lignes, [document](const Ligne& l) { return l.Document == document; });
        std::erase_if(Images, [document](const Image_Imprimee& i) { return i.Document == document; });
        return resultat;
    }
    ++Documents_Termines;
    resultat.Reussi = true;
    return resultat;
}

std::vector<QString> Imprimante_Enregistreuse::Textes(int document) const {
    std::vector<QString> textes;
    for (const Ligne& l : Lignes)
        if (document == 0 || l.Document == document) textes.push_back(l.Texte);
    return textes;
}

void Imprimante_Enregistreuse::Effacer() {
    Lignes.clear();
    Images.clear();
    Documents_Termines = 0;
    page_pleine_ = false;
    Echec_Prochain_Document.reset();
    page_ = 1;
}

}  // namespace ostrel
