// The printed page of the bridge settings, made of what the screen's fields
// hold, edits not yet written to the bridge included.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QTabBar>

#include "files/impression.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "options/frm_param_periph.h"
#include "platform/dates.h"
#include "platform/imprimante.h"

namespace ostrel {
namespace {

QString Adresse_Pointee(const std::vector<QLineEdit*>& champs) {
    QStringList octets;
    for (QLineEdit* c : champs) octets << c->text();
    return octets.join(QLatin1Char('.'));
}

}  // namespace

void Frm_Param_Periph_Forme::Imprimer_Param_Periph() {
    Imprimante& p = Printer();
    const QString tirets(109, QLatin1Char('-'));
    Page_Rapport_109_Colonnes();

    Imprimer_Entete(QStringLiteral("Réglages du périphérique de communication"));
    p.Print();
    p.Print();

    p.Print(tirets);
    p.Print(tabstrip_->tabText(0));
    p.Print(tirets);
    p.Print();
    p.Print(QStringLiteral("Adresses E-Mail spécifiées pour l'envoie des fichiers de données"));
    for (int i = 1; i <= 4; ++i) {
        p.Print();
        const size_t k = static_cast<size_t>(i - 1);
        p.Print(QString::number(i) + QStringLiteral(" - ") + (k < txt_adre_email_.size() ? txt_adre_email_[k]->text() : QString()));
    }
    p.Print();
    p.Print(QStringLiteral("Noms des fichiers de données transmis par E-Mail"));
    const int modules = Frm_Menu1().Nb_Lbl_OC();
    for (int i = 1; i <= modules; ++i) {
        p.Print();
        const size_t k = static_cast<size_t>(i - 1);
        QString nom = cmb_choix_ostrelclim_->itemText(i - 1);
        const QString fichier = k < Noms_Fichiers_Envoi.size() ? Noms_Fichiers_Envoi[k] : QString();
        p.Print(Complete_Espaces(nom, 12) + QStringLiteral(" : ") + fichier + QStringLiteral(" (.txt)"));
    }
    p.Print();
    if (opt_frequence_jour_->isChecked())
        p.Print(QStringLiteral("Fréquence d'envoie des E-Mail : tous les jours"));
    else if (opt_freqence_mois_->isChecked())
        p.Print(QStringLiteral("Fréquence d'envoie des E-Mail : tous les mois"));
    else
        p.Print(QStringLiteral("Fréquence d'envoie des E-Mail : toutes les semaines"));
    p.Print();

    p.Print(tirets);
    p.Print(tabstrip_->tabText(1));
    p.Print(tirets);
    p.Print();
    p.Print(QStringLiteral("Adresse IP de la passerelle : ") + Adresse_Pointee(txt_adr_ip_gateway_));
    p.Print();
    p.Print(QStringLiteral("Adresse IP du serveur mail : ") + Adresse_Pointee(txt_adr_ip_serveur_));
    p.Print();
    p.Print(QStringLiteral("Numéros de téléphone du serveur : ") + txt_num_tel_->text());
    p.Print();
    p.Print(QStringLiteral("Login du provider mail : ") + txt_login_->text());
    p.Print();
    p.Print(QStringLiteral("Password du provider mail : ") + txt_password_->text());
    p.Print();
    p.Print(QStringLiteral("Adresse SMTP du provider mail : ") + txt_smtp_->text());
    p.Print();
    p.Print(QStringLiteral("Adresse email du serveur mail : ") + txt_adr_email_emetteur_->text());
    p.Print();

    p.Print(tirets);
    p.Print(tabstrip_->tabText(2));
    p.Print(tirets);
    p.Print();
    p.Print(opt_acces_modem_->isChecked() ? QStringLiteral("Type de communication : par modem")
                                          : QStringLiteral("Type de communication : par intranet"));
    p.Print();
    p.Print(QStringLiteral("Adresse IP de la carte de communication : ") + Adresse_Pointee(txt_adr_ip_));
    p.Print();
    p.Print(QStringLiteral("Login pour la connexion à la carte de communication : ") + txt_login_netrove_->text());
    p.Print();
    p.Print(QStringLiteral("Password pour la connexion à la carte de communication : ") + txt_psw_netrove_->text());
    p.Print();
    p.Print();
    p.Print();
    p.Print(QStringLiteral("OstrelSoft le ") + Texte_Date(Maintenant()));

    // Nothing is said when the page goes out, but where a PDF file it became
    // lies; a page that could not go out is told.
    const Resultat_Impression resultat = p.EndDoc();
    if (!resultat) Signaler_Echec_Impression(resultat);
    Annoncer_Fichier_Impression(resultat);
}

}  // namespace ostrel
