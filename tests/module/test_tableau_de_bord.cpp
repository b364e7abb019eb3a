// The module settings screen inside the program's own dashboard, started on
// the simulated bus: opened from the configuration menu, reopened by a click
// on another module's button. With OSTREL_CAPTURE_MODULE set to a file name,
// the dashboard's picture is saved there (1280x1024, or the size given in
// OSTREL_CAPTURE_TAILLE as "1920x1080").
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "commun/application_test.h"
#include "commun/delais_test.h"
#include "config/formes_configuration.h"
#include "config/frm_param_oc.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/horloge.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "sim/simulateur.h"

using namespace ostrel;

namespace {

class Boites_Oui : public Boites_Scriptees {
public:
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        if ((style & 7) == vbYesNo) Reponses.push_front(vbYes);
        return Boites_Scriptees::MsgBox(texte, style, titre);
    }
};

std::array<Octet, 32> Octets(std::initializer_list<int> v) {
    std::array<Octet, 32> p{};
    size_t i = 0;
    for (int x : v) p[i++] = static_cast<Octet>(x);
    return p;
}

}  // namespace

TEST(ReglagesModuleDansLeTableauDeBord, OuvertureEtChangementDeModule) {
    ostrel_test::Application();
    Configurer_Application();
    QTemporaryDir disque;
    qputenv("OSTREL_DISQUE_C", disque.path().toUtf8());
    qputenv("OSTREL_DOSSIER_WINDOWS", disque.filePath("Windows").toUtf8());
    Reinitialiser_Donnees();
    Definir_Echelle_Temps(0.1);
    ostrel_test::Delais_Reels();
    Minuterie::Ticks_A_La_Main(true);
    Definir_Horloge_Murale([] { return DateSerial(2027, 3, 7) + TimeSerial(9, 5, 3); });

    sim::Simulateur bus;
    bus.Etat_Demonstration({1, 3, 7});
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        sim::Module_Simule& m = e.modules[3];
        m.entete = Vers_Cp1252(QStringLiteral("Chambres froides site 3").leftJustified(32) +
                               QStringLiteral("Quai de chargement nord").leftJustified(32));
        m.logique_stor = {1, 2};
        m.plannings[0] = Octets({8, 0, 12, 0, 13, 30, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 12, 0, 14, 0, 16, 30});
        m.plannings[1] = Octets({6, 0, 7, 30});
        m.codes_acces = {1203, 4312, 77, 9001};
        m.operateurs = {QByteArray("Dupont      "), QByteArray("Martin      "), QByteArray("Equipe nuit "),
                        QByteArray("Garcia      ")};
        m.horloge = {30, 14, 4, 10, 3, 27};
    });
    ASSERT_TRUE(bus.Demarrer());
    qputenv("OSTREL_COM1", bus.Chemin().toUtf8());

    Boites_Oui boites;
    Definir_Boites(&boites);
    Registre_Formes registre;
    Enregistrer_Formes(registre);
    Enregistrer_Formes_Configuration(registre);
    Definir_Formes(&registre);
    registre.Charger("Frm_Menu1");
    auto* t = registre.Instance_De<Frm_Menu1_Forme>("Frm_Menu1");
    ASSERT_NE(t, nullptr);
    QSize taille(1280, 1024);
    const QList<QByteArray> dimensions = qgetenv("OSTREL_CAPTURE_TAILLE").split('x');
    if (dimensions.size() == 2) taille = QSize(dimensions[0].toInt(), dimensions[1].toInt());
    t->resize(taille);
    t->show();
    t->Fin_Demarrage();
    ostrel_test::Traiter_Evenements();
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);

    // From the configuration menu: module 1.
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    Num_Module = 1;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Réglages Module"), Faux);
    ostrel_test::Traiter_Evenements();
    auto* ecran = registre.Instance_De<Frm_Param_OC_Forme>("Frm_Param_OC");
    ASSERT_NE(ecran, nullptr);
    EXPECT_TRUE(ecran->isVisible());
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Réglages Module"));
    EXPECT_TRUE(t->Lbl_OC(0)->font().underline());
    EXPECT_FALSE(t->Progression_Visible());

    // A click on MD3 reopens the screen for module 3.
    bus.Effacer_Trames();
    t->Lbl_OC_MouseUp(1);
    ostrel_test::Traiter_Evenements();
    ecran = registre.Instance_De<Frm_Param_OC_Forme>("Frm_Param_OC");
    ASSERT_NE(ecran, nullptr);
    EXPECT_EQ(Num_Module, 3);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(t->Lbl_OC(1)->font().underline());
    EXPECT_FALSE(t->Lbl_OC(0)->font().underline());
    EXPECT_EQ(bus.Nombre_Requetes(0x06), 16);
    EXPECT_EQ(ecran->findChild<QLineEdit*>("Txt_Premiere_Ligne")->text().trimmed(),
              QStringLiteral("Chambres froides site 3"));
    EXPECT_EQ(ecran->Msk_Mot_Passe(2)->text(), QStringLiteral("0077"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));

    // The clocks on show, as the operator sees them a second later.
    ecran->Tmr_Seconde()->Declencher();
    QTest::mouseClick(ecran->findChild<QPushButton*>("Cmd_Transfert_Date"), Qt::LeftButton);
    ecran->Tmr_Seconde()->Declencher();
    ostrel_test::Traiter_Evenements();
    EXPECT_TRUE(ecran->Heure_Module_Affichee());
    // Every control lies inside the screen.
    for (QWidget* w : ecran->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(ecran)) continue;
        EXPECT_TRUE(ecran->rect().contains(QRect(w->mapTo(ecran, QPoint(0, 0)), w->size())))
            << w->objectName().toStdString();
    }

    const QByteArray capture = qgetenv("OSTREL_CAPTURE_MODULE");
    if (!capture.isEmpty()) {
        EXPECT_TRUE(t->grab().save(QString::fromLocal8Bit(capture)));
    }

    Fin_Programme();
    ostrel_test::Traiter_Evenements();
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    Definir_Tableau_Bord(nullptr);
    Definir_Horloge_Murale(nullptr);
    Definir_Echelle_Temps(1.0);
    ostrel_test::Delais_Par_Defaut();
    Minuterie::Ticks_A_La_Main(false);
    bus.Arreter();
    qunsetenv("OSTREL_DISQUE_C");
    qunsetenv("OSTREL_DOSSIER_WINDOWS");
    qunsetenv("OSTREL_COM1");
}
