#pragma once
// The module settings screen over a dashboard that keeps every progress
// caption, with the simulated bus on port 1 (modules 1 and 3), scripted boxes,
// the recording printer, a fixed wall clock and a temporary drive c:.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>

#include "commun/programme_essai.h"
#include "config/formes_configuration.h"
#include "config/frm_param_oc.h"
#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/imprimante.h"
#include "platform/ui/registre_formes.h"
#include "shell/ecrans_programme.h"
#include "sim/simulateur.h"

namespace ostrel::essai_module {

// Keeps the caption of every step with the bar's value and visibility at that moment.
class Tableau_Test : public Tableau_Bord {
public:
    struct Etape {
        QString Caption;
        int Valeur = 0;
        bool Visible = false;
    };
    std::vector<Etape> etapes;
    int premiers_plans = 0;
    using Tableau_Bord::Caption_Pb;
    void Caption_Pb(const QString& texte) override {
        Tableau_Bord::Caption_Pb(texte);
        etapes.push_back({texte, valeur_pb_, pb_visible_});
    }
    void Premier_Plan() override { ++premiers_plans; }
    std::vector<QString> Captions() const {
        std::vector<QString> c;
        for (const Etape& e : etapes) c.push_back(e.Caption);
        return c;
    }
};

inline std::array<Octet, 32> Planning_Octets(std::initializer_list<int> heures_minutes) {
    std::array<Octet, 32> p{};
    size_t i = 0;
    for (int v : heures_minutes) p[i++] = static_cast<Octet>(v);
    return p;
}

// The six clock bytes of request 0x09 for a date: minute, hour, weekday, day, month, years since 2000.
inline QByteArray Octets_Horloge(Date d) {
    const Composantes_Date c = Decomposer(d);
    QByteArray b;
    for (int v : {c.Minute, c.Heure, Weekday(d), c.Jour, c.Mois, (c.Annee - 2000) & 0xFF}) b.append(static_cast<char>(v));
    return b;
}

class Banc_Module : public ::testing::Test {
protected:
    // The application before any widget of the bench.
    bool application_ = (ostrel_test::Application(), true);
    ostrel_test::Disque_Essai disque;
    sim::Simulateur bus;
    Tableau_Test tableau;
    Boites_Scriptees boites;
    Imprimante_Enregistreuse imprimante;
    Registre_Formes registre;
    QWidget hote;
    Date maintenant = DateSerial(2027, 3, 7) + TimeSerial(9, 5, 3);

    void SetUp() override {
        ostrel_test::Application();
        ASSERT_TRUE(disque.isValid());
        Reinitialiser_Donnees();
        Code_Erreur = 0;
        Definir_Echelle_Temps(0.1);
        ostrel_test::Delais_Reels();
        Minuterie::Ticks_A_La_Main(true);
        Definir_Tableau_Bord(&tableau);
        Definir_Boites(&boites);
        Definir_Imprimante(&imprimante);
        Definir_Horloge_Murale([this] { return maintenant; });
        Enregistrer_Formes(registre);
        Enregistrer_Formes_Configuration(registre);
        hote.resize(1280, 1024);
        hote.show();
        registre.Definir_Conteneur(&hote);
        Definir_Formes(&registre);

        Fichier_Mouchard = disque.filePath("setupm.snf");
        Repertoire_Parametrage_Modules = QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Parametrage_Ostrel");
        Var_Left_Fille = 0;
        Var_Top_Fille = 82 * 15;
        Var_Width_Fille = 1280 * 15;
        Var_Height_Fille = 840 * 15;
        Taille_Police_Grande = 22;
        Taille_Police_Moyenne = 14;
        Taille_Police_Petite = 12;
        Police_Options = QStringLiteral("Arial");
        Couleur_Fenetre = 0x808000;
        tableau.Lbl_Nom_Logiciel(QStringLiteral("OstrelSoft+ 1.14VSA"));
        tableau.Lbl_Info_Client(QStringLiteral("Serre 4"));

        bus.Configurer({1, 3}, 16);
        Regler_Module_3();
        ASSERT_TRUE(bus.Demarrer());
        qputenv("OSTREL_COM1", bus.Chemin().toUtf8());
        Ecran_Communication().ouverture_port(1);
        ASSERT_EQ(Code_Erreur, 0);
        Tab_Fonctionnement_OC.fill(Hors_Service);
        Tab_Fonctionnement_OC[0] = Tab_Fonctionnement_OC[2] = En_Service;
        tableau.captions_oc_ = {QStringLiteral("MD1"), QStringLiteral("MD3")};
        Num_Module = 3;
    }

    void TearDown() override {
        for (Forme* f : registre.Chargees()) registre.Decharger(f->Nom());
        ostrel_test::Traiter_Evenements();
        if (Ecran_Communication().Ostrel.PortOpen()) Ecran_Communication().Ostrel.PortOpen(false);
        Definir_Formes(nullptr);
        Definir_Boites(nullptr);
        Definir_Imprimante(nullptr);
        Definir_Tableau_Bord(nullptr);
        Definir_Horloge_Murale(nullptr);
        Definir_Echelle_Temps(1.0);
        ostrel_test::Delais_Par_Defaut();
        Minuterie::Ticks_A_La_Main(false);
        bus.Arreter();
    }

    // Module 3: a two-line header, relays 1 and 2, plannings 1 (in use), 2
    // (its first weekday range starts where it ends), 3 (a time past 24 h),
    // its codes and operators.
    void Regler_Module_3() {
        bus.Avec_Etat([](sim::Etat_Bus& e) {
            sim::Module_Simule& m = e.modules[3];
            m.entete = Vers_Cp1252(QStringLiteral("Chambre froide 2").leftJustified(32) +
                                   QStringLiteral("Quai nord").leftJustified(32));
            m.logique_stor = {1, 2};
            m.plannings[0] = Planning_Octets({8, 0, 12, 0, 13, 30, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 12, 0});
            m.plannings[1] = Planning_Octets({8, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 11, 0});
            m.plannings[2] = Planning_Octets({6, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 25, 30, 24, 0});
            m.codes_acces = {123, 2222, 3333, 4444};
            m.operateurs = {QByteArray("Dupont      "), QByteArray("Martin      "), QByteArray("Lefevre     "),
                            QByteArray("Garcia      ")};
            m.horloge = {30, 14, 4, 10, 3, 27};  // 14:30, Wednesday 10/03/2027
        });
    }

    Frm_Param_OC_Forme* Ouvrir() {
        Ecran_Courant = QStringLiteral("Configuration");
        Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages Module"), Faux);
        return Ecran();
    }
    Frm_Param_OC_Forme* Ecran() const { return registre.Instance_De<Frm_Param_OC_Forme>(QStringLiteral("Frm_Param_OC")); }

    template <class T = QWidget> T* C(const char* nom) const {
        return Ecran() ? Ecran()->findChild<T*>(QString::fromLatin1(nom)) : nullptr;
    }
    QLineEdit* Boite(const char* nom) const { return C<QLineEdit>(nom); }

    // The requests the bus received, in order: "L05.64" read, "E06.3" block
    // write, "C16=255" command (request code in hex, then count or value).
    std::vector<QString> Requetes() const {
        std::vector<QString> r;
        for (const sim::Trame_Journal& t : bus.Trames_Recues()) {
            const QByteArray& o = t.octets;
            if (o.size() < 6) continue;
            const int f = static_cast<Octet>(o[1]), code = static_cast<Octet>(o[3]);
            const int n = static_cast<Octet>(o[4]) * 256 + static_cast<Octet>(o[5]);
            const QString c = QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
            if (f == 3) r.push_back(QStringLiteral("L") + c + QLatin1Char('.') + QString::number(n));
            else if (f == 16) r.push_back(QStringLiteral("E") + c + QLatin1Char('.') + QString::number(n));
            else r.push_back(QStringLiteral("C") + c + QLatin1Char('=') + QString::number(n));
        }
        return r;
    }
    // Data bytes of the last block write of this request code.
    QByteArray Donnees_Ecrites(int code) const {
        QByteArray d;
        for (const sim::Trame_Journal& t : bus.Trames_Recues())
            if (t.octets.size() > 7 && static_cast<Octet>(t.octets[1]) == 16 && static_cast<Octet>(t.octets[3]) == code)
                d = t.octets.mid(7, static_cast<Octet>(t.octets[6]));
        return d;
    }

    // Key presses and releases of every character, accented ones included.
    static void Frapper(QWidget* w, const QString& texte) {
        for (QChar c : texte) {
            if (c.unicode() < 128)
                QTest::keyClick(w, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        }
    }
    // Types into a box as an operator would after clicking it (the whole text selected).
    static void Taper(QLineEdit* b, const QString& texte) {
        b->selectAll();
        Frapper(b, texte);
    }
    static void Quitter(QWidget* b) {
        QFocusEvent sortie(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(b, &sortie);
    }
    QString Trace() const {
        QFile f(Fichier_Mouchard);
        return f.open(QIODevice::ReadOnly) ? Depuis_Cp1252(f.readAll()) : QString();
    }
    static std::vector<QString> Suite(std::initializer_list<const char*> debut, const char* forme, int de, int a,
                                      std::initializer_list<const char*> fin = {}) {
        std::vector<QString> v;
        for (const char* d : debut) v.push_back(QString::fromUtf8(d));
        for (int k = de; k <= a; ++k) v.push_back(QString::fromUtf8(forme).arg(k));
        for (const char* f : fin) v.push_back(QString::fromUtf8(f));
        return v;
    }
};

// The bench with the screen opened from the configuration menu.
class Banc_Ecran : public Banc_Module {
protected:
    Frm_Param_OC_Forme* e = nullptr;
    void SetUp() override {
        Banc_Module::SetUp();
        e = Ouvrir();
        ASSERT_NE(e, nullptr);
    }
};

}  // namespace ostrel::essai_module
