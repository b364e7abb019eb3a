#include "platform/ui/boites_qt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QDir>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>

#include "platform/chemins.h"
#include "platform/clavier.h"
#include "platform/ui/forme.h"
#include "platform/ui/couleurs_ui.h"

namespace ostrel {
namespace {

QWidget* Parent() {
    QWidget* w = QApplication::activeWindow();
    if (!w) {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && !qobject_cast<QDialog*>(t)) return t;
    }
    return w;
}

const QLocale Francais(QLocale::French, QLocale::France);

// The file list's columns in French whatever the desktop's language: Qt
// writes sizes and dates in the system's forms ("4.88 KiB", "9 Dec 2026")
// and calls a folder "Folder", where the other texts follow the translations.
class Colonnes_Francaises : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* modele = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !modele || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = modele->fileInfo(source);
        switch (index.column()) {
        case 1: return info.isFile() ? Francais.formattedDataSize(info.size()) : QString();
        case 2:
            if (info.isRoot()) return QStringLiteral("Lecteur");
            if (!info.isFile()) return QStringLiteral("Dossier");
            return QIdentityProxyModel::data(index, role);  // the kind of file, in the default (French) language
        default: return Francais.toString(modele->lastModified(source), QLocale::ShortFormat);
        }
    }
};

QFileSystemModel* Modele_Fichiers(const QAbstractItemView* vue) {
    if (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(vue->model()))
        return qobject_cast<QFileSystemModel*>(proxy->sourceModel());
    return qobject_cast<QFileSystemModel*>(vue->model());
}

// The dialog wide enough for every column of its detailed view, within the screen.
void Elargir_Pour_Colonnes(QFileDialog& dialogue, QTreeView* vue) {
    const int manque = vue->header()->length() + vue->style()->pixelMetric(QStyle::PM_ScrollBarExtent) -
                       vue->viewport()->width();
    QSize taille = dialogue.size();
    if (manque > 0) taille.rwidth() += manque;
    if (const QScreen* ecran = dialogue.screen()) taille = taille.boundedTo(ecran->availableGeometry().size());
    if (taille != dialogue.size()) dialogue.resize(taille);
}

// No column of the detailed view is cut: each is as wide as its title and the
// texts it shows (dates, sizes and types), checked
// again whenever a folder has been read; and the dialog is as wide as they are.
void Dimensionner_Colonnes(QFileDialog& dialogue) {
    auto* vue = dialogue.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!vue) return;
    QHeaderView* tete = vue->header();
    const QFontMetrics fm(vue->font());
    const QDateTime date_longue(QDate(2027, 12, 28), QTime(23, 59, 59));
    const QString exemples[] = {QString(28, QLatin1Char('n')), Francais.formattedDataSize(999 * 1024 * 1024),
                                QString(16, QLatin1Char('n')), Francais.toString(date_longue, QLocale::ShortFormat)};
    const int marge = fm.horizontalAdvance(QStringLiteral("MM")) + vue->iconSize().width();
    for (int c = 0; c < tete->count() && c < 4; ++c)
        tete->resizeSection(c, std::max(fm.horizontalAdvance(exemples[c]) + marge, tete->sectionSizeHint(c)));
    // The places on the left ("Ordinateur", the home folder) read whole too.
    const int colonnes = tete->length() + vue->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * vue->frameWidth();
    int lieux = 0;
    auto* barre = dialogue.findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
    auto* separation = dialogue.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (barre && separation) {
        lieux = barre->sizeHintForColumn(0) + 2 * barre->frameWidth() + fm.horizontalAdvance(QLatin1Char('M'));
        separation->setSizes({lieux, colonnes});
    }
    QSize taille = dialogue.sizeHint().expandedTo(QSize(lieux + colonnes + 60, 520));
    if (const QScreen* ecran = dialogue.screen()) taille = taille.boundedTo(ecran->availableGeometry().size());
    dialogue.resize(taille);
    if (QFileSystemModel* modele = Modele_Fichiers(vue)) {
        QObject::connect(modele, &QFileSystemModel::directoryLoaded, &dialogue, [&dialogue, vue] {
            QHeaderView* t = vue->header();
            for (int c = 0; c < t->count(); ++c) {
                const int avant = t->sectionSize(c);
                vue->resizeColumnToContents(c);
                if (t->sectionSize(c) < avant) t->resizeSection(c, avant);
            }
            Elargir_Pour_Colonnes(dialogue, vue);
        });
    }
}

struct Compteur_Modal {
    int& n;
    explicit Compteur_Modal(int& c) : n(c) { ++n; }
    ~Compteur_Modal() { --n; }
};

// A box or a dialog from the moment it is due until it closes, innermost
// last. A box that shows means the operator is at the program: every wait
// beneath it ends too, so that no wait holds back the input meant for the
// box on the screen, and each box below shows in its turn once the one above
// is answered.
struct Boite_Due {
    explicit Boite_Due(QDialog& b) : boite(b) {}
    QDialog& boite;
    bool montree = false;
    // The server's time at which it began to wait: a press before was typed
    // ahead, and brings nothing.
    std::optional<uint32_t> debut;
    QEventLoop* attente = nullptr;
    bool attente_finie = false;
};

std::vector<Boite_Due*>& Boites_Dues() {
    static std::vector<Boite_Due*> boites;
    return boites;
}

void Finir_Attentes() {
    for (Boite_Due* b : Boites_Dues()) {
        b->attente_finie = true;
        if (b->attente) b->attente->quit();
    }
}

// Whether an event of server time `heure` came at `depuis` or later; an
// event sent by another program may carry no time at all (X's "now").
bool Depuis(quint64 heure, std::optional<uint32_t> depuis) {
    return !depuis || heure == 0 || !Avant(static_cast<uint32_t>(heure), *depuis);
}

// A key's press comes first as the override of shortcuts.
bool Est_Appui(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::ShortcutOverride || type == QEvent::MouseButtonPress ||
           type == QEvent::MouseButtonDblClick || type == QEvent::TouchBegin || type == QEvent::TabletPress;
}

// Holds back the input that must not act, whoever it is meant for:
// - from the moment a box is due until it is on the screen, everything: the
//   screen below would act on keys typed while the program worked (Return,
//   Escape, Q on their release), and the click that brings the operator back
//   must not press what lies under it. A key or a button pressed in one of
//   the program's windows after the box began to wait is the operator there,
//   whatever the window system says of the keyboard (a window manager gone
//   that left its settings behind): the box shows.
// - a key whose press was held, or held down when the box came, until it is
//   up: its repeats and its release would act on the box or on the screen
//   below. Keys typed before the box came went to the windows it blocks,
//   where Qt drops them: a Return typed blind does not answer it.
// Shortcuts come from key presses too: their override is taken, so that
// none fires.
class Entrees_Retenues : public QObject {
public:
    static void Installer() {
        static QPointer<Entrees_Retenues> filtre;
        if (!filtre) filtre = new Entrees_Retenues(qApp);
        qApp->installEventFilter(filtre);  // before every other filter
    }
    bool eventFilter(QObject* objet, QEvent* e) override {
        const QEvent::Type type = e->type();
        Boite_Due* due = Boites_Dues().empty() ? nullptr : Boites_Dues().back();
        if (due && objet == &due->boite && type == QEvent::Show && !due->montree) {
            due->montree = true;
            // Pressed before the box came, perhaps in a window it blocks
            // (whose keys reach no filter): held until they are up.
            for (const uint8_t code : Touches_Enfoncees()) tenues_.try_emplace(code, Touche_Tenue{0, false});
            return false;
        }
        if (!e->isInputEvent()) return due && !due->montree && (type == QEvent::Close || type == QEvent::Shortcut);
        const auto* entree = static_cast<QInputEvent*>(e);
        const auto* touche = type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride
                                 ? static_cast<const QKeyEvent*>(e)
                                 : nullptr;
        const quint32 code = touche ? (touche->nativeScanCode() ? touche->nativeScanCode() : static_cast<quint32>(touche->key())) : 0;
        if (touche) {
            const auto tenue = tenues_.find(code);
            if (tenue != tenues_.end()) {
                // The key coming up, the same press on its way from the window
                // to the control, or a repeat: the server repeats a key held
                // down as a release and a press of one time, which Qt does
                // not always see as such. A later press is the operator's.
                Touche_Tenue& t = tenue->second;
                if (type == QEvent::KeyRelease) {
                    t.relachee = true;
                    t.heure = entree->timestamp();
                    return true;
                }
                if (entree->timestamp() == t.heure || (touche->isAutoRepeat() && !t.relachee)) {
                    t.relachee = false;
                    return Retenir(e);
                }
                tenues_.erase(tenue);
            }
        }
        if (!due) return false;
        if (due->montree) return false;
        if (Est_Appui(type) && due->attente && !due->attente_finie && Depuis(entree->timestamp(), due->debut))
            Finir_Attentes();
        if (touche && type != QEvent::KeyRelease) tenues_[code] = {entree->timestamp(), false};
        return Retenir(e);
    }

private:
    using QObject::QObject;
    static bool Retenir(QEvent* e) {
        if (e->type() == QEvent::ShortcutOverride) e->accept();
        return true;
    }
    struct Touche_Tenue {
        quint64 heure;  // of its last press or release
        bool relachee;
    };
    std::map<quint32, Touche_Tenue> tenues_;
};

// How often the window system is asked while a box waits, and over how
// many answers in a row (0.2 s) its word that the operator is back must
// hold: a window manager passes through no focus or the root for a moment
// each time a window closes, and one answer read then would bring the box
// over the program in use.
constexpr int Intervalle_Sonde_Ms = 25;
constexpr int Reponses_Tenues = 9;

// A box that comes while the operator is at another program (the end of a
// download or a printout nobody watched) would come over that program, and
// the next key typed there would answer it. It waits instead: the program
// asks for attention and the box shows once the operator is back in one of
// its windows. A box mapped at once, even one shown without activation, is
// not enough: Openbox brings it over the program in use together with the
// window it belongs to, and gives it the keyboard. Where only the pointer
// says the operator is here, the box waits quietly for that to hold. Without
// a window of the program on screen there is nowhere to come back to, and
// the box shows at once.
void Attendre_Operateur(Boite_Due& due) {
    QPointer<QWidget> fenetre = Parent();
    if (!fenetre || !fenetre->isVisible()) return;
    Presence presence = Operateur_Present();
    if (presence == Presence::Ici) return;
    // Input that came while the program worked, not read yet, may be the
    // operator's: it is read now, and held, and the question asked again.
    due.debut = Lire_Entrees_Recues();
    presence = Operateur_Present();
    if (presence == Presence::Ici || due.attente_finie || !fenetre || !fenetre->isVisible()) return;
    QEventLoop boucle;
    due.attente = &boucle;
    // Told to whoever looks at the box (the tests): it waited for the operator.
    due.boite.setProperty("ostrel_attendue", true);
    bool attention = false;
    const auto demander_attention = [&] {
        if (!attention) Demander_Attention(fenetre);
        attention = true;
    };
    int ici = 0;  // answers in a row that the operator is here
    if (presence == Presence::Ailleurs)
        demander_attention();
    else
        ici = 1;
    // Asked again and again: the program's own view may never have seen
    // the keyboard leave, and then sees no change when it comes back.
    QTimer sonde;
    sonde.setInterval(Intervalle_Sonde_Ms);
    QObject::connect(&sonde, &QTimer::timeout, &boucle, [&] {
        if (due.attente_finie) {
            sonde.stop();
        } else if (!fenetre || !fenetre->isVisible()) {
            Finir_Attentes();
        } else if (Operateur_Present() == Presence::Ailleurs) {
            ici = 0;
            demander_attention();
        } else if (++ici >= Reponses_Tenues) {
            Finir_Attentes();
        }
    });
    sonde.start();
    boucle.exec();
    due.attente = nullptr;
}

// Every box and dialog goes through here: it waits for the operator when it
// must, and the one on the screen gets its input, every wait beneath it
// ended.
int Executer(QDialog& boite) {
    const Boucle_Modale boucle;
    Boite_Due due(boite);
    Boites_Dues().push_back(&due);
    struct Fin {
        Boite_Due& due;
        ~Fin() { Boites_Dues().erase(std::find(Boites_Dues().begin(), Boites_Dues().end(), &due)); }
    } fin{due};
    Entrees_Retenues::Installer();
    Attendre_Operateur(due);
    Finir_Attentes();
    return boite.exec();
}

}  // namespace

bool Installer_Traductions_Qt() {
    QLocale::setDefault(Francais);
    auto* traduction = new QTranslator(QCoreApplication::instance());
    if (!traduction->load(Francais, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduction;
        return false;
    }
    QCoreApplication::installTranslator(traduction);
    return true;
}

QString Filtre_Qt(const QString& filtre) {
    const QStringList parties = filtre.split(QLatin1Char('|'));
    QStringList filtres;
    for (qsizetype i = 0; i + 1 < parties.size(); i += 2) {
        const QString description = parties[i].trimmed();
        QString motifs = parties[i + 1].trimmed();
        motifs.replace(QLatin1Char(';'), QLatin1Char(' '));
        filtres << (description.contains(QLatin1Char('(') + motifs + QLatin1Char(')'))
                        ? description
                        : description + QStringLiteral(" (") + motifs + QLatin1Char(')'));
    }
    if (filtres.isEmpty() && !filtre.isEmpty()) filtres << filtre;
    return filtres.join(QStringLiteral(";;"));
}

int Boites_Qt::MsgBox(const QString& texte, int style, const QString& titre) {
    // Modal from here: the timers hold back while the box waits as well.
    Compteur_Modal modal(modaux_);
    QMessageBox boite(Parent());
    boite.setWindowTitle(titre.isEmpty() ? Titre_Application : titre);
    boite.setText(texte);
    switch (style & 0x70) {
    case vbCritical: boite.setIcon(QMessageBox::Critical); break;
    case vbQuestion: boite.setIcon(QMessageBox::Question); break;
    case vbExclamation: boite.setIcon(QMessageBox::Warning); break;
    case vbInformation: boite.setIcon(QMessageBox::Information); break;
    default: boite.setIcon(QMessageBox::NoIcon); break;
    }
    struct Bouton {
        const char* texte;
        QMessageBox::ButtonRole role;
        int reponse;
    };
    std::vector<Bouton> boutons;
    switch (style & 7) {
    case vbOKCancel: boutons = {{"OK", QMessageBox::AcceptRole, vbOK}, {"Annuler", QMessageBox::RejectRole, vbCancel}}; break;
    case vbAbortRetryIgnore:
        boutons = {{"Abandonner", QMessageBox::RejectRole, vbAbort}, {"Réessayer", QMessageBox::AcceptRole, vbRetry},
                   {"Ignorer", QMessageBox::AcceptRole, vbIgnore}};
        break;
    case vbYesNoCancel:
        boutons = {{"Oui", QMessageBox::YesRole, vbYes}, {"Non", QMessageBox::NoRole, vbNo},
                   {"Annuler", QMessageBox::RejectRole, vbCancel}};
        break;
    case vbYesNo: boutons = {{"Oui", QMessageBox::YesRole, vbYes}, {"Non", QMessageBox::NoRole, vbNo}}; break;
    case vbRetryCancel: boutons = {{"Réessayer", QMessageBox::AcceptRole, vbRetry}, {"Annuler", QMessageBox::RejectRole, vbCancel}}; break;
    default: boutons = {{"OK", QMessageBox::AcceptRole, vbOK}}; break;
    }
    std::vector<std::pair<QAbstractButton*, int>> reponses;
    QAbstractButton* annuler = nullptr;
    for (const Bouton& b : boutons) {
        QPushButton* bouton = boite.addButton(QString::fromUtf8(b.texte), b.role);
        reponses.emplace_back(bouton, b.reponse);
        if (b.reponse == vbCancel || (boutons.size() == 1)) annuler = bouton;
    }
    boite.setDefaultButton(static_cast<QPushButton*>(reponses.front().first));
    if (annuler) boite.setEscapeButton(annuler);
    Executer(boite);
    // A box closed without a button answers as its escape button would.
    QAbstractButton* clique = boite.clickedButton() ? boite.clickedButton() : annuler;
    for (const auto& [bouton, reponse] : reponses)
        if (clique == bouton) return reponse;
    return reponses.front().second;
}

void Boites_Qt::Beep() { QApplication::beep(); }

void Preparer_Dialogue_Fichier(QFileDialog& dialogue, const Dialogue_Fichier& d, bool enregistrer) {
    dialogue.setWindowTitle(d.DialogTitle);
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    if (!dynamic_cast<Colonnes_Francaises*>(dialogue.proxyModel()))
        dialogue.setProxyModel(new Colonnes_Francaises(&dialogue));
    dialogue.setOption(QFileDialog::DontConfirmOverwrite, !(enregistrer && d.Confirmer_Ecrasement));
    dialogue.setAcceptMode(enregistrer ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogue.setFileMode(enregistrer ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialogue.setViewMode(QFileDialog::Detail);
    if (!d.Filter.isEmpty()) dialogue.setNameFilter(Filtre_Qt(d.Filter));
    QString extension = d.DefaultExt;
    if (extension.startsWith(QLatin1Char('.'))) extension.remove(0, 1);
    if (!extension.isEmpty()) dialogue.setDefaultSuffix(extension);
    if (!d.InitDir.isEmpty()) {
        // A dialog given a missing folder would open in the last one visited,
        // where a file of another kind would then be saved.
        QDir dossier(Chemin_Natif(d.InitDir));
        while (!dossier.exists() && dossier.cdUp()) {
        }
        dialogue.setDirectory(dossier.absolutePath());
    }
    if (!d.FileName.isEmpty()) dialogue.selectFile(Chemin_Natif(d.FileName));
    dialogue.setLabelText(QFileDialog::LookIn, QStringLiteral("Regarder dans :"));
    dialogue.setLabelText(QFileDialog::FileName, QStringLiteral("Nom du fichier :"));
    dialogue.setLabelText(QFileDialog::FileType, QStringLiteral("Type :"));
    dialogue.setLabelText(QFileDialog::Accept, enregistrer ? QStringLiteral("Enregistrer") : QStringLiteral("Ouvrir"));
    dialogue.setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    Dimensionner_Colonnes(dialogue);
}

bool Boites_Qt::Fichier(Dialogue_Fichier& d, bool enregistrer) {
    QFileDialog dialogue(Parent());
    Preparer_Dialogue_Fichier(dialogue, d, enregistrer);
    int resultat;
    {
        Compteur_Modal modal(modaux_);
        resultat = Executer(dialogue);
    }
    if (resultat != QDialog::Accepted || dialogue.selectedFiles().isEmpty()) return false;
    d.FileName = dialogue.selectedFiles().front();
    return true;
}

bool Boites_Qt::ShowOpen(Dialogue_Fichier& dialogue) { return Fichier(dialogue, false); }
bool Boites_Qt::ShowSave(Dialogue_Fichier& dialogue) { return Fichier(dialogue, true); }

bool Boites_Qt::ShowColor(Couleur& couleur, const QString& titre) {
    QColorDialog dialogue(Vers_QColor(couleur), Parent());
    dialogue.setWindowTitle(titre);
    {
        Compteur_Modal modal(modaux_);
        if (Executer(dialogue) != QDialog::Accepted) return false;
    }
    const QColor choisie = dialogue.selectedColor();
    if (!choisie.isValid()) return false;
    couleur = Depuis_QColor(choisie);
    return true;
}

QFont Police_Initiale(const Choix_Police& police) {
    QFont initiale(police.Nom);
    // A font the machine lacks ("Arial") is drawn with a substitute: the
    // dialog can only show that one selected.
    if (!police.Nom.isEmpty() && !QFontDatabase::families().contains(police.Nom, Qt::CaseInsensitive))
        initiale.setFamily(QFontInfo(initiale).family());
    if (police.Taille > 0) initiale.setPointSizeF(police.Taille);
    initiale.setBold(police.Gras);
    initiale.setItalic(police.Italique);
    // The dialog selects the style a font names; for a font that names none
    // it falls back on the family's first style, which need not be the plain
    // one (DejaVu Sans opened in "Oblique"). The style named is the one the
    // font is drawn in when it has the weight and slant asked, else the
    // family's style of that slant nearest in weight.
    const QString famille = initiale.family();
    const QStringList styles = QFontDatabase::styles(famille);
    // How far a style is from the weight asked; none when its slant differs
    // (an oblique style is as slanted as an italic one).
    auto ecart = [&](const QString& style) -> std::optional<int> {
        const QFont f = QFontDatabase::font(famille, style, 10);
        if (f.italic() != police.Italique) return std::nullopt;
        return std::abs(f.weight() - initiale.weight());
    };
    QString style = QFontInfo(initiale).styleName();
    if (!styles.contains(style) || ecart(style) != 0) {
        style.clear();
        int plus_proche = std::numeric_limits<int>::max();
        for (const QString& s : styles) {
            const std::optional<int> e = ecart(s);
            if (e && *e < plus_proche) {
                plus_proche = *e;
                style = s;
            }
        }
    }
    if (!style.isEmpty()) initiale.setStyleName(style);
    return initiale;
}

bool Boites_Qt::ShowFont(Choix_Police& police) {
    QFontDialog dialogue(Police_Initiale(police), Parent());
    dialogue.setWindowTitle(QStringLiteral("Police"));
    // Lists long and wide enough for the names of the fonts, not a few rows of them.
    dialogue.resize(dialogue.sizeHint().expandedTo(QSize(dialogue.fontMetrics().horizontalAdvance(QLatin1Char('M')) * 48,
                                                         dialogue.fontMetrics().height() * 28)));
    int resultat;
    {
        Compteur_Modal modal(modaux_);
        resultat = Executer(dialogue);
    }
    if (resultat != QDialog::Accepted) return false;
    const QFont choisie = dialogue.selectedFont();
    police.Nom = choisie.family();
    police.Taille = static_cast<Simple>(choisie.pointSizeF());
    police.Gras = choisie.bold();
    police.Italique = choisie.italic();
    return true;
}

}  // namespace ostrel
