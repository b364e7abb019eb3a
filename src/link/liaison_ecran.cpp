#include "link/liaison_ecran.h"

#include "link/liaison.h"
#include "link/mouchard.h"
#include "link/variables.h"
#include "platform/formes.h"

namespace ostrel {
namespace {

// What a screen's row does once its form is loaded.
struct Etapes {
    bool Precedent_Avant = false;  // Ecran_Precedent := source before loading
    bool Activer = false;
    bool Activer_Avant = false;  // enabled before it is made visible
    bool Focus = true;
    bool Arret_Sur_Erreur = false;  // the journal stays hidden after a failed load
    bool Recharge_Apres_Purge = false;
    QString Parent;            // fixed parent for a move back; empty: no parent rule
    QString Parent_Force;      // parent whatever the flag
};

struct Ligne {
    Ecran_Connu Noms;
    Etapes Pas;
};

const std::vector<Ligne>& Lignes() {
    static const std::vector<Ligne> lignes = [] {
        auto L = [](const char* ecran, const char* forme, Etapes e) {
            return Ligne{{QString::fromUtf8(ecran), QString::fromUtf8(forme)}, e};
        };
        Etapes simple;
        simple.Precedent_Avant = true;
        Etapes accueil = simple;
        accueil.Activer_Avant = true;
        Etapes journal;
        journal.Arret_Sur_Erreur = true;
        journal.Activer = true;
        journal.Recharge_Apres_Purge = true;
        journal.Parent = QStringLiteral("Consultation");
        Etapes enreg;
        enreg.Parent = QStringLiteral("Menu Enregistrements");
        Etapes menu_enreg;
        menu_enreg.Parent = QStringLiteral("Consultation");
        Etapes mesures;
        mesures.Focus = false;
        mesures.Parent_Force = QStringLiteral("Consultation");
        Etapes param_oc;
        param_oc.Parent = QStringLiteral("Configuration");
        Etapes param_voies;
        param_voies.Activer = true;
        Etapes purger;
        Etapes vers_accueil;
        vers_accueil.Parent = QStringLiteral("Accueil");
        return std::vector<Ligne>{
            L("Ecran_Communication", "Ecran_Communication", simple),
            L("Accueil", "Frm_Accueil", accueil),
            L("Enregistrements", "Frm_Enreg", enreg),
            L("Journal des alarmes", "frm_Journal_Alarme", journal),
            L("Configuration", "Frm_Menu_Config", simple),
            L("Consultation", "Frm_Menu_Consultation", simple),
            L("Menu Enregistrements", "Frm_Menu_Enreg", menu_enreg),
            L("Menu1", "Frm_Menu1", simple),
            L("Mesures", "Frm_Mesures", mesures),
            L("Réglages Module", "Frm_Param_OC", param_oc),
            L("Réglages des voies", "Frm_Param_Voies", param_voies),
            L("Mot de passe", "Frm_Psw", simple),
            L("Purger", "Frm_Purger", purger),
            L("Problèmes Liaison", "Frm_Pb_Liaison", vers_accueil),
            L("Options Logicielles", "Frm_Options_Logicielles", vers_accueil),
            L("Réglages Netrove", "Frm_Param_Periph", simple),
        };
    }();
    return lignes;
}

const Ligne* Trouver(const QString& ecran) {
    for (const Ligne& l : Lignes())
        if (l.Noms.Ecran == ecran) return &l;
    return nullptr;
}

QString Forme_A_Decharger(const QString& source) {
    // The purge screen closes only under the two names it leaves with after
    // its question; its link-error path leaves under its plain name and keeps it.
    if (source == QStringLiteral("PurgerOUI") || source == QStringLiteral("PurgerNON")) return QStringLiteral("Frm_Purger");
    if (source == QStringLiteral("Purger")) return {};
    return Forme_Ecran(source);
}

}  // namespace

const std::vector<Ecran_Connu>& Table_Ecrans() {
    static const std::vector<Ecran_Connu> table = [] {
        std::vector<Ecran_Connu> t;
        for (const Ligne& l : Lignes()) t.push_back(l.Noms);
        return t;
    }();
    return table;
}

QString Forme_Ecran(const QString& ecran) {
    const Ligne* l = Trouver(ecran);
    return l ? l->Noms.Forme : QString();
}

QString Ecran_Forme(const QString& forme) {
    for (const Ligne& l : Lignes())
        if (l.Noms.Forme == forme) return l.Noms.Ecran;
    return {};
}

void Liaison_Ecran(const QString& source_appel, const QString& cible_appel, Booleen retour_appel) {
    // The callers pass the shared variables themselves: copy before writing them.
    const QString source = source_appel;
    const QString cible = cible_appel;
    const bool retour = retour_appel == Vrai;

    Ecran_Precedent = source;
    Ecran_Courant = cible;

    Gestion_Formes& formes = Formes();
    // Under the password window the screen that called it stays loaded.
    if (cible != QStringLiteral("Mot de passe")) {
        const QString forme = Forme_A_Decharger(source);
        if (!forme.isEmpty()) formes.Decharger(forme);
    }

    Ecrit_Mouchard(QStringLiteral("Accès écran ") + cible);

    const Ligne* ligne = Trouver(cible);
    if (!ligne) return;
    const Etapes& pas = ligne->Pas;
    const QString& forme = ligne->Noms.Forme;

    if (pas.Precedent_Avant || !pas.Parent_Force.isEmpty())
        Ecran_Precedent = pas.Parent_Force.isEmpty() ? source : pas.Parent_Force;

    formes.Charger(forme);
    if (pas.Arret_Sur_Erreur && Code_Erreur != 0) return;

    // A navigation started by the form's own load (a link error leading to
    // "Problèmes Liaison") may have unloaded it already: showing it again
    // would load a second, unwanted copy over the screen now current.
    if (formes.Est_Chargee(forme)) {
        if (pas.Activer_Avant) formes.Activer(forme);
        formes.Afficher(forme);
        if (pas.Activer) formes.Activer(forme);
        if (pas.Focus) formes.Focus(forme);
    }

    if (pas.Recharge_Apres_Purge && source == QStringLiteral("PurgerOUI")) {
        if (formes.Est_Chargee(forme)) formes.Executer(forme, QStringLiteral("Cmd_OK_Click"));
        return;
    }

    if (!pas.Parent.isEmpty()) Ecran_Precedent = retour ? pas.Parent : source;
}

}  // namespace ostrel
