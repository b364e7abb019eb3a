// Saves then loads a recordings file of 516,098 points over 16 channels and
// prints both times and the file size. Usage: bench_enregistrements [folder]
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "files/enregistrements.h"
#include "link/donnees.h"
#include "link/variables.h"
#include "platform/dates.h"

using namespace ostrel;

int main(int argc, char** argv) {
    QTemporaryDir temporaire;
    const QString dossier = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporaire.path();
    const QString chemin = QDir(dossier).filePath(QStringLiteral("bench_enregistrements.txt"));

    Reinitialiser_Donnees();
    Num_Module = 1;
    const int voies = 16;
    const Long total = Table_Mesures::Taille;
    Index_Fin_Voie.assign(voies, 0);
    const Date debut = DateSerial(2026, 1, 1);
    for (int v = 0; v < voies; ++v) {
        Parametres_Voie& p = Tab_Parametres_Voies[static_cast<size_t>(v)];
        p.Nom_Voie = QStringLiteral("Voie %1").arg(v + 1).leftJustified(12);
        p.Voie_Valide = Vrai;
        p.Alarme_Valide = Vrai;
        p.Seuil_Haut = 25.5f;
        p.Seuil_Bas = -4.5f;
        p.Periode_Enreg = 1;
        p.Tempo_Alarme = 30;
        p.Echelle_20mA = 100;
        p.Buzzer = Vrai;
        Index_Fin_Voie[static_cast<size_t>(v)] = total * (v + 1) / voies;
    }
    Donnees_Reponse.Entete_Module = QStringLiteral("BANC D'ESSAI");
    for (Long i = 0; i < total; ++i) {
        Mesure_Enreg& m = Tab_Mesures[i];
        m.Date_Heure = debut + (i % 32256) / 1440.0;
        m.Valeur = static_cast<Simple>((i % 900) - 300) / 10.0f;
        m.Alarme = i % 97 == 0 ? Vrai : Faux;
    }

    QElapsedTimer chrono;
    chrono.start();
    if (!Sauvegarde_Fichier_Donnees(chemin, 1, voies)) {
        std::fprintf(stderr, "la sauvegarde a échoué\n");
        return 1;
    }
    const double sauvegarde = chrono.nsecsElapsed() / 1e9;
    const qint64 taille = QFileInfo(chemin).size();

    Tab_Mesures.Effacer();
    Index_Fin_Voie.clear();
    chrono.restart();
    const bool charge = Chargement_Fichier_Donnees(chemin);
    const double chargement = chrono.nsecsElapsed() / 1e9;
    if (!charge || Index_Fin_Voie.size() != static_cast<size_t>(voies) || Index_Fin_Voie.back() != total) {
        std::fprintf(stderr, "le chargement a échoué\n");
        return 1;
    }
    std::printf("points: %d, voies: %d\n", total, voies);
    std::printf("taille du fichier: %lld octets\n", static_cast<long long>(taille));
    std::printf("sauvegarde: %.3f s\n", sauvegarde);
    std::printf("chargement: %.3f s\n", chargement);
    QFile::remove(chemin);
    return 0;
}
