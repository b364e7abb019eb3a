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
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "platform/dates.h"
#include "platform/fichiers.h"
#include "platform/ui/file_impression.h"

namespace ostrel {
namespace {

const QString Titre_Document = QStringLiteral("OstrelSoft");

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

// The page of a queue's printer as its driver describes it (its paper, the
// border it cannot print), with our margins; an A4 sheet when the driver says nothing.
QPageLayout Mise_En_Page(const QString& file, int orientation) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(file);
    const QMarginsF marges(Marge_Page_mm, Marge_Page_mm, Marge_Page_mm, Marge_Page_mm);
    if (info.isNull()) return QPageLayout(QPageSize(QPageSize::A4), Sens(orientation), marges, QPageLayout::Millimeter);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageMargins(marges, QPageLayout::Millimeter);
    printer.setPageOrientation(Sens(orientation));
    return printer.pageLayout();
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

Imprimante_Qt::Imprimante_Qt(std::function<QString()> dossier_pdf) : dossier_pdf_(std::move(dossier_pdf)) {}

Imprimante_Qt::~Imprimante_Qt() {
    // A document or a printout left open is ended, as the system does when the program exits.
    if (impressions_ > 0) {
        impressions_ = 1;
        Fin_Impression();
    } else if (en_cours_) {
        EndDoc();
    }
}

bool Imprimante_Qt::Imprimante_Systeme_Configuree() { return !File_Impression_Par_Defaut().isEmpty(); }

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
    if (en_cours_) orientation_a_appliquer_ = true;
}

void Imprimante_Qt::Abandonner(const QString& raison) {
    if (!echec_) erreur_ = raison;
    echec_ = true;
}

QString Imprimante_Qt::Fichier_Non_Ecrit(const QString& raison) const {
    return QStringLiteral("le fichier %1 ne peut pas être écrit : %2").arg(fichier_pdf_, raison);
}

void Imprimante_Qt::Abandonner_Sauf_Fichier(const QString& raison) {
    // A file that no longer takes what is written is the first cause.
    if (sortie_ && !sortie_->Erreur().isEmpty())
        Abandonner(Fichier_Non_Ecrit(sortie_->Erreur()));
    else
        Abandonner(raison);
}

double Imprimante_Qt::Hauteur_Page() const {
    return pdf_->pageLayout().paintRectPixels(pdf_->logicalDpiY()).height();
}

void Imprimante_Qt::Commencer_Document() {
    en_cours_ = true;
    if (pdf_groupe_) {
        // The printout's file goes on: the document starts a page of its own, in its orientation.
        pdf_groupe_ = false;
        orientation_a_appliquer_ = true;
        Nouvelle_Page();
        return;
    }
    echec_ = false;
    erreur_.clear();
    fichier_pdf_.clear();
    y_ = 0;
    orientation_a_appliquer_ = false;
    pages_document_ = 1;
    // The queue the first document of a printout found takes all of them: a
    // print server gone amid the printout is a failure, not a switch to files.
    if (impressions_ == 0 || !file_impression_) {
        file_impression_ = forcer_pdf_ ? QString() : File_Impression_Par_Defaut();
        pages_envoyees_ = 0;
    }

    if (!file_impression_->isEmpty()) {
        // A queue that takes no job is told before a page is drawn for nothing.
        const QString refus = Refus_File_Impression(*file_impression_);
        if (!refus.isEmpty()) {
            Abandonner(refus);
            return;
        }
        // Drawn as PDF, as Qt's own print engine would, but handed over by us,
        // so that the print server's answer is heard.
        travail_ = std::make_unique<QBuffer>();
        travail_->open(QIODevice::WriteOnly);
        pdf_ = std::make_unique<QPdfWriter>(travail_.get());
        pdf_->setPageLayout(Mise_En_Page(*file_impression_, orientation_));
    } else {
        const QString dossier = dossier_pdf_ ? dossier_pdf_() : QString();
        if (dossier.isEmpty() || !QDir().mkpath(dossier)) {
            Abandonner(QStringLiteral("le dossier des impressions %1 ne peut pas être créé").arg(dossier));
            return;
        }
        sortie_ = std::make_unique<Sortie_Pdf>(QDir(dossier).filePath(Nom_Document(Maintenant()) + QStringLiteral(".pdf")));
        fichier_pdf_ = sortie_->Chemin();
        if (!sortie_->Erreur().isEmpty() || !sortie_->open(QIODevice::WriteOnly)) {
            Abandonner(Fichier_Non_Ecrit(sortie_->Erreur()));
            sortie_.reset();
            return;
        }
        pdf_ = std::make_unique<QPdfWriter>(sortie_.get());
        pdf_->setPageSize(QPageSize(QPageSize::A4));
    }
    pdf_->setResolution(1200);
    pdf_->setTitle(Titre_Document);
    // Close to the unprintable border of common printers, so that the widest
    // reports fit across a landscape A4 page.
    pdf_->setPageMargins(QMarginsF(Marge_Page_mm, Marge_Page_mm, Marge_Page_mm, Marge_Page_mm), QPageLayout::Millimeter);
    pdf_->setPageOrientation(Sens(orientation_));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(pdf_.get())) Abandonner_Sauf_Fichier(QStringLiteral("le document n'a pas pu être commencé"));
}

void Imprimante_Qt::Nouvelle_Page() {
    if (orientation_a_appliquer_) {
        pdf_->setPageOrientation(Sens(orientation_));
        orientation_a_appliquer_ = false;
    }
    // The page ended went to the file: one that no longer takes it stops the
    // printout here, with no more pages drawn for nothing.
    if (!pdf_->newPage() || (sortie_ && !sortie_->Erreur().isEmpty()))
        Abandonner_Sauf_Fichier(QStringLiteral("l'imprimante n'a pas pu passer à la page suivante"));
    ++pages_document_;
    y_ = 0;
}

void Imprimante_Qt::Print(const std::vector<Item>& items) {
    if (!en_cours_) Commencer_Document();
    if (echec_) return;
    QFont police(Police_Installee(police_));
    police.setStyleHint(QFont::TypeWriter);
    police.setFixedPitch(true);
    police.setPointSizeF(taille_ > 0 ? taille_ : 10);
    police.setBold(gras_);
    painter_->setFont(police);
    const QFontMetricsF mesures(police, pdf_.get());
    if (y_ > 0 && y_ + mesures.height() > Hauteur_Page()) {
        Nouvelle_Page();
        if (echec_) return;
    }
    const QString texte = Composer_Ligne(items);
    if (!texte.isEmpty()) painter_->drawText(QPointF(0, y_ + mesures.ascent()), texte);
    y_ += mesures.lineSpacing();
}

void Imprimante_Qt::NewPage() {
    if (!en_cours_) Commencer_Document();
    if (echec_) return;
    Nouvelle_Page();
}

void Imprimante_Qt::Imprimer_Image(const QImage& image) {
    if (!en_cours_) Commencer_Document();
    if (echec_) return;
    if (y_ > 0 || orientation_a_appliquer_) {
        Nouvelle_Page();
        if (echec_) return;
    }
    const QRectF page = pdf_->pageLayout().paintRectPixels(pdf_->logicalDpiY());
    if (!image.isNull() && page.width() > 0 && page.height() > 0) {
        // The whole picture on the page, its proportions kept, from the top left.
        const double echelle = std::min(page.width() / image.width(), page.height() / image.height());
        const QRectF cible(0, 0, image.width() * echelle, image.height() * echelle);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter_->drawImage(cible, image);
    }
    // The page is full: a line printed next starts the following page.
    y_ = page.height() + 1;
}

Zone_Imprimable_Page Imprimante_Qt::Zone_Imprimable() const {
    const QString file = forcer_pdf_ ? QString() : File_Impression_Par_Defaut();
    if (file.isEmpty()) return Zone_A4(orientation_);
    const QRectF mm = Mise_En_Page(file, orientation_).paintRect(QPageLayout::Millimeter);
    return {mm.left() * Twips_Par_mm, mm.top() * Twips_Par_mm, mm.width() * Twips_Par_mm, mm.height() * Twips_Par_mm};
}

Resultat_Impression Imprimante_Qt::EndDoc() {
    Resultat_Impression resultat;
    if (!en_cours_) {
        // Nothing was printed: there is no document to send.
        resultat.Reussi = true;
        return resultat;
    }
    en_cours_ = false;
    if (impressions_ > 0 && !echec_ && sortie_) {
        // The pages wait in the printout's file for the documents that follow.
        pdf_groupe_ = true;
        resultat.Reussi = true;
        resultat.Pdf_En_Attente = true;
        return resultat;
    }
    return Terminer_Fichier();
}

void Imprimante_Qt::Debut_Impression() { ++impressions_; }

Resultat_Impression Imprimante_Qt::Fin_Impression() {
    Resultat_Impression resultat;
    resultat.Reussi = true;
    if (impressions_ == 0) return resultat;
    if (impressions_ > 1) {
        // The printout that holds this one writes the file.
        --impressions_;
        resultat.Pdf_En_Attente = en_cours_ || pdf_groupe_;
        return resultat;
    }
    if (en_cours_) {
        const Resultat_Impression dernier = EndDoc();
        if (!dernier) {
            impressions_ = 0;
            return dernier;
        }
    }
    impressions_ = 0;
    file_impression_.reset();
    if (!pdf_groupe_) return resultat;
    pdf_groupe_ = false;
    return Terminer_Fichier();
}

Resultat_Impression Imprimante_Qt::Terminer_Fichier() {
    Resultat_Impression resultat;
    if (painter_ && painter_->isActive() && !painter_->end())
        Abandonner_Sauf_Fichier(QStringLiteral("le document n'a pas pu être terminé"));
    // The document is printed once the print server has taken it whole.
    if (!echec_ && travail_) {
        const QString refus = Envoyer_Pdf_File_Impression(*file_impression_, Titre_Document, travail_->data());
        if (refus.isEmpty())
            pages_envoyees_ += pages_document_;
        else
            Abandonner(refus);
    }
    // The file gets its name only once all of it is on the disk; else the
    // device leaves nothing behind.
    if (!echec_ && sortie_) {
        const Resultat_Fichier ecrit = sortie_->Terminer();
        fichier_pdf_ = sortie_->Chemin();
        if (!ecrit) Abandonner(Fichier_Non_Ecrit(ecrit.Erreur));
    }
    painter_.reset();
    pdf_.reset();
    sortie_.reset();
    travail_.reset();
    if (echec_) {
        resultat.Erreur = erreur_;
        resultat.Pages_Envoyees = pages_envoyees_;
        return resultat;
    }
    resultat.Reussi = true;
    resultat.Fichier_Pdf = fichier_pdf_;
    return resultat;
}

}  // namespace ostrel
