#pragma once
// Reply decoder: turns the data bytes of Trame_Recue into the fields of
// Donnees_Reponse, the bridge settings, Tab_Fonctionnement_OC and
// Nb_Elements_Reponse, by the layout of Code_Requete.
#include <QString>

#include "platform/types.h"

namespace ostrel {

void Decodage_Reponse();
void Decodage_Trame_Ostrelclim();
Entier Mot_Signe(Octet haut, Octet bas);
QString Supprime_Espaces_Fin(const QString& texte);

}  // namespace ostrel
