#pragma once
// Safe saves: the new content goes to a temporary file in the same folder,
// which then replaces the old file in one rename. A failure at any step leaves
// the old file as it was and is reported to the caller, its reason in French
// (disk full, permission, read-only file system, file too large, name too
// long, busy, input-output error and the other causes a save meets; the rare
// rest as a system error number with the system's own description).
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace ostrel {

struct Resultat_Fichier {
    bool Reussi = false;
    QString Erreur;  // why the save failed
    // The failure came while the old content was being written over in place:
    // the file may hold part of each.
    bool Entame = false;
    // A reading refused for the file's size, or for the memory it would take:
    // the reason says it in words a person reads.
    bool Trop_Grand = false;
    bool Sans_Memoire = false;
    explicit operator bool() const { return Reussi; }
};

// A symbolic link is saved through: the file at the end of its chain (or the
// one a dangling link names) gets the content and the link stays. A file its
// user may not write is refused and left as it is, and so are an append-only
// file and a name that is no ordinary file (a named pipe, a device). The
// temporary file, beside the file replaced, has a short name of the program's
// own. That of an existing file gives no access to other users until it takes
// the file's mode; that of a new file is made, on purpose, with the mode the
// new file will have (the umask, or the folder's default ACL, decides), as
// opening the file for output would make it: it keeps nothing from anyone.
// Those a save killed halfway left behind are removed at the next save of the
// same file, and nothing else is, nor one a save still writes. An existing
// file keeps its own mode, owner and group (a save by root of a user's file
// stays the user's), and the flags set on it with chattr.
//
// Where the rename could not keep the file as it is (its owner or group cannot
// be given back, nor its extended attributes, ACLs and flags, it has other
// names, it is itself a mount point, or its folder takes no new file while the
// file itself may be written), the content is written over the file itself:
// all of it is made first, the room it needs is reserved before the first old
// byte is written over (a size limit then leaves the old file as it was, and
// so does a full disk, except on a file system that copies on write, such as
// btrfs, where the writing may stop halfway and the failure says the file may
// be incomplete), and two such saves of one file write one after the other;
// one that waits more than a few seconds for the other fails ("le fichier est
// utilisé par un autre programme"). On a file system that gives no lock they
// write as they come. What such a save killed halfway left reserved past the
// file's end is given back when the next save of the file starts. The file is
// cut only when its old content was longer, so that a driver that refuses a
// cut changing nothing (FAT through FUSE) does not make a whole file be told
// incomplete.
Resultat_Fichier Sauvegarde_Sure(const QString& chemin, const QByteArray& contenu);

// What a save does with a file that is, or comes, under its name.
enum class Nom_Pris {
    Remplacer,  // gives it the new content
    // A new file only: a file of that name, there at the start or made
    // meanwhile, is left alone, on a file system without hard links too. Such
    // saves have names of their own (the printouts), so each one removes the
    // temporaries that saves killed halfway left in its folder, whatever
    // their file.
    Echouer,  // and the save fails
    Suivant,  // and the save takes the first free name after it: name_2.ext, name_3.ext ...
};

// The same safe save, written piece by piece as a long content is made: each
// piece goes to the temporary file at once and the disk starts on it, so the
// content is never held whole and little is left to wait for at the end.
// Nothing replaces the old file before Terminer succeeds; a save left
// unfinished removes its temporary file. A save written in place holds the
// content until Terminer.
class Sauvegarde_Progressive {
public:
    explicit Sauvegarde_Progressive(const QString& chemin, Nom_Pris nom_pris = Nom_Pris::Remplacer);
    ~Sauvegarde_Progressive();
    Sauvegarde_Progressive(const Sauvegarde_Progressive&) = delete;
    Sauvegarde_Progressive& operator=(const Sauvegarde_Progressive&) = delete;

    void Ecrire(QByteArrayView morceau);  // after a failure, nothing more is written
    // The save as the output of a writer that passes its content on piece by piece.
    std::function<void(QByteArrayView)> Sortie() {
        return [this](QByteArrayView morceau) { Ecrire(morceau); };
    }
    Resultat_Fichier Terminer();
    // Why the save already cannot succeed; empty while it can.
    QString Erreur() const;
    // The file saved (past any symbolic link): the name it aims at, then,
    // once Terminer succeeded, the name it got.
    QString Chemin() const;

private:
    QByteArray cible_;  // the file replaced, past any symbolic link
    QByteArray dossier_;
    QByteArray temporaire_;
    bool existe_ = false;  // the file being replaced
    Nom_Pris nom_pris_ = Nom_Pris::Remplacer;
    bool remplacer_ = true;
    QByteArray base_;  // for Nom_Pris::Suivant, the name first asked, and the number of the one aimed at
    int numero_ = 1;
    bool sur_place_ = false;  // written over in place, from contenu_, at Terminer
    QByteArray contenu_;
    int fd_ = -1;           // the temporary file, locked while it is written
    int erreur_ = 0;  // the first failure's errno
    QString refus_;   // why the save could not even start
    long long ecrits_ = 0, demandes_ = 0;  // bytes written, bytes sent to the disk
};

// A long content made in a buffer that passes what it holds on to `sortie`
// by the megabyte: append to Octets(), call Suite() after each line, Fin() at
// the end.
class Sortie_Par_Morceaux {
public:
    using Sortie = std::function<void(QByteArrayView)>;
    explicit Sortie_Par_Morceaux(Sortie sortie);
    QByteArray& Octets() { return tampon_; }
    void Suite() {
        if (tampon_.size() >= Morceau) Fin();
    }
    void Fin();

private:
    static constexpr qsizetype Morceau = 1 << 20;
    Sortie sortie_;
    QByteArray tampon_;
};
// What such a writer makes, whole.
QByteArray Contenu_Entier(const std::function<void(const Sortie_Par_Morceaux::Sortie&)>& ecrire);

// Called once at the start of each program: a write past the process's
// file-size limit then fails with an error, reported like any failed save,
// instead of killing the program.
void Ignorer_Limite_Taille_Fichier();

// The largest file read by a reader that gives no bound of its own.
constexpr qint64 Taille_Lecture_Par_Defaut = qint64{1} << 30;

// Whole content of a file; empty result with Reussi false, and the reason in
// French, when it cannot be read. A named pipe, a device or a socket is
// refused at once, without waiting for a writer nor opening the device ("ce
// n'est pas un fichier ordinaire"), and a folder too. So is a file larger
// than `taille_max` bytes, nothing of it read and no memory asked for it, or
// one that grows past it while read ("le fichier est trop grand (30 720 Mo)",
// Trop_Grand); memory that the system does not give is a refusal too ("la
// mémoire manque pour lire le fichier (900 Mo)", Sans_Memoire), never the end
// of the program. Sizes are told in megabytes of 1 048 576 bytes, rounded up.
Resultat_Fichier Lire_Fichier(const QString& chemin, QByteArray& contenu,
                              qint64 taille_max = Taille_Lecture_Par_Defaut);

bool Fichier_Existe(const QString& chemin);

// Which ordinary file a name leads to, past any symbolic link: the same device
// and inode are the same file whatever its name became, and a file put in its
// place has others. Existe is false when the name leads to no ordinary file.
struct Identite_Fichier {
    bool Existe = false;
    unsigned long long Peripherique = 0, Inode = 0;
    long long Taille = 0;
};
Identite_Fichier Identifier_Fichier(const QString& chemin);

// Adds bytes at the end of an ordinary file, made empty first when there is
// none (its folder must be there). A named pipe, a device or a socket is
// refused at once, without waiting for a reader nor opening the device ("ce
// n'est pas un fichier ordinaire"), and a folder too; an append-only file
// takes them. Appends to one file, by this program or others, come one after
// the other under a lock each waits for, so that bytes that fail halfway (a
// full disk) are taken back alone: the file ends where it ended when the lock
// came, others' lines kept. An append-only file keeps them, and so does a file
// system that gives no lock, where the appends come as they may and no bytes
// are taken back, lest another program's be; Entame then tells that the file
// may hold part of them.
Resultat_Fichier Ajouter_Au_Fichier(const QString& chemin, QByteArrayView octets);

// The lock the appends to an ordinary file wait for, held from the making of
// this object to its end: what is done to the file meanwhile (a copy of it,
// then its removal or its emptying) comes between two appends, never amid one,
// and an append that waited for a file removed or replaced meanwhile goes to
// the file then under the name. None is held where the name leads to no
// ordinary file this account may write, or its file system gives no lock.
class Verrou_Ajouts {
public:
    explicit Verrou_Ajouts(const QString& chemin);
    ~Verrou_Ajouts();
    Verrou_Ajouts(const Verrou_Ajouts&) = delete;
    Verrou_Ajouts& operator=(const Verrou_Ajouts&) = delete;

private:
    int fd_ = -1;
};

}  // namespace ostrel
