#include "link/decodeur.h"

#include <algorithm>

#include "link/donnees.h"
#include "link/liaison.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"

namespace ostrel {
namespace {

constexpr int Max_Enregistrements = 9;
constexpr int Taille_Enregistrement = 8;

// A module counts its years from 2000 in one byte, as the encoder writes them:
// 0..255 are 2000..2255. A two-digit reading would put 2030 back in 1930.
Date Date_Module(Octet jour, Octet mois, Octet annee, Octet heure, Octet minute) {
    return DateSerial(2000 + annee, mois, jour) + TimeSerial(heure, minute, 0);
}

// Reads the data bytes of Trame_Recue. Only the N bytes the module announced,
// and only those a 133-byte frame can hold, are taken: a layout that points past
// them marks the reply as broken (15) and every later read fails, so the
// decoding stops there.
class Lecteur {
public:
    Lecteur() : annonces_(Trame_Recue[2]), disponibles_(std::min(annonces_, Taille_Trame - 5)) {}

    int Nombre() const { return annonces_; }

    bool Lire_Octet(int k, Octet& valeur) {
        if (echec_ || k < 0 || k >= disponibles_) return Refuser();
        valeur = Trame_Recue[3 + k];
        return true;
    }

    bool Lire_Mot(int k, Entier& valeur) {
        Octet haut = 0, bas = 0;
        if (!Lire_Octet(k, haut) || !Lire_Octet(k + 1, bas)) return false;
        valeur = Mot_Signe(haut, bas);
        return true;
    }

    bool Lire_Dixiemes(int k, Simple& valeur) {
        Entier mot = 0;
        if (!Lire_Mot(k, mot)) return false;
        valeur = static_cast<Simple>(mot / 10.0);
        return true;
    }

    // Day, month, year byte, hour, minute at data bytes k..k+4.
    bool Lire_Date(int k, Date& valeur) {
        Octet o[5] = {};
        for (int i = 0; i < 5; ++i)
            if (!Lire_Octet(k + i, o[i])) return false;
        valeur = Date_Module(o[0], o[1], o[2], o[3], o[4]);
        return true;
    }

    // A text is one value: taken whole or not at all.
    bool Lire_Texte(int debut, int fin, QString& texte) {
        if (echec_ || debut < 0 || fin >= disponibles_) return Refuser();
        texte.clear();
        for (int k = debut; k <= fin; ++k) texte.append(Caractere_Cp1252(Trame_Recue[3 + k]));
        return true;
    }

    // A length byte at p followed by that many characters; p moves past them.
    bool Lire_Texte_Prefixe(int& p, QString& texte) {
        Octet longueur = 0;
        if (!Lire_Octet(p, longueur)) return false;
        const int debut = p + 1;
        p += longueur + 1;
        Nb_Octets_Donnees = static_cast<Octet>(p);
        return Lire_Texte(debut, debut + longueur - 1, texte);
    }

private:
    bool Refuser() {
        if (!echec_) Code_Erreur = Erreur::Ligne;
        echec_ = true;
        return false;
    }

    int annonces_;
    int disponibles_;
    bool echec_ = false;
};

void Decoder_Parametres_Voie(Lecteur& l) {
    Parametres_Voie& d = Donnees_Reponse;
    Octet o = 0;
    if (!l.Lire_Octet(1, d.Periode_Enreg)) return;
    if (!l.Lire_Dixiemes(2, d.Seuil_Haut) || !l.Lire_Dixiemes(4, d.Seuil_Bas)) return;
    Entier mot = 0;
    if (!l.Lire_Mot(6, mot)) return;
    d.Echelle_4mA = mot;
    if (!l.Lire_Mot(8, mot)) return;
    d.Echelle_20mA = mot;
    if (!l.Lire_Octet(11, d.Tempo_Alarme)) return;
    if (!l.Lire_Octet(12, o)) return;
    d.Relais_2 = (o & 1) ? Vrai : Faux;
    d.Num_ETOR_Inhib = static_cast<Octet>((o & 0x3E) / 2);
    if (!l.Lire_Octet(13, o)) return;
    d.Voie_Valide = (o & 0x01) ? Vrai : Faux;
    d.Alarme_Valide = (o & 0x02) ? Vrai : Faux;
    d.Role_ETOR_Inhib = (o & 0x04) ? Vrai : Faux;
    d.Nature_Capteur = static_cast<Octet>((o & 0x18) / 8);
    d.Contact_NF = (o & 0x20) ? Vrai : Faux;
    d.Inhib_Alarme_ETOR = (o & 0x40) ? Vrai : Faux;
    d.Inhib_Enreg_ETOR = (o & 0x80) ? Vrai : Faux;
    Octet o14 = 0;
    if (!l.Lire_Octet(14, o14) || !l.Lire_Octet(15, o)) return;
    d.Unite = o & 7;
    d.Buzzer = (o & 0x08) ? Vrai : Faux;
    d.Num_Planning_Inhib = static_cast<Octet>((o & 0xF0) / 16 | 16 * (o14 & 1));
}

// Pages of recordings or journal entries: 8 bytes a record, 9 at most.
void Decoder_Enregistrements(Lecteur& l, bool journal) {
    const int n = l.Nombre();
    if (n % Taille_Enregistrement != 0) {
        // A cut record means the page is not what the module meant to send;
        // storing part of it would slip every later record.
        Nb_Elements_Reponse = 0;
        Code_Erreur = Erreur::Ligne;
        return;
    }
    const int annonces = n / Taille_Enregistrement;
    Nb_Elements_Reponse = static_cast<Octet>(std::min(annonces, Max_Enregistrements));
    Parametres_Voie& d = Donnees_Reponse;
    for (int r = 0; r < annonces; ++r) {
        if (r >= Max_Enregistrements) {
            // The arrays hold 9 records: the count says how many are stored.
            Code_Erreur = Erreur::Ligne;
            return;
        }
        const int k = Taille_Enregistrement * r;
        Octet o5 = 0, o6 = 0, o7 = 0;
        if (journal) {
            if (!l.Lire_Date(k, d.Dates_Journal[r])) return;
            if (!l.Lire_Octet(k + 5, o5) || !l.Lire_Octet(k + 6, o6) || !l.Lire_Octet(k + 7, o7)) return;
            d.Etats_Journal[r] = o5;
            d.Operateurs_Journal[r] = o6;
            d.Voies_Journal[r] = o7;
        } else {
            if (!l.Lire_Date(k, d.Dates_Enreg[r])) return;
            if (!l.Lire_Dixiemes(k + 5, d.Valeurs_Enreg[r])) return;
            if (!l.Lire_Octet(k + 7, o7)) return;
            d.Alarmes_Enreg[r] = (o7 & 1) ? Vrai : Faux;
        }
    }
}

void Decoder_Acces_Internet(Lecteur& l) {
    for (int i = 0; i < 4; ++i)
        if (!l.Lire_Octet(i, Adresse_IP_Serveur[i])) return;
    Nb_Octets_Donnees = 4;
    Octet longueur = 0;
    if (!l.Lire_Octet(4, longueur)) return;
    Longueur_Num_Telephone = longueur;
    QString numero;
    for (int i = 1; i <= longueur; ++i) {
        Octet c = 0;
        if (!l.Lire_Octet(4 + i, c)) return;
        // The dial string holds digits and the wait sign "W" only; any other
        // byte shows as its offset from "0".
        numero += c == 'W' ? QStringLiteral("W") : QString::number(c - 48);
    }
    Num_Telephone = numero;
    int p = 5 + longueur;
    Nb_Octets_Donnees = static_cast<Octet>(p);
    if (!l.Lire_Texte_Prefixe(p, Login_FAI)) return;
    l.Lire_Texte_Prefixe(p, Password_FAI);
}

void Decoder_Messagerie(Lecteur& l) {
    int p = 0;
    Nb_Octets_Donnees = 0;
    if (!l.Lire_Texte_Prefixe(p, Adresse_SMTP)) return;
    l.Lire_Texte_Prefixe(p, Adresse_Email_Emetteur);
}

void Decoder_Modules_En_Service(Lecteur& l) {
    // Slave 1 answered, so it is in service whatever its list says.
    Tab_Fonctionnement_OC[0] = En_Service;
    for (int k = 0; k < l.Nombre(); ++k) {
        Octet v = 0;
        if (!l.Lire_Octet(k, v)) return;
        if (v >= 1 && v <= 32)
            Tab_Fonctionnement_OC[v - 1] = En_Service;
        else
            Code_Erreur = Erreur::Ligne;
    }
}

}  // namespace

Entier Mot_Signe(Octet haut, Octet bas) {
    return static_cast<Entier>(haut < 128 ? 256 * haut + bas : 256 * haut + bas - 65536);
}

QString Supprime_Espaces_Fin(const QString& texte) {
    qsizetype fin = texte.size();
    while (fin > 0 && texte[fin - 1] == QLatin1Char(' ')) --fin;
    return texte.left(fin);
}

void Decodage_Reponse() {
    if (Type_Produit == 0) Decodage_Trame_Ostrelclim();
}

void Decodage_Trame_Ostrelclim() {
    Lecteur l;
    Parametres_Voie& d = Donnees_Reponse;
    const int N = l.Nombre();
    switch (Code_Requete) {
    case 0x00:
        l.Lire_Dixiemes(0, d.Mesure);
        break;
    case 0x01:
        l.Lire_Octet(1, d.Etat_Voie);
        break;
    case 0x02:
        Decoder_Parametres_Voie(l);
        break;
    case 0x03:
        l.Lire_Dixiemes(0, d.Offset);
        break;
    case 0x04: {
        Entier mot = 0;
        if (!l.Lire_Mot(0, mot)) break;
        if (mot < 0 || mot > 255)
            Code_Erreur = Erreur::Ligne;
        else
            d.Config_STOR = static_cast<Octet>(mot);
        break;
    }
    case 0x05: {
        QString texte;
        if (l.Lire_Texte(0, N - 1, texte)) d.Entete_Module = Supprime_Espaces_Fin(texte);
        break;
    }
    case 0x06:
        for (int i = 0; i < 16; ++i) {
            Octet h = 0, m = 0;
            if (!l.Lire_Octet(2 * i, h) || !l.Lire_Octet(2 * i + 1, m)) break;
            d.Plages_Planning[i] = TimeSerial(h, m, 0);
        }
        break;
    case 0x07:
        l.Lire_Mot(0, d.Etat_Module);
        break;
    case 0x09: {
        // Byte 2 is the weekday, which the date already implies.
        Octet o[6] = {};
        for (int i = 0; i < 6; ++i)
            if (!l.Lire_Octet(i, o[i])) return;
        d.Date_Heure_Module = Date_Module(o[3], o[4], o[5], o[1], o[0]);
        break;
    }
    case 0x0E:
    case 0x0F:
        Decoder_Enregistrements(l, false);
        break;
    case 0x10:
    case 0x11:
        Decoder_Enregistrements(l, true);
        break;
    case 0x12:
        l.Lire_Texte(0, N - 1, d.Nom_Voie);
        break;
    case 0x13:
    case 0x14: {
        Entier haut = 0;
        Octet o2 = 0, o3 = 0;
        if (!l.Lire_Mot(0, haut) || !l.Lire_Octet(2, o2) || !l.Lire_Octet(3, o3)) break;
        const Long valeur = static_cast<Long>(haut) * 65536 + 256 * o2 + o3;
        (Code_Requete == 0x13 ? d.Nb_Enregistrements : d.Nb_Evenements) = valeur;
        break;
    }
    case 0x15:
        if (!l.Lire_Mot(0, Code_Acces)) break;
        l.Lire_Texte(2, N - 1, Nom_Operateur);
        break;
    case 0x17:
        l.Lire_Texte(0, N - 1, Adresse_Email_Envoi);
        break;
    case 0x18:
        l.Lire_Texte(0, N - 1, Nom_Fichier_Envoi);
        break;
    case 0x19: {
        Octet* champs[12] = {&Type_Acces_Reseau, &Frequence_Envoi_Email,
                             &Adresse_IP_Carte[0], &Adresse_IP_Carte[1], &Adresse_IP_Carte[2], &Adresse_IP_Carte[3],
                             &Logique_Relais_Carte_1, &Logique_Relais_Carte_2,
                             &Adresse_IP_Passerelle[0], &Adresse_IP_Passerelle[1], &Adresse_IP_Passerelle[2],
                             &Adresse_IP_Passerelle[3]};
        for (int i = 0; i < 12; ++i)
            if (!l.Lire_Octet(i, *champs[i])) break;
        break;
    }
    case 0x1A:
        Decoder_Acces_Internet(l);
        break;
    case 0x1B:
        Decoder_Modules_En_Service(l);
        break;
    case 0x1C:
        l.Lire_Texte(0, N - 1, Login_Password_Carte);
        break;
    case 0x1D:
        Decoder_Messagerie(l);
        break;
    case 0x20:
        for (int i = 0; i < 4; ++i)
            if (!l.Lire_Octet(i, Masque_Sous_Reseau[i])) break;
        break;
    default:
        break;
    }
}

}  // namespace ostrel
