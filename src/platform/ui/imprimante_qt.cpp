#include "platform/ui/imprimante_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "platform/dates.h"

namespace ostrel {
namespace {

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

}  // namespace

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

bool Imprimante_Qt::Imprimante_Systeme_Configuree() { return !QPrinterInfo::defaultPrinter().isNull(); }

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
    fichier_partiel_.clear();
    y_ = 0;
    orientation_a_appliquer_ = false;

    if (!forcer_pdf_ && Imprimante_Systeme_Configuree()) {
        printer_ = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        const QString dossier = dossier_pdf_ ? dossier_pdf_() : QString();
        if (dossier.isEmpty() || !QDir().mkpath(dossier)) {
            Abandonner(QStringLiteral("le dossier des impressions %1 ne peut pas être créé").arg(dossier));
            return;
        }
        const QString base = QDir(dossier).filePath(Nom_Document(Maintenant()));
        fichier_pdf_ = base + QStringLiteral(".pdf");
        for (int n = 2; QFileInfo::exists(fichier_pdf_); ++n) fichier_pdf_ = base + QStringLiteral("_%1.pdf").arg(n);
        fichier_partiel_ = fichier_pdf_ + QStringLiteral(".partiel");
        printer_->setOutputFileName(fichier_partiel_);
    }
    printer_->setDocName(QStringLiteral("OstrelSoft"));
    // Close to the unprintable border of common printers, so that the widest
    // reports fit across a landscape A4 page.
    printer_->setPageMargins(QMarginsF(Marge_Page_mm, Marge_Page_mm, Marge_Page_mm, Marge_Page_mm), QPageLayout::Millimeter);
    printer_->setPageOrientation(Sens(orientation_));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        if (fichier_partiel_.isEmpty())
            Abandonner(QStringLiteral("l'imprimante %1 a refusé le document").arg(printer_->printerName()));
        else
            Abandonner(QStringLiteral("le fichier %1 ne peut pas être écrit").arg(fichier_pdf_));
    }
}

void Imprimante_Qt::Nouvelle_Page() {
    if (orientation_a_appliquer_) {
        printer_->setPageOrientation(Sens(orientation_));
        orientation_a_appliquer_ = false;
    }
    if (!printer_->newPage()) Abandonner(QStringLiteral("l'imprimante n'a pas pu passer à la page suivante"));
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
    const QFontMetricsF mesures(police, printer_.get());
    const double hauteur_page = printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
    if (y_ > 0 && y_ + mesures.height() > hauteur_page) {
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
    const QRectF page = printer_->pageLayout().paintRectPixels(printer_->resolution());
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
    if (forcer_pdf_ || !Imprimante_Systeme_Configuree()) return Zone_A4(orientation_);
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(Marge_Page_mm, Marge_Page_mm, Marge_Page_mm, Marge_Page_mm), QPageLayout::Millimeter);
    printer.setPageOrientation(Sens(orientation_));
    const QRectF mm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
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
    if (impressions_ > 0 && !echec_ && !fichier_partiel_.isEmpty()) {
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
    if (!pdf_groupe_) return resultat;
    pdf_groupe_ = false;
    return Terminer_Fichier();
}

Resultat_Impression Imprimante_Qt::Terminer_Fichier() {
    Resultat_Impression resultat;
    if (painter_ && painter_->isActive() && !painter_->end()) Abandonner(QStringLiteral("le document n'a pas pu être terminé"));
    if (printer_ && printer_->printerState() == QPrinter::Error) Abandonner(QStringLiteral("l'imprimante a signalé une erreur"));
    if (!echec_ && !fichier_partiel_.isEmpty()) {
        if (QFileInfo(fichier_partiel_).size() <= 0 || !QFile::rename(fichier_partiel_, fichier_pdf_))
            Abandonner(QStringLiteral("le fichier %1 ne peut pas être écrit").arg(fichier_pdf_));
    }
    painter_.reset();
    printer_.reset();
    if (echec_) {
        if (!fichier_partiel_.isEmpty()) QFile::remove(fichier_partiel_);
        resultat.Erreur = erreur_;
        return resultat;
    }
    resultat.Reussi = true;
    resultat.Fichier_Pdf = fichier_partiel_.isEmpty() ? QString() : fichier_pdf_;
    return resultat;
}

}  // namespace ostrel
