#include <QGroupBox>
#include <QLabel>

#include "banc_mesures.h"
#include "platform/ui/couleurs_ui.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const QString Points = QStringLiteral("   ...   ");

Couleur Fore(const QWidget* w) { return w->property("ForeColor").value<Couleur>(); }

QStringList Colonne(Frm_Mesures_Forme* e, QLabel* (Frm_Mesures_Forme::*libelle)(int) const) {
    QStringList t;
    for (int i = 0; i < e->Nb_Voies; ++i) t << (e->*libelle)(i)->text();
    return t;
}

QString Nom12(const char* nom) { return QString::fromUtf8(nom).leftJustified(12); }

class Ecran_Mesures : public Banc_Mesures {};

}  // namespace

TEST_F(Ecran_Mesures, SeizeVoiesConstruitesDepuisLeModule) {
    Nb_Voies_Module[1] = 8;  // as a stale value: the module's status word decides
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->Nb_Voies, 16);
    EXPECT_EQ(Nb_Voies_Module[1], 16);
    EXPECT_EQ(historique.Lbl_Nom_Menu(), QStringLiteral("Mesures"));
    EXPECT_EQ(historique.module_souligne_, 2);
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Consultation"));
    EXPECT_EQ(e->Frame_Fenetre_Generale()->title(), QStringLiteral("Chambres froides site 2"));

    // One status read, then settings and name of every channel in order.
    std::vector<Requete_Vue> attendu{{0x07, 255}};
    for (int v = 1; v <= 16; ++v) {
        attendu.push_back({0x02, v});
        attendu.push_back({0x12, v});
    }
    EXPECT_EQ(Requetes(), attendu);

    QStringList numeros, noms;
    for (int v = 1; v <= 16; ++v) numeros << QStringLiteral("%1 -").arg(v);
    for (const char* n : {"Chambre 1", "Chambre 2", "Congelateur", "Quai", "Labo", "Reserve", "Hall", "Porte", "Cuisine",
                          "Cave", "Bureau", "Atelier", "Serre", "Vestiaire", "Local tech", "Porte quai"})
        noms << Nom12(n);  // as read, blanks kept
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_NumeroVoie), numeros);
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_NomVoie), noms);
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_Mesure), QStringList(16, "XXX.X"));
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_Alarme), QStringList(16, Points));
    QStringList unites(15, QStringLiteral("°C"));
    unites << QString();  // the contact input shows no unit
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_Unite_Mes), unites);
    QStringList bas(15, QStringLiteral("-50")), haut(15, QStringLiteral("150"));
    bas << QStringLiteral("NO");
    haut << Points;
    haut[1] = QStringLiteral("8");
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_SeuilBas), bas);
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_SeuilHaut), haut);

    EXPECT_EQ(e->Lbl_NomVoie(0)->toolTip(), QStringLiteral("Periode d'enregistrement : 30 minutes"));
    EXPECT_EQ(e->Lbl_SeuilBas(0)->toolTip(), QStringLiteral("Temporisation d'alarme : 30 minutes"));
    EXPECT_EQ(e->Lbl_SeuilHaut(0)->toolTip(), QStringLiteral("Temporisation d'alarme : 30 minutes"));
    EXPECT_EQ(e->Lbl_Mesure(0)->toolTip(), QString());
    EXPECT_EQ(e->Lbl_Mesure(15)->toolTip(), QStringLiteral("Contact normalement ouvert"));

    // Rows fill the frame in order, one under the other, inside it.
    for (int i = 0; i < 16; ++i) {
        QWidget* p = e->Picture_Voie(i);
        EXPECT_TRUE(p->isVisible());
        EXPECT_EQ(p->parentWidget(), e->Frame_Fenetre_Generale());
        EXPECT_LE(p->geometry().bottom(), e->Frame_Fenetre_Generale()->height());
        if (i > 0) {
            EXPECT_GT(p->y(), e->Picture_Voie(i - 1)->geometry().bottom());
        }
    }
    // Controls keep their names; array elements carry their index.
    EXPECT_EQ(e->findChild<QLabel*>(QStringLiteral("Lbl_Unité_Mes_3")), e->Lbl_Unite_Mes(3));
    EXPECT_EQ(e->findChild<QLabel*>(QStringLiteral("Lbl_Mesure_15"))->property("Index").toInt(), 15);
    for (const char* nom : {"Lbl_Titre_Mesure", "Lbl_Titre_SeuilBas", "Lbl_Titre_SeuilHaut", "Lbl_Titre_Alarme"})
        EXPECT_NE(e->findChild<QLabel*>(QString::fromLatin1(nom)), nullptr) << nom;
    // The column titles stand over their columns.
    auto centre = [e](QWidget* w) { return w->mapTo(e, w->rect().center()).x(); };
    EXPECT_EQ(centre(e->findChild<QLabel*>("Lbl_Titre_SeuilBas")), centre(e->Lbl_SeuilBas(0)));
    EXPECT_EQ(centre(e->findChild<QLabel*>("Lbl_Titre_SeuilHaut")), centre(e->Lbl_SeuilHaut(0)));
    EXPECT_EQ(centre(e->findChild<QLabel*>("Lbl_Titre_Alarme")), centre(e->Lbl_Alarme(0)));

    // Progress of the load: one step per channel, then hidden with "...".
    std::vector<int> pb{0};
    for (int v = 1; v <= 16; ++v) pb.push_back(static_cast<int>(Arrondi_Pair(v * 100.0 / 16)));
    EXPECT_EQ(historique.historique_pb_, pb);
    ASSERT_EQ(historique.captions.size(), 18u);
    EXPECT_EQ(historique.captions.front(), QStringLiteral("Voie n°1"));
    EXPECT_EQ(historique.captions[16], QStringLiteral("Voie n°17"));
    EXPECT_EQ(historique.captions.back(), QStringLiteral("..."));
    EXPECT_EQ(historique.affichages, (std::vector<bool>{true, false}));

    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());
    EXPECT_EQ(e->Tmr_Temps_Reel()->Interval(), 100);
    EXPECT_TRUE(e->Tmr_Blink()->Enabled());
    EXPECT_EQ(e->Tmr_Blink()->Interval(), 1500);
    EXPECT_FALSE(e->Frame_Code_Acce()->isVisible());
    EXPECT_TRUE(Lignes_Trace().last().endsWith(QStringLiteral("Accès écran Mesures")));
}

TEST_F(Ecran_Mesures, HuitVoiesPourUnModuleDeHuit) {
    Frm_Mesures_Forme* e = Ouvrir(1);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Nb_Voies, 8);
    EXPECT_EQ(Nb_Voies_Module[0], 8);
    EXPECT_EQ(e->Nb_Rangees(), 8);
    EXPECT_EQ(Requetes(0x02).size(), 8u);
    EXPECT_EQ(e->Lbl_NomVoie(7)->text(), Nom12("Porte quai"));
    EXPECT_EQ(e->Lbl_SeuilBas(7)->text(), QStringLiteral("NO"));
    EXPECT_LE(e->Picture_Voie(7)->geometry().bottom(), e->Frame_Fenetre_Generale()->height());

    // The sweep runs over the 8 rows and starts again at the first.
    Oublier();
    Balayer(9);
    std::vector<Requete_Vue> attendu;
    for (int v : {1, 2, 3, 4, 5, 6, 7, 8, 1}) {
        attendu.push_back({0x00, v});
        attendu.push_back({0x01, v});
    }
    EXPECT_EQ(Requetes(), attendu);
}

TEST_F(Ecran_Mesures, LeBalayageLitUneVoieParTopEtColoreLesEtats) {
    Modifier_Voie(2, 4, [](sim::Voie_Simulee& v) { v.etat = 13; });  // a code beyond the table
    Modifier_Voie(2, 5, [](sim::Voie_Simulee& v) { v.mesure = 215; v.etat = 9; });
    Modifier_Voie(2, 6, [](sim::Voie_Simulee& v) { v.etat = 5; });
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    Oublier();

    e->Tmr_Temps_Reel()->Declencher();
    EXPECT_EQ(Requetes(), (std::vector<Requete_Vue>{{0x00, 1}, {0x01, 1}}));
    EXPECT_EQ(Voie_Courante, 1);
    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());  // on again after the step
    EXPECT_EQ(e->Lbl_Mesure(0)->text(), QStringLiteral("5"));
    EXPECT_EQ(e->Lbl_Mesure(1)->text(), QStringLiteral("XXX.X"));  // not reached yet

    Balayer(15);
    EXPECT_EQ(Voie_Courante, 0);
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_Mesure),
              (QStringList{"5", "9,5", "-62", "10,1", "21,5", "13,5", "15,2", "16,9", "18,6", "20,3", "22", "-3276,8",
                           "25,4", "27,1", "28,8", "Ouvert"}));
    EXPECT_EQ(Colonne(e, &Frm_Mesures_Forme::Lbl_Alarme),
              (QStringList{Points, "Alarme haute non acquittée", "Alarme basse acquittée", "", "Défaut acquitté", Points,
                           Points, Points, Points, Points, Points, "Défaut non acquitté", Points, Points, Points, Points}));
    for (int i = 0; i < 16; ++i) {
        const bool rouge = i == 1 || i == 2 || i == 4 || i == 11;
        EXPECT_EQ(Fore(e->Lbl_Mesure(i)), rouge ? Couleur_Rouge : Couleur_Verte) << i;
        EXPECT_EQ(Fore(e->Lbl_Alarme(i)), rouge ? Couleur_Rouge : Couleur_Verte) << i;
        EXPECT_EQ(Fore(e->Lbl_NomVoie(i)), e->Couleur_Normale) << i;
    }

    // The contact closes, the state changes: the next pass shows it.
    Modifier_Voie(2, 16, [](sim::Voie_Simulee& v) { v.mesure = -32767; });
    Modifier_Voie(2, 2, [](sim::Voie_Simulee& v) { v.etat = 1; });
    Balayer(16);
    EXPECT_EQ(e->Lbl_Mesure(15)->text(), QStringLiteral("Fermé"));
    EXPECT_EQ(e->Lbl_Alarme(1)->text(), QStringLiteral("Alarme haute acquittée"));
    EXPECT_EQ(Requetes().size(), 64u);
}

TEST_F(Ecran_Mesures, VoiesHorsServiceSansAlarmeEtNomsVides) {
    Modifier_Voie(2, 5, [](sim::Voie_Simulee& v) { v.reglages[13] &= ~0x01; });  // out of service
    Modifier_Voie(2, 6, [](sim::Voie_Simulee& v) { v.reglages[13] &= ~0x02; });  // alarms disabled
    Modifier_Voie(2, 7, [](sim::Voie_Simulee& v) { v.nom = QByteArray(12, ' '); });
    Modifier_Voie(2, 8, [](sim::Voie_Simulee& v) {
        v.reglages[13] = 0x01 | 0x02 | (2 << 3) | 0x20;  // contact input, normally closed
        v.mesure = -32767;
    });
    Modifier_Voie(2, 9, [](sim::Voie_Simulee& v) { v.reglages[15] = 0x09; });  // unit code 1
    Modifier_Voie(2, 10, [](sim::Voie_Simulee& v) { v.reglages[15] = 0x0E; });  // unit code 6: none
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);

    for (QLabel* l : {e->Lbl_NumeroVoie(4), e->Lbl_NomVoie(4), e->Lbl_Unite_Mes(4), e->Lbl_SeuilBas(4), e->Lbl_SeuilHaut(4)})
        EXPECT_EQ(Fore(l), Couleur_Grise) << l->objectName().toStdString();
    EXPECT_EQ(Fore(e->Lbl_NomVoie(3)), e->Couleur_Normale);
    EXPECT_EQ(e->Lbl_SeuilBas(5)->text(), Points);
    EXPECT_EQ(e->Lbl_SeuilHaut(5)->text(), Points);
    EXPECT_EQ(e->Lbl_SeuilBas(5)->toolTip(), QString());
    EXPECT_EQ(e->Lbl_SeuilHaut(5)->toolTip(), QString());
    EXPECT_EQ(e->Lbl_NomVoie(6)->text(), QStringLiteral("Voie 7"));
    EXPECT_EQ(e->Lbl_SeuilBas(7)->text(), QStringLiteral("NF"));
    EXPECT_EQ(e->Lbl_SeuilHaut(7)->text(), Points);
    EXPECT_EQ(e->Lbl_Unite_Mes(7)->text(), QString());
    EXPECT_EQ(e->Lbl_Mesure(7)->toolTip(), QStringLiteral("Contact normalement fermé"));
    EXPECT_EQ(e->Lbl_Unite_Mes(8)->text(), QStringLiteral("%Hr"));
    EXPECT_EQ(e->Lbl_Unite_Mes(9)->text(), QStringLiteral("Unité"));

    // Two passes: the channel out of service is never asked.
    Oublier();
    Balayer(32);
    EXPECT_EQ(Requetes().size(), 60u);
    for (const Requete_Vue& r : Requetes()) EXPECT_NE(r.valeur, 5) << r.code;
    EXPECT_EQ(e->Lbl_Mesure(4)->text(), QStringLiteral("XXX.X"));
    EXPECT_EQ(e->Lbl_Alarme(4)->text(), Points);
    EXPECT_EQ(Fore(e->Lbl_NumeroVoie(4)), Couleur_Grise);
    EXPECT_EQ(e->Lbl_Mesure(7)->text(), QStringLiteral("Fermé"));
}

TEST_F(Ecran_Mesures, LesAlarmesEnAttenteClignotentLesAcquitteesNon) {
    const Octet etats[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0};
    for (int v = 1; v <= 16; ++v) Modifier_Voie(2, v, [&](sim::Voie_Simulee& s) { s.etat = etats[v - 1]; });
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    Balayer(16);
    const std::set<int> clignotent{2, 4, 6, 8, 10, 12};
    const std::set<int> rouges{1, 2, 3, 4, 6, 8, 9, 10, 12};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Fore(e->Lbl_Alarme(i)), rouges.count(etats[i]) ? Couleur_Rouge : Couleur_Verte) << i;

    Oublier();
    ASSERT_TRUE(e->Tmr_Blink()->Declencher());
    for (int i = 0; i < 16; ++i) {
        const Couleur attendue = clignotent.count(etats[i]) ? Couleur_Verte : (rouges.count(etats[i]) ? Couleur_Rouge : Couleur_Verte);
        EXPECT_EQ(Fore(e->Lbl_Mesure(i)), attendue) << i;
        EXPECT_EQ(Fore(e->Lbl_Alarme(i)), attendue) << i;
    }
    e->Tmr_Blink()->Declencher();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Fore(e->Lbl_Alarme(i)), rouges.count(etats[i]) ? Couleur_Rouge : Couleur_Verte) << i;
    EXPECT_TRUE(Requetes().empty());  // the blink never talks to the module
    EXPECT_TRUE(e->Tmr_Blink()->Enabled());
}

TEST_F(Ecran_Mesures, RetourParBoutonQOuEchap) {
    for (int touche : {0, int(Qt::Key_Q), int(Qt::Key_Escape)}) {
        historique.Lbl_Informations(QStringLiteral("Modules en service"));
        historique.Fond_Lbl_Alarme(Couleur_Rouge);
        Frm_Mesures_Forme* e = Ouvrir(2);
        ASSERT_NE(e, nullptr);
        if (touche == 0)
            QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Retour")), Qt::LeftButton);
        else
            QTest::keyClick(e, static_cast<Qt::Key>(touche));
        EXPECT_FALSE(registre.Est_Chargee(QStringLiteral("Frm_Mesures"))) << touche;
        EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
        EXPECT_EQ(Demande_Quitter_Mesures, Vrai);
        // The dashboard's module display is reset on the way out.
        EXPECT_EQ(historique.Lbl_Informations(), QString());
        EXPECT_EQ(historique.Fond_Lbl_Alarme(), Couleur_Fond_Bandeau);
        EXPECT_EQ(historique.module_souligne_, 0);
        ostrel_test::Traiter_Evenements();
    }
}

TEST_F(Ecran_Mesures, LaToucheIDemandeUneImpressionAuProchainPas) {
    Frm_Mesures_Forme* e = Ouvrir(1);
    ASSERT_NE(e, nullptr);
    QTest::keyClick(e, Qt::Key_I);
    QTest::keyClick(e, Qt::Key_I, Qt::ShiftModifier);
    int code = 105;  // the other code the screen takes for it
    e->Form_KeyUp(code, 0);
    EXPECT_EQ(e->Demande_Impression, Vrai);
    EXPECT_TRUE(imprimante.Lignes.empty());  // nothing before the sweep step

    Oublier();
    e->Tmr_Temps_Reel()->Declencher();
    EXPECT_EQ(e->Demande_Impression, Faux);
    EXPECT_EQ(imprimante.Documents_Termines, 1);  // several presses, one print
    // The step's own reads first, then the report's.
    const auto r = Requetes();
    ASSERT_EQ(r.size(), 2u + 3u * 8u);
    EXPECT_EQ(r[0], (Requete_Vue{0x00, 1}));
    EXPECT_EQ(r[2], (Requete_Vue{0x12, 1}));
    EXPECT_EQ(Voie_Courante, 1);
    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());
    EXPECT_TRUE(boites.Messages.empty());

    // Letters typed in the identification box are not shortcuts.
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Acquitter")), Qt::LeftButton);
    QTest::keyClicks(e->Txt_Code_Acce(), QStringLiteral("iq"));
    EXPECT_EQ(e->Demande_Impression, Faux);
    EXPECT_TRUE(registre.Est_Chargee(QStringLiteral("Frm_Mesures")));
}

TEST_F(Ecran_Mesures, UneErreurDuBalayageMeneAuxProblemesDeLiaison) {
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    Balayer(2);
    historique.Lbl_Informations(QStringLiteral("Modules en service"));
    Echec(0x01, 0, 6);  // channel 3's state: every attempt refused
    Oublier();
    e->Tmr_Temps_Reel()->Declencher();

    EXPECT_EQ(Requetes(), (std::vector<Requete_Vue>{{0x00, 3}, {0x01, 3}, {0x01, 3}, {0x01, 3}, {0x01, 3}, {0x01, 3}, {0x01, 3}}));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Mesures"));
    EXPECT_FALSE(registre.Est_Chargee(QStringLiteral("Frm_Mesures")));
    EXPECT_TRUE(registre.Est_Chargee(QStringLiteral("Frm_Pb_Liaison")));
    EXPECT_EQ(historique.Lbl_Informations(), QString());
    EXPECT_EQ(Code_Erreur, 4);
    EXPECT_TRUE(Lignes_Trace().last().endsWith(QStringLiteral("Accès écran Problèmes Liaison")));
}

TEST_F(Ecran_Mesures, EchecsALOuverture) {
    // An error already pending: the screen unloads itself without a request.
    Code_Erreur = 15;
    Num_Module = 2;
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Mesures"), Faux);
    EXPECT_FALSE(registre.Est_Chargee(QStringLiteral("Frm_Mesures")));
    EXPECT_TRUE(Requetes().empty());

    // The status read fails: no row is built, the first tick (at the designed
    // 2 s) hands over to the link-problem screen.
    historique.Lbl_Nom_Menu(QStringLiteral("Consultation"));
    Echec(0x07, 0, 6);
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(historique.Lbl_Nom_Menu(), QStringLiteral("Consultation"));
    EXPECT_TRUE(Requetes(0x02).empty());
    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());
    EXPECT_EQ(e->Tmr_Temps_Reel()->Interval(), 2000);
    e->Tmr_Temps_Reel()->Declencher();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(registre.Est_Chargee(QStringLiteral("Frm_Mesures")));
    ostrel_test::Traiter_Evenements();

    // The name of channel 3 fails: rows 1 and 2 stay, the bar stays shown.
    bus.Effacer_Defauts();
    Echec(0x12, 2, 6);
    historique.affichages.clear();
    e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Lbl_NomVoie(1)->text(), Nom12("Chambre 2"));
    EXPECT_EQ(e->Lbl_NumeroVoie(2)->text(), QStringLiteral("3 -"));
    EXPECT_EQ(e->Lbl_NomVoie(2)->text(), QStringLiteral("Voie 1"));  // as designed
    EXPECT_EQ(historique.affichages, std::vector<bool>{true});
    EXPECT_EQ(e->Tmr_Temps_Reel()->Interval(), 2000);
    e->Tmr_Blink()->Declencher();  // harmless over rows not built
    e->Tmr_Temps_Reel()->Declencher();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
}
