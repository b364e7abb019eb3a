#pragma once
// The file dialogs the screens show for the system's text files.
#include <gtest/gtest.h>

#include "commun/texte_test.h"
#include "platform/dialogues.h"

namespace ostrel_test {

// A dialog on ".txt" files with its title, the name it proposes and its folder.
inline void Dialogue_Txt(const ostrel::Dialogue_Fichier& d, const QString& titre, const QString& nom,
                         const QString& dossier) {
    SCOPED_TRACE(titre.toStdString());
    EXPECT_EQ(d.DialogTitle, titre);
    EXPECT_EQ(d.FileName, nom);
    EXPECT_EQ(d.DefaultExt, QStringLiteral(".txt"));
    EXPECT_EQ(d.Filter, QStringLiteral("(*.txt)|*.txt"));
    EXPECT_EQ(d.InitDir, dossier);
}

}  // namespace ostrel_test
