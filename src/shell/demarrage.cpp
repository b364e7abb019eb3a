#include "shell/demarrage.h"

#include <QDir>
#include <QStringList>
#include <new>

#include "files/options_logiciel.h"
#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/mouchard.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/formes.h"

namespace ostrel {

void Options_Initiales() {
    Police_Options = Police_Defaut;
    Mettre_Couleurs_En_Vigueur(Couleurs_Defaut(Couleur_Face_Bouton));
    Port_Com = 1;
    // Sixteen curve colours (&H00BBGGRR) until the options file gives its own.
    // Each stands out, by a luminance contrast of 2:1 at least, from the default
    // window colour that is the plot's background and from white paper: dark
    // ones and mid-light ones, no pale one, no bright yellow. Any two are told
    // apart at a glance (15 CIEDE2000 units or more).
    static const Couleur courbes[16] = {0x19008C, 0xBE1919, 0x1E4B00, 0x5096F5, 0x000000, 0xFF8CE1, 0x640A78, 0x5AC832,
                                         0x002D5F, 0xFAB450, 0x464146, 0xAA96F0, 0x554B0A, 0x46AFCD, 0x004646, 0xB0B0B0};
    for (int i = 0; i < 16; ++i) Tab_Couleur_Courbe[static_cast<size_t>(i)] = courbes[i];
}

QString Texte_Erreur_Execution(const std::exception& erreur) {
    if (dynamic_cast<const std::bad_alloc*>(&erreur)) return QStringLiteral("Error 7 Out of memory");
    return QStringLiteral("Error 5 ") + QString::fromLocal8Bit(erreur.what());
}

const QStringList& Ordre_Dechargement() {
    static const QStringList ordre = {
        "Ecran_Communication", "Frm_Accueil", "Frm_Enreg", "frm_Journal_Alarme", "Frm_Menu_Config",
        "Frm_Menu_Consultation", "Frm_Menu_Enreg", "Frm_Mesures", "Frm_Options_Logicielles", "Frm_Param_Periph",
        "Frm_Param_OC", "Frm_Param_Voies", "Frm_Pb_Liaison", "Frm_Psw", "Frm_Purger", "Frm_Etalonnage",
        "Frm_Menu1", "Frm_Patientez"};
    return ordre;
}

void Creer_Dossiers_Sauvegardes() {
    for (const QString* dossier : {&Repertoire_Sauvegardes_Donnees, &Repertoire_Sauvegardes_Alarmes,
                                   &Repertoire_Parametrage_Voies, &Repertoire_Parametrage_Modules}) {
        const QString natif = Chemin_Natif(*dossier);
        if (!QDir().mkpath(natif)) Ecrit_Mouchard(QStringLiteral("Le dossier ") + natif + QStringLiteral(" n'a pas pu être créé"));
    }
}

void Fin_Programme() {
    try {
        const Resultat_Fichier r = Sauvegarde_Parametres_Logiciel();
        if (!r) Signaler_Echec_Options(r.Erreur);
    } catch (const std::exception& e) {
        Boites().MsgBox(Texte_Erreur_Execution(e), vbCritical, Nom_Logiciel);
    }
    if (Formes().Est_Chargee(QStringLiteral("Frm_Accueil"))) Formes().Premier_Plan(QStringLiteral("Frm_Accueil"));
    try {
        Ecran_Communication().fermeture_port();
    } catch (const std::exception& e) {
        Boites().MsgBox(Texte_Erreur_Execution(e), vbCritical, Nom_Logiciel);
    }
    Ecrit_Mouchard(QStringLiteral("<---- Fin"));
    for (const QString& forme : Ordre_Dechargement()) {
        try {
            Formes().Decharger(forme);
        } catch (const std::exception& e) {
            Boites().MsgBox(Texte_Erreur_Execution(e), vbCritical, Nom_Logiciel);
        }
    }
    Ferme_Mouchard();
}

}  // namespace ostrel
