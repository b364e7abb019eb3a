#pragma once
// Services shared by several screens on top of the request catalogue: the
// walks over the modules in service, the reset of the dashboard after a link
// loss, the download of the channel table to a module and the access codes.
#include <QString>

#include "platform/types.h"

namespace ostrel {

// Walks over Tab_Fonctionnement_OC; every input outside 1..32 falls back to module 1.
Octet Module_En_Service_Suivant(Octet n);
Octet Nieme_Module_En_Service(Octet& k);  // k outside 1..32 is set to 1
inline Octet Nieme_Module_En_Service(Octet&& k) { return Nieme_Module_En_Service(k); }
Octet Rang_Module_En_Service(Octet adresse);

void RAZ_Affichage_Modules();
void Telechargement_Parametrage_Voies();
QString Complete_Zeros(QString& s);
inline QString Complete_Zeros(QString&& s) { return Complete_Zeros(s); }
// The module and index are replaced by 1 when out of range, in the caller's variables.
QString Lecture_Code_Acces_Texte(Octet& module, Octet& index);
inline QString Lecture_Code_Acces_Texte(Octet&& module, Octet& index) { return Lecture_Code_Acces_Texte(module, index); }
Octet Recherche_Niveau_Acces(Octet& module, const QString& code);
inline Octet Recherche_Niveau_Acces(Octet&& module, const QString& code) { return Recherche_Niveau_Acces(module, code); }

// After a move whose target may have met a link error while loading: with
// Code_Erreur not 0, on to the link-problem screen, unless the screen that
// failed went there itself (a second move would start a new episode that
// forgets where the fault arose). Returns whether there was an error.
bool Erreur_Vers_Problemes_Liaison();

}  // namespace ostrel
