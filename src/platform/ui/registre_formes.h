#pragma once
// The registry of the program's forms, by form name: how to create each one,
// which are loaded, and the navigator's operations on them. Loading creates a
// fresh instance and runs its Form_Load; unloading runs Form_Unload, stops its
// timers and hides it at once (Est_Chargee is false from then on), and deletes
// it once the current handler has returned, since a form's own button or
// timer may navigate away from it, and once every box is closed, since the
// handler that opened one resumes on its own form when it is answered.
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "platform/formes.h"
#include "platform/ui/forme.h"

namespace ostrel {

class Registre_Formes : public Gestion_Formes {
public:
    using Fabrique = std::function<Forme*()>;

    void Enregistrer(const QString& forme, Fabrique fabrique);
    // Parent of the screens (the dashboard). A form created while no
    // container is set, or the container itself, stays a window of its own.
    void Definir_Conteneur(QWidget* conteneur) { conteneur_ = conteneur; }
    QWidget* Conteneur() const { return conteneur_; }

    // The loaded instance, or nullptr.
    Forme* Instance(const QString& forme) const;
    template <class T> T* Instance_De(const QString& forme) const { return dynamic_cast<T*>(Instance(forme)); }
    std::vector<Forme*> Chargees() const;

    bool Est_Chargee(const QString& forme) const override;
    void Charger(const QString& forme) override;
    void Afficher(const QString& forme) override;
    void Activer(const QString& forme) override;
    void Focus(const QString& forme) override;
    void Decharger(const QString& forme) override;
    void Premier_Plan(const QString& forme) override;
    void Rafraichir(const QString& forme) override;
    void Executer(const QString& forme, const QString& operation) override;

private:
    Forme* Charge(const QString& forme);  // loads when needed; nullptr for an unknown form
    std::map<QString, Fabrique> fabriques_;
    std::map<QString, QPointer<Forme>> chargees_;
    std::vector<QString> ordre_;  // load order, for Chargees()
    QPointer<QWidget> conteneur_;
};

}  // namespace ostrel
