#pragma once
// Message boxes, beep and common dialogs on real windows, with French button
// texts. The program installs it with Definir_Boites; tests keep the scripted
// boxes.
#include <QFont>
#include <QString>

#include "platform/dialogues.h"

class QFileDialog;
class QWidget;

namespace ostrel {

class Boites_Qt : public Boites_Dialogue {
public:
    int MsgBox(const QString& texte, int style = vbOKOnly, const QString& titre = {}) override;
    void Beep() override;
    bool ShowOpen(Dialogue_Fichier& dialogue) override;
    bool ShowSave(Dialogue_Fichier& dialogue) override;
    bool ShowColor(Couleur& couleur, const QString& titre) override;
    bool ShowFont(Choix_Police& police) override;
    bool Modal_Ouvert() const override { return modaux_ > 0; }

private:
    bool Fichier(Dialogue_Fichier& dialogue, bool enregistrer);
    int modaux_ = 0;
};

// French for the standard dialogs (file, colour, font) whatever the
// desktop's language: French becomes the default locale (dates, numbers,
// kinds of file) and Qt's own French texts are taken from its translations
// folder; false when they are not installed there.
bool Installer_Traductions_Qt();

// The file dialog as ShowOpen and ShowSave show it, before it runs: French
// labels, filter, default name, and the folder asked for (its nearest
// existing parent when it is missing, never the last folder visited).
void Preparer_Dialogue_Fichier(QFileDialog& dialogue, const Dialogue_Fichier& d, bool enregistrer);

// The font the font dialog opens on: the one asked, under the family this
// machine really draws it with, so that the dialog shows it selected.
QFont Police_Initiale(const Choix_Police& police);

// "(*.txt)|*.txt|Tous (*.*)|*.*" -> "(*.txt);;Tous (*.*)": description and
// patterns come in pairs separated by "|".
QString Filtre_Qt(const QString& filtre);

}  // namespace ostrel
