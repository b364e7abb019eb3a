#include "files/enregistrements.h"

#include <QDate>
#include <charconv>
#include <cmath>

#include "files/messages_fichiers.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formats.h"

namespace ostrel {
namespace {

const QString Etoile = QStringLiteral("*");

// "1"/"0" of a flag: the first section keeps only the stored True (-1).
QString Drapeau(Booleen valeur) { return valeur != 0 ? QStringLiteral("1") : QStringLiteral("0"); }

QString Valeur_Section(int section, const Parametres_Voie& v) {
    switch (section) {
    case 1: return v.Voie_Valide == Vrai ? QStringLiteral("1") : QStringLiteral("0");
    case 2: return Texte_Entier(v.Nature_Capteur);
    case 3: return Drapeau(v.Alarme_Valide);
    case 4: return Texte_Simple_Dixiemes(v.Seuil_Haut);
    case 5: return Texte_Simple_Dixiemes(v.Seuil_Bas);
    case 6: return Texte_Entier(v.Periode_Enreg);
    case 7: return Texte_Entier(v.Tempo_Alarme);
    case 8: return Texte_Simple(v.Echelle_4mA);
    case 9: return Texte_Simple(v.Echelle_20mA);
    case 10: return Drapeau(v.Role_ETOR_Inhib);
    case 11: return Texte_Entier(v.Unite);
    case 12: return Drapeau(v.Inhib_Enreg_ETOR);
    case 13: return Texte_Entier(v.Num_ETOR_Inhib);
    case 14: return Drapeau(v.Inhib_Alarme_ETOR);
    case 15: return Texte_Entier(v.Num_Planning_Inhib);
    case 16: return Drapeau(v.Contact_NF);
    case 17: return Drapeau(v.Relais_2);
    default: return Drapeau(v.Buzzer);
    }
}

// A value in tenths: the whole number of Dixiemes_Point with all its digits,
// or for a value with more decimals the general form of its single tenfold.
void Ajouter_Dixiemes(QByteArray& sortie, Simple valeur) {
    if (const std::optional<Long> dixiemes = Dixiemes_Point(valeur)) {
        char chiffres[16];
        sortie.append(chiffres, std::to_chars(chiffres, chiffres + sizeof chiffres, *dixiemes).ptr - chiffres);
    } else {
        sortie += Texte_Simple(valeur * 10.0f).toLatin1();
    }
}

// "ddmmyyhhmm", the value in tenths, the alarm digit, the date's digits made
// in place: a full memory is written half a million times.
void Ajouter_Ligne_Point(QByteArray& sortie, const Mesure_Enreg& point) {
    const Composantes_Date c = Decomposer(point.Date_Heure);
    char date[10];
    char* p = date;
    for (const int v : {c.Jour, c.Mois, ((c.Annee % 100) + 100) % 100, c.Heure, c.Minute}) {
        *p++ = static_cast<char>('0' + v / 10 % 10);
        *p++ = static_cast<char>('0' + v % 10);
    }
    sortie.append(date, sizeof date);
    Ajouter_Dixiemes(sortie, point.Valeur);
    sortie += point.Alarme != 0 ? '1' : '0';
}

int Chiffre(char c) { return c >= '0' && c <= '9' ? c - '0' : -1; }

// Whole number of a point value: the usual digits at once, any other number
// form through the general conversion (rounded half to even, as every cast).
std::optional<Long> Valeur_Point(QByteArrayView texte) {
    const bool negatif = !texte.isEmpty() && texte.front() == '-';
    const QByteArrayView chiffres = texte.sliced(negatif ? 1 : 0);
    if (!chiffres.isEmpty() && chiffres.size() <= 10) {
        long long v = 0;
        for (const char c : chiffres) {
            const int d = Chiffre(c);
            if (d < 0) return Convertir_Long(Depuis_Cp1252(texte));
            v = v * 10 + d;
        }
        if (negatif) v = -v;
        if (v < -2147483648LL || v > 2147483647LL) return std::nullopt;
        return static_cast<Long>(v);
    }
    return Convertir_Long(Depuis_Cp1252(texte));
}

}  // namespace

QString Verifier_Tables_Enregistrements(const Tete_Enregistrements& tete, const std::vector<Long>& index_fin_voie) {
    const int n = tete.Nb_Voies;
    if (n < 1 || n > 16) return QStringLiteral("nombre de voies %1 hors de 1 à 16").arg(n);
    if (index_fin_voie.size() < static_cast<size_t>(n)) return QStringLiteral("fins de voies manquantes");
    Long precedente = 0;
    for (int k = 0; k < n; ++k) {
        const Long fin = index_fin_voie[static_cast<size_t>(k)];
        if (fin < precedente || fin > Table_Mesures::Taille)
            return QStringLiteral("fin de la voie %1 hors de la table des mesures").arg(k + 1);
        precedente = fin;
    }
    return {};
}

std::optional<Long> Dixiemes_Point(Simple valeur) {
    // A single read from tenths is within half a unit of its last place from
    // them, so its tenfold, in double precision, is within five such units of
    // a whole number: that number reads back as the same single (the single
    // product, or seven digits, would turn 8153276,5 into 8153277).
    const double dixiemes = static_cast<double>(valeur) * 10.0;
    const double entier = Arrondi_Pair(dixiemes);
    const double ulp = std::nextafter(std::fabs(valeur), HUGE_VALF) - std::fabs(valeur);
    if (std::fabs(dixiemes - entier) <= 5.0 * ulp && entier >= -2147483648.0 && entier <= 2147483647.0)
        return static_cast<Long>(entier);
    return std::nullopt;
}

QByteArray Ligne_Point(const Mesure_Enreg& point) {
    QByteArray ligne;
    Ajouter_Ligne_Point(ligne, point);
    return ligne;
}

void Ecrire_Fichier_Enregistrements(const Tete_Enregistrements& tete, const std::vector<Long>& index_fin_voie,
                                    const Table_Mesures& mesures, const Sortie_Par_Morceaux::Sortie& sortie,
                                    const std::function<void(Long)>& sur_point) {
    const int n = tete.Nb_Voies;
    Ecrivain_Texte e;
    e.Ligne(Etoile);
    const std::optional<Octet> module = Convertir_Octet(tete.Module);
    e.Ligne(module ? Ecrit_Direct(*module) : tete.Module);
    e.Ligne(Etoile);
    e.Direct(n);
    e.Ligne(Etoile);
    for (int k = 0; k < n; ++k) e.Ligne(Item_Protege(tete.Noms[static_cast<size_t>(k)]));
    e.Ligne(Etoile);
    for (int section = 1; section <= Nb_Sections_Enregistrements; ++section) {
        // A value with decimals holds the decimal comma, which the item readers
        // would take for the end of the item.
        for (int k = 0; k < n; ++k) e.Ligne(Item_Protege(Valeur_Section(section, tete.Voies[static_cast<size_t>(k)])));
        e.Ligne(Etoile);
    }
    e.Ligne(Item_Protege(tete.Entete_Module));
    e.Ligne(Etoile);
    e.Ligne(Texte_Entier(tete.Nb_Enregistrements));
    e.Ligne(Etoile);
    e.Ligne(tete.Nb_Evenements);
    e.Ligne(Etoile);

    Sortie_Par_Morceaux s(sortie);
    QByteArray& contenu = s.Octets();
    contenu += e.Contenu();
    Long debut = 0;
    for (int k = 0; k < n; ++k) {
        contenu += QByteArray::number(k + 1);
        contenu += "\r\n";
        const Long fin = index_fin_voie[static_cast<size_t>(k)];
        for (Long i = debut; i < fin; ++i) {
            Ajouter_Ligne_Point(contenu, mesures[i]);
            contenu += "\r\n";
            s.Suite();
            if (sur_point) sur_point(i + 1);
        }
        debut = std::max(debut, fin);
        contenu += "*\r\n";
    }
    s.Fin();
}

QByteArray Ecrire_Fichier_Enregistrements(const Tete_Enregistrements& tete, const std::vector<Long>& index_fin_voie,
                                          const Table_Mesures& mesures) {
    return Contenu_Entier([&](const Sortie_Par_Morceaux::Sortie& sortie) {
        Ecrire_Fichier_Enregistrements(tete, index_fin_voie, mesures, sortie);
    });
}

bool Lire_Ligne_Point(QByteArrayView ligne, Mesure_Enreg& point) {
    const qsizetype longueur = ligne.size();
    if (longueur < 12) return false;
    int chiffres[10];
    for (int k = 0; k < 10; ++k)
        if ((chiffres[k] = Chiffre(ligne[k])) < 0) return false;
    const int jour = chiffres[0] * 10 + chiffres[1];
    const int mois = chiffres[2] * 10 + chiffres[3];
    // The century is not in the file: it is always taken as 20.
    const int annee = 2000 + chiffres[4] * 10 + chiffres[5];
    const int heure = chiffres[6] * 10 + chiffres[7];
    const int minute = chiffres[8] * 10 + chiffres[9];
    // A file holds its points by the thousand on one day: the day's value is
    // worked out once.
    thread_local struct {
        int cle = -1;
        std::optional<Date> valeur;
    } jour_lu;
    if (const int cle = (annee * 100 + mois) * 100 + jour; cle != jour_lu.cle) {
        jour_lu.cle = cle;
        jour_lu.valeur = QDate::isValid(annee, mois, jour) ? std::optional<Date>(DateSerial(annee, mois, jour)) : std::nullopt;
    }
    if (!jour_lu.valeur || heure > 23 || minute > 59) return false;
    const char dernier = ligne[longueur - 1];
    if (dernier != '0' && dernier != '1') return false;
    const std::optional<Long> valeur = Valeur_Point(ligne.sliced(10, longueur - 11));
    if (!valeur) return false;
    point.Date_Heure = *jour_lu.valeur + TimeSerial(heure, minute, 0);
    point.Valeur = static_cast<Simple>(static_cast<double>(*valeur) / 10.0);
    point.Alarme = dernier == '1' ? Vrai : Faux;
    return true;
}

bool Lire_Tete_Enregistrements(Lecteur_Texte& lecteur, Tete_Enregistrements& tete) {
    QString item;
    auto etoile = [&] { return lecteur.Lire_Item(item) && item.trimmed() == Etoile; };
    if (!etoile() || !lecteur.Lire_Item(tete.Module) || !etoile()) return false;
    tete.Module = tete.Module.trimmed();
    if (!lecteur.Lire_Item(item)) return false;
    const std::optional<Octet> n = Convertir_Octet(item);
    if (!n || *n < 1 || *n > 16) return false;
    tete.Nb_Voies = *n;
    if (!etoile()) return false;
    for (int k = 0; k < *n; ++k)
        if (!lecteur.Lire_Item(tete.Noms[static_cast<size_t>(k)])) return false;
    if (!etoile()) return false;
    for (auto& section : tete.Sections) {
        for (int k = 0; k < *n; ++k)
            if (!lecteur.Lire_Item(section[static_cast<size_t>(k)])) return false;
        if (!etoile()) return false;
    }
    for (int k = 0; k < *n; ++k) {
        const size_t v = static_cast<size_t>(k);
        const std::optional<Octet> nature = Convertir_Octet(tete.Sections[1][v]);
        const std::optional<Simple> haut = Convertir_Simple(tete.Sections[3][v]);
        const std::optional<Simple> bas = Convertir_Simple(tete.Sections[4][v]);
        const std::optional<Octet> periode = Convertir_Octet(tete.Sections[5][v]);
        if (!nature || !haut || !bas || !periode) return false;
        Parametres_Voie& voie = tete.Voies[v];
        voie.Nature_Capteur = *nature;
        voie.Alarme_Valide = tete.Sections[2][v].trimmed() == QLatin1String("1") ? Vrai : Faux;
        voie.Seuil_Haut = static_cast<Simple>(static_cast<double>(*haut) / 10.0);
        voie.Seuil_Bas = static_cast<Simple>(static_cast<double>(*bas) / 10.0);
        voie.Periode_Enreg = *periode;
    }
    if (!lecteur.Lire_Item(tete.Entete_Module) || !etoile()) return false;
    if (!lecteur.Lire_Item(item)) return false;
    const std::optional<Long> nombre = Convertir_Long(item);
    if (!nombre || *nombre < 0) return false;
    tete.Nb_Enregistrements = *nombre;
    return etoile() && lecteur.Lire_Item(tete.Nb_Evenements) && etoile();
}

bool Convertir_Sections_Enregistrements(Tete_Enregistrements& tete) {
    for (size_t k = 0; k < std::min<size_t>(tete.Nb_Voies, 16); ++k) {
        Parametres_Voie& v = tete.Voies[k];
        auto section = [&](int s) { return tete.Sections[static_cast<size_t>(s - 1)][k]; };
        auto octet = [&](int s, Octet& champ) {
            const std::optional<Octet> o = Convertir_Octet(section(s));
            if (o) champ = *o;
            return o.has_value();
        };
        auto drapeau = [&](int s, Booleen& champ) {
            const std::optional<Octet> o = Convertir_Octet(section(s));
            if (o) champ = *o != 0 ? Vrai : Faux;
            return o.has_value();
        };
        auto simple = [&](int s, Simple& champ, double diviseur) {
            const std::optional<Simple> o = Convertir_Simple(section(s));
            if (o) champ = static_cast<Simple>(static_cast<double>(*o) / diviseur);
            return o.has_value();
        };
        v.Voie_Valide = section(1).trimmed() == QLatin1String("1") ? Vrai : Faux;
        v.Alarme_Valide = section(3).trimmed() == QLatin1String("1") ? Vrai : Faux;
        const bool correct = octet(2, v.Nature_Capteur) && simple(4, v.Seuil_Haut, 10) && simple(5, v.Seuil_Bas, 10) &&
                             octet(6, v.Periode_Enreg) && octet(7, v.Tempo_Alarme) && simple(8, v.Echelle_4mA, 1) &&
                             simple(9, v.Echelle_20mA, 1) && drapeau(10, v.Role_ETOR_Inhib) && octet(11, v.Unite) &&
                             drapeau(12, v.Inhib_Enreg_ETOR) && octet(13, v.Num_ETOR_Inhib) &&
                             drapeau(14, v.Inhib_Alarme_ETOR) && octet(15, v.Num_Planning_Inhib) &&
                             drapeau(16, v.Contact_NF) && drapeau(17, v.Relais_2) && drapeau(18, v.Buzzer);
        if (!correct) return false;
    }
    return true;
}

Points_Lus Lire_Blocs_Enregistrements(Lecteur_Texte& lecteur, Octet n, const std::array<QString, 16>& noms,
                                      Table_Mesures& mesures, std::vector<Long>& index_fin_voie, Long limite_points,
                                      const std::function<void(Octet)>& sur_voie,
                                      const std::function<void(Long)>& sur_point) {
    Points_Lus lus;
    const int nb = std::min<int>(n, 16);
    index_fin_voie.assign(static_cast<size_t>(nb), 0);
    limite_points = std::clamp<Long>(limite_points, 0, Table_Mesures::Taille);
    Long i = 0;
    int voie_precedente = 0;
    // Every channel from the one given on ends with the points read so far.
    auto clore_a_partir_de = [&](int voie) {
        for (int v = std::max(voie, 1); v <= nb; ++v) index_fin_voie[static_cast<size_t>(v - 1)] = i;
    };
    QByteArrayView ligne;
    while (!lecteur.Fin()) {
        lecteur.Lire_Ligne(ligne);
        const std::optional<Octet> voie = Convertir_Octet(Depuis_Cp1252(ligne));
        if (!voie || *voie < 1 || *voie > nb || *voie <= voie_precedente) {
            clore_a_partir_de(voie_precedente);
            return lus;
        }
        // Channels without a block end where the one before them ends.
        for (int v = voie_precedente + 1; v < *voie; ++v) index_fin_voie[static_cast<size_t>(v - 1)] = i;
        voie_precedente = *voie;
        if (sur_voie) sur_voie(*voie);
        const QString& nom = noms[static_cast<size_t>(*voie - 1)];
        bool bloc_ferme = false;
        while (lecteur.Lire_Ligne(ligne)) {
            if (ligne == "*") {
                bloc_ferme = true;
                break;
            }
            if (i >= limite_points || !Lire_Ligne_Point(ligne, mesures[i])) {
                clore_a_partir_de(voie_precedente);
                return lus;
            }
            Mesure_Enreg& point = mesures[i];
            point.Num_Voie = *voie;
            point.Nom_Voie = nom;
            if (i == 0) lus.Premiere_Date = lus.Derniere_Date = point.Date_Heure;
            else if (point.Date_Heure > lus.Derniere_Date) lus.Derniere_Date = point.Date_Heure;
            ++i;
            lus.Nb_Points = i;
            if (sur_point) sur_point(i);
        }
        if (!bloc_ferme) {
            clore_a_partir_de(voie_precedente);
            return lus;
        }
        index_fin_voie[static_cast<size_t>(*voie - 1)] = i;
    }
    clore_a_partir_de(voie_precedente + 1);
    lus.Correct = true;
    return lus;
}

Resultat_Fichier Sauvegarde_Fichier_Donnees(const QString& chemin, Octet module, Octet n) {
    Tete_Enregistrements tete;
    tete.Module = Texte_Entier(module);
    tete.Nb_Voies = n;
    for (int k = 0; k < std::min<int>(n, 16); ++k) {
        tete.Voies[static_cast<size_t>(k)] = Tab_Parametres_Voies[static_cast<size_t>(k)];
        tete.Noms[static_cast<size_t>(k)] = Tab_Parametres_Voies[static_cast<size_t>(k)].Nom_Voie;
    }
    tete.Entete_Module = Donnees_Reponse.Entete_Module;
    tete.Nb_Evenements = Texte_Entier(Donnees_Reponse.Nb_Evenements);
    Resultat_Fichier resultat;
    resultat.Erreur = Verifier_Tables_Enregistrements(tete, Index_Fin_Voie);
    if (resultat.Erreur.isEmpty()) {
        tete.Nb_Enregistrements = Index_Fin_Voie[static_cast<size_t>(n - 1)];
        Sauvegarde_Progressive sauvegarde(chemin);
        Ecrire_Fichier_Enregistrements(tete, Index_Fin_Voie, Tab_Mesures, sauvegarde.Sortie());
        resultat = sauvegarde.Terminer();
    }
    Init_Mouchard();
    if (!resultat) Signaler_Echec_Sauvegarde(chemin, resultat);
    return resultat;
}

bool Chargement_Fichier_Donnees(const QString& chemin) {
    auto incorrect = [](const Resultat_Fichier& lecture = {}) {
        Frm_Menu1().Affiche_Progress_Bar(false);
        Boites().MsgBox(Texte_Lecture_Refusee(Texte_Fichier_Incorrect, lecture, Nature_Fichier_Enregistrements));
        Frm_Menu1().Focus();
        return false;
    };
    QByteArray contenu;
    if (const Resultat_Fichier lecture = Lire_Fichier(chemin, contenu, Taille_Max_Fichier_Enregistrements); !lecture)
        return incorrect(lecture);
    Lecteur_Texte lecteur(contenu);
    contenu = QByteArray();  // the reader holds the content
    Tete_Enregistrements tete;
    if (!Lire_Tete_Enregistrements(lecteur, tete)) return incorrect();

    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Affiche_Progress_Bar(true);
    Long pourcentage = 0;
    tableau.Progess_Bar_Value(pourcentage);
    tableau.Caption_Pb(QStringLiteral("Chargement des mesures voie n°1"));
    const double total = tete.Nb_Enregistrements;
    Long affiche = 0;
    auto sur_point = [&](Long i) {
        // A head count below the points read (converted files) stays at 100.
        pourcentage = static_cast<Long>(std::min(100.0, Arrondi_Pair(i * 100.0 / total)));
        if (pourcentage == affiche) return;
        affiche = pourcentage;
        tableau.Progess_Bar_Value(pourcentage);
    };
    auto sur_voie = [&](Octet voie) { tableau.Caption_Pb(QStringLiteral("Chargement des mesures voie n°") + QString::number(voie)); };
    // The points go to a table of their own, which replaces the shared one
    // only once the whole file has been read: a file refused at any of its
    // lines leaves the recordings there were, and every table with them.
    const Octet n = tete.Nb_Voies;
    Table_Mesures mesures;
    std::vector<Long> index_fin_voie;
    // A head that announces no point while points follow is refused.
    const Long limite = tete.Nb_Enregistrements == 0 ? 0 : Table_Mesures::Taille;
    const Points_Lus lus =
        Lire_Blocs_Enregistrements(lecteur, n, tete.Noms, mesures, index_fin_voie, limite, sur_voie, sur_point);
    if (!lus.Correct) return incorrect();
    std::swap(Tab_Mesures, mesures);
    Index_Fin_Voie = std::move(index_fin_voie);

    Nom_Module = QStringLiteral("Module n°") + tete.Module;
    // Bit 2 then marks an 8-channel file, as after a read of the module's state.
    Donnees_Reponse.Etat_Module = static_cast<Entier>(Arrondi_Pair(n / 2.0));
    if (Num_Module >= 1 && Num_Module <= 32) Nb_Voies_Module[Num_Module - 1] = n;
    for (size_t k = 0; k < n; ++k) {
        Parametres_Voie& voie = Tab_Parametres_Voies[k];
        voie.Nature_Capteur = tete.Voies[k].Nature_Capteur;
        voie.Alarme_Valide = tete.Voies[k].Alarme_Valide;
        voie.Seuil_Haut = tete.Voies[k].Seuil_Haut;
        voie.Seuil_Bas = tete.Voies[k].Seuil_Bas;
        voie.Periode_Enreg = tete.Voies[k].Periode_Enreg;
    }
    Donnees_Reponse.Entete_Module = tete.Entete_Module;
    Donnees_Reponse.Nb_Enregistrements = tete.Nb_Enregistrements;
    Donnees_Reponse.Date_Debut = lus.Premiere_Date;
    Donnees_Reponse.Date_Fin = lus.Derniere_Date;
    tableau.Caption_Pb(QStringLiteral("Initialisation du graphe"));
    tableau.Rafraichir();
    Init_Mouchard();
    return true;
}

}  // namespace ostrel
