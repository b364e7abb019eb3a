#pragma once
// Frm_Export, the window of Exportation: one click reads a recordings file
// and writes it again as a labelled text for spreadsheets.
#include <QString>

#include "platform/fichiers.h"
#include "tools/fenetre_outil.h"

namespace ostrel {

class Frm_Export : public Fenetre_Outil {
public:
    Frm_Export();

    void Cmd_Démarrage_Click() override;
    // Reads the file; at its end asks for the export file and writes it.
    void Importer_Enregistrements(const QString& NomFichier);
    // Writes Fichier_Export by a safe save; a failure is shown and returned.
    Resultat_Fichier Exporter_Enregistrements(const QString& NomFichier, Octet Adr_OC, Octet NB_Voie);

    Octet NB_Voie = 0;
    Octet Adr_OC = 1;

private:
    void Choix_Fichier_Export();
};

}  // namespace ostrel
