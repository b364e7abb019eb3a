// The viewer's printouts through the recording printer: the numeric table
// line by line, and the curves as pictures of the screen laid out as a page,
// with the screen given back as it was.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "banc_enregistrements.h"
#include "commun/delais_test.h"
#include "commun/impression_test.h"
#include "commun/serveur_impression.h"
#include "files/impression.h"
#include "history/journal_alarmes.h"
#include "platform/ligne_items.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/imprimante_qt.h"

using namespace ostrel;
using namespace ostrel::test;
using ostrel_test::Lire;
using ostrel_test::Pages_Pdf;

namespace {

const QString Envoyee = QStringLiteral("Impression envoyée à l'imprimante");
const QString Marge(28, QLatin1Char(' '));

class Impressions_Enreg : public Banc_Enregistrements {
protected:
    // One channel of n points, a minute apart from 09/03/2027 00:00, values 0.0, 0.1, ...
    Frm_Enreg_Forme* Ouvrir_Points(int n, Simple premiere = 0) {
        if (!Demarrer(false)) return nullptr;
        std::vector<Point_Fichier> points;
        for (int k = 0; k < n; ++k) points.push_back({9, k / 60, k % 60, k == 0 ? premiere : static_cast<Simple>(k) / 10});
        Frm_Enreg_Forme* v = Ouvrir_Fichier(Fichier_Enregistrements("t.txt", 1, {points}, {"Frigo       "}));
        if (v) v->Check_Voie[0]->setChecked(true);
        // Another module is the current one: the file's recordings are not its own.
        Tab_Parametres_Modules[Num_Module - 1].Entete = QStringLiteral("Module courant");
        boites.Effacer();
        return v;
    }
    // The header names the module of the file printed.
    QString En_Tete() const {
        return Marge + "Velsa SA - " + Tableau()->Lbl_Nom_Logiciel() + " - " + Tableau()->Lbl_Info_Client() +
               " - Serre du nord";
    }
    // Pixels of a colour, in a part of a picture (fractions of its size).
    static int Pixels(const QImage& image, QColor couleur, QRectF part = {0, 0, 1, 1}) {
        int n = 0;
        const QRect r(qRound(part.x() * image.width()), qRound(part.y() * image.height()), qRound(part.width() * image.width()),
                      qRound(part.height() * image.height()));
        for (int y = r.top(); y <= r.bottom() && y < image.height(); y += 1)
            for (int x = r.left(); x <= r.right() && x < image.width(); ++x)
                if (image.pixelColor(x, y) == couleur) ++n;
        return n;
    }
};

TEST_F(Impressions_Enreg, TableauSurDeuxPages) {
    Frm_Enreg_Forme* v = Ouvrir_Points(157);
    ASSERT_NE(v, nullptr);
    boites.Reponses = {vbOK};
    v->Cmd_Imprimer_Tableau_Click();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"Imprimer le tableau numérique ?", Envoyee}));
    EXPECT_EQ(boites.Messages[0].Style, vbOKCancel);
    EXPECT_EQ(boites.Messages[0].Titre, QStringLiteral("Impression"));
    EXPECT_EQ(boites.Messages[1].Style, vbOKOnly);
    // One print job per page.
    ASSERT_EQ(imprimante.Documents_Termines, 2);
    const std::vector<QString> p1 = imprimante.Textes(1), p2 = imprimante.Textes(2);
    ASSERT_EQ(p1.size(), 60u);
    ASSERT_EQ(p2.size(), 60u);
    EXPECT_EQ(p1[0], En_Tete());
    EXPECT_EQ(p1[1], QString());
    EXPECT_EQ(p1[2], Marge + "Tableau des données numériques du 09/03/2027 00:00 au 09/03/2027 02:36 sur la voie n°1 : Frigo       ");
    const QString tete = QStringLiteral("Date/Heure         Mesure");
    EXPECT_EQ(p1[4], Marge + tete + QString(17, ' ') + tete + QString(17, ' ') + tete);
    // Row 0: points 0, 52 and 104, columns at 28, 70 and 112.
    EXPECT_EQ(p1[6], Marge + QStringLiteral("09/03/2027 00:00    0       ...   ").leftJustified(42) +
                         QStringLiteral("09/03/2027 00:52    5,2       ...   ").leftJustified(42) +
                         QStringLiteral("09/03/2027 01:44    10,4       ...   "));
    EXPECT_EQ(p1[57].mid(112, 16), QStringLiteral("09/03/2027 02:35"));
    EXPECT_EQ(p1[58], QString());
    EXPECT_EQ(p1[59], Marge + "Page n°1/2");
    // The same title dates on every page; page 2: one column, one point, 51 empty rows.
    EXPECT_EQ(p2[2], p1[2]);
    EXPECT_EQ(p2[4].trimmed(), tete);
    EXPECT_EQ(p2[6].left(28), Marge);
    EXPECT_EQ(p2[6].trimmed(), QStringLiteral("09/03/2027 02:36    15,6       ..."));
    for (int r = 7; r < 58; ++r) EXPECT_TRUE(p2[static_cast<size_t>(r)].trimmed().isEmpty()) << r;
    EXPECT_EQ(p2[59], Marge + "Page n°2/2");
    for (const auto& l : imprimante.Lignes) {
        EXPECT_EQ(l.Police, QStringLiteral("Courier New"));
        EXPECT_EQ(l.Taille, 8);
        EXPECT_EQ(l.Orientation, vbPRORLandscape);
    }
    EXPECT_FALSE(registre.Est_Chargee("Frm_Patientez"));
}

TEST_F(Impressions_Enreg, TableauxCourts) {
    Frm_Enreg_Forme* v = Ouvrir_Points(60, Valeur_Inhibee);
    ASSERT_NE(v, nullptr);
    // 53 points: two columns, the second holding one point; the short cell keeps the columns.
    v->Msk_Date_Debut->setText("09/03/2027 00:00");
    v->Msk_Date_Fin->setText("09/03/2027 00:52");
    boites.Reponses = {vbOK};
    v->Cmd_Imprimer_Tableau_Click();
    ASSERT_EQ(imprimante.Documents_Termines, 1);
    std::vector<QString> p = imprimante.Textes(1);
    EXPECT_EQ(p[6].left(70), Marge + QStringLiteral("09/03/2027 00:00 Inhibé").leftJustified(42));
    EXPECT_EQ(p[6].mid(70).trimmed(), QStringLiteral("09/03/2027 00:52    5,2       ..."));
    EXPECT_EQ(p[7].trimmed(), QStringLiteral("09/03/2027 00:01    0,1       ...   ").trimmed());
    EXPECT_EQ(p[59], Marge + "Page n°1/1");

    // One point alone in the period is printed.
    imprimante.Effacer();
    boites.Effacer();
    v->Msk_Date_Debut->setText("09/03/2027 00:30");
    v->Msk_Date_Fin->setText("09/03/2027 00:30");
    boites.Reponses = {vbOK};
    v->Cmd_Imprimer_Tableau_Click();
    ASSERT_EQ(imprimante.Documents_Termines, 1);
    p = imprimante.Textes(1);
    EXPECT_TRUE(p[2].contains("du 09/03/2027 00:30 au 09/03/2027 00:30"));
    EXPECT_EQ(p[6].trimmed(), QStringLiteral("09/03/2027 00:30    3       ...   ").trimmed());
    EXPECT_TRUE(p[7].trimmed().isEmpty());

    // No point in the period: nothing printed, nothing said.
    imprimante.Effacer();
    boites.Effacer();
    v->Msk_Date_Debut->setText("08/03/2027 00:00");
    v->Msk_Date_Fin->setText("08/03/2027 23:00");
    boites.Reponses = {vbOK};
    v->Cmd_Imprimer_Tableau_Click();
    EXPECT_EQ(imprimante.Documents_Termines, 0);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Imprimer le tableau numérique ?"});
    EXPECT_FALSE(registre.Est_Chargee("Frm_Patientez"));

    // Cancel: nothing.
    boites.Effacer();
    boites.Reponses = {vbCancel};
    v->Cmd_Imprimer_Tableau_Click();
    EXPECT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(imprimante.Lignes.empty());
}

TEST_F(Impressions_Enreg, ImprimanteEnDefautPendantLeTableau) {
    Frm_Enreg_Forme* v = Ouvrir_Points(157);
    ASSERT_NE(v, nullptr);
    imprimante.Echec_Prochain_Document = QStringLiteral("bac vide");
    boites.Reponses = {vbOK};
    v->Cmd_Imprimer_Tableau_Click();
    // The first page failed: said, the rest not printed, no "sent".
    ASSERT_EQ(boites.Messages.size(), 2u);
    EXPECT_TRUE(boites.Messages[1].Texte.startsWith("L'impression a échoué")) << boites.Messages[1].Texte.toStdString();
    EXPECT_TRUE(boites.Messages[1].Texte.contains("bac vide"));
    EXPECT_EQ(imprimante.Documents_Termines, 0);
    EXPECT_TRUE(imprimante.Lignes.empty());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Patientez"));
}

class Courbes : public Impressions_Enreg {
protected:
    // The system printer, with something done to the queue before a document
    // is handed over (after the earlier ones), or after it is.
    struct Imprimante_Epiee : Imprimante_Qt {
        using Imprimante_Qt::Imprimante_Qt;
        using Imprimante_Qt::Print;
        std::function<void(int)> avant, apres;
        int documents = 0, envois = 0;
        std::vector<std::vector<QString>> textes;  // the lines of each document, as composed
        void Print(const std::vector<Item>& items) override {
            textes.resize(std::max(textes.size(), static_cast<size_t>(documents) + 1));
            textes[static_cast<size_t>(documents)].push_back(Composer_Ligne(items));
            Imprimante_Qt::Print(items);
        }
        Resultat_Impression EndDoc() override {
            ++documents;
            return Imprimante_Qt::EndDoc();
        }
        QString Envoyer_Document(const QByteArray& pdf) override {
            ++envois;
            if (avant) avant(envois);
            const QString refus = Imprimante_Qt::Envoyer_Document(pdf);
            if (apres) apres(envois);
            return refus;
        }
    };
    // The numeric table of the ticked channels printed on `systeme`: the boxes it showed.
    std::vector<QString> Imprimer_Tableau(Frm_Enreg_Forme* v, Imprimante_Epiee& systeme, std::function<void(int)> avant,
                                          std::function<void(int)> apres) {
        boites.Effacer();
        boites.Reponses = {vbOK};
        systeme.documents = systeme.envois = 0;
        systeme.textes.clear();
        systeme.avant = std::move(avant);
        systeme.apres = std::move(apres);
        v->Cmd_Imprimer_Tableau_Click();
        return boites.Textes();
    }

    // Three channels in pure red, green and blue.
    Frm_Enreg_Forme* Ouvrir_Trois() {
        if (!Demarrer(false)) return nullptr;
        Tab_Couleur_Courbe[0] = 0x0000FF;
        Tab_Couleur_Courbe[1] = 0x00FF00;
        Tab_Couleur_Courbe[2] = 0xFF0000;
        std::vector<std::vector<Point_Fichier>> voies(3);
        for (int k = 0; k < 600; ++k)
            for (int v = 0; v < 3; ++v) voies[static_cast<size_t>(v)].push_back({9, k / 60, k % 60, static_cast<Simple>(10 * v + (k % 50) / 5.0)});
        Frm_Enreg_Forme* v = Ouvrir_Fichier(Fichier_Enregistrements("c.txt", 3, voies, {"Froid       ", "Chaud       ", "Tiede       "}));
        boites.Effacer();
        return v;
    }
    struct Etat {
        QRect geometrie;
        Couleur fond, zone, axe_x;
        QString caption;
        std::vector<bool> visibles;
    };
    static Etat Etat_De(Frm_Enreg_Forme* v) {
        Etat e{v->geometry(), Couleur_Fond(v), v->CWGraph_Enreg->Couleur_Zone_Trace(), v->CWGraph_Enreg->Couleur_Axe(1),
               v->CWGraph_Enreg->Caption(), {}};
        for (int k = 1; k <= Graphe_Enreg::Nb_Traces; ++k) e.visibles.push_back(v->CWGraph_Enreg->Visible(k));
        return e;
    }
    void Verifier_Rendu(Frm_Enreg_Forme* v, const Etat& avant) {
        const Etat apres = Etat_De(v);
        EXPECT_EQ(apres.geometrie, avant.geometrie);
        EXPECT_EQ(apres.fond, avant.fond);
        EXPECT_EQ(apres.zone, avant.zone);
        EXPECT_EQ(apres.axe_x, avant.axe_x);
        EXPECT_EQ(apres.caption, avant.caption);
        EXPECT_EQ(apres.visibles, avant.visibles);
        for (int i = 0; i < v->Nb_Voies_Enreg; ++i) EXPECT_FALSE(v->Check_Voie[static_cast<size_t>(i)]->isHidden());
        for (QWidget* w : {static_cast<QWidget*>(v->Cmd_Quitter), static_cast<QWidget*>(v->Msk_Date_Debut),
                           static_cast<QWidget*>(v->Cmb_Choix_Voies), static_cast<QWidget*>(v->Lbl_Coordonnee_Curseur)})
            EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
        EXPECT_EQ(v->CWGraph_Enreg->x(), qRound(0.02 * v->width()));
        EXPECT_EQ(v->Lbl_Legende.size(), 1u);
        EXPECT_TRUE(v->Lbl_Legende[0]->isHidden());
        EXPECT_EQ(Tableau()->Lbl_PatientezSVP(), QStringLiteral("Patientez SVP ..."));
    }
};

TEST_F(Courbes, UneVoieUnePageSansQuestion) {
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    v->Check_Voie[0]->setChecked(true);
    v->Check_Option_Seuil->setChecked(true);
    const Etat avant = Etat_De(v);
    const long long seuils = v->CWGraph_Enreg->Nb_Points(17);
    v->Cmd_Imprimer->click();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Envoyee});
    ASSERT_EQ(imprimante.Images.size(), 1u);
    EXPECT_EQ(imprimante.Documents_Termines, 1);
    const auto& page = imprimante.Images[0];
    EXPECT_EQ(page.Orientation, vbPRORLandscape);
    const Zone_Imprimable_Page z = Zone_A4(vbPRORLandscape);
    EXPECT_EQ(page.Image.size(), QSize(2 * Twips_Vers_Pixels(z.Largeur), 2 * Twips_Vers_Pixels(z.Hauteur)));
    // White page, the red curve and its dashed low threshold; no other curve.
    EXPECT_EQ(page.Image.pixelColor(3, 3), QColor(Qt::white));
    EXPECT_GT(Pixels(page.Image, QColor(255, 0, 0)), 200);
    EXPECT_EQ(Pixels(page.Image, QColor(0, 255, 0)), 0);
    EXPECT_GT(Pixels(page.Image, Vers_QColor(0xFFB050)), 50);  // the low threshold, 5
    Verifier_Rendu(v, avant);
    // The threshold lines of the screen are there again.
    EXPECT_EQ(v->CWGraph_Enreg->Nb_Points(17), seuils);
    EXPECT_TRUE(v->CWGraph_Enreg->Visible(17));
}

TEST_F(Courbes, UnePageParVoie) {
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    for (int i = 0; i < 3; ++i) v->Check_Voie[static_cast<size_t>(i)]->setChecked(true);
    const Etat avant = Etat_De(v);
    boites.Reponses = {vbNo};
    v->Cmd_Imprimer->click();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"Imprimer toutes les courbes sur la même page ?", Envoyee}));
    EXPECT_EQ(boites.Messages[0].Style, vbYesNoCancel);
    EXPECT_EQ(boites.Messages[0].Titre, QStringLiteral("Impression"));
    ASSERT_EQ(imprimante.Images.size(), 3u);
    EXPECT_EQ(imprimante.Documents_Termines, 3);
    // Each page its own curve only.
    const QColor couleurs[3] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
    for (int p = 0; p < 3; ++p)
        for (int c = 0; c < 3; ++c) {
            const int n = Pixels(imprimante.Images[static_cast<size_t>(p)].Image, couleurs[c]);
            if (p == c) EXPECT_GT(n, 200) << p;
            else EXPECT_EQ(n, 0) << p << " " << c;
        }
    Verifier_Rendu(v, avant);
}

TEST_F(Courbes, ToutesSurLaMemePageAvecLaLegende) {
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    // Channel 1 not ticked: the legend starts on its second row.
    v->Check_Voie[1]->setChecked(true);
    v->Check_Voie[2]->setChecked(true);
    const Etat avant = Etat_De(v);
    boites.Reponses = {vbYes};
    v->Cmd_Imprimer->click();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"Imprimer toutes les courbes sur la même page ?", Envoyee}));
    ASSERT_EQ(imprimante.Images.size(), 1u);
    const QImage& image = imprimante.Images[0].Image;
    EXPECT_GT(Pixels(image, QColor(0, 255, 0)), 200);
    EXPECT_GT(Pixels(image, QColor(0, 0, 255)), 200);
    // The legend right of the graph, in the curves' colours, row 0 empty.
    EXPECT_EQ(Pixels(image, QColor(0, 255, 0), {0.9, 0.10, 0.1, 0.045}), 0);
    EXPECT_GT(Pixels(image, QColor(0, 255, 0), {0.9, 0.15, 0.1, 0.045}), 5);
    EXPECT_GT(Pixels(image, QColor(0, 0, 255), {0.9, 0.20, 0.1, 0.045}), 5);
    Verifier_Rendu(v, avant);

    // Cancel: no page, the notice given back all the same.
    imprimante.Effacer();
    boites.Effacer();
    boites.Reponses = {vbCancel};
    v->Cmd_Imprimer->click();
    EXPECT_TRUE(imprimante.Images.empty());
    EXPECT_EQ(boites.Messages.size(), 1u);
    Verifier_Rendu(v, avant);
    // Nothing ticked: nothing, not even a question.
    v->Check_Voie[1]->setChecked(false);
    v->Check_Voie[2]->setChecked(false);
    boites.Effacer();
    v->Cmd_Imprimer->click();
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(Courbes, SansImprimanteChaqueImpressionEstUnSeulPdfNommeParLeMessage) {
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    QTemporaryDir dossier;
    Imprimante_Qt pdf([&dossier] { return dossier.path(); });
    pdf.Forcer_Pdf(true);
    Definir_Imprimante(&pdf);
    const QDir d(dossier.path());
    const QString tableau = d.filePath("Impression_2027-03-10_14-00-00.pdf");
    const QString courbes = d.filePath("Impression_2027-03-10_14-00-00_2.pdf");
    // The table of two channels of 600 points, four pages each: one file, told once.
    v->Check_Voie[0]->setChecked(true);
    v->Check_Voie[1]->setChecked(true);
    boites.Reponses = {vbOK};
    v->Cmd_Imprimer_Tableau_Click();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"Imprimer le tableau numérique ?",
                                                     "Impression enregistrée dans le fichier :\n" + tableau}));
    EXPECT_EQ(Pages_Pdf(Lire(tableau)).size(), 8);
    // A page per curve: one file too.
    boites.Effacer();
    boites.Reponses = {vbNo};
    v->Cmd_Imprimer->click();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"Imprimer toutes les courbes sur la même page ?",
                                                     "Impression enregistrée dans le fichier :\n" + courbes}));
    EXPECT_EQ(Pages_Pdf(Lire(courbes)).size(), 2);
    EXPECT_EQ(d.entryList(QDir::Files | QDir::Hidden), (QStringList{QFileInfo(tableau).fileName(), QFileInfo(courbes).fileName()}));

    // A file that cannot be written once its pages are all there: the failure is told, not a success.
    struct Disque_Plein : Imprimante_Qt {
        using Imprimante_Qt::Imprimante_Qt;
        Resultat_Impression Fin_Impression() override {
            Imprimante_Qt::Fin_Impression();
            Resultat_Impression r;
            r.Erreur = QStringLiteral("disque plein");
            return r;
        }
    } plein([&dossier] { return dossier.path(); });
    plein.Forcer_Pdf(true);
    Definir_Imprimante(&plein);
    for (const bool table : {true, false}) {
        boites.Effacer();
        boites.Reponses = {table ? vbOK : vbNo};
        if (table) v->Cmd_Imprimer_Tableau_Click();
        else v->Cmd_Imprimer->click();
        ASSERT_EQ(boites.Messages.size(), 2u) << table;
        EXPECT_TRUE(boites.Messages[1].Texte.startsWith("L'impression a échoué")) << table;
        EXPECT_TRUE(boites.Messages[1].Texte.contains("disque plein")) << table;
    }
    Definir_Imprimante(&imprimante);
}

// A real print queue: the table's pages are jobs it takes, and a queue that
// refuses them or a server that goes away is a failure that tells what the
// queue had already taken.
TEST_F(Courbes, UneFileDImpressionQuiRefuseOuDisparaitEstUnEchecQuiLeDit) {
    ostrel_test::Serveur_Impression serveur;
    if (!serveur.Demarrer()) return;
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    Imprimante_Epiee systeme([] { return QString(); });
    Definir_Imprimante(&systeme);
    v->Check_Voie[0]->setChecked(true);
    v->Check_Voie[1]->setChecked(true);
    auto imprimer = [&](std::function<void(int)> avant, std::function<void(int)> apres) {
        return Imprimer_Tableau(v, systeme, std::move(avant), std::move(apres));
    };
    // Taken: a job per page, each a PDF document of its page, the printout told once.
    EXPECT_EQ(imprimer({}, {}), (std::vector<QString>{"Imprimer le tableau numérique ?", Envoyee}));
    ASSERT_EQ(serveur.Documents().size(), 8u);
    for (const QByteArray& d : serveur.Documents()) EXPECT_EQ(Pages_Pdf(d).size(), 1);

    const QString Refus = QStringLiteral("(l'imprimante ostrel refuse les impressions : plus de papier)");
    serveur.Refuser("plus de papier");
    EXPECT_EQ(imprimer({}, {}), (std::vector<QString>{"Imprimer le tableau numérique ?",
                                                      "L'impression a échoué, rien n'a été envoyé à l'imprimante.\n" + Refus}));
    // Refused while its third page is handed over.
    serveur.Accepter();
    EXPECT_EQ(imprimer([&](int n) { if (n == 3) serveur.Refuser("plus de papier"); }, {}),
              (std::vector<QString>{"Imprimer le tableau numérique ?",
                                    "L'impression a échoué : seules les 2 premières pages ont été envoyées à l'imprimante.\n" + Refus}));
    // The server gone once its first page is taken.
    serveur.Accepter();
    EXPECT_EQ(imprimer({}, [&](int n) { if (n == 1) serveur.Arreter(); }),
              (std::vector<QString>{"Imprimer le tableau numérique ?",
                                    "L'impression a échoué : seule la première page a été envoyée à l'imprimante.\n"
                                    "(le service d'impression ne répond pas)"}));
    EXPECT_EQ(serveur.Documents().size(), 11u);
    Definir_Imprimante(&imprimante);
}

// Each printout goes to the queue that is the default when it starts (a PDF
// file when no print server answers) and counts its own pages only, whatever
// the printout before it: a document printed on its own, as the journal or a
// report is, then the curve of a channel, a printout of its own.
TEST_F(Courbes, ChaqueImpressionVaALaFileDeSonDebutEtNeCompteQueSesPages) {
    ostrel_test::Serveur_Impression serveur;
    if (!serveur.Demarrer()) return;
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    QTemporaryDir dossier;
    Imprimante_Qt systeme([&dossier] { return dossier.path(); });
    Definir_Imprimante(&systeme);
    v->Check_Voie[0]->setChecked(true);
    auto seul = [&] {
        systeme.Print("Journal");
        return systeme.EndDoc();
    };
    auto courbe = [&] {
        boites.Effacer();
        v->Cmd_Imprimer->click();
        return boites.Textes();
    };

    // The queue refuses jobs after a document went: the curve sent nothing.
    ASSERT_TRUE(seul());
    serveur.Refuser("plus de papier");
    EXPECT_EQ(courbe(), std::vector<QString>{"L'impression a échoué, rien n'a été envoyé à l'imprimante.\n"
                                             "(l'imprimante ostrel refuse les impressions : plus de papier)"});
    serveur.Accepter();

    // A document while no print server answers is a PDF file; the curve after
    // it, the server back, goes to the queue.
    ostrel_test::Delais_Courts();
    serveur.Suspendre();
    const Resultat_Impression pdf = seul();
    serveur.Reprendre();
    ostrel_test::Delais_Reels();
    EXPECT_TRUE(pdf) << pdf.Erreur.toStdString();
    EXPECT_FALSE(pdf.Fichier_Pdf.isEmpty());
    const size_t pris = serveur.Documents().size();
    EXPECT_EQ(courbe(), std::vector<QString>{Envoyee});
    EXPECT_EQ(serveur.Documents().size(), pris + 1);

    // The queue a document went to deleted, another made the default: the curve goes there.
    ASSERT_TRUE(seul());
    ASSERT_TRUE(serveur.Ajouter_File("autre"));
    serveur.Definir_Defaut("autre");
    serveur.Supprimer_File(ostrel_test::Serveur_Impression::File);
    const size_t avant = serveur.Documents().size();
    EXPECT_EQ(courbe(), std::vector<QString>{Envoyee});
    EXPECT_EQ(serveur.Documents().size(), avant + 1);
    Definir_Imprimante(&imprimante);
}

// A queue whose printer cannot print within 20 mm of the sides and 25 mm of
// the bottom of a sheet: each page of a printout is one sheet. The table's
// columns hold the rows the printable page has room for, with its footer; on
// a sheet printed nearly to its edges they keep their 52 rows.
TEST_F(Courbes, SurUneFileAuxBordsLargesChaquePageEstUneFeuille) {
    ostrel_test::Serveur_Impression serveur;
    if (!serveur.Demarrer()) return;
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    Imprimante_Epiee systeme([] { return QString(); });
    Definir_Imprimante(&systeme);
    v->Check_Voie[0]->setChecked(true);
    static const QRegularExpression date(QStringLiteral("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d"));
    // The table's pages, each sent on one sheet with its footer last: the rows of its columns.
    const auto tableau = [&] {
        const size_t avant = serveur.Documents().size();
        EXPECT_EQ(Imprimer_Tableau(v, systeme, {}, {}), (std::vector<QString>{"Imprimer le tableau numérique ?", Envoyee}));
        const std::vector<QByteArray> documents = serveur.Documents();
        const size_t pages = documents.size() - avant;
        if (systeme.textes.size() != pages || systeme.textes[0].size() < 9) {
            ADD_FAILURE() << pages << " pages sent, " << systeme.textes.size() << " drawn";
            return 0;
        }
        const int rangs = static_cast<int>(systeme.textes[0].size()) - 8;
        EXPECT_EQ(pages, static_cast<size_t>(599 / (3 * rangs) + 1));
        int points = 0;
        for (size_t n = 0; n < pages; ++n) {
            EXPECT_EQ(Pages_Pdf(documents[avant + n]), QStringList{"842 595"}) << "page " << n + 1;
            const std::vector<QString>& lignes = systeme.textes[n];
            EXPECT_EQ(lignes.size(), systeme.textes[0].size());
            EXPECT_EQ(lignes.back(), Marge + QStringLiteral("Page n°%1/%2").arg(n + 1).arg(pages));
            for (size_t r = 6; r + 2 < lignes.size(); ++r) points += static_cast<int>(lignes[r].count(date));
        }
        EXPECT_EQ(points, 600);
        EXPECT_TRUE(systeme.textes[0][6].startsWith(Marge + QStringLiteral("09/03/2027 00:00")));
        return rangs;
    };
    EXPECT_EQ(tableau(), 52);

    ASSERT_TRUE(serveur.Bords_Non_Imprimables(ostrel_test::Serveur_Impression::File, QMarginsF(20, 20, 20, 25)));
    // The landscape page is 170 mm high where it was 198.
    const int rangs = tableau();
    EXPECT_LT(rangs, 52);
    EXPECT_GE(rangs, 40);

    // The curves, a page per channel or all on one page: a sheet each.
    v->Check_Voie[1]->setChecked(true);
    for (const int reponse : {vbNo, vbYes}) {
        const size_t avant = serveur.Documents().size();
        boites.Effacer();
        boites.Reponses = {reponse};
        v->Cmd_Imprimer->click();
        const std::vector<QByteArray> documents = serveur.Documents();
        ASSERT_EQ(documents.size(), avant + (reponse == vbNo ? 2 : 1));
        for (size_t n = avant; n < documents.size(); ++n) EXPECT_EQ(Pages_Pdf(documents[n]), QStringList{"842 595"});
    }

    // A document printed on its own, as the journal or a report is: its pages
    // roll over by themselves, as many lines on each as the printer tells,
    // and a sheet turned between pages has the borders it has as it lies.
    systeme.FontSize(10);
    std::map<int, int> lignes;
    for (const int orientation : {vbPRORLandscape, vbPRORPortrait}) {
        systeme.Orientation(orientation);
        lignes[orientation] = systeme.Lignes_Par_Page().value_or(0);
        ASSERT_GT(lignes[orientation], 20);
        for (const int n : {lignes[orientation], lignes[orientation] + 1, 2 * lignes[orientation]}) {
            for (int i = 0; i < n; ++i) systeme.Print("Ligne " + QString::number(i + 1));
            ASSERT_TRUE(systeme.EndDoc());
            EXPECT_EQ(Pages_Pdf(serveur.Documents().back()).size(), (n + lignes[orientation] - 1) / lignes[orientation])
                << orientation << " " << n;
        }
    }
    for (const int orientation : {vbPRORPortrait, vbPRORLandscape}) {
        if (orientation == vbPRORLandscape) {
            systeme.Orientation(orientation);
            systeme.NewPage();
        }
        for (int i = 0; i < lignes[orientation]; ++i) systeme.Print("Ligne " + QString::number(i + 1));
    }
    ASSERT_TRUE(systeme.EndDoc());
    EXPECT_EQ(Pages_Pdf(serveur.Documents().back()), (QStringList{"595 842", "842 595"}));
    Definir_Imprimante(&imprimante);
}

// Each printout of words, on a sheet printed nearly to its edges, then on a
// queue whose printer leaves 20 mm of the sides of a sheet, 15 of its top and
// 30 of its foot: every word lies within the printable area of its page, and
// the printout has the same words on both. A printout keeps one size of print: the journal's
// pages between its rules are as small as the pages its rules made smaller, and the pages
// before a line too wide on the third page alone, of its document or of the printout, are as
// small as that page.
TEST_F(Courbes, SurUneFileAuxBordsLargesChaqueMotEstDansLaZoneImprimable) {
    if (!ostrel_test::Lecteur_Pdf_Present()) GTEST_SKIP() << "pdftotext n'est pas installé";
    ostrel_test::Serveur_Impression serveur;
    if (!serveur.Demarrer()) return;
    ASSERT_NE(Demarrer(false), nullptr);
    // 105 points in alarm: three columns of the table, however many rows a page holds.
    std::vector<Point_Fichier> points;
    for (int k = 0; k < 105; ++k) points.push_back({9, k / 60, k % 60, 12.5f, true});
    Frm_Enreg_Forme* v = Ouvrir_Fichier(Fichier_Enregistrements("t.txt", 1, {points}, {"Frigo       "}));
    ASSERT_NE(v, nullptr);
    v->Check_Voie[0]->setChecked(true);
    Num_Module = 2;
    Nb_Voies_Module[1] = 16;
    QStringList journal;
    for (int k = 0; k < 100; ++k)
        journal << QStringLiteral("10/03/2027 %1:%2:00").arg(12 + k / 60).arg(k % 60, 2, 10, QLatin1Char('0')).leftJustified(22) +
                       QStringLiteral("Voie 3").leftJustified(10) + QStringLiteral("Froid").leftJustified(15) +
                       QStringLiteral("Alarme haute non acquittée").leftJustified(32) + QStringLiteral("DUPONT").leftJustified(21);
    Imprimante_Qt systeme([] { return QString(); });
    Definir_Imprimante(&systeme);
    // Four pages of short lines, one too wide for a portrait sheet on the third; the last two
    // in a document of their own when there are two.
    const auto trop_large = [](bool deux_documents) {
        Imprimante& p = Printer();
        if (deux_documents) p.Debut_Impression();
        p.Orientation(vbPRORPortrait);
        p.FontName(QStringLiteral("Courier New"));
        p.FontSize(10);
        for (int page = 1; page <= 4; ++page) {
            if (page == 3 && deux_documents) p.EndDoc();
            else if (page > 1) p.NewPage();
            for (int i = 1; i <= 20; ++i) p.Print(QStringLiteral("page %1 ligne %2").arg(page).arg(i));
            if (page == 3) p.Print(QString(120, QLatin1Char('=')));
        }
        p.EndDoc();
        if (deux_documents) p.Fin_Impression();
    };
    const std::vector<std::function<void()>> impressions = {
        [] { Imprimer_Parametres_Voies(16); },
        [] { Imprimer_Parametres_Module({"0042", "1234", "9999", "0000"}, {"DUPONT", "MARTIN", "Nuit", "Jour"}); },
        [] { Imprimer_Mesures_Instantanees(); },
        [&] { Imprimer_Lignes_Journal(QStringLiteral("Serre du nord"), journal); },
        [&] {
            boites.Reponses = {vbOK};
            v->Cmd_Imprimer_Tableau_Click();
        },
        [] {  // the sheet turned within a document: each page fits its own
            Page_Rapport_109_Colonnes();
            Printer().Print(QString(109, QLatin1Char('=')));
            Printer().Orientation(vbPRORLandscape);
            Printer().NewPage();
            Printer().Print(QStringLiteral("Paysage"));
            Printer().EndDoc();
        },
        [&] { trop_large(false); },
        [&] { trop_large(true); }};
    // The words of each printout, sorted; those out of the printable area (in mm, give or take
    // half a point of the reader's measure of the glyphs) fail.
    const auto mots = [&](const QMarginsF& portrait, const QMarginsF& paysage) {
        std::vector<QStringList> textes(impressions.size());
        for (size_t k = 0; k < impressions.size(); ++k) {
            const size_t avant = serveur.Documents().size();
            impressions[k]();
            const std::vector<QByteArray> documents = serveur.Documents();
            EXPECT_GT(documents.size(), avant) << k;
            QStringList hors;
            // Widths of the operator's name on the journal's pages, of "ligne" on the pages
            // with a line too wide, in hundredths of a point.
            std::set<int> noms;
            for (size_t n = avant; n < documents.size(); ++n)
                for (const ostrel_test::Mot_Pdf& mot : ostrel_test::Mots_Pdf(documents[n])) {
                    textes[k] << mot.Texte;
                    if ((k == 3 && mot.Texte == "DUPONT") || (k > 5 && mot.Texte == "ligne")) noms.insert(qRound(mot.Boite.width() * 100));
                    const QMarginsF m = (mot.Page.width() > mot.Page.height() ? paysage : portrait) * (72 / 25.4);
                    if (!QRectF(QPointF(), mot.Page).marginsRemoved(m).adjusted(-0.5, -0.5, 0.5, 0.5).contains(mot.Boite))
                        hors << mot.Texte;
                }
            EXPECT_EQ(hors.join(' ').toStdString(), "") << k;
            EXPECT_LE(noms.size(), 1u) << k;
            textes[k].sort();
        }
        return textes;
    };
    const QMarginsF petits(Marge_Page_mm, Marge_Page_mm, Marge_Page_mm, Marge_Page_mm);
    const std::vector<QStringList> a4 = mots(petits, petits);
    EXPECT_EQ(a4[1].count("Weekend"), 18);
    EXPECT_EQ(a4[4].count("ALARME"), 105);
    ASSERT_TRUE(serveur.Bords_Non_Imprimables(ostrel_test::Serveur_Impression::File, QMarginsF(20, 15, 20, 30)));
    // Across a landscape page, the wider of the two short edges on each side; along it, of the long ones.
    const std::vector<QStringList> larges = mots(QMarginsF(20, 15, 20, 30), QMarginsF(30, 20, 30, 20));
    for (size_t k = 0; k < a4.size(); ++k) EXPECT_EQ(larges[k].join(' ').toStdString(), a4[k].join(' ').toStdString()) << k;
    Definir_Imprimante(&imprimante);
}

// A print server that takes connections and then answers nothing (stopped):
// a printout waits for one answer (the time-outs shortened here), then asks
// nothing more. One not started yet goes to a PDF file, named as when no
// printer is configured; one under way says why it failed.
TEST_F(Courbes, UnServeurDImpressionMuetNEstAttenduQuUneFoisParImpression) {
    // In a folder named as ss would read a pattern, as a user's temporary folder may be.
    QTemporaryDir parent(QDir::tempPath() + QStringLiteral("/essai [1] XXXXXX"));
    ostrel_test::Serveur_Impression serveur(parent.path());
    if (!serveur.Demarrer()) return;
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    QTemporaryDir dossier;
    Imprimante_Epiee systeme([&dossier] { return dossier.path(); });
    Definir_Imprimante(&systeme);
    v->Check_Voie[0]->setChecked(true);
    v->Check_Voie[1]->setChecked(true);

    // A page per curve, laid out for the queue's paper before it is drawn.
    ostrel_test::Delais_Courts();
    serveur.Suspendre();
    boites.Reponses = {vbNo};
    v->Cmd_Imprimer->click();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{"Imprimer toutes les courbes sur la même page ?",
                                                     "Impression enregistrée dans le fichier :\n" +
                                                         QDir(dossier.path()).filePath("Impression_2027-03-10_14-00-00.pdf")}));
    EXPECT_EQ(serveur.Connexions_En_Attente(), 1);
    serveur.Reprendre();

    // The table, the server stopping once its first page is taken.
    ostrel_test::Delais_Reels();
    const auto arreter = [&](int n) {
        if (n != 1) return;
        serveur.Suspendre();
        ostrel_test::Delais_Courts();
    };
    EXPECT_EQ(Imprimer_Tableau(v, systeme, {}, arreter),
              (std::vector<QString>{"Imprimer le tableau numérique ?",
                                    "L'impression a échoué : seule la première page a été envoyée à l'imprimante.\n"
                                    "(le service d'impression ne répond pas)"}));
    EXPECT_EQ(serveur.Connexions_En_Attente(), 1);
    serveur.Reprendre();
    Definir_Imprimante(&imprimante);
}

TEST_F(Courbes, ImprimanteEnDefautPendantLesCourbes) {
    Frm_Enreg_Forme* v = Ouvrir_Trois();
    ASSERT_NE(v, nullptr);
    v->Check_Voie[0]->setChecked(true);
    v->Check_Voie[1]->setChecked(true);
    const Etat avant = Etat_De(v);
    imprimante.Echec_Prochain_Document = QStringLiteral("hors ligne");
    boites.Reponses = {vbNo};
    v->Cmd_Imprimer->click();
    ASSERT_EQ(boites.Messages.size(), 2u);
    EXPECT_TRUE(boites.Messages[1].Texte.contains("hors ligne"));
    EXPECT_TRUE(imprimante.Images.empty());
    Verifier_Rendu(v, avant);
}

}  // namespace
