#include "files/config_voies.h"

#include <variant>

#include "files/messages_fichiers.h"
#include "files/texte_fichier.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/formats.h"

namespace ostrel {
namespace {

using Champ = std::variant<Booleen Parametres_Voie::*, Octet Parametres_Voie::*, Simple Parametres_Voie::*>;

struct Section {
    const char* Titre;
    Champ Valeur;
};

const Section Sections[] = {
    {"Validité des voies", &Parametres_Voie::Voie_Valide},
    {"Périodes d'enregistrements", &Parametres_Voie::Periode_Enreg},
    {"Unité des voies", &Parametres_Voie::Unite},
    {"Nature des capteurs", &Parametres_Voie::Nature_Capteur},
    {"Echelles 4mA", &Parametres_Voie::Echelle_4mA},
    {"Echelles 20mA", &Parametres_Voie::Echelle_20mA},
    {"Type des ETOR", &Parametres_Voie::Contact_NF},
    {"Rôle des ETOR", &Parametres_Voie::Role_ETOR_Inhib},
    {"Validité des Alarmes", &Parametres_Voie::Alarme_Valide},
    {"Temporisation des alarmes", &Parametres_Voie::Tempo_Alarme},
    {"Seuils Bas", &Parametres_Voie::Seuil_Bas},
    {"Seuils Hauts", &Parametres_Voie::Seuil_Haut},
    {"Activations du buzzer", &Parametres_Voie::Buzzer},
    {"Relais STOR", &Parametres_Voie::Relais_2},
    {"Inhibitions des enregistrements", &Parametres_Voie::Inhib_Enreg_ETOR},
    {"Inhibitions des alarmes", &Parametres_Voie::Inhib_Alarme_ETOR},
    {"ETOR d'inhibition", &Parametres_Voie::Num_ETOR_Inhib},
    {"Planning d'inhibition", &Parametres_Voie::Num_Planning_Inhib},
    {"Offsets", &Parametres_Voie::Offset},
};

void Ecrire_Valeur(Ecrivain_Texte& e, const Parametres_Voie& voie, const Champ& champ) {
    if (auto b = std::get_if<Booleen Parametres_Voie::*>(&champ)) e.Booleen_Ecrit(voie.**b);
    else if (auto o = std::get_if<Octet Parametres_Voie::*>(&champ)) e.Direct(voie.**o);
    else e.Direct_Simple(voie.*std::get<Simple Parametres_Voie::*>(champ));
}

bool Lire_Valeur(const QString& ligne, Parametres_Voie& voie, const Champ& champ) {
    if (auto b = std::get_if<Booleen Parametres_Voie::*>(&champ)) {
        const auto v = Convertir_Booleen(ligne);
        if (v) voie.**b = *v;
        return v.has_value();
    }
    if (auto o = std::get_if<Octet Parametres_Voie::*>(&champ)) {
        const auto v = Convertir_Octet(ligne);
        if (v) voie.**o = *v;
        return v.has_value();
    }
    const auto v = Convertir_Simple(ligne);
    if (v) voie.*std::get<Simple Parametres_Voie::*>(champ) = *v;
    return v.has_value();
}

}  // namespace

QByteArray Ecrire_Config_Voies(Octet module, const Table_Voies& voies, Octet n) {
    const size_t nb = std::min<size_t>(n, voies.size());
    Ecrivain_Texte e;
    e.Ligne(QStringLiteral("Configuration du Module n°") + Texte_Entier(module));
    e.Ligne();
    e.Ligne(QStringLiteral("Nom des Voies"));
    for (size_t k = 0; k < nb; ++k) e.Ligne(voies[k].Nom_Voie);
    for (const Section& section : Sections) {
        e.Ligne();
        e.Ligne(QString::fromUtf8(section.Titre));
        for (size_t k = 0; k < nb; ++k) Ecrire_Valeur(e, voies[k], section.Valeur);
    }
    return e.Contenu();
}

std::optional<Table_Voies> Lire_Config_Voies(const QByteArray& contenu, Octet n, const Table_Voies& depart) {
    const size_t nb = std::min<size_t>(n, depart.size());
    Table_Voies voies = depart;
    Lecteur_Texte lecteur(contenu);
    QString ligne;
    // The module line, the empty line and the title: the file may come from another module.
    for (int k = 0; k < 3; ++k)
        if (!lecteur.Lire_Ligne(ligne)) return std::nullopt;
    for (size_t k = 0; k < nb; ++k)
        if (!lecteur.Lire_Ligne(voies[k].Nom_Voie)) return std::nullopt;
    for (const Section& section : Sections) {
        for (int k = 0; k < 2; ++k)
            if (!lecteur.Lire_Ligne(ligne)) return std::nullopt;
        for (size_t k = 0; k < nb; ++k)
            if (!lecteur.Lire_Ligne(ligne) || !Lire_Valeur(ligne, voies[k], section.Valeur)) return std::nullopt;
    }
    return voies;
}

Resultat_Fichier Sauvegarde_Config_Voies(const QString& chemin, Octet n) {
    if (Fichier_Existe(chemin)) {
        const int reponse = Boites().MsgBox(
            QStringLiteral("Ce fichier existe déjà. Désirez-vous réellement écraser ce fichier ?"), vbYesNoCancel,
            QStringLiteral("Enregistrer"));
        Frm_Menu1().Focus();
        if (reponse != vbYes) return {};
    }
    const Resultat_Fichier resultat = Sauvegarde_Sure(chemin, Ecrire_Config_Voies(Num_Module, Tab_Parametres_Voies, n));
    Init_Mouchard();
    if (!resultat) Signaler_Echec_Sauvegarde(chemin, resultat);
    return resultat;
}

bool Restauration_Config_Voies(const QString& chemin, Octet n) {
    QByteArray contenu;
    std::optional<Table_Voies> voies;
    const Resultat_Fichier lecture = Lire_Fichier(chemin, contenu, Taille_Max_Config_Voies);
    if (lecture) voies = Lire_Config_Voies(contenu, n, Tab_Parametres_Voies);
    if (!voies) {
        Boites().MsgBox(Texte_Lecture_Refusee(Texte_Fichier_Incorrect, lecture,
                                              QStringLiteral("un fichier de configuration des voies")));
        return false;
    }
    Tab_Parametres_Voies = *voies;
    Init_Mouchard();
    Boites().MsgBox(Texte_Restauration_Terminee);
    return true;
}

}  // namespace ostrel
