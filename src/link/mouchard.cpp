#include "link/mouchard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    QByteArray trace;
    if (!Lire_Fichier(Fichier_Mouchard, trace)) return false;
    const QString archive = Nom_Archive_Mouchard(Maintenant());
    QByteArray contenu;
    if (Fichier_Existe(archive) && !Lire_Fichier(archive, contenu)) return false;
    contenu += trace;
    QDir().mkpath(QFileInfo(archive).absolutePath());
    if (!Sauvegarde_Sure(archive, contenu)) return false;
    QFile::remove(Fichier_Mouchard);
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
