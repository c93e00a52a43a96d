#pragma once
// Making a database file from SQL scripts (the schema and the demo data). The
// programs never create their database; the set-up command and the tests do.

#include <QString>
#include <QStringList>

// Creates file from the scripts, in order. The file is written beside its
// final name and renamed into place, so a failure leaves no file behind.
// Fails when the file already exists.
bool CreateDatabaseFile(const QString& file, const QStringList& scriptFiles, QString* error = nullptr);
