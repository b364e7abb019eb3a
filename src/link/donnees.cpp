#include "link/donnees.h"

#include <memory>

#include "link/liaison.h"
#include "link/variables.h"
#include "platform/memoire.h"

namespace ostrel {

Parametres_Voie Donnees_Reponse;
std::array<Parametres_Voie, 16> Tab_Parametres_Voies;
std::array<Parametres_Module, 32> Tab_Parametres_Modules;
Table_Mesures Tab_Mesures;
std::vector<Long> Index_Fin_Voie;
std::vector<Evenement_Journal> Tab_Journal;
std::array<Octet, 32> Nb_Voies_Module{};
std::array<QString, 32> Tab_Fonctionnement_OC;
std::array<Booleen, 16> Planning_Actif{};
std::array<Couleur, 16> Tab_Couleur_Courbe{};

std::array<Octet, Taille_Trame> Trame_Emise{};
Octet Nb_Octets_A_Envoyer = 0;
std::array<Octet, Taille_Trame> Trame_Recue{};
Entier Nb_Octets_Recus = 0;
Octet Adresse_Esclave = 0;
Octet Code_Fonction = 0;
Entier Code_Requete = 0;
std::uint16_t Nb_Mots = 0;
Octet Type_Produit = 0;
Long Temps_Attente = 0;
Octet Code_Erreur = 0;
Octet Nb_Octets_Donnees = 0;
Octet Nb_Elements_Reponse = 0;
Long Nb_Elements_Telecharges = 0;
std::int64_t Nb_Elements_Lus = 0;

Octet Num_Module = 0;
QString Nom_Module;
Octet Port_Com = 0;
QString Ecran_Courant;
QString Ecran_Precedent;
Entier Num_Voie_Affichee = 0;
QString Nom_Installation;
QString Mdp_Admin;
QString Mdp_Saisie;
Booleen Changement_Mdp_En_Cours = Faux;
Entier Code_Acces = 0;
QString Nom_Operateur;
QString Chemin_Fichier_Version;
QString Fichier_Mouchard;
QString Base_Archive_Mouchard;
QString Repertoire_Sauvegardes_Donnees;
QString Repertoire_Parametrage_Voies;
QString Repertoire_Parametrage_Modules;
QString Repertoire_Sauvegardes_Alarmes;
QString Repertoire_Application;
QString Nom_Logiciel;
QString Prefixe_Module;
QString Ecran_Apres_Mdp;
Entier Num_Fichier = 0;

QString Police_Options;
Couleur Couleur_Police = 0;
Couleur Couleur_Police_Modules = 0;
Couleur Couleur_Fenetre = 0;
Couleur Couleur_Fenetre_2 = 0;
Couleur Couleur_Fenetre_3 = 0;
Couleur Couleur_Cadre = 0;
Couleur Couleur_Cadre_Bandeau = 0;
Couleur Couleur_Fond_Bandeau = 0;
Couleur Couleur_Police_Bandeau = 0;

Simple Taille_Police_Grande = 0;
Simple Taille_Police_Moyenne = 0;
Simple Taille_Police_Petite = 0;
double Var_Left_Fille = 0;
double Var_Top_Fille = 0;
double Var_Width_Fille = 0;
double Var_Height_Fille = 0;

QString Adresse_Email_Envoi;
QString Nom_Fichier_Envoi;
Octet Type_Acces_Reseau = 0;
Octet Frequence_Envoi_Email = 0;
std::array<Octet, 4> Adresse_IP_Carte{};
std::array<Octet, 4> Adresse_IP_Passerelle{};
Octet Logique_Relais_Carte_1 = 0;
Octet Logique_Relais_Carte_2 = 0;
std::array<Octet, 4> Adresse_IP_Serveur{};
Octet Longueur_Num_Telephone = 0;
QString Num_Telephone;
QString Login_FAI;
QString Password_FAI;
QString Adresse_SMTP;
QString Adresse_Email_Emetteur;
QString Login_Password_Carte;
std::array<Octet, 4> Masque_Sous_Reseau{};

Table_Mesures::Table_Mesures() {
    // Some twenty megabytes written at start-up, on huge pages where offered.
    void* memoire = ::operator new(sizeof(Mesure_Enreg) * Taille);
    Grandes_Pages(memoire, static_cast<qsizetype>(sizeof(Mesure_Enreg) * Taille));
    auto* entrees = static_cast<Mesure_Enreg*>(memoire);
    std::uninitialized_default_construct_n(entrees, Taille);
    entrees_.reset(entrees);
}

void Table_Mesures::Liberer::operator()(Mesure_Enreg* entrees) const {
    std::destroy_n(entrees, Taille);
    ::operator delete(entrees);
}

void Table_Mesures::Effacer() {
    for (Long i = 0; i < Taille; ++i) entrees_[i] = Mesure_Enreg{};
}

void Reinitialiser_Donnees() {
    Donnees_Reponse = {};
    Tab_Parametres_Voies.fill({});
    Tab_Parametres_Modules.fill({});
    Tab_Mesures.Effacer();
    Index_Fin_Voie.clear();
    Tab_Journal.clear();
    Nb_Voies_Module.fill(0);
    Tab_Fonctionnement_OC.fill({});
    Planning_Actif.fill(Faux);
    Tab_Couleur_Courbe.fill(0);

    Trame_Emise.fill(0);
    Nb_Octets_A_Envoyer = 0;
    Trame_Recue.fill(0);
    Nb_Octets_Recus = 0;
    Adresse_Esclave = Code_Fonction = 0;
    Code_Requete = 0;
    Nb_Mots = 0;
    Type_Produit = 0;
    Temps_Attente = 0;
    Code_Erreur = 0;
    Nb_Octets_Donnees = Nb_Elements_Reponse = 0;
    Nb_Elements_Telecharges = 0;
    Nb_Elements_Lus = 0;

    Num_Module = 0;
    Nom_Module.clear();
    Port_Com = 0;
    Ecran_Courant.clear();
    Ecran_Precedent.clear();
    Num_Voie_Affichee = 0;
    Nom_Installation.clear();
    Mdp_Admin.clear();
    Mdp_Saisie.clear();
    Changement_Mdp_En_Cours = Faux;
    Code_Acces = 0;
    Nom_Operateur.clear();
    Chemin_Fichier_Version.clear();
    Fichier_Mouchard.clear();
    Base_Archive_Mouchard.clear();
    Repertoire_Sauvegardes_Donnees.clear();
    Repertoire_Parametrage_Voies.clear();
    Repertoire_Parametrage_Modules.clear();
    Repertoire_Sauvegardes_Alarmes.clear();
    Repertoire_Application.clear();
    Nom_Logiciel.clear();
    Prefixe_Module.clear();
    Ecran_Apres_Mdp.clear();
    Num_Fichier = 0;

    Police_Options.clear();
    Couleur_Police = Couleur_Police_Modules = Couleur_Fenetre = 0;
    Couleur_Fenetre_2 = Couleur_Fenetre_3 = Couleur_Cadre = 0;
    Couleur_Cadre_Bandeau = Couleur_Fond_Bandeau = Couleur_Police_Bandeau = 0;
    Taille_Police_Grande = Taille_Police_Moyenne = Taille_Police_Petite = 0;
    Var_Left_Fille = Var_Top_Fille = Var_Width_Fille = Var_Height_Fille = 0;

    Adresse_Email_Envoi.clear();
    Nom_Fichier_Envoi.clear();
    Type_Acces_Reseau = Frequence_Envoi_Email = 0;
    Adresse_IP_Carte.fill(0);
    Adresse_IP_Passerelle.fill(0);
    Logique_Relais_Carte_1 = Logique_Relais_Carte_2 = 0;
    Adresse_IP_Serveur.fill(0);
    Longueur_Num_Telephone = 0;
    Num_Telephone.clear();
    Login_FAI.clear();
    Password_FAI.clear();
    Adresse_SMTP.clear();
    Adresse_Email_Emetteur.clear();
    Login_Password_Carte.clear();
    Masque_Sous_Reseau.fill(0);
}

}  // namespace ostrel
