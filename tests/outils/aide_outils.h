#pragma once
// What the tests of the companion programs share: a scratch folder, scripted
// boxes and dialogs, files written from lists of lines, and the window of
// each program shown offscreen.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "commun/application_test.h"
#include "commun/dialogues_test.h"
#include "commun/fichiers_test.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "tools/fenetre_outil.h"

namespace ostrel::essai {

using namespace ostrel_test;

inline const QString Fichier_Incorrect = QStringLiteral("Fichier incorrect!");
inline const QString Sauvegarde_Terminee = QStringLiteral("Sauvegarde terminée!");

inline QStringList Repete(const QString& valeur, int n) {
    QStringList l;
    for (int i = 0; i < n; ++i) l << valeur;
    return l;
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

// One program's window shown offscreen, run on files made of lines; the file
// it writes is proposed as the file read's name followed by `suffixe`.
template <class Fenetre> class Essai_Fenetre : public Essai_Outil {
protected:
    explicit Essai_Fenetre(const char* suffixe) : suffixe_(QString::fromLatin1(suffixe)) {}
    void SetUp() override {
        Essai_Outil::SetUp();
        fenetre.show();
        ostrel_test::Traiter_Evenements();
    }

    // Runs the lines given through the window, from `entree` to `sortie`; the
    // lines of the file written.
    QStringList Passer(const QStringList& lignes, const QString& entree, const QString& sortie) {
        Ecrire(Chemin(entree), Contenu(lignes));
        Cliquer(fenetre, {Chemin(entree), Chemin(sortie)});
        return Lignes(Lire(Chemin(sortie)));
    }

    // The click ended on "Fichier incorrect!" without asking for a file to write.
    void Refuse(const QByteArray& contenu, const char* cas) {
        SCOPED_TRACE(cas);
        boites.Effacer();
        Ecrire(Chemin("mauvais.txt"), contenu);
        Cliquer(fenetre, {Chemin("mauvais.txt")});
        EXPECT_EQ(boites.Textes(), std::vector<QString>{Fichier_Incorrect});
        EXPECT_EQ(boites.Dialogues.size(), 1u) << "no file to write is asked for";
        EXPECT_FALSE(QFileInfo::exists(Chemin("mauvais" + suffixe_ + ".txt")));
    }
    void Refuse(const QStringList& lignes, const char* cas) { Refuse(Contenu(lignes), cas); }

    // The two dialogs of a whole run: open, with its title, then save, with
    // the name it proposed.
    void Dialogues_Du_Passage(const QString& titre_ouverture, const QString& fichier_lu) {
        ASSERT_EQ(boites.Dialogues.size(), 2u);
        ostrel_test::Dialogue_Txt(boites.Dialogues[0], titre_ouverture, QString(), QStringLiteral("c:"));
        const Dialogue_Fichier& enregistrer = boites.Dialogues[1];
        EXPECT_EQ(enregistrer.DialogTitle, "Nom du nouveau fichier");
        EXPECT_EQ(enregistrer.InitDir, "c:");
        EXPECT_EQ(enregistrer.Filter, "(*.txt)|*.txt");
        EXPECT_EQ(enregistrer.FileName, Chemin(QFileInfo(fichier_lu).completeBaseName() + suffixe_));
    }

    // The file read saved into a folder nobody may write into, over a file
    // already there: the failure is said, never followed by a success, and
    // the file there stays as it was. False when no such folder can be made here.
    bool Sauvegarde_Refusee(const QString& fichier_lu) {
        boites.Effacer();
        const QString protege = Chemin("protege"), ancien = protege + "/ancien.txt";
        EXPECT_TRUE(QDir(dossier.path()).mkdir("protege"));
        Ecrire(ancien, "ancien\r\n");
        if (!Dossier_Lecture_Seule(protege, true)) return false;
        Cliquer(fenetre, {Chemin(fichier_lu), ancien});
        Dossier_Lecture_Seule(protege, false);
        EXPECT_EQ(boites.Messages.size(), 1u);
        if (boites.Messages.size() == 1) {
            const QString texte = boites.Messages[0].Texte;
            EXPECT_TRUE(texte.startsWith("La sauvegarde a échoué")) << texte.toStdString();
            EXPECT_TRUE(texte.contains(ancien)) << texte.toStdString();
        }
        EXPECT_EQ(Lire(ancien), "ancien\r\n");
        EXPECT_EQ(QDir(protege).entryList(QDir::Files | QDir::Hidden), QStringList{"ancien.txt"});
        return true;
    }

    Fenetre fenetre;

private:
    QString suffixe_;
};

}  // namespace ostrel::essai
