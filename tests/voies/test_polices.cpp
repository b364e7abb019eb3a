// The channel settings, module settings and live screens at 1280x1024 in each
// font the options offer on a Debian desktop: every caption reads whole.
#include <QFontDatabase>

#include "banc_voies.h"
#include "commun/textes_coupes.h"
#include "shell/frm_mesures.h"

using namespace ostrel;
using namespace ostrel_test;

namespace {

class Polices : public Banc_Voies {
protected:
    // The screen opened from the one given, its captions checked, then left.
    void Verifier(const QString& depuis, const QString& ecran, const QString& forme) {
        Liaison_Ecran(depuis, ecran, Faux);
        Traiter_Evenements();
        auto* f = registre.Instance(forme);
        ASSERT_NE(f, nullptr) << ecran.toStdString();
        // The live screen after a few sweeps, alarm states shown.
        if (auto* mesures = dynamic_cast<Frm_Mesures_Forme*>(f))
            for (int i = 0; i < 20; ++i) mesures->Tmr_Temps_Reel()->Declencher();
        EXPECT_EQ(Textes_Coupes(f).join('\n').toStdString(), "") << ecran.toStdString();
        Liaison_Ecran(ecran, depuis, Faux);
    }
};

}  // namespace

TEST_F(Polices, AucunTexteCoupeDansLesPolicesProposees) {
    bus.Etat_Demonstration({1}, 16);
    ASSERT_TRUE(Demarrer_Bus());
    Demarrer(vbYes);
    int essayees = 0;
    for (const char* nom : {"DejaVu Sans", "DejaVu Serif", "Liberation Sans", "Liberation Serif"}) {
        if (!QFontDatabase::families().contains(QString::fromLatin1(nom))) continue;
        SCOPED_TRACE(nom);
        ++essayees;
        Police_Options = QString::fromLatin1(nom);
        Num_Module = 1;
        Ecran_Courant = QStringLiteral("Configuration");
        Verifier("Configuration", "Réglages des voies", "Frm_Param_Voies");
        Verifier("Configuration", "Réglages Module", "Frm_Param_OC");
        Ecran_Courant = QStringLiteral("Consultation");
        Verifier("Consultation", "Mesures", "Frm_Mesures");
    }
    if (essayees == 0) GTEST_SKIP() << "none of these fonts is installed";
}
