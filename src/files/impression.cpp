#include "files/impression.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formats.h"
#include "platform/formes.h"

namespace ostrel {
namespace {

const QString Police_Rapports = QStringLiteral("Courier New");

// A working grid of cells: column 0 the row label, columns 1..8 the eight
// channels or plannings of a block.
using Grille = std::vector<std::array<QString, 9>>;

// Prints rows 0..derniere, cells filled to largeur + 1 characters: the label
// and the first 7 cells end with a zone separator, the eighth ends the line.
void Imprimer_Grille(Grille& grille, int derniere, Long largeur) {
    for (int r = 0; r <= derniere; ++r) {
        auto& ligne = grille[static_cast<size_t>(r)];
        std::vector<Item> items;
        items.push_back({ligne[0], Separateur::Zone});
        for (size_t c = 1; c <= 8; ++c)
            items.push_back({Complete_Espaces(ligne[c], largeur), c < 8 ? Separateur::Zone : Separateur::Fin});
        Printer().Print(items);
    }
}

void Debut_Rapport(Simple taille) {
    Frm_Menu1().Premier_Plan();
    Frm_Menu1().Rafraichir();
    Printer().Orientation(vbPRORLandscape);
    Printer().FontName(Police_Rapports);
    Printer().FontSize(taille);
}

void Premiere_Ligne() { Printer().Print(Nom_Maison + QStringLiteral("   ") + Frm_Menu1().Lbl_Info_Client()); }

QString Oui_Non(Booleen b) { return b != 0 ? QStringLiteral("Oui") : QStringLiteral("Non"); }

const QString Rien = QStringLiteral("...");

// Cells of one channel in the rows of its block (offset: first row of the block).
void Remplir_Voie(Grille& g, int debut, size_t colonne, int numero, const Parametres_Voie& v) {
    auto cellule = [&](int rang) -> QString& { return g[static_cast<size_t>(debut + rang)][colonne]; };
    cellule(0) = Texte_Entier(numero);
    cellule(1) = v.Nom_Voie;
    if (v.Voie_Valide == 0) {
        cellule(2) = QStringLiteral("Non");
        for (int rang : {3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 16, 17, 18, 20}) cellule(rang) = Rien;
        return;
    }
    const bool etor = Entree_Contact(v);
    const bool alarmes_coupees = (etor && v.Role_ETOR_Inhib != 0) || v.Alarme_Valide == 0;
    cellule(2) = QStringLiteral("Oui");
    cellule(3) = etor ? Rien : Texte_Entier(v.Periode_Enreg) + QStringLiteral(" minutes");
    if (v.Unite <= 3) cellule(4) = Texte_Unite(v.Unite);
    switch (v.Nature_Capteur) {
    case 0:
        cellule(5) = QStringLiteral("AD590");
        cellule(6) = Rien;
        cellule(7) = Rien;
        break;
    case 1:
        cellule(5) = QStringLiteral("4-20 mA");
        cellule(6) = Texte_Simple(v.Echelle_4mA);
        cellule(7) = Texte_Simple(v.Echelle_20mA);
        break;
    case 2:
        cellule(5) = QStringLiteral("ETOR");
        cellule(6) = v.Contact_NF != 0 ? QStringLiteral("NF") : QStringLiteral("NO");
        cellule(7) = v.Role_ETOR_Inhib != 0 ? QStringLiteral("Inhibition") : QStringLiteral("Alarme");
        break;
    default: break;
    }
    cellule(9) = alarmes_coupees ? QStringLiteral("Non") : QStringLiteral("Oui");
    cellule(10) = alarmes_coupees ? Rien : Texte_Entier(v.Tempo_Alarme);
    cellule(11) = alarmes_coupees || etor ? Rien : Texte_Simple(v.Seuil_Bas);
    cellule(12) = alarmes_coupees || etor ? Rien : Texte_Simple(v.Seuil_Haut);
    cellule(13) = alarmes_coupees ? Rien : Oui_Non(v.Buzzer);
    cellule(14) = alarmes_coupees ? Rien : (v.Relais_2 != 0 ? QStringLiteral("Relais 2") : QStringLiteral("Relais 1"));
    const QString inhib_enreg = v.Inhib_Enreg_ETOR != 0 ? Texte_Entier(v.Num_ETOR_Inhib) : QStringLiteral("Non");
    const QString inhib_planning = v.Num_Planning_Inhib != 0 ? Texte_Entier(v.Num_Planning_Inhib) : QStringLiteral("Non");
    const QString inhib_etor = v.Inhib_Alarme_ETOR != 0 ? Texte_Entier(v.Num_ETOR_Inhib) : QStringLiteral("Non");
    if (etor && v.Role_ETOR_Inhib != 0) {
        cellule(16) = cellule(17) = cellule(18) = Rien;
    } else if (v.Alarme_Valide == 0) {
        cellule(16) = inhib_enreg;
        cellule(17) = cellule(18) = Rien;
    } else {
        cellule(16) = etor ? Rien : inhib_enreg;
        cellule(17) = inhib_planning;
        cellule(18) = inhib_etor;
    }
    cellule(20) = etor ? Rien : Texte_Simple(v.Offset);
}

const char* const Libelles_Voies[21] = {
    "Paramètre de la voie n°                ",
    "Nom de la voie :                       ",
    "Voie valide :                          ",
    "Période Enregistrements :              ",
    "Unité :                                ",
    "Nature du Capteur :                    ",
    "Type ETOR :                            ",
    "Rôle ETOR :                            ",
    "",
    "Alarme Valide :                        ",
    "Temporisation Alarme :                ",
    "Seuil Bas :                           ",
    "Seuil Haut :                          ",
    "Activation du buzzer :                ",
    "Relais d'alarme :                     ",
    "",
    "Inhibition des Enregistrements :      ",
    "Inhibition des Alarmes par Planning : ",
    "Inhibition des Alarmes par ETOR :     ",
    "",
    "Offset :                              ",
};

QString Ligne_Relais(int relais, Octet logique) {
    if (logique > 3) return {};
    const QString contact = (logique & 1) ? QStringLiteral("Fermé") : QStringLiteral("Ouvert");
    const QString declenchement = (logique & 2) ? QStringLiteral("Impulsionnel") : QStringLiteral("Maintenu");
    return QStringLiteral("Relais %1 : Contact Normalement %2 et Déclenchement %3").arg(relais).arg(contact, declenchement);
}

}  // namespace

QString Complete_Espaces(QString& s, Long n) {
    const Long fin = n;
    for (Long i = static_cast<Long>(s.size()); i <= fin; ++i) s += QLatin1Char(' ');
    return s;
}

void Imprimer_Entete(const QString& sujet, const QString& apres_nom) {
    Imprimante& p = Printer();
    p.Print(Nom_Maison + apres_nom);
    p.Print(QString(91, QLatin1Char('*')));
    p.Print();
    p.Print(QStringLiteral("Nom de l'installation : ") + Nom_Installation);
    p.Print();
    p.Print();
    p.Print(sujet);
}

void Page_Rapport_109_Colonnes() {
    // 109 columns of 8 points take 185 mm of the 198 a portrait sheet prints
    // across. In 10 points they need a landscape sheet, whose fewer than
    // fifty lines leave the end of a 16-channel module's measures alone on
    // a second sheet.
    Printer().Orientation(vbPRORPortrait);
    Printer().FontName(Police_Rapports);
    Printer().FontSize(8);
}

void Signaler_Echec_Impression(const Resultat_Impression& resultat) {
    // Pages a queue took before it failed will print: the operator must not
    // print them again believing nothing went out.
    QString texte = resultat.Pages_Envoyees == 0 ? QStringLiteral("L'impression a échoué, rien n'a été envoyé à l'imprimante.")
                    : resultat.Pages_Envoyees == 1
                        ? QStringLiteral("L'impression a échoué : seule la première page a été envoyée à l'imprimante.")
                        : QStringLiteral("L'impression a échoué : seules les %1 premières pages ont été envoyées à l'imprimante.")
                              .arg(resultat.Pages_Envoyees);
    if (!resultat.Erreur.isEmpty()) texte += QStringLiteral("\n(") + resultat.Erreur + QLatin1Char(')');
    Boites().MsgBox(texte, vbOKOnly | vbCritical);
}

Resultat_Impression Terminer_Impression(const QString& forme_appelante) {
    const Resultat_Impression resultat = Printer().EndDoc();
    Formes().Premier_Plan(forme_appelante);
    Formes().Focus(forme_appelante);
    if (resultat) Boites().MsgBox(Texte_Impression_Envoyee(resultat));
    else Signaler_Echec_Impression(resultat);
    return resultat;
}

QString Texte_Impression_Envoyee(const Resultat_Impression& resultat) {
    if (resultat.Fichier_Pdf.isEmpty()) return QStringLiteral("Impression envoyée à l'imprimante");
    return QStringLiteral("Impression enregistrée dans le fichier :\n") + resultat.Fichier_Pdf;
}

void Annoncer_Fichier_Impression(const Resultat_Impression& resultat) {
    if (resultat && !resultat.Fichier_Pdf.isEmpty())
        Frm_Menu1().Annonce(QStringLiteral("Impression enregistrée dans ") +
                            QDir::toNativeSeparators(QFileInfo(resultat.Fichier_Pdf).absolutePath()) +
                            QLatin1Char('\n') + QFileInfo(resultat.Fichier_Pdf).fileName());
}

bool Imprimer_Parametres_Voies(const Octet& Nb) {
    Debut_Rapport(8);
    Printer().FontBold(true);
    Premiere_Ligne();
    Printer().Print();
    Printer().Print(QStringLiteral("Configuration du module n°") + QLatin1Char(' ') + Texte_Entier(Num_Module));
    Printer().Print();
    Printer().Print();
    Printer().FontBold(false);
    Printer().FontSize(7);

    const int blocs = std::min(Nb / 8, 2);
    Grille grille(51);
    for (int b = 0; b < blocs; ++b) {
        const int debut = 30 * b;
        for (int rang = 0; rang <= 20; ++rang)
            grille[static_cast<size_t>(debut + rang)][0] = QString::fromUtf8(Libelles_Voies[rang]);
        for (size_t j = 1; j <= 8; ++j) {
            const int voie = 8 * b + static_cast<int>(j);
            Remplir_Voie(grille, debut, j, voie, Tab_Parametres_Voies[static_cast<size_t>(voie - 1)]);
        }
    }
    if (blocs > 0) Imprimer_Grille(grille, 30 * (blocs - 1) + 20, 12);
    return static_cast<bool>(Terminer_Impression(QStringLiteral("Frm_Param_Voies")));
}

bool Imprimer_Parametres_Module(const std::array<QString, 4>& Msk_Mot_Passe, const std::array<QString, 4>& Txt_Nom_Passe) {
    const Parametres_Module& module = Tab_Parametres_Modules[Num_Module >= 1 && Num_Module <= 32 ? Num_Module - 1u : 0u];
    Debut_Rapport(10);
    Premiere_Ligne();
    Printer().Print();
    Printer().Print(QStringLiteral("Configuration du Module n°") + Texte_Entier(Num_Module) + QStringLiteral(" - ") +
                    module.Entete);
    Printer().Print();
    Printer().Print();
    Printer().FontSize(8);
    Printer().Print(QStringLiteral("Configuration de l'entête : ") + module.Entete);
    Printer().Print();
    Printer().Print();
    const QString relais1 = Ligne_Relais(1, module.Logique_STOR1);
    if (!relais1.isEmpty()) Printer().Print(relais1);
    Printer().Print();
    const QString relais2 = Ligne_Relais(2, module.Logique_STOR2);
    if (!relais2.isEmpty()) Printer().Print(relais2);
    Printer().Print();
    Printer().Print();
    for (size_t i = 0; i < 4; ++i)
        Printer().Print({{QStringLiteral("mot de passe pour acquitter : ") + Msk_Mot_Passe[i], Separateur::Aucun},
                         {QStringLiteral("   associé à : ") + Txt_Nom_Passe[i], Separateur::Fin}});
    Printer().Print();

    Printer().FontSize(5);
    Grille grille(59);
    for (int b = 0; b < 2; ++b) {
        const size_t debut = b == 0 ? 6 : 32;
        auto rang = [&](int k) -> std::array<QString, 9>& { return grille[debut + static_cast<size_t>(k)]; };
        rang(0)[0] = QStringLiteral("Plage horaire du planning n°");
        rang(2)[0] = QStringLiteral("Plage horaire de la semaine ");
        rang(9)[0] = QStringLiteral("Plage horaire du Weekend    ");
        for (int k : {4, 5, 6, 7, 11, 12, 13, 14}) rang(k)[0] = QStringLiteral("Heure début     Heure fin : ");
        for (size_t j = 1; j <= 8; ++j) {
            const size_t p = 8 * static_cast<size_t>(b) + j;
            const auto& plages = module.Planning[p];
            rang(0)[j] = Texte_Entier(static_cast<long long>(p));
            rang(2)[j] = QStringLiteral("Plage horaire de la semaine");
            rang(9)[j] = QStringLiteral("Plage horaire du Weekend");
            for (size_t n = 0; n < 4; ++n) {
                rang(4 + static_cast<int>(n))[j] = Texte_Heure(plages[2 * n]) + QStringLiteral("     ") + Texte_Heure(plages[2 * n + 1]);
                rang(11 + static_cast<int>(n))[j] =
                    Texte_Heure(plages[8 + 2 * n]) + QStringLiteral("     ") + Texte_Heure(plages[9 + 2 * n]);
            }
        }
    }
    Imprimer_Grille(grille, 46, 26);
    return static_cast<bool>(Terminer_Impression(QStringLiteral("Frm_Param_OC")));
}

QString Texte_Etat_Alarme(Octet Etat_Voie) {
    switch (Etat_Voie) {
    case 0: case 5: case 7: case 11: return QStringLiteral("   ...   ");
    case 1: return QStringLiteral("Alarme haute acquittée");
    case 2: return QStringLiteral("Alarme haute non acquittée");
    case 3: return QStringLiteral("Alarme basse acquittée");
    case 4: return QStringLiteral("Alarme basse non acquittée");
    case 6: return QStringLiteral("Alarme haute disparue");
    case 8: return QStringLiteral("Alarme basse disparue");
    case 9: return QStringLiteral("Défaut acquitté");
    case 10: return QStringLiteral("Défaut non acquitté");
    case 12: return QStringLiteral("Défaut disparu");
    default: return {};
    }
}

QString Texte_Unite(Octet Unite) {
    switch (Unite) {
    case 0: return QStringLiteral("°C");
    case 1: return QStringLiteral("%Hr");
    case 2: return QStringLiteral("U");
    case 3: return QStringLiteral("Bar");
    default: return {};
    }
}

namespace {

// The measure as the report prints it: the three reserved words by their
// meaning, any other value in the general number form.
QString Texte_Mesure_Imprimee(Simple m) {
    const Simple dixiemes = static_cast<Simple>(m * 10.0f);
    if (dixiemes == Mot_Voie_Invalide) return Rien;
    if (dixiemes == Mot_Contact_Ferme) return QStringLiteral("Fermé");
    if (dixiemes == Mot_Contact_Ouvert) return QStringLiteral("Ouvert");
    return Texte_Simple(m);
}

}  // namespace

bool Imprimer_Mesures_Instantanees() {
    const QString regle(109, QLatin1Char('-'));
    const Octet module = Num_Module;
    const Octet nb_voies = module >= 1 && module <= 32 ? Nb_Voies_Module[module - 1u] : 0;
    const QString entete = module >= 1 && module <= 32 ? Tab_Parametres_Modules[module - 1u].Entete : QString();

    Page_Rapport_109_Colonnes();
    Imprimer_Entete(QStringLiteral("Module n°") + Texte_Entier(module) + QStringLiteral(" - ") + entete,
                    QStringLiteral(" - IMPRESSION INSTANTANEE DES MESURES"));
    for (int i = 0; i < 3; ++i) Printer().Print();
    Printer().Print(regle);
    Printer().Print({{QStringLiteral(" | Voie N°"), Separateur::Zone},
                     {QStringLiteral(" | Nom"), Separateur::Zone},
                     {QString(), Separateur::Zone},
                     {QStringLiteral(" | Mesure"), Separateur::Zone},
                     {QStringLiteral(" | Etat de l'alarme"), Separateur::Fin}});
    Printer().Print(regle);

    for (Octet k = 1; k <= nb_voies; ++k) {
        // Each value is taken from its own read only: after a failure the
        // reply record still holds an earlier channel's values, which
        // must not be printed as this channel's.
        Lecture_Nom_Voie(module, k);
        QString nom = Code_Erreur == 0 ? Donnees_Reponse.Nom_Voie : QString();
        const Simple m = Lecture_Mesure_Voie(module, k);
        const QString mesure = Code_Erreur == 0 ? Texte_Mesure_Imprimee(m) : Rien;
        Lecture_Etat_Voie(module, k);
        const QString etat = Code_Erreur == 0 ? Texte_Etat_Alarme(Donnees_Reponse.Etat_Voie) : QString();
        Complete_Espaces(nom, 15);
        Printer().Print({{QStringLiteral(" | ") + Texte_Entier(k), Separateur::Zone},
                         {QStringLiteral(" | ") + nom, Separateur::Zone},
                         {QStringLiteral(" | ") + mesure, Separateur::Zone},
                         {QStringLiteral(" | ") + etat, Separateur::Fin}});
        Printer().Print({{QStringLiteral(" | "), Separateur::Zone},
                         {QStringLiteral(" | "), Separateur::Zone},
                         {QString(), Separateur::Zone},
                         {QStringLiteral(" | "), Separateur::Zone},
                         {QStringLiteral(" | "), Separateur::Fin}});
    }

    Printer().Print(regle);
    for (int i = 0; i < 4; ++i) Printer().Print();
    Printer().Print(QStringLiteral("OstrelSoft le ") + Texte_Date(Maintenant()));
    const Resultat_Impression resultat = Printer().EndDoc();
    if (!resultat) Signaler_Echec_Impression(resultat);
    Annoncer_Fichier_Impression(resultat);
    return static_cast<bool>(resultat);
}

}  // namespace ostrel
