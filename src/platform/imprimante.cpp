#include "platform/imprimante.h"

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

void Imprimante_Enregistreuse::Print(const std::vector<Item>& items) {
    Lignes.push_back({Composer_Ligne(items), police_, taille_, gras_, orientation_, page_, Documents_Termines + 1});
}

Resultat_Impression Imprimante_Enregistreuse::EndDoc() {
    Resultat_Impression resultat;
    page_ = 1;
    if (Echec_Prochain_Document) {
        resultat.Erreur = *Echec_Prochain_Document;
        Echec_Prochain_Document.reset();
        // The lines of a failed job are dropped with it.
        const int document = Documents_Termines + 1;
        std::erase_if(Lignes, [document](const Ligne& l) { return l.Document == document; });
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
    Documents_Termines = 0;
    Echec_Prochain_Document.reset();
    page_ = 1;
}

}  // namespace ostrel
