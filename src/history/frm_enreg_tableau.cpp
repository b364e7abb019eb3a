// The viewer's numeric table of a channel, the period search, the save of
// the recordings shown and the offer to purge the module that follows.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "files/enregistrements.h"
#include "history/donnees_enreg.h"
#include "history/frm_enreg.h"
#include "history/graphe_enreg.h"
#include "history/liste_numerique.h"
#include "history/partage_enregistrements.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/ui/curseur_attente.h"

namespace ostrel {

void Frm_Enreg_Forme::Chk_Tableau_Click() {
    Curseur_Attente attente;
    CWGraph_Enreg->Graduations_Temps(Chk_Tableau->isChecked() ? 3 : 6, 4);
    Placer_Graphe();
    repaint();
    List_Numerique->clear();
    for (int i = 0; i < Nb_Voies_Enreg; ++i)
        if (Voie_Cochee(i)) Remplit_Tableau_Numerique(i);
}

void Frm_Enreg_Forme::Remplit_Tableau_Numerique(int n) {
    Curseur_Attente attente;
    List_Numerique->clear();
    if (n < 0 || n > 15) return;
    const QString nom = n < static_cast<int>(Check_Voie.size()) ? Check_Voie[static_cast<size_t>(n)]->text()
                                                                : QStringLiteral("Voie n°") + QString::number(n + 1);
    const QStringList tete = Tete_Tableau_Numerique(nom, Tab_Parametres_Voies[static_cast<size_t>(n)]);
    Date d1 = 0, d2 = 0;
    if (!Periode(d1, d2)) {
        List_Numerique->Remplir(tete, {});
        Boites().MsgBox(QStringLiteral("Saisie incorrect"), vbExclamation);
        return;
    }
    const Tranche_Mesures t = Tranche_Voie(n);
    bool trop = false;
    std::vector<Mesure_Enreg> points;
    for (Long k = t.Debut; k < t.Fin; ++k) {
        const Mesure_Enreg& point = Tab_Mesures[k];
        if (point.Date_Heure < d1 || point.Date_Heure > d2) continue;
        if (tete.size() + static_cast<qsizetype>(points.size()) >= Lignes_Max_Liste) {
            trop = true;
            break;
        }
        Mesure_Enreg& ligne = points.emplace_back();
        ligne.Date_Heure = point.Date_Heure;
        ligne.Valeur = point.Valeur;
        ligne.Alarme = point.Alarme;
    }
    List_Numerique->Remplir(tete, std::move(points));
    if (trop)
        Boites().MsgBox(QStringLiteral("Il y a trop de donnée pour le chargement du tableau, faire un ZOOM de la courbe !"),
                        vbOKOnly);
}

Long Frm_Enreg_Forme::Index_Debut_Periode(int n) const {
    Date d1 = 0, d2 = 0;
    return Periode(d1, d2) ? ostrel::Index_Debut_Periode(n, d1) : 0;
}

Long Frm_Enreg_Forme::Index_Fin_Periode(int n) const {
    Date d1 = 0, d2 = 0;
    return Periode(d1, d2) ? ostrel::Index_Fin_Periode(n, d2) : 0;
}

void Frm_Enreg_Forme::Cmd_Sauvegarder_Click() {
    Dialogue_Fichier dialogue;
    dialogue.DialogTitle = QStringLiteral("Sauvegarde des enregistrements");
    dialogue.FileName = QStringLiteral("Nom du fichier");
    dialogue.DefaultExt = QStringLiteral(".txt");
    dialogue.InitDir = Repertoire_Sauvegardes_Donnees;
    dialogue.Filter = QStringLiteral("(*.txt)|*.txt");
    dialogue.Confirmer_Ecrasement = true;
    if (!Boites().ShowSave(dialogue) || !dialogue.FileName.endsWith(QLatin1String(".txt"))) return;
    Frm_Menu1().Premier_Plan();
    const Resultat_Fichier resultat = Sauvegarde_Fichier_Donnees(Chemin_Natif(dialogue.FileName), Num_Module, Nb_Voies_Enreg);
    // A save that failed has been reported: the recordings are not saved, and
    // the module's memory is not offered for erasing.
    if (resultat) {
        Donnees_Fichier = Vrai;
        if (Lecture_Tous_Enreg != Faux) Propose_Purge_Module();
    }
    Premier_Plan();
}

void Frm_Enreg_Forme::Propose_Purge_Module() {
    if (Boites().MsgBox(QStringLiteral("Voulez vous purger les enregistrements du module ?"), vbYesNo) != vbYes) return;
    Tableau_Bord& tableau = Frm_Menu1();
    tableau.Affiche_Progress_Bar(true);
    tableau.Caption_Pb(QStringLiteral("Effacement Module ") + QString::number(Num_Module) + QStringLiteral(" (~1min) ..."));
    Purge_Enregistrements(Num_Module);
    if (Code_Erreur != 0)
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
    else
        tableau.Affiche_Progress_Bar(false);
}

}  // namespace ostrel
