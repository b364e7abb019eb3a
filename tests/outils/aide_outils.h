#pragma once
// What the tests of the companion programs share: a scratch folder, scripted
// boxes and dialogs, files written from lists of lines, and the window of
// each program shown offscreen.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <QGroupBox>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "commun/application_test.h"
#include "commun/fichiers_test.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "tools/fenetre_outil.h"

namespace ostrel::essai {

using ostrel_test::Contenu;
using ostrel_test::Dossier_Lecture_Seule;
using ostrel_test::Ecrire;
using ostrel_test::Lignes;
using ostrel_test::Lire;

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
