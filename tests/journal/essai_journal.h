#pragma once
// What the journal tests share: the program started over the bench's bus
// for each test and stopped after it, its controls found by name and clicked
// as the operator does.
#include <gtest/gtest.h>

#include <QTest>

#include "banc_journal.h"

namespace ostrel::test {

class Essai_Journal : public ::testing::Test {
protected:
    Banc_Journal banc;
    // The answer to the connection question at start-up.
    virtual int Reponse_Question() const { return vbYes; }
    void SetUp() override {
        banc.boites.reponse_connexion = Reponse_Question();
        const bool demarre = banc.Demarrer();
        ASSERT_NE(banc.Tableau(), nullptr);
        if (Reponse_Question() == vbYes) {
            ASSERT_TRUE(demarre);
        }
    }
    void TearDown() override { banc.Arreter(); }

    template <class T = QWidget> T* C(const char* nom) const { return banc.Controle<T>(nom); }
    void Cliquer(const char* nom) {
        auto* b = C<QPushButton>(nom);
        ASSERT_NE(b, nullptr) << nom;
        ASSERT_TRUE(b->isEnabled()) << nom;
        QTest::mouseClick(b, Qt::LeftButton);
        ostrel_test::Traiter_Evenements();
    }
};

}  // namespace ostrel::test
