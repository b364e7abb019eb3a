#include "config/parametres_voies.h"

#include <algorithm>

#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/formats.h"

namespace ostrel {

Octet Num_Voie_Etalonnage = 0;

namespace {

constexpr Octet Periode_Defaut = 30;
constexpr Simple Seuil_Haut_Defaut = 150.0f;
constexpr Simple Seuil_Bas_Defaut = -50.0f;
constexpr Simple Echelle_4mA_Defaut = 0.0f;
constexpr Simple Echelle_20mA_Defaut = 100.0f;

Octet Minutes_Valides(Octet minutes) { return minutes >= 1 && minutes <= 240 ? minutes : Periode_Defaut; }
Octet Code_Valide(Octet code, Octet maximum) { return code <= maximum ? code : 0; }
Booleen Drapeau(Booleen b) { return b != 0 ? Vrai : Faux; }

Simple Dans_Un_Mot(Simple valeur) {
    return static_cast<Simple>(std::clamp(static_cast<double>(valeur), Dixiemes_Min, Dixiemes_Max));
}

// Order of the thresholds and of the scales, as the module needs them.
void Verifier_Ordres(Parametres_Voie& v) {
    if (!(v.Seuil_Bas < v.Seuil_Haut)) {
        v.Seuil_Bas = Seuil_Bas_Defaut;
        v.Seuil_Haut = Seuil_Haut_Defaut;
    }
    if (v.Echelle_20mA < v.Echelle_4mA) {
        v.Echelle_4mA = Echelle_4mA_Defaut;
        v.Echelle_20mA = Echelle_20mA_Defaut;
    }
}

void Verifier_Codes(Parametres_Voie& v) {
    v.Periode_Enreg = Minutes_Valides(v.Periode_Enreg);
    v.Tempo_Alarme = Minutes_Valides(v.Tempo_Alarme);
    v.Nature_Capteur = Code_Valide(v.Nature_Capteur, 2);
    v.Num_ETOR_Inhib = Code_Valide(v.Num_ETOR_Inhib, 16);
    v.Num_Planning_Inhib = Code_Valide(v.Num_Planning_Inhib, 16);
    v.Unite = Code_Valide(v.Unite, 3);
}

}  // namespace

Parametres_Voie Voie_Defaut(int index) {
    Parametres_Voie v;
    v.Voie_Valide = Faux;
    v.Periode_Enreg = Periode_Defaut;
    v.Seuil_Haut = Seuil_Haut_Defaut;
    v.Seuil_Bas = Seuil_Bas_Defaut;
    v.Echelle_4mA = Echelle_4mA_Defaut;
    v.Echelle_20mA = Echelle_20mA_Defaut;
    v.Tempo_Alarme = Periode_Defaut;
    v.Alarme_Valide = Faux;
    v.Role_ETOR_Inhib = Faux;
    v.Nature_Capteur = 0;
    v.Contact_NF = Faux;
    v.Inhib_Alarme_ETOR = Faux;
    v.Inhib_Enreg_ETOR = Faux;
    v.Relais_2 = Faux;
    v.Num_ETOR_Inhib = 0;
    v.Unite = 0;
    v.Buzzer = Vrai;
    v.Num_Planning_Inhib = 0;
    v.Offset = 0;
    v.Nom_Voie = QStringLiteral("Voie ") + QString::number(index + 1);
    return v;
}

void Creation_Table_Defaut(Octet n) {
    for (int i = 0; i < std::min<int>(n, 16); ++i) Tab_Parametres_Voies[static_cast<size_t>(i)] = Voie_Defaut(i);
}

void Copier_Voie_Importee(Parametres_Voie& cible, const Parametres_Voie& lue) {
    cible.Periode_Enreg = lue.Periode_Enreg;
    cible.Tempo_Alarme = lue.Tempo_Alarme;
    cible.Seuil_Haut = lue.Seuil_Haut;
    cible.Seuil_Bas = lue.Seuil_Bas;
    cible.Echelle_4mA = lue.Echelle_4mA;
    cible.Echelle_20mA = lue.Echelle_20mA;
    cible.Nature_Capteur = lue.Nature_Capteur;
    cible.Num_ETOR_Inhib = lue.Num_ETOR_Inhib;
    cible.Num_Planning_Inhib = lue.Num_Planning_Inhib;
    cible.Unite = lue.Unite;
    cible.Voie_Valide = lue.Voie_Valide;
    cible.Alarme_Valide = lue.Alarme_Valide;
    cible.Role_ETOR_Inhib = lue.Role_ETOR_Inhib;
    cible.Contact_NF = lue.Contact_NF;
    cible.Inhib_Alarme_ETOR = lue.Inhib_Alarme_ETOR;
    cible.Inhib_Enreg_ETOR = lue.Inhib_Enreg_ETOR;
    cible.Relais_2 = lue.Relais_2;
    cible.Buzzer = lue.Buzzer;
    Verifier_Codes(cible);
    Verifier_Ordres(cible);
}

void Valider_Voie(Parametres_Voie& v) {
    // A code out of range would spill into the neighbouring bits of the
    // settings block sent to the module; a number out of a word would not travel.
    Verifier_Codes(v);
    v.Seuil_Haut = Dans_Un_Mot(v.Seuil_Haut);
    v.Seuil_Bas = Dans_Un_Mot(v.Seuil_Bas);
    v.Echelle_4mA = Dans_Un_Mot(v.Echelle_4mA);
    v.Echelle_20mA = Dans_Un_Mot(v.Echelle_20mA);
    v.Offset = Dans_Un_Mot(v.Offset);
    Verifier_Ordres(v);
    for (Booleen* b : {&v.Voie_Valide, &v.Alarme_Valide, &v.Role_ETOR_Inhib, &v.Contact_NF, &v.Inhib_Alarme_ETOR,
                       &v.Inhib_Enreg_ETOR, &v.Relais_2, &v.Buzzer})
        *b = Drapeau(*b);
}

bool Importer_Voies_Module(Octet& nb_voies) {
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Affiche_Progress_Bar(true);
    tableau.Caption_Pb(QStringLiteral("Recherche du Module..."));
    tableau.Premier_Plan();
    tableau.Focus();
    // A failed import leaves nothing on show that would look like work in progress.
    auto echec = [&tableau] {
        tableau.Affiche_Progress_Bar(false);
        return false;
    };

    const Octet module = Num_Module;
    Lecture_Etat_Module(module);
    if (Code_Erreur != 0) return echec();
    const Octet n = Nb_Voies_Selon_Etat(Donnees_Reponse.Etat_Module);
    Nb_Voies_Module[static_cast<size_t>(module - 1)] = n;
    nb_voies = n;

    for (int i = 0; i < n; ++i) {
        const Octet c = static_cast<Octet>(i + 1);
        Parametres_Voie& voie = Tab_Parametres_Voies[static_cast<size_t>(i)];
        tableau.Caption_Pb(QStringLiteral("Paramètres de la Voie n°") + QString::number(c));
        Progression(100.0 * i / n);
        Lecture_Parametres_Voie(module, c);
        if (Code_Erreur != 0) return echec();
        Copier_Voie_Importee(voie, Donnees_Reponse);

        Progression((i + 1.0 / 3.0) / n * 100.0);
        tableau.Caption_Pb(QStringLiteral("Nom de la Voie n°") + QString::number(c));
        Lecture_Nom_Voie(module, c);
        if (Code_Erreur != 0) return echec();
        voie.Nom_Voie = Donnees_Reponse.Nom_Voie;

        Lecture_Correction_Voie(module, c);
        if (Code_Erreur != 0) return echec();
        voie.Offset = Donnees_Reponse.Offset;
    }
    Progression(100);
    tableau.Caption_Pb(QStringLiteral("Téléchargement terminé"));
    tableau.Affiche_Progress_Bar(false);
    return true;
}

void Retrait_Entree_Inhibition(Octet n, Octet nb) {
    for (int k = 0; k < std::min<int>(nb, 16); ++k) {
        Parametres_Voie& v = Tab_Parametres_Voies[static_cast<size_t>(k)];
        if (v.Num_ETOR_Inhib != n) continue;
        v.Num_ETOR_Inhib = 0;
        if (v.Inhib_Enreg_ETOR != 0) v.Inhib_Enreg_ETOR = Faux;
        // A planning still inhibits the alarms of that channel.
        if (v.Num_Planning_Inhib == 0 && v.Inhib_Alarme_ETOR != 0) v.Inhib_Alarme_ETOR = Faux;
    }
}

std::vector<QString> Entrees_ETOR(int affichee, Octet nb) {
    std::vector<QString> entrees{Texte_Aucune_ETOR};
    for (int k = 0; k < std::min<int>(nb, 16); ++k) {
        const Parametres_Voie& v = Tab_Parametres_Voies[static_cast<size_t>(k)];
        if (k != affichee && Entree_Contact(v) && v.Role_ETOR_Inhib != 0)
            entrees.push_back(Prefixe_ETOR + QString::number(k + 1));
    }
    return entrees;
}

Octet Numero_Entree_ETOR(const QString& entree) {
    if (!entree.startsWith(Prefixe_ETOR)) return 0;
    return Convertir_Octet(entree.mid(Prefixe_ETOR.size(), 2)).value_or(0);
}

int Position_Entree_ETOR(const std::vector<QString>& entrees, Octet n) {
    if (n == 0) return -1;
    for (size_t i = 0; i < entrees.size(); ++i)
        if (Numero_Entree_ETOR(entrees[i]) == n) return static_cast<int>(i);
    return -1;
}

}  // namespace ostrel
