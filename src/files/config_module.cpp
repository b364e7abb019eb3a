#include "files/config_module.h"

#include "files/messages_fichiers.h"
#include "files/texte_fichier.h"
#include "link/mouchard.h"
#include "link/traitement.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formats.h"

namespace ostrel {
namespace {

const QString Debut_Ligne_Module = QStringLiteral("Module n°");

// A time of day as the file holds it: "08:00:00", "00:00:00" for a range not in use.
QString Texte_Plage(Date heure) { return Texte_Heure(heure); }

std::optional<Date> Heure_Lue(const QString& texte) {
    const std::optional<Date> valeur = Convertir_Date(texte);
    // Planning times are times of day only.
    if (!valeur || *valeur < 0 || *valeur >= 1) return std::nullopt;
    return valeur;
}

// A relay keeps two bits, its contact and its trip; any other bit is no
// setting the module takes, and sending it would only be refused.
bool Logique_Relais_Valide(const std::optional<Octet>& logique) { return logique && *logique <= 3; }

bool Code_Valide(const QString& code) {
    if (code.size() != 4) return false;
    for (QChar c : code)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace

QByteArray Ecrire_Config_Module(Octet module, const Parametres_Module& parametres, const Textes_Codes& codes,
                                const Textes_Codes& noms) {
    Ecrivain_Texte e;
    e.Ligne(Debut_Ligne_Module + Texte_Entier(module));
    e.Ligne();
    e.Ligne(QStringLiteral("***  Entête  ***"));
    e.Ligne(parametres.Entete);
    e.Ligne();
    e.Ligne(QStringLiteral("***  Configuration STOR 1  ***"));
    e.Direct(parametres.Logique_STOR1);
    e.Ligne(QStringLiteral("***  Configuration STOR 2  ***"));
    e.Direct(parametres.Logique_STOR2);
    e.Ligne();
    for (int p = 1; p <= 16; ++p) {
        const auto& plages = parametres.Planning[static_cast<size_t>(p)];
        e.Ligne(QStringLiteral("*** Planning n°") + Texte_Entier(p) + QStringLiteral("  ***"));
        e.Ligne();
        // Weekday ranges 1..4 (times 0..7) then weekend ranges 1..4 (times 8..15).
        for (size_t t = 0; t < 16; t += 2)
            e.Ligne({{Texte_Plage(plages[t]), Separateur::Zone}, {Texte_Plage(plages[t + 1]), Separateur::Fin}});
        e.Ligne();
    }
    e.Ligne(QStringLiteral("*** Psw Acq ***"));
    e.Ligne();
    for (const QString& code : codes) e.Ligne(code);
    e.Ligne();
    e.Ligne(QStringLiteral("*** Nom opérateur pour Acq ***"));
    e.Ligne();
    for (const QString& nom : noms) e.Ligne(nom);
    e.Ligne();
    return e.Contenu();
}

std::optional<Config_Module_Lue> Lire_Config_Module(const QByteArray& contenu) {
    Config_Module_Lue lue;
    Lecteur_Texte lecteur(contenu);
    QString ligne;
    auto sauter = [&](int n) {
        for (int k = 0; k < n; ++k)
            if (!lecteur.Lire_Ligne(ligne)) return false;
        return true;
    };
    // Line 1: the two characters after "Module n°" give the module.
    if (!lecteur.Lire_Ligne(ligne)) return std::nullopt;
    const std::optional<Octet> module = Convertir_Octet(ligne.mid(Debut_Ligne_Module.size(), 2));
    if (!module || *module < 1 || *module > 32) return std::nullopt;
    lue.Module = *module;
    if (!sauter(2) || !lecteur.Lire_Ligne(lue.Entete)) return std::nullopt;
    if (!sauter(3)) return std::nullopt;
    const std::optional<Octet> stor1 = Convertir_Octet(ligne);
    if (!Logique_Relais_Valide(stor1) || !sauter(2)) return std::nullopt;
    const std::optional<Octet> stor2 = Convertir_Octet(ligne);
    if (!Logique_Relais_Valide(stor2) || !sauter(1)) return std::nullopt;
    lue.Logique_STOR1 = *stor1;
    lue.Logique_STOR2 = *stor2;
    for (size_t p = 1; p <= 16; ++p) {
        if (!sauter(2)) return std::nullopt;
        for (size_t t = 0; t < 16; t += 2) {
            if (!lecteur.Lire_Ligne(ligne)) return std::nullopt;
            const std::optional<Date> debut = Heure_Lue(ligne.mid(0, 8));
            const std::optional<Date> fin = Heure_Lue(ligne.mid(14, 8));
            if (!debut || !fin) return std::nullopt;
            lue.Planning[p][t] = *debut;
            lue.Planning[p][t + 1] = *fin;
        }
        // A planning is in use when its first weekday range ends after 00:00.
        lue.Planning_Actif[p - 1] = lue.Planning[p][1] != 0 ? Vrai : Faux;
        if (!sauter(1)) return std::nullopt;
    }
    if (lecteur.Fin()) return lue;  // a file without access codes
    if (!sauter(2)) return std::nullopt;
    for (QString& code : lue.Codes) {
        if (!lecteur.Lire_Ligne(code)) return std::nullopt;
        // Leading zeros up to 4 characters, as the codes are shown.
        Complete_Zeros(code);
        if (!Code_Valide(code)) return std::nullopt;
    }
    if (!sauter(3)) return std::nullopt;
    for (QString& nom : lue.Noms)
        if (!lecteur.Lire_Ligne(nom)) return std::nullopt;
    lue.Avec_Codes = true;
    return lue;
}

Resultat_Fichier Sauvegarde_Config_Module(const QString& chemin, const Textes_Codes& Msk_Mot_Passe,
                                          const Textes_Codes& Txt_Nom_Passe) {
    const Octet module = Num_Module >= 1 && Num_Module <= 32 ? Num_Module : 1;
    const Resultat_Fichier resultat = Sauvegarde_Sure(
        chemin, Ecrire_Config_Module(Num_Module, Tab_Parametres_Modules[module - 1u], Msk_Mot_Passe, Txt_Nom_Passe));
    Init_Mouchard();
    if (!resultat) Signaler_Echec_Sauvegarde(chemin, resultat);
    return resultat;
}

bool Restauration_Config_Module(const QString& chemin, Textes_Codes& Msk_Mot_Passe, Textes_Codes& Txt_Nom_Passe,
                                QString& Caption_Frame_Param_OC) {
    QByteArray contenu;
    std::optional<Config_Module_Lue> lue;
    const Resultat_Fichier lecture = Lire_Fichier(chemin, contenu, Taille_Max_Config_Module);
    if (lecture) lue = Lire_Config_Module(contenu);
    if (!lue) {
        Boites().MsgBox(Texte_Lecture_Refusee(Texte_Fichier_Incorrect, lecture,
                                              QStringLiteral("un fichier de configuration du module")));
        return false;
    }
    // The module named in the file becomes the current module.
    Num_Module = lue->Module;
    Caption_Frame_Param_OC = QStringLiteral("Module ") + Texte_Entier(Num_Module);
    Parametres_Module& parametres = Tab_Parametres_Modules[Num_Module - 1u];
    parametres.Entete = lue->Entete;
    parametres.Logique_STOR1 = lue->Logique_STOR1;
    parametres.Logique_STOR2 = lue->Logique_STOR2;
    parametres.Planning = lue->Planning;
    Planning_Actif = lue->Planning_Actif;
    if (!lue->Avec_Codes) return true;
    Msk_Mot_Passe = lue->Codes;
    Txt_Nom_Passe = lue->Noms;
    Init_Mouchard();
    Boites().MsgBox(Texte_Restauration_Terminee);
    return true;
}

}  // namespace ostrel
