#include "tools/conversion.h"

#include <QDate>
#include <algorithm>
#include <cmath>

#include "files/enregistrements.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/formats.h"

namespace ostrel {

Table_Mesures Tab_Mesures_Lues;
std::array<Octet, 16> Tab_Nature_Capteur{};
std::array<Simple, 16> Tab_Seuil_Haut{};
std::array<Simple, 16> Tab_Seuil_Bas{};

namespace {

int Chiffre(char c) { return c >= '0' && c <= '9' ? c - '0' : -1; }

// Two digits at a place of the line, or -1.
int Deux_Chiffres(QByteArrayView ligne, qsizetype position) {
    const int a = Chiffre(ligne[position]), b = Chiffre(ligne[position + 1]);
    return a < 0 || b < 0 ? -1 : a * 10 + b;
}

// The channel of positions 1-2: " 5" and "12" at once, any other form
// through the general conversion.
std::optional<Octet> Voie_Point(QByteArrayView ligne) {
    const int unites = Chiffre(ligne[1]);
    if (unites >= 0 && (ligne[0] == ' ' || Chiffre(ligne[0]) >= 0))
        return static_cast<Octet>((ligne[0] == ' ' ? 0 : Chiffre(ligne[0])) * 10 + unites);
    return Convertir_Octet(Depuis_Cp1252(ligne.first(2)));
}

// The date of positions 4-13 at the time of positions 15-19. The usual
// "25/12/2006" and "14:30" are taken at once; any other form goes through
// the general date conversion.
std::optional<Date> Date_Heure_Point(QByteArrayView ligne) {
    const int jour = Deux_Chiffres(ligne, 3), mois = Deux_Chiffres(ligne, 6);
    const int siecle = Deux_Chiffres(ligne, 9), an = Deux_Chiffres(ligne, 11);
    const int heure = Deux_Chiffres(ligne, 14), minute = Deux_Chiffres(ligne, 17);
    if (jour >= 0 && mois >= 0 && siecle >= 0 && an >= 0 && heure >= 0 && minute >= 0 && ligne[5] == '/' &&
        ligne[8] == '/' && ligne[16] == ':') {
        const int annee = siecle * 100 + an;
        if (annee < 100 || !QDate::isValid(annee, mois, jour) || heure > 23 || minute > 59) return std::nullopt;
        return DateSerial(annee, mois, jour) + TimeSerial(heure, minute, 0);
    }
    const QString date = Depuis_Cp1252(ligne.sliced(3, 10)).trimmed(), temps = Depuis_Cp1252(ligne.sliced(14, 5)).trimmed();
    const std::optional<Date> d = Convertir_Date(date), t = Convertir_Date(temps);
    // The first must be a day and the second a time of day.
    if (!d || !t || date.contains(QLatin1Char(':')) || temps.contains(QLatin1Char('/'))) return std::nullopt;
    return *d + *t;
}

// A value in its unit as a whole number of tenths, an exact half going to the
// even tenth, from the decimal text itself: "21,5" 215, "21,25" 212,
// "21,35" 214, "-5" -50. Nothing when the text is not a number or its value
// would not fit a Single. The usual forms (sign, at most 15 digits, one
// decimal comma or point) are read at once, any other through the general
// conversion. A negative value keeps its sign, even rounded to zero.
std::optional<double> Dixiemes_Valeur(QByteArrayView texte) {
    while (!texte.isEmpty() && (texte.front() == ' ' || texte.front() == '\t')) texte = texte.sliced(1);
    while (!texte.isEmpty() && (texte.back() == ' ' || texte.back() == '\t')) texte.chop(1);
    const bool negatif = !texte.isEmpty() && texte.front() == '-';
    qsizetype i = !texte.isEmpty() && (texte.front() == '-' || texte.front() == '+') ? 1 : 0;
    long long mantisse = 0;
    int chiffres = 0, decimales = 0;
    bool separateur = false;
    for (; i < texte.size(); ++i) {
        const char c = texte[i];
        if (const int d = Chiffre(c); d >= 0) {
            mantisse = mantisse * 10 + d;
            decimales += separateur;
            if (++chiffres > 15) break;
        } else if ((c == ',' || c == '.') && !separateur) {
            separateur = true;
        } else {
            break;
        }
    }
    if (i == texte.size() && chiffres > 0) {
        long long dixiemes = mantisse;
        if (decimales == 0) {
            dixiemes *= 10;
        } else {
            long long reste_unite = 1;
            for (int k = 1; k < decimales; ++k) reste_unite *= 10;
            dixiemes = mantisse / reste_unite;
            const long long reste = mantisse % reste_unite;
            if (2 * reste > reste_unite || (2 * reste == reste_unite && dixiemes % 2 != 0)) ++dixiemes;
        }
        return negatif ? -static_cast<double>(dixiemes) : static_cast<double>(dixiemes);
    }
    const std::optional<Simple> valeur = Convertir_Simple(Depuis_Cp1252(texte));
    if (!valeur) return std::nullopt;
    const double dixiemes = Arrondi_Pair(static_cast<double>(*valeur) * 10);
    return std::signbit(*valeur) ? -std::fabs(dixiemes) : dixiemes;
}

// The alarm digit; any other character through the general conversion.
std::optional<Booleen> Alarme_Point(char c) {
    if (const int d = Chiffre(c); d >= 0) return d != 0 ? Vrai : Faux;
    return Convertir_Booleen(Depuis_Cp1252(QByteArrayView(&c, 1)));
}

// A line that is the data's end mark, blanks aside.
bool Fin_Des_Donnees(QByteArrayView ligne) {
    return ligne.contains("ETX") && Depuis_Cp1252(ligne).trimmed() == Fin_Donnees_Ancien_Fichier;
}

// Conversions of one head item into its field; false when it does not convert.
bool Octet_Dans(Octet& champ, const QString& texte) {
    const std::optional<Octet> o = Convertir_Octet(texte);
    if (o) champ = *o;
    return o.has_value();
}

// A byte, true when not 0.
bool Drapeau_Dans(Booleen& champ, const QString& texte) {
    const std::optional<Octet> o = Convertir_Octet(texte);
    if (o) champ = *o != 0 ? Vrai : Faux;
    return o.has_value();
}

// True when the item is "1", false for anything else.
bool Exactement_1_Dans(Booleen& champ, const QString& texte) {
    champ = texte.trimmed() == QLatin1String("1") ? Vrai : Faux;
    return true;
}

// True when the item's value as a number is 1.
bool Un_Dans(Booleen& champ, const QString& texte) {
    const std::optional<double> v = Convertir_Nombre(texte);
    if (v) champ = *v == 1 ? Vrai : Faux;
    return v.has_value();
}

bool Simple_Dans(Simple& champ, const QString& texte, double diviseur) {
    const std::optional<Simple> s = Convertir_Simple(texte);
    if (s) champ = static_cast<Simple>(static_cast<double>(*s) / diviseur);
    return s.has_value();
}

}  // namespace

void Effacer_Dates_Mesures() {
    for (Long i = 0; i < Table_Mesures::Taille; ++i) {
        Tab_Mesures[i].Date_Heure = 0;
        Tab_Mesures_Lues[i].Date_Heure = 0;
    }
}

bool Lire_Tete_Ancien_Fichier(Lecteur_Texte& lecteur, Octet& NB_Voie) {
    NB_Voie = 0;
    QString premier;
    if (!lecteur.Lire_Item(premier)) return false;
    // Names run up to 16, unless the file starts on the separator itself.
    size_t n = 0;
    if (premier.trimmed() != Separateur_Voie_Valide)
        for (; n < 16; ++n)
            if (!lecteur.Lire_Item(Tab_Parametres_Voies[n].Nom_Voie)) return false;
    if (n == 0) return false;

    QString item;
    auto separateur = [&] { return lecteur.Lire_Item(item); };
    // One setting: n items, each converted into its channel.
    auto valeurs = [&](auto&& convertir) {
        for (size_t k = 0; k < n; ++k)
            if (!lecteur.Lire_Item(item) || !convertir(Tab_Parametres_Voies[k], k, item)) return false;
        return true;
    };
    using V = Parametres_Voie;
    using T = const QString&;
    const bool tete_lue =
        separateur() && valeurs([](V& v, size_t, T t) { return Un_Dans(v.Voie_Valide, t); }) &&
        separateur() && valeurs([](V&, size_t k, T t) { return Octet_Dans(Tab_Nature_Capteur[k], t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Exactement_1_Dans(v.Alarme_Valide, t); }) &&
        separateur() && valeurs([](V&, size_t k, T t) { return Simple_Dans(Tab_Seuil_Haut[k], t, 10); }) &&
        separateur() && valeurs([](V&, size_t k, T t) { return Simple_Dans(Tab_Seuil_Bas[k], t, 10); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Octet_Dans(v.Periode_Enreg, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Octet_Dans(v.Tempo_Alarme, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Simple_Dans(v.Echelle_4mA, t, 1); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Simple_Dans(v.Echelle_20mA, t, 1); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Exactement_1_Dans(v.Role_ETOR_Inhib, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Octet_Dans(v.Unite, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Drapeau_Dans(v.Inhib_Enreg_ETOR, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Octet_Dans(v.Num_ETOR_Inhib, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Drapeau_Dans(v.Inhib_Alarme_ETOR, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Octet_Dans(v.Num_Planning_Inhib, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Drapeau_Dans(v.Contact_NF, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Drapeau_Dans(v.Relais_2, t); }) &&
        separateur() && valeurs([](V& v, size_t, T t) { return Drapeau_Dans(v.Buzzer, t); });
    if (!tete_lue) return false;

    Parametres_Voie& module = Tab_Parametres_Voies[0];
    if (!separateur() || !lecteur.Lire_Item(module.Entete_Module) || !separateur() || !lecteur.Lire_Item(item)) return false;
    const std::optional<Long> points = Convertir_Long(item);
    if (!points || !separateur() || !lecteur.Lire_Item(item)) return false;
    const std::optional<Long> evenements = Convertir_Long(item);
    if (!evenements) return false;
    module.Nb_Enregistrements = *points;
    module.Nb_Evenements = *evenements;
    NB_Voie = static_cast<Octet>(n);
    Index_Fin_Voie.assign(n, 0);
    return true;
}

bool Lire_Ligne_Ancien_Point(QByteArrayView ligne, Mesure_Enreg& point) {
    const qsizetype longueur = ligne.size();
    // Channel, date, time, at least one character of value, and the alarm
    // between its two blanks.
    if (longueur < 24) return false;
    const std::optional<Octet> voie = Voie_Point(ligne);
    const std::optional<Date> quand = Date_Heure_Point(ligne);
    const std::optional<double> dixiemes = Dixiemes_Valeur(ligne.sliced(20, longueur - 23));
    const std::optional<Booleen> alarme = Alarme_Point(ligne[longueur - 2]);
    if (!voie || !quand || !dixiemes || !alarme) return false;
    // The new file holds the value, as the single it becomes, in whole tenths
    // on 32 bits: one that would not fit them (from about 214748360 on,
    // where a single goes by steps of 16) could not be read back.
    if (!Vers_Long(*dixiemes)) return false;
    const Simple valeur = static_cast<Simple>(*dixiemes / 10);
    if (!Dixiemes_Point(valeur)) return false;
    point.Num_Voie = *voie;
    point.Date_Heure = *quand;
    point.Valeur = valeur;
    point.Alarme = *alarme != 0 ? Vrai : Faux;
    return true;
}

std::optional<Long> Lire_Points_Ancien_Fichier(Lecteur_Texte& lecteur, const std::function<void(Long)>& sur_point) {
    Long i = 0;
    QByteArrayView ligne;
    while (lecteur.Lire_Ligne(ligne)) {
        if (Fin_Des_Donnees(ligne)) break;
        if (i >= Nb_Points_Max_Conversion) return std::nullopt;
        if (sur_point) sur_point(i);
        if (!Lire_Ligne_Ancien_Point(ligne, Tab_Mesures_Lues[i])) return std::nullopt;
        ++i;
    }
    return i;
}

void Regrouper_Mesures(Long nb_lus, Octet NB_Voie, const std::function<void(Octet)>& sur_voie) {
    // Every point read is visited, whatever its date: a point dated 0 does not
    // end the data. Each channel's slice starts where the points of the
    // channels before it end, so one pass places every point.
    nb_lus = std::clamp<Long>(nb_lus, 0, Table_Mesures::Taille);
    const int n = std::min<int>(NB_Voie, 16);
    std::array<Long, 17> place{};
    for (Long i = 0; i < nb_lus; ++i)
        if (const int c = Tab_Mesures_Lues[i].Num_Voie; c >= 1 && c <= n) ++place[static_cast<size_t>(c)];
    Index_Fin_Voie.assign(static_cast<size_t>(n), 0);
    Long fin = 0;
    for (int c = 1; c <= n; ++c) {
        const Long points = place[static_cast<size_t>(c)];
        place[static_cast<size_t>(c)] = fin;
        fin += points;
        Index_Fin_Voie[static_cast<size_t>(c - 1)] = fin;
    }
    for (Long i = 0; i < nb_lus; ++i)
        if (const int c = Tab_Mesures_Lues[i].Num_Voie; c >= 1 && c <= n)
            Tab_Mesures[place[static_cast<size_t>(c)]++] = Tab_Mesures_Lues[i];
    if (sur_voie)
        for (int c = 1; c <= n; ++c) sur_voie(static_cast<Octet>(c));
}

bool Ecrire_Nouveau_Fichier(Octet Adr_OC, Octet NB_Voie, const Sortie_Par_Morceaux::Sortie& sortie, QString* erreur,
                            const std::function<void(Long)>& sur_point) {
    Tete_Enregistrements tete;
    tete.Module = Texte_Entier(Adr_OC);
    tete.Nb_Voies = NB_Voie;
    for (size_t k = 0; k < std::min<size_t>(NB_Voie, 16); ++k) {
        tete.Noms[k] = Tab_Parametres_Voies[k].Nom_Voie;
        tete.Voies[k] = Tab_Parametres_Voies[k];
        tete.Voies[k].Nature_Capteur = Tab_Nature_Capteur[k];
        tete.Voies[k].Seuil_Haut = Tab_Seuil_Haut[k];
        tete.Voies[k].Seuil_Bas = Tab_Seuil_Bas[k];
    }
    tete.Entete_Module = Tab_Parametres_Voies[0].Entete_Module;
    tete.Nb_Evenements = Texte_Entier(Tab_Parametres_Voies[0].Nb_Evenements);
    const QString probleme = Verifier_Tables_Enregistrements(tete, Index_Fin_Voie);
    if (!probleme.isEmpty()) {
        if (erreur) *erreur = probleme;
        return false;
    }
    // The point count line holds the points the file really carries (the
    // program refuses a file whose count is 0 while points follow).
    tete.Nb_Enregistrements = Index_Fin_Voie[static_cast<size_t>(NB_Voie - 1)];
    Ecrire_Fichier_Enregistrements(tete, Index_Fin_Voie, Tab_Mesures, sortie, sur_point);
    return true;
}

QByteArray Contenu_Nouveau_Fichier(Octet Adr_OC, Octet NB_Voie, QString* erreur) {
    return Contenu_Entier([&](const Sortie_Par_Morceaux::Sortie& sortie) { Ecrire_Nouveau_Fichier(Adr_OC, NB_Voie, sortie, erreur); });
}

}  // namespace ostrel
