#include "history/graphe_enreg.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/dates.h"
#include "platform/formats.h"
#include "platform/memoire.h"
#include "platform/ui/couleurs_ui.h"

namespace ostrel {
namespace {

// Far beyond any screen, within what the painter's fixed-point paths take.
constexpr double Limite_Pixels = 1.0e5;

// Segments of a curve stroked as one outline when a line covers more than a device pixel.
constexpr qsizetype Segments_Par_Morceau = 16;

double Borne(double v, double bas, double haut) { return std::min(std::max(v, bas), haut); }

// "dd/mm/yyyy hh:nn", the time axis' label form.
QString Etiquette_Temps(Date d) { return Texte_Date_Courte(d) + QLatin1Char(' ') + Texte_Heure(d).left(5); }

// A round step giving about n divisions of the range: 1, 2, 2.5 or 5 times a power of ten.
double Pas_Rond(double etendue, int n) {
    const double brut = etendue / std::max(n, 1);
    if (!(brut > 0) || !std::isfinite(brut)) return 1;
    const double puissance = std::pow(10.0, std::floor(std::log10(brut)));
    for (double f : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (brut <= f * puissance) return f * puissance;
    return 10 * puissance;
}

// A round step of time, in minutes (minutes, hours, days, weeks, then months
// of 30 days), that gives about the divisions asked for over the range, and
// leaves room for the labels.
double Pas_Temps(double etendue, int divisions, double pixels_par_minute, double largeur_etiquette) {
    static const double pas[] = {1, 2, 5, 10, 15, 30, 60, 120, 180, 240, 360, 720, 1440, 2880, 4320, 10080, 20160, 43200};
    for (double p : pas)
        if (etendue / p <= divisions * 1.5 && p * pixels_par_minute >= largeur_etiquette * 1.15) return p;
    return std::max(43200.0, std::ceil(etendue / divisions / 43200) * 43200);
}

// The grid in the grid colour, or in a grey when that would not show on the plot area.
QColor Couleur_Visible(Couleur grille, Couleur zone) {
    const QColor g = Vers_QColor(grille), z = Vers_QColor(zone);
    const int ecart = std::abs(g.red() - z.red()) + std::abs(g.green() - z.green()) + std::abs(g.blue() - z.blue());
    QColor c = ecart < 120 ? (z.lightness() > 128 ? QColor(140, 140, 140) : QColor(200, 200, 200)) : g;
    c.setAlpha(ecart < 120 ? 160 : 90);
    return c;
}

void Emettre(QPolygonF& sortie, double x, double y) {
    const QPointF p(x, y);
    if (sortie.isEmpty() || sortie.constLast() != p) sortie.append(p);
}

}  // namespace

void Reduire_Par_Colonne(const std::vector<double>& x, const std::vector<float>& y, size_t debut, size_t fin,
                         const Projection_Graphe& pr, QPolygonF& sortie) {
    sortie.clear();
    fin = std::min({fin, x.size(), y.size()});
    if (debut >= fin) return;
    // Y kept within reach of the painter; X is taken care of by the callers' range.
    const double haut = pr.bas - Limite_Pixels * 2, bas = pr.bas + Limite_Pixels;
    auto py = [&](size_t i) { return Borne(pr.Y(y[i]), haut, bas); };
    bool ouverte = false;
    long long colonne = 0;
    double premier = 0, dernier = 0, mini = 0, maxi = 0, px = 0;
    size_t i_min = 0, i_max = 0;
    auto fermer = [&] {
        Emettre(sortie, px, premier);
        // Lowest and highest in the order they came, then the last one.
        if (i_min <= i_max) {
            Emettre(sortie, px, mini);
            Emettre(sortie, px, maxi);
        } else {
            Emettre(sortie, px, maxi);
            Emettre(sortie, px, mini);
        }
        Emettre(sortie, px, dernier);
    };
    for (size_t i = debut; i < fin; ++i) {
        const double xp = pr.X(x[i]);
        const double c = std::floor(Borne(xp, -Limite_Pixels * 100, Limite_Pixels * 100));
        const long long col = static_cast<long long>(c);
        const double v = py(i);
        if (ouverte && col == colonne) {
            dernier = v;
            if (v < mini) mini = v, i_min = i;
            if (v > maxi) maxi = v, i_max = i;
            continue;
        }
        if (ouverte) fermer();
        ouverte = true;
        colonne = col;
        px = Borne(xp, -Limite_Pixels * 100, Limite_Pixels * 100);
        premier = dernier = mini = maxi = v;
        i_min = i_max = i;
    }
    if (ouverte) fermer();
}

Graphe_Enreg::Graphe_Enreg(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CWGraph_Enreg"));
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    axes_[0].min = 0;
    axes_[0].max = 1;
    axes_[1].min = -50;
    axes_[1].max = 150;
}

// ------------------------------------------------------------ access

Graphe_Enreg::Trace* Graphe_Enreg::T(int n) { return n >= 1 && n <= Nb_Traces ? &traces_[static_cast<size_t>(n - 1)] : nullptr; }
const Graphe_Enreg::Trace* Graphe_Enreg::T(int n) const {
    return n >= 1 && n <= Nb_Traces ? &traces_[static_cast<size_t>(n - 1)] : nullptr;
}
Graphe_Enreg::Axe* Graphe_Enreg::A(int n) { return n == 1 || n == 2 ? &axes_[static_cast<size_t>(n - 1)] : nullptr; }
const Graphe_Enreg::Axe* Graphe_Enreg::A(int n) const {
    return n == 1 || n == 2 ? &axes_[static_cast<size_t>(n - 1)] : nullptr;
}
Graphe_Enreg::Curseur* Graphe_Enreg::C(int n) {
    return n >= 1 && n <= Nb_Curseurs ? &curseurs_[static_cast<size_t>(n - 1)] : nullptr;
}
const Graphe_Enreg::Curseur* Graphe_Enreg::C(int n) const {
    return n >= 1 && n <= Nb_Curseurs ? &curseurs_[static_cast<size_t>(n - 1)] : nullptr;
}

// ------------------------------------------------------------ plots

void Graphe_Enreg::Ajouter_Point(int n, double x, double y) {
    Trace* t = T(n);
    if (!t || !std::isfinite(x) || !std::isfinite(y)) return;
    const float yf = static_cast<float>(y);
    if (t->x.empty()) {
        t->x_min = t->x_max = x;
        t->y_min = t->y_max = yf;
    } else {
        if (x < t->x.back()) t->croissante = false;
        t->x_min = std::min(t->x_min, x);
        t->x_max = std::max(t->x_max, x);
        t->y_min = std::min<double>(t->y_min, yf);
        t->y_max = std::max<double>(t->y_max, yf);
    }
    t->x.push_back(x);
    t->y.push_back(yf);
    if (Dessinee(*t)) update();
}

void Graphe_Enreg::Reserver_Points(int n, size_t nombre) {
    if (Trace* t = T(n)) {
        t->x.reserve(t->x.size() + nombre);
        t->y.reserve(t->y.size() + nombre);
        // A full memory's curves fill a few megabytes at once.
        Grandes_Pages(t->x.data() + t->x.size(), static_cast<qsizetype>((t->x.capacity() - t->x.size()) * sizeof(double)));
        Grandes_Pages(t->y.data() + t->y.size(), static_cast<qsizetype>((t->y.capacity() - t->y.size()) * sizeof(float)));
    }
}

void Graphe_Enreg::Effacer_Points(int n) {
    Trace* t = T(n);
    if (!t) return;
    t->x.clear();
    t->y.clear();
    t->x.shrink_to_fit();
    t->y.shrink_to_fit();
    t->croissante = true;
    if (n <= Nb_Curseurs) curseurs_[static_cast<size_t>(n - 1)].index = 0;
    update();
}

long long Graphe_Enreg::Nb_Points(int n) const {
    const Trace* t = T(n);
    return t ? static_cast<long long>(t->x.size()) : 0;
}

QPointF Graphe_Enreg::Point(int n, long long i) const {
    const Trace* t = T(n);
    if (!t || i < 0 || i >= static_cast<long long>(t->x.size())) return {};
    return {t->x[static_cast<size_t>(i)], t->y[static_cast<size_t>(i)]};
}

QString Graphe_Enreg::Nom_Trace(int n) const {
    if (n < 1 || n > Nb_Traces) return {};
    if (n <= 16) return QStringLiteral("Voie%1").arg(n);
    const int voie = (n - 17) / 2 + 1;
    return ((n - 17) % 2 == 0 ? QStringLiteral("Seuil_Haut_Voie%1") : QStringLiteral("Seuil_Bas_Voie%1")).arg(voie);
}

bool Graphe_Enreg::Visible(int n) const { return T(n) && T(n)->visible; }
void Graphe_Enreg::Visible(int n, bool v) {
    if (Trace* t = T(n); t && t->visible != v) {
        t->visible = v;
        update();
    }
}
bool Graphe_Enreg::Enabled(int n) const { return T(n) && T(n)->enabled; }
void Graphe_Enreg::Enabled(int n, bool v) {
    if (Trace* t = T(n)) t->enabled = v;
}
bool Graphe_Enreg::Allumee(int n) const { return T(n) && T(n)->allumee; }
void Graphe_Enreg::Allumee(int n, bool v) {
    if (Trace* t = T(n); t && t->allumee != v) {
        t->allumee = v;
        update();
    }
}
Couleur Graphe_Enreg::Couleur_Ligne(int n) const { return T(n) ? T(n)->couleur : 0; }
void Graphe_Enreg::Couleur_Ligne(int n, Couleur c) {
    if (Trace* t = T(n)) {
        t->couleur = c;
        update();
    }
}
int Graphe_Enreg::Style_Ligne(int n) const { return T(n) ? T(n)->style : 0; }
void Graphe_Enreg::Style_Ligne(int n, int style) {
    if (Trace* t = T(n)) {
        t->style = style;
        update();
    }
}

// ------------------------------------------------------------ axes

double Graphe_Enreg::Minimum(int n) const { return A(n) ? A(n)->min : 0; }
double Graphe_Enreg::Maximum(int n) const { return A(n) ? A(n)->max : 0; }

bool Graphe_Enreg::Definir_Plage(int n, double minimum, double maximum) {
    Axe* a = A(n);
    if (!a || !std::isfinite(minimum) || !std::isfinite(maximum) || !(minimum < maximum)) return false;
    a->min = minimum;
    a->max = maximum;
    update();
    return true;
}

bool Graphe_Enreg::Definir_Minimum(int n, double v) { return A(n) && Definir_Plage(n, v, A(n)->max); }
bool Graphe_Enreg::Definir_Maximum(int n, double v) { return A(n) && Definir_Plage(n, A(n)->min, v); }

void Graphe_Enreg::Ajuster_Aux_Donnees(int n) {
    if (!A(n)) return;
    bool trouve = false;
    double bas = 0, haut = 0;
    for (const Trace& t : traces_) {
        if (!Dessinee(t) || t.x.empty()) continue;
        const double b = n == 1 ? t.x_min : t.y_min, h = n == 1 ? t.x_max : t.y_max;
        bas = trouve ? std::min(bas, b) : b;
        haut = trouve ? std::max(haut, h) : h;
        trouve = true;
    }
    if (!trouve) return;
    if (!(haut > bas)) {
        // A single instant or a flat curve: some room around it, never an empty range.
        const double marge = n == 1 ? 1.0 / 48 : 1.0;
        bas -= marge;
        haut += marge;
    }
    Definir_Plage(n, bas, haut);
}

bool Graphe_Enreg::Plage_Imposee(int n) const { return A(n) && A(n)->imposee; }
void Graphe_Enreg::Plage_Imposee(int n, bool oui) {
    if (Axe* a = A(n)) a->imposee = oui;
}
Couleur Graphe_Enreg::Couleur_Axe(int n) const { return A(n) ? A(n)->couleur : 0; }
void Graphe_Enreg::Couleur_Axe(int n, Couleur c) {
    if (Axe* a = A(n)) {
        a->couleur = c;
        update();
    }
}
QString Graphe_Enreg::Nom_Axe(int n) const {
    return n == 1 ? QStringLiteral("XAxis") : n == 2 ? QStringLiteral("YAxis-1") : QString();
}

void Graphe_Enreg::Graduations_Temps(int divisions, int secondaires) {
    divisions_temps_ = std::max(1, divisions);
    secondaires_temps_ = std::max(0, secondaires);
    update();
}

// ------------------------------------------------------------ cursors

long long Graphe_Enreg::Point_Le_Plus_Proche(const Trace& t, double x) const {
    const size_t n = t.x.size();
    if (n == 0) return -1;
    if (t.croissante) {
        const size_t i = static_cast<size_t>(std::lower_bound(t.x.begin(), t.x.end(), x) - t.x.begin());
        if (i == 0) return 0;
        if (i >= n) return static_cast<long long>(n - 1);
        return x - t.x[i - 1] <= t.x[i] - x ? static_cast<long long>(i - 1) : static_cast<long long>(i);
    }
    size_t meilleur = 0;
    for (size_t i = 1; i < n; ++i)
        if (std::fabs(t.x[i] - x) < std::fabs(t.x[meilleur] - x)) meilleur = i;
    return static_cast<long long>(meilleur);
}

void Graphe_Enreg::Suivre_Point(int k, long long i) {
    Curseur* c = C(k);
    const Trace& t = traces_[static_cast<size_t>(k - 1)];
    if (!c || t.x.empty()) return;
    i = std::clamp<long long>(i, 0, static_cast<long long>(t.x.size()) - 1);
    c->index = i;
    c->x = t.x[static_cast<size_t>(i)];
    c->y = t.y[static_cast<size_t>(i)];
    if (c->visible) update();
}

bool Graphe_Enreg::Curseur_Visible(int k) const { return C(k) && C(k)->visible; }
void Graphe_Enreg::Curseur_Visible(int k, bool v) {
    if (Curseur* c = C(k); c && c->visible != v) {
        c->visible = v;
        update();
    }
}
double Graphe_Enreg::Curseur_X(int k) const { return C(k) ? C(k)->x : 0; }
double Graphe_Enreg::Curseur_Y(int k) const { return C(k) ? C(k)->y : 0; }

void Graphe_Enreg::Curseur_X(int k, double x) {
    Curseur* c = C(k);
    if (!c || !std::isfinite(x)) return;
    const long long i = Point_Le_Plus_Proche(traces_[static_cast<size_t>(k - 1)], x);
    if (i >= 0) {
        Suivre_Point(k, i);
    } else {
        c->x = x;
        if (c->visible) update();
    }
}

void Graphe_Enreg::Placer_Curseur(int k, double x, double y) {
    Curseur* c = C(k);
    if (!c) return;
    c->y = y;
    Curseur_X(k, x);
}

long long Graphe_Enreg::Curseur_Index(int k) const { return C(k) ? C(k)->index : 0; }
void Graphe_Enreg::Curseur_Index(int k, long long i) {
    if (C(k)) Suivre_Point(k, i);
}

int Graphe_Enreg::Curseur_Actif() const {
    for (int k = 1; k <= Nb_Curseurs; ++k)
        if (curseurs_[static_cast<size_t>(k - 1)].visible) return k;
    return 0;
}

// ------------------------------------------------------------ the graph

void Graphe_Enreg::Mode_Interaction(int mode) {
    mode_ = mode;
    geste_ = Geste::Aucun;
    setCursor(Mode_Curseur_Actif() ? Qt::SizeHorCursor : Qt::CrossCursor);
    update();
}

void Graphe_Enreg::Caption(const QString& texte) {
    caption_ = texte;
    update();
}
void Graphe_Enreg::Couleur_Zone_Trace(Couleur c) {
    couleur_zone_ = c;
    update();
}
void Graphe_Enreg::Couleur_Fond(Couleur c) {
    couleur_fond_ = c;
    update();
}
void Graphe_Enreg::Couleur_Grille(Couleur c) {
    couleur_grille_ = c;
    update();
}
void Graphe_Enreg::Couleur_Cadre(Couleur c) {
    couleur_cadre_ = c;
    update();
}

// ------------------------------------------------------------ geometry

double Graphe_Enreg::Largeur_Etiquette_Temps() const {
    return QFontMetricsF(font()).horizontalAdvance(QStringLiteral("00/00/0000 00:00"));
}

double Graphe_Enreg::Marge_Gauche() const {
    const QFontMetricsF m(font());
    return std::max(m.horizontalAdvance(QStringLiteral("-00000,0")) + 12, Largeur_Etiquette_Temps() / 2 + 4);
}

QRectF Graphe_Enreg::Zone_Trace() const {
    const QFontMetricsF m(font());
    const double haut = caption_.isEmpty() ? m.height() / 2 + 4 : m.height() * 1.6 + 4;
    const double gauche = Marge_Gauche();
    const double droite = Largeur_Etiquette_Temps() / 2 + 8;
    const double bas = m.height() + 12;
    return QRectF(gauche, haut, std::max(10.0, width() - gauche - droite), std::max(10.0, height() - haut - bas));
}

Projection_Graphe Graphe_Enreg::Projection() const {
    const QRectF z = Zone_Trace();
    Projection_Graphe p;
    p.x0 = axes_[0].min;
    p.gauche = z.left();
    p.ex = z.width() / (axes_[0].max - axes_[0].min);
    p.y0 = axes_[1].min;
    p.bas = z.bottom();
    p.ey = z.height() / (axes_[1].max - axes_[1].min);
    return p;
}

double Graphe_Enreg::X_Pixel(double x) const { return Projection().X(x); }
double Graphe_Enreg::X_Valeur(double px) const {
    const Projection_Graphe p = Projection();
    return p.x0 + (px - p.gauche) / p.ex;
}
double Graphe_Enreg::Y_Valeur(double py) const {
    const Projection_Graphe p = Projection();
    return p.y0 + (p.bas - py) / p.ey;
}

void Graphe_Enreg::Reduire(const Trace& t, const Projection_Graphe& p, QPolygonF& sortie) const {
    size_t debut = 0, fin = t.x.size();
    if (t.croissante && fin > 0) {
        // The points in the time range, and one on each side for the lines that leave it.
        const auto premier = std::lower_bound(t.x.begin(), t.x.end(), axes_[0].min);
        const auto apres = std::upper_bound(premier, t.x.end(), axes_[0].max);
        debut = static_cast<size_t>(premier - t.x.begin());
        fin = static_cast<size_t>(apres - t.x.begin());
        if (debut > 0) --debut;
        if (fin < t.x.size()) ++fin;
    }
    Reduire_Par_Colonne(t.x, t.y, debut, fin, p, sortie);
    // A line that leaves the plot area ends at its edge, with its own slope.
    const double gauche = p.gauche - 2, droite = p.gauche + (axes_[0].max - axes_[0].min) * p.ex + 2;
    auto couper = [](QPointF& dehors, const QPointF& dedans, double bord) {
        const double dx = dedans.x() - dehors.x();
        if (dx == 0) return;
        const double f = (bord - dehors.x()) / dx;
        dehors = QPointF(bord, dehors.y() + f * (dedans.y() - dehors.y()));
    };
    if (sortie.size() >= 2) {
        if (sortie[0].x() < gauche && sortie[1].x() >= gauche) couper(sortie[0], sortie[1], gauche);
        const qsizetype n = sortie.size();
        if (sortie[n - 1].x() > droite && sortie[n - 2].x() <= droite) couper(sortie[n - 1], sortie[n - 2], droite);
    }
}

QPolygonF Graphe_Enreg::Polyligne(int n) const {
    QPolygonF sortie;
    if (const Trace* t = T(n)) Reduire(*t, Projection(), sortie);
    return sortie;
}

// ------------------------------------------------------------ painting

void Graphe_Enreg::Dessiner_Axes(QPainter& p, const QRectF& z) const {
    const QFontMetricsF m(font());
    const QColor couleur_x = Vers_QColor(axes_[0].couleur), couleur_y = Vers_QColor(axes_[1].couleur);
    const QColor grille = Couleur_Visible(couleur_grille_, couleur_zone_);
    const Projection_Graphe pr = Projection();

    // Time axis: about as many divisions as asked, on round times (minutes,
    // hours, days), labelled; minor ticks between them.
    const double etendue_min = (axes_[0].max - axes_[0].min) * 1440;
    const double pas = Pas_Temps(etendue_min, divisions_temps_, z.width() / std::max(etendue_min, 1e-9),
                                 Largeur_Etiquette_Temps());
    const double premier_temps = std::ceil(axes_[0].min * 1440 / pas - 1e-9) * pas;
    for (int i = -1; i < 500; ++i) {
        const double minutes = premier_temps + i * pas;
        const double x = minutes / 1440;
        if (x > axes_[0].max + 1e-9) break;
        p.setPen(couleur_x);
        for (int s = 1; s <= secondaires_temps_; ++s) {
            const double sx = (minutes + pas * s / (secondaires_temps_ + 1)) / 1440;
            if (sx >= axes_[0].min && sx <= axes_[0].max)
                p.drawLine(QPointF(pr.X(sx), z.bottom()), QPointF(pr.X(sx), z.bottom() + 3));
        }
        if (i < 0) continue;
        const double px = pr.X(x);
        if (px > z.left() + 0.5 && px < z.right() - 0.5) {
            p.setPen(QPen(grille, 1, Qt::DotLine));
            p.drawLine(QPointF(px, z.top()), QPointF(px, z.bottom()));
        }
        p.setPen(couleur_x);
        p.drawLine(QPointF(px, z.bottom()), QPointF(px, z.bottom() + 6));
        const QString texte = Etiquette_Temps(x);
        const double l = m.horizontalAdvance(texte);
        p.drawText(QPointF(px - l / 2, z.bottom() + 8 + m.ascent()), texte);
    }

    // Value axis: round steps, about eight of them.
    const double pas_y = Pas_Rond(axes_[1].max - axes_[1].min, 8);
    const double premier = std::ceil(axes_[1].min / pas_y - 1e-9) * pas_y;
    for (int i = 0; i < 200; ++i) {
        const double y = premier + i * pas_y;
        if (y > axes_[1].max + pas_y * 1e-9) break;
        const double py = pr.Y(y);
        if (py > z.top() + 0.5 && py < z.bottom() - 0.5) {
            p.setPen(QPen(grille, 1, Qt::DotLine));
            p.drawLine(QPointF(z.left(), py), QPointF(z.right(), py));
        }
        p.setPen(couleur_y);
        p.drawLine(QPointF(z.left() - 6, py), QPointF(z.left(), py));
        // Round to the step so that 0.1 + 0.2 does not show its last digits.
        const double arrondi = std::round(y / pas_y * 1000) * pas_y / 1000;
        const QString texte = Texte_Double(std::fabs(arrondi) < pas_y * 1e-6 ? 0.0 : arrondi);
        p.drawText(QPointF(z.left() - 9 - m.horizontalAdvance(texte), py + m.ascent() / 2 - 1), texte);
    }

    p.setPen(couleur_x);
    p.drawLine(z.bottomLeft(), z.bottomRight());
    p.setPen(couleur_y);
    p.drawLine(z.bottomLeft(), z.topLeft());
}

void Graphe_Enreg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Vers_QColor(couleur_fond_));
    p.setFont(font());
    const QRectF z = Zone_Trace();
    p.fillRect(z, Vers_QColor(couleur_zone_));
    p.setPen(QPen(Vers_QColor(couleur_cadre_), 1));
    p.drawRect(z.adjusted(0, 0, -1, -1));
    if (!caption_.isEmpty()) {
        p.setPen(Vers_QColor(axes_[0].couleur));
        const QFontMetricsF m(font());
        p.drawText(QRectF(0, 2, width(), m.height() * 1.4), Qt::AlignCenter, caption_);
    }
    Dessiner_Axes(p, z);

    p.save();
    p.setClipRect(z.adjusted(1, 1, -1, -1));
    const Projection_Graphe pr = Projection();
    // Drawn finer than the screen (a printed page), the one-pixel pen covers
    // more than a device pixel and Qt strokes a line as an outline to fill,
    // in a time that grows far faster than the line is long: the curve of an
    // unsteady probe, up and down in every column, would take seconds. Short
    // pieces of it are filled at once and draw the same line.
    const bool trait_large = p.deviceTransform().map(QLineF(0, 0, 1, 0)).length() > 1.01;
    QPolygonF sommets;
    sommets_dessines_ = 0;
    for (const Trace& t : traces_) {
        if (!Dessinee(t) || t.x.empty()) continue;
        Reduire(t, pr, sommets);
        sommets_dessines_ += sommets.size();
        QPen stylo(Vers_QColor(t.couleur), 1);
        stylo.setStyle(t.style == Style_Tirets ? Qt::DashLine : Qt::SolidLine);
        p.setPen(stylo);
        if (sommets.size() == 1)
            p.drawPoint(sommets[0]);
        else if (trait_large && t.style != Style_Tirets)
            for (qsizetype i = 0; i + 1 < sommets.size(); i += Segments_Par_Morceau)
                p.drawPolyline(sommets.constData() + i, static_cast<int>(std::min(Segments_Par_Morceau + 1, sommets.size() - i)));
        else
            p.drawPolyline(sommets);
    }

    // Cursors: a dashed cross over the whole area in the colour that stands
    // out of the plot area, a square on their point.
    const bool zone_claire = Vers_QColor(couleur_zone_).lightness() > 128;
    const QColor croix = zone_claire ? QColor(0, 0, 0) : QColor(255, 255, 255);
    for (int k = 1; k <= Nb_Curseurs; ++k) {
        const Curseur& c = curseurs_[static_cast<size_t>(k - 1)];
        if (!c.visible) continue;
        const QPointF point(pr.X(c.x), Borne(pr.Y(c.y), z.top() - 10, z.bottom() + 10));
        p.setPen(QPen(croix, 1, Qt::DashLine));
        p.drawLine(QPointF(point.x(), z.top()), QPointF(point.x(), z.bottom()));
        p.drawLine(QPointF(z.left(), point.y()), QPointF(z.right(), point.y()));
        p.setPen(QPen(croix, 2));
        p.drawRect(QRectF(point.x() - 5, point.y() - 5, 10, 10));
    }

    if (geste_ == Geste::Rectangle) {
        p.setPen(QPen(QColor(255, 255, 255), 1, Qt::DashLine));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRect(QRectF(depart_, courant_).normalized());
    }
    p.restore();
}

// ------------------------------------------------------------ the operator's zoom and pan

void Graphe_Enreg::Appliquer_Plage(double x_min, double x_max, double y_min, double y_max) {
    // A time range too narrow to be read is widened about its middle.
    if (etendue_min_x_ > 0 && x_max - x_min < etendue_min_x_) {
        const double milieu = (x_min + x_max) / 2;
        x_min = milieu - etendue_min_x_ / 2;
        x_max = milieu + etendue_min_x_ / 2;
    }
    if (!(x_min < x_max) || !(y_min < y_max) || !std::isfinite(x_min + x_max + y_min + y_max)) return;
    axes_[0].min = x_min;
    axes_[0].max = x_max;
    axes_[1].min = y_min;
    axes_[1].max = y_max;
    update();
    if (Zoom) Zoom();
}

void Graphe_Enreg::Zoomer_Rectangle(const QRectF& r) {
    const QRectF n = r.normalized().intersected(Zone_Trace());
    const bool en_x = n.width() >= 4, en_y = n.height() >= 4;
    if (!en_x && !en_y) return;
    Appliquer_Plage(en_x ? X_Valeur(n.left()) : axes_[0].min, en_x ? X_Valeur(n.right()) : axes_[0].max,
                    en_y ? Y_Valeur(n.bottom()) : axes_[1].min, en_y ? Y_Valeur(n.top()) : axes_[1].max);
}

void Graphe_Enreg::Zoomer(double facteur, const QPointF& centre, bool valeurs) {
    if (!(facteur > 0)) return;
    if (valeurs) {
        const double c = Y_Valeur(centre.y());
        Appliquer_Plage(axes_[0].min, axes_[0].max, c - (c - axes_[1].min) * facteur, c + (axes_[1].max - c) * facteur);
    } else {
        const double c = X_Valeur(centre.x());
        Appliquer_Plage(c - (c - axes_[0].min) * facteur, c + (axes_[0].max - c) * facteur, axes_[1].min, axes_[1].max);
    }
}

void Graphe_Enreg::Deplacer(const QPointF& d) {
    if (d.isNull()) return;
    const double dx = X_Valeur(0) - X_Valeur(d.x()), dy = Y_Valeur(0) - Y_Valeur(d.y());
    Appliquer_Plage(axes_[0].min + dx, axes_[0].max + dx, axes_[1].min + dy, axes_[1].max + dy);
}

void Graphe_Enreg::mousePressEvent(QMouseEvent* e) {
    const QPointF pos = e->position();
    if (!Zone_Trace().contains(pos)) return;
    depart_ = courant_ = pos;
    if (Mode_Curseur_Actif()) {
        if (e->button() != Qt::LeftButton) return;
        geste_ = Geste::Curseur;
        if (Clic_Graphe) Clic_Graphe(X_Valeur(pos.x()));
        return;
    }
    if (e->button() == Qt::LeftButton && !(e->modifiers() & Qt::ShiftModifier))
        geste_ = Geste::Rectangle;
    else if (e->button() == Qt::RightButton || e->button() == Qt::LeftButton || e->button() == Qt::MiddleButton)
        geste_ = Geste::Deplacement;
}

void Graphe_Enreg::mouseMoveEvent(QMouseEvent* e) {
    const QPointF pos = e->position();
    switch (geste_) {
    case Geste::Rectangle:
        courant_ = pos;
        update();
        break;
    case Geste::Deplacement: {
        // The curves follow the hand; the screen hears of it once the button is released.
        const double dx = X_Valeur(courant_.x()) - X_Valeur(pos.x());
        const double dy = Y_Valeur(courant_.y()) - Y_Valeur(pos.y());
        axes_[0].min += dx;
        axes_[0].max += dx;
        axes_[1].min += dy;
        axes_[1].max += dy;
        courant_ = pos;
        update();
        break;
    }
    case Geste::Curseur: {
        const int k = Curseur_Actif();
        if (!k) break;
        const QRectF z = Zone_Trace();
        const double x = X_Valeur(Borne(pos.x(), z.left(), z.right()));
        const long long avant = curseurs_[static_cast<size_t>(k - 1)].index;
        const double x_avant = curseurs_[static_cast<size_t>(k - 1)].x;
        Curseur_X(k, x);
        if ((curseurs_[static_cast<size_t>(k - 1)].index != avant || curseurs_[static_cast<size_t>(k - 1)].x != x_avant) &&
            Curseur_Deplace)
            Curseur_Deplace();
        break;
    }
    case Geste::Aucun: break;
    }
}

void Graphe_Enreg::mouseReleaseEvent(QMouseEvent* e) {
    const Geste geste = geste_;
    geste_ = Geste::Aucun;
    if (geste == Geste::Rectangle) {
        update();
        Zoomer_Rectangle(QRectF(depart_, e->position()));
    } else if (geste == Geste::Deplacement) {
        if (depart_ != e->position() && Zoom) Zoom();
    }
}

void Graphe_Enreg::wheelEvent(QWheelEvent* e) {
    if (Mode_Curseur_Actif() || !Zone_Trace().contains(e->position())) return;
    const int crans = e->angleDelta().y() / 120;
    if (crans == 0) return;
    Zoomer(std::pow(0.8, crans), e->position(), e->modifiers() & Qt::ControlModifier);
    e->accept();
}

}  // namespace ostrel
