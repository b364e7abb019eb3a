#pragma once
// What the tests of the files and reports share: a scratch folder, scripted
// boxes, an in-memory dashboard that keeps its captions, recorded forms and a
// recording printer, all installed for one test and removed after it.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "commun/fichiers_test.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/formes_memoire.h"
#include "platform/imprimante.h"

namespace ostrel::essai {

using namespace ostrel_test;

class Tableau_Captions : public Tableau_Bord {
public:
    std::vector<QString> captions;
    int focus = 0;
    void Caption_Pb(const QString& texte) override {
        Tableau_Bord::Caption_Pb(texte);
        captions.push_back(texte);
    }
    QString Caption_Pb() const override { return Tableau_Bord::Caption_Pb(); }
    void Focus() override { ++focus; }
};

class Essai_Fichiers : public ::testing::Test {
protected:
    void SetUp() override {
        Reinitialiser_Donnees();
        Num_Module = 1;
        Definir_Boites(&boites);
        Definir_Tableau_Bord(&tableau);
        Definir_Formes(&formes);
        Definir_Imprimante(&imprimante);
    }
    void TearDown() override {
        Definir_Boites(nullptr);
        Definir_Tableau_Bord(nullptr);
        Definir_Formes(nullptr);
        Definir_Imprimante(nullptr);
    }
    QString Chemin(const QString& nom) const { return dossier.filePath(nom); }

    QTemporaryDir dossier;
    Boites_Scriptees boites;
    Tableau_Captions tableau;
    Formes_Memoire formes;
    Imprimante_Enregistreuse imprimante;
};

}  // namespace ostrel::essai
