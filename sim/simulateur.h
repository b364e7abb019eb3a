#pragma once
// A bus of monitoring modules on a pseudo-terminal, for tests and demos.
// It answers as Modbus RTU slaves (module addresses 1..32, 8 or 16 channels
// each; module 1 also answers for the network bridge) with its own reading of
// the register map (registres.h: a handler per request code), refuses what a
// module refuses, keeps the state written to it, and can be told to
// misbehave request by request (silence, exceptions, corrupted, split, glued
// or late replies, endless pages).
//
// The bus is either a fixed state, which changes only by what is written to
// it, or a running plant (Etat_Installation) whose channels move with time.
//
// It runs on a thread of its own. Tests set up and inspect the state through
// Avec_Etat(), which holds the simulator's lock while the function runs.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/types.h"

namespace ostrel::sim {

// CRC-16/MODBUS of a frame without its CRC, as the bus word (low byte first).
std::uint16_t Crc_Modbus(const QByteArray& octets);
// The frame with its two CRC bytes appended.
QByteArray Avec_Crc(QByteArray trame);
bool Crc_Correct(const QByteArray& trame);

// A point in time as the modules keep it (minute resolution).
struct Horodatage {
    int annee = 2000, mois = 1, jour = 1, heure = 0, minute = 0;
    long long Cle() const { return (((annee * 13LL + mois) * 32 + jour) * 24 + heure) * 60 + minute; }
    long long Cle_Jour() const { return (annee * 13LL + mois) * 32 + jour; }
    Horodatage Plus_Minutes(int minutes) const;
    static Horodatage De(const QDateTime& t);
};

struct Point_Enregistre {
    Horodatage quand;
    Entier valeur = 0;  // tenths, or a recorded-value marker word
    bool alarme = false;
};

struct Evenement {
    Horodatage quand;
    Octet etat = 0;
    Octet operateur = 0;
    Octet voie = 1;
};

struct Voie_Simulee {
    // Tenths as the sensor gives them, before the offset; or -32768 / -32767 / -32766.
    Entier mesure = 0;
    Octet etat = 0;     // alarm state code 0..12
    std::array<Octet, 16> reglages{};  // the channel settings block as it travels
    Entier correction = 0;             // offset in tenths
    QByteArray nom = QByteArray(12, ' ');
    std::vector<Point_Enregistre> enregistrements;
};

struct Module_Simule {
    int nb_voies = 16;
    std::array<Voie_Simulee, 16> voies;
    std::array<Octet, 2> logique_stor{};  // relay 1, relay 2
    QByteArray entete = QByteArray(64, ' ');
    std::array<std::array<Octet, 32>, 16> plannings{};
    // Clock as it travels: minute, hour, weekday, day, month, years since 2000.
    std::array<Octet, 6> horloge{0, 12, 2, 1, 1, 24};
    std::array<Entier, 4> codes_acces{1111, 2222, 3333, 4444};
    std::array<QByteArray, 4> operateurs{QByteArray(12, ' '), QByteArray(12, ' '), QByteArray(12, ' '),
                                         QByteArray(12, ' ')};
    std::vector<Evenement> journal;
    // Date window of the dated downloads (day keys), set by request 0x0D.
    Horodatage debut_fenetre, fin_fenetre{2099, 12, 31, 23, 59};
    // The last values of the mode command 0x16 and of the acknowledgement 0x0A
    // (a few hundred), refused ones included.
    std::vector<Entier> modes_recus;
    std::vector<Entier> acquittements;
    int purges_enregistrements = 0;
    int purges_journal = 0;
    // The paged download in progress (requests 0x0E..0x11): its request code
    // and channel or filter, the records it began with (8 bytes each, as they
    // travel) and how many of them have gone out.
    struct Telechargement {
        int code = -1;
        int filtre = -1;
        QByteArray enregistrements;
        qsizetype envoyes = 0;
    } telechargement;
};

// Settings of the network bridge, kept as the bytes that travel.
struct Passerelle_Simulee {
    std::array<QByteArray, 4> emails;
    std::array<QByteArray, 32> noms_fichiers;
    QByteArray peripheriques = QByteArray(12, '\0');
    QByteArray messagerie = QByteArray(7, '\0');
    QByteArray identifiant;   // selector 0
    QByteArray mot_de_passe;  // selector 255
    QByteArray smtp = QByteArray(2, '\0');
    std::array<Octet, 4> masque{255, 255, 255, 0};
};

// The measure the module returns: the sensor's with the offset added; the
// marker words as they are.
Entier Mesure_Corrigee(const Voie_Simulee& v);
// The module clock's bytes for a time, and back.
std::array<Octet, 6> Octets_Horloge(const QDateTime& t);
QDateTime Temps_Horloge(const std::array<Octet, 6>& h);
// Acknowledgement of one channel's alarm by an operator of level 1..4, as
// request 0x0A does it; the change is written to the journal, stamped with the
// module clock. False when the channel had nothing to acknowledge.
bool Acquitter_Voie(Module_Simule& m, int voie, int niveau);
// An entry at the end of the journal; the oldest goes when the memory is full.
void Journaliser(Module_Simule& m, const Evenement& e);

// How the plant runs: the seed of its course and the clock it follows.
struct Cours {
    std::uint32_t graine = 1;
    std::function<QDateTime()> horloge;  // empty: the PC's clock
};

class Installation;

struct Etat_Bus {
    std::map<int, Module_Simule> modules;  // by slave address
    bool passerelle = true;                 // module 1 answers the bridge requests
    Passerelle_Simulee pont;
};

// How to misbehave on one request.
struct Defaut {
    enum Type {
        Aucun,
        Silence,        // no reply at all
        Exception,      // exception reply with code valeur
        Mauvais_Crc,    // last CRC byte changed
        Autre_Esclave,  // reply from address + 1
        Autre_Fonction, // reply with another function code
        Mauvais_Echo,   // a write reply that echoes another value
        Courte,         // reply missing its last two bytes
        Longue,         // read reply announcing 127 data bytes, one more than a reply may carry
        Collee,         // the reply twice, back to back
        Scindee,        // the reply in two parts, delai_ms apart
        Tardive,        // the reply after delai_ms
        Pages_Sans_Fin, // pages of 9 records forever (0x0E..0x11)
        Donnees,        // a read reply carrying `donnees` as its data bytes
    };
    Defaut() = default;
    Defaut(Type t, int v = 0, int delai = 0, QByteArray d = {})
        : type(t), valeur(v), delai_ms(delai), donnees(std::move(d)) {}
    Type type = Aucun;
    int valeur = 0;
    int delai_ms = 0;  // real milliseconds
    QByteArray donnees;
};

struct Trame_Journal {
    QByteArray octets;
    std::chrono::steady_clock::time_point fin;  // when its last byte was read
};

class Simulateur {
public:
    Simulateur();
    ~Simulateur();
    Simulateur(const Simulateur&) = delete;
    Simulateur& operator=(const Simulateur&) = delete;

    // Opens the pseudo-terminal and starts answering; false on failure.
    bool Demarrer();
    void Arreter();
    QString Chemin() const { return chemin_; }

    // State set-up and inspection, under the simulator's lock.
    // A running plant is first brought up to its clock's present.
    template <class F>
    auto Avec_Etat(F f) {
        std::lock_guard<std::mutex> verrou(mutex_);
        Avancer_Installation();
        return f(etat_);
    }
    // Modules 1..32 with the given channel count each, default contents.
    void Configurer(const std::vector<int>& adresses, int nb_voies);
    // The demonstration bus as a fixed state: module 1 of 8 channels, modules 2
    // and 3 of 16, some channels in alarm, one contact input each.
    void Etat_Demonstration(const std::vector<int>& adresses = {1, 2, 3}, int nb_voies = 0);
    // The demonstration bus as a plant running on the course's clock.
    void Etat_Installation(const std::vector<int>& adresses = {1, 2, 3}, int nb_voies = 0, Cours cours = {});

    // Faults: the n-th request of code `code` from now on gets sequence[n-1];
    // later ones get `permanent` (Aucun by default).
    void Programmer_Defauts(int code, std::vector<Defaut> sequence, Defaut permanent = {});
    void Effacer_Defauts();

    // Frames received (every complete frame, good or bad), the last
    // Trames_Gardees_Defaut of them unless told otherwise. The three calls
    // first wait until every byte written to the bus before them has been
    // read and handled: a frame sent is always counted, however late the
    // simulator's thread runs.
    std::vector<Trame_Journal> Trames_Recues() const;
    void Effacer_Trames();
    // Number of received frames with valid CRC and this request code, kept or
    // not.
    int Nombre_Requetes(int code) const;
    // How many of the last frames received are kept (0: none, the counts only).
    void Garder_Trames(std::size_t nombre);
    static constexpr std::size_t Trames_Gardees_Defaut = 16384;

    // Wire-time emulation: every byte takes 10 bits at this rate (0: off).
    void Definir_Debit(int bauds) { debit_ = bauds; }
    // Time between the end of a request and the start of its reply, summed.
    std::chrono::nanoseconds Temps_Reponse_Cumule() const { return std::chrono::nanoseconds(cumul_ns_.load()); }

private:
    void Boucle();
    void Traiter(const QByteArray& requete, std::chrono::steady_clock::time_point fin);
    QByteArray Repondre(const QByteArray& requete, const Defaut& defaut);
    void Emettre(const QByteArray& octets);
    void Avancer_Installation();
    int Longueur_Attendue(const QByteArray& tampon) const;
    std::chrono::microseconds Silence() const;
    // Sends a marker frame down the line behind whatever is in it and waits
    // (up to seconds) until the thread has handled it.
    bool Synchroniser() const;

    mutable std::mutex mutex_;
    Etat_Bus etat_;
    std::unique_ptr<Installation> installation_;  // none: the state is fixed
    std::map<int, std::deque<Defaut>> sequences_;
    std::map<int, Defaut> permanents_;
    std::deque<Trame_Journal> trames_;
    std::size_t trames_gardees_ = Trames_Gardees_Defaut;
    std::array<int, 256> requetes_{};  // frames with a valid CRC, by request code

    int maitre_ = -1;
    int esclave_ = -1;  // kept open so the master side never hangs up
    int reveil_[2] = {-1, -1};
    QString chemin_;
    std::thread fil_;
    std::atomic<bool> arret_{false};
    std::atomic<int> debit_{0};
    std::atomic<long long> cumul_ns_{0};
    mutable std::condition_variable marque_vue_;
    mutable int marques_envoyees_ = 0;
    int marques_vues_ = 0;
};

}  // namespace ostrel::sim
