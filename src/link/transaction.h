#pragma once
// One request to a module: build the frame, send it, wait for the reply,
// check it, and try again up to five more times while an error persists.
// The outcome is Code_Erreur; nothing is sent while it holds an error.
#include "platform/types.h"

namespace ostrel {

void Requete_Lecture();
void Requete_Ecriture_Multiple(const Octet* donnees, Octet& N);
inline void Requete_Ecriture_Multiple(const Octet* donnees, Octet&& N) { Requete_Ecriture_Multiple(donnees, N); }
void Requete_Ecriture_Simple(Entier& valeur);
inline void Requete_Ecriture_Simple(Entier&& valeur) { Requete_Ecriture_Simple(valeur); }
void Transaction();
void Nouvelle_Tentative(Octet& n);

}  // namespace ostrel
