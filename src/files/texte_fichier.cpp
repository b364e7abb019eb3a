#include "files/texte_fichier.h"

#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/formats.h"

namespace ostrel {

void Ecrivain_Texte::Ligne(const QString& texte) {
    contenu_ += Vers_Cp1252(texte);
    contenu_ += "\r\n";
}

void Ecrivain_Texte::Ligne(const std::vector<Item>& items) { Ligne(Composer_Ligne(items)); }
void Ecrivain_Texte::Direct(long long valeur) { Ligne(Ecrit_Direct(valeur)); }
void Ecrivain_Texte::Direct_Simple(Simple valeur) { Ligne(Ecrit_Direct_Simple(valeur)); }
void Ecrivain_Texte::Booleen_Ecrit(Booleen valeur) { Ligne(Ecrit_Booleen(valeur)); }
void Ecrivain_Texte::Date_Ecrite(Date valeur) { Ligne(Texte_Date(valeur)); }

void Lecteur_Texte::Passer_Fin_Ligne() {
    if (position_ < contenu_.size() && contenu_.at(position_) == '\r') ++position_;
    if (position_ < contenu_.size() && contenu_.at(position_) == '\n') ++position_;
}

QByteArrayView Lecteur_Texte::Reste_De_Ligne() {
    const char* const octets = contenu_.constData();
    const qsizetype debut = position_, taille = contenu_.size();
    qsizetype fin = debut;
    while (fin < taille && octets[fin] != '\r' && octets[fin] != '\n') ++fin;
    position_ = fin;
    Passer_Fin_Ligne();
    return QByteArrayView(octets + debut, fin - debut);
}

bool Lecteur_Texte::Lire_Ligne(QByteArrayView& ligne) {
    if (Fin()) return false;
    ligne = Reste_De_Ligne();
    return true;
}

bool Lecteur_Texte::Lire_Ligne(QString& ligne) {
    if (Fin()) return false;
    ligne = Depuis_Cp1252(Reste_De_Ligne());
    return true;
}

bool Lecteur_Texte::Lire_Item(QString& item) {
    if (Fin()) return false;
    // Leading blanks are skipped; an empty line reads as an empty item.
    while (position_ < contenu_.size() && (contenu_[position_] == ' ' || contenu_[position_] == '\t')) ++position_;
    if (position_ < contenu_.size() && contenu_[position_] == '"') {
        const qsizetype debut = ++position_;
        while (position_ < contenu_.size() && contenu_[position_] != '"') ++position_;
        item = Depuis_Cp1252(contenu_.mid(debut, position_ - debut));
        if (position_ < contenu_.size()) ++position_;  // closing quote
        // Anything up to the next comma or line end belongs to no item.
        while (position_ < contenu_.size() && contenu_[position_] != ',' && contenu_[position_] != '\r' &&
               contenu_[position_] != '\n')
            ++position_;
    } else {
        const qsizetype debut = position_;
        while (position_ < contenu_.size() && contenu_[position_] != ',' && contenu_[position_] != '\r' &&
               contenu_[position_] != '\n')
            ++position_;
        item = Depuis_Cp1252(contenu_.mid(debut, position_ - debut));
    }
    if (position_ < contenu_.size() && contenu_[position_] == ',') ++position_;
    else Passer_Fin_Ligne();
    return true;
}

}  // namespace ostrel
