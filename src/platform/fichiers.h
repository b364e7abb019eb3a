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

// The temporary file is ".<name>.XXXXXX" beside the file (six letters or
// digits); those a save killed halfway left behind are removed at the next
// save of the same file. A new file gets the mode the umask gives, an
// existing one keeps its own.
Resultat_Fichier Sauvegarde_Sure(const QString& chemin, const QByteArray& contenu);

// Called once at the start of each program: a write past the process's
// file-size limit then fails with an error, reported like any failed save,
// instead of killing the program.
void Ignorer_Limite_Taille_Fichier();

// Whole content of a file; empty result with Reussi false when it cannot be read.
Resultat_Fichier Lire_Fichier(const QString& chemin, QByteArray& contenu);

bool Fichier_Existe(const QString& chemin);

}  // namespace ostrel
