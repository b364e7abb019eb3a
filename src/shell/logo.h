#pragma once
// The program's logo, drawn at the size asked: a round badge with a
// thermometer and the signal of the bus, and the name Ostrel.
#include <QPixmap>
#include <QSize>

namespace ostrel {

QPixmap Logo_Ostrel(QSize taille);

}  // namespace ostrel
