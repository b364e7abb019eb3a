#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDir>
#include <QAbstractProxyModel>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTreeView>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <map>

#include "commun/application_test.h"
#include "platform/dialogues.h"
#include "platform/ui/boites_qt.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/forme.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/registre_formes.h"
#include "platform/ui/touches.h"

using namespace ostrel;
using ostrel_test::Traiter_Evenements;

namespace {

// The files of the list a file dialog shows (behind the dialog's own columns).
QFileSystemModel* Modele_Fichiers(const QTreeView* vue) {
    const auto* proxy = qobject_cast<const QAbstractProxyModel*>(vue->model());
    return qobject_cast<QFileSystemModel*>(proxy ? proxy->sourceModel() : vue->model());
}

// A screen that records what happens to it.
class Forme_Essai : public Forme {
public:
    static inline std::vector<QString> evenements;
    static inline int instances = 0;
    QPushButton* bouton;
    QPushButton* autre;
    Minuterie* minuterie;
    std::vector<std::pair<int, int>> touches;

    explicit Forme_Essai(const QString& nom) : Forme(nom) {
        ++instances;
        bouton = new QPushButton(QStringLiteral("1 - Exploitation"), this);
        bouton->setObjectName(QStringLiteral("Cmd_Menu1"));
        autre = new QPushButton(QStringLiteral("Quitter"), this);
        autre->setObjectName(QStringLiteral("Cmd_Quitter"));
        autre->move(0, 40);
        minuterie = new Minuterie(QStringLiteral("Tmr_Essai"), this, 1000);
    }
    void Form_Load() override { evenements.push_back("Load " + Nom()); }
    void Form_Unload() override { evenements.push_back("Unload " + Nom()); }
    void Form_KeyUp(int& code, int maj) override { touches.emplace_back(code, maj); }
    void Executer(const QString& operation) override { evenements.push_back(operation + " " + Nom()); }
};

class Boites_Modales : public Boites_Scriptees {
public:
    bool modal = false;
    bool Modal_Ouvert() const override { return modal; }
};

class PlateformeUi : public ::testing::Test {
protected:
    void SetUp() override {
        ostrel_test::Application();
        Forme_Essai::evenements.clear();
        Forme_Essai::instances = 0;
    }

    // The dialog shown with its detailed view, once its folder has been read.
    static QTreeView* Montrer_Et_Lire(QFileDialog& dialogue) {
        auto* vue = dialogue.findChild<QTreeView*>(QStringLiteral("treeView"));
        if (vue == nullptr) return nullptr;
        QSignalSpy lu(Modele_Fichiers(vue), &QFileSystemModel::directoryLoaded);
        dialogue.show();
        if (!lu.wait(30000)) return nullptr;
        Traiter_Evenements();
        return vue;
    }
};

}  // namespace

TEST_F(PlateformeUi, CouleursDOrigineEtTwips) {
    EXPECT_EQ(Vers_QColor(255), QColor(255, 0, 0));
    EXPECT_EQ(Vers_QColor(0x808000), QColor(0, 128, 128));  // &H808000: blue and green
    EXPECT_EQ(Vers_QColor(0xDDDDDD), QColor(0xDD, 0xDD, 0xDD));
    EXPECT_EQ(Vers_QColor(Couleur_Face_Bouton), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(Depuis_QColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_TRUE(Couleur_Systeme(Couleur_Face_Bouton));
    EXPECT_FALSE(Couleur_Systeme(0xFFFFFF));
    EXPECT_EQ(Twips_Vers_Pixels(19200), 1280);
    EXPECT_EQ(Pixels_Vers_Twips(1920), 28800);

    QLabel l;
    Couleur_Fond(&l, Couleur_Face_Bouton);
    EXPECT_EQ(Couleur_Fond(&l), Couleur_Face_Bouton);  // the system colour is kept as given
    EXPECT_TRUE(l.autoFillBackground());
    Couleur_Texte(&l, 255);
    EXPECT_EQ(l.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_NEAR(Taille_Police(&l, 22), 22, 0.5);
}

TEST_F(PlateformeUi, CodesDesTouches) {
    EXPECT_EQ(Code_Touche(Qt::Key_1, Qt::NoModifier), 49);
    EXPECT_EQ(Code_Touche(Qt::Key_1, Qt::KeypadModifier), 97);
    EXPECT_EQ(Code_Touche(Qt::Key_9, Qt::KeypadModifier), 105);
    EXPECT_EQ(Code_Touche(Qt::Key_0, Qt::KeypadModifier), 96);
    EXPECT_EQ(Code_Touche(Qt::Key_Q, Qt::NoModifier), 81);
    EXPECT_EQ(Code_Touche(Qt::Key_Q, Qt::ShiftModifier), 81);
    EXPECT_EQ(Code_Touche(Qt::Key_Escape, Qt::NoModifier), 27);
    EXPECT_EQ(Code_Touche(Qt::Key_Return, Qt::NoModifier), 13);
    EXPECT_EQ(Code_Touche(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(Code_Touche(Qt::Key_F1, Qt::NoModifier), 112);
    EXPECT_EQ(Etat_Maj(Qt::ShiftModifier | Qt::AltModifier), 5);
}

TEST_F(PlateformeUi, ApercuClavierDesControlesVersLaForme) {
    Forme_Essai f("Frm_Essai");
    f.resize(200, 100);
    f.show();
    QTest::keyRelease(f.bouton, Qt::Key_Q);
    QTest::keyRelease(f.autre, Qt::Key_1, Qt::KeypadModifier);
    QTest::keyRelease(&f, Qt::Key_Escape);
    QTest::keyRelease(f.bouton, Qt::Key_V, Qt::ShiftModifier);
    // The Shift key comes up after V, as its own key.
    EXPECT_EQ(f.touches, (std::vector<std::pair<int, int>>{{81, 0}, {97, 0}, {27, 0}, {86, 1}, {16, 0}}));

    // The space bar still clicks the button, and reaches the form once.
    QSignalSpy clics(f.bouton, &QPushButton::clicked);
    f.touches.clear();
    QTest::keyClick(f.bouton, Qt::Key_Space);
    EXPECT_EQ(clics.count(), 1);
    EXPECT_EQ(f.touches.size(), 1u);

    // The Esc that closes a message box is pressed in the box: its release,
    // which the screen under it receives, must not act on the screen.
    QWidget boite;
    boite.show();
    f.touches.clear();
    QTest::keyPress(&boite, Qt::Key_Escape);
    QTest::keyRelease(f.bouton, Qt::Key_Escape);
    EXPECT_TRUE(f.touches.empty());
    QTest::keyClick(f.bouton, Qt::Key_Escape);  // pressed and released on the screen
    EXPECT_EQ(f.touches, (std::vector<std::pair<int, int>>{{27, 0}}));

    f.KeyPreview = false;
    f.touches.clear();
    QTest::keyRelease(f.bouton, Qt::Key_Q);
    EXPECT_TRUE(f.touches.empty());
}

TEST_F(PlateformeUi, MinuterieTickManuelEtRetenuPendantUneBoite) {
    Boites_Modales boites;
    Definir_Boites(&boites);
    QObject proprietaire;
    Minuterie m("Tmr_Date", &proprietaire, 10);
    EXPECT_EQ(proprietaire.findChild<Minuterie*>("Tmr_Date"), &m);
    int ticks = 0;
    m.Timer = [&] { ++ticks; };
    EXPECT_FALSE(m.Declencher());  // disabled at design
    m.Enabled(true);
    EXPECT_TRUE(m.Declencher());
    EXPECT_EQ(ticks, 1);

    boites.modal = true;
    QElapsedTimer t;
    t.start();
    while (!m.Tick_En_Attente() && t.elapsed() < 30000) QTest::qWait(5);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(m.Tick_En_Attente());
    boites.modal = false;
    m.Interval(100000);  // no new tick: only the one held back comes
    t.restart();
    while (ticks == 1 && t.elapsed() < 30000) QTest::qWait(5);
    EXPECT_EQ(ticks, 2);
    QTest::qWait(120);
    EXPECT_EQ(ticks, 2);

    // A handler never runs inside itself.
    m.Timer = [&] {
        ++ticks;
        EXPECT_FALSE(m.Declencher());
    };
    m.Declencher();
    EXPECT_EQ(ticks, 3);
    m.Enabled(false);
    EXPECT_FALSE(m.Declencher());
    Definir_Boites(nullptr);
}

TEST_F(PlateformeUi, RegistreChargeUneFoisEtDechargeEnDiffere) {
    QWidget tableau;
    tableau.resize(640, 480);
    Registre_Formes registre;
    registre.Definir_Conteneur(&tableau);
    registre.Enregistrer("Frm_Essai", [] { return new Forme_Essai("Frm_Essai"); });

    EXPECT_FALSE(registre.Est_Chargee("Frm_Essai"));
    registre.Afficher("Frm_Essai");
    registre.Afficher("Frm_Essai");
    auto* f = registre.Instance_De<Forme_Essai>("Frm_Essai");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Forme_Essai::instances, 1);
    EXPECT_EQ(f->parentWidget(), &tableau);
    EXPECT_EQ(tableau.findChild<Forme*>("Frm_Essai"), f);
    EXPECT_TRUE(f->isVisibleTo(&tableau));
    f->minuterie->Enabled(true);

    // Unloading from the form's own button: gone at once for the registry,
    // deleted only once the click has returned.
    QPointer<Forme_Essai> garde(f);
    QObject::connect(f->autre, &QPushButton::clicked, [&] { registre.Decharger("Frm_Essai"); });
    QTest::mouseClick(f->autre, Qt::LeftButton);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Essai"));
    ASSERT_FALSE(garde.isNull());
    EXPECT_FALSE(garde->isVisible());
    EXPECT_FALSE(garde->minuterie->Enabled());
    Traiter_Evenements();
    EXPECT_TRUE(garde.isNull());

    registre.Charger("Frm_Essai");  // a fresh instance, its load handler again
    EXPECT_EQ(Forme_Essai::instances, 2);
    EXPECT_FALSE(registre.Instance("Frm_Essai")->isVisible());
    registre.Executer("Frm_Essai", "Cmd_OK_Click");
    registre.Decharger("Frm_Essai");
    registre.Decharger("Frm_Essai");  // not loaded: nothing
    registre.Decharger("Frm_Inconnue");
    EXPECT_EQ(Forme_Essai::evenements, (std::vector<QString>{"Load Frm_Essai", "Unload Frm_Essai", "Load Frm_Essai",
                                                             "Cmd_OK_Click Frm_Essai", "Unload Frm_Essai"}));
    Traiter_Evenements();
}

TEST_F(PlateformeUi, UneFormeDechargeePendantSonChargementResteDechargee) {
    QWidget tableau;
    Registre_Formes registre;
    registre.Definir_Conteneur(&tableau);
    class Forme_Qui_Part : public Forme_Essai {
    public:
        Registre_Formes* r;
        Forme_Qui_Part(Registre_Formes* reg) : Forme_Essai("Frm_Part"), r(reg) {}
        void Form_Load() override {
            Forme_Essai::Form_Load();
            r->Decharger("Frm_Part");
        }
    };
    registre.Enregistrer("Frm_Part", [&registre] { return new Forme_Qui_Part(&registre); });
    registre.Charger("Frm_Part");
    EXPECT_FALSE(registre.Est_Chargee("Frm_Part"));
    registre.Focus("Frm_Part");  // not loaded: no new instance
    EXPECT_EQ(Forme_Essai::instances, 1);
    Traiter_Evenements();
}

TEST_F(PlateformeUi, FocusSurLePremierControleEtPlacementEnTwips) {
    QWidget tableau;
    tableau.resize(800, 600);
    tableau.show();
    Forme_Essai f("Frm_Essai");
    f.setParent(&tableau);
    f.Placer_Zone_Fille(0, 720, 12000, 6000);
    EXPECT_EQ(f.geometry(), QRect(0, 48, 800, 400));
    EXPECT_TRUE(f.Dans_Zone_Fille());
    EXPECT_EQ(f.Largeur_Twips(), 12000);
    f.Afficher();
    f.Donner_Focus();
    EXPECT_EQ(tableau.focusWidget(), f.bouton);
    f.autre->setFocus();
    f.Donner_Focus();
    EXPECT_EQ(tableau.focusWidget(), f.autre);
    // Hidden since, it would not take the keyboard back: the first control does.
    tableau.setFocus();
    f.autre->hide();
    f.Donner_Focus();
    EXPECT_EQ(tableau.focusWidget(), f.bouton);
}

TEST_F(PlateformeUi, FiltresDesDialoguesDeFichiers) {
    EXPECT_EQ(Filtre_Qt("(*.txt)|*.txt"), QStringLiteral("(*.txt)"));
    EXPECT_EQ(Filtre_Qt("Texte|*.txt;*.csv|Tous (*.*)|*.*"), QStringLiteral("Texte (*.txt *.csv);;Tous (*.*)"));
}

TEST_F(PlateformeUi, BoitesQtEnFrancaisEtMinuteriesRetenues) {
    Boites_Qt boites;
    Definir_Boites(&boites);
    QObject proprietaire;
    Minuterie m("Tmr_Essai", &proprietaire, 5);
    int ticks = 0;
    m.Timer = [&] { ++ticks; };
    m.Enabled(true);

    // Answers the box from inside its own event loop, as an operator would.
    QStringList boutons;
    QString titre;
    bool modal_pendant = false;
    int ticks_pendant = -1;
    auto repondre = [&](const QString& bouton) {
        QTimer::singleShot(60, [&, bouton] {
            auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(boite, nullptr);
            titre = boite->windowTitle();
            boutons.clear();
            for (QAbstractButton* b : boite->buttons()) boutons << b->text();
            modal_pendant = boites.Modal_Ouvert();
            ticks_pendant = ticks;
            for (QAbstractButton* b : boite->buttons())
                if (b->text() == bouton) b->click();
        });
    };
    const int avant = ticks;
    repondre("Non");
    EXPECT_EQ(boites.MsgBox("Le module est il connecté à l'ordinateur?", vbYesNo), vbNo);
    EXPECT_TRUE(modal_pendant);
    EXPECT_FALSE(boites.Modal_Ouvert());
    EXPECT_EQ(ticks_pendant, avant);  // no tick while the box was open
    EXPECT_EQ(titre, Titre_Application);
    boutons.sort();
    EXPECT_EQ(boutons, (QStringList{"Non", "Oui"}));

    repondre("Annuler");
    EXPECT_EQ(boites.MsgBox("Enregistrer ?", vbYesNoCancel | vbQuestion, "Titre"), vbCancel);
    EXPECT_EQ(titre, QStringLiteral("Titre"));
    repondre("OK");
    EXPECT_EQ(boites.MsgBox("Action impossible car aucun module n'est connecté"), vbOK);
    EXPECT_EQ(boutons, QStringList{"OK"});

    QElapsedTimer t;
    t.start();
    while (ticks == ticks_pendant && t.elapsed() < 30000) QTest::qWait(5);
    EXPECT_GT(ticks, ticks_pendant);  // ticking again once the boxes are closed
    Definir_Boites(nullptr);
}

TEST_F(PlateformeUi, DialoguesStandardsEnFrancaisDansLeurDossierSansColonneCoupee) {
    ASSERT_TRUE(Installer_Traductions_Qt());
    QTemporaryDir disque;
    ASSERT_TRUE(QDir(disque.path()).mkpath("Sauvegardes/Parametrage_Ostrel"));
    QFile fichier(disque.filePath("Sauvegardes/Parametrage_Ostrel/Config_Module_MD_32.txt"));
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.close();
    QDir(disque.path()).mkpath("Sauvegardes/Parametrage_voies");

    Dialogue_Fichier d;
    d.DialogTitle = QStringLiteral("Ouverture");
    d.Filter = QStringLiteral("(*.txt)|*.txt");
    d.InitDir = disque.filePath("Sauvegardes/Parametrage_Ostrel");
    QFileDialog dialogue;
    Preparer_Dialogue_Fichier(dialogue, d, false);
    EXPECT_EQ(dialogue.directory().absolutePath(), QDir(d.InitDir).absolutePath());
    QTreeView* vue = Montrer_Et_Lire(dialogue);
    ASSERT_NE(vue, nullptr);
    ASSERT_GT(vue->model()->rowCount(vue->rootIndex()), 0);
    QHeaderView* tete = vue->header();
    EXPECT_EQ(tete->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nom"));
    for (int c = 0; c < tete->count(); ++c) {
        SCOPED_TRACE(c);
        EXPECT_GE(tete->sectionSize(c), static_cast<QAbstractItemView*>(vue)->sizeHintForColumn(c));
        EXPECT_GE(tete->sectionSize(c), tete->sectionSizeHint(c));
        EXPECT_LE(tete->sectionViewportPosition(c) + tete->sectionSize(c), vue->viewport()->width());
    }
    dialogue.hide();

    // A folder that went missing: its parent, not the last folder visited.
    QFileDialog ailleurs;
    ailleurs.setDirectory(disque.filePath("Sauvegardes/Parametrage_voies"));
    d.InitDir = disque.filePath("Sauvegardes/Sauvegardes_Alarmes");
    Preparer_Dialogue_Fichier(ailleurs, d, true);
    EXPECT_EQ(ailleurs.directory().absolutePath(), QDir(disque.filePath("Sauvegardes")).absolutePath());

    // The colour dialog speaks French; the font dialog opens on the font asked for.
    QColorDialog couleurs;
    QStringList textes;
    for (const QLabel* l : couleurs.findChildren<QLabel*>()) textes << l->text();
    EXPECT_TRUE(textes.contains(QStringLiteral("Couleurs de &base"))) << textes.join('|').toStdString();
    Choix_Police police;
    police.Nom = QStringLiteral("Arial");
    police.Taille = 12;
    QFontDialog polices;
    polices.setCurrentFont(Police_Initiale(police));
    EXPECT_EQ(polices.currentFont().family(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
    EXPECT_EQ(polices.currentFont().pointSize(), 12);
}

TEST_F(PlateformeUi, ColonnesDuDialogueFichierEnFrancaisQuelleQueSoitLaLangueDuBureau) {
    // The suite runs on a C or English desktop: the system's forms are not French.
    ASSERT_TRUE(Installer_Traductions_Qt());
    QTemporaryDir disque;
    ASSERT_TRUE(QDir(disque.path()).mkdir("Sauvegardes"));
    QFile fichier(disque.filePath("releve.txt"));
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(QByteArray(5000, 'x'));
    fichier.close();

    Dialogue_Fichier d;
    d.DialogTitle = QStringLiteral("Ouverture");
    d.InitDir = disque.path();
    QFileDialog dialogue;
    Preparer_Dialogue_Fichier(dialogue, d, false);
    QTreeView* vue = Montrer_Et_Lire(dialogue);
    ASSERT_NE(vue, nullptr);
    const QAbstractItemModel* m = vue->model();
    QStringList titres;
    for (int c = 0; c < 4; ++c) titres << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titres, (QStringList{"Nom", "Taille", "Type", "Dernière modification"}));
    std::map<QString, QStringList> lignes;
    for (int r = 0; r < m->rowCount(vue->rootIndex()); ++r) {
        QStringList l;
        for (int c = 1; c < 4; ++c) l << m->index(r, c, vue->rootIndex()).data().toString();
        lignes[m->index(r, 0, vue->rootIndex()).data().toString()] = l;
    }
    ASSERT_EQ(lignes.size(), 2u);
    EXPECT_EQ(lignes["Sauvegardes"].mid(0, 2), (QStringList{"", "Dossier"}));
    EXPECT_EQ(lignes["releve.txt"].mid(0, 2), (QStringList{"4,88 Kio", "document texte brut"}));
    const QRegularExpression date(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$"));
    for (const auto& [nom, l] : lignes)
        EXPECT_TRUE(date.match(l[2]).hasMatch()) << nom.toStdString() << ": " << l[2].toStdString();
}

TEST_F(PlateformeUi, LeDialogueDesPolicesOuvreChaqueFamilleEnStyleRegulier) {
    // The family's first style is not always its plain one: DejaVu Sans opened in "Oblique".
    ASSERT_TRUE(Installer_Traductions_Qt());
    int regulieres = 0;
    for (const QString& famille : QFontDatabase::families()) {
        const QStringList styles = QFontDatabase::styles(famille);
        const bool a_regulier = std::any_of(styles.begin(), styles.end(), [&famille](const QString& s) {
            const QFont f = QFontDatabase::font(famille, s, 10);
            return !f.italic() && f.weight() == QFont::Normal;
        });
        if (!a_regulier) continue;
        ++regulieres;
        Choix_Police police;
        police.Nom = famille;
        QFontDialog dialogue(Police_Initiale(police));
        const QFont f = dialogue.currentFont();
        EXPECT_EQ(f.family(), famille);
        EXPECT_FALSE(f.italic()) << famille.toStdString() << " " << f.styleName().toStdString();
        EXPECT_EQ(f.weight(), QFont::Normal) << famille.toStdString() << " " << f.styleName().toStdString();
    }
    EXPECT_GT(regulieres, 0);
}
