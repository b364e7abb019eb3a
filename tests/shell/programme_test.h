#pragma once
// The program started offscreen on a temporary drive c:, with or without the
// simulated bus, its message boxes scripted; and stand-in screens that tests
// put in place of screens built elsewhere, to make them fail on purpose.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <functional>

#include "commun/programme_essai.h"
#include "link/donnees.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"

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

class Programme : public ::testing::Test, protected Programme_Essai<> {
protected:
    void SetUp() override {
        Application();
        Installer();
        ostrel::Definir_Horloge_Murale([] { return ostrel::DateSerial(2027, 3, 7) + ostrel::TimeSerial(9, 5, 3); });
        Ecran_Essai::chargements = 0;
    }
    void TearDown() override { Arreter(); }

    // Start-up answering the connection question; with modules, on the simulated bus.
    ostrel::Frm_Menu1_Forme* Demarrer(std::vector<int> modules = {}) {
        if (!modules.empty()) {
            bus.Etat_Demonstration(modules);
            if (!Demarrer_Bus()) return nullptr;
        }
        ostrel::Frm_Menu1_Forme* t = Demarrer_Tableau(modules.empty() ? ostrel::vbNo : ostrel::vbYes);
        if (!t) return nullptr;
        boites.Effacer();
        bus.Effacer_Trames();
        return t;
    }

    // A stand-in for a screen built elsewhere.
    void Remplacer(const QString& forme, std::function<void()> chargement = {}) {
        registre.Enregistrer(forme, [forme, chargement] { return new Ecran_Essai(forme, chargement); });
    }

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
        QStringList messages;
        for (const QString& l : ostrel::Depuis_Cp1252(Lire("Windows/setupm.snf")).split("\r\n", Qt::SkipEmptyParts))
            messages << l.mid(l.indexOf(QStringLiteral("1.14VSA ")) + 8);
        return messages;
    }
    QByteArray Lire(const QString& relatif) const { return disque.Lire(relatif); }
};

}  // namespace ostrel_test
