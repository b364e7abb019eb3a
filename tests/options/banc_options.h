#pragma once
// Test bench of the options and bridge screens: the program's forms on a
// temporary drive c:, the dashboard started against a simulated bus on COM1,
// scripted boxes and dialogs, the recorder printer, and the sixteen serial
// ports mapped to devices the test chooses (absent by default).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "commun/programme_essai.h"
#include "files/options_logiciel.h"
#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "options/formes_options.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/imprimante.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "sim/simulateur.h"

namespace ostrel_test {

// A pseudo-terminal nobody answers on: a serial port that exists.
class Pty_Libre {
public:
    Pty_Libre() {
        maitre_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(maitre_);
        ::unlockpt(maitre_);
        char nom[128] = {};
        ::ptsname_r(maitre_, nom, sizeof nom);
        chemin_ = QString::fromLocal8Bit(nom);
    }
    ~Pty_Libre() { ::close(maitre_); }
    Pty_Libre(const Pty_Libre&) = delete;
    Pty_Libre& operator=(const Pty_Libre&) = delete;
    QString Chemin() const { return chemin_; }

private:
    int maitre_ = -1;
    QString chemin_;
};

// Answers the connection question as told; records the presets of the colour
// dialogs and of the font dialog.
class Boites_Options : public Boites_Programme {
public:
    std::vector<ostrel::Couleur> presets_couleur;
    std::vector<QString> presets_police;
    bool police_en_echec = false;

    bool ShowColor(ostrel::Couleur& couleur, const QString& titre) override {
        presets_couleur.push_back(couleur);
        return Boites_Scriptees::ShowColor(couleur, titre);
    }
    bool ShowFont(ostrel::Choix_Police& police) override {
        presets_police.push_back(police.Nom);
        if (police_en_echec) {
            police.Nom.clear();
            return true;
        }
        return Boites_Scriptees::ShowFont(police);
    }
};

class Banc_Options : public ::testing::Test, protected Programme_Essai<Boites_Options> {
protected:
    void SetUp() override {
        Application();
        ASSERT_TRUE(disque.isValid());
        for (int n = 1; n <= 16; ++n) Port_Absent(n);
        Installer({ostrel::Enregistrer_Formes_Options});
        ostrel::Ligne_Reservee_Options.clear();
        ostrel::Definir_Horloge_Murale([] { return ostrel::DateSerial(2027, 3, 7) + ostrel::TimeSerial(9, 5, 3); });
        ostrel::Definir_Echelle_Temps(0.05);
    }

    void TearDown() override {
        Arreter();
        for (int n = 2; n <= 16; ++n) qunsetenv(QByteArray("OSTREL_COM") + QByteArray::number(n));
    }

    static void Port_Absent(int n) {
        qputenv(QByteArray("OSTREL_COM") + QByteArray::number(n), QByteArray("/nonexistent/ostrel/tty") + QByteArray::number(n));
    }
    static void Port_Vers(int n, const QString& chemin) {
        qputenv(QByteArray("OSTREL_COM") + QByteArray::number(n), chemin.toUtf8());
    }

    // The options file the program starts with.
    void Fichier_Options(const QString& nom, const QString& mdp, int port) {
        QByteArray contenu = "version 1\r\n1\r\n************ Nom de l'installation ******************\r\n";
        contenu += ostrel::Vers_Cp1252(nom) + "\r\n" + ostrel::Vers_Cp1252(mdp) + "\r\n";
        contenu += "********* Sauvegarde du port de communication ************\r\n " + QByteArray::number(port) + " \r\n";
        contenu += "********* Sauvegarde des couleurs variables et de la police\r\nArial\r\n";
        for (const char* c : {" 16777215 ", " 16777215 ", " 8421376 ", " 0 ", " 0 ", " 14540253 ", "-2147483633 ",
                              "-2147483633 ", " 0 "})
            contenu += QByteArray(c) + "\r\n";
        contenu += "********* Sauvegarde des couleurs variables et de la police\r\n";
        for (int i = 0; i < 16; ++i) contenu += " 255 \r\n";
        Ecrire("OstrelSoft+/ver.dva", contenu);
    }

    void Ecrire(const QString& relatif, const QByteArray& contenu) const { ASSERT_TRUE(disque.Ecrire(relatif, contenu)); }
    QByteArray Lire(const QString& relatif) const { return disque.Lire(relatif); }
    QStringList Lignes_Options() const { return disque.Lignes("OstrelSoft+/ver.dva"); }
    QStringList Trace() const { return disque.Lignes("Windows/setupm.snf"); }

    // Starts the simulated bus with these modules on COM1 and the program
    // against it (Yes to the connection question).
    ostrel::Frm_Menu1_Forme* Demarrer(const std::vector<int>& modules = {1, 3, 7}, QSize taille = {1280, 1024}) {
        bus.Etat_Demonstration(modules);
        if (!Demarrer_Bus()) return nullptr;
        return Demarrer_Sans_Bus(ostrel::vbYes, taille);
    }
    ostrel::Frm_Menu1_Forme* Demarrer_Sans_Bus(int reponse = ostrel::vbNo, QSize taille = {1280, 1024}) {
        ostrel::Frm_Menu1_Forme* t = Demarrer_Tableau(reponse, taille);
        boites.Effacer();
        return t;
    }

    ostrel::Forme* Ecran(const char* forme) const { return registre.Instance(QString::fromLatin1(forme)); }

    template <class T = QWidget> T* Controle(const char* forme, const char* nom) const {
        ostrel::Forme* f = Ecran(forme);
        return f ? f->findChild<T*>(QString::fromUtf8(nom)) : nullptr;
    }
    // Element `index` of a control array.
    template <class T = QWidget> T* Element(const char* forme, const char* nom, int index) const {
        ostrel::Forme* f = Ecran(forme);
        if (!f) return nullptr;
        for (T* c : f->findChildren<T*>(QString::fromUtf8(nom)))
            if (c->property("Index").toInt() == index) return c;
        return nullptr;
    }

    // Types text into a field key by key, as the keyboard would.
    static void Taper(QWidget* champ, const QString& texte) {
        champ->setFocus();
        for (QChar c : texte) {
            if (c == QLatin1Char('\b')) {
                QTest::keyClick(champ, Qt::Key_Backspace);
                continue;
            }
            const int cle = c.isLetter() && c.unicode() < 128 ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                            : c.isDigit()                     ? Qt::Key_0 + (c.unicode() - '0')
                                                              : 0;
            QKeyEvent appui(QEvent::KeyPress, cle, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(champ, &appui);
            QKeyEvent relache(QEvent::KeyRelease, cle, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(champ, &relache);
        }
    }

    static void Cliquer(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
};

}  // namespace ostrel_test
