#pragma once
// What the fuzz targets share: a check that stops the run with its reason
// (libFuzzer keeps the input that made it fail), an account of named values
// to compare two readings, and the input cut into pieces.
#include <QByteArray>
#include <QList>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "link/donnees.h"

namespace ostrel::fuzz {

[[noreturn]] inline void Echec(const char* fichier, int ligne, const char* condition, const QByteArray& detail) {
    std::fprintf(stderr, "%s:%d: propriété non tenue : %s\n%s\n", fichier, ligne, condition, detail.constData());
    std::abort();
}

// Two values that must be equal; both are shown when they are not, texts
// line by line from the first line that differs.
inline QByteArray Montrer(const QByteArray& a, const QByteArray& b) {
    const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
    qsizetype i = 0;
    while (i < la.size() && i < lb.size() && la[i] == lb[i]) ++i;
    QByteArray texte = "ligne " + QByteArray::number(i + 1) + " :\n";
    for (qsizetype k = i; k < i + 3; ++k) {
        if (k < la.size()) texte += "  premier : " + la[k].toPercentEncoding(" ,;:*/\"'=()") + "\n";
        if (k < lb.size()) texte += "  second  : " + lb[k].toPercentEncoding(" ,;:*/\"'=()") + "\n";
    }
    return texte;
}

inline QByteArray Montrer(const QString& a, const QString& b) { return Montrer(a.toUtf8(), b.toUtf8()); }

template <class Nombre> QByteArray Montrer(const std::vector<Nombre>& a, const std::vector<Nombre>& b) {
    auto liste = [](const std::vector<Nombre>& v) {
        QByteArray t;
        for (Nombre x : v) t += QByteArray::number(x) + ' ';
        return t;
    };
    return "premier : " + liste(a) + "\nsecond  : " + liste(b);
}

template <class Nombre> QByteArray Montrer(Nombre a, Nombre b) {
    return "premier : " + QByteArray::number(a) + "\nsecond  : " + QByteArray::number(b);
}

}  // namespace ostrel::fuzz

#define VERIFIER(condition)                                                              \
    do {                                                                                 \
        if (!(condition)) ::ostrel::fuzz::Echec(__FILE__, __LINE__, #condition, {});     \
    } while (0)

#define VERIFIER_EGAUX(a, b)                                                                       \
    do {                                                                                           \
        const auto& a_ = (a);                                                                      \
        const auto& b_ = (b);                                                                      \
        if (!(a_ == b_)) ::ostrel::fuzz::Echec(__FILE__, __LINE__, #a " == " #b, ::ostrel::fuzz::Montrer(a_, b_)); \
    } while (0)

namespace ostrel::fuzz {

// An account of named values, to compare two readings; shown as text (one
// value a line) only when they differ.
class Releve {
public:
    Releve& operator()(const char* nom, double valeur) { return Ajouter(nom, -1, valeur, {}); }
    Releve& operator()(const char* nom, const QString& valeur) { return Ajouter(nom, -1, 0, valeur, true); }
    // A number that may come back within `ecart` of itself.
    Releve& operator()(const char* nom, double valeur, double ecart) {
        Ajouter(nom, -1, valeur, {});
        valeurs_.back().Ecart = ecart;
        return *this;
    }
    template <class Tableau> Releve& Liste(const char* nom, const Tableau& valeurs) {
        for (size_t i = 0; i < valeurs.size(); ++i) {
            if constexpr (std::is_same_v<std::decay_t<decltype(valeurs[i])>, QString>)
                Ajouter(nom, static_cast<int>(i), 0, valeurs[i], true);
            else
                Ajouter(nom, static_cast<int>(i), static_cast<double>(valeurs[i]), {});
        }
        return *this;
    }
    Releve& operator+=(const Releve& autre) {
        valeurs_.insert(valeurs_.end(), autre.valeurs_.begin(), autre.valeurs_.end());
        return *this;
    }
    bool operator==(const Releve& autre) const { return valeurs_ == autre.valeurs_; }

    QByteArray Texte() const {
        QByteArray t;
        for (const Valeur& v : valeurs_) {
            t += v.Nom;
            if (v.Index >= 0) t += '(' + QByteArray::number(v.Index) + ')';
            t += '=' + (v.Est_Texte ? '"' + v.Texte.toUtf8() + '"' : QByteArray::number(v.Nombre, 'g', 17)) + '\n';
        }
        return t;
    }

private:
    struct Valeur {
        const char* Nom;
        int Index;
        double Nombre;
        QString Texte;
        bool Est_Texte;
        double Ecart = 0;
        // Two NaN are equal here, and so are 0 and -0.
        bool operator==(const Valeur& a) const {
            const double ecart = std::max(Ecart, a.Ecart);
            const bool nombres = Nombre == a.Nombre || (std::isnan(Nombre) && std::isnan(a.Nombre)) ||
                                 std::fabs(Nombre - a.Nombre) <= ecart;
            return nombres && Texte == a.Texte && Est_Texte == a.Est_Texte;
        }
    };
    Releve& Ajouter(const char* nom, int index, double nombre, const QString& texte, bool est_texte = false) {
        valeurs_.push_back({nom, index, nombre, texte, est_texte, 0});
        return *this;
    }
    std::vector<Valeur> valeurs_;
};

inline QByteArray Montrer(const Releve& a, const Releve& b) { return Montrer(a.Texte(), b.Texte()); }

// Every field of a channel record.
inline Releve Empreinte(const Parametres_Voie& v) {
    Releve r;
    r("Mesure", v.Mesure)("Etat_Voie", v.Etat_Voie)("Periode_Enreg", v.Periode_Enreg)("Seuil_Haut", v.Seuil_Haut)(
        "Seuil_Bas", v.Seuil_Bas)("Echelle_4mA", v.Echelle_4mA)("Echelle_20mA", v.Echelle_20mA)(
        "Tempo_Alarme", v.Tempo_Alarme)("Voie_Valide", v.Voie_Valide)("Alarme_Valide", v.Alarme_Valide)(
        "Role_ETOR_Inhib", v.Role_ETOR_Inhib)("Nature_Capteur", v.Nature_Capteur)("Contact_NF", v.Contact_NF)(
        "Inhib_Alarme_ETOR", v.Inhib_Alarme_ETOR)("Inhib_Enreg_ETOR", v.Inhib_Enreg_ETOR)("Relais_2", v.Relais_2)(
        "Num_ETOR_Inhib", v.Num_ETOR_Inhib)("Unite", v.Unite)("Buzzer", v.Buzzer)(
        "Num_Planning_Inhib", v.Num_Planning_Inhib)("Offset", v.Offset)("Config_STOR", v.Config_STOR)(
        "Entete_Module", v.Entete_Module)("Etat_Module", v.Etat_Module)("Date_Heure_Module", v.Date_Heure_Module)(
        "Date_Debut", v.Date_Debut)("Date_Fin", v.Date_Fin)("Nom_Voie", v.Nom_Voie)(
        "Nb_Enregistrements", v.Nb_Enregistrements)("Nb_Evenements", v.Nb_Evenements);
    r.Liste("Plages_Planning", v.Plages_Planning).Liste("Dates_Enreg", v.Dates_Enreg);
    r.Liste("Valeurs_Enreg", v.Valeurs_Enreg).Liste("Alarmes_Enreg", v.Alarmes_Enreg);
    r.Liste("Dates_Journal", v.Dates_Journal).Liste("Etats_Journal", v.Etats_Journal);
    r.Liste("Voies_Journal", v.Voies_Journal).Liste("Operateurs_Journal", v.Operateurs_Journal);
    return r;
}

// The input read from its start: bytes that steer the target, then the rest
// as the outside bytes themselves.
class Entree {
public:
    Entree(const std::uint8_t* octets, size_t taille) : octets_(octets), taille_(taille) {}
    std::uint8_t Octet_Suivant() {
        if (position_ >= taille_) return 0;
        return octets_[position_++];
    }
    QByteArray Reste() const {
        return QByteArray(reinterpret_cast<const char*>(octets_ + position_), static_cast<qsizetype>(taille_ - position_));
    }

private:
    const std::uint8_t* octets_;
    size_t taille_;
    size_t position_ = 0;
};

}  // namespace ostrel::fuzz
