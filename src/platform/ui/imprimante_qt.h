#pragma once
// The system printer over QPdfWriter and QPainter. A printout (the documents
// from Debut_Impression to Fin_Impression, or one document outside them)
// goes to the system's default print queue as it is when the printout starts,
// each document as one job whose answer is heard (a queue that refuses it or
// a print server that is gone is a failure, and the pages the printout had
// already sent are told); when there is no queue, or no print server that
// answers, it is written as a PDF file, named after the date and time of its
// first page, in a folder the program gives (the "Impressions" folder of the
// application). Nothing of a printout is kept for the next one. Lines run
// down the page and a full page starts the next one by itself. Every page of
// lines of a printout is drawn at one size: a page whose lines are wider than
// the printable area of its sheet is drawn scaled down, whole, to fit it, and
// so is every other page of that printout, before and after it, whichever
// way its sheet lies. The lines are therefore kept, as text, until the
// printout ends, and its pages are drawn and handed over then; the picture
// of a screen, which fills its page at any size of print, is drawn at once
// when no page of lines waits before it. "Courier New" is replaced by an
// installed monospace font when the machine lacks it, so that print zones
// stay aligned. A PDF file is written safely: it gets its
// name once all of it is on the disk (the next free one when another program
// took it meanwhile), and a printout not written whole is a failure that
// leaves no file.
#include <QByteArray>
#include <QFont>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>

#include "platform/imprimante.h"
#include "platform/ui/file_impression.h"

namespace ostrel {

class Imprimante_Qt : public Imprimante {
public:
    // dossier_pdf is asked at the start of every printout that goes to a PDF file.
    explicit Imprimante_Qt(std::function<QString()> dossier_pdf);
    ~Imprimante_Qt() override;

    using Imprimante::Print;
    void Print(const std::vector<Item>& items) override;
    void NewPage() override;
    void Imprimer_Image(const QImage& image) override;
    // Within a printout, the page of its queue; outside, of the default queue.
    Zone_Imprimable_Page Zone_Imprimable() const override;
    std::optional<int> Lignes_Par_Page() const override;
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

protected:
    // Hands one drawn document to the printout's queue as a job: empty once
    // the print server has taken it whole, else why not. The documents of a
    // printout come here one after the other, in their order.
    virtual QString Envoyer_Document(const QByteArray& pdf);

private:
    struct Dessin;
    struct Page;
    struct Police_Tenue;
    struct Impression;

    void Commencer_Document();
    void Ouvrir_Page();
    // Ends the page under way: it waits with the others, or is drawn at once
    // when it has no lines and nothing waits before it.
    void Fermer_Page();
    void Nouvelle_Page();
    // The font the printer is set to, by its number in the printout's table.
    int Police_Courante();
    // The printable area of a page, in device pixels.
    QRectF Zone_Page(int orientation);
    // Draws the pages that wait, from the first: all of them, or those that
    // have no lines, up to the first that has.
    void Dessiner_Pages(bool toutes);
    void Dessiner_Page(const Page& page);
    // Makes what the pages are drawn into: the next job of the queue, or the
    // printout's PDF file. False when it cannot be made (the printout failed).
    bool Ouvrir_Dessin(int orientation);
    // Ends the job drawn and hands it to the queue.
    void Remettre_Travail();
    void Abandonner(const QString& raison);
    // Fails with the PDF file's own failure when there is one, else with `raison`.
    void Abandonner_Sauf_Fichier(const QString& raison);
    // The failure of the printout, told once: what it kept is dropped with it.
    Resultat_Impression Echec_Dit();
    void Oublier_Pages();
    QFont Police() const;  // the current font, as it is drawn
    // The queue of the printout under way (no name: a PDF file); outside
    // one, the default queue, looked up for this answer alone.
    File_Impression File_Vue() const;
    // Draws every page kept, at the size the whole printout needs, and hands
    // them over: to the print queue, or the PDF file under its final name.
    Resultat_Impression Terminer_Impression();

    std::function<QString()> dossier_pdf_;
    bool forcer_pdf_ = false;
    int imbrications_ = 0;  // Debut_Impression not yet ended by Fin_Impression
    // The printout under way: made at its start, gone at its end.
    std::unique_ptr<Impression> impression_;
};

}  // namespace ostrel
