#include "registres.h"

#include <QDate>
#include <map>

#include "installation.h"
#include "link/modbus.h"

namespace ostrel::sim {
namespace {

Octet O(const QByteArray& b, int i) { return static_cast<Octet>(b[i]); }
int Mot_Signe(const QByteArray& b, int i) { return static_cast<std::int16_t>(O(b, i) << 8 | O(b, i + 1)); }

QByteArray Mot(int v) {
    QByteArray b;
    b.append(static_cast<char>((v >> 8) & 0xFF));
    b.append(static_cast<char>(v & 0xFF));
    return b;
}

QByteArray Long32(long long v) {
    QByteArray b;
    for (int s = 24; s >= 0; s -= 8) b.append(static_cast<char>((v >> s) & 0xFF));
    return b;
}

template <std::size_t N>
QByteArray Octets(const std::array<Octet, N>& a) {
    return QByteArray(reinterpret_cast<const char*>(a.data()), static_cast<qsizetype>(N));
}

template <std::size_t N>
void Copier(std::array<Octet, N>& a, const QByteArray& b) {
    for (std::size_t i = 0; i < N; ++i) a[i] = O(b, static_cast<int>(i));
}

void Date_Octets(QByteArray& b, const Horodatage& h) {
    b.append(static_cast<char>(h.jour));
    b.append(static_cast<char>(h.mois));
    b.append(static_cast<char>((h.annee - 2000) & 0xFF));
    b.append(static_cast<char>(h.heure));
    b.append(static_cast<char>(h.minute));
}

Horodatage Jour_Recu(Octet jour, Octet mois, Octet aa) {
    Horodatage h;
    h.annee = 2000 + aa;  // years since 2000, as the clock counts them
    h.mois = mois;
    h.jour = jour;
    return h;
}

// The values of the commands received, a few hundred of them at most.
void Noter(std::vector<Entier>& valeurs, Entier v) {
    valeurs.push_back(v);
    if (valeurs.size() > 256) valeurs.erase(valeurs.begin());
}

Resultat Refus(Octet code) { return {code, {}, {}}; }
Resultat Lu(QByteArray donnees) { return {0, std::move(donnees), {}}; }
Resultat Fait() { return {}; }
Resultat Taille_Refusee() { return Refus(Modbus::Valeur_Refusee); }

bool Voie_Presente(const Contexte& c, int v) { return v >= 1 && v <= c.module.nb_voies; }
bool Entre(int v, int min, int max) { return v >= min && v <= max; }
// The channel, relay, planning or index of the count field, as an index from 0.
std::size_t Rang(const Contexte& c) { return static_cast<std::size_t>(c.requete.compte - 1); }
Voie_Simulee& Voie(Contexte& c) { return c.module.voies[Rang(c)]; }
const QByteArray& Donnees(const Contexte& c) { return c.requete.donnees; }
qsizetype Taille(const Contexte& c) { return c.requete.donnees.size(); }

// 0x00: the channel's measure, offset included.
Resultat Lire_Mesure(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    return Lu(Mot(Mesure_Corrigee(Voie(c))));
}

// 0x01: the channel's alarm state.
Resultat Lire_Etat(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    return Lu(Mot(Voie(c).etat));
}

// 0x02: the channel's settings block. The module keeps only settings within
// its ranges: a recording period and an alarm delay of 1 to 240 minutes, the
// low threshold not above the high one, a sensor kind, unit, inhibiting
// input and planning that it has.
Resultat Lire_Reglages(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    return Lu(Octets(Voie(c).reglages));
}

Resultat Ecrire_Reglages(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) != 16) return Taille_Refusee();
    const QByteArray& d = Donnees(c);
    const int nature = (O(d, 13) >> 3) & 3;
    const int unite = O(d, 15) & 7;
    const int entree_inhibition = (O(d, 12) >> 1) & 0x1F;
    const int planning = (O(d, 15) >> 4) | (O(d, 14) & 1) << 4;
    const bool dans_les_plages = Entre(O(d, 1), 1, 240) && Entre(O(d, 11), 1, 240) &&
                                 Mot_Signe(d, 4) <= Mot_Signe(d, 2) && nature <= 2 && unite <= 3 &&
                                 entree_inhibition <= 16 && planning <= 16;
    if (!dans_les_plages) return Refus(Modbus::Valeur_Refusee);
    Copier(Voie(c).reglages, d);
    return Fait();
}

// 0x03: the channel's offset, in tenths.
Resultat Lire_Correction(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    return Lu(Mot(Voie(c).correction));
}

Resultat Ecrire_Correction(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) != 2) return Taille_Refusee();
    Voie(c).correction = static_cast<Entier>(Mot_Signe(Donnees(c), 0));
    return Fait();
}

// 0x04: the logic of relay 1 or 2: bit 0 a normally closed contact, bit 1 a
// pulse; the relay has no other setting.
Resultat Lire_Logique_Relais(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 2)) return Refus(Modbus::Adresse_Absente);
    return Lu(Mot(c.module.logique_stor[Rang(c)]));
}

Resultat Ecrire_Logique_Relais(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 2)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) != 2) return Taille_Refusee();
    if (O(Donnees(c), 0) != 0 || O(Donnees(c), 1) > 3) return Refus(Modbus::Valeur_Refusee);
    c.module.logique_stor[Rang(c)] = O(Donnees(c), 1);
    return Fait();
}

// 0x05: the module's header, two lines of 32 characters.
Resultat Lire_Entete(Contexte& c) { return Lu(c.module.entete); }

Resultat Ecrire_Entete(Contexte& c) {
    if (Taille(c) != 64) return Taille_Refusee();
    c.module.entete = Donnees(c);
    return Fait();
}

// 0x06: planning 1..16, sixteen times of day as hour and minute.
Resultat Lire_Planning(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 16)) return Refus(Modbus::Adresse_Absente);
    return Lu(Octets(c.module.plannings[Rang(c)]));
}

Resultat Ecrire_Planning(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 16)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) != 32) return Taille_Refusee();
    for (int i = 0; i < 32; i += 2)
        if (O(Donnees(c), i) > 23 || O(Donnees(c), i + 1) > 59) return Refus(Modbus::Valeur_Refusee);
    Copier(c.module.plannings[Rang(c)], Donnees(c));
    return Fait();
}

// 0x07: the module's status word; bit value 4 for an 8-channel module.
Resultat Lire_Etat_Module(Contexte& c) { return Lu(Mot(c.module.nb_voies == 8 ? 4 : 0)); }

// 0x09: the module's clock: minute, hour, weekday (1 Sunday .. 7 Saturday),
// day, month, years since 2000. A set clock runs on from what it got.
Resultat Lire_Horloge(Contexte& c) { return Lu(Octets(c.module.horloge)); }

Resultat Ecrire_Horloge(Contexte& c) {
    if (Taille(c) != 6) return Taille_Refusee();
    const QByteArray& d = Donnees(c);
    const bool valide = O(d, 0) <= 59 && O(d, 1) <= 23 && Entre(O(d, 2), 1, 7) &&
                        QDate(2000 + O(d, 5), O(d, 4), O(d, 3)).isValid();
    if (!valide) return Refus(Modbus::Valeur_Refusee);
    Copier(c.module.horloge, d);
    if (c.installation) c.installation->Horloge_Ecrite(c.requete.adresse, c.module);
    return Fait();
}

// 0x0A: acknowledgement of one channel's alarms, under the access level 1..4
// in the high byte of the value; the channel in its low byte.
Resultat Acquitter(Contexte& c) {
    Noter(c.module.acquittements, static_cast<Entier>(c.requete.compte));
    const int niveau = c.requete.compte >> 8;
    if (!Entre(niveau, 1, 4) || !Voie_Presente(c, c.requete.sous)) return Refus(Modbus::Valeur_Refusee);
    Acquitter_Voie(c.module, c.requete.sous, niveau);
    return Fait();
}

// 0x0B: the recordings erased, on the value 255 only, so that a stray value
// never erases them.
Resultat Purger_Enregistrements(Contexte& c) {
    if (c.requete.compte != 255) return Refus(Modbus::Valeur_Refusee);
    for (auto& v : c.module.voies) v.enregistrements.clear();
    ++c.module.purges_enregistrements;
    return Fait();
}

// 0x0C: the alarm journal erased, on the value 255 only.
Resultat Purger_Journal(Contexte& c) {
    if (c.requete.compte != 255) return Refus(Modbus::Valeur_Refusee);
    c.module.journal.clear();
    ++c.module.purges_journal;
    return Fait();
}

// 0x0D: the date window of the dated downloads, first and last day.
Resultat Ecrire_Fenetre(Contexte& c) {
    if (Taille(c) != 6) return Taille_Refusee();
    const QByteArray& d = Donnees(c);
    const Horodatage debut = Jour_Recu(O(d, 0), O(d, 1), O(d, 2));
    const Horodatage fin = Jour_Recu(O(d, 3), O(d, 4), O(d, 5));
    // Days of the calendar only: no 32nd, no 13th month, no 30 February.
    for (const Horodatage& h : {debut, fin})
        if (!QDate(h.annee, h.mois, h.jour).isValid()) return Refus(Modbus::Valeur_Refusee);
    c.module.debut_fenetre = debut;
    c.module.fin_fenetre = fin;
    return Fait();
}

// The records a download begins with, 8 bytes each as they travel: a
// channel's points (0x0E, 0x0F) or the journal entries of a channel, or of
// all for 255 (0x10, 0x11); those of the date window only for 0x0F and 0x11.
QByteArray Cliche(const Module_Simule& m, int code, int filtre) {
    const bool fenetre = code == 0x0F || code == 0x11;
    auto dedans = [&](const Horodatage& h) {
        return !fenetre || (h.Cle_Jour() >= m.debut_fenetre.Cle_Jour() && h.Cle_Jour() <= m.fin_fenetre.Cle_Jour());
    };
    QByteArray d;
    if (code <= 0x0F) {
        for (const Point_Enregistre& p : m.voies[static_cast<std::size_t>(filtre - 1)].enregistrements) {
            if (!dedans(p.quand)) continue;
            Date_Octets(d, p.quand);
            d.append(Mot(p.valeur));
            d.append(char(p.alarme ? 1 : 0));
        }
    } else {
        for (const Evenement& e : m.journal) {
            if ((filtre != 255 && e.voie != filtre) || !dedans(e.quand)) continue;
            Date_Octets(d, e.quand);
            d.append(static_cast<char>(e.etat));
            d.append(static_cast<char>(e.operateur));
            d.append(static_cast<char>(e.voie));
        }
    }
    return d;
}

// 0x0E, 0x0F, 0x10, 0x11: the pages of a download, 9 records each. The first
// page takes what the memory holds at that moment; the next ones (count
// field 0xFF..) go on through it, so that a record that comes in meanwhile
// waits for the next download and none is skipped.
Resultat Lire_Pages(Contexte& c) {
    const Requete_Module& r = c.requete;
    const bool enregistrements = r.code <= 0x0F;
    if (enregistrements && !Voie_Presente(c, r.sous)) return Refus(Modbus::Adresse_Absente);
    Module_Simule::Telechargement& t = c.module.telechargement;
    const bool sans_fin = c.defaut.type == Defaut::Pages_Sans_Fin;
    if (!r.suite || t.code != r.code || t.filtre != r.sous)
        t = {r.code, r.sous, sans_fin ? QByteArray() : Cliche(c.module, r.code, r.sous), 0};
    Resultat page;
    if (sans_fin) {
        for (int k = 0; k < 9; ++k) {
            Date_Octets(page.donnees, Horodatage{2024, 1, 1, 0, 0}.Plus_Minutes(static_cast<int>(t.envoyes) + k));
            page.donnees.append(enregistrements ? Mot(100 + k) : QByteArray("\x02\x00", 2));
            page.donnees.append(char(enregistrements ? 0 : (r.sous == 255 ? 1 : r.sous)));
        }
        page.envoyes = t.envoyes + 9;
    } else {
        page.donnees = t.enregistrements.mid(8 * t.envoyes, 8 * 9);
        page.envoyes = t.envoyes + page.donnees.size() / 8;
    }
    return page;
}

// 0x12: the channel's name, 12 characters.
Resultat Lire_Nom_Voie(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    return Lu(Voie(c).nom);
}

Resultat Ecrire_Nom_Voie(Contexte& c) {
    if (!Voie_Presente(c, c.requete.compte)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) != 12) return Taille_Refusee();
    Voie(c).nom = Donnees(c);
    return Fait();
}

// 0x13: how many points the recordings memory holds.
Resultat Lire_Nombre_Enregistrements(Contexte& c) {
    long long n = 0;
    for (int v = 0; v < c.module.nb_voies; ++v)
        n += static_cast<long long>(c.module.voies[static_cast<std::size_t>(v)].enregistrements.size());
    return Lu(Long32(n));
}

// 0x14: how many entries the alarm journal holds.
Resultat Lire_Nombre_Evenements(Contexte& c) { return Lu(Long32(static_cast<long long>(c.module.journal.size()))); }

// 0x15: access code 1..4 and its operator's name.
Resultat Lire_Code_Acces(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 4)) return Refus(Modbus::Adresse_Absente);
    return Lu(Mot(c.module.codes_acces[Rang(c)]) + c.module.operateurs[Rang(c)]);
}

Resultat Ecrire_Code_Acces(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 4)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) != 14) return Taille_Refusee();
    c.module.codes_acces[Rang(c)] = static_cast<Entier>(Mot_Signe(Donnees(c), 0));
    c.module.operateurs[Rang(c)] = Donnees(c).mid(2);
    return Fait();
}

// 0x16: the mode command, 0 before a settings transfer and 255 after it.
Resultat Commander_Mode(Contexte& c) {
    Noter(c.module.modes_recus, static_cast<Entier>(c.requete.compte));
    if (c.requete.compte != 0 && c.requete.compte != 255) return Refus(Modbus::Valeur_Refusee);
    return Fait();
}

// The bridge's settings, kept as the bytes that travel.

// 0x17: e-mail address 1..4.
Resultat Lire_Email(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 4)) return Refus(Modbus::Adresse_Absente);
    return Lu(c.etat.pont.emails[Rang(c)]);
}

Resultat Ecrire_Email(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 4)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) > 64) return Taille_Refusee();
    c.etat.pont.emails[Rang(c)] = Donnees(c);
    return Fait();
}

// 0x18: the name of the file sent for module 1..32.
Resultat Lire_Nom_Fichier(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 32)) return Refus(Modbus::Adresse_Absente);
    return Lu(c.etat.pont.noms_fichiers[Rang(c)]);
}

Resultat Ecrire_Nom_Fichier(Contexte& c) {
    if (!Entre(c.requete.compte, 1, 32)) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) > 64) return Taille_Refusee();
    c.etat.pont.noms_fichiers[Rang(c)] = Donnees(c);
    return Fait();
}

// 0x19: access, mailing frequency, addresses and relays of the bridge.
Resultat Lire_Peripheriques(Contexte& c) { return Lu(c.etat.pont.peripheriques); }

Resultat Ecrire_Peripheriques(Contexte& c) {
    if (Taille(c) != 12) return Taille_Refusee();
    c.etat.pont.peripheriques = Donnees(c);
    return Fait();
}

// 0x1A: the internet access block.
Resultat Lire_Messagerie(Contexte& c) { return Lu(c.etat.pont.messagerie); }

Resultat Ecrire_Messagerie(Contexte& c) {
    if (Taille(c) > 81) return Taille_Refusee();
    c.etat.pont.messagerie = Donnees(c);
    return Fait();
}

// 0x1B: the addresses of the modules in service.
Resultat Lire_Modules(Contexte& c) {
    QByteArray d;
    for (const auto& [adresse, module] : c.etat.modules) d.append(static_cast<char>(adresse));
    return Lu(d);
}

// 0x1C: the bridge's login (count 0) or password (count 255).
Resultat Lire_Identifiant(Contexte& c) {
    if (c.requete.compte != 0 && c.requete.compte != 255) return Refus(Modbus::Adresse_Absente);
    return Lu(c.requete.compte == 0 ? c.etat.pont.identifiant : c.etat.pont.mot_de_passe);
}

Resultat Ecrire_Identifiant(Contexte& c) {
    if (c.requete.compte != 0 && c.requete.compte != 255) return Refus(Modbus::Adresse_Absente);
    if (Taille(c) > 21) return Taille_Refusee();
    (c.requete.compte == 0 ? c.etat.pont.identifiant : c.etat.pont.mot_de_passe) = Donnees(c);
    return Fait();
}

// 0x1D: the mail server and the sender's address.
Resultat Lire_Smtp(Contexte& c) { return Lu(c.etat.pont.smtp); }

Resultat Ecrire_Smtp(Contexte& c) {
    if (Taille(c) > 81) return Taille_Refusee();
    c.etat.pont.smtp = Donnees(c);
    return Fait();
}

// 0x20: the subnet mask.
Resultat Lire_Masque(Contexte& c) { return Lu(Octets(c.etat.pont.masque)); }

Resultat Ecrire_Masque(Contexte& c) {
    if (Taille(c) != 4) return Taille_Refusee();
    Copier(c.etat.pont.masque, Donnees(c));
    return Fait();
}

// Code -> read, block write, command, bridge's. A function a code lacks is
// refused as impossible there; a code missing here is no address of the module.
const std::map<int, Registre> Registres = {
    {0x00, {Lire_Mesure}},
    {0x01, {Lire_Etat}},
    {0x02, {Lire_Reglages, Ecrire_Reglages}},
    {0x03, {Lire_Correction, Ecrire_Correction}},
    {0x04, {Lire_Logique_Relais, Ecrire_Logique_Relais}},
    {0x05, {Lire_Entete, Ecrire_Entete}},
    {0x06, {Lire_Planning, Ecrire_Planning}},
    {0x07, {Lire_Etat_Module}},
    {0x09, {Lire_Horloge, Ecrire_Horloge}},
    {0x0A, {nullptr, nullptr, Acquitter}},
    {0x0B, {nullptr, nullptr, Purger_Enregistrements}},
    {0x0C, {nullptr, nullptr, Purger_Journal}},
    {0x0D, {nullptr, Ecrire_Fenetre}},
    {0x0E, {Lire_Pages}},
    {0x0F, {Lire_Pages}},
    {0x10, {Lire_Pages}},
    {0x11, {Lire_Pages}},
    {0x12, {Lire_Nom_Voie, Ecrire_Nom_Voie}},
    {0x13, {Lire_Nombre_Enregistrements}},
    {0x14, {Lire_Nombre_Evenements}},
    {0x15, {Lire_Code_Acces, Ecrire_Code_Acces}},
    {0x16, {nullptr, nullptr, Commander_Mode}},
    {0x17, {Lire_Email, Ecrire_Email, nullptr, true}},
    {0x18, {Lire_Nom_Fichier, Ecrire_Nom_Fichier, nullptr, true}},
    {0x19, {Lire_Peripheriques, Ecrire_Peripheriques, nullptr, true}},
    {0x1A, {Lire_Messagerie, Ecrire_Messagerie, nullptr, true}},
    {0x1B, {Lire_Modules, nullptr, nullptr, true}},
    {0x1C, {Lire_Identifiant, Ecrire_Identifiant, nullptr, true}},
    {0x1D, {Lire_Smtp, Ecrire_Smtp, nullptr, true}},
    {0x20, {Lire_Masque, Ecrire_Masque, nullptr, true}},
};

}  // namespace

const Registre* Registre_De(int code) {
    const auto r = Registres.find(code);
    return r == Registres.end() ? nullptr : &r->second;
}

}  // namespace ostrel::sim
