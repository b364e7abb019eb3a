#include "tools/form1.h"

#include <QGroupBox>
#include <QPushButton>

#include "files/messages_fichiers.h"
#include "files/texte_fichier.h"
#include "platform/chemins.h"
#include "tools/conversion.h"
#include "tools/images_outils.h"

namespace ostrel {

Form1::Form1()
    : Fenetre_Outil(QStringLiteral("Form1"), QStringLiteral("Conversion vX.00"),
                    QStringLiteral("Cette utilitaire permet de récupérer les données de la premiere version du "
                                   "logiciel Ostrelclim"),
                    Image_Conversion()) {}

void Form1::Cmd_Démarrage_Click() {
    Travail travail(*this);
    Effacer_Dates_Mesures();
    if (Fichier_Entree(QStringLiteral("Ouverture d'un ANCIEN fichier d'enregistrements de température")).isEmpty())
        return;
    Fin_Travail();
    Lecture_Ancien_Fichier();
}

void Form1::Lecture_Ancien_Fichier() { Importer_Enregistrements(CmnDial_Ouvrir.FileName); }

void Form1::Importer_Enregistrements(const QString& NomFichier) {
    Travail travail(*this);
    Caption_Frame(QStringLiteral("Lecture de l'ancien fichier en cours ..."));
    NB_Voie = 0;
    nb_lus_ = 0;
    auto incorrect = [this](const Resultat_Fichier& lecture = {}) {
        Message(Texte_Lecture_Refusee(Texte_Fichier_Incorrect, lecture,
                                      QStringLiteral("un ancien fichier d'enregistrements")));
        Cmd_Démarrage->setEnabled(true);
        Caption_Frame(QStringLiteral("..."));
        Afficher_Frame(false);
    };
    QByteArray contenu;
    const Resultat_Fichier lecture = Lire_Fichier(Chemin_Natif(NomFichier), contenu, Taille_Max_Ancien_Fichier);
    if (!lecture) return incorrect(lecture);
    Lecteur_Texte lecteur(contenu);
    if (!Lire_Tete_Ancien_Fichier(lecteur, NB_Voie)) return incorrect();

    Cmd_Démarrage->setEnabled(false);
    Debut_Progression(Tab_Parametres_Voies[0].Nb_Enregistrements, contenu);
    contenu = QByteArray();  // the reader holds the content
    const std::optional<Long> lus = Lire_Points_Ancien_Fichier(lecteur, [this](Long i) { Progression(i); });
    if (!lus) return incorrect();
    nb_lus_ = *lus;
    Conversion_Donnees();
    Choix_Fichier_Conversion();
}

void Form1::Conversion_Donnees() {
    Caption_Frame(QStringLiteral("Conversion des données en cours ..."));
    Debut_Progression(NB_Voie, 1);
    Regrouper_Mesures(nb_lus_, NB_Voie, [this](Octet voie) { Progression(voie); });
    Afficher_Frame(false);
}

void Form1::Choix_Fichier_Conversion() {
    const QString nom = Fichier_Sortie(CmnDial_Ouvrir.FileName.chopped(4) + QStringLiteral("_N"));
    if (nom.isEmpty()) return Fin_Travail();
    if (Exporter_Enregistrements(nom, 1, NB_Voie)) Message(Texte_Sauvegarde_Terminee);
    Fin_Travail();
}

Resultat_Fichier Form1::Exporter_Enregistrements(const QString& NomFichier, Octet Adr_OC, Octet NB_Voie) {
    Travail travail(*this);
    Caption_Frame(QStringLiteral("Ecriture du nouveau fichier en cours ..."));
    // Over the points the new file carries, as its count line says.
    Debut_Progression(NB_Voie > 0 && Index_Fin_Voie.size() >= NB_Voie ? Index_Fin_Voie[NB_Voie - 1u] : 0, 1);
    Resultat_Fichier resultat;
    Sauvegarde_Progressive sauvegarde(Chemin_Natif(NomFichier));
    const auto sur_point = [this](Long p) { Progression(p); };
    if (Ecrire_Nouveau_Fichier(Adr_OC, NB_Voie, sauvegarde.Sortie(), &resultat.Erreur, sur_point))
        resultat = sauvegarde.Terminer();
    if (!resultat) Signaler_Echec_Sauvegarde(NomFichier, resultat);
    Fin_Travail();
    return resultat;
}

}  // namespace ostrel
