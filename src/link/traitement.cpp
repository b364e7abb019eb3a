#include "link/traitement.h"

#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/formes.h"

namespace ostrel {
namespace {

void Copier_Parametres_Voie(const Parametres_Voie& source, Parametres_Voie& cible) {
    cible.Periode_Enreg = source.Periode_Enreg;
    // The module always receives the smaller threshold as its low one.
    if (source.Seuil_Bas < source.Seuil_Haut) {
        cible.Seuil_Haut = source.Seuil_Haut;
        cible.Seuil_Bas = source.Seuil_Bas;
    } else {
        cible.Seuil_Haut = source.Seuil_Bas;
        cible.Seuil_Bas = source.Seuil_Haut;
    }
    cible.Echelle_4mA = source.Echelle_4mA;
    cible.Echelle_20mA = source.Echelle_20mA;
    cible.Tempo_Alarme = source.Tempo_Alarme;
    cible.Voie_Valide = source.Voie_Valide;
    cible.Alarme_Valide = source.Alarme_Valide;
    cible.Role_ETOR_Inhib = source.Role_ETOR_Inhib;
    cible.Nature_Capteur = source.Nature_Capteur;
    cible.Contact_NF = source.Contact_NF;
    cible.Inhib_Alarme_ETOR = source.Inhib_Alarme_ETOR;
    cible.Inhib_Enreg_ETOR = source.Inhib_Enreg_ETOR;
    cible.Relais_2 = source.Relais_2;
    cible.Num_ETOR_Inhib = source.Num_ETOR_Inhib;
    cible.Unite = source.Unite;
    cible.Buzzer = source.Buzzer;
    cible.Num_Planning_Inhib = source.Num_Planning_Inhib;
}

const QString Problemes_Liaison = QStringLiteral("Problèmes Liaison");

void Vers_Problemes_Liaison() { Liaison_Ecran(Ecran_Courant, Problemes_Liaison, Faux); }

}  // namespace

void RAZ_Affichage_Modules() {
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Couleur_Texte_Lbl_OC(Couleur_Police_Modules);
    Octet aucun = 0;
    tableau.Init_Label_OC(aucun);
    tableau.Lbl_Informations(QString());
    tableau.Lbl_Etat_Memoire(QString());
    tableau.Fond_Lbl_Alarme(Couleur_Fond_Bandeau);
}

void Telechargement_Parametrage_Voies() {
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Caption_Pb(QString());
    tableau.Affiche_Progress_Bar(true);
    tableau.Rafraichir();
    Ecrit_Mouchard(QStringLiteral("Téléchargement paramétrage voies module ") + Texte_Entier(Num_Module));

    Lecture_Etat_Module(Num_Module);
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    const Octet n = Nb_Voies_Selon_Etat(Donnees_Reponse.Etat_Module);
    Nb_Voies_Module[Num_Module - 1] = n;

    Commande_Mode_Fonctionnement(Num_Module, Entier(0));
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();

    for (Octet v = 1; v <= n; ++v) {
        Progression((v - 1) * 100.0 / n);
        tableau.Caption_Pb(QStringLiteral("Paramètres de la Voie n°") + Texte_Entier(v));
        Copier_Parametres_Voie(Tab_Parametres_Voies[v - 1], Donnees_Reponse);
        Ecriture_Parametres_Voie(Num_Module, v);
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();

        Progression((v - 1 + 1.0 / 3.0) * 100.0 / n);
        tableau.Caption_Pb(QStringLiteral("Nom de la Voie n°") + Texte_Entier(v));
        QString& nom = Tab_Parametres_Voies[v - 1].Nom_Voie;
        if (nom.isEmpty()) nom = QStringLiteral("Voie ") + Texte_Entier(v);
        Donnees_Reponse.Nom_Voie = nom;
        Ecriture_Nom_Voie(Num_Module, v);
        if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    }

    Commande_Mode_Fonctionnement(Num_Module, Entier(255));
    if (Code_Erreur != 0) return Vers_Problemes_Liaison();
    Progression(100);
    tableau.Caption_Pb(QStringLiteral("Téléchargement terminé, effacement Module (~1min)"));
}

QString Complete_Zeros(QString& s) {
    while (s.size() < 4) s.prepend(QLatin1Char('0'));
    return s;
}

QString Lecture_Code_Acces_Texte(Octet& module, Octet& index) {
    if (index < 1 || index > 4) index = 1;
    Lecture_Code_Acces(module, index);
    if (Code_Erreur == 0) return Complete_Zeros(Texte_Entier(Code_Acces));

    Boites().MsgBox(QStringLiteral("Le Module d'adresse ") + Texte_Entier(module) + QStringLiteral(" est introuvable"));
    // The screen that asked comes back in front of the box it was hidden by;
    // no other screen is loaded behind the operator's back.
    const QString forme = Forme_Ecran(Ecran_Courant);
    if (!forme.isEmpty() && Formes().Est_Chargee(forme)) {
        Formes().Premier_Plan(forme);
        Formes().Rafraichir(forme);
    }
    return QString();
}

Octet Recherche_Niveau_Acces(Octet& module, const QString& code) {
    Octet niveau = 0;
    for (Octet i = 1; i <= 4; ++i) {
        Octet index = i;
        const QString texte = Lecture_Code_Acces_Texte(module, index);
        if (code.size() == 4 && code == texte) niveau = i;
        if (Code_Erreur != 0) break;  // one box per search; nothing more is asked of a silent module
    }
    return niveau;
}

bool Erreur_Vers_Problemes_Liaison() {
    if (Code_Erreur == 0) return false;
    if (Ecran_Courant != Problemes_Liaison) Vers_Problemes_Liaison();
    return true;
}

}  // namespace ostrel
