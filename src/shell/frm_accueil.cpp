#include "shell/frm_accueil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "files/messages_fichiers.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/touches.h"
#include "shell/demarrage.h"

namespace ostrel {
namespace {

// The largest home picture read. The image reader takes no picture whose
// pixels would fill more than 128 MB, and a picture's pixels fill at least
// what its file holds; a site's picture is a few megabytes. A file of 256 MB
// is none it could show.
constexpr qint64 Taille_Max_Image_Accueil = qint64{256} << 20;

QPushButton* Bouton(const char* nom, const QString& texte, QWidget* parent) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QString::fromLatin1(nom));
    return b;
}

// The picture keeps its colours while the screen is disabled under the password window.
class Image_Accueil : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        const QPixmap image = pixmap();
        if (image.isNull()) return;
        QPainter p(this);
        const QSize taille = image.deviceIndependentSize().toSize();
        p.drawPixmap(QRect(QPoint((width() - taille.width()) / 2, (height() - taille.height()) / 2), taille), image);
    }
};

}  // namespace

void Installer_Image_Accueil(const QString& chemin) {
    if (QFileInfo::exists(chemin)) return;  // the site's own picture stays
    QFile fournie(QStringLiteral(":/Accueil.bmp"));
    if (!fournie.open(QIODevice::ReadOnly)) return;
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    Sauvegarde_Sure(chemin, fournie.readAll());
}

Frm_Accueil_Forme::Frm_Accueil_Forme() : Forme(QStringLiteral("Frm_Accueil")) {
    cmd_menu1_ = Bouton("Cmd_Menu1", QStringLiteral("1 - Exploitation"), this);
    cmd_menu2_ = Bouton("Cmd_Menu2", QStringLiteral("2 - Paramétrages"), this);
    cmd_menu3_ = Bouton("Cmd_Menu3", QStringLiteral("3 - Options"), this);
    cmd_quitter_ = Bouton("Cmd_Quitter", QStringLiteral("Quitter"), this);
    label_nom_logiciel_ = new QLabel(this);
    label_nom_logiciel_->setObjectName(QStringLiteral("Label_Nom_Logiciel"));
    label_nom_logiciel_->setAlignment(Qt::AlignCenter);
    picture_accueil_ = new Image_Accueil(this);
    picture_accueil_->setObjectName(QStringLiteral("Picture_accueil"));
    picture_accueil_->setAlignment(Qt::AlignCenter);
    connect(cmd_menu1_, &QPushButton::clicked, this, &Frm_Accueil_Forme::Cmd_Menu1_Click);
    connect(cmd_menu2_, &QPushButton::clicked, this, &Frm_Accueil_Forme::Cmd_Menu2_Click);
    connect(cmd_menu3_, &QPushButton::clicked, this, &Frm_Accueil_Forme::Cmd_Menu3_Click);
    connect(cmd_quitter_, &QPushButton::clicked, this, &Frm_Accueil_Forme::Cmd_Quitter_Click);
}

void Frm_Accueil_Forme::Form_Load() {
    Placer_Zone_Fille(Var_Left_Fille, Var_Top_Fille, Var_Width_Fille, Var_Height_Fille);
    Couleur_Fond(Couleur_Fenetre);
    Frm_Menu1().Lbl_Nom_Menu(QStringLiteral("Accueil"));
    label_nom_logiciel_->setText(Nom_Logiciel);
    Couleur_Texte_Lisible(label_nom_logiciel_, 0, Couleur_Fenetre, Couleur_Police);
    // The picture comes last: when it cannot be read the screen shows without it.
    const QString chemin = Chemin_Natif(Repertoire_Application + QStringLiteral("\\Images\\Accueil.bmp"));
    Installer_Image_Accueil(chemin);
    image_ = QPixmap();
    QByteArray octets;  // read as every file, so that a name turned into a pipe holds nothing up
    if (!QFileInfo(chemin).isFile())
        Boites().MsgBox(QStringLiteral("Error 53 Fichier introuvable"), vbCritical, Nom_Logiciel);
    else if (const Resultat_Fichier lecture = Lire_Fichier(chemin, octets, Taille_Max_Image_Accueil);
             !lecture || !image_.loadFromData(octets))
        Boites().MsgBox(Texte_Lecture_Refusee(QStringLiteral("Error 481 Image incorrecte"), lecture,
                                              QStringLiteral("une image d'accueil")),
                        vbCritical, Nom_Logiciel);
    picture_accueil_->setVisible(!image_.isNull());
    Redimensionner();
}

void Frm_Accueil_Forme::Form_Resize() {
    const double W = width(), H = height();
    label_nom_logiciel_->setGeometry(Arrondi_Pixels(W * 0.05), Arrondi_Pixels(H * 0.04), Arrondi_Pixels(W * 0.90), Arrondi_Pixels(H * 0.12));
    // The picture on the left when there is one, the buttons in a column.
    const double x = image_.isNull() ? W * 0.32 : W * 0.55;
    if (!image_.isNull()) {
        picture_accueil_->setGeometry(Arrondi_Pixels(W * 0.06), Arrondi_Pixels(H * 0.20), Arrondi_Pixels(W * 0.42), Arrondi_Pixels(H * 0.70));
        picture_accueil_->setPixmap(
            image_.scaled(picture_accueil_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    int i = 0;
    for (QPushButton* b : {cmd_menu1_, cmd_menu2_, cmd_menu3_, cmd_quitter_}) {
        b->setGeometry(Arrondi_Pixels(x), Arrondi_Pixels(H * (0.22 + 0.17 * i)), Arrondi_Pixels(W * 0.36), Arrondi_Pixels(H * 0.12));
        ++i;
    }
    for (QWidget* w : {static_cast<QWidget*>(cmd_menu1_), static_cast<QWidget*>(cmd_menu2_),
                       static_cast<QWidget*>(cmd_menu3_), static_cast<QWidget*>(cmd_quitter_),
                       static_cast<QWidget*>(label_nom_logiciel_)}) {
        Nom_Police(w, Police_Options);
        Taille_Police(w, Taille_Police_Grande);
    }
}

void Frm_Accueil_Forme::Form_KeyUp(int& KeyCode, int /*Shift*/) {
    switch (KeyCode) {
    case 97: Cmd_Menu1_Click(); break;
    case 98: Cmd_Menu2_Click(); break;
    case 99: Cmd_Menu3_Click(); break;
    case Touche::Echap:
    case 81: Cmd_Quitter_Click(); break;
    default: break;
    }
}

void Frm_Accueil_Forme::Cmd_Menu1_Click() { Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux); }

void Frm_Accueil_Forme::Cmd_Menu2_Click() {
    Ecran_Apres_Mdp = QStringLiteral("Configuration");
    Mdp_Saisie = Mdp_Admin;
    setEnabled(false);
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Mot de passe"), Faux);
}

void Frm_Accueil_Forme::Cmd_Menu3_Click() {
    Ecran_Apres_Mdp = QStringLiteral("Options Logicielles");
    Mdp_Saisie = Mdp_Admin;
    setEnabled(false);
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Mot de passe"), Faux);
}

void Frm_Accueil_Forme::Cmd_Quitter_Click() { Fin_Programme(); }

}  // namespace ostrel
