// The two companion programs on full files: a recordings file of 516,098
// points over 16 channels for Exportation, a first-version file of 516,098
// data lines for Conversion. Each run is one click of the program's window,
// shown offscreen with its dialogs answered, from the file chosen to the
// output saved: read, regroup or format, safe save, progress bar included.
// Prints the median of the runs and a checksum of each output.
// Usage: bench_outils [runs [points]]
#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "memoire_pleine.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "tools/form1.h"
#include "tools/frm_export.h"

using namespace ostrel;
using banc::Voies;

namespace {

// A data file of the first version: its head, then the channels interleaved
// as the first version logged them, a minute apart.
QByteArray Ancien_Fichier(Long points) {
    QByteArray c = "* NOMS DES VOIES\r\n";
    for (int v = 1; v <= Voies; ++v) c += "Voie " + QByteArray::number(v) + "\r\n";
    const char* sections[] = {"* VOIE VALIDE", "* NATURE", "* ALARME", "* SEUIL HAUT", "* SEUIL BAS", "* PERIODE",
                              "* TEMPO", "* 4MA", "* 20MA", "* ROLE", "* UNITE", "* INHIB ENREG", "* ETOR",
                              "* INHIB ALARME", "* PLANNING", "* CONTACT", "* RELAIS", "* BUZZER"};
    for (const char* s : sections) {
        c += QByteArray(s) + "\r\n";
        for (int v = 1; v <= Voies; ++v) c += s == sections[0] ? "1\r\n" : "0\r\n";
    }
    c += "* ENTETE\r\nBANC D'ESSAI\r\n* NOMBRE\r\n" + QByteArray::number(points) + "\r\n* EVENEMENTS\r\n3\r\n";
    c.reserve(c.size() + static_cast<qsizetype>(points) * 30);
    const Date debut = DateSerial(2006, 12, 25);
    for (Long i = 0; i < points; ++i) {
        const Composantes_Date d = Decomposer(debut + (i / Voies) / 1440.0);
        char ligne[64];
        const int valeur = static_cast<int>(i * 7 % 900) - 300;
        std::snprintf(ligne, sizeof ligne, "%2d %02d/%02d/%04d %02d:%02d %s%d,%d %d \r\n", static_cast<int>(i % Voies) + 1,
                      d.Jour, d.Mois, d.Annee, d.Heure, d.Minute, valeur < 0 ? "-" : "", std::abs(valeur) / 10,
                      std::abs(valeur) % 10, i % 97 == 0 ? 1 : 0);
        c += ligne;
    }
    return c;
}

struct Mesure {
    double secondes = 0;
    QByteArray sortie;
    std::vector<QString> messages;
};

// One click of the window: the file to read, then the file to write.
Mesure Passage(Fenetre_Outil& fenetre, const QString& entree, const QString& sortie) {
    Boites_Scriptees boites;
    boites.Fichiers = {entree, sortie};
    Definir_Boites(&boites);
    QFile::remove(sortie);
    QElapsedTimer chrono;
    chrono.start();
    fenetre.Cmd_Démarrage->click();
    Mesure m;
    m.secondes = chrono.nsecsElapsed() / 1e9;
    Definir_Boites(nullptr);
    m.messages = boites.Textes();
    Lire_Fichier(sortie, m.sortie);
    return m;
}

double Mediane(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs the window `runs` times; prints the median and what the output was.
bool Mesurer(const char* nom, Fenetre_Outil& fenetre, const QString& entree, const QString& sortie, int runs) {
    fenetre.show();
    QApplication::processEvents();
    std::vector<double> temps;
    Mesure m;
    for (int r = 0; r < runs; ++r) {
        m = Passage(fenetre, entree, sortie);
        temps.push_back(m.secondes);
    }
    const bool reussi = m.messages == std::vector<QString>{QStringLiteral("Sauvegarde terminée!")};
    std::printf("%s: %.3f s (médiane de %d, de %.3f à %.3f s), sortie %lld octets, md5 %s%s\n", nom, Mediane(temps), runs,
                *std::min_element(temps.begin(), temps.end()), *std::max_element(temps.begin(), temps.end()),
                static_cast<long long>(m.sortie.size()),
                QCryptographicHash::hash(m.sortie, QCryptographicHash::Md5).toHex().constData(),
                reussi ? "" : ", ÉCHEC");
    for (const QString& t : m.messages)
        if (!reussi) std::printf("  message : %s\n", t.toUtf8().constData());
    fenetre.hide();
    return reussi;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const Long points = argc > 2 ? std::atol(argv[2]) : Table_Mesures::Taille;
    QTemporaryDir dossier;
    const QString enregistrements = dossier.filePath(QStringLiteral("mesures.txt"));
    const QString ancien = dossier.filePath(QStringLiteral("ancien.txt"));

    Reinitialiser_Donnees();
    if (!Sauvegarde_Sure(enregistrements, banc::Fichier_Memoire_Pleine(points)) ||
        !Sauvegarde_Sure(ancien, Ancien_Fichier(points))) {
        std::fprintf(stderr, "les fichiers d'essai n'ont pu être écrits\n");
        return 1;
    }
    std::printf("points: %d sur %d voies\n", points, Voies);

    Frm_Export exportation;
    Form1 conversion;
    const bool export_ok = Mesurer("exportation", exportation, enregistrements,
                                   dossier.filePath(QStringLiteral("mesures_Export.txt")), runs);
    const bool conversion_ok = Mesurer("conversion", conversion, ancien, dossier.filePath(QStringLiteral("ancien_N.txt")), runs);
    return export_ok && conversion_ok ? 0 : 1;
}
