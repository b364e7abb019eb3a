#pragma once
// The catalogue of module and bridge requests: one procedure per request and
// direction. Each one fills the request side of the link, runs the exchange
// and, for a read that succeeded, decodes the reply into Donnees_Reponse or
// the bridge settings. The outcome is Code_Erreur (0: success); a caller
// starts its requests with Code_Erreur at 0, since nothing is sent while it
// holds an error.
//
// Arguments that a procedure may replace (module, access-code index, bridge
// address, journal channel filter) are written back into the caller's
// variable; the && overloads take literals.
#include "platform/types.h"

namespace ostrel {

// Measures and channels.
Simple Lecture_Mesure_Voie(Octet module, Octet voie);
void Lecture_Etat_Voie(Octet module, Octet voie);
void Lecture_Parametres_Voie(Octet module, Octet voie);
void Ecriture_Parametres_Voie(Octet module, Octet voie);
void Lecture_Correction_Voie(Octet module, Octet voie);
void Ecriture_Correction_Voie(Octet module, Octet voie);
void Lecture_Nom_Voie(Octet module, Octet voie);
void Ecriture_Nom_Voie(Octet module, Octet voie);

// Module settings.
void Lecture_Logique_STOR(Octet module, Octet relais);
void Ecriture_Logique_STOR(Octet module, Octet relais);
void Lecture_Nom_Module(Octet module);
void Ecriture_Nom_Module(Octet module);
void Lecture_Planning(Octet module, Octet planning);
void Ecriture_Planning(Octet module, Octet planning);
void Lecture_Etat_Module(Octet module);
void Lecture_Date_Heure_Module(Octet module);
void Ecriture_Date_Heure_Module(Octet module);
void Lecture_Code_Acces(Octet& module, Octet& index);
void Ecriture_Code_Acces(Octet& module, Octet& index);
inline void Lecture_Code_Acces(Octet&& module, Octet&& index) { Lecture_Code_Acces(module, index); }
inline void Lecture_Code_Acces(Octet& module, Octet&& index) { Lecture_Code_Acces(module, index); }
inline void Lecture_Code_Acces(Octet&& module, Octet& index) { Lecture_Code_Acces(module, index); }
inline void Ecriture_Code_Acces(Octet&& module, Octet&& index) { Ecriture_Code_Acces(module, index); }
inline void Ecriture_Code_Acces(Octet& module, Octet&& index) { Ecriture_Code_Acces(module, index); }
inline void Ecriture_Code_Acces(Octet&& module, Octet& index) { Ecriture_Code_Acces(module, index); }

// Commands.
void Acquittement_Alarme(Octet module, Octet voie, Octet niveau);
void Purge_Enregistrements(Octet module);
void Purge_Journal_Alarmes(Octet module);
void Commande_Mode_Fonctionnement(Octet module, Entier valeur);

// Counts, date window and downloads.
void Lecture_Nombre_Enregistrements(Octet module);
void Lecture_Nombre_Evenements(Octet module);
void Ecriture_Periode_Lecture(Octet module);
void Telechargement_Tous_Enregistrements(Octet module, Octet voie);
void Telechargement_Enregistrements_Periode(Octet module, Octet voie);
void Telechargement_Journal_Complet(Octet module, Octet& filtre);
void Telechargement_Journal_Periode(Octet module, Octet& filtre);
inline void Telechargement_Journal_Complet(Octet module, Octet&& filtre) { Telechargement_Journal_Complet(module, filtre); }
inline void Telechargement_Journal_Periode(Octet module, Octet&& filtre) { Telechargement_Journal_Periode(module, filtre); }
// The two page loops, with Code_Requete and Temps_Attente already set.
void Telechargement_Enregistrements(Octet module, Octet voie);
void Telechargement_Journal(Octet module, Octet& filtre);

// Modules in service (always asked of slave address 1).
void Lecture_Modules_En_Service();

// Network bridge (slave address 1).
void Lecture_Adresse_Email(Octet& adresse, Octet& index);
void Ecriture_Adresse_Email(Octet& adresse, Octet& index);
inline void Lecture_Adresse_Email(Octet&& adresse, Octet&& index) { Lecture_Adresse_Email(adresse, index); }
inline void Lecture_Adresse_Email(Octet& adresse, Octet&& index) { Lecture_Adresse_Email(adresse, index); }
inline void Lecture_Adresse_Email(Octet&& adresse, Octet& index) { Lecture_Adresse_Email(adresse, index); }
inline void Ecriture_Adresse_Email(Octet&& adresse, Octet&& index) { Ecriture_Adresse_Email(adresse, index); }
inline void Ecriture_Adresse_Email(Octet& adresse, Octet&& index) { Ecriture_Adresse_Email(adresse, index); }
inline void Ecriture_Adresse_Email(Octet&& adresse, Octet& index) { Ecriture_Adresse_Email(adresse, index); }
void Lecture_Nom_Fichier_Email(Octet adresse, Octet module);
void Ecriture_Nom_Fichier_Email(Octet adresse, Octet module);
void Lecture_Parametres_Peripheriques(Octet adresse);
void Ecriture_Parametres_Peripheriques(Octet adresse);
void Lecture_Parametres_Messagerie(Octet adresse);
void Ecriture_Parametres_Messagerie(Octet adresse);
void Lecture_Identifiant_Passerelle(Octet adresse, Octet selecteur);
void Ecriture_Identifiant_Passerelle(Octet adresse, Octet selecteur);
void Lecture_Parametres_SMTP(Octet adresse);
void Ecriture_Parametres_SMTP(Octet adresse);
// Their failures are cleared: a bridge that does not answer costs only the
// short time-out and its retries.
void Lecture_Masque_Reseau(Octet adresse);
void Ecriture_Masque_Reseau(Octet adresse);

}  // namespace ostrel
