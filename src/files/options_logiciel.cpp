#include "files/options_logiciel.h"

#include <QDir>
#include <QFileInfo>

#include "files/texte_fichier.h"
#include "link/donnees.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/formats.h"

namespace ostrel {

QString Ligne_Reservee_Options;

std::array<Couleur*, 9> Couleurs_En_Vigueur() {
    return {&Couleur_Police, &Couleur_Police_Modules, &Couleur_Fenetre, &Couleur_Fenetre_2, &Couleur_Fenetre_3,
            &Couleur_Cadre, &Couleur_Cadre_Bandeau, &Couleur_Fond_Bandeau, &Couleur_Police_Bandeau};
}

Jeu_Couleurs Lire_Couleurs_En_Vigueur() {
    Jeu_Couleurs c{};
    const auto en_vigueur = Couleurs_En_Vigueur();
    for (size_t i = 0; i < c.size(); ++i) c[i] = *en_vigueur[i];
    return c;
}

void Mettre_Couleurs_En_Vigueur(const Jeu_Couleurs& couleurs) {
    const auto en_vigueur = Couleurs_En_Vigueur();
    for (size_t i = 0; i < couleurs.size(); ++i) *en_vigueur[i] = couleurs[i];
}

Jeu_Couleurs Couleurs_Defaut(Couleur face_bouton) {
    return {0xFFFFFF, 0xFFFFFF, 0x808000, 0, 0, 0xDDDDDD, face_bouton, face_bouton, 0};
}

namespace {

const QString Titre_Nom_Installation = QStringLiteral("************ Nom de l'installation ******************");
const QString Titre_Port = QStringLiteral("********* Sauvegarde du port de communication ************");
const QString Titre_Couleurs = QStringLiteral("********* Sauvegarde des couleurs variables et de la police");

void Lire_Couleur(Lecteur_Texte& lecteur, Couleur& cible) {
    QString ligne;
    if (!lecteur.Lire_Ligne(ligne)) return;
    if (const auto v = Convertir_Long(ligne)) cible = *v;
}

void Lire_Texte(Lecteur_Texte& lecteur, QString& cible) {
    QString ligne;
    if (lecteur.Lire_Ligne(ligne)) cible = ligne;
}

void Passer(Lecteur_Texte& lecteur) {
    QString ligne;
    lecteur.Lire_Ligne(ligne);
}

}  // namespace

void Chargement_Parametres_Logiciel() {
    const QString chemin = Chemin_Fichier_Version;
    if (chemin.isEmpty()) return;
    const QString natif = Chemin_Natif(chemin);
    if (!Fichier_Existe(natif)) {
        if (!QFileInfo(natif).isDir())
            Boites().MsgBox(QStringLiteral("Un fichier est manquant, réinstaller l'application !"));
        return;
    }
    QByteArray contenu;
    if (Lire_Fichier(natif, contenu, Taille_Max_Options)) Lire_Parametres_Logiciel(contenu);
}

void Lire_Parametres_Logiciel(const QByteArray& contenu) {
    Lecteur_Texte lecteur(contenu);
    Lire_Texte(lecteur, Ligne_Reservee_Options);
    Passer(lecteur);  // "1"
    Passer(lecteur);  // title
    Lire_Texte(lecteur, Nom_Installation);
    Lire_Texte(lecteur, Mdp_Admin);
    Passer(lecteur);  // title
    QString ligne;
    if (lecteur.Lire_Ligne(ligne))
        if (const auto port = Convertir_Octet(ligne)) Port_Com = *port;
    Passer(lecteur);  // title
    Lire_Texte(lecteur, Police_Options);
    for (Couleur* c : Couleurs_En_Vigueur()) Lire_Couleur(lecteur, *c);
    Passer(lecteur);  // title
    for (Couleur& c : Tab_Couleur_Courbe) Lire_Couleur(lecteur, c);
}

QByteArray Contenu_Parametres_Logiciel() {
    Ecrivain_Texte e;
    e.Ligne(Ligne_Reservee_Options);
    e.Ligne(QStringLiteral("1"));
    e.Ligne(Titre_Nom_Installation);
    e.Ligne(Frm_Menu1().Lbl_Info_Client());
    e.Ligne(Mdp_Admin);
    e.Ligne(Titre_Port);
    e.Direct(Port_Com);
    e.Ligne(Titre_Couleurs);
    e.Ligne(Police_Options);
    for (Couleur* c : Couleurs_En_Vigueur()) e.Direct(*c);
    e.Ligne(Titre_Couleurs);
    for (Couleur c : Tab_Couleur_Courbe) e.Direct(c);
    return e.Contenu();
}

Resultat_Fichier Sauvegarde_Parametres_Logiciel() {
    const QString natif = Chemin_Natif(Chemin_Fichier_Version);
    // The application folder of a first run may not exist yet.
    if (!natif.isEmpty()) QDir().mkpath(QFileInfo(natif).absolutePath());
    Resultat_Fichier resultat = Sauvegarde_Sure(natif, Contenu_Parametres_Logiciel());
    Init_Mouchard();
    return resultat;
}

void Signaler_Echec_Options(const QString& erreur) {
    Boites().MsgBox(QStringLiteral("Les options logicielles n'ont pas pu être enregistrées dans ") +
                        Chemin_Natif(Chemin_Fichier_Version) + QStringLiteral(" : ") + erreur,
                    vbExclamation);
}

void Recherche_Parametres_Logiciel() {
    Chargement_Parametres_Logiciel();
    if (Ligne_Reservee_Options.isEmpty()) {
        Chemin_Fichier_Version = QStringLiteral("c:\\") + QStringLiteral("OstrelSoft") + QStringLiteral("\\ver.dva");
        Chargement_Parametres_Logiciel();
    }
    if (Ligne_Reservee_Options.isEmpty()) {
        Chemin_Fichier_Version = QStringLiteral("c:\\") + QStringLiteral("OstrelSoft+") + QStringLiteral("\\ver.dva");
        Chargement_Parametres_Logiciel();
    }
}

}  // namespace ostrel
