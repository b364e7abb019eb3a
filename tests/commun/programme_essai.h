#pragma once
// The program as the screen tests and the picture tools run it: offscreen on
// a temporary drive c:, its tables emptied, message boxes scripted, the
// printer recording, its forms registered, the dashboard started with or
// without the simulated bus; and everything put back as it was at the end.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>

#include "commun/application_test.h"
#include "commun/delais_test.h"
#include "link/ecran_communication.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/clavier.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/imprimante.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "sim/simulateur.h"

namespace ostrel_test {

inline const QString Question_Connexion = QStringLiteral("Le module est il connecté à l'ordinateur?");

// Answers the connection question as told; every other box from the queue,
// then with its first button.
class Boites_Programme : public ostrel::Boites_Scriptees {
public:
    int reponse_connexion = ostrel::vbYes;
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        if (texte == Question_Connexion) Reponses.push_front(reponse_connexion);
        return Boites_Scriptees::MsgBox(texte, style, titre);
    }
};

// Drive c: in a temporary folder, the Windows folder inside it and port 1
// mapped to a device that does not exist (until a bus is started); the
// environment put back when it goes. Not installed, the environment's own
// drive and ports are kept.
class Disque_Essai : public QTemporaryDir {
public:
    explicit Disque_Essai(bool installer = true) : installe_(installer) {
        if (!installe_) return;
        qputenv("OSTREL_DISQUE_C", path().toUtf8());
        qputenv("OSTREL_DOSSIER_WINDOWS", filePath("Windows").toUtf8());
        qputenv("OSTREL_COM1", filePath("pas_de_port").toUtf8());
    }
    ~Disque_Essai() {
        if (installe_)
            for (const char* v : {"OSTREL_DISQUE_C", "OSTREL_DOSSIER_WINDOWS", "OSTREL_COM1"}) qunsetenv(v);
    }
    Disque_Essai(const Disque_Essai&) = delete;
    Disque_Essai& operator=(const Disque_Essai&) = delete;

    QByteArray Lire(const QString& relatif) const {
        QFile f(filePath(relatif));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Writes a file, its folders made first.
    bool Ecrire(const QString& relatif, const QByteArray& contenu) const {
        QDir().mkpath(QFileInfo(filePath(relatif)).absolutePath());
        QFile f(filePath(relatif));
        return f.open(QIODevice::WriteOnly) && f.write(contenu) == contenu.size();
    }
    // A file's lines (Windows-1252, CR LF), without the empty one after the last line end.
    QStringList Lignes(const QString& relatif) const {
        QStringList l = ostrel::Depuis_Cp1252(Lire(relatif)).split(QStringLiteral("\r\n"));
        if (!l.isEmpty() && l.back().isEmpty()) l.pop_back();
        return l;
    }

private:
    bool installe_;
};

template <class Boites = Boites_Programme> class Programme_Essai {
public:
    explicit Programme_Essai(bool disque_temporaire = true) : disque(disque_temporaire) {}

    // Tables emptied; boxes, printer and the program's forms installed, with
    // the forms of the other libraries given. The screens' timers tick only
    // when the test fires them.
    void Installer(std::initializer_list<void (*)(ostrel::Registre_Formes&)> autres_formes = {}) {
        ostrel::Reinitialiser_Donnees();
        Delais_Reels();
        ostrel::Minuterie::Ticks_A_La_Main(true);
        ostrel::Definir_Boites(&boites);
        ostrel::Definir_Imprimante(&imprimante);
        ostrel::Enregistrer_Formes(registre);
        for (auto enregistrer : autres_formes) enregistrer(registre);
        ostrel::Definir_Formes(&registre);
    }

    // The bus started with the modules set beforehand, port 1 on it.
    bool Demarrer_Bus() {
        if (!bus.Demarrer()) return false;
        qputenv("OSTREL_COM1", bus.Chemin().toUtf8());
        return true;
    }

    // The dashboard shown at this size and its start-up run, the connection
    // question answered as told.
    ostrel::Frm_Menu1_Forme* Demarrer_Tableau(int reponse_connexion, QSize taille = {1280, 1024}) {
        boites.reponse_connexion = reponse_connexion;
        registre.Charger(QStringLiteral("Frm_Menu1"));
        ostrel::Frm_Menu1_Forme* t = Tableau();
        if (!t) return nullptr;
        t->resize(taille);
        t->show();
        t->Fin_Demarrage();
        Traiter_Evenements();
        return t;
    }

    // Every form unloaded, the port closed, the bus stopped, nothing of the
    // test left installed.
    void Arreter() {
        for (const QString& forme : ostrel::Ordre_Dechargement()) registre.Decharger(forme);
        Traiter_Evenements();
        if (ostrel::Ecran_Communication().Ostrel.PortOpen()) ostrel::Ecran_Communication().Ostrel.PortOpen(false);
        ostrel::Definir_Formes(nullptr);
        ostrel::Definir_Boites(nullptr);
        ostrel::Definir_Clavier_Ailleurs(nullptr);
        ostrel::Definir_Imprimante(nullptr);
        ostrel::Definir_Tableau_Bord(nullptr);
        ostrel::Definir_Horloge_Murale(nullptr);
        ostrel::Definir_Echelle_Temps(1.0);
        Delais_Par_Defaut();
        ostrel::Minuterie::Ticks_A_La_Main(false);
        bus.Arreter();
    }

    ostrel::Frm_Menu1_Forme* Tableau() const { return registre.Instance_De<ostrel::Frm_Menu1_Forme>(QStringLiteral("Frm_Menu1")); }

    Disque_Essai disque;
    Boites boites;
    ostrel::Imprimante_Enregistreuse imprimante;
    ostrel::Registre_Formes registre;
    ostrel::sim::Simulateur bus;
};

}  // namespace ostrel_test
