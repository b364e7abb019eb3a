#include "platform/ui/imprimante_qt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "platform/dates.h"
#include "platform/fichiers.h"
#include "platform/ui/file_impression.h"

namespace ostrel {
namespace {

const QString Titre_Document = QStringLiteral("OstrelSoft");

// Dots per inch the pages are drawn at, and lines measured at.
constexpr int Resolution = 1200;

QString Deux(int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); }

QString Nom_Document(Date quand) {
    const Composantes_Date c = Decomposer(quand);
    return QStringLiteral("Impression_%1-%2-%3_%4-%5-%6")
        .arg(c.Annee)
        .arg(Deux(c.Mois), Deux(c.Jour), Deux(c.Heure), Deux(c.Minute), Deux(c.Seconde));
}

QPageLayout::Orientation Sens(int orientation) {
    return orientation == vbPRORLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The page of a queue's printer as the print server describes it (its sheet,
// the border it cannot print), with our margins where that border is
// narrower; an A4 sheet when it says nothing, or for a PDF file. Our margins
// are close to the unprintable border of common printers, so that the widest
// reports fit across a landscape A4 page.
QPageLayout Mise_En_Page(const File_Impression& file, int orientation) {
    const QPageSize feuille = file.Feuille_mm ? QPageSize(*file.Feuille_mm, QPageSize::Millimeter) : QPageSize(QPageSize::A4);
    QMarginsF bords = file.Bords_mm;
    if (orientation == vbPRORLandscape) {
        // The sheet turned either way: each border may come to either side.
        const double cotes = std::max(bords.top(), bords.bottom()), haut_bas = std::max(bords.left(), bords.right());
        bords = QMarginsF(cotes, haut_bas, cotes, haut_bas);
    }
    const QMarginsF marges(std::max(Marge_Page_mm, bords.left()), std::max(Marge_Page_mm, bords.top()),
                           std::max(Marge_Page_mm, bords.right()), std::max(Marge_Page_mm, bords.bottom()));
    return QPageLayout(feuille, Sens(orientation), marges, QPageLayout::Millimeter, bords);
}

QString Fichier_Non_Ecrit(const QString& fichier, const QString& raison) {
    return QStringLiteral("le fichier %1 ne peut pas être écrit : %2").arg(fichier, raison);
}

}  // namespace

// The PDF writer's output: a safe save of a new file, so that a printout not
// written whole (a full disk, a size limit) is seen, and leaves nothing
// behind. The writer never looks at what its writes give back; this device
// keeps the first failure for the printer to tell.
class Sortie_Pdf : public QIODevice {
public:
    // A name another program takes meanwhile leaves the file the next free one.
    explicit Sortie_Pdf(const QString& chemin) : sauvegarde_(chemin, Nom_Pris::Suivant) {}
    QString Erreur() const { return sauvegarde_.Erreur(); }
    QString Chemin() const { return sauvegarde_.Chemin(); }
    Resultat_Fichier Terminer() {
        Vider();
        return sauvegarde_.Terminer();
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* octets, qint64 taille) override {
        // The writer gives many short pieces: the disk takes them by the 64 KiB.
        tampon_.append(octets, taille);
        if (tampon_.size() >= 1 << 16) Vider();
        return taille;
    }

private:
    void Vider() {
        sauvegarde_.Ecrire(tampon_);
        tampon_.resize(0);
    }
    Sauvegarde_Progressive sauvegarde_;
    QByteArray tampon_;
};

// The pages being drawn and where they go: a print queue's job, whose pages
// are those of one document, or a PDF file, which takes every document of a
// printout in turn.
struct Imprimante_Qt::Dessin {
    std::unique_ptr<QBuffer> travail;    // a print queue's document
    std::unique_ptr<Sortie_Pdf> sortie;  // or a PDF file's
    std::unique_ptr<QPdfWriter> pdf;
    std::unique_ptr<QPainter> painter;
    bool echec = false;  // it cannot be completed
    QString erreur;
    int pages = 1;  // of the document, for a queue
    double y = 0;   // top of the next line, in device pixels
    bool orientation_a_appliquer = false;
    // The lines of the page under way, drawn when it ends, once its width is known.
    struct Ligne {
        QFont police;
        QString texte;
        double base, bas, largeur;  // baseline, bottom and width of what shows, in device pixels
    };
    std::vector<Ligne> lignes;
};

// One printout, from its start to its end.
struct Imprimante_Qt::Impression {
    Service_Impression service;          // the print server as this printout sees it
    std::optional<File_Impression> file;  // its queue, looked up when it first needs it
    int pages_envoyees = 0;               // pages of the printout the queue has taken
    std::unique_ptr<Dessin> dessin;       // the document drawn, or the PDF file that waits for more
    bool document = false;                // a document is started and not ended
    // The scale its pages in portrait, then in landscape, were last drawn at.
    std::array<double, 2> echelles{1, 1};
    // The queue the printout goes to, the default one when it started (no name: a PDF file).
    const File_Impression& File(bool forcer_pdf) {
        if (!file) file = forcer_pdf ? File_Impression() : service.File_Par_Defaut();
        return *file;
    }
};

Imprimante_Qt::Imprimante_Qt(std::function<QString()> dossier_pdf) : dossier_pdf_(std::move(dossier_pdf)) {}

Imprimante_Qt::~Imprimante_Qt() {
    // A document or a printout left open is ended, as the system does when the program exits.
    imbrications_ = 0;
    if (impression_ && impression_->dessin) Terminer_Dessin();
}

bool Imprimante_Qt::Imprimante_Systeme_Configuree() { return !Service_Impression().File_Par_Defaut().Nom.isEmpty(); }

QString Imprimante_Qt::Police_Installee(const QString& nom) {
    const QStringList familles = QFontDatabase::families();
    auto installee = [&familles](const QString& f) { return familles.contains(f, Qt::CaseInsensitive); };
    if (installee(nom)) return nom;
    if (nom.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0 ||
        nom.compare(QLatin1String("Courier"), Qt::CaseInsensitive) == 0) {
        for (const char* f : {"Liberation Mono", "DejaVu Sans Mono"})
            if (installee(QLatin1String(f))) return QLatin1String(f);
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }
    return nom;
}

void Imprimante_Qt::Orientation(int orientation) {
    if (orientation == orientation_) return;
    Imprimante::Orientation(orientation);
    // Within a document the new orientation takes effect on the next page.
    if (impression_ && impression_->document) impression_->dessin->orientation_a_appliquer = true;
}

void Imprimante_Qt::Abandonner(const QString& raison) {
    Dessin& d = *impression_->dessin;
    if (!d.echec) d.erreur = raison;
    d.echec = true;
}

void Imprimante_Qt::Abandonner_Sauf_Fichier(const QString& raison) {
    // A file that no longer takes what is written is the first cause.
    const Sortie_Pdf* sortie = impression_->dessin->sortie.get();
    if (sortie && !sortie->Erreur().isEmpty())
        Abandonner(Fichier_Non_Ecrit(sortie->Chemin(), sortie->Erreur()));
    else
        Abandonner(raison);
}

double Imprimante_Qt::Hauteur_Page() const {
    const QPdfWriter& pdf = *impression_->dessin->pdf;
    return pdf.pageLayout().paintRectPixels(pdf.logicalDpiY()).height();
}

void Imprimante_Qt::Commencer_Document() {
    // A document outside Debut_Impression is a printout of its own.
    if (!impression_) impression_ = std::make_unique<Impression>();
    Impression& impression = *impression_;
    impression.document = true;
    if (impression.dessin) {
        // The printout's file goes on: the document starts a page of its own, in its orientation.
        impression.dessin->orientation_a_appliquer = true;
        Nouvelle_Page();
        return;
    }
    impression.dessin = std::make_unique<Dessin>();
    Dessin& d = *impression.dessin;
    const File_Impression& file = impression.File(forcer_pdf_);
    if (!file.Nom.isEmpty()) {
        // A queue that takes no job is told before a page is drawn for nothing.
        if (!file.Refus.isEmpty()) {
            Abandonner(file.Refus);
            return;
        }
        // Drawn as PDF, as Qt's own print engine would, but handed over by us,
        // so that the print server's answer is heard.
        d.travail = std::make_unique<QBuffer>();
        d.travail->open(QIODevice::WriteOnly);
        d.pdf = std::make_unique<QPdfWriter>(d.travail.get());
    } else {
        const QString dossier = dossier_pdf_ ? dossier_pdf_() : QString();
        if (dossier.isEmpty() || !QDir().mkpath(dossier)) {
            Abandonner(QStringLiteral("le dossier des impressions %1 ne peut pas être créé").arg(dossier));
            return;
        }
        d.sortie = std::make_unique<Sortie_Pdf>(QDir(dossier).filePath(Nom_Document(Maintenant()) + QStringLiteral(".pdf")));
        if (!d.sortie->Erreur().isEmpty() || !d.sortie->open(QIODevice::WriteOnly)) {
            Abandonner(Fichier_Non_Ecrit(d.sortie->Chemin(), d.sortie->Erreur()));
            d.sortie.reset();
            return;
        }
        d.pdf = std::make_unique<QPdfWriter>(d.sortie.get());
    }
    d.pdf->setPageLayout(Mise_En_Page(file, orientation_));
    d.pdf->setResolution(Resolution);
    d.pdf->setTitle(Titre_Document);
    d.painter = std::make_unique<QPainter>();
    if (!d.painter->begin(d.pdf.get())) Abandonner_Sauf_Fichier(QStringLiteral("le document n'a pas pu être commencé"));
}

void Imprimante_Qt::Dessiner_Lignes() {
    Dessin& d = *impression_->dessin;
    if (d.lignes.empty()) return;
    // Still on the page these lines belong to: a sheet turned takes effect on the next.
    const QPageLayout mise_en_page = d.pdf->pageLayout();
    const QRectF page = mise_en_page.paintRectPixels(d.pdf->logicalDpiY());
    // A page the report laid out wider than the printer prints is drawn
    // smaller, whole: nothing runs into the border or off the sheet. The
    // pages after it in that orientation are drawn as small, so that a
    // printout keeps one size of print.
    double& echelle = impression_->echelles[mise_en_page.orientation() == QPageLayout::Landscape ? 1 : 0];
    for (const Dessin::Ligne& l : d.lignes) {
        if (l.largeur > page.width()) echelle = std::min(echelle, page.width() / l.largeur);
        if (l.bas > page.height()) echelle = std::min(echelle, page.height() / l.bas);
    }
    if (echelle < 1) {
        d.painter->save();
        d.painter->scale(echelle, echelle);
    }
    for (const Dessin::Ligne& l : d.lignes) {
        d.painter->setFont(l.police);
        if (!l.texte.isEmpty()) d.painter->drawText(QPointF(0, l.base), l.texte);
    }
    if (echelle < 1) d.painter->restore();
    d.lignes.clear();
}

void Imprimante_Qt::Nouvelle_Page() {
    Dessin& d = *impression_->dessin;
    Dessiner_Lignes();
    if (d.orientation_a_appliquer) {
        // The sheet turned, with the borders its printer leaves on each side then.
        d.pdf->setPageLayout(Mise_En_Page(impression_->File(forcer_pdf_), orientation_));
        d.orientation_a_appliquer = false;
    }
    // The page ended went to the file: one that no longer takes it stops the
    // printout here, with no more pages drawn for nothing.
    if (!d.pdf->newPage() || (d.sortie && !d.sortie->Erreur().isEmpty()))
        Abandonner_Sauf_Fichier(QStringLiteral("l'imprimante n'a pas pu passer à la page suivante"));
    ++d.pages;
    d.y = 0;
}

void Imprimante_Qt::Print(const std::vector<Item>& items) {
    if (!impression_ || !impression_->document) Commencer_Document();
    Dessin& d = *impression_->dessin;
    if (d.echec) return;
    const QFont police = Police();
    const QFontMetricsF mesures(police, d.pdf.get());
    if (d.y > 0 && d.y + mesures.height() > Hauteur_Page()) {
        Nouvelle_Page();
        if (d.echec) return;
    }
    const QString texte = Composer_Ligne(items);
    // The blanks that end a line take no room on paper.
    qsizetype visible = texte.size();
    while (visible > 0 && texte[visible - 1].isSpace()) --visible;
    d.lignes.push_back({police, texte, d.y + mesures.ascent(), d.y + mesures.height(),
                        mesures.horizontalAdvance(texte.left(visible))});
    d.y += mesures.lineSpacing();
}

void Imprimante_Qt::NewPage() {
    if (!impression_ || !impression_->document) Commencer_Document();
    if (impression_->dessin->echec) return;
    Nouvelle_Page();
}

void Imprimante_Qt::Imprimer_Image(const QImage& image) {
    if (!impression_ || !impression_->document) Commencer_Document();
    Dessin& d = *impression_->dessin;
    if (d.echec) return;
    if (d.y > 0 || d.orientation_a_appliquer) {
        Nouvelle_Page();
        if (d.echec) return;
    }
    const QRectF page = d.pdf->pageLayout().paintRectPixels(d.pdf->logicalDpiY());
    if (!image.isNull() && page.width() > 0 && page.height() > 0) {
        // The whole picture on the page, its proportions kept, from the top left.
        const double echelle = std::min(page.width() / image.width(), page.height() / image.height());
        const QRectF cible(0, 0, image.width() * echelle, image.height() * echelle);
        d.painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        d.painter->drawImage(cible, image);
    }
    // The page is full: a line printed next starts the following page.
    d.y = page.height() + 1;
}

QFont Imprimante_Qt::Police() const {
    QFont police(Police_Installee(police_));
    police.setStyleHint(QFont::TypeWriter);
    police.setFixedPitch(true);
    police.setPointSizeF(taille_ > 0 ? taille_ : 10);
    police.setBold(gras_);
    return police;
}

File_Impression Imprimante_Qt::File_Vue() const {
    // Outside a printout, the default queue is looked up for this answer alone.
    Impression seule;
    Impression& impression = impression_ ? *impression_ : seule;
    return impression.File(forcer_pdf_);
}

std::optional<int> Imprimante_Qt::Lignes_Par_Page() const {
    // Counted as Print lays the lines down a page, on a device of the
    // resolution they are drawn at.
    QBuffer rien;
    QPdfWriter mesure(&rien);
    mesure.setResolution(Resolution);
    const QFontMetricsF mesures(Police(), &mesure);
    const double hauteur = Mise_En_Page(File_Vue(), orientation_).paintRectPixels(Resolution).height();
    int lignes = 1;
    for (double y = mesures.lineSpacing(); y + mesures.height() <= hauteur; y += mesures.lineSpacing()) ++lignes;
    return lignes;
}

Zone_Imprimable_Page Imprimante_Qt::Zone_Imprimable() const {
    const File_Impression file = File_Vue();
    if (file.Nom.isEmpty()) return Zone_A4(orientation_);
    const QRectF mm = Mise_En_Page(file, orientation_).paintRect(QPageLayout::Millimeter);
    return {mm.left() * Twips_Par_mm, mm.top() * Twips_Par_mm, mm.width() * Twips_Par_mm, mm.height() * Twips_Par_mm};
}

Resultat_Impression Imprimante_Qt::EndDoc() {
    Resultat_Impression resultat;
    if (!impression_ || !impression_->document) {
        // Nothing was printed: there is no document to send.
        resultat.Reussi = true;
        return resultat;
    }
    Impression& impression = *impression_;
    impression.document = false;
    const Dessin& d = *impression.dessin;
    if (imbrications_ > 0 && !d.echec && d.sortie) {
        // The pages wait in the printout's file for the documents that follow.
        resultat.Reussi = true;
        resultat.Pdf_En_Attente = true;
        return resultat;
    }
    resultat = Terminer_Dessin();
    // A document outside Debut_Impression ends its printout.
    if (imbrications_ == 0) impression_.reset();
    return resultat;
}

void Imprimante_Qt::Debut_Impression() {
    // A document already begun outside it becomes its first.
    if (imbrications_++ == 0 && !impression_) impression_ = std::make_unique<Impression>();
}

Resultat_Impression Imprimante_Qt::Fin_Impression() {
    Resultat_Impression resultat;
    resultat.Reussi = true;
    if (imbrications_ == 0) return resultat;
    if (--imbrications_ > 0) {
        // The printout that holds this one writes the file.
        resultat.Pdf_En_Attente = impression_ && impression_->dessin;
        return resultat;
    }
    // The document left open and the file waiting are one drawing, handed over now.
    if (impression_ && impression_->dessin) resultat = Terminer_Dessin();
    impression_.reset();
    return resultat;
}

Resultat_Impression Imprimante_Qt::Terminer_Dessin() {
    Impression& impression = *impression_;
    impression.document = false;
    Dessin& d = *impression.dessin;
    if (d.painter && d.painter->isActive() && !d.echec) Dessiner_Lignes();
    if (d.painter && d.painter->isActive() && !d.painter->end())
        Abandonner_Sauf_Fichier(QStringLiteral("le document n'a pas pu être terminé"));
    // The document is printed once the print server has taken it whole.
    if (!d.echec && d.travail) {
        const QString refus = impression.service.Envoyer_Pdf(impression.file->Nom, Titre_Document, d.travail->data());
        if (refus.isEmpty())
            impression.pages_envoyees += d.pages;
        else
            Abandonner(refus);
    }
    // The file gets its name only once all of it is on the disk; else the
    // device leaves nothing behind.
    if (!d.echec && d.sortie) {
        const Resultat_Fichier ecrit = d.sortie->Terminer();
        if (!ecrit) Abandonner(Fichier_Non_Ecrit(d.sortie->Chemin(), ecrit.Erreur));
    }
    Resultat_Impression resultat;
    if (d.echec) {
        resultat.Erreur = d.erreur;
        resultat.Pages_Envoyees = impression.pages_envoyees;
    } else {
        resultat.Reussi = true;
        if (d.sortie) resultat.Fichier_Pdf = d.sortie->Chemin();
    }
    impression.dessin.reset();
    return resultat;
}

}  // namespace ostrel
