#pragma once
// The program started offscreen on a temporary drive c:, with or without the
// simulated bus, its message boxes scripted; and stand-in screens that tests
// put in place of screens built elsewhere, to make them fail on purpose.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "commun/application_test.h"
#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/formes.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/horloge.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "simulateur.h"

namespace ostrel_test {

// A screen that only writes its title, then runs what the test asks.
class Ecran_Essai : public ostrel::Forme {
public:
    Ecran_Essai(const QString& forme, std::function<void()> chargement)
        : Forme(forme), chargement_(std::move(chargement)) {}
    void Form_Load() override {
        ostrel::Frm_Menu1().Lbl_Nom_Menu(ostrel::Ecran_Forme(objectName()));
        ++chargements;
        if (chargement_) chargement_();
    }
    static inline int chargements = 0;

private:
    std::function<void()> chargement_;
};

// Answers the connection question as told, every other box from the queue.
class Boites_Programme : public ostrel::Boites_Scriptees {
public:
    int reponse_question = ostrel::vbNo;
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        if (texte == QStringLiteral("Le module est il connecté à l'ordinateur?")) Reponses.push_front(reponse_question);
        return Boites_Scriptees::MsgBox(texte, style, titre);
    }
};

class Programme : public ::testing::Test {
protected:
    QTemporaryDir disque;
    Boites_Programme boites;
    ostrel::Registre_Formes registre;
    ostrel::sim::Simulateur bus;

    void SetUp() override {
        Application();
        qputenv("OSTREL_DISQUE_C", disque.path().toUtf8());
        qputenv("OSTREL_DOSSIER_WINDOWS", disque.filePath("Windows").toUtf8());
        qputenv("OSTREL_COM1", disque.filePath("pas_de_port").toUtf8());
        ostrel::Reinitialiser_Donnees();
        ostrel::Definir_Horloge_Murale([] { return ostrel::DateSerial(2027, 3, 7) + ostrel::TimeSerial(9, 5, 3); });
        ostrel::Definir_Boites(&boites);
        ostrel::Enregistrer_Formes(registre);
        ostrel::Definir_Formes(&registre);
        Ecran_Essai::chargements = 0;
    }

    void TearDown() override {
        for (const QString& forme : ostrel::Ordre_Dechargement()) registre.Decharger(forme);
        Traiter_Evenements();
        ostrel::Definir_Formes(nullptr);
        ostrel::Definir_Boites(nullptr);
        ostrel::Definir_Tableau_Bord(nullptr);
        ostrel::Definir_Horloge_Murale(nullptr);
        ostrel::Definir_Echelle_Temps(1.0);
        if (ostrel::Ecran_Communication().Ostrel.PortOpen()) ostrel::Ecran_Communication().Ostrel.PortOpen(false);
        bus.Arreter();
        qunsetenv("OSTREL_DISQUE_C");
        qunsetenv("OSTREL_DOSSIER_WINDOWS");
        qunsetenv("OSTREL_COM1");
    }

    // Start-up answering the connection question; with modules, on the simulated bus.
    ostrel::Frm_Menu1_Forme* Demarrer(std::vector<int> modules = {}) {
        if (!modules.empty()) {
            bus.Etat_Demonstration(modules);
            if (!bus.Demarrer()) return nullptr;
            qputenv("OSTREL_COM1", bus.Chemin().toUtf8());
        }
        boites.reponse_question = modules.empty() ? ostrel::vbNo : ostrel::vbYes;
        registre.Charger("Frm_Menu1");
        ostrel::Frm_Menu1_Forme* t = Tableau();
        if (!t) return nullptr;
        t->resize(1280, 1024);
        t->show();
        t->Fin_Demarrage();
        Traiter_Evenements();
        boites.Effacer();
        bus.Effacer_Trames();
        return t;
    }

    // A stand-in for a screen built elsewhere.
    void Remplacer(const QString& forme, std::function<void()> chargement = {}) {
        registre.Enregistrer(forme, [forme, chargement] { return new Ecran_Essai(forme, chargement); });
    }

    ostrel::Frm_Menu1_Forme* Tableau() const { return registre.Instance_De<ostrel::Frm_Menu1_Forme>("Frm_Menu1"); }
    ostrel::Forme* Forme(const char* nom) const { return registre.Instance(QString::fromLatin1(nom)); }
    template <class T = QPushButton> T* Controle(const char* forme, const char* nom) const {
        ostrel::Forme* f = Forme(forme);
        return f ? f->findChild<T*>(QString::fromLatin1(nom)) : nullptr;
    }
    void Cliquer(const char* forme, const char* bouton) {
        QPushButton* b = Controle(forme, bouton);
        ASSERT_NE(b, nullptr) << forme << "." << bouton;
        QTest::mouseClick(b, Qt::LeftButton);
        Traiter_Evenements();
    }
    // A key released over one control of a form.
    void Touche(const char* forme, const char* controle, Qt::Key touche,
                Qt::KeyboardModifiers modificateurs = Qt::NoModifier) {
        QWidget* w = Controle<QWidget>(forme, controle);
        ASSERT_NE(w, nullptr) << forme << "." << controle;
        QTest::keyRelease(w, touche, modificateurs);
        Traiter_Evenements();
    }
    bool Charge(const char* forme) const { return registre.Est_Chargee(QString::fromLatin1(forme)); }

    // Messages of the trace, without date and software name.
    QStringList Trace() const {
        QFile f(disque.filePath("Windows/setupm.snf"));
        QStringList messages;
        if (!f.open(QIODevice::ReadOnly)) return messages;
        for (const QString& l : ostrel::Depuis_Cp1252(f.readAll()).split("\r\n", Qt::SkipEmptyParts))
            messages << l.mid(l.indexOf(QStringLiteral("1.14VSA ")) + 8);
        return messages;
    }
    QByteArray Lire(const QString& relatif) const {
        QFile f(disque.filePath(relatif));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

}  // namespace ostrel_test
