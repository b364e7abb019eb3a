#include "installation.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace ostrel::sim {

namespace {

// What a channel's name tells of its course: the value it keeps (tenths), its
// alarm thresholds, unit code and alarm delay (minutes, 1 to 240 as a module
// takes it), and its swing (tenths, over minutes).
struct Profil {
    const char* mot;  // found in the name, letter case aside
    int base, bas, haut, unite, delai, oscillation, periode_min;
};

// The first match wins: "Humidite labo" is a humidity. Cold rooms and
// freezers wait longer before they alarm, so that a door opened for a
// delivery does not.
constexpr Profil Profils[] = {
    {"humid", 550, 350, 700, 1, 5, 40, 90},  // %Hr
    {"congel", -200, -300, -150, 0, 20, 10, 30},
    {"chambre", 40, 0, 80, 0, 15, 6, 20},
    {"froid", 40, 0, 80, 0, 15, 6, 20},
    {"quai", 90, 20, 140, 0, 5, 10, 40},
    {"cave", 130, 80, 170, 0, 10, 4, 120},
    {"labo", 205, 160, 250, 0, 3, 5, 60},
    {"serre", 240, 120, 320, 0, 5, 15, 90},
    {"local tech", 260, 100, 350, 0, 3, 8, 60},
    {"cuisine", 210, 120, 300, 0, 5, 10, 45},
    {"", 195, 120, 280, 0, 3, 6, 60},  // offices, halls, workshops
};

// How a room follows its course: the share of the gap closed in a step, and
// the most it moves in one. With the sensor's noise on top, and less than a
// tenth more for the rounding, a measure never moves more than half a unit
// (5 tenths) in a step.
constexpr double Suivi = 0.25;
constexpr double Pente = 3.5;
constexpr double Bruit = 0.4;
static_assert(Pente + 2 * Bruit < 5);

// Steps between two pushes past a threshold on a 16-channel module; twice as
// many on an 8-channel one.
constexpr int Intervalle_Min = 120, Intervalle_Max = 300;

const Profil& Profil_De(const QByteArray& nom) {
    const QByteArray n = nom.toLower();
    for (const Profil& p : Profils)
        if (n.contains(p.mot)) return p;
    return Profils[std::size(Profils) - 1];
}

int Mot(const std::array<Octet, 16>& r, int i) { return static_cast<std::int16_t>(r[static_cast<size_t>(i)] << 8 | r[static_cast<size_t>(i) + 1]); }
void Mot(std::array<Octet, 16>& r, int i, int v) {
    r[static_cast<size_t>(i)] = static_cast<Octet>((v >> 8) & 0xFF);
    r[static_cast<size_t>(i) + 1] = static_cast<Octet>(v & 0xFF);
}

int Entre(std::mt19937& a, int min, int max) { return std::uniform_int_distribution<int>(min, max)(a); }
double Reel(std::mt19937& a, double min, double max) { return std::uniform_real_distribution<double>(min, max)(a); }
double Gauss(std::mt19937& a) {
    const double u = Reel(a, 1e-12, 1.0), w = Reel(a, 0.0, 1.0);
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * w);
}

bool Contact(const Voie_Simulee& v) { return ((v.reglages[13] >> 3) & 3) == 2; }
bool Humidite(const Voie_Simulee& v) { return (v.reglages[15] & 7) == 1; }
bool Valide(const Voie_Simulee& v) { return v.reglages[13] & 1; }
bool Alarmes(const Voie_Simulee& v) { return v.reglages[13] & 2; }
// A channel that a push past a threshold takes into alarm.
bool Alarmable(const Voie_Simulee& v) { return Valide(v) && Alarmes(v) && !Contact(v); }

// Into the module memory; when it is full the oldest point of all goes.
void Enregistrer(Module_Simule& m, int v, const Point_Enregistre& p) {
    constexpr size_t capacite = 8192;
    m.voies[static_cast<size_t>(v)].enregistrements.push_back(p);
    size_t total = 0;
    for (const auto& voie : m.voies) total += voie.enregistrements.size();
    if (total <= capacite) return;
    std::vector<Point_Enregistre>* plus_ancien = nullptr;
    for (auto& voie : m.voies)
        if (!voie.enregistrements.empty() &&
            (!plus_ancien || voie.enregistrements.front().quand.Cle() < plus_ancien->front().quand.Cle()))
            plus_ancien = &voie.enregistrements;
    plus_ancien->erase(plus_ancien->begin());
}

void Noter(Module_Simule& m, int v, int etat, const QDateTime& heure) {
    Evenement e;
    e.quand = Horodatage::De(heure);
    e.etat = static_cast<Octet>(etat);
    e.voie = static_cast<Octet>(v + 1);
    Journaliser(m, e);
}

}  // namespace

void Installation::Regler_Demonstration(Module_Simule& m) {
    static const char* const noms[] = {"Chambre 1", "Chambre 2", "Congelateur", "Quai",   "Labo",  "Humidite",
                                       "Hall",      "Entree",    "Cuisine",     "Cave",   "Bureau", "Atelier",
                                       "Serre",     "Chambre 3", "Local tech"};
    for (int v = 0; v < m.nb_voies; ++v) {
        Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
        voie.reglages[1] = 10;  // recording period, minutes
        if (Contact(voie)) {
            // The door opens and closes all day long: an inhibition input in
            // service, without alarms of its own.
            voie.reglages[13] = 0x01 | 0x04 | (2 << 3);
            continue;
        }
        if (v < static_cast<int>(std::size(noms))) voie.nom = QByteArray(noms[v]).leftJustified(12, ' ', true);
        const Profil& p = Profil_De(voie.nom);
        Mot(voie.reglages, 2, p.haut);
        Mot(voie.reglages, 4, p.bas);
        voie.reglages[11] = static_cast<Octet>(p.delai);
        // In service with alarms: temperatures from AD590 sensors, the
        // humidity from a 4-20 mA transmitter scaled 0 to 100 %Hr.
        const int nature = p.unite == 1 ? 1 : 0;
        voie.reglages[13] = static_cast<Octet>(0x03 | nature << 3);
        Mot(voie.reglages, 6, 0);
        Mot(voie.reglages, 8, 100);
        voie.reglages[15] = static_cast<Octet>((voie.reglages[15] & ~7) | p.unite);
    }
}

Installation::Installation(Etat_Bus& etat, Cours cours) : cours_(std::move(cours)) {
    debut_ = Maintenant();
    pas_ = -static_cast<long long>(Heures_Passees) * 3600 / Pas_Secondes;
    for (auto& [adresse, m] : etat.modules) {
        Module_Cours& mc = modules_[adresse];
        std::seed_seq graine_module{cours_.graine, static_cast<std::uint32_t>(adresse)};
        mc.alea.seed(graine_module);
        mc.prochain_incident = pas_ + Entre(mc.alea, 0, Intervalle_Min);
        m.journal.clear();
        for (int v = 0; v < 16; ++v) {
            Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
            Voie_Cours& c = mc.voies[static_cast<size_t>(v)];
            std::seed_seq graine_voie{cours_.graine, static_cast<std::uint32_t>(adresse), static_cast<std::uint32_t>(v)};
            c.alea.seed(graine_voie);
            const Profil& p = Profil_De(voie.nom);
            const bool humidite = p.unite == 1;
            c.base = p.base + Reel(c.alea, -8, 8) * (humidite ? 3 : 1);
            c.oscillation = p.oscillation * Reel(c.alea, 0.7, 1.3);
            c.periode = p.periode_min * 60.0 / Pas_Secondes * Reel(c.alea, 0.8, 1.2);
            c.phase = Reel(c.alea, 0, 2 * std::numbers::pi);
            c.agitation = humidite ? 0.6 : 0.2;
            c.bascule = pas_ + Entre(c.alea, 1, 60);
            voie.etat = 0;
            voie.enregistrements.clear();
        }
    }
    Preparer_Temoin(etat);
    Avancer(etat);
}

void Installation::Preparer_Temoin(Etat_Bus& etat) {
    if (modules_.empty()) return;
    const int adresse = modules_.begin()->first;
    Module_Simule& m = etat.modules[adresse];
    std::vector<int> libres;
    for (int v = 0; v < m.nb_voies; ++v)
        if (Alarmable(m.voies[static_cast<size_t>(v)])) libres.push_back(v);
    if (libres.empty()) return;
    // Draws of its own, so that the rest of the course stays what the seed gives.
    std::seed_seq graine{cours_.graine, static_cast<std::uint32_t>(adresse), 16u};
    std::mt19937 alea(graine);
    const int v = libres[static_cast<size_t>(Entre(alea, 0, static_cast<int>(libres.size()) - 1))];
    const Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
    Voie_Cours& c = modules_.begin()->second.voies[static_cast<size_t>(v)];
    const bool haut = Entre(alea, 1, 100) <= (c.base < 100 ? 80 : 50);
    const double marge = Entre(alea, 10, 25) * (Humidite(voie) ? 3 : 1);
    c.temoin = true;
    c.cible = haut ? Mot(voie.reglages, 2) + marge : Mot(voie.reglages, 4) - marge;
    // Pushed its delay and twenty minutes before the start: the room is past
    // the threshold within a quarter of an hour, so the alarm has begun by
    // the start; the push ends 4 to 12 minutes after it.
    c.depart = -static_cast<long long>(voie.reglages[11] * 60 + 20 * 60) / Pas_Secondes;
    c.tenue_voulue = INT_MAX;
    c.limite = Entre(alea, 4, 12) * 60 / Pas_Secondes;
}

double Installation::Cours_Lent(const Voie_Cours& c, long long k) {
    return c.base + c.oscillation * std::sin(2 * std::numbers::pi * static_cast<double>(k) / c.periode + c.phase) + c.derive;
}

qint64 Installation::Maintenant() const {
    return (cours_.horloge ? cours_.horloge() : QDateTime::currentDateTime()).toSecsSinceEpoch();
}

void Installation::Avancer(Etat_Bus& etat) {
    const qint64 maintenant = Maintenant();
    const qint64 ecoule = maintenant - debut_;
    // Whole steps only, also before the start.
    const long long cible = ecoule >= 0 ? ecoule / Pas_Secondes : -((-ecoule + Pas_Secondes - 1) / Pas_Secondes);
    while (pas_ < cible) Pas(etat, ++pas_);
    for (auto& [adresse, mc] : modules_) {
        auto m = etat.modules.find(adresse);
        if (m != etat.modules.end()) m->second.horloge = Octets_Horloge(QDateTime::fromSecsSinceEpoch(maintenant + mc.decalage));
    }
}

void Installation::Horloge_Ecrite(int adresse, const Module_Simule& m) {
    auto mc = modules_.find(adresse);
    if (mc != modules_.end()) mc->second.decalage = Temps_Horloge(m.horloge).toSecsSinceEpoch() - Maintenant();
}

void Installation::Pas(Etat_Bus& etat, long long k) {
    for (auto& [adresse, mc] : modules_) {
        auto it = etat.modules.find(adresse);
        if (it == etat.modules.end()) continue;
        Module_Simule& m = it->second;
        const qint64 t = debut_ + k * Pas_Secondes + mc.decalage;
        const QDateTime heure = QDateTime::fromSecsSinceEpoch(t);
        const long long minute = (t + heure.offsetFromUtc()) / 60;  // local minutes since the epoch
        m.horloge = Octets_Horloge(heure);  // the stamps of this step
        if (k >= mc.prochain_incident) {
            Incident(m, mc, k);
            mc.prochain_incident = k + Entre(mc.alea, Intervalle_Min, Intervalle_Max) * 16 / m.nb_voies;
        }
        for (int v = 0; v < m.nb_voies; ++v) Pas_Voie(m, mc, v, k, heure, minute);
    }
}

void Installation::Incident(Module_Simule& m, Module_Cours& mc, long long k) {
    // A channel in service with alarms, not pushed in the last hour.
    std::vector<int> libres;
    for (int v = 0; v < m.nb_voies; ++v) {
        const Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
        const Voie_Cours& c = mc.voies[static_cast<size_t>(v)];
        if (Alarmable(voie) && !c.temoin && !c.poussee && k >= c.fin + 3600 / Pas_Secondes)
            libres.push_back(v);
    }
    if (libres.empty()) return;
    const int v = libres[static_cast<size_t>(Entre(mc.alea, 0, static_cast<int>(libres.size()) - 1))];
    const Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
    Voie_Cours& c = mc.voies[static_cast<size_t>(v)];
    // Cold rooms mostly warm up; the others drift either way.
    const bool haut = Entre(mc.alea, 1, 100) <= (c.base < 100 ? 80 : 50);
    // Well past the threshold, so that the noise does not take it back and forth.
    const double marge = Entre(mc.alea, 10, 25) * (Humidite(voie) ? 3 : 1);
    const double cible = haut ? Mot(voie.reglages, 2) + marge : Mot(voie.reglages, 4) - marge;
    c.ecart = cible - Cours_Lent(c, k);
    c.poussee = true;
    // Past the threshold for some minutes longer than the alarm delay; now
    // and then not long enough for the alarm. A push that does not get there
    // (a threshold written meanwhile) gives up after an hour and the delay.
    const int delai = voie.reglages[11] * 60;
    c.tenue_voulue = Entre(mc.alea, 1, 100) <= 15 ? delai / 2 : delai + 60 * Entre(mc.alea, 2, 20);
    c.limite = k + (delai + 3600) / Pas_Secondes;
}

void Installation::Pas_Voie(Module_Simule& m, Module_Cours& mc, int v, long long k, const QDateTime& heure,
                            long long minute) {
    Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
    Voie_Cours& c = mc.voies[static_cast<size_t>(v)];
    if (!Valide(voie)) {
        voie.mesure = -32768;
        c.condition = 0;
        return;
    }
    int condition = 0;
    Entier valeur = 0;
    if (Contact(voie)) {
        // Open a few minutes at a time, closed for longer.
        if (k >= c.bascule) {
            c.ouvert = !c.ouvert;
            c.bascule = k + (c.ouvert ? Entre(c.alea, 6, 30) : Entre(c.alea, 30, 240));
        }
        voie.mesure = c.ouvert ? -32766 : -32767;
        valeur = c.ouvert ? 10 : 0;
    } else {
        c.derive += -0.02 * c.derive + c.agitation * Gauss(c.alea);
        if (c.temoin && k == c.depart) c.poussee = true;
        const double cours = !c.poussee ? Cours_Lent(c, k) : c.temoin ? c.cible : Cours_Lent(c, k) + c.ecart;
        if (!c.demarree) {
            c.valeur = cours;
            c.demarree = true;
        }
        c.valeur += std::clamp(Suivi * (cours - c.valeur), -Pente, Pente);
        const double x = c.valeur + Reel(c.alea, -Bruit, Bruit);
        voie.mesure = static_cast<Entier>(std::clamp(std::lround(x), -32765L, 32767L));
        valeur = Mesure_Corrigee(voie);
        if (Alarmes(voie)) condition = valeur > Mot(voie.reglages, 2) ? 1 : valeur < Mot(voie.reglages, 4) ? -1 : 0;
    }
    Etats_Alarme(m, c, v, k, condition, heure);
    if (c.poussee && ((c.condition != 0 && c.tenue >= c.tenue_voulue) || k >= c.limite)) {
        c.poussee = false;
        c.temoin = false;
        c.fin = k;
    }

    // A point is the mean of the period, so that a short push past a
    // threshold shows as a bump and not as the whole period's value.
    c.somme += valeur;
    ++c.nombre;
    const int periode = voie.reglages[1];
    if (periode > 0 && minute % periode == 0 && minute != c.minute_enregistree) {
        c.minute_enregistree = minute;
        const Octet e = voie.etat;
        const auto moyenne = static_cast<Entier>(Contact(voie) ? valeur : std::lround(c.somme / c.nombre));
        Enregistrer(m, v, {Horodatage::De(heure), moyenne, e >= 1 && e <= 4});
        c.somme = 0;
        c.nombre = 0;
    }
}

void Installation::Etats_Alarme(Module_Simule& m, Voie_Cours& c, int v, long long k, int condition,
                                const QDateTime& heure) {
    Octet& e = m.voies[static_cast<size_t>(v)].etat;
    if (e >= 9 && e <= 12) return;  // a sensor fault is the module's own business
    // An alarm that is no longer there: over when acknowledged, gone otherwise.
    if ((e == 1 || e == 2) && condition != 1) {
        Noter(m, v, e == 1 ? 5 : 6, heure);
        e = e == 1 ? 0 : 6;
    } else if ((e == 3 || e == 4) && condition != -1) {
        Noter(m, v, e == 3 ? 7 : 8, heure);
        e = e == 3 ? 0 : 8;
    }
    if (condition != c.condition) {
        c.condition = condition;
        c.tenue = 0;
    } else if (condition != 0) {
        c.tenue += Pas_Secondes;
    }
    const int delai = m.voies[static_cast<size_t>(v)].reglages[11] * 60;
    if (condition == 1 && e != 1 && e != 2 && c.tenue >= delai) {
        e = 2;
        Noter(m, v, e, heure);
    } else if (condition == -1 && e != 3 && e != 4 && c.tenue >= delai) {
        e = 4;
        Noter(m, v, e, heure);
    }
    // Before the start, someone on site acknowledged within minutes.
    if (k >= 0 || c.temoin) return;
    const bool a_acquitter = e == 2 || e == 4 || e == 6 || e == 8;
    if (!a_acquitter) {
        c.acquittement = LLONG_MAX;
    } else if (c.acquittement == LLONG_MAX) {
        c.acquittement = k + Entre(c.alea, 12, 48);
    } else if (k >= c.acquittement) {
        Acquitter_Voie(m, v + 1, Entre(c.alea, 1, 4));
        c.acquittement = LLONG_MAX;
    }
}

}  // namespace ostrel::sim
