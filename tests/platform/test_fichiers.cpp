#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
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
    EXPECT_FALSE(r.Erreur.isEmpty());
    EXPECT_EQ(Lire(chemin), "ancien");
}

TEST(SauvegardeSure, TemporairesLaissesParUneSauvegardeInterrompueEffaces) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("donnees.txt");
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "ancien"));
    // Left by saves of this file killed halfway; then names that are not its temporaries.
    const QStringList restes = {".donnees.txt.a1B2c3", ".donnees.txt.ZZZZZZ"};
    const QStringList autres = {".donnees.txt.abc", ".donnees.txt.abcdefg", ".donnees.txt.ab-cd_", ".autre.txt.a1B2c3",
                                "donnees.txt.a1B2c3"};
    for (const QString& nom : restes + autres) ostrel_test::Ecrire(dossier.filePath(nom), QByteArray(1000, 'x'));
    ASSERT_TRUE(Sauvegarde_Sure(chemin, "nouveau"));
    EXPECT_EQ(Lire(chemin), "nouveau");
    QStringList attendus = autres;
    attendus << "donnees.txt";
    attendus.sort();
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), attendus);
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
        ::_exit(r ? 1 : (r.Erreur.isEmpty() ? 2 : 0));
    }
    int etat = 0;
    ASSERT_EQ(::waitpid(enfant, &etat, 0), enfant);
    ASSERT_FALSE(WIFSIGNALED(etat)) << "killed by signal " << WTERMSIG(etat);
    EXPECT_EQ(WEXITSTATUS(etat), 0);  // failed, with the system's reason
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
    EXPECT_FALSE(Sauvegarde_Sure(dossier.filePath("absent/fichier.txt"), "x"));
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
