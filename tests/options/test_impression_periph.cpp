// The printed page of the bridge settings, line by line through the recorder.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "banc_options.h"
#include "commun/impression_test.h"
#include "link/donnees.h"
#include "options/frm_param_periph.h"

using namespace ostrel;

namespace {

const char* const Pont = "Frm_Param_Periph";

class Impression_Periph : public ostrel_test::Banc_Options {
protected:
    Frm_Param_Periph_Forme* Ecran_Pont() const { return registre.Instance_De<Frm_Param_Periph_Forme>(Pont); }
    QLineEdit* Txt(const char* nom, int index = -1) const {
        return index < 0 ? Controle<QLineEdit>(Pont, nom) : Element<QLineEdit>(Pont, nom, index);
    }
    void Ouvrir() {
        Code_Erreur = 0;
        Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages Netrove"), Faux);
    }
    void Pont_Regle() {
        bus.Avec_Etat([](sim::Etat_Bus& e) {
            e.pont.emails = {QByteArray("astreinte@exemple.fr"), QByteArray(), QByteArray("c@d.fr"), QByteArray("x")};
            e.pont.noms_fichiers[0] = "site1";
            e.pont.noms_fichiers[6] = "site7";
            e.pont.peripheriques = QByteArray("\x01\x01\xC0\xA8\x01\x0A\x00\x00\xC0\xA8\x01\x01", 12);
            e.pont.messagerie = QByteArray("\x08\x08\x04\x04\x04" "0123\x03" "moi\x02" "pw", 16);
            e.pont.smtp = QByteArray("\x06" "smtp.x\x05" "a@b.c", 13);
            e.pont.identifiant = "admin";
            e.pont.mot_de_passe = "netrove";
            return 0;
        });
    }
    static QString Tirets() { return QString(109, QLatin1Char('-')); }
};

}  // namespace

TEST_F(Impression_Periph, PageLigneParLigne) {
    Fichier_Options(QStringLiteral("Serre 4"), QStringLiteral("secret"), 1);
    sim::Simulateur& b = bus;
    b.Etat_Demonstration({1, 7});
    ASSERT_TRUE(b.Demarrer());
    Port_Vers(1, b.Chemin());
    Frm_Menu1_Forme* t = Demarrer_Sans_Bus(vbYes);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 2);
    Pont_Regle();
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    // A name edited in the options shows on the dashboard, not yet on paper.
    t->Lbl_Info_Client(QStringLiteral("Serre n°5"));
    // An edit not yet written prints as typed.
    auto* modules = Controle<QComboBox>(Pont, "Cmb_Choix_Ostrelclim");
    modules->setCurrentIndex(1);
    Txt("Txt_Nom_Fichier")->setText(QStringLiteral("SEPT"));
    Txt("Txt_Adr_IP_Gateway", 3)->setText(QStringLiteral("254"));
    imprimante.Effacer();

    Cliquer(Controle(Pont, "Cmd_Imprimer"));
    EXPECT_TRUE(boites.Messages.empty());  // nothing said when the page goes out
    EXPECT_EQ(imprimante.Documents_Termines, 1);
    const QString module1 = modules->itemText(0), module7 = modules->itemText(1);
    ASSERT_GE(module1.size(), 13);
    const std::vector<QString> attendu = {
        "Velsa SA",
        QString(91, QLatin1Char('*')),
        "",
        "Nom de l'installation : Serre 4",
        "",
        "",
        "Réglages du périphérique de communication",
        "",
        "",
        Tirets(),
        "Paramétrage des adresses Email",
        Tirets(),
        "",
        "Adresses E-Mail spécifiées pour l'envoie des fichiers de données",
        "",
        "1 - astreinte@exemple.fr",
        "",
        "2 - ",
        "",
        "3 - c@d.fr",
        "",
        "4 - x",
        "",
        "Noms des fichiers de données transmis par E-Mail",
        "",
        module1 + " : site1 (.txt)",
        "",
        module7 + " : SEPT (.txt)",
        "",
        "Fréquence d'envoie des E-Mail : tous les jours",
        "",
        Tirets(),
        "Connexion pour les envois d'Email",
        Tirets(),
        "",
        "Adresse IP de la passerelle : 192.168.1.254",
        "",
        "Adresse IP du serveur mail : 8.8.4.4",
        "",
        "Numéros de téléphone du serveur : 0123",
        "",
        "Login du provider mail : moi",
        "",
        "Password du provider mail : pw",
        "",
        "Adresse SMTP du provider mail : smtp.x",
        "",
        "Adresse email du serveur mail : a@b.c",
        "",
        Tirets(),
        "Configuration du Netrove",
        Tirets(),
        "",
        "Type de communication : par modem",
        "",
        "Adresse IP de la carte de communication : 192.168.1.10",
        "",
        "Login pour la connexion à la carte de communication : admin",
        "",
        "Password pour la connexion à la carte de communication : netrove",
        "",
        "",
        "",
        "OstrelSoft le 07/03/2027 09:05:03",
    };
    const std::vector<QString> lignes = imprimante.Textes(1);
    ASSERT_EQ(lignes.size(), attendu.size());
    EXPECT_EQ(lignes.size(), 60u + 2 * 2);
    for (size_t i = 0; i < attendu.size(); ++i) EXPECT_EQ(lignes[i], attendu[i]) << "ligne " << i + 1;
    for (const auto& l : imprimante.Lignes) {
        EXPECT_EQ(l.Police, QStringLiteral("Courier New"));
        EXPECT_EQ(l.Taille, 8);
        EXPECT_FALSE(l.Gras);
    }
    // The screen stays as it was.
    EXPECT_TRUE(registre.Est_Chargee(Pont));
    EXPECT_EQ(Txt("Txt_Nom_Fichier")->text(), QStringLiteral("SEPT"));
}

TEST_F(Impression_Periph, ChoixParDefautEtAdressesVides) {
    Frm_Menu1_Forme* t = Demarrer({1});
    ASSERT_NE(t, nullptr);
    Pont_Regle();
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        e.pont.noms_fichiers[0] = "court";
        e.pont.peripheriques = QByteArray("\x02\x02\x01\x02\x03\x04\x00\x00\x01\x02\x03\x04", 12);
        return 0;
    });
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    auto* modules = Controle<QComboBox>(Pont, "Cmb_Choix_Ostrelclim");
    modules->setItemText(0, QStringLiteral("MD1"));  // a short name is padded to 13
    for (int i = 0; i < 4; ++i) Txt("Txt_Adr_IP_Serveur", i)->clear();
    imprimante.Effacer();
    Cliquer(Controle(Pont, "Cmd_Imprimer"));
    const std::vector<QString> l = imprimante.Textes(1);
    ASSERT_EQ(l.size(), 62u);
    EXPECT_EQ(l[25], QStringLiteral("MD1           : court (.txt)"));
    // Weekly: neither daily nor monthly set.
    EXPECT_EQ(l[27], QStringLiteral("Fréquence d'envoie des E-Mail : toutes les semaines"));
    EXPECT_EQ(l[35], QStringLiteral("Adresse IP du serveur mail : ..."));
    EXPECT_EQ(l[51], QStringLiteral("Type de communication : par intranet"));
    // No frequency at all still reads weekly; monthly when chosen.
    Controle<QRadioButton>(Pont, "Opt_Freqence_Mois")->setChecked(true);
    Cliquer(Controle(Pont, "Cmd_Imprimer"));
    EXPECT_EQ(imprimante.Textes(2)[27], QStringLiteral("Fréquence d'envoie des E-Mail : tous les mois"));

    // A page that cannot go out is told, never passed over.
    imprimante.Echec_Prochain_Document = QStringLiteral("imprimante hors ligne");
    Cliquer(Controle(Pont, "Cmd_Imprimer"));
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Texte.contains(QStringLiteral("imprimante hors ligne")));
    EXPECT_FALSE(boites.Messages[0].Texte.contains(QStringLiteral("envoyée")));
}

// The page is set by the printout itself: printed first after a start
// (portrait) or after a landscape report, with every field as long as it may
// be, each line ends inside the right margin.
TEST_F(Impression_Periph, ChaqueLigneTientDansLaPageQuoiQuIlYAitEuAvant) {
    ASSERT_NE(Demarrer({1, 7}), nullptr);
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    for (QLineEdit* champ : Ecran_Pont()->findChildren<QLineEdit*>())
        if (champ->maxLength() < 100) champ->setText(QString(champ->maxLength(), QLatin1Char('W')));
    for (const int avant : {vbPRORPortrait, vbPRORLandscape}) {
        SCOPED_TRACE(avant);
        imprimante.Effacer();
        imprimante.Orientation(avant);
        Cliquer(Controle(Pont, "Cmd_Imprimer"));
        ASSERT_EQ(imprimante.Documents_Termines, 1);
        EXPECT_EQ(ostrel_test::Lignes_Hors_Marges(imprimante), std::vector<QString>{});
    }
}
