#pragma once
// What the tests of the files and reports share: a scratch folder, scripted
// boxes, an in-memory dashboard that keeps its captions, recorded forms and a
// recording printer, all installed for one test and removed after it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

#include "link/formes_memoire.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dialogues.h"
#include "platform/imprimante.h"

// Readable texts in the failure reports.
inline void PrintTo(const QString& texte, std::ostream* os) { *os << '"' << texte.toStdString() << '"'; }

namespace ostrel::essai {

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

// Lines of a file's content without their CR LF (the content must end with one).
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
