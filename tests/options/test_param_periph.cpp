// The bridge settings screen against the simulated bridge: the read of every
// setting, the write framed by the mode command, the link failures, the
// optional mask request, and the input rules of its fields.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>

#include "banc_options.h"
#include "link/donnees.h"
#include "options/frm_param_periph.h"

using namespace ostrel;
using ostrel_test::Traiter_Evenements;

namespace {

const char* const Pont = "Frm_Param_Periph";
const QString Invalide = QStringLiteral("Adresse invalide!");

struct Requete {
    int code;
    int valeur;  // count field, or the value of the mode command
    bool operator==(const Requete& r) const { return code == r.code && valeur == r.valeur; }
};
void PrintTo(const Requete& r, std::ostream* os) { *os << std::hex << "{0x" << r.code << ", " << std::dec << r.valeur << "}"; }

class Param_Periph : public ostrel_test::Banc_Options {
protected:
    Frm_Param_Periph_Forme* Ecran_Pont() const { return registre.Instance_De<Frm_Param_Periph_Forme>(Pont); }
    QLineEdit* Txt(const char* nom, int index = -1) const {
        return index < 0 ? Controle<QLineEdit>(Pont, nom) : Element<QLineEdit>(Pont, nom, index);
    }
    QRadioButton* Opt(const char* nom) const { return Controle<QRadioButton>(Pont, nom); }
    QStringList Octets(const char* nom) const {
        QStringList l;
        for (int i = 0; i < 4; ++i) l << (Txt(nom, i) ? Txt(nom, i)->text() : QStringLiteral("?"));
        return l;
    }
    QComboBox* Modules() const { return Controle<QComboBox>(Pont, "Cmb_Choix_Ostrelclim"); }
    QTabBar* Onglets() const { return Controle<QTabBar>(Pont, "TabStrip"); }

    // A bridge holding settings of every kind.
    void Etat_Pont() {
        bus.Avec_Etat([](sim::Etat_Bus& e) {
            e.pont.emails = {QByteArray("astreinte@exemple.fr"), QByteArray("maintenance@exemple.fr"), QByteArray(),
                             QByteArray("direction@exemple.fr")};
            e.pont.noms_fichiers = {};
            e.pont.noms_fichiers[0] = "site1";
            e.pont.noms_fichiers[2] = "site3";
            e.pont.peripheriques = QByteArray("\x01\x02\x0A\x00\x00\x05\x01\x02\x0A\x00\x00\x01", 12);
            e.pont.masque = {255, 255, 0, 0};
            e.pont.messagerie = QByteArray("\x0A\x00\x00\x02\x0A" "0W12345678\x08" "ostrel01\x06" "secret", 31);
            e.pont.smtp = QByteArray("\x0Fsmtp.exemple.fr\x11ostrel@exemple.fr", 34);
            e.pont.identifiant = "admin";
            e.pont.mot_de_passe = "netrove";
            return 0;
        });
    }

    // Through the configuration menu's button, which goes on to "Problèmes
    // Liaison" when the read left a link error.
    void Ouvrir() {
        if (!registre.Est_Chargee("Frm_Menu_Config"))
            Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
        Cliquer(Controle("Frm_Menu_Config", "Cmd_Menu3"));
    }

    std::vector<Requete> Requetes() const {
        std::vector<Requete> r;
        for (const auto& t : bus.Trames_Recues()) {
            if (t.octets.size() < 6 || !sim::Crc_Correct(t.octets)) continue;
            const int code = static_cast<Octet>(t.octets[3]);
            const int valeur = code == 0x16 ? 256 * static_cast<Octet>(t.octets[4]) + static_cast<Octet>(t.octets[5])
                                            : static_cast<Octet>(t.octets[5]);
            r.push_back({code, valeur});
        }
        return r;
    }
    sim::Passerelle_Simulee Etat() { return bus.Avec_Etat([](sim::Etat_Bus& e) { return e.pont; }); }
    std::vector<Entier> Modes() {
        return bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[1].modes_recus; });
    }
    void Clic(const char* nom) { Cliquer(Controle(Pont, nom)); }

    static std::vector<Requete> Lecture_Complete(std::vector<int> modules) {
        std::vector<Requete> r = {{0x17, 1}, {0x17, 2}, {0x17, 3}, {0x17, 4}};
        for (int m : modules) r.push_back({0x18, m});
        for (Requete q : std::vector<Requete>{{0x19, 1}, {0x20, 1}, {0x1A, 1}, {0x1D, 1}, {0x1C, 0}, {0x1C, 255}})
            r.push_back(q);
        return r;
    }
    static std::vector<Requete> Ecriture_Complete(std::vector<int> modules) {
        std::vector<Requete> r = Lecture_Complete(modules);
        r.insert(r.begin(), {0x16, 0});
        r.push_back({0x16, 255});
        return r;
    }
};

}  // namespace

TEST_F(Param_Periph, LectureDeChaqueReglage) {
    Frm_Menu1_Forme* t = Demarrer({1, 3, 7});
    ASSERT_NE(t, nullptr);
    Etat_Pont();
    bus.Effacer_Trames();
    t->historique_pb_.clear();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Réglages Netrove"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Réglages Netrove"));
    EXPECT_TRUE(Ecran_Pont()->isVisible());
    EXPECT_EQ(Requetes(), Lecture_Complete({1, 3, 7}));
    EXPECT_EQ(t->historique_pb_, (std::vector<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_FALSE(t->Progression_Visible());
    EXPECT_EQ(t->Caption_Pb(), QStringLiteral("Téléchargement terminé"));

    // Tab 1.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Element<QLabel>(Pont, "Lbl_Adre_e_mail", i)->text(), QStringLiteral("Vers l'opérateur %1").arg(i + 1));
    EXPECT_EQ(Txt("Txt_Adre_email", 0)->text(), QStringLiteral("astreinte@exemple.fr"));
    EXPECT_EQ(Txt("Txt_Adre_email", 1)->text(), QStringLiteral("maintenance@exemple.fr"));
    EXPECT_EQ(Txt("Txt_Adre_email", 2)->text(), QString());
    EXPECT_EQ(Txt("Txt_Adre_email", 3)->text(), QStringLiteral("direction@exemple.fr"));
    ASSERT_EQ(Modules()->count(), 3);
    EXPECT_EQ(Modules()->itemText(1), Tab_Parametres_Modules[2].Entete);
    EXPECT_TRUE(Modules()->itemText(2).startsWith(QStringLiteral("Chambres froides site 7")));
    EXPECT_EQ(Modules()->currentIndex(), 0);
    EXPECT_EQ(Txt("Txt_Nom_Fichier")->text(), QStringLiteral("site1"));
    EXPECT_EQ(Txt("Txt_Nom_Fichier")->maxLength(), 16);
    EXPECT_EQ(Ecran_Pont()->Noms_Fichiers_Envoi[1], QStringLiteral("site3"));
    EXPECT_EQ(Ecran_Pont()->Noms_Fichiers_Envoi[2], QString());
    EXPECT_TRUE(Opt("Opt_Frequence_Semaine")->isChecked());
    // Tab 2.
    EXPECT_EQ(Txt("Txt_Num_Tél")->text(), QStringLiteral("0W12345678"));
    EXPECT_EQ(Txt("Txt_Login")->text(), QStringLiteral("ostrel01"));
    EXPECT_EQ(Txt("Txt_Password")->text(), QStringLiteral("secret"));
    EXPECT_EQ(Txt("Txt_SMTP")->text(), QStringLiteral("smtp.exemple.fr"));
    EXPECT_EQ(Txt("Txt_Adr_Email_Emetteur")->text(), QStringLiteral("ostrel@exemple.fr"));
    EXPECT_EQ(Octets("Txt_Adr_IP_Serveur"), (QStringList{"10", "0", "0", "2"}));
    EXPECT_EQ(Octets("Txt_Adr_IP_Gateway"), (QStringList{"10", "0", "0", "1"}));
    EXPECT_EQ(Octets("Txt_Masque"), (QStringList{"255", "255", "0", "0"}));
    // Tab 3 and the hidden relay groups.
    EXPECT_TRUE(Opt("Opt_Acces_Modem")->isChecked());
    EXPECT_EQ(Octets("Txt_Adr_IP"), (QStringList{"10", "0", "0", "5"}));
    EXPECT_EQ(Txt("Txt_Login_Netrove")->text(), QStringLiteral("admin"));
    EXPECT_EQ(Txt("Txt_Psw_Netrove")->text(), QStringLiteral("netrove"));
    EXPECT_TRUE(Opt("Opt_Maintenu_NF")->isChecked());
    EXPECT_TRUE(Opt("Opt_Impulsion_NO_2")->isChecked());

    // Tab 1 shown alone; the relay groups never.
    EXPECT_TRUE(Controle(Pont, "Frame_Param_Envoie_Email")->isVisible());
    EXPECT_FALSE(Controle(Pont, "Frame_Info_Serveur_Mail")->isVisible());
    EXPECT_FALSE(Controle(Pont, "Frame_Param_Netrove")->isVisible());
    Onglets()->setCurrentIndex(1);
    EXPECT_FALSE(Controle(Pont, "Frame_Param_Envoie_Email")->isVisible());
    EXPECT_TRUE(Controle(Pont, "Frame_Info_Serveur_Mail")->isVisible());
    EXPECT_FALSE(Controle(Pont, "Frame_Param_Netrove")->isVisible());
    Onglets()->setCurrentIndex(2);
    EXPECT_TRUE(Controle(Pont, "Frame_Param_Netrove")->isVisible());
    EXPECT_FALSE(Controle(Pont, "Frame_Info_Serveur_Mail")->isVisible());
    EXPECT_FALSE(Controle(Pont, "Frame_Parm_Stor_Netrove")->isVisible());
    EXPECT_FALSE(Controle(Pont, "Frame_Parm_Stor_2_Netrove")->isVisible());
    EXPECT_EQ(Onglets()->tabText(2), QStringLiteral("Configuration du Netrove"));
}

TEST_F(Param_Periph, EcritureEncadreeParLaCommandeDeMode) {
    Frm_Menu1_Forme* t = Demarrer({1, 3, 7});
    ASSERT_NE(t, nullptr);
    Etat_Pont();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);

    // Edits of every kind.
    Txt("Txt_Adre_email", 1)->setText(QStringLiteral("nuit@exemple.fr"));
    Modules()->setCurrentIndex(1);
    EXPECT_EQ(Txt("Txt_Nom_Fichier")->text(), QStringLiteral("site3"));
    Txt("Txt_Nom_Fichier")->setText(QStringLiteral("SITE_3b"));
    Opt("Opt_Frequence_Jour")->setChecked(true);
    Opt("Opt_Acces_Intranet")->setChecked(true);
    Txt("Txt_Adr_IP", 3)->clear();
    Txt("Txt_Masque", 2)->setText(QStringLiteral("255"));
    Txt("Txt_Num_Tél")->clear();
    Txt("Txt_Login")->setText(QStringLiteral("ostrel02"));
    Txt("Txt_Adr_Email_Emetteur")->clear();
    Txt("Txt_Login_Netrove")->clear();
    bus.Effacer_Trames();
    t->historique_pb_.clear();

    Clic("Cmd_OK");
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Requetes(), Ecriture_Complete({1, 3, 7}));
    EXPECT_EQ(Modes(), (std::vector<Entier>{0, 255}));
    EXPECT_EQ(t->historique_pb_, (std::vector<int>{0, 4, 8, 11, 15, 30, 45, 60, 75, 100}));
    EXPECT_EQ(t->Caption_Pb(), QStringLiteral("Téléchargement terminé"));
    EXPECT_FALSE(t->Progression_Visible());
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_TRUE(Trace().back().endsWith(QStringLiteral("Accès écran Configuration")));
    EXPECT_TRUE(Trace().filter(QStringLiteral("Téléchargement paramétrage Netrove")).size() == 1);
    // Left for the screen it came from.
    EXPECT_FALSE(registre.Est_Chargee(Pont));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));

    const sim::Passerelle_Simulee p = Etat();
    EXPECT_EQ(p.emails[0], QByteArray("astreinte@exemple.fr"));
    EXPECT_EQ(p.emails[1], QByteArray("nuit@exemple.fr"));
    EXPECT_EQ(p.emails[2], QByteArray("0"));  // an empty box sends "0"
    EXPECT_EQ(p.noms_fichiers[0], QByteArray("site1"));
    EXPECT_EQ(p.noms_fichiers[2], QByteArray("SITE_3b"));
    EXPECT_EQ(p.noms_fichiers[6], QByteArray("0"));  // an empty name too
    EXPECT_EQ(p.peripheriques, QByteArray("\x02\x01\x0A\x00\x00\x00\x01\x02\x0A\x00\x00\x01", 12));
    EXPECT_EQ(p.masque, (std::array<Octet, 4>{255, 255, 255, 0}));
    EXPECT_EQ(p.messagerie, QByteArray("\x0A\x00\x00\x02\x01" "0\x08" "ostrel02\x06" "secret", 22));
    // Sender, board login: empty stays empty.
    EXPECT_EQ(p.smtp, QByteArray("\x0Fsmtp.exemple.fr\x00", 17));
    EXPECT_EQ(p.identifiant, QByteArray());
    EXPECT_EQ(p.mot_de_passe, QByteArray("netrove"));
}

TEST_F(Param_Periph, ChampsVidesMontrentZeroApresLEcriture) {
    ASSERT_NE(Demarrer({1, 3, 7}), nullptr);
    Etat_Pont();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    // An OK that fails keeps nothing on screen: a link error on the last
    // command, to see the fields as the write left them.
    bus.Programmer_Defauts(0x16, {sim::Defaut(), sim::Defaut(sim::Defaut::Exception, 4)},
                           sim::Defaut(sim::Defaut::Exception, 4));
    Modules()->setCurrentIndex(2);
    Txt("Txt_Adre_email", 2)->clear();
    Txt("Txt_Num_Tél")->clear();
    Txt("Txt_Adr_IP_Gateway", 0)->clear();
    Frm_Param_Periph_Forme* ecran = Ecran_Pont();
    QPointer<Frm_Param_Periph_Forme> garde(ecran);
    Clic("Cmd_OK");
    ASSERT_FALSE(garde.isNull());  // unloaded, not yet deleted
    EXPECT_EQ(Txt("Txt_Adre_email", 2), nullptr);
    auto element = [&](const char* nom, int index) -> QString {
        for (QLineEdit* c : ecran->findChildren<QLineEdit*>(QString::fromUtf8(nom)))
            if (c->property("Index").toInt() == index) return c->text();
        return QStringLiteral("?");
    };
    EXPECT_EQ(element("Txt_Adre_email", 2), QStringLiteral("0"));
    EXPECT_EQ(element("Txt_Adr_IP_Gateway", 0), QStringLiteral("0"));
    EXPECT_EQ(Etat().emails[2], QByteArray("0"));
    EXPECT_EQ(ecran->findChild<QLineEdit*>("Txt_Num_Tél")->text(), QStringLiteral("0"));
    EXPECT_EQ(ecran->Noms_Fichiers_Envoi[2], QString());  // the entry stays empty
    EXPECT_EQ(ecran->findChild<QLineEdit*>("Txt_Nom_Fichier")->text(), QString());
    Traiter_Evenements();
}

TEST_F(Param_Periph, ValeursHorsDesPlagesCodees) {
    ASSERT_NE(Demarrer({1, 3, 7}), nullptr);
    Etat_Pont();
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        e.pont.peripheriques = QByteArray("\x00\x04\x0A\x00\x00\x05\x04\x07\x0A\x00\x00\x01", 12);
        return 0;
    });
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    EXPECT_TRUE(Opt("Opt_Acces_Intranet")->isChecked());
    for (const char* o : {"Opt_Frequence_Jour", "Opt_Frequence_Semaine", "Opt_Freqence_Mois", "Opt_Maintenu_NO",
                          "Opt_Maintenu_NF", "Opt_Impulsion_NO", "Opt_Impulsion_NF", "Opt_Maintenu_NO_2",
                          "Opt_Maintenu_NF_2", "Opt_Impulsion_NO_2", "Opt_Impulsion_NF_2"})
        EXPECT_FALSE(Opt(o)->isChecked()) << o;
    Clic("Cmd_OK");
    // No frequency: monthly; intranet: 2; the relay modes the operator cannot
    // see go back as they were read.
    EXPECT_EQ(Etat().peripheriques, QByteArray("\x02\x03\x0A\x00\x00\x05\x04\x07\x0A\x00\x00\x01", 12));

    // With "Modem" and no frequency: 1 and 3.
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    Opt("Opt_Acces_Modem")->setChecked(true);
    Clic("Cmd_OK");
    EXPECT_EQ(static_cast<int>(Etat().peripheriques[0]), 1);
    EXPECT_EQ(static_cast<int>(Etat().peripheriques[1]), 3);
}

TEST_F(Param_Periph, UnSeulModuleEnService) {
    Frm_Menu1_Forme* t = Demarrer({1});
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 1);
    Etat_Pont();
    bus.Effacer_Trames();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    EXPECT_EQ(Modules()->count(), 1);
    EXPECT_EQ(Requetes(), Lecture_Complete({1}));
    bus.Effacer_Trames();
    Clic("Cmd_OK");
    EXPECT_EQ(Requetes(), Ecriture_Complete({1}));
}

TEST_F(Param_Periph, MasqueSansReponseNArretePasLesTransferts) {
    Frm_Menu1_Forme* t = Demarrer({1, 3});
    ASSERT_NE(t, nullptr);
    Etat_Pont();
    bus.Programmer_Defauts(0x20, {}, sim::Defaut(sim::Defaut::Silence));
    ostrel_test::Delais_Mixtes();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Octets("Txt_Masque"), (QStringList{"255", "255", "255", "0"}));
    EXPECT_EQ(Txt("Txt_Psw_Netrove")->text(), QStringLiteral("netrove"));
    bus.Effacer_Trames();
    Clic("Cmd_OK");
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(t->Caption_Pb(), QStringLiteral("Téléchargement terminé"));
    EXPECT_EQ(Modes(), (std::vector<Entier>{0, 255}));
    EXPECT_EQ(bus.Nombre_Requetes(0x20), 6);  // the request and its five retries
    EXPECT_FALSE(registre.Est_Chargee(Pont));
}

TEST_F(Param_Periph, ErreurDeLiaisonALaLecture) {
    Frm_Menu1_Forme* t = Demarrer({1, 3});
    ASSERT_NE(t, nullptr);
    Etat_Pont();
    ostrel_test::Delais_Courts();

    // On the first recipient: nothing else is asked, the screen gives way.
    bus.Programmer_Defauts(0x17, {}, sim::Defaut(sim::Defaut::Silence));
    bus.Effacer_Trames();
    t->historique_pb_.clear();
    Code_Erreur = 0;
    Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages Netrove"), Faux);
    ASSERT_NE(Ecran_Pont(), nullptr);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    for (const Requete& r : Requetes()) EXPECT_EQ(r, (Requete{0x17, 1}));
    EXPECT_EQ(Requetes().size(), 6u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Txt("Txt_Adre_email", i)->text(), QStringLiteral("OPERATEUR%1@exemple.fr").arg(i + 1));
    EXPECT_EQ(Txt("Txt_Login")->text(), QStringLiteral("0"));
    EXPECT_EQ(Modules()->currentIndex(), -1);
    EXPECT_TRUE(t->Progression_Visible());
    EXPECT_EQ(t->Caption_Pb(), QStringLiteral("Importation en cours"));
    EXPECT_EQ(t->historique_pb_, std::vector<int>{0});
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
    EXPECT_FALSE(registre.Est_Chargee(Pont));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    registre.Decharger("Frm_Pb_Liaison");

    // On the board's settings block: the read stops there too, where its
    // failure would otherwise be cleared by the mask read and pass unseen.
    bus.Effacer_Defauts();
    ostrel_test::Delais_Mixtes();
    bus.Programmer_Defauts(0x19, {}, sim::Defaut(sim::Defaut::Silence));
    bus.Effacer_Trames();
    Code_Erreur = 0;
    Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages Netrove"), Faux);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(bus.Nombre_Requetes(0x19), 6);
    for (int code : {0x20, 0x1A, 0x1D, 0x1C}) EXPECT_EQ(bus.Nombre_Requetes(code), 0) << code;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
    EXPECT_FALSE(registre.Est_Chargee(Pont));
    registre.Decharger("Frm_Pb_Liaison");

    // On the provider block, through the menu: what follows is not sent while
    // the error holds, and the menu moves on to the link-problem screen.
    bus.Effacer_Defauts();
    ostrel_test::Delais_Reels();
    bus.Programmer_Defauts(0x1A, {}, sim::Defaut(sim::Defaut::Exception, 2));
    bus.Effacer_Trames();
    Code_Erreur = 0;
    Ouvrir();
    EXPECT_EQ(Code_Erreur, 2);
    EXPECT_EQ(bus.Nombre_Requetes(0x20), 1);
    for (int code : {0x1D, 0x1C}) EXPECT_EQ(bus.Nombre_Requetes(code), 0) << code;
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(registre.Est_Chargee(Pont));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Pb_Liaison"));
}

TEST_F(Param_Periph, ErreurDeLiaisonALEcritureDuMotDePasse) {
    Frm_Menu1_Forme* t = Demarrer({1, 3});
    ASSERT_NE(t, nullptr);
    Etat_Pont();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    Txt("Txt_Login_Netrove")->setText(QStringLiteral("chef"));
    Txt("Txt_Psw_Netrove")->setText(QStringLiteral("nouveau"));
    // The login goes through, the password write gets no answer.
    bus.Programmer_Defauts(0x1C, {sim::Defaut()}, sim::Defaut(sim::Defaut::Silence));
    ostrel_test::Delais_Mixtes(500);  // the mask is written, and answered, before
    bus.Effacer_Trames();
    Clic("Cmd_OK");
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Modes(), std::vector<Entier>{0});  // the closing command is not sent
    EXPECT_EQ(Requetes().back(), (Requete{0x1C, 255}));
    EXPECT_EQ(Etat().identifiant, QByteArray("chef"));
    EXPECT_EQ(Etat().mot_de_passe, QByteArray("netrove"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(registre.Est_Chargee(Pont));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{QStringLiteral("Module non connecté")});
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(t->Valeur_Progression(), 75);
}

TEST_F(Param_Periph, AdresseNonNumeriqueRefuseeAvantToutEnvoi) {
    ASSERT_NE(Demarrer({1, 3}), nullptr);
    Etat_Pont();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    // Text that no key could have typed (set by the program or pasted).
    Txt("Txt_Masque", 1)->setText(QStringLiteral("2x5"));
    bus.Effacer_Trames();
    Clic("Cmd_OK");
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Invalide});
    EXPECT_EQ(Txt("Txt_Masque", 1)->text(), QStringLiteral("0"));
    EXPECT_TRUE(Requetes().empty());
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(registre.Est_Chargee(Pont));
    // Corrected, it goes.
    boites.Effacer();
    Clic("Cmd_OK");
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Etat().masque, (std::array<Octet, 4>{255, 0, 0, 0}));
}

TEST_F(Param_Periph, ReglesDeSaisie) {
    ASSERT_NE(Demarrer({1, 3}), nullptr);
    Etat_Pont();
    Code_Erreur = 0;
    Ouvrir();
    ASSERT_NE(Ecran_Pont(), nullptr);
    const size_t trames = bus.Trames_Recues().size();

    // Octet fields: digits only, above 255 refused when the key comes up.
    Onglets()->setCurrentIndex(1);
    QLineEdit* octet = Txt("Txt_Adr_IP_Gateway", 2);
    octet->clear();
    Taper(octet, QStringLiteral("2a5"));
    EXPECT_EQ(octet->text(), QStringLiteral("25"));
    EXPECT_TRUE(boites.Messages.empty());
    Taper(octet, QStringLiteral("6"));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Invalide});
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(octet->text(), QStringLiteral("0"));
    boites.Effacer();
    octet->clear();
    Taper(octet, QStringLiteral("2555"));
    EXPECT_EQ(octet->text(), QStringLiteral("255"));
    Taper(octet, QStringLiteral("\b\b\b"));
    EXPECT_EQ(octet->text(), QString());
    Taper(octet, QStringLiteral("099"));
    EXPECT_EQ(octet->text(), QStringLiteral("099"));
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Txt("Txt_Adr_IP_Gateway", 1)->text(), QStringLiteral("0"));  // the others untouched

    // Telephone: digits and "W" only, 15 at most.
    QLineEdit* tel = Txt("Txt_Num_Tél");
    tel->clear();
    Taper(tel, QStringLiteral("0Ww1-2 3456789012345"));
    EXPECT_EQ(tel->text(), QStringLiteral("0W1234567890123"));
    // Login, password, server: 32 to 122.
    for (const char* nom : {"Txt_Login", "Txt_Password", "Txt_SMTP"}) {
        QLineEdit* champ = Txt(nom);
        champ->clear();
        Taper(champ, QStringLiteral("a é{~|}Z@.-_9"));
        EXPECT_EQ(champ->text(), QStringLiteral("a Z@.-_9")) << nom;
    }
    EXPECT_EQ(Txt("Txt_Login")->maxLength(), 32);
    EXPECT_EQ(Txt("Txt_Password")->maxLength(), 15);
    EXPECT_EQ(Txt("Txt_SMTP")->maxLength(), 32);
    // The sender takes anything, 40 at most.
    QLineEdit* emetteur = Txt("Txt_Adr_Email_Emetteur");
    emetteur->clear();
    Taper(emetteur, QStringLiteral("é~{ x"));
    EXPECT_EQ(emetteur->text(), QStringLiteral("é~{ x"));
    EXPECT_EQ(emetteur->maxLength(), 40);

    // Click selects everything; typing replaces it.
    QLineEdit* login = Txt("Txt_Login");
    login->setText(QStringLiteral("ancien"));
    Cliquer(login);
    EXPECT_EQ(login->selectedText(), QStringLiteral("ancien"));
    Taper(login, QStringLiteral("n"));
    EXPECT_EQ(login->text(), QStringLiteral("n"));

    // Tab 1: recipients take anything up to 64; the file name its own range.
    Onglets()->setCurrentIndex(0);
    QLineEdit* destinataire = Txt("Txt_Adre_email", 0);
    EXPECT_EQ(destinataire->maxLength(), 64);
    destinataire->clear();
    Taper(destinataire, QStringLiteral("é~ {x}"));
    EXPECT_EQ(destinataire->text(), QStringLiteral("é~ {x}"));
    Cliquer(destinataire);
    EXPECT_TRUE(destinataire->selectedText().isEmpty());  // no select-all there
    QLineEdit* nom = Txt("Txt_Nom_Fichier");
    nom->clear();
    Taper(nom, QStringLiteral("a b.c-D_9:@[`{"));
    EXPECT_EQ(nom->text(), QStringLiteral("abcD_9:@[`"));
    Taper(nom, QStringLiteral("klmnopq"));
    EXPECT_EQ(nom->text().size(), 16);

    // Names follow the module chosen: back and forth keeps each as edited.
    nom->setText(QStringLiteral("A1"));
    Modules()->setCurrentIndex(1);
    EXPECT_EQ(nom->text(), QStringLiteral("site3"));
    Modules()->setCurrentIndex(0);
    EXPECT_EQ(nom->text(), QStringLiteral("A1"));
    EXPECT_EQ(Ecran_Pont()->Noms_Fichiers_Envoi[1], QStringLiteral("site3"));

    // Tab 3: board login and password 32..122, 16 at most.
    Onglets()->setCurrentIndex(2);
    QLineEdit* psw = Txt("Txt_Psw_Netrove");
    psw->clear();
    Taper(psw, QStringLiteral("é12345678901234567"));
    EXPECT_EQ(psw->text(), QStringLiteral("1234567890123456"));
    EXPECT_EQ(psw->echoMode(), QLineEdit::Normal);

    // Imprimer leaves everything as it is; Esc leaves as Annuler, nothing sent.
    Clic("Cmd_Imprimer");
    EXPECT_TRUE(registre.Est_Chargee(Pont));
    EXPECT_EQ(psw->text(), QStringLiteral("1234567890123456"));
    EXPECT_EQ(bus.Trames_Recues().size(), trames);
    QTest::keyClick(psw, Qt::Key_Escape);
    EXPECT_FALSE(registre.Est_Chargee(Pont));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));
    EXPECT_EQ(bus.Trames_Recues().size(), trames);
    EXPECT_EQ(Modes(), std::vector<Entier>{});
}
