#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <csignal>
#include <set>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "commun/fichiers_test.h"
#include "commun/impression_test.h"
#include "commun/serveur_impression.h"
#include "platform/dates.h"
#include "platform/fichiers.h"
#include "platform/ui/imprimante_qt.h"

using namespace ostrel;
using ostrel_test::Dossier_Lecture_Seule;
using ostrel_test::Lire;
using ostrel_test::Pages_Pdf;

namespace {

QGuiApplication& Application() {
    static int argc = 1;
    static char nom[] = "tests_imprimante_qt";
    static char* argv[] = {nom, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(argc, argv);
    return application;
}

class ImprimanteQt : public ::testing::Test {
protected:
    void SetUp() override {
        Application();
        Definir_Horloge_Murale([] { return DateSerial(2027, 3, 7) + TimeSerial(14, 30, 5); });
        imprimante_ = std::make_unique<Imprimante_Qt>([this] { return dossier_; });
        imprimante_->Forcer_Pdf(true);
        dossier_ = racine_.filePath(Imprimante_Qt::Nom_Dossier_Pdf());
    }
    void TearDown() override { Definir_Horloge_Murale({}); }
    QTemporaryDir racine_;
    QString dossier_;
    std::unique_ptr<Imprimante_Qt> imprimante_;
};

}  // namespace

TEST_F(ImprimanteQt, SansImprimanteUnPdfDateEstEcritEtLesPagesSeSuivent) {
    Imprimante& p = *imprimante_;
    p.Orientation(vbPRORLandscape);
    p.FontName("Courier New");
    p.FontSize(10);
    for (int i = 0; i < 120; ++i) p.Print({{"Ligne", Separateur::Zone}, {QString::number(i), Separateur::Fin}});
    const Resultat_Impression r = p.EndDoc();
    ASSERT_TRUE(r) << r.Erreur.toStdString();
    EXPECT_EQ(r.Fichier_Pdf, QDir(dossier_).filePath("Impression_2027-03-07_14-30-05.pdf"));
    const QByteArray pdf = Lire(r.Fichier_Pdf);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    // 120 lines of 10 pt do not fit one landscape page: the next pages start by themselves.
    const QStringList pages = Pages_Pdf(pdf);
    ASSERT_GE(pages.size(), 3);
    for (const QString& taille : pages) EXPECT_EQ(taille, "842 595");
    // Nothing but the document is left in the folder.
    EXPECT_EQ(QDir(dossier_).entryList(QDir::Files | QDir::Hidden), QStringList{"Impression_2027-03-07_14-30-05.pdf"});

    // A second job in the same second gets its own file; a new page and the portrait orientation apply.
    p.Orientation(vbPRORPortrait);
    p.Print("Page 1");
    p.NewPage();
    p.Print("Page 2");
    const Resultat_Impression r2 = p.EndDoc();
    ASSERT_TRUE(r2);
    EXPECT_EQ(QFileInfo(r2.Fichier_Pdf).fileName(), "Impression_2027-03-07_14-30-05_2.pdf");
    EXPECT_EQ(Pages_Pdf(Lire(r2.Fichier_Pdf)), (QStringList{"595 842", "595 842"}));
}

TEST_F(ImprimanteQt, UneImpressionDePlusieursDocumentsFaitUnSeulPdfDansLOrdre) {
    Imprimante& p = *imprimante_;
    const QString nom = QDir(dossier_).filePath("Impression_2027-03-07_14-30-05.pdf");
    // Three documents of one printout, each in its own orientation; the second of two pages,
    // the third with a line too wide for its sheet.
    p.Debut_Impression();
    for (int d = 1; d <= 3; ++d) {
        p.Orientation(d == 2 ? vbPRORPortrait : vbPRORLandscape);
        p.Print("Document " + QString::number(d));
        if (d == 3) p.Print(QString(200, QLatin1Char('=')));
        if (d == 2) {
            p.NewPage();
            p.Print("suite");
        }
        const Resultat_Impression r = p.EndDoc();
        ASSERT_TRUE(r) << r.Erreur.toStdString();
        EXPECT_TRUE(r.En_Attente);
        EXPECT_TRUE(r.Fichier_Pdf.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(nom));  // nothing under the final name before the end
    }
    const Resultat_Impression fin = p.Fin_Impression();
    ASSERT_TRUE(fin) << fin.Erreur.toStdString();
    EXPECT_EQ(fin.Fichier_Pdf, nom);
    EXPECT_EQ(Pages_Pdf(Lire(nom)), (QStringList{"842 595", "595 842", "595 842", "842 595"}));
    EXPECT_EQ(QDir(dossier_).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(nom).fileName()});
    // Its last page made smaller to fit that line, every page is as small, whichever way it lies.
    if (ostrel_test::Lecteur_Pdf_Present()) {
        std::set<int> largeurs;  // of "Document", in hundredths of a point
        for (const ostrel_test::Mot_Pdf& mot : ostrel_test::Mots_Pdf(Lire(nom)))
            if (mot.Texte == "Document") largeurs.insert(qRound(mot.Boite.width() * 100));
        EXPECT_EQ(largeurs.size(), 1u);
    }

    // A file that cannot be written at the end (its pages, small, are all
    // written then, past a file-size limit): the failure is told and no PDF is left.
    Ignorer_Limite_Taille_Fichier();
    p.Debut_Impression();
    p.Print("Page 1");
    ASSERT_TRUE(p.EndDoc());
    const QString suivant = QDir(dossier_).filePath("Impression_2027-03-07_14-30-05_2.pdf");
    p.Print("Page 2");
    ASSERT_TRUE(p.EndDoc());
    rlimit avant {};
    ::getrlimit(RLIMIT_FSIZE, &avant);
    rlimit limite = avant;
    limite.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
    const Resultat_Impression echec = p.Fin_Impression();
    ::setrlimit(RLIMIT_FSIZE, &avant);
    EXPECT_FALSE(echec);
    EXPECT_FALSE(echec.Erreur.isEmpty());
    EXPECT_TRUE(echec.Fichier_Pdf.isEmpty());
    EXPECT_EQ(QDir(dossier_).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(nom).fileName()});

    // The next job outside a printout is a file of its own again.
    p.Print("Seul");
    const Resultat_Impression seul = p.EndDoc();
    ASSERT_TRUE(seul);
    EXPECT_FALSE(seul.En_Attente);
    EXPECT_EQ(seul.Fichier_Pdf, suivant);
}

// A printout the file system stops taking after N bytes (a file-size limit,
// as a full disk would): in the first bytes, amid the pages, in the last
// bytes. Each is a failure that says why and leaves nothing behind; with room
// again, the next printout is whole.
TEST_F(ImprimanteQt, UnPdfQuiNePeutEtreEcritEnEntierEstUnEchecSansFichier) {
    Ignorer_Limite_Taille_Fichier();
    // Pages of noise, which no compression shrinks, so that the file is
    // written over many pages.
    std::vector<QImage> bruits(4, QImage(400, 400, QImage::Format_RGB32));
    quint32 graine = 1;
    for (QImage& bruit : bruits)
        for (int y = 0; y < bruit.height(); ++y)
            for (int x = 0; x < bruit.width(); ++x) bruit.setPixel(x, y, graine = graine * 1664525u + 1013904223u);
    const auto imprimer = [&] {
        Imprimante& p = *imprimante_;
        for (const QImage& bruit : bruits) {
            p.Print("Page suivante");
            p.Imprimer_Image(bruit);
        }
        return p.EndDoc();
    };
    const Resultat_Impression entier = imprimer();
    ASSERT_TRUE(entier) << entier.Erreur.toStdString();
    const qint64 taille = QFileInfo(entier.Fichier_Pdf).size();
    ASSERT_GT(taille, 400000);  // many times what the printer holds before writing
    const auto pages = Pages_Pdf(Lire(entier.Fichier_Pdf)).size();
    ASSERT_EQ(pages, 8);
    ASSERT_TRUE(QFile::remove(entier.Fichier_Pdf));

    rlimit avant {};
    ::getrlimit(RLIMIT_FSIZE, &avant);
    for (const qint64 limite : {qint64{0}, qint64{100}, taille / 3, taille / 2, 3 * taille / 4, taille - 10}) {
        rlimit l = avant;
        l.rlim_cur = static_cast<rlim_t>(limite);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &l), 0);
        const Resultat_Impression r = imprimer();
        ::setrlimit(RLIMIT_FSIZE, &avant);
        EXPECT_FALSE(r) << limite;
        EXPECT_TRUE(r.Fichier_Pdf.isEmpty());
        EXPECT_TRUE(r.Erreur.contains("ne peut pas être écrit : fichier trop volumineux")) << r.Erreur.toStdString();
        EXPECT_EQ(QDir(dossier_).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList()) << limite;
    }
    const Resultat_Impression ensuite = imprimer();
    ASSERT_TRUE(ensuite) << ensuite.Erreur.toStdString();
    EXPECT_EQ(QFileInfo(ensuite.Fichier_Pdf).size(), taille);
    EXPECT_EQ(Pages_Pdf(Lire(ensuite.Fichier_Pdf)).size(), pages);
}

// Two programs printing into one folder in the same second: the printout
// whose name the other took meanwhile takes the next free one, and the
// other's file stays as it is.
TEST_F(ImprimanteQt, UnNomPrisEntreTempsLaissePlaceAuSuivant) {
    Imprimante& p = *imprimante_;
    Imprimante_Qt autre([this] { return dossier_; });
    autre.Forcer_Pdf(true);
    const QDir d(dossier_);
    const auto nom = [&d](const char* suffixe) { return d.filePath(QStringLiteral("Impression_2027-03-07_14-30-05%1.pdf").arg(suffixe)); };
    // A document on its own; the other program's, begun after it, ends first.
    p.Print("Premier");
    autre.Print("Second");
    ASSERT_EQ(autre.EndDoc().Fichier_Pdf, nom(""));
    const QByteArray second = Lire(nom(""));
    const Resultat_Impression premier = p.EndDoc();
    ASSERT_TRUE(premier) << premier.Erreur.toStdString();
    EXPECT_EQ(premier.Fichier_Pdf, nom("_2"));
    EXPECT_EQ(Lire(nom("")), second);

    // A printout of two documents, two names taken meanwhile: by the other
    // program, and by a file someone put there.
    p.Debut_Impression();
    p.Print("Document 1");
    ASSERT_TRUE(p.EndDoc());
    autre.Print("Troisième");
    ASSERT_EQ(autre.EndDoc().Fichier_Pdf, nom("_3"));
    ostrel_test::Ecrire(nom("_4"), "à quelqu'un");
    p.Print("Document 2");
    ASSERT_TRUE(p.EndDoc());
    const Resultat_Impression groupe = p.Fin_Impression();
    ASSERT_TRUE(groupe) << groupe.Erreur.toStdString();
    EXPECT_EQ(groupe.Fichier_Pdf, nom("_5"));
    EXPECT_EQ(Pages_Pdf(Lire(nom("_5"))).size(), 2);
    EXPECT_EQ(Pages_Pdf(Lire(nom("_3"))).size(), 1);
    EXPECT_EQ(Lire(nom("_4")), "à quelqu'un");
    EXPECT_EQ(d.entryList(QDir::Files | QDir::Hidden).size(), 5);
}

// A real print queue: a document of many 64 KiB pieces reaches it whole, as
// the same pages are written to a file; a server that refuses the document
// once it has read it all is heard.
TEST_F(ImprimanteQt, UneFileDImpressionRecoitLeDocumentEntierEtSaReponseEstEntendue) {
    ostrel_test::Serveur_Impression serveur;
    if (!serveur.Demarrer()) return;
    // Pages of noise, which no compression shrinks.
    std::vector<QImage> bruits(3, QImage(300, 300, QImage::Format_RGB32));
    quint32 graine = 7;
    for (QImage& bruit : bruits)
        for (int y = 0; y < bruit.height(); ++y)
            for (int x = 0; x < bruit.width(); ++x) bruit.setPixel(x, y, graine = graine * 1664525u + 1013904223u);
    const auto imprimer = [&](Imprimante& p) {
        for (const QImage& bruit : bruits) {
            p.Print("Page suivante");
            p.Imprimer_Image(bruit);
        }
        return p.EndDoc();
    };
    Imprimante_Qt systeme([this] { return dossier_; });
    const Resultat_Impression envoye = imprimer(systeme);
    ASSERT_TRUE(envoye) << envoye.Erreur.toStdString();
    EXPECT_TRUE(envoye.Fichier_Pdf.isEmpty());
    const Resultat_Impression ecrit = imprimer(*imprimante_);
    ASSERT_TRUE(ecrit) << ecrit.Erreur.toStdString();
    const QByteArray dessine = Lire(ecrit.Fichier_Pdf);
    ASSERT_GT(dessine.size(), 4 << 16);
    ASSERT_EQ(serveur.Documents().size(), 1u);
    const QByteArray recu = serveur.Documents()[0];
    // The same bytes, but for the date and the identity of the document.
    ASSERT_EQ(recu.size(), dessine.size());
    qsizetype differents = 0;
    for (qsizetype i = 0; i < recu.size(); ++i) differents += recu[i] != dessine[i];
    EXPECT_LT(differents, 100);

    // A picture, which fills its page at any size of print, is not kept for the end of its
    // printout: the queue has it once its document ends.
    systeme.Debut_Impression();
    systeme.Imprimer_Image(bruits[0]);
    const Resultat_Impression image = systeme.EndDoc();
    EXPECT_TRUE(image) << image.Erreur.toStdString();
    EXPECT_FALSE(image.En_Attente);
    EXPECT_EQ(serveur.Documents().size(), 2u);
    EXPECT_TRUE(systeme.Fin_Impression());
    EXPECT_EQ(serveur.Documents().size(), 2u);

    serveur.Refuser_Documents();
    systeme.Print("Refusé");
    const Resultat_Impression refuse = systeme.EndDoc();
    EXPECT_FALSE(refuse);
    EXPECT_EQ(refuse.Erreur, "l'imprimante ostrel n'autorise pas cette impression");
    EXPECT_EQ(refuse.Pages_Envoyees, 0);
}

// The usual site: the default queue is the print server's own, named
// nowhere on this machine. A printout goes to it, not to a PDF file, and
// follows it when another queue becomes the server's default.
TEST_F(ImprimanteQt, LaFileParDefautDuServeurPrendLesImpressions) {
    ostrel_test::Serveur_Impression serveur;
    if (!serveur.Demarrer()) return;
    serveur.Defaut_Du_Serveur_Seul();
    EXPECT_TRUE(Imprimante_Qt::Imprimante_Systeme_Configuree());
    Imprimante_Qt systeme([this] { return dossier_; });
    const auto imprimer = [&] {
        systeme.Print("Velsa SA");
        const Resultat_Impression r = systeme.EndDoc();
        EXPECT_TRUE(r) << r.Erreur.toStdString();
        EXPECT_TRUE(r.Fichier_Pdf.isEmpty()) << r.Fichier_Pdf.toStdString();
    };
    imprimer();
    EXPECT_EQ(serveur.Documents().size(), 1u);
    ASSERT_TRUE(serveur.Ajouter_File("autre"));
    ASSERT_TRUE(serveur.Definir_Defaut("autre"));
    serveur.Defaut_Du_Serveur_Seul();
    // The first queue takes nothing now: the printout went to the other.
    serveur.Refuser("hors service");
    imprimer();
    EXPECT_EQ(serveur.Documents().size(), 2u);
    EXPECT_FALSE(QDir(dossier_).exists());
}

// A print server slow to start, as on a busy machine, is waited for, even by
// a user whose PATH leaves out the administration folders. One that cannot
// run here (it refuses its configuration) skips the test, saying why; one
// whose socket would be too deep for cupsd fails it, saying so; none
// outlives a test killed amid its run.
TEST_F(ImprimanteQt, UnServeurDImpressionLentEstAttenduUnQuiNePeutTournerFaitSauterLeTest) {
    ostrel_test::Serveur_Impression lent;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/usr/local/bin:/usr/bin:/bin");
    const bool demarre = lent.Demarrer(QStringLiteral("sleep 4"));
    qputenv("PATH", path);
    if (!demarre) return;
    EXPECT_TRUE(Imprimante_Qt::Imprimante_Systeme_Configuree());
    QTemporaryDir loin(QDir::tempPath() + QLatin1Char('/') + QString(100, QLatin1Char('p')));
    testing::TestPartResultArray resultats;
    {
        const testing::ScopedFakeTestPartResultReporter espion(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &resultats);
        ostrel_test::Serveur_Impression().Demarrer(QStringLiteral("echo Inconnue oui >> cupsd.conf"));
        ostrel_test::Serveur_Impression(loin.path()).Demarrer();
    }
    ASSERT_EQ(resultats.size(), 2);
    const testing::TestPartResult& casse = resultats.GetTestPartResult(0);
    const testing::TestPartResult& profond = resultats.GetTestPartResult(1);
    EXPECT_TRUE(casse.skipped());
    EXPECT_NE(std::string(casse.message()).find("Unknown directive Inconnue"), std::string::npos) << casse.message();
    EXPECT_TRUE(profond.nonfatally_failed());
    EXPECT_NE(std::string(profond.message()).find("trop long"), std::string::npos) << profond.message();

    // A test killed amid its run (SIGKILL) leaves no server behind: it is
    // killed as the test dies, and is ending once the test is gone, as its
    // guardian sees it, which takes in the test's orphans.
    QTemporaryDir tue;
    int tube[2];
    ASSERT_EQ(::pipe(tube), 0);
    const pid_t gardien = ::fork();
    if (gardien == 0) {
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        const pid_t test = ::fork();
        if (test == 0) {
            ostrel_test::Serveur_Impression serveur(tue.path());
            const pid_t cupsd = serveur.Demarrer() ? static_cast<pid_t>(serveur.Pid()) : 0;
            if (::write(tube[1], &cupsd, sizeof cupsd) == sizeof cupsd) ::raise(SIGKILL);
            ::_exit(2);
        }
        ::close(tube[1]);
        pid_t cupsd = 0;
        if (::read(tube[0], &cupsd, sizeof cupsd) != sizeof cupsd || cupsd <= 0) ::_exit(3);
        ::waitpid(test, nullptr, 0);
        // Gone, a zombie, dying (PF_EXITING, PF_SIGNALED) or with SIGKILL pending.
        const QList<QByteArray> etat = Lire(QStringLiteral("/proc/%1/stat").arg(cupsd)).split(')').value(1).simplified().split(' ');
        const bool tue_aussi = etat.size() < 29 || etat[0] == "Z" || etat[0] == "X" || (etat[6].toULongLong() & 0x404) != 0 ||
                               (etat[28].toULongLong() & (1u << (SIGKILL - 1))) != 0;
        if (!tue_aussi) ::kill(cupsd, SIGKILL);
        ::waitpid(cupsd, nullptr, 0);
        ::_exit(tue_aussi ? 0 : 1);
    }
    ::close(tube[0]);
    ::close(tube[1]);
    int fin = 0;
    ASSERT_EQ(::waitpid(gardien, &fin, 0), gardien);
    EXPECT_TRUE(WIFEXITED(fin) && WEXITSTATUS(fin) == 0) << "cupsd survived the test that started it (" << fin << ")";
}

TEST_F(ImprimanteQt, UnDossierNonInscriptibleFaitEchouerLeTravailSansFichier) {
    ASSERT_TRUE(QDir().mkpath(dossier_));
    ASSERT_TRUE(Dossier_Lecture_Seule(dossier_, true));
    imprimante_->Print("Configuration du module n° 1");
    const Resultat_Impression r = imprimante_->EndDoc();
    Dossier_Lecture_Seule(dossier_, false);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.Erreur.isEmpty());
    EXPECT_TRUE(QDir(dossier_).entryList(QDir::Files | QDir::Hidden).isEmpty());
    // The printer is usable again for the next job.
    imprimante_->Print("Suite");
    EXPECT_TRUE(imprimante_->EndDoc());
}

TEST_F(ImprimanteQt, SansDossierOuSansLigneRienNEstEcrit) {
    EXPECT_TRUE(imprimante_->EndDoc());  // nothing printed: nothing to send
    Imprimante_Qt sans_dossier([] { return QString(); });
    sans_dossier.Forcer_Pdf(true);
    sans_dossier.Print("x");
    EXPECT_FALSE(sans_dossier.EndDoc());
}

TEST_F(ImprimanteQt, CourierNewEstRemplaceeParUnePoliceAChasseFixe) {
    const QString police = Imprimante_Qt::Police_Installee("Courier New");
    EXPECT_TRUE(QFontDatabase::isFixedPitch(police)) << police.toStdString();
    if (!QFontDatabase::families().contains("Courier New")) {
        EXPECT_NE(police, "Courier New");
    }
    EXPECT_EQ(Imprimante_Qt::Police_Installee("Arial Inconnue"), "Arial Inconnue");
}

TEST_F(ImprimanteQt, SansImprimanteConfigureeLeTravailVaEnPdf) {
    if (Imprimante_Qt::Imprimante_Systeme_Configuree()) GTEST_SKIP() << "une imprimante est configurée ici";
    Imprimante_Qt systeme([this] { return dossier_; });
    systeme.Print("Velsa SA");
    const Resultat_Impression r = systeme.EndDoc();
    ASSERT_TRUE(r);
    EXPECT_TRUE(Lire(r.Fichier_Pdf).startsWith("%PDF"));
}
