#include "config/regles_param_oc.h"

#include <cmath>

#include "platform/dates.h"
#include "platform/formats.h"

namespace ostrel {
namespace {

// The default codes are put together when the screen opens, so that they
// appear nowhere as a whole in the program.
constexpr int Prefixe_Code_Defaut = 3 * 67;

bool Chiffres(const QString& texte) {
    for (QChar c : texte)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace

QString Code_Defaut(int k) { return QString::number(Prefixe_Code_Defaut) + QString::number(k); }

QString Nom_Operateur_Defaut(int k) { return QStringLiteral("OPERATEUR ") + QString::number(k); }

Entier Valeur_Code(const QString& texte) {
    if (texte.isEmpty() || texte.size() > 4 || !Chiffres(texte)) return 0;
    return static_cast<Entier>(texte.toInt());
}

bool Entete_Acceptee(const QString& entete) {
    for (QChar c : entete)
        if (c.unicode() < 32 || c.unicode() > 122) return false;
    return true;
}

QString Remplir_Ligne(const QString& ligne) {
    return ligne.leftJustified(Longueur_Ligne_Entete, QLatin1Char(' '));
}

QString Entete_Avec_Premiere_Ligne(const QString& entete, const QString& ligne) {
    return Remplir_Ligne(ligne) + entete.mid(Longueur_Ligne_Entete, Longueur_Ligne_Entete);
}

QString Entete_Avec_Deuxieme_Ligne(const QString& entete, const QString& ligne) {
    return entete.left(Longueur_Ligne_Entete) + Remplir_Ligne(ligne);
}

QString Premiere_Ligne(const QString& entete) { return entete.left(Longueur_Ligne_Entete); }
QString Deuxieme_Ligne(const QString& entete) { return entete.mid(Longueur_Ligne_Entete, Longueur_Ligne_Entete); }

Date Heure_Planning_Lue(Date valeur) {
    if (!std::isfinite(valeur)) return valeur;
    const Composantes_Date c = Decomposer(valeur);
    const bool jours = Partie_Jour(valeur) != 0;
    const bool heure = c.Heure != 0 || c.Minute != 0 || c.Seconde != 0;
    return jours && heure ? TimeSerial(c.Heure, c.Minute, 0) : valeur;
}

bool Classer_Planning(Plages& plages) {
    bool convertibles = true;
    for (Date& t : plages) {
        t = Heure_Planning_Lue(t);
        if (!std::isfinite(t) || t < 0) convertibles = false;
    }
    const bool actif = convertibles && plages[0] != plages[1];
    if (!actif) plages.fill(0);
    return actif;
}

std::optional<Date> Convertir_Plage(const QString& texte) {
    if (texte.size() != 5 || texte[2] != QLatin1Char(':')) return std::nullopt;
    const QString h = texte.left(2), m = texte.mid(3, 2);
    if (!Chiffres(h) || !Chiffres(m)) return std::nullopt;
    const int heures = h.toInt(), minutes = m.toInt();
    if (heures > 23 || minutes > 59) return std::nullopt;
    return TimeSerial(heures, minutes, 0);
}

QString Texte_Plage(Date valeur) { return Texte_Date(valeur).left(5); }

Effet_Plage Regle_Debut_Change(std::optional<Date> t, Date E) {
    Effet_Plage e;
    if (!t) return e;
    if (E == 0 || E > *t)
        e.Debut = *t;
    else
        e.Couleur = Couleur_Plage::Rouge;
    return e;
}

Effet_Plage Regle_Debut_Sortie(std::optional<Date> t, Date E, bool rouge) {
    Effet_Plage e;
    if (!t) {
        e.Texte_Zero = true;
        e.Debut = 0.0;
    } else if (rouge) {
        if (E != 0 && E <= *t) {
            e.Couleur = Couleur_Plage::Rouge;
        } else {
            e.Couleur = Couleur_Plage::Normale;
            e.Debut = *t;
        }
    } else {
        e.Debut = *t;
    }
    return e;
}

Effet_Plage Regle_Fin_Change(std::optional<Date> t, Date B) {
    Effet_Plage e;
    if (!t) return e;
    if (*t != 0 && *t <= B) {
        e.Couleur = Couleur_Plage::Rouge;
    } else {
        e.Couleur = Couleur_Plage::Normale;
        e.Fin = *t;
    }
    return e;
}

Effet_Plage Regle_Fin_Sortie(std::optional<Date> t, Date B) {
    Effet_Plage e;
    if (!t) {
        e.Texte_Zero = true;
        e.Fin = 0.0;
        e.Debut = 0.0;
    } else if (B != 0 && *t <= B) {
        e.Couleur = Couleur_Plage::Rouge;
        e.Fin = 0.0;
        e.Debut = 0.0;
    } else {
        e.Fin = *t;
        e.Stockee = true;
    }
    return e;
}

bool Plage_Invalide(Date B, Date E) { return E != 0 && E <= B; }

Format_Date_Heure Choisir_Format_Date_Heure(const QString& date_courte) {
    if (date_courte.size() == 10)
        return {QStringLiteral("dd/mm/yyyy hh:mm:ss"), QStringLiteral("99/99/9999 99:99:99")};
    return {QStringLiteral("dd/mm/yy hh:mm:ss"), QStringLiteral("99/99/99 99:99:99")};
}

QString Texte_Horloge(Date valeur) {
    QString t = Texte_Date(valeur);
    if (t.size() == 10) t += QStringLiteral(" 00:00:00");
    return t;
}

Long Progression_Etape(int k) { return static_cast<Long>(Arrondi_Pair(k * 100.0 / 19.0)); }

}  // namespace ostrel
