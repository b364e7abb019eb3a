// The numeric edit box: limits, display format, typed values, steps, keys.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "commun/application_test.h"
#include "config/boite_numerique.h"

using namespace ostrel;

namespace {

struct Boite : ::testing::Test {
    Boite_Numerique* b = nullptr;
    std::vector<double> changes;
    void SetUp() override {
        ostrel_test::Application();
        b = new Boite_Numerique(QStringLiteral("Txt_Essai"));
        b->FormatString(QStringLiteral("0.0"));
        b->IncValue(0.1);
        b->Minimum(-3276.8);
        b->Maximum(3276.7);
        QObject::connect(b, &Boite_Numerique::ValueChanged, [this](double v) { changes.push_back(v); });
    }
    void TearDown() override { delete b; }
    QLineEdit* Saisie() const { return b->findChild<QLineEdit*>(); }
    void Taper(const QString& texte) {
        Saisie()->selectAll();
        QTest::keyClicks(b, texte);
    }
};

}  // namespace

TEST_F(Boite, LimitesEtNotifications) {
    b->Value(12.5);
    b->Value(12.5);  // the same value: no notification
    EXPECT_EQ(changes, (std::vector<double>{12.5}));
    b->Value(5000);
    EXPECT_DOUBLE_EQ(b->Value(), 3276.7);
    b->Value(-5000);
    EXPECT_DOUBLE_EQ(b->Value(), -3276.8);
    // A new limit that leaves the value outside brings it along, and says so.
    b->Value(-20);
    changes.clear();
    b->Minimum(0);
    EXPECT_DOUBLE_EQ(b->Value(), 0);
    EXPECT_EQ(changes, (std::vector<double>{0}));
    b->Maximum(100);
    EXPECT_EQ(changes.size(), 1u);  // 0 is within: nothing moves
    b->Value(150);
    EXPECT_DOUBLE_EQ(b->Value(), 100);
}

TEST_F(Boite, FormatsAffiches) {
    b->Value(-3276.8);
    EXPECT_EQ(b->Text(), QStringLiteral("-3276,8"));
    b->Value(12);
    EXPECT_EQ(b->Text(), QStringLiteral("12,0"));
    b->Value(-0.04);
    EXPECT_EQ(b->Text(), QStringLiteral("0,0"));  // no "-0,0"
    b->FormatString(QStringLiteral("0."));
    b->Value(12.5);
    EXPECT_EQ(b->Text(), QStringLiteral("12"));  // halves to the even figure
    b->Value(13.5);
    EXPECT_EQ(b->Text(), QStringLiteral("14"));
    EXPECT_EQ(Boite_Numerique::Texte_Format(2.25, 1), QStringLiteral("2,2"));
}

TEST_F(Boite, SaisieEtFleches) {
    b->Value(1);
    changes.clear();
    Taper(QStringLiteral("2,5"));
    EXPECT_TRUE(changes.empty());  // taken on Enter, not on each key
    QTest::keyClick(b, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(b->Value(), 2.5);
    EXPECT_EQ(changes, (std::vector<double>{2.5}));
    Taper(QStringLiteral("7.25"));
    EXPECT_TRUE(b->Valider_Saisie());
    EXPECT_DOUBLE_EQ(b->Value(), 7.25);
    // Letters never get in; a text with no number gives the value back.
    EXPECT_EQ(b->Text(), QStringLiteral("7,2"));  // shown to one figure, halves to the even one
    Taper(QStringLiteral("abc"));
    EXPECT_EQ(Saisie()->text(), QStringLiteral("7,2"));
    Taper(QStringLiteral("-"));
    EXPECT_FALSE(b->Valider_Saisie());
    EXPECT_EQ(b->Text(), QStringLiteral("7,2"));
    EXPECT_DOUBLE_EQ(b->Value(), 7.25);
    // Steps keep to the format's figures and stop at the limits.
    b->Value(0.1);
    b->stepBy(2);
    EXPECT_DOUBLE_EQ(b->Value(), 0.3);
    QTest::keyClick(b, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(b->Value(), 0.2);
    b->Value(3276.7);
    b->stepBy(1);
    EXPECT_DOUBLE_EQ(b->Value(), 3276.7);
}

TEST_F(Boite, ToucheEntreeEtFiltre) {
    std::vector<int> codes;
    b->KeyPress = [&codes](int& code) {
        codes.push_back(code);
        if (code == '5') code = 0;  // dropped
    };
    Taper(QStringLiteral("152"));
    EXPECT_EQ(Saisie()->text(), QStringLiteral("12"));
    QTest::keyClick(b, Qt::Key_Return);
    EXPECT_EQ(codes, (std::vector<int>{'1', '5', '2', 13}));
    EXPECT_DOUBLE_EQ(b->Value(), 12);  // taken before the key's handler runs
}
