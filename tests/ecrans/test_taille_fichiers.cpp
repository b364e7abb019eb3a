// Every reader of a file a person names, in the program running over the
// simulated bus and in the two companion programs: a file larger than its
// kind can be is refused at once, with the box its screen shows for a file it
// cannot read and why; the largest file of each kind, as its writer makes it,
// still reads.
#include <QImage>
#include <QLabel>

#include "banc_ecrans.h"
#include "commun/fichiers_test.h"
#include "files/config_module.h"
#include "files/config_voies.h"
#include "files/enregistrements.h"
#include "files/options_logiciel.h"
#include "history/frm_journal_alarme.h"
#include "history/journal_alarmes.h"
#include "platform/dates.h"
#include "platform/ui/file_impression.h"
#include "tools/conversion.h"
#include "tools/form1.h"
#include "tools/frm_export.h"

using namespace ostrel;
using namespace ostrel_test;

namespace {

constexpr qint64 Mo = qint64{1} << 20;
// A disk image picked by mistake.
constexpr qint64 Image_Disque = qint64{30} << 30;

// The box of a file too large: the screen's own text, then why.
QString Trop_Grand(const QString& texte, QString taille, const QString& nature) {
    taille.replace(QLatin1Char(' '), QChar(0x00A0));  // a size is never cut at the end of a line
    return texte + QStringLiteral("\nLe fichier est trop grand (") + taille + QStringLiteral(") : ce n'est pas ") +
           nature + QLatin1Char('.');
}

// The widest single a writer puts in a file ("-1,234567E-29" once ten times larger).
constexpr Simple Large = -1.234567e-30f;

}  // namespace

TEST_F(Banc_Ecrans, UnFichierTropGrandEstRefuseAussitotEtLePlusGrandDeChaqueSorteSeLit) {
    // Options and home picture the size of a disk image: the program starts
    // and supervises the bus; the options read as from an unreadable file,
    // the picture is refused in words.
    ASSERT_TRUE(Fichier_Creux(disque.filePath("OstrelSoft/ver.dva"), Image_Disque));
    ASSERT_TRUE(Fichier_Creux(disque.filePath("OstrelSoft+/Images/Accueil.bmp"), Image_Disque));
    ASSERT_NE(Demarrer_Tableau(vbYes, {1280, 1024}), nullptr);
    const QString image_refusee = QStringLiteral("Error 481 Image incorrecte");
    const QString image = QStringLiteral("une image d'accueil");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{QStringLiteral("Un fichier est manquant, réinstaller l'application !"),
                                                    Question_Connexion, Trop_Grand(image_refusee, "30 720 Mo", image)}));
    EXPECT_EQ(Police_Options, Police_Defaut);
    EXPECT_TRUE(registre.Est_Chargee(QStringLiteral("Frm_Accueil")));
    EXPECT_TRUE(Tableau()->isVisible());
    Ecran_Courant = QStringLiteral("Accueil");

    QTemporaryDir dossier_lectures;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Consultation"), Faux);
    Num_Module = 1;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Journal des alarmes"), Faux);
    Traiter_Evenements();
    auto* journal = registre.Instance_De<frm_Journal_Alarme_Forme>(QStringLiteral("frm_Journal_Alarme"));
    ASSERT_NE(journal, nullptr);
    Frm_Export exportation;
    Form1 conversion;
    Textes_Codes codes, noms;
    QString caption;
    const QString incorrect = QStringLiteral("Fichier incorrect!");
    const QString enregistrements = QStringLiteral("un fichier d'enregistrements");
    const QString accueil = disque.filePath("OstrelSoft+/Images/Accueil.bmp");
    QTemporaryDir maison;
    const QString lpoptions = maison.filePath(".cups/lpoptions");
    struct Lecteur {
        const char* nom;
        qint64 borne;
        std::function<void(const QString&)> lire;
        QString refus;  // the box, empty where the reader shows none
        QString nature;
    };
    const std::vector<Lecteur> lecteurs = {
        {"recordings", 64 * Mo, [](const QString& c) { Chargement_Fichier_Donnees(c); }, incorrect, enregistrements},
        {"Exportation", 64 * Mo, [&](const QString& c) { exportation.Importer_Enregistrements(c); }, incorrect,
         enregistrements},
        {"Conversion", 128 * Mo, [&](const QString& c) { conversion.Importer_Enregistrements(c); }, incorrect,
         QStringLiteral("un ancien fichier d'enregistrements")},
        {"channels", Mo, [](const QString& c) { Restauration_Config_Voies(c, 16); }, incorrect,
         QStringLiteral("un fichier de configuration des voies")},
        {"module", Mo, [&](const QString& c) { Restauration_Config_Module(c, codes, noms, caption); }, incorrect,
         QStringLiteral("un fichier de configuration du module")},
        {"journal", 64 * Mo, [&](const QString& c) { journal->Ouvrir_Journal(c); }, incorrect,
         QStringLiteral("un journal des alarmes")},
        {"options",
         Mo,
         [](const QString& c) {
             Chemin_Fichier_Version = c;
             Chargement_Parametres_Logiciel();
         },
         {},
         {}},
        {"home picture", 256 * Mo,
         [&](const QString&) {
             registre.Decharger(QStringLiteral("Frm_Accueil"));
             registre.Charger(QStringLiteral("Frm_Accueil"));
         },
         image_refusee, image},
        {"print options", 16 * Mo,
         [&](const QString&) {
             qputenv("HOME", maison.path().toUtf8());
             qputenv("CUPS_SERVER", maison.filePath("pas_de_serveur").toUtf8());
             qunsetenv("PRINTER");
             qunsetenv("LPDEST");
             EXPECT_TRUE(Service_Impression().File_Par_Defaut().Nom.isEmpty());
         },
         {},
         {}},
    };
    const QByteArray home = qgetenv("HOME"), cups = qgetenv("CUPS_SERVER"), printer = qgetenv("PRINTER"),
                     lpdest = qgetenv("LPDEST");
    for (const Lecteur& l : lecteurs) {
        SCOPED_TRACE(l.nom);
        const QString chemin = l.refus == image_refusee ? accueil
                               : QLatin1String(l.nom) == "print options" ? lpoptions
                                                                         : dossier_lectures.filePath("grand.txt");
        for (const qint64 taille : {l.borne + 1, Image_Disque}) {
            ASSERT_TRUE(Fichier_Creux(chemin, taille));
            boites.Effacer();
            l.lire(chemin);
            const QString mo = taille == Image_Disque ? QStringLiteral("30 720 Mo")
                                                      : QString::number(l.borne / Mo + 1) + QStringLiteral(" Mo");
            EXPECT_EQ(boites.Textes(), l.refus.isEmpty() ? std::vector<QString>{}
                                                         : std::vector<QString>{Trop_Grand(l.refus, mo, l.nature)});
            EXPECT_EQ(boites.Dialogues.size(), 0u) << "no file to write is asked for";
        }
        QFile::remove(chemin);
    }
    for (const auto& [nom, valeur] : {std::pair{"HOME", home}, {"CUPS_SERVER", cups}, {"PRINTER", printer}, {"LPDEST", lpdest}})
        valeur.isNull() ? qunsetenv(nom) : qputenv(nom, valeur);
    registre.Decharger(QStringLiteral("Frm_Accueil"));
    EXPECT_EQ(Police_Options, Police_Defaut);

    // The largest of each kind, made by the program's own writer at its widest
    // (a full memory, every number at its longest), reads; each is below a
    // quarter of its bound.
    const auto lire_sans_refus = [&](const char* sorte, const QString& chemin, qint64 borne,
                                     const std::function<void()>& lire, const std::vector<QString>& attendus) {
        SCOPED_TRACE(sorte);
        EXPECT_LT(QFileInfo(chemin).size() * 4, borne);
        boites.Effacer();
        lire();
        EXPECT_EQ(boites.Textes(), attendus);
    };
    const auto voies_les_plus_larges = [] {
        for (size_t k = 0; k < 16; ++k) {
            Parametres_Voie& v = Tab_Parametres_Voies[k];
            v = Parametres_Voie{};
            v.Nom_Voie = QStringLiteral("Chambre n%1").arg(k + 10, 2);
            v.Voie_Valide = v.Alarme_Valide = v.Contact_NF = v.Relais_2 = v.Buzzer = Vrai;
            v.Periode_Enreg = v.Tempo_Alarme = v.Unite = 255;
            v.Nature_Capteur = 2;
            v.Num_ETOR_Inhib = v.Num_Planning_Inhib = 16;
            v.Seuil_Haut = v.Seuil_Bas = v.Offset = Large;
            v.Echelle_4mA = v.Echelle_20mA = 255;  // a byte in Exportation's reading
        }
    };
    voies_les_plus_larges();
    Donnees_Reponse.Entete_Module = QString(64, QLatin1Char('E'));
    Donnees_Reponse.Nb_Evenements = 2147483647;
    const Date jour = DateSerial(2026, 12, 31) + TimeSerial(23, 59, 0);
    Index_Fin_Voie.assign(16, 0);
    for (Long i = 0; i < Table_Mesures::Taille; ++i) {
        Mesure_Enreg& m = Tab_Mesures[i];
        m.Date_Heure = jour;
        m.Valeur = Large;
        m.Alarme = Vrai;
        m.Num_Voie = static_cast<Octet>(i * 16 / Table_Mesures::Taille + 1);
        Index_Fin_Voie[m.Num_Voie - 1u] = i + 1;
    }
    const QString plein = dossier_lectures.filePath("plein.txt");
    ASSERT_TRUE(Sauvegarde_Fichier_Donnees(plein, 1, 16));
    lire_sans_refus("recordings", plein, Taille_Max_Fichier_Enregistrements,
                    [&] { EXPECT_TRUE(Chargement_Fichier_Donnees(plein)); }, {});
    EXPECT_EQ(Index_Fin_Voie.back(), Table_Mesures::Taille);
    lire_sans_refus("Exportation", plein, Taille_Max_Fichier_Enregistrements,
                    [&] { exportation.Importer_Enregistrements(plein); }, {});
    EXPECT_EQ(boites.Dialogues.size(), 1u) << "the export file is asked for (and the dialog cancelled)";

    // A first-version file: its head, then the whole table of the longest data lines.
    QStringList tete{QStringLiteral("* NOMS DES VOIES")};
    for (int k = 1; k <= 16; ++k) tete << QStringLiteral("Chambre n%1").arg(k, 2);
    for (int s = 0; s < 18; ++s) {
        tete << QStringLiteral("* REGLAGE %1").arg(s + 1);
        for (int k = 0; k < 16; ++k) tete << QStringLiteral("255");
    }
    tete[17] = Separateur_Voie_Valide;
    tete << "* ENTETE" << QString(64, QLatin1Char('E')) << "* NOMBRE" << QString::number(Table_Mesures::Taille)
         << "* EVENEMENTS" << "2147483647";
    QByteArray ancien = Contenu(tete);
    for (Long i = 0; i < Nb_Points_Max_Conversion; ++i)
        ancien += QByteArray::number(i % 16 + 1).rightJustified(2) + " 31/12/2026 23:59 -99999,9 1 \r\n";
    const QString ancien_fichier = dossier_lectures.filePath("ancien.txt"),
                  converti = dossier_lectures.filePath("converti.txt");
    Ecrire(ancien_fichier, ancien);
    lire_sans_refus("Conversion", ancien_fichier, Taille_Max_Ancien_Fichier,
                    [&] {
                        boites.Fichiers = {converti};
                        conversion.Importer_Enregistrements(ancien_fichier);
                    },
                    {QStringLiteral("Sauvegarde terminée!")});
    EXPECT_EQ(conversion.NB_Voie, 16);
    // What Conversion writes of it, as Ostrel reads it.
    lire_sans_refus("converted", converti, Taille_Max_Fichier_Enregistrements,
                    [&] { EXPECT_TRUE(Chargement_Fichier_Donnees(converti)); }, {});

    voies_les_plus_larges();
    for (Parametres_Voie& v : Tab_Parametres_Voies) v.Echelle_4mA = v.Echelle_20mA = Large;
    const QString voies = dossier_lectures.filePath("voies.txt");
    ASSERT_TRUE(Sauvegarde_Config_Voies(voies, 16));
    lire_sans_refus("channels", voies, Taille_Max_Config_Voies, [&] { Restauration_Config_Voies(voies, 16); },
                    {QStringLiteral("Restauration terminée!")});

    Num_Module = 32;
    Parametres_Module& module = Tab_Parametres_Modules[31];
    module.Entete = QString(64, QLatin1Char('E'));
    for (auto& planning : module.Planning) planning.fill(TimeSerial(23, 59, 59));
    codes.fill(QStringLiteral("9999"));
    noms.fill(QString(16, QLatin1Char('N')));
    const QString module_fichier = dossier_lectures.filePath("module.txt");
    ASSERT_TRUE(Sauvegarde_Config_Module(module_fichier, codes, noms));
    lire_sans_refus("module", module_fichier, Taille_Max_Config_Module,
                    [&] { Restauration_Config_Module(module_fichier, codes, noms, caption); },
                    {QStringLiteral("Restauration terminée!")});

    // The most entries the journal screen keeps, each at its longest (a
    // module's name as the list fills it, quoted for its comma).
    std::vector<Evenement_Journal> entrees(Nb_Max_Entrees_Journal);
    for (Evenement_Journal& e : entrees) e = {jour + TimeSerial(0, 0, 59), 4, 255, 255, QStringLiteral("Chambre, n12   ")};
    Table_Noms_Operateurs operateurs;
    operateurs.fill(QString(21, QLatin1Char('O')));
    const QString journal_fichier = dossier_lectures.filePath("journal.txt");
    Ecrire(journal_fichier,
           Contenu_Fichier_Journal(QString(64, QLatin1Char('E')), operateurs, entrees, Nb_Max_Entrees_Journal));
    lire_sans_refus("journal", journal_fichier, Taille_Max_Fichier_Journal,
                    [&] { EXPECT_TRUE(journal->Ouvrir_Journal(journal_fichier)); }, {});
    EXPECT_EQ(Donnees_Reponse.Nb_Evenements, Nb_Max_Entrees_Journal);

    Chemin_Fichier_Version = dossier_lectures.filePath("ver.dva");
    Ligne_Reservee_Options = QString(200, QLatin1Char('R'));
    Police_Options = QString(64, QLatin1Char('P'));
    ASSERT_TRUE(Sauvegarde_Parametres_Logiciel());
    Police_Options = Police_Defaut;
    lire_sans_refus("options", Chemin_Fichier_Version, Taille_Max_Options, [] { Chargement_Parametres_Logiciel(); }, {});
    EXPECT_EQ(Police_Options, QString(64, QLatin1Char('P')));
    Police_Options = Police_Defaut;

    // A site's own photograph as its home picture.
    QImage photo(3000, 2000, QImage::Format_RGB888);
    photo.fill(Qt::darkGreen);
    ASSERT_TRUE(photo.save(accueil, "BMP"));
    lire_sans_refus("home picture", accueil, 256 * Mo,
                    [&] { Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux); }, {});
    auto* accueil_image = registre.Instance(QStringLiteral("Frm_Accueil"))->findChild<QLabel*>("Picture_accueil");
    ASSERT_NE(accueil_image, nullptr);
    EXPECT_TRUE(accueil_image->isVisible());
}
