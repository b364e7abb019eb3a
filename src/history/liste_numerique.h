#pragma once
// The list of the viewer's numeric table: the head lines of a channel, then
// one line per point of the period. A line's text is made only when the list
// shows it, so a table of 32,768 lines opens as fast as one of ten; scrolling,
// selection and the texts are those of a list holding every line.
#include <QListView>
#include <QStringList>
#include <vector>

#include "link/donnees.h"

namespace ostrel {

class Liste_Numerique : public QListView {
public:
    explicit Liste_Numerique(QWidget* parent = nullptr);

    // The lines: the head's as given, then those of the points (date, value
    // and alarm are what a line shows).
    void Remplir(const QStringList& tete, std::vector<Mesure_Enreg> points);
    void clear();
    int count() const;
    QString Ligne(int ligne) const;

protected:
    void changeEvent(QEvent* evenement) override;

private:
    class Modele;
    void Mesurer();  // the room of the widest line, for every line
    Modele* modele_;
};

}  // namespace ostrel
