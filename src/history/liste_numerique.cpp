#include "history/liste_numerique.h"

#include <QAbstractListModel>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>

#include "history/donnees_enreg.h"
#include "platform/dates.h"
#include "platform/formats.h"

namespace ostrel {

class Liste_Numerique::Modele : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(tete.size() + static_cast<qsizetype>(points.size()));
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        if (role == Qt::DisplayRole) return Texte(index.row());
        // Every line takes the room of the widest, as a list that had
        // measured them all would give its scroll bars.
        if (role == Qt::SizeHintRole && taille_ligne.isValid()) return taille_ligne;
        return {};
    }
    QString Texte(int ligne) const {
        return ligne < tete.size() ? tete[ligne] : Ligne_Tableau_Numerique(points[static_cast<size_t>(ligne - tete.size())]);
    }

    void Remplir(const QStringList& t, std::vector<Mesure_Enreg> p) {
        beginResetModel();
        tete = t;
        points = std::move(p);
        taille_ligne = {};
        endResetModel();
    }

    // The line that takes the most room in this font: with a fixed pitch
    // the longest one, found from the lengths of its pieces; otherwise each
    // line is measured.
    int Ligne_La_Plus_Large(const QFont& police) const {
        const QFontMetrics mesure(police);
        const bool pas_fixe = QFontInfo(police).fixedPitch();
        const int chasse = mesure.horizontalAdvance(QLatin1Char('0'));
        int meilleure = -1, largeur_max = -1;
        auto comparer = [&](int ligne, int largeur) {
            if (largeur > largeur_max) meilleure = ligne, largeur_max = largeur;
        };
        for (int i = 0; i < tete.size(); ++i) comparer(i, mesure.horizontalAdvance(tete[i]));
        Textes_Simples valeurs;
        QByteArray date;
        for (size_t k = 0; k < points.size(); ++k) {
            const int ligne = static_cast<int>(tete.size() + static_cast<qsizetype>(k));
            if (!pas_fixe) {
                comparer(ligne, mesure.horizontalAdvance(Texte(ligne)));
                continue;
            }
            // The date filled out to 21 characters, then the reserved text, or the value, a blank and 3 characters.
            const Mesure_Enreg& point = points[k];
            date.resize(0);
            Ajouter_Texte_Date(date, point.Date_Heure);
            const QString reservee = Texte_Valeur_Reservee(point.Valeur);
            const qsizetype longueur = std::max<qsizetype>(date.size(), 21) +
                                       (reservee.isEmpty() ? valeurs.Octets(point.Valeur).size() + 4 : reservee.size());
            comparer(ligne, static_cast<int>(longueur) * chasse);
        }
        return meilleure;
    }

    QStringList tete;
    std::vector<Mesure_Enreg> points;
    QSize taille_ligne;
};

Liste_Numerique::Liste_Numerique(QWidget* parent) : QListView(parent), modele_(new Modele(this)) {
    setModel(modele_);
    setUniformItemSizes(true);
}

void Liste_Numerique::Remplir(const QStringList& tete, std::vector<Mesure_Enreg> points) {
    modele_->Remplir(tete, std::move(points));
    Mesurer();
}

void Liste_Numerique::clear() { modele_->Remplir({}, {}); }
int Liste_Numerique::count() const { return modele_->rowCount(); }
QString Liste_Numerique::Ligne(int ligne) const { return ligne >= 0 && ligne < count() ? modele_->Texte(ligne) : QString(); }

void Liste_Numerique::Mesurer() {
    modele_->taille_ligne = {};
    const int ligne = modele_->Ligne_La_Plus_Large(font());
    if (ligne < 0) return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    modele_->taille_ligne = itemDelegate()->sizeHint(option, modele_->index(ligne));
    scheduleDelayedItemsLayout();
}

void Liste_Numerique::changeEvent(QEvent* evenement) {
    QListView::changeEvent(evenement);
    if (evenement->type() == QEvent::FontChange && count() > 0) {
        modele_->Remplir(modele_->tete, std::move(modele_->points));
        Mesurer();
    }
}

}  // namespace ostrel
