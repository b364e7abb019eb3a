#include "link/fonctions_es.h"

#include <algorithm>
#include <vector>

#include "link/codeur.h"
#include "link/decodeur.h"
#include "link/donnees.h"
#include "link/liaison.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/transaction.h"
#include "link/variables.h"
#include "platform/formats.h"

namespace ostrel {
namespace {

constexpr Long Attente_Normale = 1500;
constexpr Long Attente_Masque = 500;
constexpr Long Attente_Enregistrements = 7500;
constexpr Long Attente_Mode = 7500;
constexpr Long Attente_Purge_Enregistrements = 65535;
constexpr Long Attente_Purge_Journal = 32000;
constexpr Long Attente_Apres_Purge_Journal = 5000;
constexpr Octet Valeur_Non_Acceptable = 3;

void Preparer(Octet adresse, Entier code, std::uint16_t compte, Long attente) {
    Adresse_Esclave = adresse;
    Code_Requete = code;
    Nb_Mots = compte;
    Type_Produit = 0;
    Temps_Attente = attente;
}

void Lire(Octet adresse, Entier code, std::uint16_t compte, Long attente = Attente_Normale) {
    Preparer(adresse, code, compte, attente);
    Requete_Lecture();
    if (Code_Erreur == 0) Decodage_Reponse();
}

// Block write of the shared values of `code`, as long as the encoder says in
// Nb_Octets_Donnees: the fixed length of the block, or for a free text the
// characters it actually wrote (a text longer than its block is cut to it).
void Ecrire(Octet adresse, Entier code, std::uint16_t compte, Long attente = Attente_Normale) {
    if (Code_Erreur != 0) return;
    Preparer(adresse, code, compte, attente);
    std::vector<Octet> octets(static_cast<size_t>(std::max(Capacite_Bloc(code), 0)), 0);
    if (!Codage_Donnees_Ecriture(octets)) return;  // does not fit its block: nothing is sent
    if (static_cast<size_t>(Nb_Octets_Donnees) > octets.size()) {
        Code_Erreur = Valeur_Non_Acceptable;
        return;
    }
    Octet longueur = Nb_Octets_Donnees;
    Requete_Ecriture_Multiple(octets.data(), longueur);
}

void Commande(Octet adresse, Entier code, Entier valeur, Long attente) {
    if (Code_Erreur != 0) return;
    Adresse_Esclave = adresse;
    Code_Requete = code;
    Type_Produit = 0;
    Temps_Attente = attente;
    Requete_Ecriture_Simple(valeur);
}

void Module_Valide(Octet& module) {
    if (module < 1 || module > 32) module = 1;
}
void Index_Valide(Octet& index) {
    if (index < 1 || index > 4) index = 1;
}
void Adresse_Passerelle(Octet& adresse) {
    if (adresse != 1) adresse = 1;
}

}  // namespace

Simple Lecture_Mesure_Voie(Octet module, Octet voie) {
    Lire(module, 0x00, voie);
    return Code_Erreur == 0 ? Donnees_Reponse.Mesure : 0;
}

void Lecture_Etat_Voie(Octet module, Octet voie) { Lire(module, 0x01, voie); }
void Lecture_Parametres_Voie(Octet module, Octet voie) { Lire(module, 0x02, voie); }
void Ecriture_Parametres_Voie(Octet module, Octet voie) { Ecrire(module, 0x02, voie); }
void Lecture_Correction_Voie(Octet module, Octet voie) { Lire(module, 0x03, voie); }
void Ecriture_Correction_Voie(Octet module, Octet voie) { Ecrire(module, 0x03, voie); }
void Lecture_Nom_Voie(Octet module, Octet voie) { Lire(module, 0x12, voie); }
void Ecriture_Nom_Voie(Octet module, Octet voie) { Ecrire(module, 0x12, voie); }

void Lecture_Logique_STOR(Octet module, Octet relais) { Lire(module, 0x04, relais); }
void Ecriture_Logique_STOR(Octet module, Octet relais) { Ecrire(module, 0x04, relais); }
void Lecture_Nom_Module(Octet module) { Lire(module, 0x05, 64); }
void Ecriture_Nom_Module(Octet module) { Ecrire(module, 0x05, 64); }
void Lecture_Planning(Octet module, Octet planning) { Lire(module, 0x06, planning); }
void Ecriture_Planning(Octet module, Octet planning) { Ecrire(module, 0x06, planning); }
void Lecture_Etat_Module(Octet module) { Lire(module, 0x07, 255); }
void Lecture_Date_Heure_Module(Octet module) { Lire(module, 0x09, 255); }
void Ecriture_Date_Heure_Module(Octet module) { Ecrire(module, 0x09, 255); }

void Lecture_Code_Acces(Octet& module, Octet& index) {
    Module_Valide(module);
    Index_Valide(index);
    Lire(module, 0x15, index);
}

void Ecriture_Code_Acces(Octet& module, Octet& index) {
    Module_Valide(module);
    Index_Valide(index);
    Ecrire(module, 0x15, index);
}

// The trace of a command tells what was sent; with an error pending nothing
// is sent, so nothing is traced.
void Acquittement_Alarme(Octet module, Octet voie, Octet niveau) {
    if (Code_Erreur != 0) return;
    Ecrit_Mouchard(QStringLiteral("Acquittement module ") + Texte_Entier(module) + QStringLiteral(" voie ") +
                   Texte_Entier(voie) + QStringLiteral(" code ") + Texte_Entier(niveau));
    Commande(module, 0x0A, static_cast<Entier>(niveau * 256 + voie), Attente_Normale);
}

void Purge_Enregistrements(Octet module) {
    if (Code_Erreur != 0) return;
    Ecrit_Mouchard(QStringLiteral("Purge enregistrements module ") + Texte_Entier(module));
    Commande(module, 0x0B, 255, Attente_Purge_Enregistrements);
}

void Purge_Journal_Alarmes(Octet module) {
    if (Code_Erreur == 0) {
        Ecrit_Mouchard(QStringLiteral("Purge du journal des alarmes du module ") + Texte_Entier(module));
        Commande(module, 0x0C, 255, Attente_Purge_Journal);
    }
    Temps_Attente = Attente_Apres_Purge_Journal;
}

void Commande_Mode_Fonctionnement(Octet module, Entier valeur) { Commande(module, 0x16, valeur, Attente_Mode); }

void Lecture_Nombre_Enregistrements(Octet module) { Lire(module, 0x13, 255); }
void Lecture_Nombre_Evenements(Octet module) { Lire(module, 0x14, 255); }
void Ecriture_Periode_Lecture(Octet module) { Ecrire(module, 0x0D, 255); }

void Lecture_Modules_En_Service() { Lire(1, 0x1B, 1); }

void Lecture_Adresse_Email(Octet& adresse, Octet& index) {
    Adresse_Passerelle(adresse);
    Index_Valide(index);
    Lire(adresse, 0x17, index);
}

void Ecriture_Adresse_Email(Octet& adresse, Octet& index) {
    Adresse_Passerelle(adresse);
    Index_Valide(index);
    Ecrire(adresse, 0x17, index);
}

void Lecture_Nom_Fichier_Email(Octet adresse, Octet module) { Lire(adresse, 0x18, module); }
void Ecriture_Nom_Fichier_Email(Octet adresse, Octet module) { Ecrire(adresse, 0x18, module); }
void Lecture_Parametres_Peripheriques(Octet adresse) { Lire(adresse, 0x19, 1); }
void Ecriture_Parametres_Peripheriques(Octet adresse) { Ecrire(adresse, 0x19, 1); }
void Lecture_Parametres_Messagerie(Octet adresse) { Lire(adresse, 0x1A, 1); }
void Ecriture_Parametres_Messagerie(Octet adresse) { Ecrire(adresse, 0x1A, 1); }
void Lecture_Identifiant_Passerelle(Octet adresse, Octet selecteur) { Lire(adresse, 0x1C, selecteur); }
void Ecriture_Identifiant_Passerelle(Octet adresse, Octet selecteur) {
    Ecrire(adresse, 0x1C, selecteur);
}
void Lecture_Parametres_SMTP(Octet adresse) { Lire(adresse, 0x1D, 1); }
void Ecriture_Parametres_SMTP(Octet adresse) { Ecrire(adresse, 0x1D, 1); }

void Lecture_Masque_Reseau(Octet adresse) {
    if (Code_Erreur != 0) return;  // the caller's pending error is not ours to clear
    Lire(adresse, 0x20, 1, Attente_Masque);
    Code_Erreur = 0;
}

void Ecriture_Masque_Reseau(Octet adresse) {
    if (Code_Erreur != 0) return;
    Ecrire(adresse, 0x20, 1, Attente_Masque);
    Code_Erreur = 0;
}

// --- Downloads -------------------------------------------------------------

void Telechargement_Tous_Enregistrements(Octet module, Octet voie) {
    Code_Requete = 0x0E;
    Temps_Attente = Attente_Enregistrements;
    Telechargement_Enregistrements(module, voie);
}

void Telechargement_Enregistrements_Periode(Octet module, Octet voie) {
    Code_Requete = 0x0F;
    Temps_Attente = Attente_Enregistrements;
    Telechargement_Enregistrements(module, voie);
}

void Telechargement_Journal_Complet(Octet module, Octet& filtre) {
    Code_Requete = 0x10;
    Temps_Attente = Attente_Normale;
    Telechargement_Journal(module, filtre);
}

void Telechargement_Journal_Periode(Octet module, Octet& filtre) {
    Code_Requete = 0x11;
    Temps_Attente = Attente_Normale;
    Telechargement_Journal(module, filtre);
}

namespace {

// One page: the request, then its decoding. A page that fails either way
// ends the download with nothing stored from it. Returns the records to
// store, at most the 9 a page holds.
bool Page_Suivante(int& n) {
    Requete_Lecture();
    if (Code_Erreur != 0) return false;
    Decodage_Reponse();
    if (Code_Erreur != 0) return false;
    n = std::min<int>(Nb_Elements_Reponse, 9);
    return true;
}

}  // namespace

void Telechargement_Enregistrements(Octet module, Octet voie) {
    Adresse_Esclave = module;
    Type_Produit = 0;
    Nb_Mots = voie;
    const Long capacite = Table_Mesures::size();
    for (;;) {
        int n = 0;
        if (Nb_Elements_Telecharges >= capacite || !Page_Suivante(n)) return;
        // A full table stops the download: what fits is kept and counted.
        const int places = static_cast<int>(std::min<Long>(n, capacite - Nb_Elements_Telecharges));
        for (int k = 0; k < places; ++k) {
            Mesure_Enreg& m = Tab_Mesures[Nb_Elements_Telecharges + k];
            m.Num_Voie = voie;
            m.Date_Heure = Donnees_Reponse.Dates_Enreg[static_cast<size_t>(k)];
            m.Valeur = Donnees_Reponse.Valeurs_Enreg[static_cast<size_t>(k)];
            m.Alarme = Donnees_Reponse.Alarmes_Enreg[static_cast<size_t>(k)];
        }
        Nb_Elements_Telecharges += places;
        if (n != 9 || Nb_Elements_Telecharges >= capacite) return;
        Nb_Mots = static_cast<std::uint16_t>(0xFF00 + voie);
    }
}

void Telechargement_Journal(Octet module, Octet& filtre) {
    Long zero = 0;
    Frm_Menu1().Progess_Bar_Value(zero);
    Frm_Menu1().Affiche_Progress_Bar(true);
    Frm_Menu1().Caption_Pb(QStringLiteral("Chargement des évènements"));
    Nb_Elements_Telecharges = 0;
    Nb_Elements_Lus = 0;
    Adresse_Esclave = module;
    Type_Produit = 0;
    if (filtre == 0) filtre = 255;
    Nb_Mots = filtre;
    // A journal longer than the table is read to its end, the table written
    // round and round, so that it keeps the newest entries, those of the last
    // alarms. The reading stops after the count announced and one more (an
    // alarm come in meanwhile): a module whose pages never end cannot hold
    // the screen.
    const Long capacite = static_cast<Long>(Tab_Journal.size());
    const std::int64_t annonces = std::max<std::int64_t>(Donnees_Reponse.Nb_Evenements, 0);
    const std::int64_t limite = std::max<std::int64_t>(capacite, annonces + 1);
    const double total = static_cast<double>(annonces) + 1.0;
    bool fini = true;
    for (;;) {
        int n = 0;
        if (capacite == 0 || Nb_Elements_Lus >= limite) break;
        if (!Page_Suivante(n)) {  // the bar stays shown, as after any link error
            fini = false;
            break;
        }
        const int places = static_cast<int>(std::min<std::int64_t>(n, limite - Nb_Elements_Lus));
        for (int k = 0; k < places; ++k) {
            Evenement_Journal& e = Tab_Journal[static_cast<size_t>((Nb_Elements_Lus + k) % capacite)];
            e.Date_Heure = Donnees_Reponse.Dates_Journal[static_cast<size_t>(k)];
            e.Num_Voie = Donnees_Reponse.Voies_Journal[static_cast<size_t>(k)];
            e.Etat = Donnees_Reponse.Etats_Journal[static_cast<size_t>(k)];
            e.Num_Operateur = Donnees_Reponse.Operateurs_Journal[static_cast<size_t>(k)];
            Long progression = static_cast<Long>(Arrondi_Pair((Nb_Elements_Lus + k) / total * 100.0));
            Frm_Menu1().Progess_Bar_Value(progression);
        }
        Nb_Elements_Lus += places;
        Nb_Elements_Telecharges = static_cast<Long>(std::min<std::int64_t>(Nb_Elements_Lus, capacite));
        if (n != 9) break;
        Nb_Mots = static_cast<std::uint16_t>(0xFF00 + filtre);
    }
    // The oldest entry kept back at index 0.
    if (Nb_Elements_Lus > capacite)
        std::rotate(Tab_Journal.begin(), Tab_Journal.begin() + static_cast<std::ptrdiff_t>(Nb_Elements_Lus % capacite),
                    Tab_Journal.end());
    if (fini) Frm_Menu1().Affiche_Progress_Bar(false);
}

}  // namespace ostrel
