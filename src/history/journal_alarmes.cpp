#include "history/journal_alarmes.h"

#include "files/impression.h"
#include "files/messages_fichiers.h"
#include "files/texte_fichier.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/imprimante.h"

namespace ostrel {
namespace {

// A line of the file's head holds no line end: a module text carrying one
// would shift every following line.
QString Sans_Fin_De_Ligne(QString texte) {
    texte.replace(QLatin1Char('\r'), QLatin1Char(' '));
    texte.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return texte;
}

// One field of an entry line: its text, and where it lies in the line (its
// leading blanks skipped, up to the comma that ends it).
struct Champ {
    QString Texte;
    qsizetype Debut = 0, Fin = 0;
};

// The fields of a line as the file's readers always took them: separated by
// commas, leading blanks skipped, a field that starts with a double quote
// running to the closing quote.
std::vector<Champ> Champs(const QString& ligne) {
    std::vector<Champ> champs;
    const qsizetype n = ligne.size();
    qsizetype i = 0;
    for (;;) {
        while (i < n && (ligne[i] == QLatin1Char(' ') || ligne[i] == QLatin1Char('\t'))) ++i;
        Champ c;
        c.Debut = i;
        if (i < n && ligne[i] == QLatin1Char('"')) {
            const qsizetype fin = ligne.indexOf(QLatin1Char('"'), i + 1);
            c.Texte = ligne.mid(i + 1, (fin < 0 ? n : fin) - i - 1);
            i = fin < 0 ? n : fin + 1;
            while (i < n && ligne[i] != QLatin1Char(',')) ++i;
        } else {
            while (i < n && ligne[i] != QLatin1Char(',')) ++i;
            c.Texte = ligne.mid(c.Debut, i - c.Debut);
        }
        c.Fin = i;
        champs.push_back(c);
        if (i >= n) break;
        ++i;  // the comma
    }
    return champs;
}

bool Lire_Entree(const QString& ligne, Evenement_Journal& e) {
    const std::vector<Champ> champs = Champs(ligne);
    const size_t n = champs.size();
    if (n < 5) return false;
    // A channel name holding commas, written unquoted by an earlier version:
    // everything between the channel number and the state belongs to it.
    const QString nom =
        n == 5 ? champs[2].Texte : ligne.mid(champs[2].Debut, champs[n - 3].Fin - champs[2].Debut);
    const auto date = Convertir_Date(champs[0].Texte);
    const auto voie = Convertir_Octet(champs[1].Texte);
    const auto operateur = Convertir_Octet(champs[n - 1].Texte);
    if (!date || !voie || !operateur) return false;
    e.Date_Heure = *date;
    e.Num_Voie = *voie;
    e.Nom_Voie = nom;
    e.Etat = Code_Etat_Alarme(champs[n - 2].Texte);
    e.Num_Operateur = *operateur;
    return true;
}

}  // namespace

Journal_Coupe Dernier_Journal_Coupe;

QString Texte_Journal_Coupe(std::int64_t gardees, std::int64_t lues) {
    return QStringLiteral("La mémoire du journal est pleine : seuls les ") + Texte_Entier(gardees) +
           QStringLiteral(" évènements les plus récents sur les ") + Texte_Entier(lues) +
           QStringLiteral(" envoyés par le module sont gardés, les plus anciens ne seront pas affichés.");
}

QString Texte_Purge_Non_Gardees(std::int64_t non_gardees) {
    return QStringLiteral("Les ") + Texte_Entier(non_gardees) +
           QStringLiteral(" évènements les plus anciens du Module ne sont pas dans la liste : ils seront perdus.");
}

QString Etat_Alarme(Octet etat) {
    // The journal names the states without an alarm where the live screens show "   ...   ".
    if (etat == 0 || etat == 5 || etat == 7 || etat == 11) return QStringLiteral("Plus d'alarme");
    if (etat <= 12) return Texte_Etat_Alarme(etat);
    return QStringLiteral("Etat inconnu (") + Texte_Entier(etat) + QLatin1Char(')');
}

Octet Code_Etat_Alarme(const QString& texte) {
    // Codes 0, 5, 7 and 11 share their text: it reads back as 0.
    for (Octet code : {1, 2, 3, 4, 6, 8, 9, 10, 12})
        if (texte == Texte_Etat_Alarme(code)) return code;
    return 0;
}

QString Ligne_Journal(Evenement_Journal& e, Table_Noms_Operateurs& noms) {
    QString date = Texte_Date(e.Date_Heure);
    QString voie = QStringLiteral("Voie ") + Texte_Entier(e.Num_Voie);
    QString etat = Etat_Alarme(e.Etat);
    QString sans_nom;
    QString& operateur = e.Num_Operateur < noms.size() ? noms[e.Num_Operateur] : sans_nom;
    return Complete_Espaces(date, Largeur_Date_Journal - 1) + QLatin1Char(' ') +
           Complete_Espaces(voie, Largeur_Voie_Journal - 1) + QLatin1Char(' ') +
           Complete_Espaces(e.Nom_Voie, Largeur_Nom_Voie_Journal - 1) + QLatin1Char(' ') +
           Complete_Espaces(etat, Largeur_Etat_Journal - 1) + QLatin1Char(' ') +
           Complete_Espaces(operateur, Largeur_Operateur_Journal - 1);
}

QByteArray Contenu_Fichier_Journal(const QString& entete, const Table_Noms_Operateurs& noms,
                                   const std::vector<Evenement_Journal>& journal, Long nb) {
    Ecrivain_Texte fichier;
    fichier.Ligne(Sans_Fin_De_Ligne(entete));
    fichier.Ligne(Titre_Operateurs_Journal);
    for (size_t k = 1; k <= 4; ++k) fichier.Ligne(Sans_Fin_De_Ligne(noms[k]));
    fichier.Ligne(Titres_Colonnes_Journal);
    nb = std::min<Long>(std::max<Long>(nb, 0), static_cast<Long>(journal.size()));
    fichier.Reserver(static_cast<qsizetype>(nb) * 64 + 512);
    for (Long k = 0; k < nb; ++k) {
        const Evenement_Journal& e = journal[static_cast<size_t>(nb - 1 - k)];
        // A name with a comma or a leading blank is quoted, so that it reads back whole.
        fichier.Ligne(Texte_Date(e.Date_Heure) + QLatin1Char(',') + Texte_Entier(e.Num_Voie) + QLatin1Char(',') +
                      Item_Protege(Sans_Fin_De_Ligne(e.Nom_Voie)) + QLatin1Char(',') + Etat_Alarme(e.Etat) +
                      QLatin1Char(',') + Texte_Entier(e.Num_Operateur));
    }
    return fichier.Contenu();
}

bool Lire_Contenu_Journal(const QByteArray& contenu, Journal_Lu& lu) {
    std::vector<QString> lignes;
    Lecteur_Texte lecteur(contenu);
    for (QString ligne; lecteur.Lire_Ligne(ligne);) lignes.push_back(ligne);
    if (lignes.size() < static_cast<size_t>(Lignes_Entete_Journal)) return false;
    Journal_Lu resultat;
    resultat.Titre = lignes[0];
    for (size_t k = 0; k < 4; ++k) resultat.Noms[k] = lignes[2 + k];
    const size_t nb = lignes.size() - Lignes_Entete_Journal;
    resultat.Nb = static_cast<Long>(nb);
    resultat.Entrees.assign(nb + 1, Evenement_Journal{});
    // The newest entry comes first in the file and goes last in the table.
    for (size_t k = 0; k < nb; ++k)
        if (!Lire_Entree(lignes[Lignes_Entete_Journal + k], resultat.Entrees[nb - 1 - k])) return false;
    lu = std::move(resultat);
    return true;
}

bool Imprimer_Lignes_Journal(const QString& intitule, const QStringList& lignes) {
    Imprimante& p = Printer();
    // The list lines are 100 characters long: they fit across the page only.
    p.Orientation(vbPRORLandscape);
    p.FontName(QStringLiteral("Courier New"));
    p.FontSize(10);
    p.FontBold(false);
    const QString tirets(150, QLatin1Char('-'));
    Imprimer_Entete(QStringLiteral("Journal des évènements du Module") + QStringLiteral(" : ") + intitule);
    p.Print();
    p.Print();
    p.Print(tirets);
    p.Print(Complete_Espaces(QStringLiteral("Date / Heure"), 21) + Complete_Espaces(QStringLiteral("Num voie"), 9) +
            Complete_Espaces(QStringLiteral("Voie"), 15) + Complete_Espaces(QStringLiteral("Etat"), 27) +
            QStringLiteral("Par l'opérateur"));
    p.Print(tirets);
    for (const QString& ligne : lignes) p.Print(ligne);
    p.Print(tirets);
    for (int i = 0; i < 4; ++i) p.Print();
    p.Print(QStringLiteral("OstrelSoft le ") + Texte_Date(Maintenant()));
    const Resultat_Impression resultat = p.EndDoc();
    if (!resultat) {
        // The operator is told why (a full disk, a refused job) on a line of its own.
        QString texte = QStringLiteral("L'impression a échoué");
        if (!resultat.Erreur.isEmpty()) texte += QStringLiteral("\n(") + resultat.Erreur + QLatin1Char(')');
        Boites().MsgBox(texte, vbOKOnly | vbExclamation);
        return false;
    }
    Boites().MsgBox(Texte_Impression_Envoyee(resultat));
    return true;
}

}  // namespace ostrel
