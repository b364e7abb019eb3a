#include "history/donnees_enreg.h"

#include <algorithm>
#include <cmath>

#include "files/impression.h"
#include "platform/dates.h"
#include "platform/formats.h"

namespace ostrel {

Tranche_Mesures Tranche_Voie(int k) {
    Tranche_Mesures t;
    const int n = static_cast<int>(Index_Fin_Voie.size());
    if (k < 0 || n == 0) return t;
    auto borne = [](Long v) { return std::clamp<Long>(v, 0, Table_Mesures::Taille); };
    // The largest end of the channels before, so that a slice never goes back.
    Long debut = 0;
    for (int i = 0; i < std::min(k, n); ++i) debut = std::max(debut, borne(Index_Fin_Voie[static_cast<size_t>(i)]));
    t.Debut = debut;
    t.Fin = k < n ? std::max(debut, borne(Index_Fin_Voie[static_cast<size_t>(k)])) : debut;
    return t;
}

QString Texte_Valeur_Reservee(Simple v) {
    if (v == Valeur_Debut_Coupure) return QStringLiteral(" Début Coupure");
    if (v == Valeur_Fin_Coupure) return QStringLiteral(" Fin Coupure");
    if (v == Valeur_Inhibee) return QStringLiteral(" Inhibé");
    return {};
}

QStringList Tete_Tableau_Numerique(const QString& nom_voie, const Parametres_Voie& voie) {
    const QString etoiles(32, QLatin1Char('*'));
    QStringList lignes{nom_voie, etoiles, QStringLiteral("Per. enreg. (mn) = ") + Texte_Entier(voie.Periode_Enreg)};
    if (voie.Alarme_Valide != Faux) {
        lignes << QStringLiteral("Alarme valide") << QStringLiteral("Seuil d'alarme haut = ") + Texte_Simple(voie.Seuil_Haut)
               << QStringLiteral("Seuil d'alarme bas = ") + Texte_Simple(voie.Seuil_Bas)
               << QStringLiteral(" * = Alarme présente et/ou non acquittée");
    } else {
        lignes << QStringLiteral("Alarme non valide");
    }
    lignes << etoiles;
    return lignes;
}

QString Ligne_Tableau_Numerique(const Mesure_Enreg& point) {
    QString ligne = Texte_Date(point.Date_Heure);
    Complete_Espaces(ligne, 20);
    const QString reservee = Texte_Valeur_Reservee(point.Valeur);
    if (!reservee.isEmpty()) return ligne + reservee;
    return ligne + Texte_Simple(point.Valeur) + QLatin1Char(' ') +
           (point.Alarme != Faux ? QStringLiteral(" * ") : QStringLiteral("   "));
}

Long Index_Debut_Periode(int n, Date d1) {
    if (n < 0 || n > 15) return 0;
    const Tranche_Mesures t = Tranche_Voie(n);
    for (Long k = t.Debut; k < t.Fin; ++k)
        if (!(Tab_Mesures[k].Date_Heure < d1)) return k;
    return t.Fin;
}

Long Index_Fin_Periode(int n, Date d2) {
    if (n < 0 || n > 15) return 0;
    const Tranche_Mesures t = Tranche_Voie(n);
    if (t.Taille() <= 1) return t.Debut;
    for (Long k = t.Debut + 1; k < t.Fin; ++k)
        if (Tab_Mesures[k].Date_Heure > d2) return k - 1;
    return t.Fin - 1;
}

QString Date_Tableau_Imprime(Date d) {
    const QString texte = Texte_Date(d);
    return texte.size() == 10 ? texte + QStringLiteral(" 00:00") : texte.left(16);
}

QString Cellule_Tableau_Imprime(const Mesure_Enreg& point) {
    const QString date = Date_Tableau_Imprime(point.Date_Heure);
    const QString reservee = Texte_Valeur_Reservee(point.Valeur);
    QString cellule;
    if (!reservee.isEmpty())
        cellule = date + reservee;
    else
        cellule = date + QStringLiteral("    ") + Texte_Simple(point.Valeur) + QStringLiteral("    ") +
                  (point.Alarme != Faux ? QStringLiteral("ALARME") : QStringLiteral("   ...   "));
    // Short cells are filled out so that the next column starts at its zone,
    // as the long ones do.
    return Complete_Espaces(cellule, 27);
}

QString Lecture_Curseur(double x, double y) {
    return Texte_Date(x) + QStringLiteral("  ") + Texte_Double(Arrondi_Pair(y * 10) / 10);
}

}  // namespace ostrel
