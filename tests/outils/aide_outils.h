#pragma once
// What the tests of the companion programs share: a scratch folder, scripted
// boxes and dialogs, files written from lists of lines, and the window of
// each program shown offscreen.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "commun/application_test.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dialogues.h"
#include "tools/fenetre_outil.h"

namespace ostrel::essai {

inline QByteArray Lire(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

inline void Ecrire(const QString& chemin, const QByteArray& contenu) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenu);
}

// Lines of a content without their CR LF (the content must end with one).
inline QStringList Lignes(const QByteArray& contenu) {
    QStringList lignes = Depuis_Cp1252(contenu).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lignes.back(), QString()) << "the last line ends with CR LF";
    lignes.removeLast();
    return lignes;
}

inline QByteArray Contenu(const QStringList& lignes) {
    QByteArray c;
    for (const QString& l : lignes) c += Vers_Cp1252(l) + "\r\n";
    return c;
}

// A folder nobody may write into, root included (root ignores the mode bits,
// not the immutable attribute).
inline bool Dossier_Lecture_Seule(const QString& dossier, bool oui) {
    const QByteArray d = QFile::encodeName(dossier);
    if (::geteuid() != 0) return ::chmod(d.constData(), oui ? 0555 : 0755) == 0;
    const QByteArray commande = QByteArray("chattr ") + (oui ? "+i '" : "-i '") + d + "' 2>/dev/null";
    return std::system(commande.constData()) == 0;
}

class Essai_Outil : public ::testing::Test {
protected:
    // Before the windows of the derived fixtures.
    Essai_Outil() { ostrel_test::Application(); }
    void SetUp() override {
        Reinitialiser_Donnees();
        boites.Effacer();
        Definir_Boites(&boites);
    }
    void TearDown() override { Definir_Boites(nullptr); }
    QString Chemin(const QString& nom) const { return dossier.filePath(nom); }

    // Runs one click of the start button with the file dialogs answering the
    // paths given in order (an empty path cancels).
    void Cliquer(Fenetre_Outil& fenetre, std::initializer_list<QString> fichiers) {
        boites.Fichiers.assign(fichiers.begin(), fichiers.end());
        valeurs.clear();
        const auto lien = QObject::connect(fenetre.ProgressBar1, &QProgressBar::valueChanged,
                                           [this](int v) { valeurs.push_back(v); });
        fenetre.Cmd_Démarrage->click();
        QObject::disconnect(lien);
        // Whatever happened, the window is ready for the next run.
        EXPECT_TRUE(fenetre.Cmd_Démarrage->isEnabled());
        EXPECT_TRUE(fenetre.Frame1->isHidden());
        EXPECT_FALSE(fenetre.En_Cours());
        EXPECT_TRUE(boites.Fichiers.empty()) << "every dialog expected was shown";
    }

    // Titles of the dialogs shown, in order.
    QStringList Titres_Dialogues() const {
        QStringList t;
        for (const Dialogue_Fichier& d : boites.Dialogues) t << d.DialogTitle;
        return t;
    }

    QTemporaryDir dossier;
    Boites_Scriptees boites;
    std::vector<int> valeurs;  // values the progress bar took during the last click
};

}  // namespace ostrel::essai
