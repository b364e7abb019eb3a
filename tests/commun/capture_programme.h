#pragma once
// The program as the picture tools show it: started offscreen with every
// screen, on a temporary drive c: and, when the tool fills one, the simulated
// bus. Message boxes take their first button (the connection question as
// told) and are listed on the standard error.
#include <QApplication>
#include <cstdio>

#include "commun/capture.h"
#include "commun/programme_essai.h"
#include "config/formes_configuration.h"
#include "history/formes_historique.h"
#include "options/formes_options.h"

namespace ostrel_test {

class Boites_Capture : public Boites_Programme {
public:
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        std::fprintf(stderr, "boîte : %s\n", qPrintable(texte));
        return Boites_Programme::MsgBox(texte, style, titre);
    }
};

// The application, made before anything of the program.
class Application_Capture {
protected:
    Application_Capture(int& argc, char** argv) : application_(argc, argv) { ostrel::Configurer_Application(); }
    QApplication application_;
};

template <class Boites = Boites_Capture>
class Capture_Programme : private Application_Capture, public Programme_Essai<Boites> {
    using Programme = Programme_Essai<Boites>;

public:
    using Programme::boites;
    using Programme::Demarrer_Tableau;
    using Programme::Installer;
    using Programme::Tableau;
    // On a temporary drive c:, or on the environment's drive and ports.
    Capture_Programme(int& argc, char** argv, bool disque_temporaire = true)
        : Application_Capture(argc, argv), Programme(disque_temporaire) {
        Installer({ostrel::Enregistrer_Formes_Historique, ostrel::Enregistrer_Formes_Configuration,
                   ostrel::Enregistrer_Formes_Options});
        // A picture of the program as it runs: its timers tick.
        ostrel::Minuterie::Ticks_A_La_Main(false);
    }
    ~Capture_Programme() { Programme::Arreter(); }

    // The dashboard at this size, its start-up done.
    ostrel::Frm_Menu1_Forme* Demarrer(int largeur, int hauteur) {
        return Demarrer_Tableau(boites.reponse_connexion, QSize(largeur, hauteur));
    }

    // The dashboard's picture, with whatever screen it shows.
    bool Photo(const QString& chemin) { return Tableau() && Enregistrer_Image(Tableau(), chemin); }
};

}  // namespace ostrel_test
