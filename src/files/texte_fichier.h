#pragma once
// The conventions shared by every text file of the program: one item per line
// ending with CR LF, Windows-1252 text, numbers written directly with their
// sign blank and trailing blank, "True"/"False", dates in the general form.
// Writers build the whole content in memory and save it safely; readers work
// on the whole content read at once.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

#include "platform/fichiers.h"
#include "platform/ligne_items.h"
#include "platform/types.h"

namespace ostrel {

class Ecrivain_Texte {
public:
    void Ligne(const QString& texte = {});          // the text, then CR LF
    void Ligne(const std::vector<Item>& items);     // items with print zones
    void Direct(long long valeur);                  // " 30 ", "-5 "
    void Direct_Simple(Simple valeur);              // " 21,5 "
    void Booleen_Ecrit(Booleen valeur);             // "True" / "False"
    void Date_Ecrite(Date valeur);                  // general date form
    const QByteArray& Contenu() const { return contenu_; }
    Resultat_Fichier Enregistrer(const QString& chemin) const { return Sauvegarde_Sure(chemin, contenu_); }
    void Reserver(qsizetype octets) { contenu_.reserve(octets); }

private:
    QByteArray contenu_;
};

// Reads a file's content line by line (CR LF, CR or LF end a line) or item by
// item (items end at a comma or a line end; leading blanks are skipped; an
// item starting with a double quote runs to its closing quote). Both ways may
// be mixed on the same content.
class Lecteur_Texte {
public:
    explicit Lecteur_Texte(const QByteArray& contenu) : contenu_(contenu) {}
    bool Fin() const { return position_ >= contenu_.size(); }
    // false when the content is exhausted (reading past the end is an error).
    bool Lire_Ligne(QString& ligne);
    // The line's bytes as they stand in the content, valid while the reader
    // lives: what readers of long files take, line after line, without a copy.
    bool Lire_Ligne(QByteArrayView& ligne);
    bool Lire_Item(QString& item);

private:
    // Read only: the content stays shared with the caller's, never copied.
    const QByteArray contenu_;
    qsizetype position_ = 0;
    void Passer_Fin_Ligne();
    QByteArrayView Reste_De_Ligne();
};

}  // namespace ostrel
