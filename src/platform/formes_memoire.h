#pragma once
// Forms kept as names only: which are loaded, and the list of what was done
// to them. Used by tests of the navigator and of the services, and by the
// program before its windows exist.
#include <QString>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/formes.h"

namespace ostrel {

class Formes_Memoire : public Gestion_Formes {
public:
    std::set<QString> chargees;
    std::vector<QString> journal;  // "Charger Frm_Accueil", "Afficher ...", "Executer frm_Journal_Alarme.Cmd_OK_Click"
    // Load handlers and operations, by form name and by "form.operation".
    std::map<QString, std::function<void()>> chargements;
    std::map<QString, std::function<void()>> operations;

    bool Est_Chargee(const QString& forme) const override;
    void Charger(const QString& forme) override;
    void Afficher(const QString& forme) override;
    void Activer(const QString& forme) override;
    void Focus(const QString& forme) override;
    void Decharger(const QString& forme) override;
    void Premier_Plan(const QString& forme) override;
    void Rafraichir(const QString& forme) override;
    void Executer(const QString& forme, const QString& operation) override;
};

}  // namespace ostrel
