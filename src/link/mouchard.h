#pragma once
// The trace file: one dated line per event, appended and closed at once, so
// that another program may read it at any time; written only while it is an
// ordinary file, never waiting on a named pipe or a device. Past 500,000
// bytes it is added to the day's archive in the application folder and
// started afresh. Programs that share it (two started on one folder) append
// one line after the other, and none while it is archived. No failure of the
// trace ever stops the program.
#include <QString>

namespace ostrel {

constexpr long long Seuil_Archive_Mouchard = 500000;

void Init_Mouchard();
void Ecrit_Mouchard(const QString& message);
// Adds the trace to the end of the archive of the day, but for the start of
// it that the archive already ends with (an earlier start archived it and
// could not delete it), then deletes it, or empties it where it cannot be
// deleted or is reached through a symbolic link, which stays; the trace is
// kept when the copy fails. One that could be neither deleted nor emptied is
// not archived again in this run while it is the same file, only grown.
// Returns whether the archive was made.
bool Archive_Mouchard();
void Ferme_Mouchard();
// Archive name of a date: Base_Archive_Mouchard & "-D_M_YYYY.snf".
QString Nom_Archive_Mouchard(double date);

}  // namespace ostrel
