#include "platform/ui/registre_formes.h"

#include <algorithm>

namespace ostrel {

void Registre_Formes::Enregistrer(const QString& forme, Fabrique fabrique) { fabriques_[forme] = std::move(fabrique); }

Forme* Registre_Formes::Instance(const QString& forme) const {
    auto it = chargees_.find(forme);
    return it == chargees_.end() ? nullptr : it->second.data();
}

std::vector<Forme*> Registre_Formes::Chargees() const {
    std::vector<Forme*> formes;
    for (const QString& nom : ordre_)
        if (Forme* f = Instance(nom)) formes.push_back(f);
    return formes;
}

bool Registre_Formes::Est_Chargee(const QString& forme) const { return Instance(forme) != nullptr; }

Forme* Registre_Formes::Charge(const QString& nom) {
    if (Forme* f = Instance(nom)) return f;
    auto fabrique = fabriques_.find(nom);
    if (fabrique == fabriques_.end() || !fabrique->second) return nullptr;
    Forme* f = fabrique->second();
    if (!f) return nullptr;
    f->setObjectName(nom);
    if (!f->parentWidget() && conteneur_ && conteneur_ != f) {
        f->setParent(conteneur_);
        f->hide();
    }
    // Loaded before its load handler runs: a navigation started from there
    // may unload it again.
    chargees_[nom] = f;
    ordre_.erase(std::remove(ordre_.begin(), ordre_.end(), nom), ordre_.end());
    ordre_.push_back(nom);
    f->Form_Load();
    return f;
}

void Registre_Formes::Charger(const QString& forme) { Charge(forme); }

void Registre_Formes::Afficher(const QString& forme) {
    if (Forme* f = Charge(forme)) f->Afficher();
}

void Registre_Formes::Activer(const QString& forme) {
    if (Forme* f = Charge(forme)) f->Activer(true);
}

void Registre_Formes::Focus(const QString& forme) {
    if (Forme* f = Instance(forme)) f->Donner_Focus();
}

void Registre_Formes::Decharger(const QString& nom) {
    Forme* f = Instance(nom);
    chargees_.erase(nom);
    ordre_.erase(std::remove(ordre_.begin(), ordre_.end(), nom), ordre_.end());
    if (!f) return;
    f->Form_Unload();
    f->Arreter_Minuteries();
    if (f == conteneur_) conteneur_ = nullptr;
    if (f->isWindow())
        f->close();
    else
        f->hide();
    Supprimer_Apres_Boites(f);
}

void Registre_Formes::Premier_Plan(const QString& forme) {
    if (Forme* f = Charge(forme)) f->Premier_Plan();
}

void Registre_Formes::Rafraichir(const QString& forme) {
    if (Forme* f = Charge(forme)) f->Rafraichir();
}

void Registre_Formes::Executer(const QString& forme, const QString& operation) {
    if (Forme* f = Charge(forme)) f->Executer(operation);
}

}  // namespace ostrel
