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
#include <deque>
#include <optional>
#include <vector>

#include "platform/dates.h"
#include "platform/fichiers.h"
#include "platform/ui/curseur_attente.h"
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

// Where the pages are drawn: a print queue's job, whose pages are those of
// one document, or a PDF file, which takes every document of a printout in turn.
struct Imprimante_Qt::Dessin {
    std::unique_ptr<QBuffer> travail;    // a print queue's document
    std::unique_ptr<Sortie_Pdf> sortie;  // or a PDF file's
    std::unique_ptr<QPdfWriter> pdf;
    std::unique_ptr<QPainter> painter;
    int orientation = vbPRORPortrait;  // of the writer's page
    int document = 0;                  // of the last page drawn
    int pages = 0;                     // drawn so far
};

// A page as its printout laid it out, kept until it is drawn: lines, or the
// picture of a screen.
struct Imprimante_Qt::Page {
    int orientation = vbPRORPortrait;
    int document = 0;  // its document's number in the printout
    // A line that shows something: its baseline in device pixels, its text
    // (closing blanks left out, which take no room on paper) in UTF-8 among
    // the page's texts, its font by its number in the printout's table.
    struct Ligne {
        double base;
        int debut, taille;
        int police;
    };
    std::vector<Ligne> lignes;
    QByteArray textes;  // one after the other; packed (qCompress) once the page is ended
    QImage image;
};

// A font of the printer's settings, as it is drawn and measured.
struct Imprimante_Qt::Police_Tenue {
    QString nom;
    Simple taille;
    bool gras;
    QFont police;
    QFontMetricsF mesures;
};

// One printout, from its start to its end.
struct Imprimante_Qt::Impression {
    Service_Impression service;          // the print server as this printout sees it
    std::optional<File_Impression> file;  // its queue, looked up when it first needs it
    int pages_envoyees = 0;               // pages of the printout the queue has taken
    bool document = false;                // a document is started and not ended
    int documents = 0;                    // documents started
    // Lines are measured on a device of the resolution they are drawn at.
    QBuffer rien;
    std::unique_ptr<QPdfWriter> mesure;
    std::vector<Police_Tenue> polices;
    int police = -1;              // the last one used
    std::optional<Page> page;     // the page under way
    double y = 0;                 // top of its next line, in device pixels
    std::deque<Page> attente;     // pages ended, not drawn yet, in their order
    // The scale every page of lines is drawn at: the smallest any of them needs.
    double echelle = 1;
    std::unique_ptr<Dessin> dessin;
    bool echec = false;  // it cannot be completed
    QString erreur;
    std::array<std::optional<QPageLayout>, 2> mises_en_page;  // portrait, landscape
    // The queue the printout goes to, the default one when it started (no name: a PDF file).
    const File_Impression& File(bool forcer_pdf) {
        if (!file) file = forcer_pdf ? File_Impression() : service.File_Par_Defaut();
        return *file;
    }
    const QPageLayout& Mise_En_Page_De(int orientation, bool forcer_pdf) {
        std::optional<QPageLayout>& m = mises_en_page[orientation == vbPRORLandscape ? 1 : 0];
        if (!m) m = Mise_En_Page(File(forcer_pdf), orientation);
        return *m;
    }
    // Something is kept, or drawn and not handed over yet.
    bool A_Remettre() const { return page || !attente.empty() || dessin; }
};

Imprimante_Qt::Imprimante_Qt(std::function<QString()> dossier_pdf) : dossier_pdf_(std::move(dossier_pdf)) {}

Imprimante_Qt::~Imprimante_Qt() {
    // A document or a printout left open is ended, as the system does when the program exits.
    imbrications_ = 0;
    if (impression_ && impression_->A_Remettre()) Terminer_Impression();
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

void Imprimante_Qt::Abandonner(const QString& raison) {
    Impression& impression = *impression_;
    if (!impression.echec) impression.erreur = raison;
    impression.echec = true;
}

void Imprimante_Qt::Abandonner_Sauf_Fichier(const QString& raison) {
    // A file that no longer takes what is written is the first cause.
    const Sortie_Pdf* sortie = impression_->dessin ? impression_->dessin->sortie.get() : nullptr;
    if (sortie && !sortie->Erreur().isEmpty())
        Abandonner(Fichier_Non_Ecrit(sortie->Chemin(), sortie->Erreur()));
    else
        Abandonner(raison);
}

Resultat_Impression Imprimante_Qt::Echec_Dit() {
    Resultat_Impression resultat;
    resultat.Erreur = impression_->erreur;
    resultat.Pages_Envoyees = impression_->pages_envoyees;
    Oublier_Pages();
    return resultat;
}

void Imprimante_Qt::Oublier_Pages() {
    // A PDF file not ended leaves nothing behind.
    Impression& impression = *impression_;
    impression.page.reset();
    impression.attente.clear();
    impression.dessin.reset();
    impression.echec = false;
    impression.erreur.clear();
    impression.echelle = 1;
    impression.y = 0;
}

QRectF Imprimante_Qt::Zone_Page(int orientation) {
    return impression_->Mise_En_Page_De(orientation, forcer_pdf_).paintRectPixels(Resolution);
}

void Imprimante_Qt::Commencer_Document() {
    // A document outside Debut_Impression is a printout of its own.
    if (!impression_) impression_ = std::make_unique<Impression>();
    Impression& impression = *impression_;
    impression.document = true;
    ++impression.documents;
    // A document starts a page of its own, in the printer's orientation.
    Ouvrir_Page();
    const File_Impression& file = impression.File(forcer_pdf_);
    if (!file.Nom.isEmpty()) {
        // A queue that takes no job is told before a page is laid out for nothing.
        if (!file.Refus.isEmpty()) Abandonner(file.Refus);
    } else if (!impression.dessin) {
        // The PDF file is made with the printout's first page: one that cannot be is told at once.
        Ouvrir_Dessin(impression.page->orientation);
    }
}

bool Imprimante_Qt::Ouvrir_Dessin(int orientation) {
    Impression& impression = *impression_;
    impression.dessin = std::make_unique<Dessin>();
    Dessin& d = *impression.dessin;
    const File_Impression& file = impression.File(forcer_pdf_);
    if (!file.Nom.isEmpty()) {
        // Drawn as PDF, as Qt's own print engine would, but handed over by us,
        // so that the print server's answer is heard.
        d.travail = std::make_unique<QBuffer>();
        d.travail->open(QIODevice::WriteOnly);
        d.pdf = std::make_unique<QPdfWriter>(d.travail.get());
    } else {
        const QString dossier = dossier_pdf_ ? dossier_pdf_() : QString();
        if (dossier.isEmpty() || !QDir().mkpath(dossier)) {
            Abandonner(QStringLiteral("le dossier des impressions %1 ne peut pas être créé").arg(dossier));
            impression.dessin.reset();
            return false;
        }
        d.sortie = std::make_unique<Sortie_Pdf>(QDir(dossier).filePath(Nom_Document(Maintenant()) + QStringLiteral(".pdf")));
        if (!d.sortie->Erreur().isEmpty() || !d.sortie->open(QIODevice::WriteOnly)) {
            Abandonner(Fichier_Non_Ecrit(d.sortie->Chemin(), d.sortie->Erreur()));
            impression.dessin.reset();
            return false;
        }
        d.pdf = std::make_unique<QPdfWriter>(d.sortie.get());
    }
    d.pdf->setPageLayout(impression.Mise_En_Page_De(orientation, forcer_pdf_));
    d.orientation = orientation;
    d.pdf->setResolution(Resolution);
    d.pdf->setTitle(Titre_Document);
    d.painter = std::make_unique<QPainter>();
    if (!d.painter->begin(d.pdf.get())) {
        Abandonner_Sauf_Fichier(QStringLiteral("le document n'a pas pu être commencé"));
        impression.dessin.reset();
        return false;
    }
    return true;
}

void Imprimante_Qt::Ouvrir_Page() {
    Impression& impression = *impression_;
    impression.page.emplace();
    impression.page->orientation = orientation_;
    impression.page->document = impression.documents;
    impression.y = 0;
}

void Imprimante_Qt::Fermer_Page() {
    Impression& impression = *impression_;
    if (!impression.page) return;
    // A long printout keeps thousands of pages: their texts, made of blanks
    // and figures much alike, take a few times less room packed.
    if (!impression.page->textes.isEmpty()) {
        impression.page->textes = qCompress(impression.page->textes, 1);
        impression.page->textes.squeeze();
    }
    impression.page->lignes.shrink_to_fit();
    impression.attente.push_back(std::move(*impression.page));
    impression.page.reset();
    Dessiner_Pages(false);
}

void Imprimante_Qt::Nouvelle_Page() {
    Fermer_Page();
    if (!impression_->echec) Ouvrir_Page();
}

void Imprimante_Qt::Dessiner_Pages(bool toutes) {
    // A page of lines waits for the end of its printout, which alone tells
    // the size of its print; so do the pages after it, which keep their order.
    Impression& impression = *impression_;
    while (!impression.echec && !impression.attente.empty() && (toutes || impression.attente.front().lignes.empty())) {
        Dessiner_Page(impression.attente.front());
        impression.attente.pop_front();
    }
}

void Imprimante_Qt::Dessiner_Page(const Page& page) {
    Impression& impression = *impression_;
    // A queue takes each document as a job of its own.
    if (impression.dessin && impression.dessin->travail && impression.dessin->document != page.document) {
        Remettre_Travail();
        if (impression.echec) return;
    }
    if (!impression.dessin && !Ouvrir_Dessin(page.orientation)) return;
    Dessin& d = *impression.dessin;
    if (d.pages > 0) {
        // The sheet turned, with the borders its printer leaves on each side then.
        if (page.orientation != d.orientation) {
            d.pdf->setPageLayout(impression.Mise_En_Page_De(page.orientation, forcer_pdf_));
            d.orientation = page.orientation;
        }
        // The page before went to the file: one that no longer takes it stops
        // the printout here, with no more pages drawn for nothing.
        if (!d.pdf->newPage() || (d.sortie && !d.sortie->Erreur().isEmpty())) {
            Abandonner_Sauf_Fichier(QStringLiteral("l'imprimante n'a pas pu passer à la page suivante"));
            return;
        }
    }
    d.document = page.document;
    ++d.pages;
    QPainter& peintre = *d.painter;
    if (!page.lignes.empty()) {
        if (impression.echelle < 1) {
            peintre.save();
            peintre.scale(impression.echelle, impression.echelle);
        }
        int police = -1;
        const QByteArray textes = qUncompress(page.textes);
        for (const Page::Ligne& l : page.lignes) {
            if (l.police != police) peintre.setFont(impression.polices[static_cast<size_t>(police = l.police)].police);
            peintre.drawText(QPointF(0, l.base), QString::fromUtf8(textes.constData() + l.debut, l.taille));
        }
        if (impression.echelle < 1) peintre.restore();
    }
    const QRectF zone = Zone_Page(page.orientation);
    if (!page.image.isNull() && zone.width() > 0 && zone.height() > 0) {
        // The whole picture on the page, its proportions kept, from the top left.
        const double echelle = std::min(zone.width() / page.image.width(), zone.height() / page.image.height());
        const QRectF cible(0, 0, page.image.width() * echelle, page.image.height() * echelle);
        peintre.setRenderHint(QPainter::SmoothPixmapTransform, true);
        peintre.drawImage(cible, page.image);
    }
}

int Imprimante_Qt::Police_Courante() {
    Impression& impression = *impression_;
    const auto reglee = [this](const Police_Tenue& p) { return p.nom == police_ && p.taille == taille_ && p.gras == gras_; };
    if (impression.police >= 0 && reglee(impression.polices[static_cast<size_t>(impression.police)])) return impression.police;
    const auto trouvee = std::find_if(impression.polices.begin(), impression.polices.end(), reglee);
    if (trouvee != impression.polices.end()) return impression.police = static_cast<int>(trouvee - impression.polices.begin());
    if (!impression.mesure) {
        impression.mesure = std::make_unique<QPdfWriter>(&impression.rien);
        impression.mesure->setResolution(Resolution);
    }
    const QFont police = Police();
    impression.polices.push_back({police_, taille_, gras_, police, QFontMetricsF(police, impression.mesure.get())});
    return impression.police = static_cast<int>(impression.polices.size()) - 1;
}

void Imprimante_Qt::Print(const std::vector<Item>& items) {
    if (!impression_ || !impression_->document) Commencer_Document();
    Impression& impression = *impression_;
    if (impression.echec) return;
    const int police = Police_Courante();
    const QFontMetricsF& mesures = impression.polices[static_cast<size_t>(police)].mesures;
    // After a picture, or past the foot of the page, the line starts the next page.
    if (!impression.page)
        Ouvrir_Page();
    else if (impression.y > 0 && impression.y + mesures.height() > Zone_Page(impression.page->orientation).height())
        Nouvelle_Page();
    if (impression.echec) return;
    const QString texte = Composer_Ligne(items);
    qsizetype visible = texte.size();
    while (visible > 0 && texte[visible - 1].isSpace()) --visible;
    if (visible > 0) {
        // A page the report laid out wider than the printer prints is drawn
        // smaller, whole: nothing runs into the border or off the sheet. So
        // is every page of the printout, so that it keeps one size of print.
        const QRectF zone = Zone_Page(impression.page->orientation);
        const double largeur = mesures.horizontalAdvance(texte.left(visible)), bas = impression.y + mesures.height();
        if (largeur > zone.width()) impression.echelle = std::min(impression.echelle, zone.width() / largeur);
        if (bas > zone.height()) impression.echelle = std::min(impression.echelle, zone.height() / bas);
        Page& page = *impression.page;
        const QByteArray utf8 = QStringView(texte).left(visible).toUtf8();
        page.lignes.push_back({impression.y + mesures.ascent(), static_cast<int>(page.textes.size()), static_cast<int>(utf8.size()), police});
        page.textes.append(utf8);
    }
    impression.y += mesures.lineSpacing();
}

void Imprimante_Qt::NewPage() {
    if (!impression_ || !impression_->document) Commencer_Document();
    if (impression_->echec) return;
    Nouvelle_Page();
}

void Imprimante_Qt::Imprimer_Image(const QImage& image) {
    if (!impression_ || !impression_->document) Commencer_Document();
    Impression& impression = *impression_;
    if (impression.echec) return;
    // A page of its own, in the orientation the printer has now.
    if (impression.page && (impression.y > 0 || impression.page->orientation != orientation_)) Fermer_Page();
    if (impression.echec) return;
    if (!impression.page) Ouvrir_Page();
    impression.page->image = image;
    // The page is full: a line printed next starts the following page.
    Fermer_Page();
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

QString Imprimante_Qt::Envoyer_Document(const QByteArray& pdf) {
    return impression_->service.Envoyer_Pdf(impression_->file->Nom, Titre_Document, pdf);
}

void Imprimante_Qt::Remettre_Travail() {
    Impression& impression = *impression_;
    Dessin& d = *impression.dessin;
    if (d.painter->isActive() && !d.painter->end()) Abandonner(QStringLiteral("le document n'a pas pu être terminé"));
    // The document is printed once the print server has taken it whole.
    if (!impression.echec) {
        const QString refus = Envoyer_Document(d.travail->data());
        if (refus.isEmpty())
            impression.pages_envoyees += d.pages;
        else
            Abandonner(refus);
    }
    impression.dessin.reset();
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
    // A document outside Debut_Impression ends its printout.
    if (imbrications_ == 0) {
        resultat = Terminer_Impression();
        impression_.reset();
        return resultat;
    }
    Fermer_Page();
    if (impression.echec) return Echec_Dit();
    // A document whose pages are all drawn (pictures) goes to its queue now;
    // else it waits, with the file, for the end of the printout.
    if (impression.attente.empty() && impression.dessin && impression.dessin->travail) {
        Remettre_Travail();
        if (impression.echec) return Echec_Dit();
    } else {
        resultat.En_Attente = true;
    }
    resultat.Reussi = true;
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
        // The printout that holds this one hands its pages over.
        resultat.En_Attente = impression_ && impression_->A_Remettre();
        return resultat;
    }
    // The document left open and the pages waiting are one drawing, handed over now.
    if (impression_ && impression_->A_Remettre()) resultat = Terminer_Impression();
    impression_.reset();
    return resultat;
}

Resultat_Impression Imprimante_Qt::Terminer_Impression() {
    Impression& impression = *impression_;
    impression.document = false;
    Fermer_Page();
    if (!impression.attente.empty() && !impression.echec) {
        // The pages kept are drawn now: it may take a while for a long printout.
        Curseur_Attente attente;
        Dessiner_Pages(true);
    }
    QString fichier;
    if (!impression.echec && impression.dessin) {
        Dessin& d = *impression.dessin;
        if (d.travail) {
            Remettre_Travail();
        } else {
            if (d.painter->isActive() && !d.painter->end())
                Abandonner_Sauf_Fichier(QStringLiteral("le document n'a pas pu être terminé"));
            // The file gets its name only once all of it is on the disk; else
            // the device leaves nothing behind.
            if (!impression.echec) {
                const Resultat_Fichier ecrit = d.sortie->Terminer();
                if (ecrit)
                    fichier = d.sortie->Chemin();
                else
                    Abandonner(Fichier_Non_Ecrit(d.sortie->Chemin(), ecrit.Erreur));
            }
        }
    }
    if (impression.echec) return Echec_Dit();
    Resultat_Impression resultat;
    resultat.Reussi = true;
    resultat.Fichier_Pdf = fichier;
    Oublier_Pages();
    return resultat;
}

}  // namespace ostrel
