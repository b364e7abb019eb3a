#include "platform/formes.h"

#include "platform/formes_memoire.h"

namespace ostrel {
namespace {
Gestion_Formes*& Installe() {
    static Gestion_Formes* f = nullptr;
    return f;
}
Formes_Memoire& En_Memoire() {
    static Formes_Memoire f;
    return f;
}
}  // namespace

Gestion_Formes& Formes() { return Installe() ? *Installe() : En_Memoire(); }
void Definir_Formes(Gestion_Formes* formes) { Installe() = formes; }

bool Formes_Memoire::Est_Chargee(const QString& forme) const { return chargees.count(forme) > 0; }

void Formes_Memoire::Charger(const QString& forme) {
    if (Est_Chargee(forme)) return;
    chargees.insert(forme);
    journal.push_back(QStringLiteral("Charger ") + forme);
    auto it = chargements.find(forme);
    if (it != chargements.end() && it->second) it->second();
}

void Formes_Memoire::Afficher(const QString& forme) {
    Charger(forme);
    journal.push_back(QStringLiteral("Afficher ") + forme);
}

void Formes_Memoire::Activer(const QString& forme) { journal.push_back(QStringLiteral("Activer ") + forme); }
void Formes_Memoire::Focus(const QString& forme) { journal.push_back(QStringLiteral("Focus ") + forme); }

void Formes_Memoire::Decharger(const QString& forme) {
    if (!Est_Chargee(forme)) return;
    chargees.erase(forme);
    journal.push_back(QStringLiteral("Decharger ") + forme);
}

void Formes_Memoire::Premier_Plan(const QString& forme) { journal.push_back(QStringLiteral("Premier_Plan ") + forme); }
void Formes_Memoire::Rafraichir(const QString& forme) { journal.push_back(QStringLiteral("Rafraichir ") + forme); }

void Formes_Memoire::Executer(const QString& forme, const QString& operation) {
    journal.push_back(QStringLiteral("Executer ") + forme + QLatin1Char('.') + operation);
    auto it = operations.find(forme + QLatin1Char('.') + operation);
    if (it != operations.end() && it->second) it->second();
}

}  // namespace ostrel
