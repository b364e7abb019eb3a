// Fuzz target: the software options file, as start-up reads it.
//
// Property: the file the program writes back at exit reads back to the same
// options, every one of them (the second reading starts from other values).
#include "commun.h"
#include "files/options_logiciel.h"
#include "link/tableau_bord.h"
#include "link/variables.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

Releve Options_En_Vigueur() {
    Releve r;
    r("Ligne_Reservee_Options", Ligne_Reservee_Options)("Nom_Installation", Nom_Installation)("Mdp_Admin", Mdp_Admin)(
        "Port_Com", Port_Com)("Police_Options", Police_Options);
    r.Liste("Couleurs", Lire_Couleurs_En_Vigueur()).Liste("Tab_Couleur_Courbe", Tab_Couleur_Courbe);
    return r;
}

void Options_De_Depart(int graine) {
    for (QString* t : {&Ligne_Reservee_Options, &Nom_Installation, &Mdp_Admin, &Police_Options})
        *t = QString::number(graine);
    Port_Com = static_cast<Octet>(graine);
    Jeu_Couleurs couleurs;
    couleurs.fill(graine);
    Mettre_Couleurs_En_Vigueur(couleurs);
    Tab_Couleur_Courbe.fill(graine);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    const QByteArray contenu = Entree(donnees, taille).Reste();
    Options_De_Depart(0);
    Lire_Parametres_Logiciel(contenu);
    // Start-up shows the installation name on the dashboard, whence exit writes it.
    Frm_Menu1().Lbl_Info_Client(Nom_Installation);
    const Releve lues = Options_En_Vigueur();

    const QByteArray ecrit = Contenu_Parametres_Logiciel();
    Options_De_Depart(7);
    Lire_Parametres_Logiciel(ecrit);
    VERIFIER_EGAUX(Options_En_Vigueur(), lues);
    return 0;
}
