// Fuzz target: a reply as the link receives it, checked against the request
// it answers, then, when accepted, decoded by the layout of its request code.
//
// Input: request code (modulo 0x22), request kind (bits 0-1: read, block write, single
// write; bit 7: the reply's CRC is made right), slave address, request
// parameter, then the bytes received.
//
// Properties: the check and the decoder read nothing past the bytes received;
// a block the decoder accepts, written back by the encoder of the same code,
// decodes to the same values wherever the write side can carry them.
#include <vector>

#include "commun.h"
#include "link/donnees.h"
#include "link/codeur.h"
#include "link/decodeur.h"
#include "link/liaison.h"
#include "link/trames.h"
#include "link/variables.h"
#include "platform/dates.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

// Everything a decoding may write.
Releve Etat_Decode() {
    Releve r;
    r("Code_Erreur", Code_Erreur)("Nb_Elements_Reponse", Nb_Elements_Reponse)("Code_Acces", Code_Acces)(
        "Nom_Operateur", Nom_Operateur)("Adresse_Email_Envoi", Adresse_Email_Envoi)("Nom_Fichier_Envoi", Nom_Fichier_Envoi)(
        "Type_Acces_Reseau", Type_Acces_Reseau)("Frequence_Envoi_Email", Frequence_Envoi_Email)(
        "Logique_Relais_Carte_1", Logique_Relais_Carte_1)("Logique_Relais_Carte_2", Logique_Relais_Carte_2)(
        "Longueur_Num_Telephone", Longueur_Num_Telephone)("Num_Telephone", Num_Telephone)("Login_FAI", Login_FAI)(
        "Password_FAI", Password_FAI)("Adresse_SMTP", Adresse_SMTP)("Adresse_Email_Emetteur", Adresse_Email_Emetteur)(
        "Login_Password_Carte", Login_Password_Carte);
    r.Liste("Adresse_IP_Carte", Adresse_IP_Carte).Liste("Adresse_IP_Passerelle", Adresse_IP_Passerelle);
    r.Liste("Adresse_IP_Serveur", Adresse_IP_Serveur).Liste("Masque_Sous_Reseau", Masque_Sous_Reseau);
    r.Liste("Tab_Fonctionnement_OC", Tab_Fonctionnement_OC);
    return r += Empreinte(Donnees_Reponse);
}

void Etat_De_Depart() {
    Donnees_Reponse = {};
    Code_Acces = 0;
    Type_Acces_Reseau = Frequence_Envoi_Email = Logique_Relais_Carte_1 = Logique_Relais_Carte_2 = 0;
    Longueur_Num_Telephone = 0;
    for (QString* t : {&Nom_Operateur, &Adresse_Email_Envoi, &Nom_Fichier_Envoi, &Num_Telephone, &Login_FAI,
                       &Password_FAI, &Adresse_SMTP, &Adresse_Email_Emetteur, &Login_Password_Carte})
        t->clear();
    for (auto* t : {&Adresse_IP_Carte, &Adresse_IP_Passerelle, &Adresse_IP_Serveur, &Masque_Sous_Reseau}) t->fill(0);
    Tab_Fonctionnement_OC.fill(Hors_Service);
    Nb_Elements_Reponse = 0;
    Code_Erreur = 0;
}

// The received bytes in Trame_Recue, the rest of the buffer filled with `fond`.
void Recevoir(const QByteArray& recus, Octet fond) {
    Trame_Recue.fill(fond);
    for (qsizetype i = 0; i < recus.size() && i < Taille_Trame; ++i) Trame_Recue[i] = static_cast<Octet>(recus[i]);
    Nb_Octets_Recus = static_cast<Entier>(std::min<qsizetype>(recus.size(), 32767));
}

Octet Verifier_Reponse(const QByteArray& recus, Octet fond) {
    Recevoir(recus, fond);
    Code_Erreur = 0;
    Verification_Reponse();
    return Code_Erreur;
}

Releve Decoder(const QByteArray& recus, Octet fond, Entier code) {
    Etat_De_Depart();
    Recevoir(recus, fond);
    Code_Requete = code;
    Decodage_Reponse();
    return Etat_Decode();
}

int Longueur_Ecrite(const QString& texte) { return static_cast<int>(texte.size()); }

// Whether the values just decoded are all the write side of the code can
// carry: texts within their block (fixed fields sent whole), times of day,
// dates of the years 2000..2255 that its year byte holds, a dial string of
// digits and "W".
bool Ecriture_Fidele(Entier code, int N) {
    const Parametres_Voie& d = Donnees_Reponse;
    switch (code) {
    case 0x05: return N <= 64;
    case 0x06:
        for (Date plage : d.Plages_Planning)
            if (plage < 0 || plage >= 1) return false;
        return true;
    case 0x09: {
        const int annee = Decomposer(d.Date_Heure_Module).Annee;
        return annee >= 2000 && annee <= 2255;
    }
    case 0x12: return N == 12;
    case 0x15: return N == 14 && Code_Acces >= 0;
    case 0x17:
    case 0x18: return N <= 64;
    case 0x1C: return N <= 21;
    case 0x1A:
        if (Num_Telephone.size() != Longueur_Num_Telephone) return false;
        for (QChar c : Num_Telephone)
            if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('W')) return false;
        return 7 + Longueur_Num_Telephone + Longueur_Ecrite(Login_FAI) + Longueur_Ecrite(Password_FAI) <= 81;
    case 0x1D: return 2 + Longueur_Ecrite(Adresse_SMTP) + Longueur_Ecrite(Adresse_Email_Emetteur) <= 81;
    default: return true;
    }
}

// The values decoded, written back as a block of the same code and received
// as the reply of its read: they must come back the same.
void Aller_Retour(Entier code, Octet esclave) {
    const Releve avant = Etat_Decode();
    std::vector<Octet> bloc(static_cast<size_t>(Capacite_Bloc(code)), 0);
    Code_Requete = code;
    Nb_Octets_Donnees = 0;
    if (!Codage_Donnees_Ecriture(bloc)) return;
    const int N = Nb_Octets_Donnees;
    VERIFIER(N <= static_cast<int>(bloc.size()));
    QByteArray reponse;
    reponse += char(esclave);
    reponse += char(3);
    reponse += char(N);
    for (int i = 0; i < N; ++i) reponse += char(bloc[static_cast<size_t>(i)]);
    Recevoir(reponse, 0);
    Code_Erreur = 0;
    Decodage_Reponse();
    VERIFIER_EGAUX(Etat_Decode(), avant);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    Entree entree(donnees, taille);
    // 0x21 stands for every code above the catalogue.
    const Entier code = entree.Octet_Suivant() % 0x22;
    const Octet genre = entree.Octet_Suivant();
    Adresse_Esclave = entree.Octet_Suivant();
    const Octet parametre = entree.Octet_Suivant();
    QByteArray recus = entree.Reste();
    if (recus.size() > 4 * Taille_Trame) return -1;

    Type_Produit = 0;
    Code_Requete = code;
    Nb_Mots = parametre;
    switch (genre & 3) {
    case 1: {
        const std::vector<Octet> zeros(Taille_Trame, 0);
        VERIFIER(Construire_Trame_Ecriture_Multiple(zeros.data(), static_cast<Octet>(parametre % 125)));
        break;
    }
    case 2: Construire_Trame_Ecriture_Simple(static_cast<Entier>(parametre * 257)); break;
    default: Construire_Trame_Lecture(); break;
    }
    if ((genre & 0x80) && recus.size() >= 2 && recus.size() <= Taille_Trame) {
        const auto crc = Calcul_CRC16(reinterpret_cast<const Octet*>(recus.constData()), static_cast<int>(recus.size() - 2));
        recus[recus.size() - 2] = char(crc[0]);
        recus[recus.size() - 1] = char(crc[1]);
    }

    const Octet verdict = Verifier_Reponse(recus, 0x00);
    VERIFIER_EGAUX(Verifier_Reponse(recus, 0xFF), verdict);
    if (verdict != 0) return 0;

    // Only read replies reach the decoder.
    if (static_cast<Octet>(recus[1]) != 3) return 0;
    const int N = static_cast<Octet>(recus[2]);
    const Releve etat = Decoder(recus, 0x00, code);
    VERIFIER_EGAUX(Decoder(recus, 0xFF, code), etat);
    if (Code_Erreur == 0 && Capacite_Bloc(code) > 0 && Ecriture_Fidele(code, N)) Aller_Retour(code, Adresse_Esclave);
    return 0;
}
