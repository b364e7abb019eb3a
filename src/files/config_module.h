#pragma once
// The module configuration file Fichier_Config_Module, 200 lines: header,
// logic of the two relays, the 16 plannings and the four acknowledgement
// access codes with their operator names. The core below works on a path and
// the values, without any dialog, so other screens and tools can use it.
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

#include "link/donnees.h"
#include "platform/fichiers.h"
#include "platform/types.h"

namespace ostrel {

// The access-code boxes and operator-name boxes of the module settings
// screen (elements 0..3), as the file writes and restores them.
using Textes_Codes = std::array<QString, 4>;

struct Config_Module_Lue {
    Octet Module = 0;  // 1..32
    QString Entete;
    Octet Logique_STOR1 = 0;
    Octet Logique_STOR2 = 0;
    std::array<std::array<Date, 16>, 17> Planning{};  // plannings 1..16
    std::array<Booleen, 16> Planning_Actif{};
    bool Avec_Codes = false;  // the file goes on past the plannings
    Textes_Codes Codes;       // each of 4 digits
    Textes_Codes Noms;
};

QByteArray Ecrire_Config_Module(Octet module, const Parametres_Module& parametres, const Textes_Codes& codes,
                                const Textes_Codes& noms);
// Empty when the content is not a whole, valid file.
std::optional<Config_Module_Lue> Lire_Config_Module(const QByteArray& contenu);

// Writes the record of Num_Module and the screen's codes and names to the
// path by a safe save (an existing file is replaced without a question). A
// failed save is shown and returned; the old file stays as it was. The caller
// shows "Sauvegarde terminée!" on success only.
Resultat_Fichier Sauvegarde_Config_Module(const QString& chemin, const Textes_Codes& Msk_Mot_Passe,
                                          const Textes_Codes& Txt_Nom_Passe);
// The largest module configuration file read: it holds 200 lines, none longer
// than the module's header: under 15 KB. A file of a megabyte is no such file.
constexpr qint64 Taille_Max_Config_Module = qint64{1} << 20;

// Restores from a whole, valid file, all together: Num_Module, the module's
// record (header, relays, plannings), Planning_Actif, the codes and names (a
// file that ends after the plannings keeps them) and the frame caption
// "Module " & Num_Module; then shows "Restauration terminée!" (nothing after
// a file without codes). Otherwise shows "Fichier incorrect!" (and why, for a
// file too large to be one) and changes nothing.
bool Restauration_Config_Module(const QString& chemin, Textes_Codes& Msk_Mot_Passe, Textes_Codes& Txt_Nom_Passe,
                                QString& Caption_Frame_Param_OC);

}  // namespace ostrel
