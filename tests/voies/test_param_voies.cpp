// The channel settings screen: opening with and without a module, import,
// save and restore, print, the way to the purge screen and the way back.
#include "banc_voies.h"
#include "commun/dialogues_test.h"

using namespace ostrel;
using namespace ostrel_test;

namespace {

Parametres_Voie Voie_Type(int k) {
    Parametres_Voie v = Voie_Defaut(k - 1);
    v.Voie_Valide = Vrai;
    v.Periode_Enreg = static_cast<Octet>(10 + k);
    v.Tempo_Alarme = static_cast<Octet>(5 + k);
    v.Seuil_Haut = 40.5f + k;
    v.Seuil_Bas = -10.0f - k;
    v.Echelle_4mA = 0;
    v.Echelle_20mA = 200;
    v.Alarme_Valide = Vrai;
    v.Relais_2 = k % 2 ? Vrai : Faux;
    v.Buzzer = k % 3 ? Vrai : Faux;
    v.Nature_Capteur = 1;
    v.Unite = 2;
    return v;
}

// Channel 5 silent through the first attempt and its five retries.
std::vector<sim::Defaut> Silence_Voie_5() {
    std::vector<sim::Defaut> d(4);
    d.insert(d.end(), 6, sim::Defaut(sim::Defaut::Silence));
    return d;
}

}  // namespace

TEST_F(Banc_Voies, OuvertureModule16Voies) {
    Bus({1}, 16);
    for (int k = 1; k <= 16; ++k) Voie_Module(1, k, Voie_Type(k), QByteArray("Salle ") + QByteArray::number(k), 10 * k);
    Demarrer(vbYes);
    bus.Effacer_Trames();
    Frm_Param_Voies_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(boites.Messages.empty());  // no question when the module answers
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Réglages des voies"));
    EXPECT_EQ(Tableau()->Lbl_Nom_Menu(), QStringLiteral("Réglages des voies"));
    EXPECT_EQ(C<QLabel>("Lbl_Nom_Ostrelclim")->text(), QStringLiteral("Module n°1"));
    EXPECT_TRUE(Tableau()->Lbl_OC(0)->font().underline());
    EXPECT_EQ(e->Nb_Voies_Affichees, 16);
    EXPECT_EQ(Nb_Voies_Module[0], 16);
    auto* onglets = C<QTabBar>("TabStrip_Voies");
    ASSERT_EQ(onglets->count(), 16);
    EXPECT_EQ(onglets->tabText(0), QStringLiteral("voie 1"));
    EXPECT_EQ(onglets->tabText(15), QStringLiteral("voie 16"));
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 1);
    EXPECT_EQ(bus.Nombre_Requetes(0x02), 16);
    EXPECT_EQ(bus.Nombre_Requetes(0x12), 16);
    EXPECT_EQ(bus.Nombre_Requetes(0x03), 16);
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(V(k).Periode_Enreg, 10 + k);
        EXPECT_EQ(V(k).Tempo_Alarme, 5 + k);
        EXPECT_FLOAT_EQ(V(k).Seuil_Haut, 40.5f + k);
        EXPECT_FLOAT_EQ(V(k).Seuil_Bas, -10.0f - k);
        EXPECT_EQ(V(k).Relais_2, k % 2 ? Vrai : Faux);
        EXPECT_EQ(V(k).Buzzer, k % 3 ? Vrai : Faux);
        EXPECT_EQ(V(k).Unite, 2);
        EXPECT_EQ(V(k).Nom_Voie, (QStringLiteral("Salle ") + QString::number(k)).leftJustified(12));
        EXPECT_FLOAT_EQ(V(k).Offset, static_cast<Simple>(k));
    }
    // Progress of the import: a third of a channel for its settings, the rest for its name.
    const auto& pb = Tableau()->historique_pb_;
    ASSERT_GE(pb.size(), 33u);
    EXPECT_EQ(std::vector<int>(pb.end() - 33, pb.end() - 27), (std::vector<int>{0, 2, 6, 8, 12, 15}));
    EXPECT_EQ(pb.back(), 100);
    EXPECT_EQ(Tableau()->Caption_Pb(), QStringLiteral("Téléchargement terminé"));
    EXPECT_FALSE(Tableau()->Progression_Visible());

    // The first channel on show; lists filled.
    EXPECT_EQ(Num_Voie_Affichee, 0);
    EXPECT_EQ(C<QLineEdit>("Txt_Nom_Voie")->text(), QStringLiteral("Salle 1").leftJustified(12));
    EXPECT_DOUBLE_EQ(C<Boite_Numerique>("Txt_Per_Enreg")->Value(), 11);
    EXPECT_TRUE(Coche("Opt_4_20"));
    EXPECT_EQ(C<QComboBox>("Cmb_Unite")->currentText(), QStringLiteral("U"));
    EXPECT_EQ(Entrees("Cmb_Unite"), (QStringList{"°C", "%Hr", "U", "Bar"}));
    const QStringList plannings = Entrees("Cmb_Num_Planning_Inhib");
    ASSERT_EQ(plannings.size(), 17);
    EXPECT_EQ(plannings[0], QStringLiteral("Aucun Planning"));
    EXPECT_EQ(plannings[1], QStringLiteral("Planning n°1"));
    EXPECT_EQ(plannings[16], QStringLiteral("Planning n°16"));

    // Another tab shows its channel.
    C<QTabBar>("TabStrip_Voies")->setCurrentIndex(4);
    EXPECT_EQ(Num_Voie_Affichee, 4);
    EXPECT_DOUBLE_EQ(C<Boite_Numerique>("Txt_Seuil_Haut")->Value(), 45.5);
    EXPECT_EQ(C<Boite_Numerique>("Txt_Seuil_Haut")->Text(), QStringLiteral("45,5"));
}

TEST_F(Banc_Voies, OuvertureModule8VoiesValeursInvalides) {
    Bus({1, 4}, 8);
    Parametres_Voie v = Voie_Type(1);
    v.Periode_Enreg = 0;
    v.Tempo_Alarme = 0;
    Voie_Module(4, 1, v);
    v = Voie_Type(2);
    v.Periode_Enreg = 241;
    v.Seuil_Bas = v.Seuil_Haut = 20;  // equal thresholds are refused
    v.Echelle_4mA = v.Echelle_20mA = 50;  // equal scales stay
    Voie_Module(4, 2, v);
    v = Voie_Type(3);
    v.Echelle_4mA = 80;
    v.Echelle_20mA = 20;
    v.Nature_Capteur = 3;
    v.Num_ETOR_Inhib = 17;
    v.Num_Planning_Inhib = 17;
    v.Unite = 4;
    Voie_Module(4, 3, v);
    Demarrer(vbYes);
    Num_Module = 4;
    Frm_Param_Voies_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(C<QLabel>("Lbl_Nom_Ostrelclim")->text(), QStringLiteral("Module n°4"));
    EXPECT_TRUE(Tableau()->Lbl_OC(1)->font().underline());
    EXPECT_FALSE(Tableau()->Lbl_OC(0)->font().underline());
    EXPECT_EQ(Nb_Voies_Module[3], 8);
    EXPECT_EQ(C<QTabBar>("TabStrip_Voies")->count(), 8);
    EXPECT_EQ(bus.Nombre_Requetes(0x02), 8);

    EXPECT_EQ(V(1).Periode_Enreg, 30);
    EXPECT_EQ(V(1).Tempo_Alarme, 30);
    EXPECT_EQ(V(2).Periode_Enreg, 30);
    EXPECT_FLOAT_EQ(V(2).Seuil_Bas, -50);
    EXPECT_FLOAT_EQ(V(2).Seuil_Haut, 150);
    EXPECT_FLOAT_EQ(V(2).Echelle_4mA, 50);
    EXPECT_FLOAT_EQ(V(2).Echelle_20mA, 50);
    EXPECT_FLOAT_EQ(V(3).Echelle_4mA, 0);
    EXPECT_FLOAT_EQ(V(3).Echelle_20mA, 100);
    EXPECT_EQ(V(3).Nature_Capteur, 0);
    EXPECT_EQ(V(3).Num_ETOR_Inhib, 0);
    EXPECT_EQ(V(3).Num_Planning_Inhib, 0);
    EXPECT_EQ(V(3).Unite, 0);
    EXPECT_EQ(V(4).Nom_Voie, QString(12, QLatin1Char(' ')));
}

TEST_F(Banc_Voies, OuvertureSansModule) {
    // Yes: eight default channels.
    Frm_Param_Voies_Forme* e = Ouvrir_Sans_Module(vbYes);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(boites.Textes(), (std::vector<QString>{Question_8_16}));
    EXPECT_EQ(boites.Messages[0].Style & 7, vbYesNo);
    EXPECT_EQ(C<QLabel>("Lbl_Nom_Ostrelclim")->text(), QStringLiteral("Module non connecté"));
    EXPECT_FALSE(Tableau()->Lbl_OC(0)->font().underline());
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_EQ(e->Nb_Voies_Affichees, 8);
    EXPECT_EQ(Nb_Voies_Module[0], 8);
    ASSERT_EQ(C<QTabBar>("TabStrip_Voies")->count(), 8);
    EXPECT_EQ(C<QTabBar>("TabStrip_Voies")->tabText(7), QStringLiteral("voie 8"));
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(V(k).Nom_Voie, QStringLiteral("Voie ") + QString::number(k));
        EXPECT_EQ(V(k).Voie_Valide, Faux);
        EXPECT_EQ(V(k).Periode_Enreg, 30);
        EXPECT_EQ(V(k).Tempo_Alarme, 30);
        EXPECT_FLOAT_EQ(V(k).Seuil_Haut, 150);
        EXPECT_FLOAT_EQ(V(k).Seuil_Bas, -50);
        EXPECT_FLOAT_EQ(V(k).Echelle_20mA, 100);
        EXPECT_EQ(V(k).Buzzer, Vrai);
        EXPECT_EQ(V(k).Alarme_Valide, Faux);
    }
    // Out of service: its settings are disabled, the service option never.
    EXPECT_TRUE(Coche("Opt_Non"));
    EXPECT_FALSE(Actif("Frame_Voie"));
    EXPECT_FALSE(Actif("Check_Etalonnage"));
    EXPECT_TRUE(Actif("Opt_Oui"));

    // No: sixteen.
    registre.Decharger("Frm_Param_Voies");
    boites.Effacer();
    boites.huit_voies = vbNo;
    e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Nb_Voies_Affichees, 16);
    EXPECT_EQ(C<QTabBar>("TabStrip_Voies")->count(), 16);
    EXPECT_EQ(V(16).Nom_Voie, QStringLiteral("Voie 16"));
}

// The controls of one sensor kind only, never two kinds one over the other,
// whether the channel shown is in service or not.
TEST_F(Banc_Voies, HorsServiceLesControlesDUneSeuleNatureSontMontres) {
    auto aucun_chevauchement = [this] {
        std::vector<QWidget*> montres;
        for (QWidget* w : C("Pic_Voie")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(Ecran())) montres.push_back(w);
        for (size_t i = 0; i < montres.size(); ++i)
            for (size_t j = i + 1; j < montres.size(); ++j)
                EXPECT_FALSE(montres[i]->geometry().intersects(montres[j]->geometry()))
                    << montres[i]->objectName().toStdString() << " / " << montres[j]->objectName().toStdString();
    };
    // No module: the default channels are AD590s out of service.
    Frm_Param_Voies_Forme* e = Ouvrir_Sans_Module(vbNo);
    ASSERT_NE(e, nullptr);
    e->resize(1280, 800);
    EXPECT_TRUE(Coche("Opt_AD590"));
    EXPECT_TRUE(Montre("Cmb_Unite"));
    EXPECT_FALSE(Montre("Lbl_Echel_4"));
    EXPECT_FALSE(Montre("Frame_Type_ETOR"));
    aucun_chevauchement();
    // An ETOR in service, then an out-of-service channel: the ETOR's controls stay.
    V(2).Voie_Valide = Vrai;
    V(2).Nature_Capteur = 2;
    e->Affiche_Parametres_Voie(1);
    e->Affiche_Parametres_Voie(2);
    EXPECT_TRUE(Coche("Opt_ETOR"));
    EXPECT_TRUE(Montre("Frame_Role_Etor"));
    EXPECT_FALSE(Montre("Cmb_Unite"));
    aucun_chevauchement();
    registre.Decharger("Frm_Param_Voies");
    Arreter();

    // A module whose first channel is a 4-20 mA out of service: its kind's controls.
    Installer({Enregistrer_Formes_Configuration});
    Bus({1}, 8);
    Parametres_Voie v = Voie_Type(1);
    v.Voie_Valide = Faux;
    Voie_Module(1, 1, v);
    Demarrer(vbYes);
    ASSERT_NE(Ouvrir(), nullptr);
    EXPECT_TRUE(Coche("Opt_4_20"));
    EXPECT_TRUE(Montre("Txt_Echel_20"));
    EXPECT_FALSE(Montre("Opt_Role_ETOR_Inhib"));
    aucun_chevauchement();
}

TEST_F(Banc_Voies, ErreurDeLiaisonALOuvertureEtALImport) {
    Bus({1}, 16);
    for (int k = 1; k <= 16; ++k) Voie_Module(1, k, Voie_Type(k));
    Demarrer(vbYes);
    // Channel 5 does not answer: defaults after the question, no link-problem screen.
    bus.Programmer_Defauts(0x02, Silence_Voie_5());
    Delais_Mixtes();
    boites.huit_voies = vbNo;
    Frm_Param_Voies_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Question_8_16}));
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_EQ(C<QLabel>("Lbl_Nom_Ostrelclim")->text(), QStringLiteral("Module non connecté"));
    EXPECT_FALSE(Tableau()->Progression_Visible());
    EXPECT_EQ(V(1).Voie_Valide, Faux);  // the defaults, not what was read
    EXPECT_EQ(V(1).Periode_Enreg, 30);

    // "Importer" cancelled sends nothing.
    bus.Effacer_Defauts();
    Delais_Reels();
    bus.Effacer_Trames();
    boites.Effacer();
    boites.Reponses = {vbCancel};
    Cliquer("Cmd_Importer");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{QStringLiteral(
                                   "Le module doit être connecté à l'ordinateur pour commencer l'importation des "
                                   "paramètres !")}));
    EXPECT_TRUE(bus.Trames_Recues().empty());

    // The same failure under "Importer": the link-problem screen; channels 1 to 4 kept.
    bus.Programmer_Defauts(0x02, Silence_Voie_5());
    Delais_Mixtes();
    boites.Effacer();
    Cliquer("Cmd_Importer");
    Traiter_Evenements();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_Voies"));
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(V(k).Periode_Enreg, 10 + k) << k;
    EXPECT_EQ(V(6).Periode_Enreg, 30);
    EXPECT_FALSE(Tableau()->Progression_Visible());
}

TEST_F(Banc_Voies, ImporterSuitLeNombreDeVoies) {
    Bus({1}, 16);
    Voie_Module(1, 3, Voie_Type(3), "Cuve");
    Demarrer(vbYes);
    Frm_Param_Voies_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    C<QTabBar>("TabStrip_Voies")->setCurrentIndex(12);
    // The module now answers as an 8-channel one.
    bus.Avec_Etat([](sim::Etat_Bus& b) { return b.modules[1].nb_voies = 8; });
    Cliquer("Cmd_Importer");
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(e->Nb_Voies_Affichees, 8);
    EXPECT_EQ(C<QTabBar>("TabStrip_Voies")->count(), 8);
    EXPECT_EQ(Num_Voie_Affichee, 7);
    EXPECT_EQ(C<QLabel>("Lbl_Nom_Ostrelclim")->text(), QStringLiteral("Module n°1"));
    C<QTabBar>("TabStrip_Voies")->setCurrentIndex(2);
    EXPECT_EQ(C<QLineEdit>("Txt_Nom_Voie")->text().trimmed(), QStringLiteral("Cuve"));
}

TEST_F(Banc_Voies, SauvegardeEtRestauration) {
    Frm_Param_Voies_Forme* e = Ouvrir_Sans_Module(vbYes);
    ASSERT_NE(e, nullptr);
    const QString dossier = disque.filePath("OstrelSoft+/Sauvegardes/Parametrage_voies");
    boites.Effacer();

    // Cancelled: no file, no message.
    Cliquer("Cmd_Sauvegarder");
    ASSERT_EQ(boites.Dialogues.size(), 1u);
    ostrel_test::Dialogue_Txt(boites.Dialogues[0], QStringLiteral("Sauvegarde de la configuration du Module n°1"),
                              QStringLiteral("Config_Voies_MD_1"),
                              QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Parametrage_voies"));
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_TRUE(QDir(dossier).isEmpty());

    // Another extension: nothing either.
    boites.Fichiers = {dossier + "/Config_Voies_MD_1.TXT"};
    Cliquer("Cmd_Sauvegarder");
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_FALSE(QFile::exists(dossier + "/Config_Voies_MD_1.TXT"));

    // Saved under the name proposed, in the folder of the channel files.
    V(2).Nom_Voie = QStringLiteral("Entrepot");
    V(2).Seuil_Haut = 12.5f;
    boites.Fichiers = {QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Parametrage_voies\\Config_Voies_MD_1.txt")};
    Cliquer("Cmd_Sauvegarder");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{QStringLiteral("Sauvegarde terminée!")}));
    const QString fichier = dossier + "/Config_Voies_MD_1.txt";
    ASSERT_TRUE(QFile::exists(fichier));
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray contenu = f.readAll();
    f.close();
    EXPECT_TRUE(Depuis_Cp1252(contenu).startsWith(
        QStringLiteral("Configuration du Module n°1\r\n\r\nNom des Voies\r\nVoie 1\r\nEntrepot\r\n")));

    // Over an existing file, No: the file stays, no success is told.
    boites.Effacer();
    V(2).Nom_Voie = QStringLiteral("Autre");
    boites.Fichiers = {fichier};
    boites.Reponses = {vbNo};
    Cliquer("Cmd_Sauvegarder");
    EXPECT_EQ(boites.Textes(),
              (std::vector<QString>{QStringLiteral("Ce fichier existe déjà. Désirez-vous réellement écraser ce fichier ?")}));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), contenu);
    f.close();

    // A save that cannot be made is told, never followed by the success text.
    boites.Effacer();
    QFile bloc(disque.filePath("bloc"));
    ASSERT_TRUE(bloc.open(QIODevice::WriteOnly));
    bloc.close();
    boites.Fichiers = {disque.filePath("bloc/Config.txt")};
    Cliquer("Cmd_Sauvegarder");
    ASSERT_FALSE(boites.Messages.empty());
    for (const QString& t : boites.Textes()) EXPECT_NE(t, QStringLiteral("Sauvegarde terminée!"));

    // Restored: the table comes back and the channel on show is drawn again.
    C<QTabBar>("TabStrip_Voies")->setCurrentIndex(1);
    EXPECT_EQ(C<QLineEdit>("Txt_Nom_Voie")->text(), QStringLiteral("Autre"));
    boites.Effacer();
    boites.Fichiers = {fichier};
    Cliquer("Cmd_Ouvrir");
    ASSERT_EQ(boites.Dialogues.size(), 1u);
    EXPECT_EQ(boites.Dialogues[0].DialogTitle, QStringLiteral("Restauration d'une configuration à partir d'un fichier"));
    EXPECT_EQ(boites.Dialogues[0].FileName, QStringLiteral("Config_Voies_MD_1"));
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{QStringLiteral("Restauration terminée!")}));
    EXPECT_EQ(V(2).Nom_Voie, QStringLiteral("Entrepot"));
    EXPECT_EQ(C<QLineEdit>("Txt_Nom_Voie")->text(), QStringLiteral("Entrepot"));

    // A bad file: told, and the table stays as it was.
    QFile mauvais(dossier + "/Mauvais.txt");
    ASSERT_TRUE(mauvais.open(QIODevice::WriteOnly));
    mauvais.write("Configuration du Module n°1\r\n\r\nNom des Voies\r\nA\r\n");
    mauvais.close();
    boites.Effacer();
    boites.Fichiers = {mauvais.fileName()};
    Cliquer("Cmd_Ouvrir");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{QStringLiteral("Fichier incorrect!")}));
    EXPECT_EQ(V(1).Nom_Voie, QStringLiteral("Voie 1"));
    EXPECT_EQ(V(2).Nom_Voie, QStringLiteral("Entrepot"));

    // Cancelled open: nothing.
    boites.Effacer();
    Cliquer("Cmd_Ouvrir");
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(Banc_Voies, RestaurationDeCodesHorsLimites) {
    Frm_Param_Voies_Forme* e = Ouvrir_Sans_Module(vbYes);
    ASSERT_NE(e, nullptr);
    // A file written by hand: a sensor kind 5, a unit 9, an ETOR 40, inverted thresholds.
    std::array<Parametres_Voie, 16> t = Tab_Parametres_Voies;
    t[0].Nature_Capteur = 5;
    t[0].Unite = 9;
    t[0].Num_ETOR_Inhib = 40;
    t[0].Periode_Enreg = 250;
    t[0].Seuil_Haut = -10;
    t[0].Seuil_Bas = 10;
    t[0].Offset = 5000;
    // Periods and delays: 240 minutes is the last one taken.
    t[1].Periode_Enreg = t[1].Tempo_Alarme = 240;
    t[2].Periode_Enreg = t[2].Tempo_Alarme = 241;
    const QString fichier = disque.filePath("main.txt");
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Ecrire_Config_Voies(1, t, 8));
    f.close();
    boites.Effacer();
    boites.Fichiers = {fichier};
    Cliquer("Cmd_Ouvrir");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{QStringLiteral("Restauration terminée!")}));
    EXPECT_EQ(V(1).Nature_Capteur, 0);
    EXPECT_EQ(V(1).Unite, 0);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 0);
    EXPECT_EQ(V(1).Periode_Enreg, 30);
    EXPECT_FLOAT_EQ(V(1).Seuil_Bas, -50);
    EXPECT_FLOAT_EQ(V(1).Seuil_Haut, 150);
    EXPECT_FLOAT_EQ(V(1).Offset, 3276.7f);
    EXPECT_EQ(V(2).Periode_Enreg, 240);
    EXPECT_EQ(V(2).Tempo_Alarme, 240);
    EXPECT_EQ(V(3).Periode_Enreg, 30);
    EXPECT_EQ(V(3).Tempo_Alarme, 30);
}

TEST_F(Banc_Voies, Impression) {
    Frm_Param_Voies_Forme* e = Ouvrir_Sans_Module(vbNo);
    ASSERT_NE(e, nullptr);
    V(9).Nom_Voie = QStringLiteral("Neuvieme");
    boites.Effacer();
    Cliquer("Cmd_Imprimer");
    EXPECT_EQ(imprimante.Documents_Termines, 1);
    const std::vector<QString> lignes = imprimante.Textes(1);
    EXPECT_TRUE(std::any_of(lignes.begin(), lignes.end(),
                            [](const QString& l) { return l.contains(QStringLiteral("Configuration du module n° 1")); }));
    EXPECT_TRUE(std::any_of(lignes.begin(), lignes.end(), [](const QString& l) { return l.contains("Neuvieme"); }));
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{QStringLiteral("Impression envoyée à l'imprimante")}));
    EXPECT_TRUE(e->isVisible());

    // A job that does not reach the printer is not told as sent.
    boites.Effacer();
    imprimante.Echec_Prochain_Document = QStringLiteral("plus de papier");
    Cliquer("Cmd_Imprimer");
    ASSERT_FALSE(boites.Messages.empty());
    EXPECT_NE(boites.Textes().back(), QStringLiteral("Impression envoyée à l'imprimante"));
}

TEST_F(Banc_Voies, TelechargementParLEcranDePurge) {
    Bus({1}, 8);
    Demarrer(vbYes);
    Frm_Param_Voies_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    V(1).Nom_Voie = QStringLiteral("A envoyer");
    boites.Effacer();
    Cliquer("Cmd_Telecharger");
    Traiter_Evenements();
    EXPECT_TRUE(boites.Messages.empty());  // connected: no question here
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Réglages des voies"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Purger"));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Purger"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_Voies"));
    EXPECT_EQ(Tab_Parametres_Voies[0].Nom_Voie, QStringLiteral("A envoyer"));  // what the purge screen sends
    EXPECT_EQ(Nb_Voies_Module[0], 8);
}

TEST_F(Banc_Voies, TelechargementSansModule) {
    Frm_Param_Voies_Forme* e = Ouvrir_Sans_Module(vbYes);
    ASSERT_NE(e, nullptr);
    const QString question = QStringLiteral("Le module doit être connecté à l'ordinateur pour commencer le téléchargement !");
    boites.Effacer();
    boites.Reponses = {vbCancel};
    Cliquer("Cmd_Telecharger");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{question}));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_Voies"));
    EXPECT_TRUE(e->isEnabled());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Réglages des voies"));

    boites.Effacer();
    boites.Reponses = {vbOK};
    Cliquer("Cmd_Telecharger");
    Traiter_Evenements();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Purger"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_Voies"));
}

TEST_F(Banc_Voies, RetourApresEtalonnage) {
    Bus({1}, 8);
    Voie_Module(1, 1, Voie_Type(1));
    Demarrer(vbYes);
    Frm_Param_Voies_Forme* e = Ouvrir();
    ASSERT_NE(e, nullptr);
    // Without a calibration: no request, the question only.
    bus.Effacer_Trames();
    boites.Effacer();
    boites.Reponses = {vbCancel};
    Cliquer("Cmd_Quitter");
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Question_Quitter}));
    EXPECT_TRUE(bus.Trames_Recues().empty());
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_Voies"));

    // After one: mode 0, a second, mode 255, even when the operator stays.
    Cliquer("Check_Etalonnage");
    ASSERT_NE(Dialogue(), nullptr);
    D<QAbstractButton>("Cmd_Annuler")->click();
    Traiter_Evenements();
    EXPECT_TRUE(e->Etalonnage_Demande);
    bus.Avec_Etat([](sim::Etat_Bus& b) { b.modules[1].modes_recus.clear(); return 0; });
    boites.Effacer();
    boites.Reponses = {vbCancel};
    Cliquer("Cmd_Quitter");
    EXPECT_EQ(bus.Avec_Etat([](sim::Etat_Bus& b) { return b.modules[1].modes_recus; }), (std::vector<Entier>{0, 255}));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Patientez"));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_Voies"));

    // The first command lost: the second still goes, and nothing is reported.
    bus.Avec_Etat([](sim::Etat_Bus& b) { b.modules[1].modes_recus.clear(); return 0; });
    bus.Programmer_Defauts(0x16, std::vector<sim::Defaut>(6, sim::Defaut(sim::Defaut::Silence)));
    Delais_Mixtes(7500);
    boites.Effacer();
    boites.Reponses = {vbCancel};
    Cliquer("Cmd_Quitter");
    EXPECT_EQ(bus.Avec_Etat([](sim::Etat_Bus& b) { return b.modules[1].modes_recus; }), (std::vector<Entier>{255}));
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Question_Quitter}));

    // Esc asks the same; OK leaves for the configuration menu.
    bus.Effacer_Defauts();
    Delais_Reels();
    boites.Effacer();
    boites.Reponses = {vbOK};
    int esc = 27;
    e->Form_KeyUp(esc, 0);
    Traiter_Evenements();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Question_Quitter}));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_Voies"));
}

TEST_F(Banc_Voies, EtalonnageSansModuleNeFaitRien) {
    Frm_Param_Voies_Forme* e = Ouvrir_Sans_Module(vbYes);
    ASSERT_NE(e, nullptr);
    C<QTabBar>("TabStrip_Voies")->setCurrentIndex(3);
    Cliquer("Opt_Oui");
    boites.Effacer();
    e->Check_Etalonnage_Click();
    EXPECT_EQ(Num_Voie_Etalonnage, 3);
    EXPECT_TRUE(e->Etalonnage_Demande);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Etalonnage"));
    EXPECT_TRUE(e->isEnabled());
    EXPECT_TRUE(boites.Messages.empty());
    // Not connected: no mode commands on the way out.
    boites.Reponses = {vbCancel};
    Cliquer("Cmd_Quitter");
    EXPECT_FALSE(registre.Est_Chargee("Frm_Patientez"));
}
