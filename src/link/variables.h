#pragma once
// Shared variables of the program: current module and screens, passwords,
// paths, software options and the bridge settings.
#include <QString>
#include <array>

#include "platform/types.h"

namespace ostrel {

extern Octet Num_Module;
extern QString Nom_Module;
extern Octet Port_Com;
extern QString Ecran_Courant;
extern QString Ecran_Precedent;
extern Entier Num_Voie_Affichee;
extern QString Nom_Installation;
extern QString Mdp_Admin;
extern QString Mdp_Saisie;
extern Booleen Changement_Mdp_En_Cours;
extern Entier Code_Acces;
extern QString Nom_Operateur;
extern QString Chemin_Fichier_Version;
extern QString Fichier_Mouchard;
extern QString Base_Archive_Mouchard;
extern QString Repertoire_Sauvegardes_Donnees;
extern QString Repertoire_Parametrage_Voies;
extern QString Repertoire_Parametrage_Modules;
extern QString Repertoire_Sauvegardes_Alarmes;
extern QString Repertoire_Application;
extern QString Nom_Logiciel;
extern QString Prefixe_Module;
extern QString Ecran_Apres_Mdp;
extern Entier Num_Fichier;

// Software options (options file).
extern QString Police_Options;
extern Couleur Couleur_Police;
extern Couleur Couleur_Police_Modules;
extern Couleur Couleur_Fenetre;
extern Couleur Couleur_Fenetre_2;
extern Couleur Couleur_Fenetre_3;
extern Couleur Couleur_Cadre;
extern Couleur Couleur_Cadre_Bandeau;
extern Couleur Couleur_Fond_Bandeau;
extern Couleur Couleur_Police_Bandeau;

// Screen layout, set by the dashboard.
extern Simple Taille_Police_Grande;
extern Simple Taille_Police_Moyenne;
extern Simple Taille_Police_Petite;
extern double Var_Left_Fille;
extern double Var_Top_Fille;
extern double Var_Width_Fille;
extern double Var_Height_Fille;

// Settings of the network bridge (slave address 1).
extern QString Adresse_Email_Envoi;
extern QString Nom_Fichier_Envoi;
extern Octet Type_Acces_Reseau;
extern Octet Frequence_Envoi_Email;
extern std::array<Octet, 4> Adresse_IP_Carte;
extern std::array<Octet, 4> Adresse_IP_Passerelle;
extern Octet Logique_Relais_Carte_1;
extern Octet Logique_Relais_Carte_2;
extern std::array<Octet, 4> Adresse_IP_Serveur;
extern Octet Longueur_Num_Telephone;
extern QString Num_Telephone;
extern QString Login_FAI;
extern QString Password_FAI;
extern QString Adresse_SMTP;
extern QString Adresse_Email_Emetteur;
extern QString Login_Password_Carte;
extern std::array<Octet, 4> Masque_Sous_Reseau;

// Every value back to its empty start value (numbers 0, strings empty), as at
// program start; the recordings table is cleared, not reallocated. For tests.
void Reinitialiser_Donnees();

}  // namespace ostrel
