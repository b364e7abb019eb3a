#include "link/mouchard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <optional>

#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/fichiers.h"

namespace ostrel {
namespace {

// The trace as this run last archived it, when another archiving would add
// lines the archive already holds, at every new line: it could be neither
// removed nor emptied (an append-only file), or its copy stopped while written
// over the archive in place. It is left to grow for the rest of the run while
// it is still that file, told by its device and inode, and only grows; once
// it is found emptied, or another file in its place (an administrator's
// rotation), it is archived as any other.
struct Trace_Gardee {
    QString chemin;
    Identite_Fichier fichier;  // its size as last seen
};
std::optional<Trace_Gardee> trace_gardee;

// Asked with every line, so that a trace emptied since the last one is seen
// smaller, however large it grows again.
bool Deja_Archivee(const Identite_Fichier& trace) {
    if (!trace_gardee) return false;
    const Identite_Fichier& gardee = trace_gardee->fichier;
    if (trace_gardee->chemin != Fichier_Mouchard || !trace.Existe || trace.Peripherique != gardee.Peripherique ||
        trace.Inode != gardee.Inode || trace.Taille < gardee.Taille) {
        trace_gardee.reset();
        return false;
    }
    trace_gardee->fichier.Taille = trace.Taille;
    return true;
}

bool Trop_Gros() {
    const Identite_Fichier trace = Identifier_Fichier(Fichier_Mouchard);
    return !Deja_Archivee(trace) && trace.Existe && trace.Taille > Seuil_Archive_Mouchard;
}

// Another program may write the same trace (two started on one folder): its
// lines wait while the trace is copied and removed, lest they go to a trace
// already copied, and one that archived it first leaves a trace no longer too
// large.
void Archiver_Si_Trop_Gros() {
    if (!Trop_Gros()) return;
    const Verrou_Ajouts verrou(Fichier_Mouchard);
    if (Trop_Gros()) Archive_Mouchard();
}

// How much of the trace's start the archive already ends with: what an
// earlier start archived of this same trace, which it could not remove (an
// append-only file only grows), or which it left when stopped before the
// removal. Only a trace past the threshold is archived, so a shorter match is
// none: a new trace whose first lines happen to be the archive's last ones is
// archived whole. The archive's end and the trace's start are compared at
// every length through a rolling hash, in one pass whatever their bytes, and
// the longest that agrees is then compared byte for byte.
qsizetype Deja_Dans_L_Archive(const QByteArray& archive, const QByteArray& trace) {
    constexpr quint64 Module = (quint64{1} << 61) - 1, Base = 1000003;
    const auto produit = [](quint64 a, quint64 b) {
        const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
        const quint64 r = static_cast<quint64>(p & Module) + static_cast<quint64>(p >> 61);
        return r >= Module ? r - Module : r;
    };
    const auto somme = [](quint64 a, quint64 b) { return a + b >= Module ? a + b - Module : a + b; };
    const qsizetype plus_long = std::min(archive.size(), trace.size());
    const uchar* fin_archive = reinterpret_cast<const uchar*>(archive.constData()) + archive.size();
    const uchar* debut_trace = reinterpret_cast<const uchar*>(trace.constData());
    quint64 debut = 0, fin = 0, puissance = 1;
    qsizetype egaux = 0;
    for (qsizetype n = 1; n <= plus_long; ++n) {
        debut = somme(produit(debut, Base), debut_trace[n - 1]);
        fin = somme(fin, produit(fin_archive[-n], puissance));
        puissance = produit(puissance, Base);
        if (n > Seuil_Archive_Mouchard && debut == fin) egaux = n;
    }
    if (egaux > 0 && std::memcmp(fin_archive - egaux, debut_trace, static_cast<size_t>(egaux)) != 0) egaux = 0;
    return egaux;
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
    Identite_Fichier fichier = Identifier_Fichier(Fichier_Mouchard);
    if (Deja_Archivee(fichier)) return false;
    QByteArray trace;
    if (!Lire_Fichier(Fichier_Mouchard, trace)) return false;
    fichier.Taille = trace.size();
    const QString archive = Nom_Archive_Mouchard(Maintenant());
    QByteArray contenu;
    if (Fichier_Existe(archive) && !Lire_Fichier(archive, contenu)) return false;
    // The lines an earlier start archived are there once already.
    const qsizetype deja = Deja_Dans_L_Archive(contenu, trace);
    if (deja < trace.size()) {
        contenu += QByteArrayView(trace).sliced(deja);
        QDir().mkpath(QFileInfo(archive).absolutePath());
        const Resultat_Fichier copie = Sauvegarde_Sure(archive, contenu);
        if (!copie) {
            // Stopped while written over in place, the archive may already
            // hold some of these lines: another try would add them a second
            // time.
            if (copie.Entame) trace_gardee = Trace_Gardee{Fichier_Mouchard, fichier};
            return false;
        }
    }
    // A trace that a symbolic link leads to (a site keeping it elsewhere) is
    // emptied where it is, the link kept, and so is one whose folder is closed
    // to this account; one that can be neither removed nor emptied is kept
    // whole.
    if ((QFileInfo(Fichier_Mouchard).isSymLink() || !QFile::remove(Fichier_Mouchard)) &&
        !QFile::resize(Fichier_Mouchard, 0))
        trace_gardee = Trace_Gardee{Fichier_Mouchard, fichier};
    return true;
}

void Init_Mouchard() {
    if (Fichier_Mouchard.isEmpty()) return;
    // The mapped Windows folder may not exist yet on this machine.
    QDir().mkpath(QFileInfo(Fichier_Mouchard).absolutePath());
    Archiver_Si_Trop_Gros();
    // A trace that is no ordinary file (a named pipe, a device) is left as it
    // is, and the program goes on without its lines.
    Ajouter_Au_Fichier(Fichier_Mouchard, {});
}

void Ecrit_Mouchard(const QString& message) {
    if (Fichier_Mouchard.isEmpty()) return;
    Archiver_Si_Trop_Gros();
    const QByteArray ligne = Vers_Cp1252(Texte_Date(Maintenant()) + QLatin1Char(' ') +
                                         Frm_Menu1().Lbl_Nom_Logiciel() + QLatin1Char(' ') + message) +
                             "\r\n";
    // A lost line never stops the program.
    if (Ajouter_Au_Fichier(Fichier_Mouchard, ligne)) return;
    const QString dossier = QFileInfo(Fichier_Mouchard).absolutePath();
    if (!QFileInfo::exists(dossier) && QDir().mkpath(dossier)) Ajouter_Au_Fichier(Fichier_Mouchard, ligne);
}

void Ferme_Mouchard() {
    // Every line closes the trace behind it: nothing is left open here.
}

}  // namespace ostrel
