// The curves of a full recordings memory printed on one page: 516,098 points
// over 16 channels read from a file into the viewer, the 16 channels ticked,
// "Imprimer" answered Yes (all curves on the same page), the page written as
// a PDF file. Timed as the operator waits, from the click to the written
// page (the printer's end of document), several times (the median is given),
// for steady measures and for measures of an unsteady probe; and the graph
// alone drawn as the page takes it, at twice the screen's resolution.
// Then the numeric table of the first channel, a full one (207 pages), printed
// to PDF, timed from the click to its closing message, with the memory the
// printout took at its peak; the table of the 16 channels (the whole memory,
// thousands of pages) once, measured the same way; and, where a default
// print queue is configured (CUPS_SERVER may name a server of one's own), the
// first channel's table handed to that queue, a job per page.
//   bench_impression [runs [folder]]   the last PDFs and the recordings files
//                                      they print are copied into the folder
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "commun/programme_essai.h"
#include "history/formes_historique.h"
#include "history/frm_enreg.h"
#include "history/frm_menu_enreg.h"
#include "history/graphe_enreg.h"
#include "link/liaison_ecran.h"
#include "memoire_pleine.h"
#include "platform/fichiers.h"
#include "platform/ui/imprimante_qt.h"
#include "platform/ui/minuterie.h"
#include "shell/ecrans_programme.h"

using namespace ostrel;

namespace {

// The program's printer, writing PDF files, that notes when a page is written.
class Imprimante_Chronometree : public Imprimante_Qt {
public:
    explicit Imprimante_Chronometree(std::shared_ptr<QString> dossier)
        : Imprimante_Qt([dossier] { return *dossier; }), dossier_(std::move(dossier)) {}
    Resultat_Impression EndDoc() override { return Noter(Imprimante_Qt::EndDoc()); }
    QString Envoyer_Document(const QByteArray& pdf) override {
        const QString refus = Imprimante_Qt::Envoyer_Document(pdf);
        if (refus.isEmpty()) ++documents;
        return refus;
    }
    // A page of a printout is written with the printout's file.
    Resultat_Impression Fin_Impression() override { return Noter(Imprimante_Qt::Fin_Impression()); }
    Resultat_Impression Noter(Resultat_Impression r) {
        if (depuis) fin_ms = depuis->nsecsElapsed() / 1e6;
        if (r && !r.Fichier_Pdf.isEmpty()) fichiers.push_back(r.Fichier_Pdf);
        return r;
    }
    // Where the next PDF files go.
    void Dossier(const QString& dossier) { *dossier_ = dossier; }
    const QElapsedTimer* depuis = nullptr;
    double fin_ms = -1;
    std::vector<QString> fichiers;
    int documents = 0;  // taken by a print queue

private:
    std::shared_ptr<QString> dossier_;
};

// Pages of the PDF files of a folder, and the number of files.
int Pages_Pdf(const QString& dossier, int& fichiers) {
    static const QRegularExpression page(QStringLiteral("/Type /Page\\b(?!s)"));
    int pages = 0;
    const QStringList noms = QDir(dossier).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    fichiers = static_cast<int>(noms.size());
    for (const QString& nom : noms) {
        QFile f(QDir(dossier).filePath(nom));
        if (f.open(QIODevice::ReadOnly)) pages += static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
    }
    return pages;
}

// Resident memory now, and at its peak since Remettre_Pointe, in MiB, as the kernel counts them.
double Memoire_Mio(const char* champ) {
    QFile statut(QStringLiteral("/proc/self/status"));
    if (!statut.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& ligne : statut.readAll().split('\n'))
        if (ligne.startsWith(champ)) return ligne.mid(static_cast<qsizetype>(std::strlen(champ))).trimmed().split(' ')[0].toDouble() / 1024;
    return -1;
}
void Remettre_Pointe() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

int Echec(const char* raison) {
    std::fprintf(stderr, "bench_impression : %s\n", raison);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Configurer_Application();
    const int passages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString copie = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    ostrel_test::Programme_Essai<> programme;
    programme.Installer({Enregistrer_Formes_Historique});
    QTemporaryDir pdf;
    Imprimante_Chronometree imprimante(std::make_shared<QString>(pdf.path()));
    imprimante.Forcer_Pdf(true);
    Definir_Imprimante(&imprimante);
    if (!programme.Demarrer_Tableau(vbNo)) return Echec("le tableau de bord n'a pas démarré");
    Registre_Formes& registre = programme.registre;
    Boites_Scriptees& boites = programme.boites;
    boites.Effacer();

    // Steady measures, then measures of an unsteady probe (their curves go up
    // and down within every column of the page).
    for (const double bruit : {0.0, 10.0}) {
        const QString fichier = programme.disque.filePath(QStringLiteral("memoire_pleine.txt"));
        if (!Sauvegarde_Sure(fichier, banc::Fichier_Memoire_Pleine(Table_Mesures::Taille, bruit)))
            return Echec("le fichier d'essai n'a pu être écrit");
        Tab_Mesures.Effacer();
        Index_Fin_Voie.clear();

        if (!registre.Est_Chargee(QStringLiteral("Frm_Menu_Enreg")))
            Liaison_Ecran(QStringLiteral("Consultation"), QStringLiteral("Menu Enregistrements"), Faux);
        auto* menu = registre.Instance_De<Frm_Menu_Enreg_Forme>(QStringLiteral("Frm_Menu_Enreg"));
        if (!menu) return Echec("le menu des enregistrements n'est pas ouvert");
        menu->Opt_Lecture_Fichier->setChecked(true);
        boites.Fichiers = {fichier};
        menu->Cmd_OK_Click();
        if (!menu->Timer1->Enabled()) return Echec("le fichier n'a pas été lu");
        menu->Timer1->Declencher();
        auto* v = registre.Instance_De<Frm_Enreg_Forme>(QStringLiteral("Frm_Enreg"));
        if (!v) return Echec("la visionneuse ne s'est pas ouverte");
        for (QCheckBox* c : v->Check_Voie) c->setChecked(true);
        ostrel_test::Traiter_Evenements();
        long long points = 0;
        for (int k = 1; k <= 16; ++k) points += v->CWGraph_Enreg->Nb_Points(k);

        std::vector<double> dessins;
        for (int passage = 0; passage < passages; ++passage) {
            QImage page(v->CWGraph_Enreg->size() * 2, QImage::Format_RGB32);
            page.setDevicePixelRatio(2);
            QElapsedTimer t;
            t.start();
            {
                QPainter peintre(&page);
                v->CWGraph_Enreg->render(&peintre);
            }
            dessins.push_back(t.nsecsElapsed() / 1e6);
        }
        std::sort(dessins.begin(), dessins.end());
        std::printf("dessin du graphe au double de l'écran: %.1f ms (%lld points sur %d voies, %s, médiane de %d, de %.1f à %.1f ms)\n",
                    dessins[dessins.size() / 2], points, banc::Voies,
                    bruit > 0 ? "mesures bruitées" : "mesures régulières", passages, dessins.front(), dessins.back());
        std::fflush(stdout);

        std::vector<double> durees;
        for (int passage = 0; passage < passages; ++passage) {
            boites.Effacer();
            boites.Reponses = {vbYes, vbOK};
            QElapsedTimer t;
            t.start();
            imprimante.depuis = &t;
            imprimante.fin_ms = -1;
            v->Cmd_Imprimer_Click();
            if (imprimante.fin_ms < 0 || imprimante.fichiers.empty()) return Echec("aucune page n'a été écrite");
            durees.push_back(imprimante.fin_ms / 1000);
            ostrel_test::Traiter_Evenements();
        }
        std::sort(durees.begin(), durees.end());
        if (!copie.isEmpty()) {
            QDir().mkpath(copie);
            const QString cible = QDir(copie).filePath(bruit > 0 ? QStringLiteral("courbes_bruitees.pdf") : QStringLiteral("courbes.pdf"));
            QFile::remove(cible);
            QFile::copy(imprimante.fichiers.back(), cible);
            const QString donnees = QDir(copie).filePath(QFileInfo(cible).completeBaseName() + QStringLiteral(".txt"));
            QFile::remove(donnees);
            QFile::copy(fichier, donnees);
        }
        std::printf("impression courbes: %.2f s (%lld points sur %d voies, une page, %s, médiane de %d, de %.2f à %.2f s)\n",
                    durees[durees.size() / 2], points, banc::Voies,
                    bruit > 0 ? qPrintable(QStringLiteral("mesures bruitées de ±%1 °C").arg(bruit)) : "mesures régulières",
                    passages, durees.front(), durees.back());
        std::fflush(stdout);

        if (bruit == 0) {
            // The table of channel 1 alone, over the whole memory.
            for (QCheckBox* c : v->Check_Voie) c->setChecked(false);
            v->Check_Voie[0]->setChecked(true);
            v->Msk_Date_Debut->setText(QStringLiteral("01/01/2025 00:00"));
            v->Msk_Date_Fin->setText(QStringLiteral("31/12/2027 23:59"));
            ostrel_test::Traiter_Evenements();
            std::vector<double> tableau;
            double pointe = 0;  // the most memory a printout took above what the program held before it, in MiB
            // The table printed once, timed from the click to its closing message.
            auto imprimer_tableau = [&] {
                imprimante.depuis = nullptr;
                boites.Effacer();
                boites.Reponses = {vbOK, vbOK};
                Remettre_Pointe();
                const double avant = Memoire_Mio("VmRSS:");
                QElapsedTimer t;
                t.start();
                v->Cmd_Imprimer_Tableau_Click();
                tableau.push_back(t.nsecsElapsed() / 1e9);
                pointe = std::max(pointe, Memoire_Mio("VmHWM:") - avant);
            };
            int pages = 0, fichiers = 0;
            for (int passage = 0; passage < passages; ++passage) {
                QTemporaryDir dossier;
                imprimante.Dossier(dossier.path());
                imprimer_tableau();
                pages = Pages_Pdf(dossier.path(), fichiers);
                if (pages == 0) return Echec("le tableau n'a pas été imprimé");
                if (!copie.isEmpty() && passage == passages - 1) {
                    QDir().mkpath(copie);
                    for (const QString& nom : QDir(dossier.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
                        QFile::remove(QDir(copie).filePath(nom));
                        QFile::copy(QDir(dossier.path()).filePath(nom), QDir(copie).filePath(nom));
                    }
                }
                imprimante.Dossier(pdf.path());
                ostrel_test::Traiter_Evenements();
            }
            std::sort(tableau.begin(), tableau.end());
            std::printf("impression tableau voie 1: %.2f s (%d pages en %d fichier(s) PDF, médiane de %d, de %.2f à %.2f s, "
                        "pointe de mémoire %.0f Mio)\n",
                        tableau[tableau.size() / 2], pages, fichiers, passages, tableau.front(), tableau.back(), pointe);
            std::fflush(stdout);
            {
                // The 16 channels: the whole memory in one printout.
                for (QCheckBox* c : v->Check_Voie) c->setChecked(true);
                ostrel_test::Traiter_Evenements();
                QTemporaryDir dossier;
                imprimante.Dossier(dossier.path());
                tableau.clear();
                pointe = 0;
                imprimer_tableau();
                pages = Pages_Pdf(dossier.path(), fichiers);
                if (pages == 0) return Echec("le tableau des 16 voies n'a pas été imprimé");
                std::printf("impression tableau 16 voies: %.2f s (%d pages en %d fichier(s) PDF, une fois, pointe de mémoire %.0f Mio)\n",
                            tableau[0], pages, fichiers, pointe);
                std::fflush(stdout);
                imprimante.Dossier(pdf.path());
                for (QCheckBox* c : v->Check_Voie) c->setChecked(false);
                v->Check_Voie[0]->setChecked(true);
                ostrel_test::Traiter_Evenements();
            }
            if (Imprimante_Qt::Imprimante_Systeme_Configuree()) {
                imprimante.Forcer_Pdf(false);
                tableau.clear();
                pointe = 0;
                for (int passage = 0; passage < passages; ++passage) {
                    imprimante.documents = 0;
                    imprimer_tableau();
                    if (boites.Textes().back() != QStringLiteral("Impression envoyée à l'imprimante"))
                        return Echec(qPrintable(boites.Textes().back()));
                    ostrel_test::Traiter_Evenements();
                }
                std::sort(tableau.begin(), tableau.end());
                std::printf("impression tableau voie 1 vers la file d'impression: %.2f s (%d travaux pris par la file, médiane de %d, de %.2f à %.2f s, "
                            "pointe de mémoire %.0f Mio)\n",
                            tableau[tableau.size() / 2], imprimante.documents, passages, tableau.front(), tableau.back(), pointe);
                std::fflush(stdout);
                imprimante.Forcer_Pdf(true);
            }
            for (QCheckBox* c : v->Check_Voie) c->setChecked(true);
        }
        v->Cmd_Quitter_Click();
    }

    programme.Arreter();
    return 0;
}
