#pragma once
// Records and tables of the process-wide store: channels, modules, recordings
// and alarm journal. Every screen and service reads and writes them directly.
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "platform/types.h"

namespace ostrel {

// Settings of one channel, and the reply record of the last exchange.
struct Parametres_Voie {
    Simple Mesure = 0;
    Octet Etat_Voie = 0;
    Octet Periode_Enreg = 0;
    Simple Seuil_Haut = 0;
    Simple Seuil_Bas = 0;
    Simple Echelle_4mA = 0;
    Simple Echelle_20mA = 0;
    Octet Tempo_Alarme = 0;
    Booleen Voie_Valide = Faux;
    Booleen Alarme_Valide = Faux;
    Booleen Role_ETOR_Inhib = Faux;
    Octet Nature_Capteur = 0;
    Booleen Contact_NF = Faux;
    Booleen Inhib_Alarme_ETOR = Faux;
    Booleen Inhib_Enreg_ETOR = Faux;
    Booleen Relais_2 = Faux;
    Octet Num_ETOR_Inhib = 0;
    Octet Unite = 0;
    Booleen Buzzer = Faux;
    Octet Num_Planning_Inhib = 0;
    Simple Offset = 0;
    Octet Config_STOR = 0;
    QString Entete_Module;
    std::array<Date, 16> Plages_Planning{};
    Entier Etat_Module = 0;
    Date Date_Heure_Module = 0;
    Date Date_Debut = 0;
    Date Date_Fin = 0;
    std::array<Date, 9> Dates_Enreg{};
    std::array<Simple, 9> Valeurs_Enreg{};
    std::array<Booleen, 9> Alarmes_Enreg{};
    std::array<Date, 9> Dates_Journal{};
    std::array<Octet, 9> Etats_Journal{};
    std::array<Octet, 9> Voies_Journal{};
    std::array<Octet, 9> Operateurs_Journal{};
    QString Nom_Voie;
    Long Nb_Enregistrements = 0;
    Long Nb_Evenements = 0;
};

// Settings of one module. Planning is indexed 1..16 (entry 0 unused), each of
// 16 times of day 0..15.
struct Parametres_Module {
    QString Entete;
    Date Date_Heure = 0;
    std::array<std::array<Date, 16>, 17> Planning{};
    Octet Logique_STOR1 = 0;
    Octet Logique_STOR2 = 0;
};

// One recorded point.
struct Mesure_Enreg {
    Date Date_Heure = 0;
    Simple Valeur = 0;
    Booleen Alarme = Faux;
    Octet Num_Voie = 0;
    QString Nom_Voie;
};

// One alarm-journal entry.
struct Evenement_Journal {
    Date Date_Heure = 0;
    Octet Etat = 0;
    Octet Num_Voie = 0;
    Octet Num_Operateur = 0;
    QString Nom_Voie;
};

// Recorded-value markers of Mesure_Enreg::Valeur.
constexpr Simple Valeur_Debut_Coupure = 3276.7f;
constexpr Simple Valeur_Fin_Coupure = 3276.6f;
constexpr Simple Valeur_Inhibee = 1500.0f;

// Reserved measure words of request 0x00.
constexpr Entier Mot_Voie_Invalide = -32768;
constexpr Entier Mot_Contact_Ferme = -32767;
constexpr Entier Mot_Contact_Ouvert = -32766;

// A channel of sensor kind 2 is a contact input (ETOR): open or closed, no thresholds.
inline bool Entree_Contact(const Parametres_Voie& voie) { return voie.Nature_Capteur == 2; }
// A module's channel count by its state word (Lecture_Etat_Module): 8 when bit 2 is set, 16 otherwise.
inline Octet Nb_Voies_Selon_Etat(Entier etat_module) { return (etat_module & 4) ? 8 : 16; }

inline const QString En_Service = QStringLiteral("En Service");
inline const QString Hors_Service = QStringLiteral("Hors Service");
inline const QString Module_Non_Connecte = QStringLiteral("Module non connecté");

// The recordings table: a fixed number of entries, allocated once for the run.
class Table_Mesures {
public:
    static constexpr Long Taille = 516098;
    Table_Mesures();
    Mesure_Enreg& operator[](Long i) { return entrees_[i]; }
    const Mesure_Enreg& operator[](Long i) const { return entrees_[i]; }
    static constexpr Long size() { return Taille; }
    void Effacer();  // every entry back to its empty value
private:
    struct Liberer {
        void operator()(Mesure_Enreg* entrees) const;
    };
    std::unique_ptr<Mesure_Enreg[], Liberer> entrees_;
};

extern Parametres_Voie Donnees_Reponse;
extern std::array<Parametres_Voie, 16> Tab_Parametres_Voies;
extern std::array<Parametres_Module, 32> Tab_Parametres_Modules;
extern Table_Mesures Tab_Mesures;
extern std::vector<Long> Index_Fin_Voie;
extern std::vector<Evenement_Journal> Tab_Journal;
extern std::array<Octet, 32> Nb_Voies_Module;
extern std::array<QString, 32> Tab_Fonctionnement_OC;
extern std::array<Booleen, 16> Planning_Actif;
extern std::array<Couleur, 16> Tab_Couleur_Courbe;

}  // namespace ostrel
