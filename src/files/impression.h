#pragma once
// The report module Impression: blank filling of printed cells and the
// printed reports of the channel and module settings, through the printer
// layer (Printer()).
#include <QString>
#include <array>

#include "platform/imprimante.h"
#include "platform/types.h"

namespace ostrel {

// Appends a blank for every i from the length of s up to n inclusive, so s
// ends with max(length, n + 1) characters; s is never shortened. Changes s in
// place and returns it.
QString Complete_Espaces(QString& s, Long n);
inline QString Complete_Espaces(QString&& s, Long n) { return Complete_Espaces(s, n); }

// The maker's name, first on every printed page.
inline const QString Nom_Maison = QStringLiteral("Velsa SA");
// The head of a printed list: the maker's name followed by apres_nom, a row of
// stars, "Nom de l'installation : " and Nom_Installation, then the subject
// line two blank lines below.
void Imprimer_Entete(const QString& sujet, const QString& apres_nom = {});

// The page of a text report whose widest lines are its rules of 109
// characters, set whatever the printout before left: portrait, "Courier
// New" in 8 points (bold as it stands). Every line fits between the margins
// of an A4 sheet, which holds some eighty of them.
void Page_Rapport_109_Colonnes();

// Ends the document, brings the calling form to the front with the focus,
// then tells the user: "Impression envoyée à l'imprimante" when the job
// reached the printer (or the PDF file it became), an error box otherwise.
// Returns the job's outcome.
Resultat_Impression Terminer_Impression(const QString& forme_appelante);
void Signaler_Echec_Impression(const Resultat_Impression& resultat);

// The message after a print that went out: "Impression envoyée à
// l'imprimante", or, when no printer took it, the PDF file it became.
QString Texte_Impression_Envoyee(const Resultat_Impression& resultat = {});
// After a print that shows no message: the PDF file it became, if any, is
// named on the dashboard's status line for a few seconds.
void Annoncer_Fichier_Impression(const Resultat_Impression& resultat);

// The channel settings of Tab_Parametres_Voies, one table of 21 lines per
// block of 8 channels (Nb = 8 or 16), then Frm_Param_Voies in front and the
// message. Returns whether the job reached the printer.
bool Imprimer_Parametres_Voies(const Octet& Nb);
// The settings of module Num_Module with the access codes and operator names
// shown on the module settings screen, then Frm_Param_OC in front and the
// message. Returns whether the job reached the printer.
bool Imprimer_Parametres_Module(const std::array<QString, 4>& Msk_Mot_Passe, const std::array<QString, 4>& Txt_Nom_Passe);

// Text of a channel's alarm state code (request 0x01), as the instant report
// and the live screen show it; empty for a code outside the table.
QString Texte_Etat_Alarme(Octet Etat_Voie);
// Text of a channel's unit code, as the reports and the live screen show it;
// empty for a code outside the table.
QString Texte_Unite(Octet Unite);

// Every channel of module Num_Module with its name, measure and alarm state,
// read live (requests 0x12, 0x00, 0x01 per channel) and printed as they come,
// on one sheet for 8 or 16 channels.
// A row whose reads fail is printed with the measure "..." and an empty name
// and state; Code_Erreur is left as the reads set it, for the caller. No
// message after a job that reached the printer; an error box after one that
// did not. Returns whether the job reached the printer.
bool Imprimer_Mesures_Instantanees();

}  // namespace ostrel
