#include "shell/demarrage.h"

#include <QDir>
#include <QStringList>
#include <new>

#include "files/options_logiciel.h"
#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/formes.h"
#include "link/mouchard.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"

namespace ostrel {

void Options_Initiales() {
    Police_Options = Police_Defaut;
    Mettre_Couleurs_En_Vigueur(Couleurs_Defaut(Couleur_Face_Bouton));
    Port_Com = 1;
    // Sixteen curve colours (&H00BBGGRR) until the options file gives its own:
    // far apart from one another, and from the default window colour that is
    // the plot's background, and none white, which would vanish on paper.
    static const Couleur courbes[16] = {0x0000FF, 0xFF0000, 0x00FFFF, 0x000000, 0xFF00FF, 0x00FF00,
                                         0x00A0FF, 0x600000, 0xA0A0FF, 0x006060, 0xFFA000, 0x000060,
                                         0xA0FFA0, 0x6000A0, 0xFFA0FF, 0xFF6000};
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

void Signaler_Echec_Options(const QString& erreur) {
    Boites().MsgBox(QStringLiteral("Les options logicielles n'ont pas pu être enregistrées dans ") +
                        Chemin_Natif(Chemin_Fichier_Version) + QStringLiteral(" : ") + erreur,
                    vbExclamation);
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
