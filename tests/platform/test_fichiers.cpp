#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/prctl.h>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "appels_systeme.h"
#include "commun/fichiers_test.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"

using namespace ostrel;
using ostrel_test::Dossier_Lecture_Seule;
using ostrel_test::Espace_De_Montage;
using ostrel_test::Lire;
using ostrel_test::Petit_Disque;
namespace appels = ostrel_test::appels;

TEST(SauvegardeSure, RemplaceLeFichierEnEntier) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("ver.dva");
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "ancien\r\n"));
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "nouveau\r\n"));
    EXPECT_EQ(Lire(chemin), "nouveau\r\n");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(SauvegardeSure, UnEchecGardeLAncienFichierEtSeSignale) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("config.txt");
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "ancien"));
    ASSERT_TRUE(Dossier_Lecture_Seule(dossier.path(), true));
    const Resultat_Fichier r = Sauvegarde_Sure(chemin, "nouveau");
    const Resultat_Fichier neuf = Sauvegarde_Sure(dossier.filePath("neuf.txt"), "neuf");
    Dossier_Lecture_Seule(dossier.path(), false);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Erreur, "fichier en lecture seule");
    EXPECT_EQ(Lire(chemin), "ancien");
    EXPECT_EQ(neuf.Erreur, "permission refusée");
}

// A save of that file killed halfway, in a child process: its temporary stays behind.
void Sauvegarde_Interrompue(const QString& chemin) {
    const pid_t enfant = ::fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        Sauvegarde_Progressive sauvegarde(chemin);
        sauvegarde.Ecrire(QByteArray(1000, 'x'));
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(enfant, nullptr, 0), enfant);
}

QStringList Fichiers(const QString& dossier) {
    return QDir(dossier).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

TEST(SauvegardeSure, TemporairesLaissesParUneSauvegardeInterrompueEffaces) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("donnees.txt");
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "ancien"));
    // A user's files named like temporaries, and a temporary of another file.
    const QStringList autres = {".donnees.txt.backup", ".donnees.txt.a1B2c3", ".donnees.txt.ZZZZZZ", ".autre.txt.a1B2c3",
                                "donnees.txt.a1B2c3"};
    for (const QString& nom : autres) ostrel_test::Ecrire(dossier.filePath(nom), QByteArray(1000, 'x'));
    Sauvegarde_Interrompue(dossier.filePath("autre.txt"));
    QStringList attendus = Fichiers(dossier.path());
    Sauvegarde_Interrompue(chemin);
    ASSERT_EQ(Fichiers(dossier.path()).size(), attendus.size() + 1);
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "nouveau"));
    EXPECT_EQ(Lire(chemin), "nouveau");
    EXPECT_EQ(Fichiers(dossier.path()), attendus);
}

// Symbolic links are saved through, a file its user may not write is refused,
// every name the system allows can be saved, and the reasons are French.
TEST(SauvegardeSure, LiensFichierProtegeNomsLongsEtRaisons) {
    QTemporaryDir dossier;
    const auto lien = [&](const QByteArray& vise, const char* nom) {
        return ::symlink(vise.constData(), QFile::encodeName(dossier.filePath(nom)).constData()) == 0;
    };
    ASSERT_TRUE(QDir(dossier.path()).mkdir("vrai"));
    const QString vrai = dossier.filePath("vrai/mesures.txt");
    ostrel_test::Ecrire(vrai, "ancien");
    ASSERT_TRUE(lien("vrai/mesures.txt", "relatif"));
    ASSERT_TRUE(lien(QFile::encodeName(dossier.filePath("relatif")), "absolu"));
    ASSERT_TRUE(lien("vrai/neuf.txt", "pendant"));
    ASSERT_TRUE(lien("boucle", "boucle"));
    ASSERT_TRUE(Sauvegarde_Sure(dossier.filePath("absolu"), "nouveau"));
    ASSERT_TRUE(Sauvegarde_Sure(dossier.filePath("pendant"), "neuf"));
    EXPECT_EQ(Lire(vrai), "nouveau");
    EXPECT_EQ(Lire(dossier.filePath("vrai/neuf.txt")), "neuf");
    for (const char* nom : {"absolu", "relatif", "pendant"})
        EXPECT_TRUE(QFileInfo(dossier.filePath(nom)).isSymLink()) << nom;
    EXPECT_EQ(Fichiers(dossier.filePath("vrai")), (QStringList{"mesures.txt", "neuf.txt"}));
    EXPECT_EQ(Sauvegarde_Sure(dossier.filePath("boucle"), "x").Erreur, "trop de liens symboliques");

    // Names up to 255 bytes, twice over the same file; one byte more is too long.
    const QString long_nom = dossier.filePath(QString(251, QLatin1Char('n')) + ".txt");
    EXPECT_TRUE(Sauvegarde_Sure(long_nom, "un"));
    EXPECT_TRUE(Sauvegarde_Sure(long_nom, "deux"));
    EXPECT_EQ(Lire(long_nom), "deux");
    EXPECT_EQ(Sauvegarde_Sure(long_nom + "x", "x").Erreur, "nom de fichier trop long");

    // Mode 0444 for a user who is not root (nobody, when the suite runs as root).
    const QString protege = dossier.filePath("protege.txt");
    const pid_t enfant = ::fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        if (::geteuid() == 0 && (::chown(QFile::encodeName(dossier.path()).constData(), 65534, 65534) != 0 ||
                                 ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(9);
        QFile f(protege);
        if (!f.open(QIODevice::WriteOnly) || f.write("ancien") != 6) ::_exit(8);
        f.close();
        ::chmod(QFile::encodeName(protege).constData(), 0444);
        const Resultat_Fichier r = Sauvegarde_Sure(protege, "nouveau");
        ::_exit(r ? 1 : r.Erreur != "fichier en lecture seule" ? 2 : Lire(protege) != "ancien" ? 3 : 0);
    }
    int etat = 0;
    ASSERT_EQ(::waitpid(enfant, &etat, 0), enfant);
    EXPECT_EQ(WEXITSTATUS(etat), 0);
    EXPECT_EQ(Fichiers(dossier.path()).filter("protege"), QStringList{"protege.txt"});
}

// In a child process, as a program under a file-size limit of 4 KiB.
TEST(SauvegardeSure, DepassementDeLaTailleLimiteSignaleCommeUnEchec) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("enregistrements.txt");
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "ancien"));
    const pid_t enfant = ::fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        Ignorer_Limite_Taille_Fichier();
        const rlimit limite{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limite);
        const Resultat_Fichier r = Sauvegarde_Sure(chemin, QByteArray(64 * 1024, 'x'));
        ::_exit(r ? 1 : (r.Erreur != "fichier trop volumineux" ? 2 : 0));
    }
    int etat = 0;
    ASSERT_EQ(::waitpid(enfant, &etat, 0), enfant);
    ASSERT_FALSE(WIFSIGNALED(etat)) << "killed by signal " << WTERMSIG(etat);
    EXPECT_EQ(WEXITSTATUS(etat), 0);  // failed, with its reason
    EXPECT_EQ(Lire(chemin), "ancien");
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"enregistrements.txt"});
}

struct stat Etat(const QString& chemin) {
    struct stat e {};
    ::stat(QFile::encodeName(chemin).constData(), &e);
    return e;
}

// Runs `faire` in a child process, as this user or as a user who is not root
// (nobody, when the suite runs as root); its exit code, 0 for success.
int Dans_Un_Enfant(const std::function<int()>& faire) {
    const pid_t enfant = ::fork();
    if (enfant == 0) ::_exit(faire());
    int etat = 0;
    if (enfant < 0 || ::waitpid(enfant, &etat, 0) != enfant || !WIFEXITED(etat)) return 98;
    return WEXITSTATUS(etat);
}

int En_Utilisateur(const std::function<int()>& faire) {
    return Dans_Un_Enfant([&] {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 99;
        return faire();
    });
}

// What a site set up on a file stays: its owner and group, its other names,
// a folder its user may not write; saves that overlap both succeed; a save
// written over in place that meets a size limit or a full disk leaves the old
// content.
TEST(SauvegardeSure, GardeLeFichierTelQueLeSiteLAPrepare) {
    QTemporaryDir dossier;
    const bool root = ::geteuid() == 0;
    const auto chemin = [&](const char* nom) { return dossier.filePath(nom); };
    const auto nom_c = [&](const char* nom) { return QFile::encodeName(chemin(nom)); };
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(dossier.path()).constData(), 65534, 65534), 0);
    } else {
        std::cerr << "Not run as root: a user's file saved by root, and a file of root's saved by a colleague "
                     "through its group, are not tried; a file given to another group of this user's is.\n";
        // A user may give a file of theirs to any group they belong to.
        gid_t groupes[256];
        const int n = ::getgroups(256, groupes);
        const gid_t* autre = std::find_if(groupes, groupes + std::max(n, 0), [](gid_t g) { return g != ::getegid(); });
        if (autre == groupes + std::max(n, 0)) {
            std::cerr << "This user belongs to no other group: the group kept is not tried.\n";
        } else {
            ostrel_test::Ecrire(chemin("groupe.txt"), "ancien");
            ASSERT_EQ(::chown(nom_c("groupe.txt").constData(), static_cast<uid_t>(-1), *autre), 0);
            ::chmod(nom_c("groupe.txt").constData(), 0664);
            ASSERT_TRUE(Sauvegarde_Sure(chemin("groupe.txt"), "nouveau"));
            EXPECT_EQ(Etat(chemin("groupe.txt")).st_gid, *autre);
            EXPECT_EQ(Etat(chemin("groupe.txt")).st_mode & 07777, 0664u);
        }
    }

    // Root saves a user's file: it stays the user's. A user saves a file shared
    // through its group: it stays its owner's.
    if (root) {
        ostrel_test::Ecrire(chemin("utilisateur.txt"), "ancien");
        ostrel_test::Ecrire(chemin("partage.txt"), "ancien");
        ASSERT_EQ(::chown(nom_c("utilisateur.txt").constData(), 65534, 65534), 0);
        ASSERT_EQ(::chown(nom_c("partage.txt").constData(), 0, 65534), 0);
        for (const char* nom : {"utilisateur.txt", "partage.txt"}) ::chmod(nom_c(nom).constData(), 0664);
        ASSERT_TRUE(Sauvegarde_Sure(chemin("utilisateur.txt"), "root"));
        EXPECT_EQ(En_Utilisateur([&] { return Sauvegarde_Sure(chemin("partage.txt"), "collegue") ? 0 : 1; }), 0);
        for (const auto& [nom, uid, contenu] :
             {std::tuple{"utilisateur.txt", 65534u, "root"}, std::tuple{"partage.txt", 0u, "collegue"}}) {
            const struct stat e = Etat(chemin(nom));
            EXPECT_EQ(e.st_uid, uid) << nom;
            EXPECT_EQ(e.st_gid, 65534u) << nom;
            EXPECT_EQ(e.st_mode & 07777, 0664u) << nom;
            EXPECT_EQ(Lire(chemin(nom)), contenu);
        }
    }

    // A file with two names: both give the new content.
    ostrel_test::Ecrire(chemin("nom1.txt"), "ancien");
    ASSERT_EQ(::link(nom_c("nom1.txt").constData(), nom_c("nom2.txt").constData()), 0);
    ASSERT_TRUE(Sauvegarde_Sure(chemin("nom1.txt"), "nouveau"));
    EXPECT_EQ(Lire(chemin("nom2.txt")), "nouveau");
    EXPECT_EQ(Etat(chemin("nom1.txt")).st_nlink, 2u);

    // A file anyone may write, in a folder its user may not write.
    ASSERT_TRUE(QDir(dossier.path()).mkdir("protege"));
    if (root) ::chown(nom_c("protege").constData(), 0, 0);
    ostrel_test::Ecrire(chemin("protege/ver.dva"), "ancien");
    ::chmod(nom_c("protege/ver.dva").constData(), 0666);
    ::chmod(nom_c("protege").constData(), 0555);
    EXPECT_EQ(En_Utilisateur([&] { return Sauvegarde_Sure(chemin("protege/ver.dva"), "nouveau") ? 0 : 1; }), 0);
    ::chmod(nom_c("protege").constData(), 0755);
    EXPECT_EQ(Lire(chemin("protege/ver.dva")), "nouveau");
    EXPECT_EQ(Fichiers(chemin("protege")), QStringList{"ver.dva"});

    // Two saves of one file that overlap: the later one leaves the earlier
    // one's temporary alone.
    Sauvegarde_Progressive premiere(chemin("commun.txt"));
    premiere.Ecrire("premiere");
    ASSERT_TRUE(Sauvegarde_Sure(chemin("commun.txt"), "seconde"));
    const Resultat_Fichier r = premiere.Terminer();
    EXPECT_TRUE(r) << r.Erreur.toStdString();
    EXPECT_EQ(Lire(chemin("commun.txt")), "premiere");

    // Written over in place under a file-size limit of 4 KiB, over an old
    // content already past it, and on a full disk: refused before a byte is
    // written.
    ostrel_test::Ecrire(chemin("grand.txt"), QByteArray(8192, 'a'));
    ASSERT_EQ(::link(nom_c("grand.txt").constData(), nom_c("grand2.txt").constData()), 0);
    ::chmod(nom_c("grand.txt").constData(), 0666);
    EXPECT_EQ(En_Utilisateur([&] {
                  Ignorer_Limite_Taille_Fichier();
                  const rlimit limite{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limite);
                  const Resultat_Fichier limite_atteinte = Sauvegarde_Sure(chemin("grand.txt"), QByteArray(6000, 'x'));
                  return limite_atteinte.Erreur == "fichier trop volumineux" ? 0 : 1;
              }),
              0);
    EXPECT_EQ(Lire(chemin("grand2.txt")), QByteArray(8192, 'a'));
    ASSERT_TRUE(QDir(dossier.path()).mkdir("petit"));
    const int plein = En_Utilisateur([&] {
        if (!Petit_Disque(chemin("petit"), chemin("sans montage"))) return 77;
        ostrel_test::Ecrire(chemin("petit/a.txt"), "ancien");
        ostrel_test::Ecrire(chemin("petit/occupe"), QByteArray(40000, 'o'));
        if (::link(nom_c("petit/a.txt").constData(), nom_c("petit/b.txt").constData()) != 0) return 2;
        const Resultat_Fichier disque_plein = Sauvegarde_Sure(chemin("petit/a.txt"), QByteArray(40000, 'x'));
        return disque_plein.Erreur == "disque plein" && Lire(chemin("petit/b.txt")) == "ancien" ? 0 : 1;
    });
    if (plein == 77)
        GTEST_SKIP() << "No file system can be mounted here (" << Lire(chemin("sans montage")).toStdString()
                     << "): the full disk is not tried.";
    EXPECT_EQ(plein, 0);
}

// An ACL in the form the system keeps it in its attributes: entries of a tag
// (user 1, named user 2, group 4, mask 0x10, others 0x20), rights and id.
struct Entree_Acl {
    std::uint16_t Etiquette, Droits;
    std::uint32_t Id;
};
QByteArray Acl(std::initializer_list<Entree_Acl> entrees) {
    QByteArray acl(4, '\0');
    acl[0] = 2;  // version of the ACL's form
    for (const Entree_Acl e : entrees) acl.append(reinterpret_cast<const char*>(&e), sizeof e);
    return acl;
}

QByteArray Attribut(const QString& chemin, const char* nom) {
    QByteArray valeur(256, '\0');
    const ssize_t n = ::getxattr(QFile::encodeName(chemin).constData(), nom, valeur.data(), static_cast<size_t>(valeur.size()));
    valeur.resize(std::max<ssize_t>(n, 0));
    return valeur;
}

// A file shared with a colleague through an ACL entry, and marked with a
// site's own attribute, keeps both: the colleague may still write it, and the
// group keeps its own bits rather than the ACL's mask.
TEST(SauvegardeSure, GardeLesAttributsEtLesAclDuFichier) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("partage.txt");
    const QByteArray c = QFile::encodeName(chemin);
    ostrel_test::Ecrire(chemin, "ancien");
    ::chmod(c.constData(), 0640);
    if (::setxattr(c.constData(), "user.site", "chambre froide", 14, 0) != 0)
        GTEST_SKIP() << "The file system of " << dossier.path().toStdString() << " keeps no user attribute.";
    // Owner rw, nobody rw, group r, mask rw, others nothing: as `setfacl -m u:nobody:rw` on a 0640 file.
    const QByteArray acl = Acl({{0x01, 6, ~0u}, {0x02, 6, 65534}, {0x04, 4, ~0u}, {0x10, 6, ~0u}, {0x20, 0, ~0u}});
    if (::setxattr(c.constData(), "system.posix_acl_access", acl.constData(), static_cast<size_t>(acl.size()), 0) != 0)
        GTEST_SKIP() << "The file system of " << dossier.path().toStdString() << " keeps no ACL.";
    const auto attribut = [&](const char* nom) { return Attribut(chemin, nom); };
    const QByteArray acl_avant = attribut("system.posix_acl_access");
    const mode_t mode_avant = Etat(chemin).st_mode;

    ASSERT_TRUE(Sauvegarde_Sure(chemin, "nouveau"));
    EXPECT_EQ(Lire(chemin), "nouveau");
    EXPECT_EQ(attribut("user.site"), "chambre froide");
    EXPECT_EQ(attribut("system.posix_acl_access"), acl_avant);
    EXPECT_EQ(Etat(chemin).st_mode, mode_avant);
    EXPECT_EQ(Fichiers(dossier.path()), QStringList{"partage.txt"});
    if (::geteuid() == 0) {
        ::chmod(QFile::encodeName(dossier.path()).constData(), 0755);
        EXPECT_EQ(En_Utilisateur([&] { return Sauvegarde_Sure(chemin, "collegue") ? 0 : 1; }), 0);
        EXPECT_EQ(Lire(chemin), "collegue");
    }
}

// Written over in place (a file with two names): a shorter content cuts the
// old tail; a lock another program holds on the file is waited for a few
// seconds, then the save fails with its reason and the file stays as it was.
TEST(SauvegardeSure, SurPlaceLaFinEstCoupeeEtUnVerrouNEstPasAttenduSansFin) {
    QTemporaryDir dossier;
    const QString nom1 = dossier.filePath("nom1.txt"), nom2 = dossier.filePath("nom2.txt");
    ostrel_test::Ecrire(nom1, "un ancien contenu bien plus long");
    ASSERT_EQ(::link(QFile::encodeName(nom1).constData(), QFile::encodeName(nom2).constData()), 0);
    ASSERT_TRUE(Sauvegarde_Sure(nom1, "court"));
    EXPECT_EQ(Lire(nom2), "court");

    const int verrou = ::open(QFile::encodeName(nom2).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(verrou, LOCK_EX), 0);
    const double echelle = Echelle_Temps();
    Definir_Echelle_Temps(0.01);
    const auto debut = std::chrono::steady_clock::now();
    const Resultat_Fichier r = Sauvegarde_Sure(nom1, "pendant le verrou");
    const auto attente = std::chrono::steady_clock::now() - debut;
    Definir_Echelle_Temps(echelle);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Erreur, "le fichier est utilisé par un autre programme");
    EXPECT_FALSE(r.Entame);
    EXPECT_LT(attente, std::chrono::seconds(2));
    EXPECT_EQ(Lire(nom2), "court");
    ::close(verrou);
    ASSERT_TRUE(Sauvegarde_Sure(nom1, "apres"));
    EXPECT_EQ(Lire(nom2), "apres");
}

TEST(SauvegardeSure, NouveauFichierAuModeDuUmask) {
    QTemporaryDir dossier;
    const auto mode = [&](const char* nom) {
        struct stat e {};
        ::stat(QFile::encodeName(dossier.filePath(nom)).constData(), &e);
        return e.st_mode & 07777;
    };
    const mode_t avant = ::umask(027);
    ASSERT_TRUE(Sauvegarde_Sure(dossier.filePath("a.txt"), "a"));
    EXPECT_EQ(mode("a.txt"), 0640u);
    ::umask(002);
    ASSERT_TRUE(Sauvegarde_Sure(dossier.filePath("b.txt"), "b"));
    EXPECT_EQ(mode("b.txt"), 0664u);
    // An existing file keeps its own mode.
    ::chmod(QFile::encodeName(dossier.filePath("a.txt")).constData(), 0604);
    ASSERT_TRUE(Sauvegarde_Sure(dossier.filePath("a.txt"), "a2"));
    EXPECT_EQ(mode("a.txt"), 0604u);
    ::umask(avant);
}

// Another user who opens the temporary before it takes the file's mode reads,
// through that opening, all that is written to it after. A file the site
// made 0600 (the options keep the administrator password) is closed to them
// from the moment its temporary is made, whatever the umask.
TEST(SauvegardeSure, UnFichierFermeAuxAutresLeResteDesLaCreationDuTemporaire) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("ver.dva");
    ostrel_test::Ecrire(chemin, "ancien");
    ::chmod(QFile::encodeName(chemin).constData(), 0600);
    const mode_t umask_avant = ::umask(022);
    // The temporary is locked as soon as it is made.
    std::vector<mode_t> modes;
    appels::avant_flock = [&](int fd) {
        struct stat e {};
        if (::fstat(fd, &e) == 0) modes.push_back(e.st_mode & 07777);
    };
    const Resultat_Fichier r = Sauvegarde_Sure(chemin, "mot de passe");
    appels::avant_flock = nullptr;
    ::umask(umask_avant);
    ASSERT_TRUE(r) << r.Erreur.toStdString();
    ASSERT_FALSE(modes.empty());
    for (const mode_t m : modes) EXPECT_EQ(m & 077, 0u) << std::oct << m;
    EXPECT_EQ(Etat(chemin).st_mode & 07777, 0600u);
    EXPECT_EQ(Lire(chemin), "mot de passe");
}

// In a folder with a default ACL (as `setfacl -d -m u:nobody:rw`): a file
// saved there that had no ACL takes none from the folder and keeps its mode;
// a new file ends as opening it for output makes one.
TEST(SauvegardeSure, AclParDefautDuDossier) {
    QTemporaryDir dossier;
    const QString ancien = dossier.filePath("ancien.txt");
    ostrel_test::Ecrire(ancien, "ancien");
    ::chmod(QFile::encodeName(ancien).constData(), 0640);
    const QByteArray defaut = Acl({{0x01, 7, ~0u}, {0x02, 6, 65534}, {0x04, 5, ~0u}, {0x10, 7, ~0u}, {0x20, 5, ~0u}});
    if (::setxattr(QFile::encodeName(dossier.path()).constData(), "system.posix_acl_default", defaut.constData(),
                   static_cast<size_t>(defaut.size()), 0) != 0)
        GTEST_SKIP() << "The file system of " << dossier.path().toStdString() << " keeps no ACL.";
    ASSERT_TRUE(Sauvegarde_Sure(ancien, "nouveau"));
    EXPECT_EQ(Attribut(ancien, "system.posix_acl_access"), QByteArray());
    EXPECT_EQ(Etat(ancien).st_mode & 07777, 0640u);

    const QString temoin = dossier.filePath("temoin.txt"), neuf = dossier.filePath("neuf.txt");
    const int fd = ::open(QFile::encodeName(temoin).constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_TRUE(Sauvegarde_Sure(neuf, "neuf"));
    EXPECT_NE(Attribut(temoin, "system.posix_acl_access"), QByteArray());
    EXPECT_EQ(Attribut(neuf, "system.posix_acl_access"), Attribut(temoin, "system.posix_acl_access"));
    EXPECT_EQ(Etat(neuf).st_mode & 07777, Etat(temoin).st_mode & 07777);
}

// A file system that gives no lock (NFS without its lock service), or takes
// no lock of that kind: the save written in place goes on without one, and
// so do appends.
TEST(SauvegardeSure, SansVerrouDuSystemeDeFichiersLaSauvegardeSurPlaceSeFait) {
    QTemporaryDir dossier;
    const QString nom1 = dossier.filePath("nom1.txt"), nom2 = dossier.filePath("nom2.txt");
    ostrel_test::Ecrire(nom1, "ancien");
    ASSERT_EQ(::link(QFile::encodeName(nom1).constData(), QFile::encodeName(nom2).constData()), 0);
    for (const int refus : {ENOLCK, EOPNOTSUPP, EINVAL}) {
        const QByteArray contenu = "sans verrou " + QByteArray::number(refus);
        appels::flock_refuse = refus;
        const Resultat_Fichier r = Sauvegarde_Sure(nom1, contenu);
        appels::flock_refuse = 0;
        EXPECT_TRUE(r) << refus << ": " << r.Erreur.toStdString();
        EXPECT_EQ(Lire(nom2), contenu);
    }

    // Appends go on without one, and bytes cut short (here by a file-size
    // limit) are not taken back, the file said to hold them: what follows
    // them might be another program's line.
    const QString trace = dossier.filePath("setupm.snf");
    EXPECT_EQ(Dans_Un_Enfant([&] {
                  Ignorer_Limite_Taille_Fichier();
                  const rlimit limite{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limite);
                  int faute = 0;
                  for (const int refus : {0, ENOLCK, EOPNOTSUPP}) {
                      ostrel_test::Ecrire(trace, QByteArray(4096 - 10, 'x'));
                      appels::flock_refuse = refus;
                      const bool ajoute = Ajouter_Au_Fichier(trace, "court\r\n").Reussi;
                      const Resultat_Fichier r = Ajouter_Au_Fichier(trace, "trop long\r\n");
                      appels::flock_refuse = 0;
                      const qsizetype attendu = refus != 0 ? 4096 : 4096 - 3;
                      if (!ajoute || r.Erreur != "fichier trop volumineux" || r.Entame != (refus != 0) ||
                          Lire(trace).size() != attendu)
                          faute = refus + 1;
                  }
                  return faute;
              }),
              0);
}

// A named pipe, and for root a device, stay what they are: the save is
// refused with its reason, and waits for no reader.
TEST(SauvegardeSure, UnTubeOuUnPeripheriqueResteCeQuIlEst) {
    QTemporaryDir dossier;
    const QString tube = dossier.filePath("export.txt"), peripherique = dossier.filePath("nul");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tube).constData(), 0644), 0);
    QStringList noms{tube};
    if (::mknod(QFile::encodeName(peripherique).constData(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
        noms << peripherique;
    else
        std::cerr << "No device can be made here (not root): only the named pipe is tried.\n";
    for (const QString& nom : noms) {
        EXPECT_EQ(Sauvegarde_Sure(nom, "x").Erreur, "ce n'est pas un fichier ordinaire") << nom.toStdString();
        Sauvegarde_Progressive progressive(nom);
        progressive.Ecrire("x");
        EXPECT_EQ(progressive.Terminer().Erreur, "ce n'est pas un fichier ordinaire") << nom.toStdString();
    }
    EXPECT_TRUE(S_ISFIFO(Etat(tube).st_mode));
    if (noms.size() > 1) {
        EXPECT_TRUE(S_ISCHR(Etat(peripherique).st_mode));
    }
    EXPECT_EQ(Fichiers(dossier.path()).size(), noms.size());
}

// What a person names as a file to read may be a named pipe, a device or a
// socket: each is refused at once, and no reader waits for a writer.
TEST(LireFichier, UnTubeUnPeripheriqueOuUnSocketSontRefusesSansAttendre) {
    QTemporaryDir dossier;
    const QString tube = dossier.filePath("journal.txt"), prise = dossier.filePath("prise.txt");
    ostrel_test::Tube_Garde garde(tube);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    const QByteArray nom_prise = QFile::encodeName(prise);
    ASSERT_LT(static_cast<size_t>(nom_prise.size()), sizeof adresse.sun_path);
    std::copy(nom_prise.begin(), nom_prise.end(), adresse.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse), 0);
    for (const QString& nom : {tube, QStringLiteral("/dev/null"), prise}) {
        QByteArray contenu = "avant";
        const Resultat_Fichier r = Lire_Fichier(nom, contenu);
        EXPECT_FALSE(r) << nom.toStdString();
        EXPECT_EQ(r.Erreur, "ce n'est pas un fichier ordinaire") << nom.toStdString();
        EXPECT_TRUE(contenu.isEmpty());
    }
    EXPECT_EQ(garde.Lachers(), 0) << "a reader waited for the pipe's writer";
    ::close(fd);
    QByteArray contenu;
    EXPECT_EQ(Lire_Fichier(dossier.filePath("absent.txt"), contenu).Erreur, "fichier ou dossier introuvable");
    ostrel_test::Ecrire(dossier.filePath("vrai.txt"), "contenu");
    EXPECT_TRUE(Lire_Fichier(dossier.filePath("vrai.txt"), contenu));
    EXPECT_EQ(contenu, "contenu");
}

// A file larger than its reader takes is refused before anything of it is
// read, so it needs no memory: at its bound it reads, a byte more it does not;
// one that grows past it while read is refused as well; a reader that gives
// no bound takes a gigabyte. Memory the system refuses is a refusal said, not
// the end of the program: tried in a child process whose address space is
// bounded, where the reader asks for a whole gigabyte.
TEST(LireFichier, UnFichierTropGrandOuQueLaMemoireNePeutTenirEstRefuse) {
    QTemporaryDir dossier;
    const QString nom = dossier.filePath("image_disque.txt");
    constexpr qint64 Mo = qint64{1} << 20;
    const QString insecable(QChar(0x00A0));
    QByteArray contenu = "avant";
    ASSERT_TRUE(ostrel_test::Fichier_Creux(nom, Mo));
    EXPECT_TRUE(Lire_Fichier(nom, contenu, Mo));
    EXPECT_EQ(contenu, QByteArray(Mo, '\0'));
    ASSERT_TRUE(ostrel_test::Fichier_Creux(nom, Mo + 1));
    Resultat_Fichier r = Lire_Fichier(nom, contenu, Mo);
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.Trop_Grand);
    EXPECT_FALSE(r.Sans_Memoire);
    EXPECT_EQ(r.Erreur, "le fichier est trop grand (2" + insecable + "Mo)");
    EXPECT_TRUE(contenu.isEmpty());
    // The system's own files tell a size of 0 and hold more.
    r = Lire_Fichier(QStringLiteral("/proc/self/maps"), contenu, 100);
    EXPECT_TRUE(r.Trop_Grand);
    EXPECT_EQ(r.Erreur, "le fichier est trop grand (1" + insecable + "Mo)");
    EXPECT_TRUE(contenu.isEmpty());
    ASSERT_TRUE(Lire_Fichier(QStringLiteral("/proc/self/maps"), contenu));
    EXPECT_GT(contenu.size(), 100);
    // Whole, however many reads it takes: the map of a process held still,
    // its memory in a thousand pieces.
    const pid_t immobile = ::fork();
    if (immobile == 0) {
        const long page = ::sysconf(_SC_PAGESIZE);
        auto* zone = static_cast<char*>(::mmap(nullptr, 2000 * page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        for (int i = 0; zone != MAP_FAILED && i < 2000; i += 2) ::mprotect(zone + i * page, page, PROT_NONE);
        ::raise(SIGSTOP);
        ::_exit(0);
    }
    int etat = 0;
    ASSERT_EQ(::waitpid(immobile, &etat, WUNTRACED), immobile);
    const QString carte = QStringLiteral("/proc/%1/maps").arg(immobile);
    r = Lire_Fichier(carte, contenu);
    const QByteArray attendu = Lire(carte);
    ::kill(immobile, SIGKILL);
    ::waitpid(immobile, &etat, 0);
    EXPECT_TRUE(r);
    EXPECT_GE(attendu.count('\n'), 1000);
    EXPECT_EQ(contenu, attendu);
    ASSERT_TRUE(ostrel_test::Fichier_Creux(nom, qint64{30} << 30));
    r = Lire_Fichier(nom, contenu);
    EXPECT_TRUE(r.Trop_Grand);
    EXPECT_EQ(r.Erreur, "le fichier est trop grand (30" + insecable + "720" + insecable + "Mo)");

    ASSERT_TRUE(ostrel_test::Fichier_Creux(nom, qint64{1} << 30));
    const auto sans_memoire = [&] {
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        const rlim_t limite = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (256u << 20);
        const rlimit espace{limite, limite};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &espace) != 0) std::_Exit(2);
        QByteArray lu;
        const Resultat_Fichier manque = Lire_Fichier(nom, lu, qint64{2} << 30);
        std::cerr << manque.Erreur.toStdString() << "\n";
        const QString attendue = "la mémoire manque pour lire le fichier (1" + insecable + "024" + insecable + "Mo)";
        std::_Exit(manque.Sans_Memoire && !manque.Trop_Grand && lu.isEmpty() && manque.Erreur == attendue ? 0 : 1);
    };
    // The child runs the program again, so that the sanitizers' allocator, if
    // any, hands the refusal on as the system's would.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QByteArray asan = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS", asan + (asan.isEmpty() ? "" : ":") + "allocator_may_return_null=1");
    EXPECT_EXIT(sans_memoire(), ::testing::ExitedWithCode(0), "");
    asan.isNull() ? qunsetenv("ASAN_OPTIONS") : qputenv("ASAN_OPTIONS", asan);
    GTEST_FLAG_SET(death_test_style, style);
}

// The flags set on a file with chattr, as the system gives them.
int Drapeaux(const QString& chemin) {
    int drapeaux = -1;
    const int fd = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &drapeaux) != 0) drapeaux = -1;
    if (fd >= 0) ::close(fd);
    return drapeaux;
}

bool Poser_Drapeaux(const QString& chemin, int drapeaux) {
    const int fd = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC);
    const bool pose = fd >= 0 && ::ioctl(fd, FS_IOC_SETFLAGS, &drapeaux) == 0;
    if (fd >= 0) ::close(fd);
    return pose;
}

// The last mounts a site has. A file that is itself a mount point (bound into
// place) cannot be replaced: it is written over in place, and every other
// refusal of the system has French words. A driver that refuses a cut that
// changes nothing (FAT through FUSE) does not make a whole file be told
// incomplete. The flags set with chattr stay, on the new file or, where they
// cannot be given to it, on the file written over in place.
TEST(SauvegardeSure, FichierMonteDrapeauxEtCoupeRefusee) {
    QTemporaryDir dossier;
    const QString monte = dossier.filePath("monte.txt"), source = dossier.filePath("source.txt");
    ostrel_test::Ecrire(monte, "cache");
    ostrel_test::Ecrire(source, "ancien");
    const int lie = Dans_Un_Enfant([&] {
        if (!Espace_De_Montage() ||
            ::mount(QFile::encodeName(source).constData(), QFile::encodeName(monte).constData(), nullptr, MS_BIND,
                    nullptr) != 0)
            return 77;
        const Resultat_Fichier r = Sauvegarde_Sure(monte, "nouveau");
        if (!r) std::cerr << r.Erreur.toStdString() << "\n";
        return r ? 0 : 1;
    });
    if (lie == 77) {
        std::cerr << "No file can be mounted here: the refusal of the rename as busy is stood in for.\n";
        appels::rename_refuse = EBUSY;
        const Resultat_Fichier r = Sauvegarde_Sure(source, "nouveau");
        appels::rename_refuse = 0;
        EXPECT_TRUE(r) << r.Erreur.toStdString();
    } else {
        EXPECT_EQ(lie, 0);
    }
    EXPECT_EQ(Lire(source), "nouveau");
    EXPECT_EQ(Lire(monte), "cache");
    EXPECT_EQ(Fichiers(dossier.path()), (QStringList{"monte.txt", "source.txt"}));
    for (const auto& [code, texte] : {std::pair{EXDEV, "le fichier et son dossier ne sont pas sur le même disque"},
                                      std::pair{ESTALE, "le fichier a changé sur le serveur"},
                                      std::pair{ETXTBSY, "le fichier est un programme en cours d'exécution"}}) {
        appels::rename_refuse = code;
        const Resultat_Fichier r = Sauvegarde_Sure(source, "refuse");
        appels::rename_refuse = 0;
        EXPECT_EQ(r.Erreur, QString::fromUtf8(texte));
    }
    EXPECT_EQ(Lire(source), "nouveau");

    // Written over in place (two names), a cut to the length the file has refused.
    const QString fat1 = dossier.filePath("fat1.txt"), fat2 = dossier.filePath("fat2.txt");
    ostrel_test::Ecrire(fat1, "ancien");
    ASSERT_EQ(::link(QFile::encodeName(fat1).constData(), QFile::encodeName(fat2).constData()), 0);
    appels::coupe_sans_changement_refusee = true;
    for (const QByteArray contenu : {"autre!", "bien plus long", "court"}) {
        const Resultat_Fichier r = Sauvegarde_Sure(fat1, contenu);
        EXPECT_TRUE(r) << contenu.toStdString() << ": " << r.Erreur.toStdString();
        EXPECT_EQ(Lire(fat2), contenu);
    }
    appels::coupe_sans_changement_refusee = false;

    const QString marque = dossier.filePath("marque.txt");
    ostrel_test::Ecrire(marque, "ancien");
    const int site = FS_NODUMP_FL | FS_NOATIME_FL;
    const int avant = Drapeaux(marque);
    if (avant < 0 || !Poser_Drapeaux(marque, avant | site) || (Drapeaux(marque) & site) != site)
        GTEST_SKIP() << "The file system of " << dossier.path().toStdString() << " keeps no flags: they are not tried.";
    ASSERT_TRUE(Sauvegarde_Sure(marque, "nouveau"));
    EXPECT_EQ(Drapeaux(marque) & site, site);
    // Flags the new file cannot take (data journaling, for a user who is not root).
    const ino_t inode = Etat(marque).st_ino;
    appels::drapeaux_refuses = EPERM;
    const Resultat_Fichier r = Sauvegarde_Sure(marque, "sur place");
    appels::drapeaux_refuses = 0;
    EXPECT_TRUE(r) << r.Erreur.toStdString();
    EXPECT_EQ(Etat(marque).st_ino, inode);
    EXPECT_EQ(Drapeaux(marque) & site, site);
    EXPECT_EQ(Lire(marque), "sur place");
}

// An append-only file is refused, and left as it was.
TEST(SauvegardeSure, FichierEnAjoutSeulRefuse) {
    QTemporaryDir dossier;
    const QString journal = dossier.filePath("journal.txt");
    ostrel_test::Ecrire(journal, "ancien");
    const int avant = Drapeaux(journal);
    // Only a process that may set the flag (root, in general) can make such a file.
    if (avant < 0 || !Poser_Drapeaux(journal, avant | FS_APPEND_FL))
        GTEST_SKIP() << "An append-only file cannot be made in " << dossier.path().toStdString() << " (not root): it is not tried.";
    EXPECT_EQ(Sauvegarde_Sure(journal, "refuse").Erreur, "le fichier n'accepte que des ajouts");
    ASSERT_TRUE(Poser_Drapeaux(journal, avant));
    EXPECT_EQ(Lire(journal), "ancien");
}

// A printout killed halfway (a crash, a power cut) leaves its temporary, and
// every printout has a name of its own: the next printout into that folder
// removes it, and leaves a printout still being written and the user's files.
TEST(SauvegardeSure, UneImpressionOteLesRestesDesImpressionsInterrompues) {
    QTemporaryDir dossier;
    const pid_t enfant = ::fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        Sauvegarde_Progressive impression(dossier.filePath("Impression_1.pdf"), Nom_Pris::Echouer);
        impression.Ecrire(QByteArray(1000, 'x'));
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(enfant, nullptr, 0), enfant);
    const QStringList restes = Fichiers(dossier.path());
    ASSERT_EQ(restes.size(), 1);
    for (const char* nom : {".ostrel-rapport.txt", ".ostrel-0123ABCD-a1B2c3", ".ostrel-0123abcd-a1B2c"})
        ostrel_test::Ecrire(dossier.filePath(nom), "a moi");
    Sauvegarde_Progressive en_cours(dossier.filePath("Impression_2.pdf"), Nom_Pris::Echouer);
    en_cours.Ecrire("en cours");
    QStringList attendus = Fichiers(dossier.path());
    attendus.removeOne(restes[0]);
    attendus << "Impression_3.pdf";
    attendus.sort();
    ASSERT_TRUE(Sauvegarde_Sure(dossier.filePath("autre.txt"), "autre"));  // an ordinary save takes no other's
    attendus << "autre.txt";
    attendus.sort();
    Sauvegarde_Progressive suivante(dossier.filePath("Impression_3.pdf"), Nom_Pris::Echouer);
    suivante.Ecrire("suivante");
    ASSERT_TRUE(suivante.Terminer());
    EXPECT_EQ(Fichiers(dossier.path()), attendus);
    EXPECT_TRUE(en_cours.Terminer());
    EXPECT_EQ(Lire(dossier.filePath("Impression_2.pdf")), "en cours");
}

// A save written in place (nom1.txt of 8 KiB, whose other name is nom2.txt)
// killed right after it reserved its room, 16 MiB; not tried where the file
// system reserves nothing ahead.
class Sauvegarde_Tuee_Apres_Reserve : public ::testing::Test {
protected:
    void SetUp() override {
        ostrel_test::Ecrire(nom1, QByteArray(8192, 'a'));
        ASSERT_EQ(::link(QFile::encodeName(nom1).constData(), QFile::encodeName(nom2).constData()), 0);
        const pid_t enfant = ::fork();
        if (enfant == 0) {
            appels::apres_fallocate = [] { ::_exit(0); };
            Sauvegarde_Sure(nom1, QByteArray(16 << 20, 'x'));
            ::_exit(1);
        }
        int etat = 0;
        ASSERT_EQ(::waitpid(enfant, &etat, 0), enfant);
        if (!WIFEXITED(etat) || WEXITSTATUS(etat) != 0)
            GTEST_SKIP() << "The file system of " << dossier.path().toStdString() << " reserves no room ahead.";
    }
    QTemporaryDir dossier;
    const QString nom1 = dossier.filePath("nom1.txt"), nom2 = dossier.filePath("nom2.txt");
};

TEST_F(Sauvegarde_Tuee_Apres_Reserve, LeFichierGardeSaLongueurEtSonContenu) {
    EXPECT_EQ(Etat(nom2).st_size, 8192);
    EXPECT_EQ(Lire(nom2), QByteArray(8192, 'a'));
}

// What it left past the file's end is given back when the next save of the
// file starts, before that one needs room of its own.
// A save that fails after it gave the reserve back (over the size limit of
// its process) leaves the file's content whole.
TEST_F(Sauvegarde_Tuee_Apres_Reserve, UneSauvegardeQuiEchoueApresLaRestitutionGardeLeContenu) {
    ASSERT_GE(Etat(nom1).st_blocks * 512, 16 << 20);
    EXPECT_EQ(Dans_Un_Enfant([&] {
                  Ignorer_Limite_Taille_Fichier();
                  const rlimit limite{12288, 12288};
                  ::setrlimit(RLIMIT_FSIZE, &limite);
                  const Resultat_Fichier r = Sauvegarde_Sure(nom1, QByteArray(16384, 'x'));
                  return r.Erreur == "fichier trop volumineux" && !r.Entame ? 0 : 1;
              }),
              0);
    EXPECT_LT(Etat(nom1).st_blocks * 512, 1 << 20);
    EXPECT_EQ(Lire(nom2), QByteArray(8192, 'a'));
}

TEST_F(Sauvegarde_Tuee_Apres_Reserve, LaReserveEstRendueAuDebutDeLaSauvegardeSuivante) {
    const auto occupe = [&] { return static_cast<long long>(Etat(nom1).st_blocks) * 512; };
    ASSERT_GE(occupe(), 16 << 20);
    Sauvegarde_Progressive suivante(nom1);
    EXPECT_LT(occupe(), 1 << 20);
    suivante.Ecrire("nouveau");
    ASSERT_TRUE(suivante.Terminer());
    EXPECT_EQ(Lire(nom2), "nouveau");
}

// A new file only, as a printout is written: it takes its name, or leaves a
// file made under that name meanwhile as it is, and leaves nothing else.
void Verifier_Nouveau_Fichier_Seulement(const QString& dossier) {
    const QString pris = dossier + "/Impression_1.pdf", libre = dossier + "/Impression_2.pdf";
    Sauvegarde_Progressive devancee(pris, Nom_Pris::Echouer);
    devancee.Ecrire("impression");
    ostrel_test::Ecrire(pris, "venu entre temps");
    const Resultat_Fichier r = devancee.Terminer();
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Erreur, "le fichier existe déjà");
    EXPECT_EQ(Lire(pris), "venu entre temps");
    Sauvegarde_Progressive impression(libre, Nom_Pris::Echouer);
    impression.Ecrire("%PDF impression");
    const Resultat_Fichier ecrite = impression.Terminer();
    EXPECT_TRUE(ecrite) << ecrite.Erreur.toStdString();
    EXPECT_EQ(Lire(libre), "%PDF impression");
    EXPECT_EQ(Fichiers(dossier), (QStringList{"Impression_1.pdf", "Impression_2.pdf"}));
}

TEST(SauvegardeSure, NouveauFichierSeulementNeRemplaceRien) {
    QTemporaryDir dossier;
    Verifier_Nouveau_Fichier_Seulement(dossier.path());
}

// The FUSE file system of the tests mounted over a folder of its own, for the
// time of a test; empty Raison() when it is mounted.
class Montage_Sans_Lien {
public:
    Montage_Sans_Lien() {
#ifndef OSTREL_MONTAGE_SANS_LIEN
        raison_ = "libfuse3 was not there when the tests were built";
#else
        if (::access("/dev/fuse", R_OK | W_OK) != 0) {
            raison_ = "/dev/fuse cannot be opened";
            return;
        }
        if (::geteuid() != 0 && ::access("/usr/bin/fusermount3", X_OK) != 0) {
            raison_ = "no fusermount3 for a user who is not root";
            return;
        }
        if (!QDir(racine_.path()).mkdir("dessous") || !QDir(racine_.path()).mkdir("montage")) {
            raison_ = "no folder can be made in " + racine_.path().toStdString();
            return;
        }
        const QByteArray dessous = QFile::encodeName(racine_.filePath("dessous")), montage = QFile::encodeName(Chemin());
        const dev_t avant = Etat(Chemin()).st_dev;
        programme_ = ::fork();
        if (programme_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that dies does not leave it mounted
            ::execl(OSTREL_MONTAGE_SANS_LIEN, "montage_sans_lien", dessous.constData(), montage.constData(), "-f", "-s",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // As long as it takes to start, bounded only against a program that hangs.
        for (int attente_ms = 0; Etat(Chemin()).st_dev == avant; attente_ms += 10) {
            int etat = 0;
            if (::waitpid(programme_, &etat, WNOHANG) == programme_) {
                programme_ = -1;
                raison_ = "the FUSE file system could not be mounted (exit code " + std::to_string(WEXITSTATUS(etat)) + ")";
                return;
            }
            if (attente_ms >= 60000) {
                raison_ = "the FUSE file system was not mounted after a minute";
                return;
            }
            ::usleep(10000);
        }
        monte_ = true;
#endif
    }
    ~Montage_Sans_Lien() {
        if (monte_) {
            if (::geteuid() == 0)
                ::umount2(QFile::encodeName(Chemin()).constData(), MNT_DETACH);
            else if (::system(("/usr/bin/fusermount3 -u -z '" + QFile::encodeName(Chemin()) + "'").constData()) != 0)
                std::cerr << "fusermount3 -u failed\n";
        }
        if (programme_ > 0) {
            ::kill(programme_, SIGTERM);
            ::waitpid(programme_, nullptr, 0);
        }
    }
    QString Chemin() const { return racine_.filePath("montage"); }
    const std::string& Raison() const { return raison_; }

private:
    QTemporaryDir racine_;
    pid_t programme_ = -1;
    bool monte_ = false;
    std::string raison_;
};

// A printouts folder on a mount that makes no hard link and has no rename
// that refuses a taken name (exFAT sticks, network shares through gvfs or
// smb, cloud mounts): printouts are written there as anywhere, and an
// ordinary save too.
TEST(SauvegardeSure, ImpressionSurUnMontageSansLienDur) {
    Montage_Sans_Lien montage;
    if (!montage.Raison().empty()) GTEST_SKIP() << "Not tried: " << montage.Raison() << ".";
    Verifier_Nouveau_Fichier_Seulement(montage.Chemin());
    const QString options = montage.Chemin() + "/ver.dva";
    ASSERT_TRUE(Sauvegarde_Sure(options, "ancien"));
    ASSERT_TRUE(Sauvegarde_Sure(options, "nouveau"));
    EXPECT_EQ(Lire(options), "nouveau");
}

TEST(SauvegardeSure, DossierAbsentOuNomVide) {
    QTemporaryDir dossier;
    EXPECT_EQ(Sauvegarde_Sure(dossier.filePath("absent/fichier.txt"), "x").Erreur, "fichier ou dossier introuvable");
    EXPECT_FALSE(Sauvegarde_Sure(QString(), "x"));
    EXPECT_FALSE(Sauvegarde_Sure(dossier.path(), "x"));
}

TEST(Chemins, DisqueCEtDossierWindows) {
    qputenv("OSTREL_DISQUE_C", "/tmp/disque");
    qunsetenv("OSTREL_DOSSIER_WINDOWS");
    EXPECT_EQ(Chemin_Natif("c:\\OstrelSoft+\\ver.dva"), "/tmp/disque/OstrelSoft+/ver.dva");
    EXPECT_EQ(Chemin_Natif("C:\\"), "/tmp/disque");
    EXPECT_EQ(Chemin_Natif("/tmp/disque/OstrelSoft+\\Images\\Accueil.bmp"), "/tmp/disque/OstrelSoft+/Images/Accueil.bmp");
    EXPECT_EQ(Dossier_Windows(), "/tmp/disque/Windows");
    qputenv("OSTREL_DOSSIER_WINDOWS", "/tmp/win");
    EXPECT_EQ(Dossier_Windows(), "/tmp/win");
    qputenv("OSTREL_COM3", "/dev/pts/9");
    EXPECT_EQ(Peripherique_Port(3), "/dev/pts/9");
    EXPECT_EQ(Peripherique_Port(2), "/dev/ttyS1");
    qunsetenv("OSTREL_DISQUE_C");
    qunsetenv("OSTREL_DOSSIER_WINDOWS");
    EXPECT_EQ(Disque_C(), QDir::homePath());
}

TEST(BoitesScriptees, ReponsesEnFileEtTextesRelevés) {
    Boites_Scriptees boites;
    Definir_Boites(&boites);
    boites.Reponses.push_back(vbNo);
    EXPECT_EQ(Boites().MsgBox("Le module est il connecté à l'ordinateur?", vbYesNo), vbNo);
    EXPECT_EQ(Boites().MsgBox("Ce fichier existe déjà.", vbYesNoCancel), vbYes);  // empty queue: first button
    EXPECT_EQ(Boites().MsgBox("Fichier incorrect!"), vbOK);
    ASSERT_EQ(boites.Messages.size(), 3u);
    EXPECT_EQ(boites.Messages[2].Titre, Titre_Application);
    Dialogue_Fichier d;
    EXPECT_FALSE(Boites().ShowSave(d));
    boites.Fichiers.push_back("/tmp/a.txt");
    EXPECT_TRUE(Boites().ShowOpen(d));
    EXPECT_EQ(d.FileName, "/tmp/a.txt");
    Definir_Boites(nullptr);
}
