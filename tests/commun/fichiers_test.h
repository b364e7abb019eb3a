#pragma once
// Files as the tests write and read them: whole contents, lines ending in
// CR LF in the Windows-1252 code page, a folder nobody may write into, a
// small disk of a process's own, and the pages of a PDF file.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "commun/texte_test.h"
#include "platform/cp1252.h"

namespace ostrel_test {

inline QByteArray Lire(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

inline void Ecrire(const QString& chemin, const QByteArray& contenu) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenu);
}

// A file of `taille` bytes that takes no room on the disk (one hole), its
// folders made first: a file too large to read that costs nothing to make.
inline bool Fichier_Creux(const QString& chemin, qint64 taille) {
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    const int fd = ::open(QFile::encodeName(chemin).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool fait = ::ftruncate(fd, taille) == 0;
    ::close(fd);
    return fait;
}

// Lines of a content without their CR LF (the content must end with one).
inline QStringList Lignes(const QByteArray& contenu) {
    QStringList lignes = ostrel::Depuis_Cp1252(contenu).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lignes.back(), QString()) << "the last line ends with CR LF";
    lignes.removeLast();
    return lignes;
}

// Page objects of a PDF, in the order of the file, by their size ("842 595"
// for a landscape A4 page).
inline QStringList Pages_Pdf(const QByteArray& pdf) {
    QStringList tailles;
    static const QRegularExpression page(QStringLiteral("/Type /Page\\b(?!s)[^>]*?/MediaBox \\[0 0 (\\d+)(?:\\.0*)? (\\d+)(?:\\.0*)?\\]"));
    auto it = page.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        const auto m = it.next();
        tailles << m.captured(1) + QLatin1Char(' ') + m.captured(2);
    }
    return tailles;
}

inline QByteArray Contenu(const QStringList& lignes) {
    QByteArray c;
    for (const QString& l : lignes) c += ostrel::Vers_Cp1252(l) + "\r\n";
    return c;
}

// A folder nobody may write into, nor into the files it holds, root included
// (root ignores the mode bits, not the immutable attribute).
inline bool Dossier_Lecture_Seule(const QString& dossier, bool oui) {
    QStringList chemins{dossier};
    for (const QString& nom : QDir(dossier).entryList(QDir::Files | QDir::Hidden)) chemins << dossier + '/' + nom;
    bool reussi = true;
    for (const QString& chemin : chemins) {
        const QByteArray c = QFile::encodeName(chemin);
        if (::geteuid() != 0) {
            const mode_t mode = chemin == dossier ? (oui ? 0555 : 0755) : (oui ? 0444 : 0644);
            reussi &= ::chmod(c.constData(), mode) == 0;
        } else {
            const QByteArray commande = QByteArray("chattr ") + (oui ? "+i '" : "-i '") + c + "' 2>/dev/null";
            reussi &= std::system(commande.constData()) == 0;
        }
    }
    return reussi;
}

// Namespaces of this process's own, where it may mount what it likes for
// itself alone; false where the system allows none.
inline bool Espace_De_Montage() {
    const QByteArray uid = QByteArray::number(::getuid()), gid = QByteArray::number(::getgid());
    const auto ecrire = [](const char* fichier, const QByteArray& texte) {
        const int fd = ::open(fichier, O_WRONLY);
        const bool ecrit = fd >= 0 && ::write(fd, texte.constData(), texte.size()) == texte.size();
        if (fd >= 0) ::close(fd);
        return ecrit;
    };
    // A process that changed user cannot write its own /proc files until it says so.
    return ::prctl(PR_SET_DUMPABLE, 1) == 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 &&
           ecrire("/proc/self/setgroups", "deny") && ecrire("/proc/self/uid_map", "0 " + uid + " 1") &&
           ecrire("/proc/self/gid_map", "0 " + gid + " 1") &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// A small file system (64 KiB) mounted on `dossier` for this process alone;
// false where the system allows none, why then written to the file `raison`,
// which a test that cannot be tried here gives as it is skipped.
inline bool Petit_Disque(const QString& dossier, const QString& raison) {
    const bool espace = Espace_De_Montage();
    if (espace && ::mount("tmpfs", QFile::encodeName(dossier).constData(), "tmpfs", 0, "size=64k") == 0) return true;
    QFile pourquoi(raison);
    if (pourquoi.open(QIODevice::WriteOnly))
        pourquoi.write(QByteArray(espace ? "tmpfs: " : "no namespaces of its own: ") + std::strerror(errno));
    return false;
}

// A named pipe given to a reader that must not wait on it. While it stands, a
// reader that waits for a writer is let go (the writing end opened and closed,
// the reader then sees an empty content), so that the test of a reader that
// waits fails rather than hangs; Lachers() counts the readers let go.
class Tube_Garde {
public:
    explicit Tube_Garde(const QString& chemin) : chemin_(QFile::encodeName(chemin)) {
        EXPECT_EQ(::mkfifo(chemin_.constData(), 0644), 0);
        garde_ = std::thread([this] {
            while (!fin_) {
                // Opens only while a reader holds the other end.
                const int fd = ::open(chemin_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ::close(fd);
                    ++lachers_;
                }
                ::usleep(1000);
            }
        });
    }
    ~Tube_Garde() {
        fin_ = true;
        garde_.join();
    }
    Tube_Garde(const Tube_Garde&) = delete;
    Tube_Garde& operator=(const Tube_Garde&) = delete;
    int Lachers() const { return lachers_; }

private:
    QByteArray chemin_;
    std::atomic<bool> fin_{false};
    std::atomic<int> lachers_{0};
    std::thread garde_;
};

}  // namespace ostrel_test
