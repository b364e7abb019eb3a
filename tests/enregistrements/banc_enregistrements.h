#pragma once
// The program's screens on a temporary drive C, with the dashboard, the
// recordings menu and viewer, scripted boxes, the recording printer and,
// when a test asks for it, the simulated bus on port 1.
#include <gtest/gtest.h>

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>

#include "commun/fichiers_test.h"
#include "commun/programme_essai.h"
#include "files/enregistrements.h"
#include "history/donnees_enreg.h"
#include "history/formes_historique.h"
#include "history/frm_enreg.h"
#include "history/frm_menu_enreg.h"
#include "history/graphe_enreg.h"
#include "history/liste_numerique.h"
#include "history/partage_enregistrements.h"
#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/imprimante.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "sim/simulateur.h"

namespace ostrel::test {

// The captions of a label as they were painted, one entry per change.
class Espion_Captions : public QObject {
public:
    explicit Espion_Captions(QLabel* label) : label_(label) { label->installEventFilter(this); }
    ~Espion_Captions() override {
        if (label_) label_->removeEventFilter(this);
    }
    QStringList Captions;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && (Captions.isEmpty() || Captions.back() != label_->text()))
            Captions << label_->text();
        return false;
    }

private:
    QPointer<QLabel> label_;
};

// Wednesday 10 March 2027, 14:00.
inline Date Maintenant_Banc() { return DateSerial(2027, 3, 10) + TimeSerial(14, 0, 0); }

// A point of a simulated channel.
inline sim::Point_Enregistre Point_Sim(int jour, int heure, int minute, Entier dixiemes, bool alarme = false) {
    sim::Point_Enregistre p;
    p.quand = {2027, 3, jour, heure, minute};
    p.valeur = dixiemes;
    p.alarme = alarme;
    return p;
}

class Banc_Enregistrements : public ::testing::Test, protected ostrel_test::Programme_Essai<> {
protected:
    void SetUp() override {
        ostrel_test::Application();
        ASSERT_TRUE(disque.isValid());
        Installer({Enregistrer_Formes_Historique});
        Donnees_Fichier = Faux;
        Lecture_Tous_Enreg = Faux;
        Definir_Horloge_Murale([] { return Maintenant_Banc(); });
    }
    void TearDown() override { Arreter(); }

    // Starts the program: with the bus (the modules configured beforehand)
    // or without any module.
    Frm_Menu1_Forme* Demarrer(bool avec_bus) {
        if (avec_bus) {
            EXPECT_TRUE(Demarrer_Bus());
            Definir_Echelle_Temps(0.02);
        }
        Frm_Menu1_Forme* t = Demarrer_Tableau(avec_bus ? vbYes : vbNo);
        boites.Effacer();
        return t;
    }

    Frm_Menu_Enreg_Forme* Menu() const { return registre.Instance_De<Frm_Menu_Enreg_Forme>("Frm_Menu_Enreg"); }
    Frm_Enreg_Forme* Visionneuse() const { return registre.Instance_De<Frm_Enreg_Forme>("Frm_Enreg"); }

    Frm_Menu_Enreg_Forme* Ouvrir_Menu() {
        Liaison_Ecran(QStringLiteral("Consultation"), QStringLiteral("Menu Enregistrements"), Faux);
        return Menu();
    }

    // The menu's OK, then its timer's tick that opens the viewer.
    Frm_Enreg_Forme* Charger_Et_Ouvrir(Frm_Menu_Enreg_Forme* menu) {
        menu->Cmd_OK_Click();
        if (!menu->Timer1->Enabled()) return nullptr;
        menu->Timer1->Declencher();
        ostrel_test::Traiter_Evenements();
        return Visionneuse();
    }

    // Module 2, 16 channels: 1 "Chambre 1" with 10 points (20.0 .. 24.5, one in
    // alarm) and thresholds 25 / 5; 2 a contact input with points; 3 out of
    // service; 4 valid without point; 5 with a power cut and an inhibited
    // value; 6 named with 12 blanks; 16 with 3 points.
    void Configurer_Module_2() {
        bus.Configurer({1, 2}, 16);
        bus.Avec_Etat([](sim::Etat_Bus& e) {
            sim::Module_Simule& m = e.modules[2];
            m.entete = QByteArray("Serre du sud").leftJustified(32, ' ') + QByteArray("Batiment B").leftJustified(32, ' ');
            auto& v = m.voies;
            v[0].nom = "Chambre 1   ";
            v[0].reglages[2] = 0x00, v[0].reglages[3] = 0xFA;  // high 25.0
            v[0].reglages[4] = 0x00, v[0].reglages[5] = 0x32;  // low 5.0
            for (int k = 0; k < 10; ++k)
                v[0].enregistrements.push_back(Point_Sim(9, 10 + k / 4, 15 * (k % 4), static_cast<Entier>(200 + 5 * k), k == 7));
            v[1].reglages[13] = 0x01 | (2 << 3);
            v[1].nom = "Porte       ";
            v[1].enregistrements = {Point_Sim(9, 10, 0, 1), Point_Sim(9, 11, 0, 0)};
            v[2].reglages[13] = 0x00;
            v[2].nom = "Hors service";
            v[4].nom = "Labo        ";
            v[4].enregistrements = {Point_Sim(9, 10, 0, 180), Point_Sim(9, 10, 30, 32767), Point_Sim(9, 11, 0, 32766),
                                    Point_Sim(9, 11, 30, 15000), Point_Sim(9, 12, 0, 190), Point_Sim(9, 12, 30, 195)};
            v[5].nom = QByteArray(12, ' ');
            v[15].nom = "Toit        ";
            v[15].enregistrements = {Point_Sim(9, 8, 0, -20), Point_Sim(9, 9, 0, -25), Point_Sim(9, 10, 0, -30)};
        });
    }

    // The program started on the bus, module 2 downloaded (whole, or the 9th
    // of March), the viewer opened; the boxes answered as told, the save
    // dialog given the files.
    Frm_Enreg_Forme* Ouvrir_Module_2(std::initializer_list<int> reponses = {vbNo}, bool tous = true,
                                     std::initializer_list<QString> fichiers = {}) {
        Configurer_Module_2();
        if (!Demarrer(true)) return nullptr;
        Num_Module = 2;
        Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
        if (!menu) return nullptr;
        if (tous) {
            menu->Opt_All_Enreg->setChecked(true);
        } else {
            menu->Opt_Lecture_OC->setChecked(true);
            menu->Msk_Date_Debut->setText("09/03/2027");
            menu->Msk_Date_Fin->setText("09/03/2027");
        }
        boites.Reponses.assign(reponses.begin(), reponses.end());
        boites.Fichiers.assign(fichiers.begin(), fichiers.end());
        return Charger_Et_Ouvrir(menu);
    }

    QString Chemin(const QString& relatif) const { return disque.filePath(relatif); }
    QString Dossier_Donnees() const { return disque.filePath("OstrelSoft+/Sauvegardes/Sauvegardes_Donnees"); }

    void Ecrire(const QString& chemin, const QByteArray& contenu) const {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(chemin).absolutePath()));
        ostrel_test::Ecrire(chemin, contenu);
    }
    static QByteArray Lire(const QString& chemin) { return ostrel_test::Lire(chemin); }

    // A recordings file of n channels (channel index: its points as
    // (day, hour, minute, value, alarm)) written through the program's own writer.
    struct Point_Fichier {
        int jour, heure, minute;
        Simple valeur;
        bool alarme = false;
    };
    QString Fichier_Enregistrements(const QString& nom, int n, const std::vector<std::vector<Point_Fichier>>& voies,
                                    const QStringList& noms = {}) {
        Index_Fin_Voie.assign(static_cast<size_t>(n), 0);
        Long i = 0;
        for (int v = 0; v < n; ++v) {
            Parametres_Voie& p = Tab_Parametres_Voies[static_cast<size_t>(v)];
            p.Nom_Voie = v < noms.size() ? noms[v] : QString(12, QLatin1Char(' '));
            p.Seuil_Haut = 25;
            p.Seuil_Bas = 5;
            p.Alarme_Valide = Vrai;
            p.Periode_Enreg = 15;
            if (v < static_cast<int>(voies.size()))
                for (const Point_Fichier& pt : voies[static_cast<size_t>(v)]) {
                    Mesure_Enreg& m = Tab_Mesures[i++];
                    m.Date_Heure = DateSerial(2027, 3, pt.jour) + TimeSerial(pt.heure, pt.minute, 0);
                    m.Valeur = pt.valeur;
                    m.Alarme = pt.alarme ? Vrai : Faux;
                    m.Num_Voie = static_cast<Octet>(v + 1);
                }
            Index_Fin_Voie[static_cast<size_t>(v)] = i;
        }
        Donnees_Reponse.Entete_Module = QStringLiteral("Serre du nord");
        const QString chemin = QDir(Dossier_Donnees()).filePath(nom);
        QDir().mkpath(Dossier_Donnees());
        EXPECT_TRUE(Sauvegarde_Fichier_Donnees(chemin, 1, static_cast<Octet>(n)));
        // The program starts from what the file holds, not from what wrote it.
        Tab_Mesures.Effacer();
        Index_Fin_Voie.clear();
        for (Parametres_Voie& p : Tab_Parametres_Voies) p = Parametres_Voie{};
        Donnees_Reponse = Parametres_Voie{};
        boites.Effacer();
        return chemin;
    }

    // Opens the viewer on a file: the menu, its file source, the dialog's answer, OK, the tick.
    Frm_Enreg_Forme* Ouvrir_Fichier(const QString& chemin) {
        Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
        if (!menu) return nullptr;
        menu->Opt_Lecture_Fichier->setChecked(true);
        boites.Fichiers.push_back(chemin);
        return Charger_Et_Ouvrir(menu);
    }
};

}  // namespace ostrel::test
