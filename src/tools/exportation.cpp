#include "tools/exportation.h"

#include <algorithm>

#include "files/enregistrements.h"
#include "platform/dates.h"
#include "platform/formats.h"

namespace ostrel {

std::array<Module_Export, 32> Donnees_Module;

namespace {

const QString Ligne_Colonnes = QStringLiteral("Date;Mesure;Etat_Alarme");

QString Oui_Non(Booleen valeur) { return valeur != 0 ? QStringLiteral("Oui") : QStringLiteral("Non"); }

Module_Export& Module(Octet Adr_OC) { return Donnees_Module[static_cast<size_t>(std::clamp<int>(Adr_OC, 1, 32) - 1)]; }

}  // namespace

QString Texte_Unite_Export(Octet unite) {
    switch (unite) {
    case 0: return QStringLiteral("°C");
    case 1: return QStringLiteral("%HR");
    case 2: return QStringLiteral("Pa");
    case 3: return QStringLiteral("Bar");
    default: return {};
    }
}

bool Lire_Tete_Export(Lecteur_Texte& lecteur, Octet Adr_OC, Octet& NB_Voie) {
    NB_Voie = 0;
    Tete_Enregistrements tete;
    if (!Lire_Tete_Enregistrements(lecteur, tete) || !Convertir_Sections_Enregistrements(tete)) return false;
    const std::optional<Long> evenements = Convertir_Long(tete.Nb_Evenements);
    if (!evenements) return false;
    const size_t n = tete.Nb_Voies;
    std::array<Booleen, 16> en_service{};
    for (size_t k = 0; k < n; ++k) {
        // Any Boolean form is taken here, not only the "1" the program writes.
        const std::optional<Booleen> valide = Convertir_Booleen(tete.Sections[0][k]);
        if (!valide) return false;
        en_service[k] = *valide;
    }
    Module_Export& module = Module(Adr_OC);
    for (size_t k = 0; k < n; ++k) {
        module.Voies[k] = tete.Voies[k];
        module.Voies[k].Voie_Valide = en_service[k];
        module.Voies[k].Nom_Voie = tete.Noms[k];
        module.Noms[k] = tete.Noms[k];
    }
    module.Entete_Module = tete.Entete_Module;
    module.Nb_Enregistrements = tete.Nb_Enregistrements;
    module.Nb_Evenements = *evenements;
    NB_Voie = tete.Nb_Voies;
    Index_Fin_Voie.assign(n, 0);
    return true;
}

bool Lire_Points_Export(Lecteur_Texte& lecteur, Octet Adr_OC, Octet NB_Voie, const std::function<void(Long)>& sur_point) {
    return Lire_Blocs_Enregistrements(lecteur, NB_Voie, Module(Adr_OC).Noms, Tab_Mesures, Index_Fin_Voie,
                                      Nb_Points_Max_Export, {}, sur_point)
        .Correct;
}

QByteArray Texte_Export(Octet Adr_OC, Octet NB_Voie, const std::function<void(Long)>& sur_point) {
    return Contenu_Entier([&](const Sortie_Par_Morceaux::Sortie& sortie) { Ecrire_Export(Adr_OC, NB_Voie, sortie, sur_point); });
}

void Ecrire_Export(Octet Adr_OC, Octet NB_Voie, const Sortie_Par_Morceaux::Sortie& sortie,
                   const std::function<void(Long)>& sur_point) {
    const Module_Export& module = Module(Adr_OC);
    const int n = std::min<int>(NB_Voie, 16);
    Ecrivain_Texte e;
    auto section = [&](const char* titre, auto&& valeur) {
        e.Ligne(QString::fromUtf8(titre));
        for (int k = 0; k < n; ++k) e.Ligne(valeur(module.Voies[static_cast<size_t>(k)]));
    };
    e.Ligne(QStringLiteral("Adresse du module"));
    e.Direct(Adr_OC);
    e.Ligne(QStringLiteral("Nombre de voie"));
    e.Direct(n);
    e.Ligne(QStringLiteral("Nom des voies"));
    for (int k = 0; k < n; ++k) e.Ligne(module.Noms[static_cast<size_t>(k)]);
    section("Déclaration des voies", [](const Parametres_Voie& v) {
        return v.Voie_Valide != 0 ? QStringLiteral("En service") : QStringLiteral("Hors service");
    });
    section("Nature du capteur", [](const Parametres_Voie& v) { return Texte_Entier(v.Nature_Capteur); });
    section("Validité des alarmes", [](const Parametres_Voie& v) { return Oui_Non(v.Alarme_Valide); });
    section("Seuils d'alarme bas", [](const Parametres_Voie& v) { return Texte_Simple(v.Seuil_Bas); });
    section("Seuils d'alarme haut", [](const Parametres_Voie& v) { return Texte_Simple(v.Seuil_Haut); });
    section("Période d'enregistrement", [](const Parametres_Voie& v) { return Texte_Entier(v.Periode_Enreg); });
    section("Temporisation d'alarme", [](const Parametres_Voie& v) { return Texte_Entier(v.Tempo_Alarme); });
    section("Echelle 4mA", [](const Parametres_Voie& v) { return Texte_Simple(v.Echelle_4mA); });
    section("Echelle 20mA", [](const Parametres_Voie& v) { return Texte_Simple(v.Echelle_20mA); });
    section("Role ETOR", [](const Parametres_Voie& v) {
        return v.Role_ETOR_Inhib != 0 ? QStringLiteral("Inhibition") : QStringLiteral("Alarme");
    });
    // A unit the export cannot name keeps its line, empty, so that every
    // section still has one line per channel.
    section("Unité de mesure", [](const Parametres_Voie& v) { return Texte_Unite_Export(v.Unite); });
    section("Inhibition enregistrement", [](const Parametres_Voie& v) { return Oui_Non(v.Inhib_Enreg_ETOR); });
    section("Numéro ETOR Inhibition", [](const Parametres_Voie& v) {
        return v.Num_ETOR_Inhib != 0 ? Texte_Entier(v.Num_ETOR_Inhib) : QStringLiteral("Pas d'ETOR");
    });
    section("Inhibition de l'alarme", [](const Parametres_Voie& v) { return Oui_Non(v.Inhib_Alarme_ETOR); });
    section("Numéro du planning d'inhibition", [](const Parametres_Voie& v) { return Texte_Entier(v.Num_Planning_Inhib); });
    section("Type de contacte de l'ETOR", [](const Parametres_Voie& v) {
        return v.Contact_NF != 0 ? QStringLiteral("NF") : QStringLiteral("NO");
    });
    section("Num STOR", [](const Parametres_Voie& v) {
        return v.Relais_2 != 0 ? QStringLiteral("RELAIS 2") : QStringLiteral("RELAIS 1");
    });
    section("Buzzer valide", [](const Parametres_Voie& v) { return Oui_Non(v.Buzzer); });
    e.Ligne(QStringLiteral("Entete du ticket"));
    e.Ligne(module.Entete_Module);
    e.Ligne(QStringLiteral("Nombre de mesure"));
    e.Direct(module.Nb_Enregistrements);
    e.Ligne(QStringLiteral("Nombre d'alarme"));
    e.Direct(module.Nb_Evenements);
    e.Ligne(Ligne_Colonnes);

    // The points, a line each: the date, the value and the alarm digit.
    Sortie_Par_Morceaux s(sortie);
    QByteArray& contenu = s.Octets();
    contenu += e.Contenu();
    Textes_Simples valeurs;
    const QByteArray colonnes = Ligne_Colonnes.toLatin1() + "\r\n";
    Long p = 0;
    for (int k = 1; k <= n; ++k) {
        contenu += "Voie " + QByteArray::number(k) + "\r\n" + colonnes;
        const Long fin = static_cast<size_t>(k) <= Index_Fin_Voie.size()
                             ? std::min<Long>(Index_Fin_Voie[static_cast<size_t>(k - 1)], Table_Mesures::Taille)
                             : p;
        for (; p < fin; ++p) {
            const Mesure_Enreg& point = Tab_Mesures[p];
            Ajouter_Texte_Date(contenu, point.Date_Heure);
            contenu += ';';
            contenu += valeurs.Octets(point.Valeur);
            contenu += point.Alarme == Vrai ? ";1\r\n" : ";0\r\n";
            s.Suite();
            if (sur_point) sur_point(p + 1);
        }
        contenu += "*\r\n";
        if (sur_point) sur_point(p);
    }
    s.Fin();
}

}  // namespace ostrel
