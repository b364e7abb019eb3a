#include "options/options_logicielles.h"

#include <exception>

#include "link/variables.h"
#include "platform/port_serie.h"

namespace ostrel {

std::array<Couleur*, 9> Couleurs_En_Vigueur() {
    return {&Couleur_Police, &Couleur_Police_Modules, &Couleur_Fenetre, &Couleur_Fenetre_2, &Couleur_Fenetre_3,
            &Couleur_Cadre, &Couleur_Cadre_Bandeau, &Couleur_Fond_Bandeau, &Couleur_Police_Bandeau};
}

Jeu_Couleurs Lire_Couleurs_En_Vigueur() {
    Jeu_Couleurs c{};
    const auto en_vigueur = Couleurs_En_Vigueur();
    for (size_t i = 0; i < c.size(); ++i) c[i] = *en_vigueur[i];
    return c;
}

void Mettre_Couleurs_En_Vigueur(const Jeu_Couleurs& couleurs) {
    const auto en_vigueur = Couleurs_En_Vigueur();
    for (size_t i = 0; i < couleurs.size(); ++i) *en_vigueur[i] = couleurs[i];
}

Jeu_Couleurs Couleurs_Defaut(Couleur face_bouton) {
    return {0xFFFFFF, 0xFFFFFF, 0x808000, 0, 0, 0xDDDDDD, face_bouton, face_bouton, 0};
}

bool Sonder_Port(Port_Serie& port, int numero) {
    try {
        if (port.PortOpen()) port.PortOpen(false);
        if (numero < 1 || numero > Nb_Ports) return false;
        return port.CommPort(numero) && port.PortOpen(true);
    } catch (const std::exception&) {
        return false;
    }
}

QString Entree_Port(int numero) { return QStringLiteral("COM ") + QString::number(numero); }

Octet Numero_Entree_Port(const QString& entree) {
    if (!entree.startsWith(QStringLiteral("COM "))) return 0;
    bool ok = false;
    const int n = entree.mid(4).toInt(&ok);
    return ok && n >= 1 && n <= Nb_Ports ? static_cast<Octet>(n) : 0;
}

Octet Position_Port(const QStringList& entrees, Octet port) {
    // The list's count taken as a byte, as the search has always done.
    const int n = static_cast<Octet>(entrees.size());
    const QString cherchee = Entree_Port(port);
    for (int k = 1; k <= n; ++k)
        if (entrees[k - 1] == cherchee) return static_cast<Octet>(k);
    return 0;
}

}  // namespace ostrel
