#pragma once
// Reply decoder: turns the data bytes of Trame_Recue into the fields of
// Donnees_Reponse, the bridge settings, Tab_Fonctionnement_OC and
// Nb_Elements_Reponse, by the layout of Code_Requete.
//
// Only the N data bytes the reply announces are read. A layout that points
// past them stops the decoding with Code_Erreur 15; what was decoded before
// keeps its new value. A page of 0x0E..0x11 that is not whole 8-byte records
// stores nothing (Nb_Elements_Reponse 0, Code_Erreur 15); one of more than 9
// records stores 9 (Nb_Elements_Reponse 9, Code_Erreur 15). Callers of the
// page loops therefore test Code_Erreur after decoding too.
#include <QString>

#include "platform/types.h"

namespace ostrel {

void Decodage_Reponse();
void Decodage_Trame_Ostrelclim();
Entier Mot_Signe(Octet haut, Octet bas);
QString Supprime_Espaces_Fin(const QString& texte);

}  // namespace ostrel
