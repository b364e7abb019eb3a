#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "commun/fichiers_test.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"

using namespace ostrel;
using ostrel_test::Dossier_Lecture_Seule;
using ostrel_test::Lire;

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
    Dossier_Lecture_Seule(dossier.path(), false);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Erreur, "permission refusée");
    EXPECT_EQ(Lire(chemin), "ancien");
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
