#include "link/transaction.h"

#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/trames.h"

namespace ostrel {

// A pending error means the caller has not looked at the last outcome: no
// frame goes out until it is cleared, so no command reaches a module behind
// an unverified exchange.

void Requete_Lecture() {
    if (Code_Erreur != 0) return;
    Construire_Trame_Lecture();
    Transaction();
}

void Requete_Ecriture_Multiple(const Octet* donnees, Octet& N) {
    if (Code_Erreur != 0) return;
    if (!Construire_Trame_Ecriture_Multiple(donnees, N)) {
        // More data than a frame carries: nothing is sent.
        Code_Erreur = Erreur::Longueur;
        return;
    }
    Transaction();
}

void Requete_Ecriture_Simple(Entier& valeur) {
    if (Code_Erreur != 0) return;
    Construire_Trame_Ecriture_Simple(valeur);
    Transaction();
}

void Transaction() {
    if (Code_Erreur != 0) return;
    Ecran_Communication().Envoi_Trame();
    if (Code_Erreur != 0) return;  // the port refused the first send
    Ecran_Communication().Recoit_Trame();
    if (Code_Erreur == 0) Verification_Reponse();
    if (Code_Erreur != 0) {
        Octet tentatives = 5;
        Nouvelle_Tentative(tentatives);
    }
}

void Nouvelle_Tentative(Octet& n) {
    for (int tentative = 1; tentative <= n; ++tentative) {
        if (Code_Erreur == 0) break;
        Code_Erreur = 0;
        Ecran_Communication().Envoi_Trame();
        if (Code_Erreur != 0) continue;
        Ecran_Communication().Recoit_Trame();
        if (Code_Erreur == 0) Verification_Reponse();
    }
}

}  // namespace ostrel
