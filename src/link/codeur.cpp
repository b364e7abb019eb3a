#include "link/codeur.h"

#include <algorithm>
#include <optional>

#include "link/donnees.h"
#include "link/liaison.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/formats.h"

namespace ostrel {
namespace {

constexpr Octet Valeur_Non_Acceptable = 3;

// Writes the data bytes of one block. A position beyond the block, or a value
// that is not a byte, is skipped: the byte keeps what the steps before left.
class Redacteur {
public:
    explicit Redacteur(std::vector<Octet>& octets) : octets_(octets) {}

    int Taille() const { return static_cast<int>(octets_.size()); }

    void Poser(int position, long long valeur) {
        if (position < 0 || position >= Taille() || valeur < 0 || valeur > 255) return;
        octets_[position] = static_cast<Octet>(valeur);
    }

    void Ou(int position, long long valeur) {
        if (position < 0 || position >= Taille()) return;
        Poser(position, octets_[position] | valeur);
    }

    // The low 16 bits of a 32-bit whole number, high byte first; nothing
    // when the value has no 32-bit form.
    void Mot(int position, std::optional<Long> valeur) {
        if (!valeur) return;
        const auto mot = static_cast<std::uint16_t>(*valeur & 0xFFFF);
        Poser(position, mot >> 8);
        Poser(position + 1, mot & 0xFF);
    }

    // Characters from a position; returns how many fell inside the block.
    int Texte(int position, const QString& texte, int limite) {
        int ecrits = 0;
        for (qsizetype i = 0; i < texte.size() && position + i < limite; ++i, ++ecrits)
            Poser(position + static_cast<int>(i), Octet_Cp1252(texte[i]));
        return ecrits;
    }

    // A fixed-length field: the text cut to the field, then spaces.
    void Champ(int position, int longueur, const QString& texte) {
        const int ecrits = Texte(position, texte, position + longueur);
        for (int i = ecrits; i < longueur; ++i) Poser(position + i, ' ');
    }

private:
    std::vector<Octet>& octets_;
};

// Tenths travel as value x 10, taken in single precision like the value itself
// so that a typed 0,35 stays a half and rounds to the even tenth.
std::optional<Long> Dixiemes(Simple valeur) { return Vers_Long(static_cast<double>(valeur * 10.0f)); }

Octet Drapeau(Booleen valeur) { return static_cast<Octet>(valeur & 1); }

Long Octet_Annee(const Composantes_Date& c) { return (c.Annee - 2000) & 0xFF; }

void Coder_Parametres_Voie(Redacteur& r) {
    const Parametres_Voie& d = Donnees_Reponse;
    r.Poser(0, 0);
    r.Poser(1, d.Periode_Enreg);
    r.Mot(2, Dixiemes(d.Seuil_Haut));
    r.Mot(4, Dixiemes(d.Seuil_Bas));
    r.Mot(6, Vers_Long(d.Echelle_4mA));
    r.Mot(8, Vers_Long(d.Echelle_20mA));
    r.Poser(10, 0);
    r.Poser(11, d.Tempo_Alarme);
    r.Poser(12, Drapeau(d.Relais_2));
    r.Ou(12, d.Num_ETOR_Inhib * 2);
    r.Poser(13, Drapeau(d.Voie_Valide));
    r.Ou(13, Drapeau(d.Alarme_Valide) * 2);
    r.Ou(13, Drapeau(d.Role_ETOR_Inhib) * 4);
    r.Ou(13, d.Nature_Capteur * 8);
    r.Ou(13, Drapeau(d.Contact_NF) * 32);
    r.Ou(13, Drapeau(d.Inhib_Alarme_ETOR) * 64);
    r.Ou(13, Drapeau(d.Inhib_Enreg_ETOR) * 128);
    r.Poser(15, d.Unite);
    r.Ou(15, Drapeau(d.Buzzer) * 8);
    r.Ou(15, (d.Num_Planning_Inhib & 15) * 16);
    r.Poser(14, (d.Num_Planning_Inhib & 16) / 16);
}

// A free-length text: cut to what the block holds; the length sent follows.
void Coder_Texte_Libre(Redacteur& r, const QString& texte) {
    const int limite = std::min(Capacite_Bloc(Code_Requete), r.Taille());
    Nb_Octets_Donnees = static_cast<Octet>(r.Texte(0, texte, limite));
}

bool Coder_Acces_Internet(Redacteur& r) {
    const int L = Longueur_Num_Telephone;
    const int total = 7 + L + static_cast<int>(Login_FAI.size()) + static_cast<int>(Password_FAI.size());
    if (total > std::min(Capacite_Bloc(0x1A), r.Taille())) {
        Code_Erreur = Valeur_Non_Acceptable;
        return false;
    }
    for (int i = 0; i < 4; ++i) r.Poser(i, Adresse_IP_Serveur[i]);
    int p = 4;
    r.Poser(p, L);
    // Taken from the last character backwards, which lays them out in order.
    for (int i = 0; i < L; ++i) {
        const qsizetype source = Num_Telephone.size() - 1 - i;
        const QChar c = source >= 0 ? Num_Telephone[source] : QChar();
        Octet octet = 0;
        if (c == QLatin1Char('W')) octet = 'W';
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) octet = static_cast<Octet>(c.unicode());
        r.Poser(4 + L - i, octet);
    }
    p = 5 + L;
    for (const QString* texte : {&Login_FAI, &Password_FAI}) {
        r.Poser(p, texte->size());
        r.Texte(p + 1, *texte, r.Taille());
        p += static_cast<int>(texte->size()) + 1;
    }
    Nb_Octets_Donnees = static_cast<Octet>(p);
    return true;
}

bool Coder_Messagerie(Redacteur& r) {
    const int total = 2 + static_cast<int>(Adresse_SMTP.size()) + static_cast<int>(Adresse_Email_Emetteur.size());
    if (total > std::min(Capacite_Bloc(0x1D), r.Taille())) {
        Code_Erreur = Valeur_Non_Acceptable;
        return false;
    }
    int p = 0;
    for (const QString* texte : {&Adresse_SMTP, &Adresse_Email_Emetteur}) {
        r.Poser(p, texte->size());
        r.Texte(p + 1, *texte, r.Taille());
        p += static_cast<int>(texte->size()) + 1;
    }
    Nb_Octets_Donnees = static_cast<Octet>(p);
    return true;
}

}  // namespace

int Capacite_Bloc(int code_requete) {
    switch (code_requete) {
    case 0x02: return 17;
    case 0x03: return 2;
    case 0x04: return 2;
    case 0x05: return 64;
    case 0x06: return 32;
    case 0x09: return 6;
    case 0x0D: return 6;
    case 0x12: return 12;
    case 0x15: return 14;
    case 0x17: return 64;
    case 0x18: return 64;
    case 0x19: return 12;
    case 0x1A: return 81;
    case 0x1C: return 21;
    case 0x1D: return 81;
    case 0x20: return 81;
    default: return 0;
    }
}

bool Codage_Donnees_Ecriture(std::vector<Octet>& Octets_Donnees) {
    if (Type_Produit != 0) return true;
    return Codage_Trame_Ostrelclim(Octets_Donnees);
}

bool Codage_Trame_Ostrelclim(std::vector<Octet>& Octets_Donnees) {
    Redacteur r(Octets_Donnees);
    const Parametres_Voie& d = Donnees_Reponse;
    int N = -1;  // data length of the fixed layouts
    switch (Code_Requete) {
    case 0x02:
        Coder_Parametres_Voie(r);
        N = 16;
        break;
    case 0x03:
        r.Mot(0, Dixiemes(d.Offset));
        N = 2;
        break;
    case 0x04:
        r.Poser(0, 0);
        r.Poser(1, d.Config_STOR);
        N = 2;
        break;
    case 0x05:
        r.Champ(0, 64, d.Entete_Module);
        N = 64;
        break;
    case 0x06:
        for (int i = 0; i < 16; ++i) {
            const Composantes_Date c = Decomposer(d.Plages_Planning[i]);
            r.Poser(2 * i, c.Heure);
            r.Poser(2 * i + 1, c.Minute);
        }
        N = 32;
        break;
    case 0x09: {
        const Composantes_Date c = Decomposer(d.Date_Heure_Module);
        r.Poser(0, c.Minute);
        r.Poser(1, c.Heure);
        r.Poser(2, Weekday(d.Date_Heure_Module));
        r.Poser(3, c.Jour);
        r.Poser(4, c.Mois);
        r.Poser(5, Octet_Annee(c));
        N = 6;
        break;
    }
    case 0x0D: {
        const Composantes_Date debut = Decomposer(d.Date_Debut);
        const Composantes_Date fin = Decomposer(d.Date_Fin);
        r.Poser(0, debut.Jour);
        r.Poser(1, debut.Mois);
        r.Poser(2, Octet_Annee(debut));
        r.Poser(3, fin.Jour);
        r.Poser(4, fin.Mois);
        r.Poser(5, Octet_Annee(fin));
        N = 6;
        break;
    }
    case 0x12:
        r.Champ(0, 12, d.Nom_Voie);
        N = 12;
        break;
    case 0x15:
        // A negative code has no high byte: that step is skipped.
        if (Code_Acces >= 0) r.Poser(0, (Code_Acces & 0xFF00) / 256);
        r.Poser(1, Code_Acces & 0xFF);
        r.Champ(2, 12, Nom_Operateur);
        N = 14;
        break;
    case 0x17:
        Coder_Texte_Libre(r, Adresse_Email_Envoi);
        break;
    case 0x18:
        Coder_Texte_Libre(r, Nom_Fichier_Envoi);
        break;
    case 0x19: {
        const Octet valeurs[12] = {Type_Acces_Reseau, Frequence_Envoi_Email,
                                   Adresse_IP_Carte[0], Adresse_IP_Carte[1], Adresse_IP_Carte[2], Adresse_IP_Carte[3],
                                   Logique_Relais_Carte_1, Logique_Relais_Carte_2,
                                   Adresse_IP_Passerelle[0], Adresse_IP_Passerelle[1], Adresse_IP_Passerelle[2],
                                   Adresse_IP_Passerelle[3]};
        for (int i = 0; i < 12; ++i) r.Poser(i, valeurs[i]);
        N = 12;
        break;
    }
    case 0x1A:
        return Coder_Acces_Internet(r);
    case 0x1C:
        Coder_Texte_Libre(r, Login_Password_Carte);
        break;
    case 0x1D:
        return Coder_Messagerie(r);
    case 0x20:
        for (int i = 0; i < 4; ++i) r.Poser(i, Masque_Sous_Reseau[i]);
        N = 4;
        break;
    default:
        break;
    }
    if (N >= 0) Nb_Octets_Donnees = static_cast<Octet>(N);
    return true;
}

}  // namespace ostrel
