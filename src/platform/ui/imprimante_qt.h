#pragma once
// The system printer over QPdfWriter and QPainter. A document goes to the
// system's default print queue when one is configured, as one job whose
// answer is heard (a queue that refuses it or a print server that is gone is
// a failure, and the pages it had already taken are told); otherwise it is written as
// a PDF file, named after the date and time of the job, in a folder the
// program gives (the "Impressions" folder of the application). Lines run down
// the page and a full page starts the next one by itself. "Courier New" is
// replaced by an installed monospace font when the machine lacks it, so that
// print zones stay aligned. The documents of one printout (Debut_Impression to
// Fin_Impression) written as PDF make one file, named after its first page.
// A PDF file is written safely: it gets its name once all of it is on the
// disk, and a printout not written whole is a failure that leaves no file.
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "platform/imprimante.h"

class QBuffer;
class QPainter;
class QPdfWriter;

namespace ostrel {

class Sortie_Pdf;

class Imprimante_Qt : public Imprimante {
public:
    // dossier_pdf is asked at the start of every document that goes to a PDF file.
    explicit Imprimante_Qt(std::function<QString()> dossier_pdf);
    ~Imprimante_Qt() override;

    void Orientation(int orientation) override;
    int Orientation() const override { return Imprimante::Orientation(); }
    using Imprimante::Print;
    void Print(const std::vector<Item>& items) override;
    void NewPage() override;
    void Imprimer_Image(const QImage& image) override;
    Zone_Imprimable_Page Zone_Imprimable() const override;
    Resultat_Impression EndDoc() override;
    void Debut_Impression() override;
    Resultat_Impression Fin_Impression() override;

    // Writes PDF files even when a printer is configured.
    void Forcer_Pdf(bool oui) { forcer_pdf_ = oui; }
    static bool Imprimante_Systeme_Configuree();
    // The family actually used for a font name.
    static QString Police_Installee(const QString& nom);
    // Folder name under the application folder.
    static QString Nom_Dossier_Pdf() { return QStringLiteral("Impressions"); }

private:
    void Commencer_Document();
    void Nouvelle_Page();
    void Abandonner(const QString& raison);
    QString Fichier_Non_Ecrit(const QString& raison) const;
    // Fails with the PDF file's own failure when there is one, else with `raison`.
    void Abandonner_Sauf_Fichier(const QString& raison);
    double Hauteur_Page() const;  // of the printable area, in device pixels
    // Ends the page being drawn and hands the job over: to the print queue,
    // or the PDF file under its final name.
    Resultat_Impression Terminer_Fichier();

    std::function<QString()> dossier_pdf_;
    bool forcer_pdf_ = false;
    std::unique_ptr<QBuffer> travail_;     // a print queue's document
    std::unique_ptr<Sortie_Pdf> sortie_;   // or a PDF file's
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPainter> painter_;
    bool en_cours_ = false;   // a document has been started
    int impressions_ = 0;     // printouts begun and not ended
    bool pdf_groupe_ = false; // the printout's PDF file holds ended documents and waits for more
    bool echec_ = false;      // and cannot be completed
    QString erreur_;
    QString fichier_pdf_;     // final name of the PDF file, empty for a system printer
    std::optional<QString> file_impression_;  // the printout's queue, empty for PDF files
    int pages_document_ = 0;  // pages of the document under way
    int pages_envoyees_ = 0;  // pages of the printout the queue has taken
    double y_ = 0;            // top of the next line, in device pixels
    bool orientation_a_appliquer_ = false;
};

}  // namespace ostrel
