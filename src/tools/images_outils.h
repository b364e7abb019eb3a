#pragma once
// The pictures of the companion programs' windows (371 x 164 pixels): a
// recordings file turned into a spreadsheet, a first-version file turned
// into a current one.
#include <QPixmap>

namespace ostrel {

QPixmap Image_Exportation();
QPixmap Image_Conversion();

}  // namespace ostrel
