// Both programs: their windows as they open, one whole run from the event
// loop with scripted dialogs, and the executables themselves started offscreen.
#include "aide_outils.h"

#include <QEventLoop>
#include <QLabel>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <functional>

#include "tools/form1.h"
#include "tools/frm_export.h"

using namespace ostrel;
using namespace ostrel::essai;

namespace {

class Programmes : public Essai_Outil {
protected:
    // What the window shows before its first run.
    void Verifier_Fenetre(Fenetre_Outil& f, const char* forme, const char* titre, const char* texte) {
        EXPECT_EQ(f.objectName(), QString::fromUtf8(forme));
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8(titre));
        EXPECT_EQ(f.Label1->text(), QString::fromUtf8(texte));
        EXPECT_EQ(f.Image1->pixmap().size(), QSize(371, 164));
        EXPECT_EQ(f.Cmd_Démarrage->text(), "Lancer une conversion");
        EXPECT_TRUE(f.Cmd_Démarrage->isEnabled());
        EXPECT_EQ(f.Frame1->title(), "Patientez SVP");
        EXPECT_TRUE(f.Frame1->isHidden());
        EXPECT_EQ(f.ProgressBar1->minimum(), 0);
        EXPECT_EQ(f.ProgressBar1->maximum(), 100);
        for (const char* nom : {"Label1", "Image1", "Cmd_Démarrage", "Frame1", "ProgressBar1"})
            EXPECT_NE(f.findChild<QWidget*>(QString::fromUtf8(nom)), nullptr) << nom;
        // Every control lies inside the window.
        for (QWidget* w : {static_cast<QWidget*>(f.Label1), static_cast<QWidget*>(f.Image1),
                           static_cast<QWidget*>(f.Cmd_Démarrage), static_cast<QWidget*>(f.Frame1)})
            EXPECT_TRUE(f.rect().contains(w->geometry())) << w->objectName().toStdString();
    }

    // The program's start: the window shown, then a click from its event loop.
    void Lancer(Fenetre_Outil& f, std::initializer_list<QString> fichiers) {
        f.show();
        boites.Fichiers.assign(fichiers.begin(), fichiers.end());
        QEventLoop boucle;
        QTimer::singleShot(0, &f, [&] {
            f.Cmd_Démarrage->click();
            boucle.quit();
        });
        boucle.exec();
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(boites.Fichiers.empty());
    }

    // The executable starts offscreen, shows its window and keeps running
    // until it is stopped; what it said on its error output.
    // Starts the program and lets it run half a second past the moment `pret`
    // holds (a loaded machine, or the sanitizers, may take seconds to get there).
    QString Demarrer(const QString& programme, const std::function<void(QProcessEnvironment&)>& session = {},
                     const std::function<bool()>& pret = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("OSTREL_DISQUE_C", dossier.path());
        if (session) session(env);
        p.setProcessEnvironment(env);
        p.start(programme, {});
        EXPECT_TRUE(p.waitForStarted(10000)) << programme.toStdString();
        for (int attente = 0; pret && !pret() && attente < 30000 && !p.waitForFinished(50); attente += 50) {
        }
        p.waitForFinished(500);
        EXPECT_EQ(p.state(), QProcess::Running) << "ended: " << p.readAllStandardError().toStdString();
        p.kill();
        p.waitForFinished(5000);
        return QString::fromLocal8Bit(p.readAllStandardError());
    }
};

}  // namespace

TEST_F(Programmes, Exportation) {
    Configurer_Outil("Exportation");
    Frm_Export f;
    Verifier_Fenetre(f, "Frm_Export", "OstrelSoft Exportation V1.00",
                     "Cette utilitaire permet d'exporter les données sauvegarder par OstrelSoft avec un format "
                     "standard pour tableur");
    QStringList fichier = {"*", " 2 ", "*", " 1 ", "*", "Chambre", "*"};
    for (int s = 0; s < 18; ++s) fichier << "1" << "*";
    fichier << "LABO" << "*" << "1" << "*" << "0" << "*" << "1" << "01010812302150" << "*";
    Ecrire(Chemin("m.txt"), Contenu(fichier));
    Lancer(f, {Chemin("m.txt"), Chemin("m_Export.txt")});
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Sauvegarde terminée!"});
    const QStringList lignes = Lignes(Lire(Chemin("m_Export.txt")));
    EXPECT_EQ(lignes.mid(lignes.size() - 4), (QStringList{"Voie 1", "Date;Mesure;Etat_Alarme", "01/01/2008 12:30:00;21,5;0", "*"}));
}

TEST_F(Programmes, Conversion) {
    Configurer_Outil("Conversion");
    Form1 f;
    Verifier_Fenetre(f, "Form1", "Conversion vX.00",
                     "Cette utilitaire permet de récupérer les données de la premiere version du logiciel Ostrelclim");
    QStringList ancien = {"* NOMS"};
    for (int k = 1; k <= 16; ++k) ancien << QStringLiteral("Voie %1").arg(k);
    ancien << "* VOIE VALIDE";
    for (int k = 1; k <= 16; ++k) ancien << "1";
    for (int r = 2; r <= 18; ++r) {
        ancien << QStringLiteral("* REGLAGE %1").arg(r);
        for (int k = 1; k <= 16; ++k) ancien << "0";
    }
    ancien << "* ENTETE" << "LABO" << "* POINTS" << "1" << "* EVENEMENTS" << "0" << " 1 25/12/2006 14:30 -5 1 ";
    Ecrire(Chemin("v1.txt"), Contenu(ancien));
    Lancer(f, {Chemin("v1.txt"), Chemin("v1_N.txt")});
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Sauvegarde terminée!"});
    const QStringList lignes = Lignes(Lire(Chemin("v1_N.txt")));
    EXPECT_EQ(lignes.mid(0, 5), (QStringList{"*", " 1 ", "*", " 16 ", "*"}));
    const qsizetype point = lignes.indexOf("2512061430-501");
    ASSERT_GT(point, 0);
    EXPECT_EQ(lignes.mid(point - 1, 4), (QStringList{"1", "2512061430-501", "*", "2"}));
}

TEST_F(Programmes, ExecutablesDemarrent) {
    Demarrer(PROGRAMME_EXPORTATION);
    Demarrer(PROGRAMME_CONVERSION);
}

TEST_F(Programmes, RienSurLaConsoleDUneSessionSansDossierDExecution) {
    // A session without XDG_RUNTIME_DIR (su, a bare X server), its temporary
    // folder here: each program makes its own private folder there.
    const QString tmp = Chemin("tmp");
    for (const char* programme : {PROGRAMME_EXPORTATION, PROGRAMME_CONVERSION}) {
        SCOPED_TRACE(programme);
        QDir(tmp).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(tmp));
        const QString console = Demarrer(
            programme,
            [&](QProcessEnvironment& env) {
                env.remove("XDG_RUNTIME_DIR");
                env.insert("TMPDIR", tmp);
            },
            [&] { return !QDir(tmp).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty(); });
        EXPECT_FALSE(console.contains("XDG_RUNTIME_DIR") || console.contains("QStandardPaths"))
            << console.toStdString();
        const QFileInfoList dossiers = QDir(tmp).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
        ASSERT_EQ(dossiers.size(), 1);
        EXPECT_TRUE(dossiers[0].fileName().startsWith("runtime-"));
        EXPECT_EQ(dossiers[0].permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
