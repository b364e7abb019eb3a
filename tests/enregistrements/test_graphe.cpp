// The recordings graph on its own: the reduction per pixel column, the
// visible range, cursors, rescaling, refused ranges and the operator's zoom.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <random>

#include "commun/application_test.h"
#include "history/graphe_enreg.h"

using namespace ostrel;

namespace {

struct Avec_Application {
    Avec_Application() { ostrel_test::Application(); }
};

class Graphe : public ::testing::Test, private Avec_Application {
protected:
    void SetUp() override { g.resize(1000, 600); }
    Graphe_Enreg g;
};

TEST(Reduction, AuPlusQuatreSommetsParColonneEtLaMemeEnveloppe) {
    std::mt19937 alea(7);
    std::uniform_real_distribution<float> valeur(-40, 60);
    std::vector<double> x;
    std::vector<float> y;
    for (int i = 0; i < 100000; ++i) {
        x.push_back(i / 1000.0);
        y.push_back(i == 51234 ? 3276.7f : valeur(alea));
    }
    Projection_Graphe p;
    p.x0 = 0;
    p.ex = 5;  // 200 points per pixel column, 500 columns
    p.gauche = 10;
    p.y0 = -50;
    p.ey = 2;
    p.bas = 400;
    QPolygonF s;
    Reduire_Par_Colonne(x, y, 0, x.size(), p, s);
    EXPECT_LE(s.size(), 4 * 500);
    // Every column keeps its extremes: the spike of one point included.
    for (int colonne : {0, 17, 256, 499}) {
        float mini = 1e9f, maxi = -1e9f;
        for (size_t i = 0; i < x.size(); ++i)
            if (static_cast<int>(std::floor(p.X(x[i]))) == 10 + colonne) mini = std::min(mini, y[i]), maxi = std::max(maxi, y[i]);
        double haut = 1e9, bas = -1e9;
        for (const QPointF& q : s)
            if (static_cast<int>(std::floor(q.x())) == 10 + colonne) haut = std::min(haut, q.y()), bas = std::max(bas, q.y());
        EXPECT_DOUBLE_EQ(haut, p.Y(maxi)) << colonne;
        EXPECT_DOUBLE_EQ(bas, p.Y(mini)) << colonne;
    }
    EXPECT_LT(std::min_element(s.begin(), s.end(), [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); })->y(),
              p.Y(100));
    // First and last points are where the line starts and ends.
    EXPECT_DOUBLE_EQ(s.front().y(), p.Y(y.front()));
    EXPECT_DOUBLE_EQ(s.back().y(), p.Y(y.back()));

    // Few points: all of them, in order.
    Reduire_Par_Colonne(x, y, 10, 13, Projection_Graphe{0, 1000, 0, -50, 2, 400}, s);
    ASSERT_EQ(s.size(), 3);
    EXPECT_DOUBLE_EQ(s[1].x(), 11);
    // Nothing, or bounds beyond the data.
    Reduire_Par_Colonne(x, y, 5, 5, p, s);
    EXPECT_TRUE(s.isEmpty());
    Reduire_Par_Colonne(x, y, 99990, 200000, p, s);
    EXPECT_FALSE(s.isEmpty());
}

TEST_F(Graphe, SeulsLesPointsDeLaPlageSontDessines) {
    for (int i = 0; i < 516098; ++i) g.Ajouter_Point(1, 1000 + i / 1440.0, std::sin(i / 500.0) * 20);
    EXPECT_EQ(g.Nb_Points(1), 516098);
    g.Definir_Plage(1, 1000, 1000 + 516098 / 1440.0);
    const double largeur = g.Zone_Trace().width();
    QPolygonF tout = g.Polyligne(1);
    EXPECT_LE(tout.size(), 4 * (largeur + 2));
    // An hour in the middle: its 61 points (both ends) and the one on each side, no more.
    g.Definir_Plage(1, 1100, 1100 + 1.0 / 24);
    QPolygonF heure = g.Polyligne(1);
    EXPECT_EQ(heure.size(), 63);
    // The lines leaving the area stop at its edges.
    EXPECT_NEAR(heure.front().x(), g.Zone_Trace().left() - 2, 1e-6);
    EXPECT_NEAR(heure.back().x(), g.Zone_Trace().right() + 2, 1.5);
    // Painting takes as many vertices as the reduction gives.
    g.Definir_Plage(1, 1000, 1000 + 516098 / 1440.0);
    const QImage image = g.grab().toImage();
    EXPECT_FALSE(image.isNull());
    EXPECT_LE(g.Sommets_Dessines(), 4 * (largeur + 2));
    EXPECT_GT(g.Sommets_Dessines(), largeur);
}

// A printed page is drawn at twice the screen's resolution: the curve of an
// unsteady probe over a full memory's channel still reaches each column's
// extremes, and a line is two device pixels thick (bench_impression times
// the drawing).
TEST_F(Graphe, PageAuDoubleDeLEcranChaqueColonneAtteintSesExtremes) {
    std::mt19937 alea(3);
    std::uniform_real_distribution<double> bruit(-50, 50);
    const int n = 32256;
    for (int i = 0; i < n; ++i) g.Ajouter_Point(1, i / 1440.0, 40 + bruit(alea));
    g.Ajouter_Point(2, 0, 120);
    g.Ajouter_Point(2, n / 1440.0, 120);
    g.Couleur_Ligne(1, 0x0000FF);
    g.Couleur_Ligne(2, 0xFF0000);
    g.Couleur_Zone_Trace(0xFFFFFF);
    g.Definir_Plage(1, 0, (n - 1) / 1440.0);
    g.Definir_Plage(2, -50, 150);
    QImage page(g.size() * 2, QImage::Format_RGB32);
    page.setDevicePixelRatio(2);
    {
        QPainter p(&page);
        g.render(&p);
    }

    const QPolygonF s = g.Polyligne(1);
    const QRectF z = g.Zone_Trace();
    for (int c = static_cast<int>(z.left()) + 5; c < z.right() - 5; c += 37) {
        double haut = 1e9, bas = -1e9;
        for (const QPointF& q : s)
            if (static_cast<int>(std::floor(q.x())) == c) haut = std::min(haut, q.y()), bas = std::max(bas, q.y());
        int rouge_haut = page.height(), rouge_bas = -1;
        for (int x = 2 * c - 1; x <= 2 * c + 2; ++x)
            for (int y = 0; y < page.height(); ++y)
                if (page.pixelColor(x, y) == QColor(255, 0, 0)) rouge_haut = std::min(rouge_haut, y), rouge_bas = std::max(rouge_bas, y);
        EXPECT_LE(rouge_haut, 2 * haut + 1.5) << c;
        EXPECT_GE(rouge_bas, 2 * bas - 1.5) << c;
    }
    int epaisseur = 0;
    for (int y = 0; y < page.height(); ++y) epaisseur += page.pixelColor(page.width() / 2, y) == QColor(0, 0, 255);
    EXPECT_EQ(epaisseur, 2);
}

TEST_F(Graphe, DatesQuiReculentToujoursDessinees) {
    for (double x : {5.0, 3.0, 4.0, 1.0}) g.Ajouter_Point(2, x, x);
    g.Definir_Plage(1, 0, 10);
    EXPECT_EQ(g.Polyligne(2).size(), 4);
    g.Curseur_X(2, 3.2);
    EXPECT_EQ(g.Curseur_Index(2), 1);
    EXPECT_DOUBLE_EQ(g.Curseur_Y(2), 3);
}

TEST_F(Graphe, CurseursSuiventLesPointsDeLeurTrace) {
    for (int i = 0; i < 10; ++i) g.Ajouter_Point(3, 100 + i, 10 * i);
    g.Curseur_Visible(3, true);
    g.Placer_Curseur(3, 104.4, 0);
    EXPECT_EQ(g.Curseur_Index(3), 4);
    EXPECT_DOUBLE_EQ(g.Curseur_X(3), 104);
    EXPECT_DOUBLE_EQ(g.Curseur_Y(3), 40);
    g.Curseur_X(3, 104.6);
    EXPECT_EQ(g.Curseur_Index(3), 5);
    // Stepping stays within the points.
    g.Curseur_Index(3, 12);
    EXPECT_EQ(g.Curseur_Index(3), 9);
    g.Curseur_Index(3, -1);
    EXPECT_EQ(g.Curseur_Index(3), 0);
    EXPECT_DOUBLE_EQ(g.Curseur_X(3), 100);
    // A cursor without points stays where it is put.
    g.Placer_Curseur(4, 50.5, 7);
    EXPECT_DOUBLE_EQ(g.Curseur_X(4), 50.5);
    EXPECT_DOUBLE_EQ(g.Curseur_Y(4), 7);
    g.Curseur_Index(4, 3);
    EXPECT_EQ(g.Curseur_Index(4), 0);
    // Numbers out of range are ignored.
    g.Curseur_Visible(17, true);
    g.Ajouter_Point(49, 1, 1);
    EXPECT_FALSE(g.Curseur_Visible(17));
    EXPECT_EQ(g.Nb_Points(49), 0);
    EXPECT_EQ(g.Nom_Trace(1), QStringLiteral("Voie1"));
    EXPECT_EQ(g.Nom_Trace(18), QStringLiteral("Seuil_Bas_Voie1"));
    EXPECT_EQ(g.Nom_Trace(47), QStringLiteral("Seuil_Haut_Voie16"));
    EXPECT_EQ(g.Nom_Axe(2), QStringLiteral("YAxis-1"));
}

TEST_F(Graphe, AjustementAuxDonneesEtPlagesRefusees) {
    // Nothing drawn: the ranges stay.
    g.Definir_Plage(1, 10, 20);
    g.Ajuster_Aux_Donnees(1);
    g.Ajuster_Aux_Donnees(2);
    EXPECT_EQ(g.Minimum(1), 10);
    EXPECT_EQ(g.Maximum(2), 150);
    // Hidden or switched-off plots do not count.
    g.Ajouter_Point(1, 30, 5);
    g.Ajouter_Point(1, 40, -12);
    g.Ajouter_Point(2, 0, 900);
    g.Visible(2, false);
    g.Ajouter_Point(3, 0, -900);
    g.Allumee(3, false);
    g.Ajuster_Aux_Donnees(1);
    g.Ajuster_Aux_Donnees(2);
    EXPECT_EQ(g.Minimum(1), 30);
    EXPECT_EQ(g.Maximum(1), 40);
    EXPECT_EQ(g.Minimum(2), -12);
    EXPECT_EQ(g.Maximum(2), 5);
    // One value only: still a range, never an empty one.
    g.Effacer_Points(1);
    g.Ajouter_Point(1, 30, 0);
    g.Ajuster_Aux_Donnees(1);
    g.Ajuster_Aux_Donnees(2);
    EXPECT_LT(g.Minimum(1), 30);
    EXPECT_GT(g.Maximum(1), 30);
    EXPECT_EQ(g.Minimum(2), -1);
    EXPECT_EQ(g.Maximum(2), 1);
    // A range that is empty or reversed is refused.
    EXPECT_FALSE(g.Definir_Plage(2, 5, 5));
    EXPECT_FALSE(g.Definir_Minimum(2, 3));
    EXPECT_FALSE(g.Definir_Maximum(1, 0));
    EXPECT_FALSE(g.Definir_Plage(1, 0, std::nan("")));
    EXPECT_EQ(g.Minimum(2), -1);
    EXPECT_TRUE(g.Definir_Minimum(2, -3));
}

TEST_F(Graphe, ZoomEtDeplacementDeLOperateur) {
    int zooms = 0;
    g.Zoom = [&] { ++zooms; };
    g.Definir_Plage(1, 0, 100);
    g.Definir_Plage(2, 0, 50);
    const QRectF z = g.Zone_Trace();
    // A rectangle over the left half and the lower half.
    QTest::mousePress(&g, Qt::LeftButton, {}, z.topLeft().toPoint() + QPoint(0, qRound(z.height() / 2)));
    QTest::mouseMove(&g, QPoint(qRound(z.center().x()), qRound(z.bottom())));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(qRound(z.center().x()), qRound(z.bottom())));
    EXPECT_EQ(zooms, 1);
    EXPECT_NEAR(g.Minimum(1), 0, 0.2);
    EXPECT_NEAR(g.Maximum(1), 50, 0.2);
    EXPECT_NEAR(g.Minimum(2), 0, 0.2);
    EXPECT_NEAR(g.Maximum(2), 25, 0.2);
    // A click without a drag zooms nothing.
    QTest::mouseClick(&g, Qt::LeftButton, {}, z.center().toPoint());
    EXPECT_EQ(zooms, 1);
    // The wheel zooms the time axis out about the pointer.
    const double x_avant = g.Maximum(1) - g.Minimum(1), y_avant = g.Maximum(2) - g.Minimum(2);
    QWheelEvent dehors(z.center(), g.mapToGlobal(z.center()), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
    QApplication::sendEvent(&g, &dehors);
    EXPECT_EQ(zooms, 2);
    EXPECT_NEAR(g.Maximum(1) - g.Minimum(1), x_avant / 0.8, 1e-9);
    EXPECT_NEAR(g.Maximum(2) - g.Minimum(2), y_avant, 1e-9);
    // The right button pans; the screen hears of it once, at the release.
    const double x0 = g.Minimum(1);
    QTest::mousePress(&g, Qt::RightButton, {}, z.center().toPoint());
    QTest::mouseMove(&g, z.center().toPoint() + QPoint(50, 0));
    QTest::mouseMove(&g, z.center().toPoint() + QPoint(100, 0));
    QTest::mouseRelease(&g, Qt::RightButton, {}, z.center().toPoint() + QPoint(100, 0));
    EXPECT_EQ(zooms, 3);
    EXPECT_LT(g.Minimum(1), x0);
    // Written ranges raise nothing.
    g.Definir_Plage(1, 0, 10);
    EXPECT_EQ(zooms, 3);
}

TEST_F(Graphe, EnModeCurseurLeClicEtLeGlisser) {
    for (int i = 0; i <= 100; ++i) g.Ajouter_Point(5, i, i / 2.0);
    g.Definir_Plage(1, 0, 100);
    std::vector<double> clics;
    int deplacements = 0, zooms = 0;
    g.Clic_Graphe = [&](double x) {
        clics.push_back(x);
        g.Curseur_X(5, x);
    };
    g.Curseur_Deplace = [&] { ++deplacements; };
    g.Zoom = [&] { ++zooms; };
    g.Curseur_Visible(5, true);
    g.Mode_Interaction(Graphe_Enreg::Mode_Curseur_Prepare);
    g.Mode_Interaction(Graphe_Enreg::Mode_Curseur);
    const QRectF z = g.Zone_Trace();
    const QPoint quart(qRound(z.left() + z.width() / 4), qRound(z.center().y()));
    QTest::mousePress(&g, Qt::LeftButton, {}, quart);
    ASSERT_EQ(clics.size(), 1u);
    EXPECT_NEAR(clics[0], 25, 0.2);
    EXPECT_EQ(g.Curseur_Index(5), 25);
    QTest::mouseMove(&g, quart + QPoint(qRound(z.width() / 2), 0));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, quart + QPoint(qRound(z.width() / 2), 0));
    EXPECT_EQ(deplacements, 1);
    EXPECT_EQ(g.Curseur_Index(5), 75);
    EXPECT_DOUBLE_EQ(g.Curseur_Y(5), 37.5);
    EXPECT_EQ(zooms, 0);
    // A click outside the plot area is no click in it.
    QTest::mousePress(&g, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(clics.size(), 1u);
}

}  // namespace
