// Every screen in each font family the font dialog of the options offers, on
// the small and the large screen: no caption and no list entry is cut.
#include <QFontDatabase>
#include <QFontInfo>
#include <QRegularExpression>

#include "banc_ecrans.h"
#include "commun/textes_coupes.h"
#include "link/variables.h"

using namespace ostrel;
using namespace ostrel_test;

// A screen size as the test's name gives it.
void PrintTo(const QSize& taille, std::ostream* sortie) { *sortie << taille.width() << 'x' << taille.height(); }

namespace {

// The families the font dialog lists (the installed ones, less those kept
// for the system's own use), one for each face they draw: the copies of a
// family by two foundries ("Nimbus Sans [urw]"), or a name that stands for
// another ("Sans Serif"), draw the same letters.
QStringList Familles_Proposees() {
    QStringList familles, faces;
    for (const QString& f : QFontDatabase::families()) {
        const QString face = QFontInfo(QFont(f)).family().remove(QRegularExpression(QStringLiteral(" \\[.*\\]$")));
        if (QFontDatabase::isPrivateFamily(f) || faces.contains(face)) continue;
        faces << face;
        familles << f;
    }
    return familles;
}

// One screen size a test, so that the two sizes run side by side.
class Polices_Ecrans : public Banc_Ecrans, public ::testing::WithParamInterface<QSize> {};

}  // namespace

TEST_P(Polices_Ecrans, TextesEntiersDansChaquePoliceProposee) {
    const QStringList familles = Familles_Proposees();
    ASSERT_FALSE(familles.isEmpty());
    Demarrer(GetParam());
    for (const QString& famille : familles) {
        SCOPED_TRACE(famille.toStdString());
        Police_Options = famille;
        Appliquer_Options();
        Parcourir([](const QString& ecran, Forme* f) {
            EXPECT_EQ(Textes_Coupes(f).join('\n').toStdString(), "") << ecran.toStdString();
        });
    }
}

INSTANTIATE_TEST_SUITE_P(Tailles, Polices_Ecrans, ::testing::Values(QSize(1024, 768), QSize(1280, 1024)),
                         [](const ::testing::TestParamInfo<QSize>& t) {
                             return std::to_string(t.param.width()) + "x" + std::to_string(t.param.height());
                         });
