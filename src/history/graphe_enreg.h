#pragma once
// The recordings graph: 48 plots of (date, value) points, a time axis and a
// value axis, 16 cursors that follow the points of their plot, zoom and pan
// by the operator, all drawn with QPainter.
//
// Only what can be seen is drawn: the points of a plot inside the time range
// are found by binary search (a plot keeps whether its dates only grow), and
// they are reduced to at most four vertices per pixel column (first, lowest,
// highest, last), which draws the same line as every point would. Half a
// million points thus draw about as fast as a few thousand.
//
// Plots, axes and cursors are numbered from 1 as the screens number them;
// numbers out of range are ignored (reads give empty values).
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "platform/types.h"

namespace ostrel {

// The vertices that draw the points [debut, fin) of (x, y) as a polyline, in
// pixels: x -> gauche + (x - x0) * ex, y -> bas - (y - y0) * ey. Runs of points
// that fall in the same pixel column give at most four vertices.
struct Projection_Graphe {
    double x0 = 0, ex = 1, gauche = 0;
    double y0 = 0, ey = 1, bas = 0;
    double X(double x) const { return gauche + (x - x0) * ex; }
    double Y(double y) const { return bas - (y - y0) * ey; }
};
void Reduire_Par_Colonne(const std::vector<double>& x, const std::vector<float>& y, size_t debut, size_t fin,
                         const Projection_Graphe& projection, QPolygonF& sortie);

class Graphe_Enreg : public QWidget {
    Q_OBJECT
public:
    static constexpr int Nb_Traces = 48;
    static constexpr int Nb_Curseurs = 16;
    // Interaction modes: the operator zooms and pans, or drags the active cursor.
    static constexpr int Mode_Zoom = 6;
    static constexpr int Mode_Curseur = 1;
    static constexpr int Mode_Curseur_Prepare = 2;  // the screen writes it just before Mode_Curseur
    static constexpr int Style_Tirets = 4;

    explicit Graphe_Enreg(QWidget* parent = nullptr);

    // Plots.
    void Ajouter_Point(int trace, double x, double y);
    void Reserver_Points(int trace, size_t n);
    void Effacer_Points(int trace);
    long long Nb_Points(int trace) const;
    QPointF Point(int trace, long long index) const;
    QString Nom_Trace(int trace) const;
    bool Visible(int trace) const;
    void Visible(int trace, bool visible);
    bool Enabled(int trace) const;
    void Enabled(int trace, bool actif);
    // The further switch: a plot is drawn when visible and switched on.
    bool Allumee(int trace) const;
    void Allumee(int trace, bool allumee);
    Couleur Couleur_Ligne(int trace) const;
    void Couleur_Ligne(int trace, Couleur couleur);
    int Style_Ligne(int trace) const;
    void Style_Ligne(int trace, int style);  // Style_Tirets: dashes, otherwise a plain line

    // Axes: 1 time (date values), 2 measured values. A written range holds
    // until the operator zooms or pans or the range is rescaled; a range
    // whose minimum is not below its maximum is refused (false).
    double Minimum(int axe) const;
    double Maximum(int axe) const;
    bool Definir_Minimum(int axe, double valeur);
    bool Definir_Maximum(int axe, double valeur);
    bool Definir_Plage(int axe, double minimum, double maximum);
    // Both ends to the lowest and highest point of the plots drawn; nothing
    // changes when they hold no point. A single value is given some room.
    void Ajuster_Aux_Donnees(int axe);
    bool Plage_Imposee(int axe) const;
    void Plage_Imposee(int axe, bool oui);
    Couleur Couleur_Axe(int axe) const;  // line, ticks and labels
    void Couleur_Axe(int axe, Couleur couleur);
    QString Nom_Axe(int axe) const;
    // Major divisions of the time axis and minor ticks per division.
    void Graduations_Temps(int divisions, int secondaires);
    int Divisions_Temps() const { return divisions_temps_; }
    // The smallest range the operator can zoom the time axis to.
    void Etendue_Minimale_Temps(double jours) { etendue_min_x_ = jours; }

    // Cursors: cursor k follows the points of plot k. Setting its X takes it
    // to the nearest point of that plot (its Y is then that point's value).
    bool Curseur_Visible(int curseur) const;
    void Curseur_Visible(int curseur, bool visible);
    double Curseur_X(int curseur) const;
    double Curseur_Y(int curseur) const;
    void Curseur_X(int curseur, double x);
    void Placer_Curseur(int curseur, double x, double y);
    // Index of the cursor's point on its plot; a written index is kept within the points.
    long long Curseur_Index(int curseur) const;
    void Curseur_Index(int curseur, long long index);

    // The graph as a whole.
    int Mode_Interaction() const { return mode_; }
    void Mode_Interaction(int mode);
    Long Capacite_Points() const { return capacite_; }
    void Capacite_Points(Long n) { capacite_ = n; }
    QString Caption() const { return caption_; }
    void Caption(const QString& texte);
    Couleur Couleur_Zone_Trace() const { return couleur_zone_; }
    void Couleur_Zone_Trace(Couleur c);
    Couleur Couleur_Fond() const { return couleur_fond_; }
    void Couleur_Fond(Couleur c);
    // The two further colours: the grid and the frame of the plot area.
    Couleur Couleur_Grille() const { return couleur_grille_; }
    void Couleur_Grille(Couleur c);
    Couleur Couleur_Cadre() const { return couleur_cadre_; }
    void Couleur_Cadre(Couleur c);

    // Notifications, on the user-interface thread.
    std::function<void()> Curseur_Deplace;        // the operator dragged the cursor
    std::function<void()> Zoom;                   // the operator zoomed or panned
    std::function<void(double)> Clic_Graphe;      // click in the plot area, X in axis units

    // Geometry of the plot area, in pixels of the widget, and conversions.
    QRectF Zone_Trace() const;
    double X_Pixel(double x) const;
    double X_Valeur(double pixel) const;
    double Y_Valeur(double pixel) const;

    // The operator's actions, as the mouse makes them; each one raises Zoom.
    void Zoomer_Rectangle(const QRectF& pixels);
    void Zoomer(double facteur, const QPointF& centre, bool valeurs);  // facteur < 1 zooms in
    void Deplacer(const QPointF& decalage);                            // pan by pixels

    // The vertices of a plot as the last paint drew them (visible range,
    // reduced per pixel column), and their count over all plots.
    QPolygonF Polyligne(int trace) const;
    long long Sommets_Dessines() const { return sommets_dessines_; }

protected:
    void paintEvent(QPaintEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void mouseMoveEvent(QMouseEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;
    void wheelEvent(QWheelEvent* evenement) override;

private:
    struct Trace {
        std::vector<double> x;
        std::vector<float> y;
        bool croissante = true;  // dates never go back
        double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
        bool visible = true, enabled = true, allumee = true;
        Couleur couleur = 0;
        int style = 0;
    };
    struct Axe {
        double min = 0, max = 1;
        bool imposee = false;
        Couleur couleur = 0xFFFFFF;
    };
    struct Curseur {
        bool visible = false;
        double x = 0, y = 0;
        long long index = 0;
    };

    Trace* T(int trace);
    const Trace* T(int trace) const;
    Axe* A(int axe);
    const Axe* A(int axe) const;
    Curseur* C(int curseur);
    const Curseur* C(int curseur) const;
    bool Dessinee(const Trace& t) const { return t.visible && t.allumee; }
    void Suivre_Point(int curseur, long long index);
    long long Point_Le_Plus_Proche(const Trace& t, double x) const;
    Projection_Graphe Projection() const;
    void Reduire(const Trace& t, const Projection_Graphe& p, QPolygonF& sortie) const;
    int Curseur_Actif() const;
    bool Mode_Curseur_Actif() const { return mode_ == Mode_Curseur || mode_ == Mode_Curseur_Prepare; }
    void Appliquer_Plage(double x_min, double x_max, double y_min, double y_max);
    void Dessiner_Axes(QPainter& p, const QRectF& zone) const;
    double Marge_Gauche() const;
    double Largeur_Etiquette_Temps() const;

    std::array<Trace, Nb_Traces> traces_;
    std::array<Axe, 2> axes_;
    std::array<Curseur, Nb_Curseurs> curseurs_;
    int mode_ = Mode_Zoom;
    Long capacite_ = 0;
    QString caption_;
    Couleur couleur_zone_ = 0, couleur_fond_ = 0, couleur_grille_ = 0xFFFFFF, couleur_cadre_ = 0;
    int divisions_temps_ = 6, secondaires_temps_ = 4;
    double etendue_min_x_ = 0;
    long long sommets_dessines_ = 0;

    // Mouse gesture in progress.
    enum class Geste { Aucun, Rectangle, Deplacement, Curseur };
    Geste geste_ = Geste::Aucun;
    QPointF depart_, courant_;
};

}  // namespace ostrel
