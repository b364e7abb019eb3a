#pragma once
// Safe saves: the new content goes to a temporary file in the same folder,
// which then replaces the old file in one rename. A failure at any step leaves
// the old file as it was and is reported to the caller.
#include <QByteArray>
#include <QString>

namespace ostrel {

struct Resultat_Fichier {
    bool Reussi = false;
    QString Erreur;  // the system's reason when the save failed
    explicit operator bool() const { return Reussi; }
};

Resultat_Fichier Sauvegarde_Sure(const QString& chemin, const QByteArray& contenu);

// Whole content of a file; empty result with Reussi false when it cannot be read.
Resultat_Fichier Lire_Fichier(const QString& chemin, QByteArray& contenu);


bool Fichier_Existe(const QString& chemin);

}  // namespace ostrel
