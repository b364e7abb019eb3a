#include "tools/fenetre_outil.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/donnees.h"
#include "platform/chemins.h"
#include "platform/fichiers.h"
#include "platform/ui/boites_qt.h"

namespace ostrel {

namespace {
const QString Extension = QStringLiteral(".txt");
const QString Filtre = QStringLiteral("(*.txt)|*.txt");
}  // namespace

void Configurer_Outil(const QString& nom_programme) {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(nom_programme);
    Installer_Traductions_Qt();
    QFont police = QApplication::font();
    police.setPointSize(10);
    QApplication::setFont(police);
}

int Executer_Outil(int& argc, char** argv, const QString& nom_programme,
                   const std::function<std::unique_ptr<Fenetre_Outil>()>& creer) {
    Ignorer_Limite_Taille_Fichier();
    Preparer_Dossier_Execution();
    QApplication application(argc, argv);
    Configurer_Outil(nom_programme);
    Boites_Qt boites;
    Definir_Boites(&boites);
    int resultat;
    {
        const std::unique_ptr<Fenetre_Outil> fenetre = creer();
        fenetre->show();
        resultat = QApplication::exec();
    }
    Definir_Boites(nullptr);
    return resultat;
}

Fenetre_Outil::Fenetre_Outil(const QString& forme, const QString& caption, const QString& texte, const QPixmap& image) {
    setObjectName(forme);
    setWindowTitle(caption);

    Label1 = new QLabel(texte, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    QFont gras = Label1->font();
    gras.setBold(true);
    Label1->setFont(gras);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(image);
    Image1->setFixedSize(image.size());
    Image1->setFrameShape(QFrame::NoFrame);

    Cmd_Démarrage = new QPushButton(QStringLiteral("Lancer une conversion"), this);
    Cmd_Démarrage->setObjectName(QStringLiteral("Cmd_Démarrage"));
    Cmd_Démarrage->setMinimumSize(220, 34);
    Cmd_Démarrage->setDefault(true);
    connect(Cmd_Démarrage, &QPushButton::clicked, this, [this] { Cmd_Démarrage_Click(); });

    Frame1 = new QGroupBox(QStringLiteral("Patientez SVP"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto* cadre = new QVBoxLayout(Frame1);
    cadre->addWidget(ProgressBar1);
    // The group keeps its place while hidden, so nothing moves when it shows.
    QSizePolicy garde = Frame1->sizePolicy();
    garde.setRetainSizeWhenHidden(true);
    Frame1->setSizePolicy(garde);
    Frame1->hide();

    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(18, 16, 18, 16);
    colonne->setSpacing(12);
    colonne->addWidget(Label1);
    colonne->addWidget(Image1, 0, Qt::AlignHCenter);
    colonne->addWidget(Cmd_Démarrage, 0, Qt::AlignHCenter);
    colonne->addWidget(Frame1);
    Label1->setFixedWidth(image.width() + 20);
    setFixedSize(sizeHint());
}

void Fenetre_Outil::Afficher_Frame(bool afficher) {
    Frame1->setVisible(afficher);
    ProgressBar1->setVisible(afficher);
}

void Fenetre_Outil::Caption_Frame(const QString& texte) { Frame1->setTitle(texte); }

void Fenetre_Outil::Fin_Travail() {
    Cmd_Démarrage->setEnabled(true);
    Afficher_Frame(false);
}

void Fenetre_Outil::Debut_Progression(Long total, Long estimation) {
    total_ = total > 0 ? total : std::max<Long>(estimation, 1);
    affiche_ = 0;
    ProgressBar1->setValue(0);
    Afficher_Frame(true);
    Rafraichir();
}

void Fenetre_Outil::Debut_Progression(Long total, const QByteArray& contenu) {
    // The lines are only counted when the head gives no count.
    Debut_Progression(total, total > 0 ? 1 : static_cast<Long>(std::min<qsizetype>(contenu.count('\n'), Table_Mesures::Taille)));
}

void Fenetre_Outil::Progression(Long fait) {
    const long long v = static_cast<long long>(fait) * 100 / total_;
    if (v < 0 || v >= 100 || v == affiche_) return;
    affiche_ = static_cast<int>(v);
    // The bar takes every percent but is painted at the window system's next
    // turn, not at once (a bar repaints itself on every new value): a turn
    // every hundredth and a half of a second keeps the bar moving and the
    // window alive, where a paint per percent would cost more than the work.
    ProgressBar1->setUpdatesEnabled(false);
    ProgressBar1->setValue(affiche_);
    ProgressBar1->setUpdatesEnabled(true);
    if (!tour_.isValid() || tour_.hasExpired(Intervalle_Evenements_Ms)) Traiter_Evenements();
}

void Fenetre_Outil::Rafraichir() {
    if (isVisible()) repaint();
    Traiter_Evenements();
}

void Fenetre_Outil::Traiter_Evenements() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    tour_.start();
}

int Fenetre_Outil::Message(const QString& texte, int style) { return Boites().MsgBox(texte, style); }

QString Fenetre_Outil::Fichier_Entree(const QString& titre) {
    CmnDial_Ouvrir.DefaultExt = Extension;
    CmnDial_Ouvrir.Filter = Filtre;
    CmnDial_Ouvrir.DialogTitle = titre;
    CmnDial_Ouvrir.InitDir = QStringLiteral("c:");
    CmnDial_Ouvrir.FileName.clear();
    if (!Boites().ShowOpen(CmnDial_Ouvrir)) CmnDial_Ouvrir.FileName.clear();
    const QString nom = CmnDial_Ouvrir.FileName;
    if (!nom.endsWith(Extension, Qt::CaseInsensitive)) return {};
    if (!QFileInfo::exists(Chemin_Natif(nom))) {
        Message(QStringLiteral("Nom de fichier introuvable"), vbExclamation);
        activateWindow();
        setFocus();
        return {};
    }
    return nom;
}

QString Fenetre_Outil::Fichier_Sortie(const QString& proposition) {
    CmDial_Enreg.DialogTitle = QStringLiteral("Nom du nouveau fichier");
    CmDial_Enreg.InitDir = QStringLiteral("c:");
    CmDial_Enreg.Filter = Filtre;
    CmDial_Enreg.FileName = proposition;
    if (!Boites().ShowSave(CmDial_Enreg) || CmDial_Enreg.FileName.isEmpty()) return {};
    QString nom = CmDial_Enreg.FileName;
    if (!nom.endsWith(Extension, Qt::CaseInsensitive)) nom += Extension;
    return nom;
}

void Fenetre_Outil::closeEvent(QCloseEvent* evenement) {
    // Closing in the middle of a file would lose the work under way.
    if (en_cours_) evenement->ignore();
    else evenement->accept();
}

}  // namespace ostrel
