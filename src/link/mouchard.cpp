#include "link/mouchard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/fichiers.h"

namespace ostrel {
namespace {

bool Trop_Gros() {
    const QFileInfo info(Fichier_Mouchard);
    return info.exists() && info.size() > Seuil_Archive_Mouchard;
}

// The trace as this run last archived it, when another archiving would add
// lines the archive already holds, at every new line: it could be neither
// removed nor emptied (an append-only file), or its copy stopped while written
// over the archive in place. It is left to grow for the rest of the run while
// it is still that file, which only grows; a trace smaller than it was has
// been emptied or replaced since, and is archived as any other.
struct Trace_Gardee {
    QString chemin;
    qint64 taille = 0;
};
std::optional<Trace_Gardee> trace_gardee;

bool Deja_Archivee() {
    return trace_gardee && trace_gardee->chemin == Fichier_Mouchard &&
           QFileInfo(Fichier_Mouchard).size() >= trace_gardee->taille;
}

}  // namespace

QString Nom_Archive_Mouchard(double date) {
    const Composantes_Date c = Decomposer(date);
    return Base_Archive_Mouchard + QStringLiteral("-%1_%2_%3.snf").arg(c.Jour).arg(c.Mois).arg(c.Annee);
}

bool Archive_Mouchard() {
    // The trace goes to the end of the day's archive: a second archiving on
    // the same day keeps the first one's lines, which a site reads after an
    // incident. The archive is written whole before the trace is removed: a
    // copy that fails (folder missing, disk full, an archive that cannot be
    // read) keeps the trace, which the next write tries to archive again.
    if (Deja_Archivee()) return false;
    QByteArray trace;
    if (!Lire_Fichier(Fichier_Mouchard, trace)) return false;
    const QString archive = Nom_Archive_Mouchard(Maintenant());
    QByteArray contenu;
    if (Fichier_Existe(archive) && !Lire_Fichier(archive, contenu)) return false;
    contenu += trace;
    QDir().mkpath(QFileInfo(archive).absolutePath());
    const Resultat_Fichier copie = Sauvegarde_Sure(archive, contenu);
    if (!copie) {
        // Stopped while written over in place, the archive may already hold
        // some of these lines: another try would add them a second time.
        if (copie.Entame) trace_gardee = Trace_Gardee{Fichier_Mouchard, trace.size()};
        return false;
    }
    // A trace whose folder is closed to this account is emptied instead;
    // one that can be neither removed nor emptied is kept whole.
    if (!QFile::remove(Fichier_Mouchard) && !QFile::resize(Fichier_Mouchard, 0))
        trace_gardee = Trace_Gardee{Fichier_Mouchard, trace.size()};
    return true;
}

void Init_Mouchard() {
    if (Fichier_Mouchard.isEmpty()) return;
    // The mapped Windows folder may not exist yet on this machine.
    QDir().mkpath(QFileInfo(Fichier_Mouchard).absolutePath());
    if (Trop_Gros()) Archive_Mouchard();
    QFile trace(Fichier_Mouchard);
    if (trace.open(QIODevice::Append)) trace.close();
}

void Ecrit_Mouchard(const QString& message) {
    if (Fichier_Mouchard.isEmpty()) return;
    if (Trop_Gros()) Archive_Mouchard();
    const QString ligne = Texte_Date(Maintenant()) + QLatin1Char(' ') + Frm_Menu1().Lbl_Nom_Logiciel() +
                          QLatin1Char(' ') + message;
    QFile trace(Fichier_Mouchard);
    if (!trace.open(QIODevice::Append)) {
        QDir().mkpath(QFileInfo(Fichier_Mouchard).absolutePath());
        if (!trace.open(QIODevice::Append)) return;  // a lost line never stops the program
    }
    trace.write(Vers_Cp1252(ligne) + "\r\n");
    trace.close();
}

void Ferme_Mouchard() {
    // Every line closes the trace behind it: nothing is left open here.
}

}  // namespace ostrel
