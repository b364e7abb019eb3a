#pragma once
// Form1, the window of Conversion: one click reads a data file of the first
// version of the software, regroups its points channel by channel and writes
// them as a recordings file of the current format.
#include <QString>

#include "platform/fichiers.h"
#include "tools/fenetre_outil.h"

namespace ostrel {

class Form1 : public Fenetre_Outil {
public:
    Form1();

    void Cmd_Démarrage_Click() override;
    // Reads the file; at its end regroups the points, asks for the new file
    // and writes it.
    void Importer_Enregistrements(const QString& NomFichier);
    // Writes the recordings file by a safe save; a failure is shown and returned.
    Resultat_Fichier Exporter_Enregistrements(const QString& NomFichier, Octet Adr_OC, Octet NB_Voie);

    Octet NB_Voie = 0;

private:
    void Lecture_Ancien_Fichier();
    void Conversion_Donnees();
    void Choix_Fichier_Conversion();
    Long nb_lus_ = 0;  // data lines read
};

}  // namespace ostrel
