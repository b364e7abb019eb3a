#pragma once
// Message boxes, beep and common dialogs on real windows, with French button
// texts. The program installs it with Definir_Boites; tests keep the scripted
// boxes.
#include <QString>

#include "platform/dialogues.h"

class QWidget;

namespace ostrel {

class Boites_Qt : public Boites_Dialogue {
public:
    int MsgBox(const QString& texte, int style = vbOKOnly, const QString& titre = {}) override;
    void Beep() override;
    bool ShowOpen(Dialogue_Fichier& dialogue) override;
    bool ShowSave(Dialogue_Fichier& dialogue) override;
    bool ShowColor(Couleur& couleur) override;
    bool ShowFont(Choix_Police& police) override;
    bool Modal_Ouvert() const override { return modaux_ > 0; }

private:
    bool Fichier(Dialogue_Fichier& dialogue, bool enregistrer);
    int modaux_ = 0;
};

// "(*.txt)|*.txt|Tous (*.*)|*.*" -> "(*.txt);;Tous (*.*)": description and
// patterns come in pairs separated by "|".
QString Filtre_Qt(const QString& filtre);

}  // namespace ostrel
