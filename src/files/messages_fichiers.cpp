#include "files/messages_fichiers.h"

#include "platform/dialogues.h"

namespace ostrel {

void Signaler_Echec_Sauvegarde(const QString& chemin, const Resultat_Fichier& resultat) {
    QString texte = resultat.Entame
                        ? QStringLiteral("La sauvegarde a échoué en cours d'écriture, le fichier est peut-être incomplet :\n")
                        : QStringLiteral("La sauvegarde a échoué, le fichier n'a pas été modifié :\n");
    texte += chemin;
    if (!resultat.Erreur.isEmpty()) texte += QStringLiteral("\n(") + resultat.Erreur + QLatin1Char(')');
    Boites().MsgBox(texte, vbOKOnly | vbCritical);
}

QString Texte_Lecture_Refusee(const QString& texte, const Resultat_Fichier& lecture, const QString& nature) {
    if (!lecture.Trop_Grand && !lecture.Sans_Memoire) return texte;
    QString raison = lecture.Erreur;
    if (!raison.isEmpty()) raison[0] = raison[0].toUpper();
    if (lecture.Trop_Grand) raison += QStringLiteral(" : ce n'est pas ") + nature;
    return texte + QLatin1Char('\n') + raison + QLatin1Char('.');
}

QString Item_Protege(const QString& texte) {
    if (texte.isEmpty()) return texte;
    const QChar premier = texte.front();
    const bool a_proteger = premier == QLatin1Char(' ') || premier == QLatin1Char('\t') || premier == QLatin1Char('"') ||
                            texte.contains(QLatin1Char(',')) || texte.contains(QLatin1Char('\r')) ||
                            texte.contains(QLatin1Char('\n'));
    if (!a_proteger) return texte;
    QString interieur = texte;
    interieur.replace(QLatin1Char('"'), QLatin1Char('\''));
    return QLatin1Char('"') + interieur + QLatin1Char('"');
}

}  // namespace ostrel
