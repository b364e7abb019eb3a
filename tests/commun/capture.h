#pragma once
// What the picture tools share: their usage line, pictures saved and said on
// the standard error, and waits that let the window system draw.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace ostrel_test {

// False, the usage said, when the tool is given fewer than `n` arguments.
inline bool Arguments_Suffisants(int argc, int n, const char* usage) {
    if (argc > n) return true;
    std::fprintf(stderr, "usage : %s\n", usage);
    return false;
}

// A picture in a file; said on the standard error.
inline bool Image_Enregistree(bool ok, const QString& chemin) {
    std::fprintf(stderr, "%s : %s\n", qPrintable(chemin), ok ? "écrit" : "échec");
    return ok;
}
inline bool Enregistrer_Image(const QImage& image, const QString& chemin) {
    return Image_Enregistree(image.save(chemin), chemin);
}
inline bool Enregistrer_Image(const QPixmap& image, const QString& chemin) {
    return Image_Enregistree(image.save(chemin), chemin);
}
inline bool Enregistrer_Image(QWidget* w, const QString& chemin) { return Enregistrer_Image(w->grab(), chemin); }

// The event loop run for `ms` milliseconds, timers included.
inline void Attendre(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace ostrel_test
