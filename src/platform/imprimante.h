#pragma once
// The system printer as the reports see it: font name, size and bold,
// orientation, lines made of print items, the picture of a whole screen as a
// page, the printable rectangle, new page, end of document. The
// program installs the real printer; tests and headless runs use
// Imprimante_Enregistreuse, which keeps every line with its font so reports
// can be checked line by line.
#include <QImage>
#include <QString>
#include <optional>
#include <vector>

#include "platform/ligne_items.h"
#include "platform/types.h"

namespace ostrel {

// Values of Orientation.
enum Orientation_Impression : int { vbPRORPortrait = 1, vbPRORLandscape = 2 };

// Outcome of a print job. A job that did not reach the printer (printer
// refused it, PDF file not writable) is never reported as sent.
struct Resultat_Impression {
    bool Reussi = false;
    QString Erreur;       // the reason when the job failed
    QString Fichier_Pdf;  // the file written when no printer was configured
    // The document is kept with the printout under way, and handed over
    // (to its queue, or into its PDF file, then named) when the printout
    // ends: Fin_Impression tells how that went.
    bool En_Attente = false;
    // Pages of the printout a print queue had already taken when it failed.
    int Pages_Envoyees = 0;
    explicit operator bool() const { return Reussi; }
};

// The printable rectangle of a page, in twips (1/1440 inch), from the
// top-left corner of the sheet.
constexpr double Twips_Par_mm = 1440 / 25.4;
struct Zone_Imprimable_Page {
    double Gauche = 0, Haut = 0, Largeur = 0, Hauteur = 0;
};

// What a printer leaves free around the printable area of an A4 sheet, in
// millimetres, and the printable rectangle that gives in an orientation.
constexpr double Marge_Page_mm = 6;
Zone_Imprimable_Page Zone_A4(int orientation);

class Imprimante {
public:
    virtual ~Imprimante() = default;

    virtual void Orientation(int orientation) { orientation_ = orientation; }
    virtual int Orientation() const { return orientation_; }
    virtual void FontName(const QString& nom) { police_ = nom; }
    virtual QString FontName() const { return police_; }
    virtual void FontSize(Simple taille) { taille_ = taille; }
    virtual Simple FontSize() const { return taille_; }
    virtual void FontBold(bool gras) { gras_ = gras; }
    virtual bool FontBold() const { return gras_; }

    // Prints one line made of items (Composer_Ligne's print-zone rule); an
    // empty list prints a blank line. The document starts with its first line.
    virtual void Print(const std::vector<Item>& items) = 0;
    void Print(const QString& texte) { Print(std::vector<Item>{{texte, Separateur::Fin}}); }
    void Print() { Print(std::vector<Item>{}); }
    virtual void NewPage() = 0;
    // The picture of a whole screen as one page of its own, scaled to the
    // printable rectangle with its proportions kept; what is printed next
    // starts a new page.
    virtual void Imprimer_Image(const QImage& image) = 0;
    // The printable rectangle of a page in the current orientation.
    virtual Zone_Imprimable_Page Zone_Imprimable() const { return Zone_A4(orientation_); }
    // How many lines of the current font one page holds, in the current
    // orientation, within the printable rectangle of the sheet it goes to;
    // none when the printer cannot tell (one that keeps its lines, whose
    // pages are as long as a report makes them).
    virtual std::optional<int> Lignes_Par_Page() const { return std::nullopt; }
    // Ends the document and hands it to the printer. The font and the
    // orientation stay as they are for the next document.
    virtual Resultat_Impression EndDoc() = 0;

    // One printout made by one command, of several documents (the pages of a
    // table, a page per curve): between Debut_Impression and Fin_Impression a
    // printer that writes PDF files puts the documents into one file, in the
    // order they are ended, and writes it when the printout ends; a system
    // printer still takes each document as a job of its own. A printer may
    // keep the documents until the printout ends (their EndDoc says
    // En_Attente), so that all its pages are printed at one size: then
    // Fin_Impression hands them over and gives the file, or why they could
    // not all be handed over. A document that fails drops the file with the
    // pages before it: its EndDoc tells the failure, and the printout has
    // nothing left to write. Nested printouts are one.
    virtual void Debut_Impression() {}
    virtual Resultat_Impression Fin_Impression();

protected:
    int orientation_ = vbPRORPortrait;
    QString police_ = QStringLiteral("Courier New");
    Simple taille_ = 10;
    bool gras_ = false;
};

Imprimante& Printer();
// Installs the printer in use (not owned); nullptr restores the default, an
// Imprimante_Enregistreuse.
void Definir_Imprimante(Imprimante* imprimante);

// Keeps every printed line with the font and orientation it was printed in.
class Imprimante_Enregistreuse : public Imprimante {
public:
    struct Ligne {
        QString Texte;  // the composed line, print zones filled with blanks
        QString Police;
        Simple Taille = 0;
        bool Gras = false;
        int Orientation = vbPRORPortrait;
        int Page = 1;       // page within its document
        int Document = 1;   // 1 for the first document ended or in progress
    };
    // A screen printed as a page.
    struct Image_Imprimee {
        QImage Image;
        int Orientation = vbPRORPortrait;
        int Page = 1;
        int Document = 1;
    };
    std::vector<Ligne> Lignes;
    std::vector<Image_Imprimee> Images;
    int Documents_Termines = 0;
    // When set, the next EndDoc fails with this reason (and clears it).
    std::optional<QString> Echec_Prochain_Document;

    using Imprimante::Print;
    void Print(const std::vector<Item>& items) override;
    void NewPage() override { ++page_; }
    void Imprimer_Image(const QImage& image) override;
    Resultat_Impression EndDoc() override;

    // Texts of the lines of one document (1-based), or of all when 0.
    std::vector<QString> Textes(int document = 0) const;
    void Effacer();

private:
    int page_ = 1;
    bool page_pleine_ = false;  // an image filled the page: what follows goes on the next
};

}  // namespace ostrel
