#pragma once
// The system's print queues, asked through the print system itself (CUPS):
// Qt's print engine hands a document over and drops the answer, so a queue
// that refuses jobs or a print server that is gone would pass for a printout
// sent. Every answer is waited for a bounded time, never without end.
#include <QByteArray>
#include <QString>

namespace ostrel {

// The user's default queue; empty when there is none (or no print server to say so).
QString File_Impression_Par_Defaut();

// Why the queue takes no job now, in French; empty when it takes them.
QString Refus_File_Impression(const QString& file);

// Hands a PDF document to the queue as one job. Empty once the print server
// has taken all of it, else why not, in French; a job left half-made is cancelled.
QString Envoyer_Pdf_File_Impression(const QString& file, const QString& titre, const QByteArray& pdf);

}  // namespace ostrel
