#include "tools/frm_export.h"

#include <QPushButton>

#include "files/enregistrements.h"
#include "files/messages_fichiers.h"
#include "files/texte_fichier.h"
#include "platform/chemins.h"
#include "tools/exportation.h"
#include "tools/images_outils.h"

namespace ostrel {

Frm_Export::Frm_Export()
    : Fenetre_Outil(QStringLiteral("Frm_Export"), QStringLiteral("OstrelSoft Exportation V1.00"),
                    QStringLiteral("Cette utilitaire permet d'exporter les données sauvegarder par OstrelSoft avec "
                                   "un format standard pour tableur"),
                    Image_Exportation()) {}

void Frm_Export::Cmd_Démarrage_Click() {
    Travail travail(*this);
    Adr_OC = 1;
    const QString nom = Fichier_Entree(QStringLiteral("Ouverture d'un  fichier d'enregistrements de température"));
    if (nom.isEmpty()) return;
    Fin_Travail();
    Importer_Enregistrements(nom);
}

void Frm_Export::Importer_Enregistrements(const QString& NomFichier) {
    Travail travail(*this);
    NB_Voie = 0;
    auto incorrect = [this](const Resultat_Fichier& lecture = {}) {
        Message(Texte_Lecture_Refusee(Texte_Fichier_Incorrect, lecture, Nature_Fichier_Enregistrements));
        Fin_Travail();
    };
    QByteArray contenu;
    const Resultat_Fichier lecture = Lire_Fichier(Chemin_Natif(NomFichier), contenu, Taille_Max_Fichier_Enregistrements);
    if (!lecture) return incorrect(lecture);
    Lecteur_Texte lecteur(contenu);
    if (!Lire_Tete_Export(lecteur, Adr_OC, NB_Voie)) return incorrect();

    Cmd_Démarrage->setEnabled(false);
    Debut_Progression(Donnees_Module[static_cast<size_t>(Adr_OC - 1)].Nb_Enregistrements, contenu);
    contenu = QByteArray();  // the reader holds the content
    if (!Lire_Points_Export(lecteur, Adr_OC, NB_Voie, [this](Long lus) { Progression(lus); })) return incorrect();
    Choix_Fichier_Export();
}

void Frm_Export::Choix_Fichier_Export() {
    const QString nom = Fichier_Sortie(CmnDial_Ouvrir.FileName.chopped(4) + QStringLiteral("_Export"));
    if (nom.isEmpty()) return Fin_Travail();
    if (Exporter_Enregistrements(nom, 1, NB_Voie)) Message(Texte_Sauvegarde_Terminee);
    Fin_Travail();
}

Resultat_Fichier Frm_Export::Exporter_Enregistrements(const QString& NomFichier, Octet Adr_OC, Octet NB_Voie) {
    Travail travail(*this);
    Caption_Frame(QStringLiteral("Ecriture du nouveau fichier en cours ..."));
    const Long points = NB_Voie > 0 && Index_Fin_Voie.size() >= NB_Voie ? Index_Fin_Voie[NB_Voie - 1u] : 0;
    Debut_Progression(Donnees_Module[static_cast<size_t>(std::clamp<int>(Adr_OC, 1, 32) - 1)].Nb_Enregistrements, points);
    Sauvegarde_Progressive sauvegarde(Chemin_Natif(NomFichier));
    Ecrire_Export(Adr_OC, NB_Voie, sauvegarde.Sortie(), [this](Long p) { Progression(p); });
    const Resultat_Fichier resultat = sauvegarde.Terminer();
    if (!resultat) Signaler_Echec_Sauvegarde(NomFichier, resultat);
    Fin_Travail();
    return resultat;
}

}  // namespace ostrel
