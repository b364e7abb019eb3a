#include "platform/dialogues.h"

#include "platform/clavier.h"

namespace ostrel {
namespace {

Boites_Scriptees& Boites_Par_Defaut() {
    static Boites_Scriptees boites;
    return boites;
}

Boites_Dialogue*& Boites_Installees() {
    static Boites_Dialogue* boites = nullptr;
    return boites;
}

int Premier_Bouton(int style) {
    switch (style & 7) {
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbAbortRetryIgnore: return vbAbort;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

}  // namespace

Boites_Dialogue& Boites() {
    Boites_Dialogue* b = Boites_Installees();
    return b ? *b : Boites_Par_Defaut();
}

void Definir_Boites(Boites_Dialogue* boites) { Boites_Installees() = boites; }

int Boites_Scriptees::MsgBox(const QString& texte, int style, const QString& titre) {
    int reponse = Premier_Bouton(style);
    if (!Reponses.empty()) {
        reponse = Reponses.front();
        Reponses.pop_front();
    }
    Messages.push_back({texte, style, titre.isEmpty() ? Titre_Application : titre, reponse, Operateur_Present() != Presence::Ici});
    return reponse;
}

bool Boites_Scriptees::ShowOpen(Dialogue_Fichier& dialogue) {
    Dialogues.push_back(dialogue);
    if (Fichiers.empty()) return false;
    const QString chemin = Fichiers.front();
    Fichiers.pop_front();
    if (chemin.isEmpty()) return false;
    dialogue.FileName = chemin;
    return true;
}

bool Boites_Scriptees::ShowSave(Dialogue_Fichier& dialogue) { return ShowOpen(dialogue); }

bool Boites_Scriptees::ShowColor(Couleur& couleur, const QString& titre) {
    Titres_Couleur.push_back(titre);
    if (Couleurs.empty()) return false;
    couleur = Couleurs.front();
    Couleurs.pop_front();
    return true;
}

bool Boites_Scriptees::ShowFont(Choix_Police& police) {
    if (Polices.empty()) return false;
    police = Polices.front();
    Polices.pop_front();
    return true;
}

std::vector<QString> Boites_Scriptees::Textes() const {
    std::vector<QString> textes;
    for (const Message& m : Messages) textes.push_back(m.Texte);
    return textes;
}

void Boites_Scriptees::Effacer() {
    Reponses.clear();
    Fichiers.clear();
    Couleurs.clear();
    Polices.clear();
    Messages.clear();
    Dialogues.clear();
    Titres_Couleur.clear();
    Bips = 0;
}

}  // namespace ostrel
