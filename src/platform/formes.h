#pragma once
// The forms of the program as the navigator and the link services see them:
// named by their form name ("Frm_Accueil", "frm_Journal_Alarme", ...). The
// window platform implements this over its registry of screens; tests use a
// recording implementation.
#include <QString>

namespace ostrel {

class Gestion_Formes {
public:
    virtual ~Gestion_Formes() = default;
    virtual bool Est_Chargee(const QString& forme) const = 0;
    // Loads the form when it is not loaded (its load handler runs then, and only then).
    virtual void Charger(const QString& forme) = 0;
    virtual void Afficher(const QString& forme) = 0;  // visible (loads it when needed)
    virtual void Activer(const QString& forme) = 0;   // accepts input
    virtual void Focus(const QString& forme) = 0;
    virtual void Decharger(const QString& forme) = 0;  // unload handler runs; nothing when not loaded
    virtual void Premier_Plan(const QString& forme) = 0;
    virtual void Rafraichir(const QString& forme) = 0;
    // A public operation of a form, e.g. ("frm_Journal_Alarme", "Cmd_OK_Click").
    virtual void Executer(const QString& forme, const QString& operation) = 0;
};

Gestion_Formes& Formes();
void Definir_Formes(Gestion_Formes* formes);  // not owned

}  // namespace ostrel
